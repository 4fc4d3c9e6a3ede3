// The main window as a user meets it on a desktop: shortcuts inside text boxes, the focus
// walking the entry, the date box, the sum image, the account lists' type-ahead, the window
// at its smallest and the About text; run offscreen and again under X11 (xcb), whose text
// boxes have X11 key bindings. Pictures of the windows go to the output folder.

#include <QImageReader>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QPrinterInfo>
#include <QSignalSpy>

#include "accounts/account_combo_qt.h"
#include "app/main_window_layout.h"
#include "controls/file_dialog.h"
#include "controls/print_setup_dialog.h"
#include "platform/locale_qt.h"
#include "platform/units.h"
#include "statements/trial_balance_window.h"
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

class RealDisplayTest : public MainWindowTest {
 protected:
  // Saves a picture of the window, named for the platform it was drawn on.
  static void SavePicture(QWidget* window, const QString& name) {
    window->grab().save(QString::fromStdString(TestOutputPath(name.toStdString() + "_")) +
                        QGuiApplication::platformName() + ".png");
  }
};

// The share of the picture's pixels that are not transparent.
double OpaqueShare(const QImage& picture) {
  if (picture.isNull()) return 0;
  int opaque = 0;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) opaque += picture.pixelColor(x, y).alpha() > 0;
  return double(opaque) / (picture.width() * picture.height());
}

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

// The part of `box` that shows: what the boxes it stands in leave of it, in the window. Of the
// entry frame only the inside of its etched border counts: two outlines, two pixels at each
// edge, that a box standing on them would cut into.
QRect ShownPartOf(QWidget* box) {
  QWidget* window = box->window();
  QRect shown = RectIn(window, box);
  for (QWidget* up = box->parentWidget(); up != nullptr && up != window; up = up->parentWidget()) {
    const QRect area = RectIn(window, up);
    shown &= qobject_cast<EntryFrame*>(up) != nullptr ? area.adjusted(2, 2, -2, -2) : area;
  }
  return shown;
}

bool WhollyShown(QWidget* box) { return ShownPartOf(box) == RectIn(box->window(), box); }

std::string RectText(const QRect& r) {
  return std::to_string(r.width()) + " x " + std::to_string(r.height()) + " at " +
         std::to_string(r.x()) + ", " + std::to_string(r.y());
}

