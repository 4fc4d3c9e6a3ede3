#include "bookfiles/table_clipboard_qt.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <string>
#include <vector>

#include "bookfiles/table_formats.h"
#include "platform/clipboard_qt.h"

namespace qv {
namespace {

// `rows` rows of a name, a note and an amount; from `longFrom` on the notes are a hundred
// times longer than before, more than the rows measured beforehand foresee.
TableDocument Table(int64_t rows, int64_t longFrom) {
  TableDocument table;
  table.Title = {"Journal Entries", "From 1/1/25 to 12/31/25"};
  table.Columns = {{"Account", CellAlign::kLeft, 20},
                   {"Notes", CellAlign::kLeft, 30},
                   {"Debit", CellAlign::kRight, 12}};
  table.RowCount = rows;
  table.FillRow = [longFrom](int64_t row, TableRow& out) {
    out.Cells[0] = row % 7 == 0 ? "=Kasse {Wien}\\" : "Cash at Bank";
    out.Cells[1] = row >= longFrom ? std::string(1000, 'n') : "Paid in";
    out.Cells[2] = std::to_string(row) + ".00";
    out.Bold = row == 3;
  };
  return table;
}

TEST(TableClipboard, HoldsTheTextAndTheRtfOfEveryRowAndReportsTheWayThere) {
  for (const int64_t longFrom : {int64_t{1} << 40, int64_t{3000}}) {
    const TableDocument table = Table(4000, longFrom);
    std::vector<std::pair<int64_t, int64_t>> reports;
    CopyTableToClipboard(table,
                         [&](int64_t done, int64_t total) { reports.emplace_back(done, total); });
    EXPECT_EQ(ClipboardText(), TableText(table)) << longFrom;
    EXPECT_EQ(ClipboardRtf(), TableRtf(table)) << longFrom;
    // The text as the programs it is pasted into read it: UTF-8.
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->text().toStdString(), TableText(table));
    ASSERT_GE(reports.size(), 150u);
    for (std::size_t k = 1; k < reports.size(); ++k) {
      EXPECT_GT(reports[k].first, reports[k - 1].first);
      EXPECT_EQ(reports[k].second, 8000);
    }
    EXPECT_EQ(reports.back().first, 8000);
  }
  // A table without rows: its title and headings.
  CopyTableToClipboard(Table(0, 0));
  EXPECT_EQ(ClipboardText(), TableText(Table(0, 0)));
}

}  // namespace
}  // namespace qv
