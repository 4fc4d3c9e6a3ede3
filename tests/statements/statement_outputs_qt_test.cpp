// The statement windows' Copy, Export and e-mail commands as a user meets them: what lands
// on the clipboard, which file types the dialog offers, the files written and the messages
// shown. The outputs' own layouts are checked in statement_outputs_test.cpp.

#include <gtest/gtest.h>

#include <QTest>
#include <QXmlStreamReader>
#include <algorithm>
#include <filesystem>
#include <memory>
#include <regex>

#include "books/date_styles.h"
#include "books/module_procedures.h"
#include "controls/date_picker_control.h"
#include "controls/email_file_qt.h"
#include "controls/file_dialog_model.h"
#include "platform/clipboard_qt.h"
#include "platform/file_io.h"
#include "platform/units.h"
#include "statements/balance_sheet_window.h"
#include "statements/income_statement_window.h"
#include "statements/trial_balance_window.h"
#include "tests/statements/statement_window_fixture.h"
#include "tests/support/book_builder.h"
#include "tests/support/eml_python.h"
#include "tests/support/pdf_text.h"
#include "tests/support/prompt_answerer.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/table_readers.h"

namespace qv::testing {
namespace {

using Figures = std::vector<std::string>;

// A shop whose journal is 50 short of balancing (a debit without its credit).
Books ShopBook() {
  Books books = BookWithChart({{"Bank", 100, kCurrentAsset},
                               {"Creditors", 200, kCurrentLiability},
                               {"Capital", 300, kCapital},
                               {"Sales <Online> & {Shop}", 410, kRevenue},
                               {"Stock", 500, kCostOfGoodsSold},
                               {"Wages", 600, kExpense}});
  books.BusinessName = "Acme & Sons";
  books.DateStyleIndex = kDdMmYyyySlash;
  books.TrialDecimals = books.IncomeDecimals = books.BalanceSheetDecimals = 2;
  AddEntry(books, Day(2026, 1, 5), "1", {{100, 10000}}, {{300, 10000}});
  AddEntry(books, Day(2026, 2, 1), "2", {{100, 3000}}, {{410, 3000}});
  AddEntry(books, Day(2026, 2, 9), "3", {{500, 1200}}, {{100, 1200}});
  AddEntry(books, Day(2026, 3, 1), "4", {{600, 500}}, {{200, 500}});
  AddEntry(books, Day(2026, 3, 2), "5", {{100, 50}}, {});
  return books;
}

// The figure a text shows (digits with grouping, decimals and parentheses, blanks around), or
// "" when it shows none.
std::string FigureOf(const std::string& text) {
  static const std::regex figure(R"( *(\(?[0-9][0-9,]*(\.[0-9]+)?\)?) *)");
  std::smatch match;
  return std::regex_match(text, match, figure) ? match[1].str() : "";
}

// The figures a window draws, sorted.
Figures WindowFigures(const StatementWindow& window) {
  Figures out;
  for (const DrawOp& op : window.Drawing().Ops)
    if (const auto* text = std::get_if<TextOp>(&op); text && !FigureOf(text->Text).empty())
      out.push_back(FigureOf(text->Text));
  std::sort(out.begin(), out.end());
  return out;
}

// Reads an XHTML page, failing the test when it is not well-formed; returns the figures of
// its table cells, sorted.
Figures PageFigures(const std::string& page) {
  QXmlStreamReader xml(QString::fromStdString(page));
  Figures out;
  while (!xml.atEnd())
    if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"td") {
      const auto cell = xml.readElementText(QXmlStreamReader::IncludeChildElements).toStdString();
      if (!FigureOf(cell).empty() && FigureOf(cell) == cell) out.push_back(cell);
    }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  std::sort(out.begin(), out.end());
  return out;
}

class StatementOutputsWindowTest : public StatementWindowFixture {
 protected:
  StatementOutputsWindowTest() : StatementWindowFixture(ShopBook()) {}

  // Runs Export with the dialog answered by `path`, and returns the request it showed.
  FileDialogRequest Export(StatementWindow& window, const std::string& path) {
    FileDialogRequest shown;
    window.ChooseExportFile = [&](const FileDialogRequest& request) {
      shown = request;
      return path;
    };
    window.ExportItem()->trigger();
    return shown;
  }