// Entries of 3 to 30 debit lines and one or two credit lines at the window's first size, at
// its smallest, and taller and wider: where the rows and the notes box do not all show, the
// row bar does; clicking its down arrow until the rows stop brings the notes box whole into
// the row box and inside the frame's border, and so does Tab from the last amount.
TEST_F(RealDisplayTest, TheRowBarsEndAndTabFromTheLastAmountShowTheNotesBoxAtEverySize) {
  struct Shape {
    int debits, credits, firstLine;
  };
  Books book = SmallBook();
  std::vector<Shape> shapes;
  for (const int debits : {3, 4, 5, 8, 12, 20, 30}) {
    const int credits = debits % 2 == 0 ? 2 : 1;
    shapes.push_back({debits, credits, book.LastLineIndex() + 1});
    const EntryNumber number("D" + std::to_string(debits));
    for (int i = 0; i < debits + credits; ++i)
      book.AppendLine({.LineDate = Day(2026, 3, 9),
                       .Side = i < debits ? kDebit : kCredit,
                       .LineFolio = Money(i < debits ? 110 : 400),
                       .Amount = Money(1),
                       .Notes = i + 1 == debits + credits ? "Many lines" : ""},
                      number);
  }
  StartOn(book);
  const QSize first = w->size();
  for (const QSize size :
       {first, w->minimumSize(), first + QSize(0, 40), first + QSize(200, 150)}) {
    w->resize(size);
    QApplication::processEvents();
    for (const Shape& shape : shapes) {
      SCOPED_TRACE(std::to_string(shape.debits) + " debit lines at " + std::to_string(w->width()) +
                   " x " + std::to_string(w->height()));
      w->ScrollAcc->SetValue(shape.firstLine);
      QApplication::processEvents();
      ASSERT_TRUE(w->DebitAmountText(shape.debits - 1)->isVisibleTo(w));
      if (!WhollyShown(w->AccNote)) {
        EXPECT_TRUE(w->EScroll->isVisible()) << "no bar leads to the notes box";
      }
      const QPoint downArrow(w->EScroll->width() / 2, w->EScroll->height() - 5);
      for (int before = -1, i = 0;
           i < 1000 && w->EScroll->isVisible() && w->EScroll->Value() != before; ++i) {
        before = w->EScroll->Value();
        QTest::mouseClick(w->EScroll, Qt::LeftButton, {}, downArrow);
      }
      EXPECT_EQ(w->EScroll->Value(), w->EScroll->ValueMax());
      EXPECT_TRUE(WhollyShown(w->AccNote))
          << "at the bar's end the notes box " << RectText(RectIn(w, w->AccNote)) << " shows "
          << RectText(ShownPartOf(w->AccNote));
      w->EScroll->SetValue(0);
      QWidget* lastAmount = w->CreditAmountText(shape.credits - 1);
      Focus(lastAmount);
      EXPECT_TRUE(WhollyShown(lastAmount));
      Press(Qt::Key_Tab);
      ASSERT_EQ(Focused(), w->AccNote);
      EXPECT_TRUE(WhollyShown(w->AccNote)) << "Tab leaves the notes box out of view";
    }
  }
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

// Typing in an account list opens its list on the account found, below the box; the keyboard
// stays in the box, so the next character goes on typing. Escape and leaving the box close
// the list; a click on an account in it chooses that account.
TEST_F(RealDisplayTest, TypeAheadOpensTheAccountListAndTheBoxKeepsTheKeys) {
  Books book =
      BookWithChart({{"Cash", 110, 0}, {"Bank", 120, 0}, {"Capital", 300, 3}, {"Sales", 400, 5}});
  AddEntry(book, Day(2026, 3, 1), "A1", {{110, 100}}, {{400, 100}}, "First");
  StartOn(book);
  QComboBox* name = w->DebitAccName(0);
  Focus(name);
  EXPECT_EQ(OpenTypeAheadList(name), nullptr);
  TypeKeys("cap");
  QListView* list = OpenTypeAheadList(name);
  ASSERT_NE(list, nullptr) << "the list opens while the user types";
  EXPECT_TRUE(list->isVisible());
  EXPECT_EQ(Focused(), name) << "the list takes no keyboard";
  EXPECT_EQ(name->currentText(), "Capital");
  EXPECT_EQ(name->lineEdit()->selectedText(), "ital");
  EXPECT_EQ(list->currentIndex().data().toString(), "Capital");
  EXPECT_TRUE(list->visualRect(list->currentIndex()).intersects(list->viewport()->rect()));
  const QRect box(name->mapToGlobal(QPoint(0, 0)), name->size());
  const QRect shown = list->geometry();
  EXPECT_EQ(shown.left(), box.left());
  EXPECT_EQ(shown.top(), box.bottom() + 1);
  EXPECT_EQ(shown.width(), box.width());
  EXPECT_EQ(w->DebitFolio(0)->text(), "300") << "the account is taken at once";
  SavePicture(list, "type_ahead_list");
  // The next character still goes to the box.
  TypeKeys("i");
  EXPECT_EQ(name->lineEdit()->selectedText(), "tal");
  EXPECT_EQ(OpenTypeAheadList(name), list);
  Press(Qt::Key_Escape);
  EXPECT_EQ(OpenTypeAheadList(name), nullptr);
  EXPECT_EQ(Focused(), name);
  EXPECT_EQ(name->currentText(), "Capital");
  // Leaving the box closes the list.
  TypeKeys("x");
  ASSERT_NE(OpenTypeAheadList(name), nullptr) << "a character that begins no account opens it too";
  EXPECT_EQ(name->currentText(), "Capital");
  Press(Qt::Key_Tab);
  EXPECT_EQ(OpenTypeAheadList(name), nullptr);
  // A click on an account in the list chooses it.
  QComboBox* credit = w->CreditAccName(0);
  Focus(credit);
  TypeKeys("b");
  list = OpenTypeAheadList(credit);
  ASSERT_NE(list, nullptr);
  const QModelIndex cash = list->model()->index(credit->findText("Cash"), 0);
  list->scrollTo(cash);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(cash).center());
  EXPECT_EQ(OpenTypeAheadList(credit), nullptr);
  EXPECT_EQ(credit->currentText(), "Cash");
  EXPECT_EQ(w->CreditFolio(0)->text(), "110");
  EXPECT_EQ(Focused(), credit);
}

