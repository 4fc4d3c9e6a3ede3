// The comparative statement handed on: the text of Copy, the CSV and HTML files read back
// by a CSV reader and an XML reader, and the Excel 2.1 sheet read back cell by cell.

#include "statements/cash_flow_outputs.h"

#include <gtest/gtest.h>

#include <QXmlStreamReader>
#include <filesystem>

#include "books/module_procedures.h"
#include "platform/file_io.h"
#include "tests/support/biff2_records.h"
#include "tests/support/book_builder.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/table_readers.h"

namespace qv::testing {
namespace {

using Lines = std::vector<std::string>;

// Four months; Sales, Fees (its name holds a comma) in, Rent and Owner Drawings out.
Books FourMonths() {
  Books books = BookWithChart({{"Cash", 110, kCurrentAsset},
                               {"Sales", 410, kRevenue},
                               {"Fees, <Legal> & Co", 420, kRevenue},
                               {"Rent", 610, kExpense},
                               {"Owner Drawings", 710, kCapital}});
  AddEntry(books, Day(2020, 1, 10), "1", {{110, 1000}}, {{410, 1000}});
  AddEntry(books, Day(2020, 2, 3), "2", {{610, 2234.5}}, {{110, 2234.5}});
  AddEntry(books, Day(2020, 3, 3), "3", {{710, 20}}, {{110, 20}});
  AddEntry(books, Day(2020, 4, 15), "4", {{110, 200}}, {{420, 200}});
  return books;
}

StatementLook Look() {
  StatementLook look;
  look.BusinessName = "Acme";
  look.Decimals = 2;
  look.Locale = UsEnglishLocale();
  return look;
}

Lines LinesOf(const std::string& text) {
  Lines out;
  std::size_t start = 0;
  for (std::size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
    out.push_back(text.substr(start, at - start));
  EXPECT_EQ(start, text.size()) << "the text ends with CR LF";
  return out;
}

constexpr const char* kCaption = "Comparative Statement...";

TEST(CashFlowOutputs, TextStartsAtTheChosenPeriodWithBalancesFromTheFirst) {
  const Books books = FourMonths();
  const CashFlowStatement s = ComputeCashFlow(books, {});
  const Lines all = LinesOf(CashFlowOutput(s, Look(), 1, kCaption).Text());
  ASSERT_GE(all.size(), 3u);
  EXPECT_EQ(all[0], "Acme Comparative Statement...");
  EXPECT_EQ(all[2], "\tJan 2020\tFeb 2020\tMar 2020\tApr 2020\tTotal");

  const Lines third = LinesOf(CashFlowOutput(s, Look(), 3, kCaption).Text());
  EXPECT_EQ(third, (Lines{"Acme Comparative Statement...", "", "\tMar 2020\tApr 2020\tTotal",
                          "Beginning Balance:\t(1,234.50)\t(1,254.50)\t", "Inflows:\t\t\t",
                          "Sales\t0.00\t0.00\t1,000.00", "Fees, <Legal> & Co\t0.00\t200.00\t200.00",
                          "Total Inflows:\t0.00\t200.00\t1,200.00", "\t\t\t", "Outflows:\t\t\t",
                          "Rent\t0.00\t0.00\t2,234.50", "Owner Drawings\t20.00\t0.00\t20.00",
                          "Total Outflows:\t20.00\t0.00\t2,254.50", "\t\t\t",
                          "Ending Balance:\t(1,254.50)\t(1,054.50)\t"}));
}

TEST(CashFlowOutputs, CsvHtmlAndSheetReadBackCellByCell) {
  const Books books = FourMonths();
  const CashFlowStatement s = ComputeCashFlow(books, {});
  const CashFlowOutput output(s, Look(), 2, kCaption, 900);
  ScratchFolder folder;

  // CSV: one field per cell, grouped amounts and the comma in a name kept whole.
  const std::string csv = folder.Path("flow.csv");
  ASSERT_TRUE(output.Export(csv, "csv").Ok());
  const auto rows = ParseCsv(ScratchFolder::Read(csv));
  ASSERT_GE(rows.size(), 5u);
  EXPECT_EQ(rows[0], (Lines{"", "Feb 2020", "Mar 2020", "Apr 2020", "Total"}));
  for (const auto& row : rows) EXPECT_EQ(row.size(), 5u);
  EXPECT_EQ(rows[1], (Lines{"Beginning Balance:", "1,000.00", "(1,234.50)", "(1,254.50)", ""}));
  EXPECT_EQ(rows[4], (Lines{"Fees, <Legal> & Co", "0.00", "0.00", "200.00", "200.00"}));

  // HTML: well-formed, every name and amount as a cell's whole text.
  const std::string htm = folder.Path("flow.htm");
  ASSERT_TRUE(output.Export(htm, "htm").Ok());
  QXmlStreamReader xml(QByteArray::fromStdString(ScratchFolder::Read(htm)));
  Lines cells;
  while (!xml.atEnd()) {
    if (xml.readNext() == QXmlStreamReader::StartElement &&
        (xml.name() == u"td" || xml.name() == u"th"))
      cells.push_back(xml.readElementText(QXmlStreamReader::IncludeChildElements).toStdString());
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  EXPECT_EQ(output.Html(), ScratchFolder::Read(htm));
  for (const char* text : {"Fees, <Legal> & Co", "(1,254.50)", "2,234.50", "Ending Balance:"})
    EXPECT_NE(std::find(cells.begin(), cells.end(), text), cells.end()) << text;

  // The sheet: locked text cells, headings centred, amounts right-aligned.
  const std::string xls = folder.Path("flow.xls");
  ASSERT_TRUE(output.Export(xls, "xls").Ok());
  const auto sheet = CellMap(xls);
  auto at = [&](int row, int col) {
    const auto it = sheet.find({row, col});
    return it == sheet.end() ? std::string("-") : it->second;
  };
  EXPECT_EQ(at(2, 1), "Acme Comparative Statement...");
  EXPECT_EQ(at(3, 2) + "|" + at(3, 5), "Feb 2020|Total");
  EXPECT_EQ(at(4, 1) + "|" + at(4, 3), "Beginning Balance:|(1,234.50)");
  EXPECT_EQ(at(6, 1) + "|" + at(6, 5), "Sales  |1,000.00");
  EXPECT_EQ(at(8, 1) + "|" + at(8, 4), "Total Inflows:|200.00");
  EXPECT_EQ(at(10, 1), "Outflows:");
  EXPECT_EQ(at(13, 1) + "|" + at(13, 5), "Total Outflows:|2,254.50");
  EXPECT_EQ(at(15, 1) + "|" + at(15, 4), "Ending Balance:|(1,054.50)");
}

TEST(CashFlowOutputs, EmptyStatementsAndSheetsTooWideForTheFormat) {
  // No rows: the title, headings, balances, captions and totals all the same.
  Books bare = BookWithChart({{"Cash", 110, kCurrentAsset}, {"Bank", 120, kCurrentAsset}});
  AddEntry(bare, Day(2020, 1, 10), "1", {{110, 5}}, {{120, 5}});
  const CashFlowStatement none = ComputeCashFlow(bare, {});
  const Lines lines = LinesOf(CashFlowOutput(none, Look(), 1, kCaption).Text());
  EXPECT_EQ(lines, (Lines{"Acme Comparative Statement...", "", "\tJan 2020\tTotal",
                          "Beginning Balance:\t0.00\t", "Inflows:\t\t",
                          "Total Inflows:\t0.00\t0.00", "\t\t", "Outflows:\t\t",
                          "Total Outflows:\t0.00\t0.00", "\t\t", "Ending Balance:\t0.00\t"}));

  // 300 months: the sheet cannot hold them and nothing is written; a later first period can.
  Books wide = FourMonths();
  AddEntry(wide, Day(2045, 1, 1), "5", {{110, 1}}, {{410, 1}});
  const CashFlowStatement s = ComputeCashFlow(wide, {});
  ScratchFolder folder;
  const std::string xls = folder.Path("wide.xls");
  const TableFileResult refused = CashFlowOutput(s, Look(), 1, kCaption).Export(xls, "xls");
  EXPECT_FALSE(refused.Ok());
  EXPECT_EQ(refused.Message,
            "An Excel 2.1 sheet holds 256 columns, and this statement shows 303, so no sheet "
            "was written. Choose a later first period or a longer period, or export it as CSV.");
  EXPECT_FALSE(std::filesystem::exists(xls));
  EXPECT_TRUE(CashFlowOutput(s, Look(), 100, kCaption).Export(xls, "xls").Ok());
  EXPECT_TRUE(CashFlowOutput(s, Look(), 1, kCaption).Export(folder.Path("wide.csv"), "csv").Ok());
}

}  // namespace
}  // namespace qv::testing