  ScratchFolder folder;
};

TEST_F(StatementOutputsWindowTest, CopyPutsTheTrialBalanceAsTextAndRichTextTheOthersAsRichText) {
  auto tb = Open<TrialBalanceWindow>();
  ASSERT_TRUE(tb->CopyItem()->isVisible());
  QTest::mouseClick(tb->Button(2), Qt::LeftButton);
  EXPECT_EQ(ClipboardText(),
            "Bank\t11,850.00\r\nCreditors\t\t500.00\r\nCapital\t\t10,000.00\r\n"
            "Sales <Online> & {Shop}\t\t3,000.00\r\n"
            "Stock\t1,200.00\r\nWages\t500.00\r\n\t\t\r\nTotal\t13,550.00\t13,500.00\r\n");
  EXPECT_NE(ClipboardRtf().find("\\b TOTALS" + std::string(26 + 3, ' ') + "13,550.00   13,500.00"),
            std::string::npos)
      << "each total in its own column, as the window draws them";

  auto is = Open<IncomeStatementWindow>();
  is->CopyItem()->trigger();
  EXPECT_EQ(ClipboardText(), "") << "no plain text beside the income statement's rich text";
  EXPECT_NE(ClipboardRtf().find("\\b Net Profit"), std::string::npos);
}

TEST_F(StatementOutputsWindowTest, EachStatementsPageIsWellFormedAndShowsTheWindowsFigures) {
  auto tb = Open<TrialBalanceWindow>();
  auto is = Open<IncomeStatementWindow>();
  auto bs = Open<BalanceSheetWindow>();
  const std::pair<StatementWindow*, const char*> windows[] = {{tb.get(), "trial_balance.htm"},
                                                              {is.get(), "income_statement.htm"},
                                                              {bs.get(), "balance_sheet.htm"}};
  for (const auto& [window, name] : windows) {
    const std::string path = TestOutputPath(name);
    Export(*window, path);
    const std::string page = ScratchFolder::Read(path);
    EXPECT_NE(page.find("Acme &amp; Sons"), std::string::npos) << name;
    EXPECT_GE(WindowFigures(*window).size(), 5u) << name;
    EXPECT_EQ(PageFigures(page), WindowFigures(*window)) << name;
    // The rich text beside it, for a word processor to open.
    const std::string rtf = std::filesystem::path(path).replace_extension(".rtf").string();
    Export(*window, rtf);
    EXPECT_NE(RtfPlainText(ScratchFolder::Read(rtf)).find("Acme & Sons\n"), std::string::npos);
  }
  // The mail picture: a message with the exact subject whose page, in the United States
  // layout here, is well-formed with the window's figures.
  bs->USA->trigger();
  ASSERT_TRUE(bs->USA->isChecked());
  std::string written;
  ScopedEmailOpener opener([&](const std::string& path) {
    written = path;
    return true;
  });
  QTest::mouseClick(bs->Button(1), Qt::LeftButton);
  ASSERT_FALSE(written.empty());
  EXPECT_EQ(std::filesystem::path(written).filename().string().rfind("BalanceSheet", 0), 0u);
  std::string body;
  EXPECT_EQ(ReadWholeFile(written, body), 0);
  EXPECT_EQ(PageFigures(body.substr(body.find("<!DOCTYPE"))), WindowFigures(*bs));
  if (PythonAvailable()) {
    const auto message = ParseEmlWithPython(written);
    EXPECT_EQ(message.at("Subject"), "Acme & Sons,Financial Position Ending 02 March 2026");
    EXPECT_NE(message.at("body").find("Acme &amp; Sons"), std::string::npos);
  }
  std::filesystem::copy_file(written, TestOutputPath("balance_sheet_mail.eml"),
                             std::filesystem::copy_options::overwrite_existing);
  std::filesystem::remove(written);
  EXPECT_EQ(fileErrors, std::vector<std::string>());
}

TEST_F(StatementOutputsWindowTest, ExportOffersTheStatementsTypesAndTellsAFailureOnce) {
  auto tb = Open<TrialBalanceWindow>();
  const std::string dotted = folder.Folder("j.smith");
  const FileDialogRequest request = Export(*tb, FileNameWithType(dotted + "/report", "htm"));
  EXPECT_EQ(request.defaultType, "xls");
  EXPECT_TRUE(FileExists(dotted + "/report.htm"));

  // Cancelled: nothing written, nothing said. Blocked: one message, the old file kept.
  Export(*tb, "");
  const std::string blocked = folder.File("blocked");
  Export(*tb, blocked + "/tb.xls");
  ASSERT_EQ(fileErrors.size(), 1u);
  EXPECT_NE(fileErrors[0].find("not changed"), std::string::npos) << fileErrors[0];
  EXPECT_EQ(ScratchFolder::Read(blocked), "x");

  // The balance sheet offers rich text only once switched to the United States layout.
  auto bs = Open<BalanceSheetWindow>();
  EXPECT_EQ(Export(*bs, "").patterns, (std::vector<std::string>{"*.rtf", "*.xls", "*.htm"}));
  bs->USA->trigger();
  EXPECT_EQ(Export(*bs, "").patterns, std::vector<std::string>{"*.rtf"});
}

TEST_F(StatementOutputsWindowTest, EachBalanceSheetCopiesItsOwnProfitAfterOtherStatements) {
  auto february = Open<BalanceSheetWindow>();
  february->ISCalander->SetText("01/02/2026");
  february->Recompute();
  auto march = Open<BalanceSheetWindow>();  // the last posting day: 3,000 - 1,200 - 500
  auto is = Open<IncomeStatementWindow>();
  is->DateSearch[1]->SetText("09/02/2026");
  is->Recompute();
  ASSERT_EQ(session.NetProfit, Money(1800));

  const auto profitLine = [](const std::string& amount) {
    return "PROFIT / LOSS" + std::string(17, ' ') + std::string(12 - amount.size(), ' ') + amount;
  };
  february->CopyItem()->trigger();
  EXPECT_NE(ClipboardRtf().find(profitLine("3,000.00")), std::string::npos) << ClipboardRtf();
  march->CopyItem()->trigger();
  EXPECT_NE(ClipboardRtf().find(profitLine("1,300.00")), std::string::npos) << ClipboardRtf();
}

}  // namespace
}  // namespace qv::testing