// The window cannot be made smaller than its minimum, by a window system or by none (a bare X
// server keeps no size hints); at that size New Entry is whole and takes a click, and the
// rows, the notes box and the status line are inside the window.
TEST_F(RealDisplayTest, TheSmallestWindowShowsNewEntryWholeAndItsRowsNotesAndStatus) {
  StartOn(SmallBook());
  w->windowHandle()->resize(500, 120);  // as a resize from outside the program
  QTest::qWait(50);
  QApplication::processEvents();
  ASSERT_TRUE(QTest::qWaitFor([this] { return w->height() >= w->minimumHeight(); }, 2000));
  EXPECT_GE(w->width(), w->minimumWidth());
  EXPECT_GE(w->minimumWidth(), Px(kMinWindowWidth - kFrameWidthAllowance));
  EXPECT_GE(w->minimumHeight(), Px(kMinWindowHeight - kFrameHeightAllowance));
  w->resize(w->minimumSize());
  QApplication::processEvents();
  ASSERT_EQ(w->size(), w->minimumSize());
  QWidget* client = w->Client();
  const QRect newEntry = RectIn(client, w->Command1);
  EXPECT_TRUE(client->rect().contains(newEntry))
      << newEntry.right() << " beyond " << client->width();
  EXPECT_EQ(client->childAt(newEntry.center()), w->Command1);
  EXPECT_EQ(OverlapsOf(w, w->Command1), QStringList());
  for (QWidget* shown : std::initializer_list<QWidget*>{
           w->DebitAmountText(1), w->CreditAmountText(0), w->AccNote, w->GL(7), w->ScrollAcc})
    EXPECT_TRUE(client->rect().contains(RectIn(client, shown)))
        << shown->objectName().toStdString();
  EXPECT_TRUE(w->eBox->rect().contains(RectIn(w->eBox, w->AccNote)));
  SavePicture(w, "main_window_minimum");
  const int lines = books().LastLineIndex();
  QTest::mouseClick(w->Command1, Qt::LeftButton, {}, w->Command1->rect().center());
  EXPECT_EQ(books().LastLineIndex(), lines + 2) << "New Entry adds an entry of two lines";
}

// Help > About shows the program's picture, read from its SVG file (the image plugin is
// installed with the program), which is also the windows' icon.
TEST_F(RealDisplayTest, AboutShowsTheProgramPictureWhichIsTheWindowsIcon) {
  ASSERT_TRUE(QImageReader::supportedImageFormats().contains("svg"))
      << "Qt's SVG image plugin is missing (Debian package libqt6svg6)";
  StartOn(SmallBook());
  const QImage icon = w->windowIcon().pixmap(48, 48).toImage();
  EXPECT_GT(OpaqueShare(icon), 0.5) << "the window's icon draws";
  w->MenuItem("AboutMenu")->trigger();
  HelpWindow* about = TheHelpDesk().Window();
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(about->windowTitle(), "About...");
  const QImage picture = about->Picture()->pixmap().toImage();
  EXPECT_GT(OpaqueShare(picture), 0.5);
  EXPECT_EQ(picture.convertToFormat(QImage::Format_ARGB32),
            icon.convertToFormat(QImage::Format_ARGB32));
  SavePicture(about, "about_window");
  about->close();
}

