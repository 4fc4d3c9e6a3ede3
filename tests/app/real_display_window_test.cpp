// The main window as a user meets it on a desktop: shortcuts inside text boxes, the focus
// walking the entry, the date box, the sum image; run offscreen and again under X11 (xcb),
// whose text boxes have X11 key bindings. Pictures of the window go to the output folder.

#include <QSignalSpy>

#include "platform/locale_qt.h"
#include "tests/app/main_window_program_qt.h"
#include "tests/support/pdf_text.h"

namespace qv::testing {
namespace {

namespace fs = std::filesystem;

// Whether the box shows its whole text from its first character: with the caret after the
// last character, the text is not scrolled.
bool ShowsWholeText(QLineEdit* box) {
  const int cursor = box->cursorPosition();
  auto caretAt = [box](int position) {
    box->setCursorPosition(position);
    box->grab();  // the box scrolls its text as it paints it
    return box->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
  };
  const int start = caretAt(0);
  const int end = caretAt(static_cast<int>(box->text().size()));
  box->setCursorPosition(cursor);
  return std::abs(end - start - box->fontMetrics().horizontalAdvance(box->text())) <= 1;
}

class RealDisplayTest : public MainWindowTest {};

// On X11 a text box takes Ctrl+E for "end of line"; the menus' shortcuts come first.
TEST_F(RealDisplayTest, EveryMenuShortcutRunsItsItemFromEveryTextBox) {
  StartOn(SmallBook());
  PromptAnswerer prompts;
  std::vector<QAction*> items;
  for (const MenuItemSpec& item : MainMenuItems()) {
    if (item.Shortcut.empty()) continue;
    QAction* action = w->MenuItem(QString::fromUtf8(item.Name.data(), item.Name.size()));
    QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);  // no command runs
    items.push_back(action);
  }
  for (QWidget* box : std::initializer_list<QWidget*>{
           w->Text1, w->JournalID, w->Datetext->DateX(), w->DebitFolio(0), w->DebitAccName(0),
           w->DebitAmountText(0), w->CreditFolio(0), w->AccNote}) {
    for (QAction* action : items) {
      Focus(box);
      // Ctrl+D asks first, as the menu's submenu does; Yes lets its item run.
      if (action == w->MenuItem("ArUshore")) prompts.Then(PromptAnswer::Yes);
      QSignalSpy triggered(action, &QAction::triggered);
      const QKeyCombination key = action->shortcut()[0];
      Press(key.key(), key.keyboardModifiers());
      EXPECT_EQ(triggered.count(), 1) << action->shortcut().toString().toStdString() << " in "
                                      << box->objectName().toStdString();
    }
  }
}

// Tab walks from the entry number through the date box and every row to New Entry, each
// box of the rows wholly in view when it has the focus; Shift+Tab walks back. The first
// run's window shows a three-row entry and its notes whole; the row bar's end shows the notes.
TEST_F(RealDisplayTest, TabAndShiftTabWalkTheEntryWithEveryBoxInView) {
  Books book = SmallBook();
  AddEntry(book, Day(2026, 3, 4), "C1", {{110, 1}, {120, 2}, {110, 3}}, {{400, 5}, {400, 1}},
           "Five rows");
  StartOn(book);
  const auto inView = [this](QWidget* box) {
    return w->eBox->rect().contains(RectIn(w->eBox, box));
  };
  w->ScrollAcc->SetValue(2);  // A10: two debit rows, one credit row
  EXPECT_TRUE(inView(w->AccNote));
  EXPECT_FALSE(w->EScroll->isVisible());
  w->ScrollAcc->SetValue(7);
  ASSERT_TRUE(w->EScroll->isVisible());
  w->EScroll->SetValue(w->EScroll->ValueMax());
  EXPECT_TRUE(inView(w->AccNote));
  Focus(w->JournalID);
  QStringList walked;
  for (int i = 0; i < 30 && Focused() != w->Command1; ++i) {
    Press(Qt::Key_Tab);
    walked << Focused()->objectName();
    if (w->eBox->isAncestorOf(Focused())) {
      EXPECT_TRUE(inView(Focused())) << walked.last().toStdString() << " is out of view";
    }
  }
  EXPECT_EQ(walked.join(" ").toStdString(),
            "DateX Rr EScroll DebitFolio0 DebitAccName0 DebitAmountText0 DebitFolio1 DebitAccName1 "
            "DebitAmountText1 DebitFolio2 DebitAccName2 DebitAmountText2 CreditFolio0 "
            "CreditAccName0 CreditAmountText0 CreditFolio1 CreditAccName1 CreditAmountText1 "
            "AccNote CompoundEntry1 CompoundEntry2 Command1");
  QStringList back;
  for (int i = 0; i < 30 && Focused() != w->JournalID; ++i) {
    Press(Qt::Key_Backtab, Qt::ShiftModifier);
    back.prepend(Focused()->objectName());
  }
  walked.removeLast();
  walked.prepend("JournalID");
  EXPECT_EQ(back, walked);
}

// Under the C locale the short date is "d MMM yyyy": 31 Dec 2025 showed as "1 Dec 2025".
TEST_F(RealDisplayTest, TheDateBoxShowsTheWholeDateAndTheReconcileBoxStandsBesideIt) {
  p.options.Locale = CaptureLocale(QLocale::c());
  Books book = SmallBook();
  book.PostingLines[0].LineDate = book.PostingLines[1].LineDate = Day(2025, 12, 31);
  StartOn(book);
  QLineEdit* date = w->Datetext->DateX();
  EXPECT_EQ(date->text(), "31 Dec 2025");
  EXPECT_TRUE(ShowsWholeText(date));
  Focus(date);
  date->selectAll();
  TypeKeys("15/1/2026");
  Press(Qt::Key_Tab);
  EXPECT_EQ(Line(0).LineDate, Day(2026, 1, 15));
  EXPECT_EQ(date->text(), "15 Jan 2026");
  EXPECT_TRUE(ShowsWholeText(date));
  EXPECT_EQ(OverlapsOf(w, w->Datetext), QStringList());
}

// The sum image stands beside its add-line image after start-up and every resize, beside the
// credit one with the row bar showing at the smallest width, overlapping nothing.
TEST_F(RealDisplayTest, TheSumImageStandsBesideItsAddLineImageInEveryLayout) {
  w = &p.StartActive();
  const auto expectBeside = [this](int side) {
    const QRect sum = RectIn(w, w->CalcCompound);
    const QRect image = RectIn(w, w->CompoundEntry[side]);
    EXPECT_EQ(sum.top(), image.top());
    EXPECT_NEAR(sum.left() - image.right(), 3, 1);
    EXPECT_EQ(OverlapsOf(w, w->CalcCompound), QStringList());
  };
  Focus(w->DebitAmountText(0));
  TypeKeys("25");
  ASSERT_TRUE(w->CalcCompound->isVisible());
  expectBeside(1);
  for (int wider : {200, -150}) {
    w->resize(w->width() + wider, w->height());
    QApplication::processEvents();
    expectBeside(1);
  }
  for (int i = 0; i < 3; ++i) QTest::mouseClick(w->CompoundEntry[1], Qt::LeftButton);
  w->resize(w->minimumSizeHint().width(), w->height());
  QApplication::processEvents();
  Focus(w->DebitAmountText(0));
  TypeKeys("30");
  Focus(w->CreditFolio(0));
  ASSERT_TRUE(w->EScroll->isVisible());
  ASSERT_TRUE(w->CalcCompound->isVisible());
  expectBeside(2);
}

// Each example book opens under the C and the United States locales with its date whole and
// the entry's controls apart; the window is saved as a picture of each.
TEST_F(RealDisplayTest, TheExampleBooksOpenWithEveryControlInPlace) {
  const fs::path examples =
      fs::path(QCoreApplication::applicationDirPath().toStdString()) / ".." / "Examples";
  for (const char* book : {"Trading Business", "Payroll Example"}) {
    for (const char* locale : {"C", "en_US"}) {
      SCOPED_TRACE(std::string(book) + " " + locale);
      Program run;
      run.options.Arguments = {"quorvel", (examples / (std::string(book) + ".acc")).string()};
      run.options.Locale = CaptureLocale(QLocale(QString::fromLatin1(locale)));
      TAcount& window = run.StartActive();
      ASSERT_GT(run.books().LastLineIndex(), 20);
      EXPECT_FALSE(CheckBooks(run.books()).has_value());
      EXPECT_TRUE(ShowsWholeText(window.Datetext->DateX()));
      for (QWidget* control : std::initializer_list<QWidget*>{
               window.Datetext, window.Rr, window.xFrame1, window.PNPage[0], window.PNPage[1],
               window.Command1, window.GL(8), window.GL(9)})
        EXPECT_EQ(OverlapsOf(&window, control), QStringList())
            << control->objectName().toStdString();
      EXPECT_LE(RectIn(window.Client(), window.Command1).right(), window.Client()->width() - 1);
      window.grab().save(QString::fromStdString(TestOutputPath("main_window_")) +
                         QString(book).replace(' ', '_') + "_" + locale + "_" +
                         QGuiApplication::platformName() + ".png");
    }
  }
}

}  // namespace
}  // namespace qv::testing
