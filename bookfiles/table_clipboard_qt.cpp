#include "bookfiles/table_clipboard_qt.h"

#include <QByteArray>
#include <algorithm>
#include <cstdint>
#include <string_view>
#include <utility>

#include "bookfiles/table_formats.h"
#include "platform/clipboard_qt.h"

namespace qv {

namespace {

using TableWriter = void (*)(const TableDocument&, const TextSink&, const ProgressFn&);

// Rows of the table measured to foresee the size of a whole form.
constexpr int64_t kSampleRows = 256;

// The size of the table's form, foreseen from rows spread evenly over the whole table, with
// an eighth more for rows longer than those.
qsizetype ForeseenSize(TableWriter writer, const TableDocument& table) {
  const int64_t rows = table.RowCount;
  const int64_t samples = std::min(rows, kSampleRows);
  TableDocument sample = table;
  sample.FillRow = [&table, rows, samples](int64_t row, TableRow& out) {
    if (table.FillRow) table.FillRow(row * rows / samples, out);
  };
  auto size = [&](int64_t count) {
    int64_t bytes = 0;
    sample.RowCount = count;
    writer(sample,
           [&bytes](std::string_view piece) { bytes += static_cast<int64_t>(piece.size()); }, {});
    return bytes;
  };
  const int64_t bare = size(0);
  const int64_t perRow = samples > 0 ? (size(samples) - bare + samples - 1) / samples : 0;
  return static_cast<qsizetype>(bare + perRow * rows + perRow * rows / 8 + 4096);
}

// Writes one form of the table into a byte array. The array holds the foreseen size from the
// start, so that it need not grow, which would hold the text twice for a moment; what it
// holds beyond what is written takes no memory until it is written. `progress` hears of the
// rows as the `part`th of two halves.
QByteArray Written(TableWriter writer, const TableDocument& table, const ProgressFn& progress,
                   int part) {
  QByteArray bytes;
  bytes.reserve(ForeseenSize(writer, table));
  const TextSink sink = [&bytes](std::string_view piece) {
    bytes.append(piece.data(), static_cast<qsizetype>(piece.size()));
  };
  ProgressFn half;
  if (progress)
    half = [&progress, part](int64_t done, int64_t total) {
      progress(part * total + done, 2 * total);
    };
  writer(table, sink, half);
  return bytes;
}

}  // namespace

void CopyTableToClipboard(const TableDocument& table, const ProgressFn& progress) {
  QByteArray text = Written(WriteTableText, table, progress, 0);
  QByteArray rtf = Written(WriteTableRtf, table, progress, 1);
  SetClipboardTextAndRtf(std::move(text), std::move(rtf));
}

}  // namespace qv