// Ctrl+A selects the whole text of every box of the entry, the date box too, so that a date
// typed next replaces the old one.
TEST_F(RealDisplayTest, CtrlASelectsTheWholeTextOfEveryEntryBox) {
  StartOn(SmallBook());
  PromptAnswerer prompts;  // "Invalid Date" would fail the test
  QLineEdit* date = w->Datetext->DateX();
  for (QLineEdit* box : {w->JournalID, date, w->DebitFolio(0), w->DebitAccName(0)->lineEdit(),
                         w->DebitAmountText(0), w->AccNote}) {
    Focus(box == w->DebitAccName(0)->lineEdit() ? static_cast<QWidget*>(w->DebitAccName(0)) : box);
    box->deselect();
    box->setCursorPosition(1);
    Press(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(box->selectedText(), box->text()) << box->objectName().toStdString();
    EXPECT_FALSE(box->text().isEmpty());
  }
  Focus(date);
  date->deselect();
  date->end(false);
  Press(Qt::Key_A, Qt::ControlModifier);
  TypeKeys("3/15/2026");
  Press(Qt::Key_Tab);
  EXPECT_EQ(Line(0).LineDate, Day(2026, 3, 15));
  EXPECT_EQ(Line(1).LineDate, Day(2026, 3, 15));
  EXPECT_EQ(prompts.Texts(), std::vector<std::string>());
}

// Alt with a key types nothing into the entry: not over the notes' selected text, not into an
// amount, and it does not choose an account by its first letter. Alt alone, then Down, opens
// the first menu.
TEST_F(RealDisplayTest, AltWithAKeyLeavesTheNotesAmountAndAccountAndAltAloneReachesTheMenus) {
  StartOn(SmallBook());
  const Books before = books();
  Focus(w->AccNote);
  ASSERT_EQ(w->AccNote->selectedText(), "First");
  Press(Qt::Key_F, Qt::AltModifier);
  EXPECT_EQ(w->AccNote->text(), "First");
  Focus(w->DebitAmountText(0));
  Press(Qt::Key_5, Qt::AltModifier);
  EXPECT_EQ(w->DebitAmountText(0)->text(), "100");
  Focus(w->DebitAccName(0));
  Press(Qt::Key_S, Qt::AltModifier);  // typed, it would show Sales
  EXPECT_EQ(w->DebitAccName(0)->currentText(), "Cash");
  Press(Qt::Key_Tab);
  EXPECT_EQ(FirstDifference(books(), before), "");
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
  Press(Qt::Key_Alt, Qt::AltModifier);
  Press(Qt::Key_Down);
  auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->objectName(), "Filemenu");
  menu->close();
}

// With no printer installed, Print in the trial balance opens the print set-up on the PDF
// file with a line saying that no printer was found, and no message before it; the PDF file's
// dialog then proposes the statement's name. The set-up is saved as a picture.
TEST_F(RealDisplayTest, WithNoPrinterThePrintSetUpOpensOnThePdfFileAndSaysWhy) {
  if (!QPrinterInfo::availablePrinterNames().isEmpty()) GTEST_SKIP() << "a printer is installed";
  StartOn(SmallBook());
  w->MenuItem("TrialBalance")->trigger();
  auto* tb = qobject_cast<TrialBalanceWindow*>(p.app->Windows().Trial_Balance.data());
  ASSERT_NE(tb, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(tb));
  ScriptedPrompts prompts;
  prompts.OnUnexpected = [](const PromptRequest& request, const std::string&) {
    ADD_FAILURE() << "a message: " << request.Text;
  };
  const ScopedPromptService scope(prompts);
  std::string printer, proposed;
  QStringList overlaps;
  bool noteWhole = false;
  QTimer poll, watchdog;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* setUp = qobject_cast<Printformer*>(modal); setUp && setUp->isVisible()) {
      printer = setUp->Combo1()->currentText().toStdString();
      QLabel* note = setUp->NoPrinterNote();
      noteWhole = note->isVisible() && !note->text().isEmpty() &&
                  setUp->rect().contains(RectIn(setUp, note)) &&
                  note->height() >= note->heightForWidth(note->width()) &&
                  RectIn(setUp, note).top() >= RectIn(setUp, setUp->Combo1()).bottom();
      overlaps = OverlapsOf(setUp, note);
      setUp->grab().save(QString::fromStdString(TestOutputPath("print_setup_no_printer_")) +
                         QGuiApplication::platformName() + ".png");
      setUp->Command1()->click();
    } else if (auto* files = qobject_cast<FileDialog*>(modal); files && files->isVisible()) {
      proposed = files->NameBox()->text().toStdString();
      files->reject();
      poll.stop();
    }
  });
  QObject::connect(&watchdog, &QTimer::timeout, [] {
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
  });
  poll.start(20);
  watchdog.start(10000);
  tb->PrintItem()->trigger();
  EXPECT_EQ(printer, "PDF file...");
  EXPECT_TRUE(noteWhole);
  EXPECT_EQ(overlaps, QStringList());
  EXPECT_EQ(proposed, "Trial Balance.pdf");
}

}  // namespace
}  // namespace qv::testing
