// The chart, settings and prepared-entry windows as the main window opens them: a chart built
// with keys and menus, postings moved, settings followed at once and kept; the printed chart.

#include <QGroupBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <numeric>

#include "accounts/chart_editor_window.h"
#include "accounts/configuration_window.h"
#include "accounts/move_accounts_dialog.h"
#include "accounts/prepared_entries_window.h"
#include "books/date_styles.h"
#include "controls/print_document_qt.h"
#include "controls/shared_printer_qt.h"
#include "tests/app/typed_entries_qt.h"
#include "tests/support/pdf_text.h"

namespace qv::testing {
namespace {

class ChartOfAccountsWindowTest : public MainWindowTest {
 protected:
  ConfigAccounts* Editor() {
    return qobject_cast<ConfigAccounts*>(p.app->Windows().ConfigAccounts.data());
  }
  // The debit line of the two-line entry with these notes (on its last line).
  int DebitOf(const std::string& notes) {
    for (int i = 1; i <= books().LastLineIndex(); ++i)
      if (Line(i).Notes == notes) return i - 1;
    return -1;
  }
  Amount FolioOfNotes(const std::string& notes) {
    return Line(std::max(DebitOf(notes), 0)).LineFolio;
  }
};

TEST_F(ChartOfAccountsWindowTest, KeysAndMenusBuildAChartThatIsSavedAndReopenedWithItsPostings) {
  PromptAnswerer prompts;
  w = &p.StartActive();
  path = (p.folder / "built.acc").string();
  // Settings > Account Settings; Help > Generate Accounts Setup on the new book's chart.
  w->MenuItem("EditAccounts")->trigger();
  ConfigAccounts* editor = Editor();
  ASSERT_NE(editor, nullptr);
  Activate(editor);
  ASSERT_EQ(Focused(), editor->RenameAccount[0]);
  editor->GChatA->trigger();  // the new book's chart is replaced without a question
  EXPECT_EQ(editor->RenameAccount[0]->text(), "Cash at Bank");
  // Folio dashes on: Shift+Tab from the grid reaches the box, Space ticks it, Tab goes back.
  Press(Qt::Key_Backtab);
  ASSERT_EQ(Focused(), editor->Dsh);
  Press(Qt::Key_Space);
  EXPECT_EQ(books().FolioDashes, -1);
  Press(Qt::Key_Tab);
  ASSERT_EQ(Focused(), editor->RenameAccount[0]);
  // Two sub-accounts after Accounts Receivable: Ctrl+I, then name, Tab, folio.
  Press(Qt::Key_Down);
  Press(Qt::Key_Down);
  ASSERT_EQ(editor->RenameAccount[2]->text(), "Accounts Receivable");
  for (const auto& [name, folio] : {std::pair{"Peter", "110-1"}, std::pair{"Paul", "110-2"}}) {
    Press(Qt::Key_I, Qt::ControlModifier);
    Press(Qt::Key_Down);
    TypeKeys(name);
    Press(Qt::Key_Tab);
    ASSERT_EQ(Focused()->objectName().left(5), "Folio");
    TypeKeys(folio);
    Press(Qt::Key_Backtab);
  }
  EXPECT_EQ(editor->Folio[3]->text() + " " + editor->Folio[4]->text(), "110-1 110-2");
  EXPECT_GT(editor->RenameAccount[3]->x(), editor->RenameAccount[2]->x());  // indented
  // Cash on Hand goes: Up to its row, Ctrl+D.
  for (int k = 0; k < 3; ++k) Press(Qt::Key_Up);
  ASSERT_EQ(editor->RenameAccount[1]->text(), "Cash on Hand");
  Press(Qt::Key_D, Qt::ControlModifier);
  EXPECT_EQ(editor->RenameAccount[1]->text(), "Accounts Receivable");
  // Paul's type, notes and details: Tab to the types, Down picks the next one (the focus
  // comes back to the row), then Tab on to the notes and the details.
  Press(Qt::Key_Down);
  Press(Qt::Key_Down);
  ASSERT_EQ(editor->RenameAccount[3]->text(), "Paul");
  Press(Qt::Key_Tab);
  Press(Qt::Key_Tab);
  ASSERT_EQ(Focused(), editor->CurrentAsset[0]) << Focused()->objectName().toStdString();
  Press(Qt::Key_Down);
  QApplication::processEvents();
  EXPECT_TRUE(editor->CurrentAsset[1]->isChecked());
  ASSERT_EQ(Focused(), editor->RenameAccount[3]) << Focused()->objectName().toStdString();
  TabTo(editor->ANote);
  TypeKeys("Pays monthly");
  Press(Qt::Key_Tab);
  ASSERT_EQ(Focused(), editor->ANote2);
  TypeKeys("Paul Smith");
  Press(Qt::Key_Return);
  TypeKeys("12 Harbour Rd");
  Press(Qt::Key_Tab);
  Press(Qt::Key_Tab);
  EXPECT_EQ(Focused(), editor->RenameAccount[3]);
  // Closing: the checks pass, the main window lists the new accounts.
  editor->close();
  QApplication::processEvents();
  EXPECT_EQ(Editor(), nullptr);
  EXPECT_GE(w->DebitAccName(0)->findText("Peter"), 0);
  EXPECT_LT(w->DebitAccName(0)->findText("Cash on Hand"), 0);
  // Two sales on the sub-accounts, typed in the main window.
  Activate(w);
  Record(*w, EntryOf("s1|3/10/2026|110-1 250|400 250|Sale to Peter"));
  Record(*w, EntryOf("s2|3/10/2026|110-2 100|400 100|Sale to Paul"));
  EXPECT_EQ(FolioOfNotes("Sale to Peter"), Money(110.1));
  // Edit > Move Account: Peter's postings to Paul, chosen by typing in the lists. The entry
  // on show follows at once.
  w->ScrollAcc->SetValue(DebitOf("Sale to Peter"));
  ASSERT_EQ(w->DebitAccName(0)->currentText(), "Peter");
  prompts.Then(PromptAnswer::Yes).Then(PromptAnswer::Ok);
  QTimer::singleShot(0, [&] {
    auto* move = qobject_cast<MoveAccounts*>(QApplication::activeModalWidget());
    ASSERT_NE(move, nullptr);
    Activate(move);
    move->A1->setFocus();
    TypeKeys("Pe");
    EXPECT_EQ(move->A1->currentText(), "Peter");
    Press(Qt::Key_Tab);
    TypeKeys("Pa");
    EXPECT_EQ(move->A2->currentText(), "Paul");
    Press(Qt::Key_Tab);
    ASSERT_EQ(Focused(), move->Command1);
    Press(Qt::Key_Space);
  });
  w->MenuItem("ReplaceAccountsMenu")->trigger();
  EXPECT_EQ(prompts.Texts(),
            (std::vector<std::string>{"Move Account 110.1 to 110.2, Are you sure ?",
                                      "1 posting line was moved from account 110.1 to account "
                                      "110.2."}));
  EXPECT_EQ(FolioOfNotes("Sale to Peter"), Money(110.2));
  EXPECT_EQ(w->DebitAccName(0)->currentText(), "Paul");
  // Saved with Ctrl+S (the file dialog asks for the new book's name), reopened with Ctrl+O.
  SaveAndReopen();
  ASSERT_EQ(p.requests.size(), 2u);
  const Books& b = books();
  EXPECT_EQ(std::tie(b.LastAccountIndex, b.FolioDashes, b.AccountNames[1], b.AccountNames[2],
                     b.AccountNames[3], b.AccountTypes[3], b.AccountNotes[3], b.AccountDetails[3]),
            std::tuple(71, -1, "Accounts Receivable", "Peter", "Paul", kCurrentLiability,
                       "Pays monthly", "Paul Smith\r\n12 Harbour Rd"));
  EXPECT_EQ(std::tie(b.AccountFolios[2], b.AccountFolios[3]),
            std::tuple(Money(110.1), Money(110.2)));
  EXPECT_EQ(std::count(b.AccountNames.begin(), b.AccountNames.end(), "Cash on Hand"), 0);
  EXPECT_EQ(FolioOfNotes("Sale to Paul"), Money(110.2));
  EXPECT_EQ(FolioOfNotes("Sale to Peter"), Money(110.2));
  EXPECT_FALSE(CheckBooks(b).has_value());
}

// The settings and the prepared groups open while the book is saved are kept with it.
TEST_F(ChartOfAccountsWindowTest, SettingsAndPreparedGroupsAreFollowedAtOnceAndKeptWithTheBook) {
  PromptAnswerer prompts;
  StartOn(SmallBook());
  w->MenuItem("SoftwareSettings")->trigger();
  auto* settings = qobject_cast<QVMainsettings*>(p.app->Windows().QVMainsettings.data());
  ASSERT_NE(settings, nullptr);
  Activate(settings);
  Focus(settings->Bname);
  TypeKeys("Harbor Cafe");
  EXPECT_EQ(books().BusinessName, "Harbor Cafe");
  Focus(settings->BusAddress);
  TypeKeys("1 Quay St");
  Press(Qt::Key_Return);
  TypeKeys("Port Town");
  Focus(settings->DateStyle);
  ASSERT_EQ(settings->DateStyle->currentIndex(), 0);
  Press(Qt::Key_Down);
  Press(Qt::Key_Down);
  EXPECT_EQ(books().DateStyleIndex, 2);
  QTest::mouseClick(settings->DecimalPlacing[0][3], Qt::LeftButton);
  EXPECT_EQ(books().JournalDecimals, 3);
  const DaySerial shown = Line(w->Screen().EntryFirstLine()).LineDate;
  EXPECT_EQ(w->Datetext->Text().toStdString(), FormatDateStyle(shown, 2, p.app->Locale()));
  settings->OKu->click();
  w->MenuItem("EnTryDic")->trigger();
  auto* prepared = qobject_cast<RecurringEntries*>(p.app->Windows().RecurringEntries.data());
  ASSERT_NE(prepared, nullptr);
  Activate(prepared);
  Focus(prepared->AmountText[0]);
  TypeKeys("75");
  Focus(prepared->Folio[0]);
  TypeKeys("120");
  EXPECT_EQ(prepared->Account_Name[0]->currentText(), "Bank");
  prepared->InEe[1]->click();  // Include Entry: the main window shows the new entry
  EXPECT_EQ(w->Screen().EntryFirstLine(), books().LastLineIndex() - 1);
  EXPECT_EQ(Line(books().LastLineIndex() - 1).Amount, Money(75));
  SaveAndReopen();
  const Books& b = books();
  EXPECT_EQ(std::tie(b.BusinessName, b.BusinessAddress, b.DateStyleIndex, b.JournalDecimals),
            std::tuple("Harbor Cafe", "1 Quay St\r\nPort Town", 2, 3));
  ASSERT_FALSE(b.PreparedGroups[0].empty());
  EXPECT_EQ(std::tie(b.PreparedGroups[0][0].LineFolio, b.PreparedGroups[0][0].Amount),
            std::tuple(Money(120), Money(75)));
  QApplication::processEvents();
  EXPECT_EQ(p.app->Windows().RecurringEntries.data(), nullptr) << "the open closed it";
}

TEST_F(ChartOfAccountsWindowTest, ThePrintedListingShowsEverySlotWithFolioNameAndType) {
  if (!PdfToolsAvailable()) GTEST_SKIP() << kNoPdfTools;
  if (!PrintsToFile(SharedPrinter())) GTEST_SKIP() << "a printer is installed; this prints to PDF";
  Books book = SmallBook();
  ApplySampleChart(book);
  constexpr int kLast = 130;  // the sample chart and sixty customers: more than a page
  book.ResizeChart(kLast);
  for (int k = 71; k <= kLast; ++k) {
    book.AccountNames[static_cast<std::size_t>(k)] = "Receivable - Customer " + std::to_string(k);
    book.AccountFolios[static_cast<std::size_t>(k)] = Money(110 + (k - 70) / 100.0);
  }
  book.BusinessName = "Harbor Cafe";
  StartOn(book);
  const std::string pdf = TestOutputPath("chart_listing.pdf");
  QFile::remove(QString::fromStdString(pdf));
  const ScopedPdfFileAnswer answer([pdf] { return pdf; });
  w->MenuItem("EditAccounts")->trigger();
  ConfigAccounts* editor = Editor();
  ASSERT_NE(editor, nullptr);
  Activate(editor);
  editor->RenameAccount[0]->setFocus();
  editor->PrintAccounts->trigger();
  editor->CloseWithoutChecks();
  const std::vector<std::string> pages = PdfPageTexts(pdf);
  ASSERT_EQ(static_cast<int>(pages.size()), PdfPageCount(pdf));
  ASSERT_GE(pages.size(), 2u);
  std::string all = std::accumulate(pages.begin(), pages.end(), std::string());
  // The PDF's fonts join "ffi", "fi", "fl" and "ff" into single glyphs.
  for (const auto& [joined, letters] :
       {std::pair{"\uFB03", "ffi"}, {"\uFB01", "fi"}, {"\uFB02", "fl"}, {"\uFB00", "ff"}})
    for (std::size_t at = all.find(joined); at != std::string::npos; at = all.find(joined))
      all.replace(at, std::string_view(joined).size(), letters);
  std::istringstream lines(all);
  std::vector<std::string> printed;
  for (std::string line; std::getline(lines, line);)
    if (!TrimText(line).empty()) printed.push_back(line);
  ASSERT_GE(printed.size(), 2u + kLast + 1);
  EXPECT_NE(printed[0].find("Harbor Cafe"), std::string::npos);
  for (const char* heading : {"Folio", "Account Name", "Account Type"})
    EXPECT_NE(printed[1].find(heading), std::string::npos) << heading;
  // Slot k on line k + 2: its folio, then its name, then its type's caption.
  for (int k = 0; k <= kLast; ++k) {
    const std::string& line = printed[static_cast<std::size_t>(k + 2)];
    const auto slot = static_cast<std::size_t>(k);
    const std::string folio = PlainAmountText(books().AccountFolios[slot]);
    const std::size_t f = line.find(folio);
    const std::size_t n = line.find(books().AccountNames[slot], f);
    const std::size_t t = line.find(AccountTypeCaption(books().AccountTypes[slot]), n);
    EXPECT_TRUE(f != std::string::npos && n != std::string::npos && t != std::string::npos)
        << "slot " << k << ": " << line;
  }
}

}  // namespace
}  // namespace qv::testing
