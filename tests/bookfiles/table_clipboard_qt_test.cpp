#include "bookfiles/table_clipboard_qt.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <algorithm>
#include <string>
#include <vector>

#include "bookfiles/table_formats.h"
#include "platform/clipboard_qt.h"

namespace qv {
namespace {

// A table of `rows` rows; the notes of row `longRow` are a million characters long, far more
// than the other rows let foresee.
TableDocument Table(int64_t rows, int64_t longRow) {
  TableDocument table;
  table.Title = {"Journal Entries"};
  table.Columns = {{"Account", CellAlign::kLeft, 20}, {"Notes", CellAlign::kLeft, 30}};
  table.RowCount = rows;
  table.FillRow = [longRow](int64_t row, TableRow& out) {
    out.Cells[0] = row % 7 == 0 ? "=Kassé {Wien}\\" : "Cash at Bank";
    out.Cells[1] = row == longRow ? std::string(1000000, 'n') : "Paid in";
  };
  return table;
}

TEST(TableClipboard, HoldsTheTextAndTheRtfOfEveryRowAndReportsTheWayThere) {
  for (const int64_t longRow : {int64_t{-1}, int64_t{3997}}) {
    const TableDocument table = Table(4000, longRow);
    std::vector<int64_t> done;
    CopyTableToClipboard(table, [&](int64_t at, int64_t total) {
      EXPECT_EQ(total, 8000);
      done.push_back(at);
    });
    EXPECT_EQ(ClipboardRtf(), TableRtf(table)) << longRow;
    // The text as the programs it is pasted into read it: UTF-8.
    EXPECT_EQ(QGuiApplication::clipboard()->mimeData()->text().toStdString(), TableText(table));
    EXPECT_TRUE(done.size() > 150 && std::ranges::is_sorted(done) && done.back() == 8000);
  }
}

}  // namespace
}  // namespace qv
