#include "statements/statement_outputs.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <sstream>

#include "bookfiles/table_formats.h"
#include "books/module_procedures.h"
#include "platform/file_io.h"
#include "tests/support/biff2_records.h"
#include "tests/support/book_builder.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/pdf_text.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/table_readers.h"

namespace qv {
namespace {

using testing::AddEntry;
using testing::Day;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using Lines = std::vector<std::string>;

const DaySerial kDay = Day(2026, 3, 31);

StatementLook Look(int decimals = 2) {
  return {.BusinessName = "Acme", .Decimals = decimals, .Locale = UsEnglishLocale()};
}

Books Chart() {
  return testing::BookWithChart({{"Cash", 110, kCurrentAsset},
                                 {"Creditors", 220, kCurrentLiability},
                                 {"Equipment", 310, kNonCurrentAsset},
                                 {"Loan", 410, kNonCurrentLiability},
                                 {"Capital", 510, kCapital},
                                 {"Sales", 400, kRevenue},
                                 {"Expenses", 710, kExpense},
                                 {"Stock", 810, kCostOfGoodsSold}});
}

TrialBalance TrialOf(const Books& books) { return ComputeTrialBalance(books, {kDay, false}); }
IncomeStatement IncomeOf(const Books& books) {
  return ComputeIncomeStatement(books, {IncomePeriod::Between(Day(2026, 1, 5), kDay), false});
}
BalanceSheet SheetOf(const Books& books) { return ComputeBalanceSheet(books, {kDay, false}); }

// A sheet's rows `first` to `last`, each as its cells' texts joined by "|", rows by "; ".
std::string SheetRows(const std::string& path, int first, int last) {
  const auto cells = testing::CellMap(path);
  std::string out;
  for (int row = first; row <= last; ++row)
    for (int col = 1; col <= 4; ++col)
      out += (col > 1       ? "|"
              : row > first ? "; "
                            : "") +
             (cells.contains({row, col}) ? cells.at({row, col}) : "-");
  return out;
}

// The attribute bytes of the cell at row, column: "lock font align" (64 64 1).
std::string Attributes(const std::string& path, int row, int col) {
  for (const testing::BiffRecord& r : testing::Cells(path))
    if (testing::U16(r.data, 0) + 1 == row && testing::U16(r.data, 2) + 1 == col)
      return std::to_string(r.data[4] & 0x40) + " " + std::to_string(r.data[5] & 0xC0) + " " +
             std::to_string(r.data[6] & 0x07);
  return "(none)";
}

class StatementOutputsTest : public ::testing::Test {
 protected:
  testing::ScratchFolder folder_;
};

TEST_F(StatementOutputsTest, TrialBalanceCopyIsThePaddedDocumentAndItsTabbedText) {
  Books books = Chart();
  AddEntry(books, kDay, "1", {{110, 300}}, {{400, 300}});
  const TrialBalance tb = TrialOf(books);
  const StatementOutput output(tb, Look());
  EXPECT_EQ(output.Rtf(),
            "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang3081{\\fonttbl{\\f0\\fswiss\\fcharset0 "
            "Arial;}{\\f1\\fmodern\\fprq1\\fcharset0 Courier New;}}\r\n"
            "{\\*\\generator Quorvel 4;}\\viewkind4\\uc1\\pard\\f0\\fs28 Acme\\par\r\n\\par\r\n"
            "Trial Balance -\\par\r\n\\fs24\\par\r\n"
            "\\b\\f1 Account\\tab\\tab\\tab\\tab\\tab\\tab\\tab Debit\\tab Credit\\b0\\par\r\n"
            "\\par\r\nCash                                  300.00\\par\r\n"
            "Sales                                             300.00\\par\r\n\\par\r\n"
            "\\b TOTALS                                300.00      300.00\\b0\\f0\\fs20\\par\r\n}");
  EXPECT_EQ(output.Text(), "Cash\t300.00\r\nSales\t\t300.00\r\n\t\t\r\nTotal\t300.00\t300.00\r\n");
  EXPECT_EQ(TableCsv(output.CsvTable()),
            "\xEF\xBB\xBF"
            "Cash,300.00,\r\nSales,,300.00\r\n,,\r\nTotal,300.00,300.00\r\n");
}

TEST_F(StatementOutputsTest, TotalsShowEachColumnsOwnTotalInEveryOutput) {
  Books books = Chart();
  AddEntry(books, kDay, "1", {{110, 500}}, {{400, 450}});  // unbalanced books
  const TrialBalance tb = TrialOf(books);
  const StatementOutput output(tb, Look());
  EXPECT_THAT(output.Text(), HasSubstr("Total\t500.00\t450.00\r\n"));
  EXPECT_THAT(testing::RtfPlainText(output.Rtf()), HasSubstr("500.00      450.00"));
  EXPECT_THAT(output.Html(), HasSubstr("<b>500.00</b></td><td align=\"right\"><b>450.00</b>"));
  const std::string xls = folder_.Path("tb.xls");
  ASSERT_TRUE(output.Export(xls, "xls").Ok());
  // The sheet: headings, then chart row k in sheet row 7 + k (empty while its balance is 0).
  EXPECT_EQ(
      SheetRows(xls, 1, 9),
      "|||; Acme|||-; |||-; Trial Balance as 31 March 2026|||-; |||-; Accounts|Debit|Credit|-; "
      "-|-|-|-; Cash|500.00||-; -|-|-|-");
  EXPECT_EQ(SheetRows(xls, 7 + tb.RowCount(), 7 + tb.RowCount()), "Total|500.00|450.00|-");
  // Credit balances alone still show their total; an empty statement shows none and stays
  // well-formed.
  Books credits = Chart();
  AddEntry(credits, kDay, "1", {}, {{400, 450}});
  EXPECT_THAT(StatementOutput(TrialOf(credits), Look()).Text(), HasSubstr("Total\t0.00\t450.00"));
  const TrialBalance empty = TrialOf(Chart());
  const StatementOutput none(empty, Look());
  EXPECT_EQ(none.Text(), "");
  EXPECT_THAT(testing::RtfPlainText(none.Rtf()), Not(HasSubstr("TOTALS")));
  EXPECT_THAT(none.Html(), HasSubstr("</table></body></html>"));
}

TEST_F(StatementOutputsTest, HardNamesAndLargeAmountsStayWholeInEveryFormat) {
  const std::string hard = "A{b}\\c <x> & y";
  const std::string other = "Касса \"売上\", 😀\r\nline";
  Books books = Chart();
  books.AccountNames[1] = hard;
  books.AccountNames[6] = other;
  AddEntry(books, kDay, "1", {{110, 1e14}}, {{400, 1e14}});
  const TrialBalance tb = TrialOf(books);
  StatementLook look = Look();
  look.BusinessName = "Smith & {Sons}";
  const StatementOutput output(tb, look);
  const std::string big = "100,000,000,000,000.00";

  const std::string rtf = output.Rtf();
  ASSERT_EQ(WriteFileAtomically(testing::TestOutputPath("hard_names.rtf"), rtf), 0);
  for (unsigned char c : rtf) ASSERT_LT(c, 0x80) << "the rich text is ASCII";
  const std::string shown = testing::RtfPlainText(rtf);  // fails on unbalanced braces
  EXPECT_THAT(shown, HasSubstr("Smith & {Sons}\n"));
  EXPECT_THAT(shown, HasSubstr(hard + std::string(32 - hard.size(), ' ') + " " + big + "\n"));
  EXPECT_THAT(shown, HasSubstr("TOTALS" + std::string(26, ' ') + " " + big + " " + big + "\n"))
      << "an amount longer than its cell is kept whole, a blank before it";
  EXPECT_THAT(shown, HasSubstr("Касса \"売上\", 😀  line"))
      << "a line break in a padded cell is a blank";

  EXPECT_THAT(output.Text(), HasSubstr(hard + "\t" + big + "\r\n"));
  const auto csv = testing::ParseCsv(TableCsv(output.CsvTable()));
  EXPECT_EQ(csv[0], (Lines{hard, big, ""}));
  EXPECT_EQ(csv[1], (Lines{other, "", big}));

  const std::string html = output.Html();
  EXPECT_THAT(html, HasSubstr("<title>Smith &amp; {Sons}</title>"));
  EXPECT_THAT(html, HasSubstr(">A{b}\\c &lt;x&gt; &amp; y</td>"));
  EXPECT_THAT(html, HasSubstr("Касса &quot;売上&quot;, 😀<br/>line"));

  const std::string xls = folder_.Path("tb.xls");
  const TableFileResult written = output.Export(xls, "xls");
  ASSERT_TRUE(written.Ok());
  EXPECT_EQ(SheetRows(xls, 7 + 1, 7 + 1), hard + "|" + big + "||-")
      << "Cash is the second chart row";
  EXPECT_THAT(written.Notice, HasSubstr("cannot hold")) << "the code page lacks some letters";
}

TEST_F(StatementOutputsTest, AnAmountOfTwelveCharactersFillsItsCellInEveryStatement) {
  // Trial balance: a million on both sides, in the rows and on the TOTALS line.
  Books books = Chart();
  AddEntry(books, kDay, "1", {{110, 1000000}}, {{400, 1000000}});
  const std::string million = "1,000,000.00";
  const TrialBalance tb = TrialOf(books);
  const std::string tbRtf = StatementOutput(tb, Look()).Rtf();
  EXPECT_THAT(tbRtf, HasSubstr("\\par\r\nCash" + std::string(28, ' ') + million + "\\par"));
  EXPECT_THAT(tbRtf, HasSubstr("\nSales" + std::string(39, ' ') + million + "\\par"));
  EXPECT_THAT(tbRtf, HasSubstr("\\b TOTALS" + std::string(26, ' ') + million + million +
                               "\\b0\\f0\\fs20\\par"));
  // Income statement: a loss of (989,846.20) and an expense of a million.
  Books loss = Chart();
  AddEntry(loss, kDay, "1", {{110, 10153.8}}, {{400, 10153.8}});
  AddEntry(loss, kDay, "2", {{710, 1000000}}, {{110, 1000000}});
  const IncomeStatement income = IncomeOf(loss);
  const std::string isRtf = StatementOutput(income, Look()).Rtf();
  EXPECT_THAT(isRtf, HasSubstr("\nExpenses" + std::string(24, ' ') + million + "\\par"));
  EXPECT_THAT(isRtf, HasSubstr("\\b PROFIT / LOSS" + std::string(31, ' ') + "(989,846.20)\\b0"));
  // Balance sheet: account rows of 30, subtotals of 44 characters before the amount.
  Books sheet = Chart();
  AddEntry(sheet, kDay, "1", {{110, 1000000}}, {{510, 1000000}});
  const BalanceSheet position = SheetOf(sheet);
  const std::string bsRtf = StatementOutput(position, BalanceSheetLayout::kStandard, Look()).Rtf();
  EXPECT_THAT(bsRtf, HasSubstr("Cash" + std::string(26, ' ') + million + "\\par"));
  EXPECT_THAT(bsRtf, HasSubstr("\\b Balance" + std::string(37, ' ') + million + "\\b0"));
  // One character more: the amount extends to the right after one blank.
  Books more = Chart();
  AddEntry(more, kDay, "1", {{110, 10000000}}, {{400, 10000000}});
  const TrialBalance longer = TrialOf(more);
  EXPECT_THAT(StatementOutput(longer, Look()).Rtf(),
              HasSubstr("Cash" + std::string(28, ' ') + " 10,000,000.00\\par"));
}

// Revenue 1,000, cost of goods sold 600, expenses 300, no decimals.
Books TradingBook() {
  Books books = Chart();
  AddEntry(books, Day(2026, 1, 5), "1", {{110, 1000}}, {{400, 1000}});
  AddEntry(books, kDay, "2", {{810, 600}}, {{110, 600}});
  AddEntry(books, kDay, "3", {{710, 300}}, {{110, 300}});
  return books;
}

// The rich text's lines from the one starting with `first`, blanks runs made one blank.
Lines RtfFrom(const std::string& rtf, const std::string& first) {
  Lines out;
  std::istringstream text(testing::RtfPlainText(rtf));
  for (std::string line; std::getline(text, line);) {
    line = std::regex_replace(line, std::regex(" +"), " ");
    if (line.starts_with(" ")) line.erase(0, 1);
    if (!line.empty() && (!out.empty() || line == first)) out.push_back(line);
  }
  return out;
}

// A sheet's non-empty rows from the one starting with `first`, cells joined by a blank.
Lines SheetFrom(const std::string& path, const std::string& first) {
  Lines out;
  std::map<int, std::string> rows;
  for (const auto& [at, text] : testing::CellMap(path))
    if (!text.empty()) rows[at.first] += (rows[at.first].empty() ? "" : " ") + text;
  for (const auto& [row, line] : rows)
    if (!out.empty() || line == first) out.push_back(line);
  return out;
}

TEST_F(StatementOutputsTest, IncomeStatementReadsInTheSameOrderInRichTextPageAndSheet) {
  const IncomeStatement statement = IncomeOf(TradingBook());
  const StatementOutput output(statement, Look(0));
  EXPECT_FALSE(output.HasText());
  const std::string rtf = output.Rtf();
  EXPECT_THAT(rtf,
              HasSubstr("{\\*\\generator Quorvel 5.0;}\\viewkind4\\uc1\\pard\\f0\\fs28 Acme\\par"));
  EXPECT_THAT(rtf, HasSubstr("Sales" + std::string(27, ' ') + "       1,000\\par"));
  EXPECT_THAT(rtf, HasSubstr("\\b Net Profit" + std::string(34, ' ') + "         100\\b0\\par"));
  EXPECT_THAT(output.Html(), HasSubstr("<b>Acme<br/><br/>Income Statement<br/><br/>5 January 2026 "
                                       "To 31 March 2026</b>"));
  // The sheet: five heading rows, then the sections with each amount in its column.
  const std::string xls = folder_.Path("is.xls");
  ASSERT_TRUE(output.Export(xls, "xls").Ok());
  EXPECT_EQ(
      SheetRows(xls, 1, 19),
      "|||; Acme|||; |||; Income Statement 5 January 2026 To 31 March 2026|||; |||; "
      "REVENUE|||; Sales|1,000||; Balance||1,000|; |||; Less Cost of Goods Sold|||; "
      "Stock|600||; Gross Profit||400|; |||; EXPENSES|||; Expenses|300||; Balance||300|; |||; "
      "Net Profit|||100; -|-|-|-");
  EXPECT_EQ(RtfFrom(rtf, "REVENUE"), SheetFrom(xls, "REVENUE"));
  // Rows 1 to 3 locked, rows 1 to 5 bold; the title left-aligned, amounts right.
  EXPECT_EQ(Attributes(xls, 3, 4) + "|" + Attributes(xls, 4, 1) + "|" + Attributes(xls, 7, 2),
            "64 64 0|0 64 1|0 0 3");
  // Without revenue, cost or expenses: the five heading rows and one empty row.
  ASSERT_TRUE(StatementOutput(IncomeOf(Chart()), Look(0)).Export(xls, "xls").Ok());
  EXPECT_EQ(testing::CellMap(xls).rbegin()->first.first, 6);
  // A loss without cost accounts reads PROFIT / LOSS; break-even has no net line.
  Books loss = Chart();
  AddEntry(loss, kDay, "1", {{110, 200}}, {{400, 200}});
  AddEntry(loss, kDay, "2", {{710, 500}}, {{110, 500}});
  EXPECT_THAT(StatementOutput(IncomeOf(loss), Look(0)).Rtf(),
              HasSubstr("\\b PROFIT / LOSS" + std::string(31, ' ') + "       (300)\\b0\\par"));
  loss.PostingLines.back().Amount = loss.PostingLines.rbegin()[1].Amount = testing::Money(200);
  EXPECT_THAT(StatementOutput(IncomeOf(loss), Look(0)).Rtf(), Not(HasSubstr("PROFIT")));
  // A statement too large to add up is written in no type.
  Books huge = Chart();
  for (int i = 0; i < 2; ++i) AddEntry(huge, kDay, "9", {{110, 1}}, {{400, 1}});
  for (PostingLine& line : huge.PostingLines) line.Amount = Amount::Max();
  const IncomeStatement failed = IncomeOf(huge);
  ASSERT_TRUE(failed.Failed());
  for (const char* type : {"xls", "htm"}) {
    const std::string path = folder_.Path(std::string("huge.") + type);
    EXPECT_THAT(StatementOutput(failed, Look(0)).Export(path, type).Message,
                HasSubstr("too large to add up, so \"" + path + "\" was not written."));
    EXPECT_FALSE(FileExists(path));
  }
}

TEST_F(StatementOutputsTest, BalanceSheetReadsInTheSameOrderInBothFormatsWithItsOwnProfit) {
  Books books = TradingBook();
  AddEntry(books, kDay, "4", {{110, 5000}}, {{510, 5000}});
  AddEntry(books, kDay, "5", {{310, 300}}, {{410, 300}});  // NCA = NCL: no NET ASSETS
  const BalanceSheet sheet = SheetOf(books);
  ASSERT_EQ(sheet.SheetProfit, testing::Money(100));
  // Rich text and sheet read the same, each amount in its column.
  const StatementOutput standard(sheet, BalanceSheetLayout::kStandard, Look(0));
  const std::string xls = folder_.Path("bs.xls");
  ASSERT_TRUE(standard.Export(xls, "xls").Ok());
  const Lines lines = RtfFrom(standard.Rtf(), "CURRENT ASSETS");
  EXPECT_EQ(SheetFrom(xls, "CURRENT ASSETS"), lines);
  ASSERT_EQ(lines.size(), 14u);
  EXPECT_EQ(Lines(lines.begin() + 10, lines.end()),
            (Lines{"CAPITAL / EQUITY", "PROFIT / LOSS 100", "Capital 5,000", "Balance 5,100"}));
  EXPECT_EQ(SheetRows(xls, 6, 8), "CURRENT ASSETS|||; Cash|5,100||; Balance||5,100|");
  EXPECT_EQ(SheetRows(xls, 11, 11), "WORKING CAPITAL|||5,100");
  EXPECT_THAT(standard.Rtf(), HasSubstr("Cash" + std::string(26, ' ') + "       5,100\\par"));
  EXPECT_THAT(standard.Html(), HasSubstr("<b><br/>NON CURRENT ASSETS</b>"));
  // The United States layout, written as rich text only.
  const StatementOutput us(sheet, BalanceSheetLayout::kUnitedStates, Look(0));
  EXPECT_THAT(us.Rtf(), HasSubstr("\\b TOTAL ASSETS" + std::string(46, ' ') + "       5,400\\b0"));
  EXPECT_THAT(us.Html(), HasSubstr("<b><br/>TOTAL ASSETS</b>"));
  EXPECT_THAT(us.ExportRequest().patterns, ElementsAre("*.rtf"));
  EXPECT_EQ(us.ExportRequest().defaultType, "rtf");
  EXPECT_FALSE(us.Export(folder_.Path("us.xls"), "xls").Ok());
  EXPECT_FALSE(std::filesystem::exists(folder_.Path("us.xls")));
}

TEST_F(StatementOutputsTest, ExportWritesTheChosenTypeOnceAndNeverLosesTheOldFile) {
  Books books = Chart();
  AddEntry(books, kDay, "1", {{110, 300}}, {{400, 300}});
  const TrialBalance tb = TrialOf(books);
  const StatementOutput output(tb, Look());
  const FileDialogRequest request = output.ExportRequest();
  EXPECT_THAT(request.patterns, ElementsAre("*.xls", "*.csv", "*.rtf", "*.htm"));
  // The dialog's answer: a dotted folder keeps its name, a typed extension is replaced.
  const std::string dotted = folder_.Folder("a.b");
  for (const char* typed : {"report", "report.txt"}) {
    Session session;
    FileDialogModel dialog(dotted);
    dialog.Prepare(session, request);
    dialog.ChooseType(3);
    dialog.SetNameText(typed);
    ASSERT_TRUE(dialog.Accept());
    const std::string path = FileNameWithType(session.ChosenFileName, session.ChosenFileType);
    ASSERT_TRUE(output.Export(path, session.ChosenFileType).Ok());
  }
  EXPECT_EQ(testing::ScratchFolder::Read(dotted + "/report.htm"), output.Html());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dotted), {}), 1);
  ASSERT_TRUE(output.Export(dotted + "/tb.csv", "csv").Ok());
  EXPECT_EQ(testing::ScratchFolder::Read(dotted + "/tb.csv"), TableCsv(output.CsvTable()));
  // A folder that cannot be written (here a file stands in its place), and a disk that
  // fills up part-way.
  const std::string blocked = folder_.File("blocked");
  for (const char* type : {"htm", "rtf", "xls", "csv"}) {
    const TableFileResult result = output.Export(blocked + "/tb." + type, type);
    EXPECT_FALSE(result.Ok()) << type;
    EXPECT_THAT(result.Message, HasSubstr("not changed")) << type;
  }
  const std::string full = folder_.Path("full.htm");
  ASSERT_EQ(WriteFileAtomically(full, "old"), 0);
  {
    testing::FileSizeLimit fullDisk(200);
    EXPECT_FALSE(output.Export(full, "htm").Ok());
  }
  EXPECT_EQ(testing::ScratchFolder::Read(full), "old");
}

}  // namespace
}  // namespace qv
