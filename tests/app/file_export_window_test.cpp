// The balance sheet's Export and Print to a PDF file as a user meets them: the file dialog
// opening on the type the file is written as, the question before a file that stands there
// is replaced, and the program's boxes opening over the statement window that asked, not
// over the main window. Run offscreen and again under X11 (xcb), with the program's own
// message boxes; pictures of the file dialog go to the output folder.

#include <sys/stat.h>
#include <QComboBox>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrinter>
#include <deque>
#include <filesystem>

#include "controls/file_dialog.h"
#include "controls/print_setup_dialog.h"
#include "controls/shared_printer_qt.h"
#include "platform/file_io.h"
#include "platform/prompts_qt.h"
#include "statements/balance_sheet_window.h"
#include "tests/app/main_window_program_qt.h"
#include "tests/support/biff2_records.h"
#include "tests/support/pdf_text.h"

namespace qv::testing {
namespace {

namespace fs = std::filesystem;

// Answers the program's modal windows one after another as they show, each with the next
// step of a script; what a step saw is kept in `seen`. A watchdog closes whatever is still
// open after ten seconds, so a test can fail but never hang.
class ModalScript {
 public:
  using Step = std::function<void(QWidget& modal)>;

  ModalScript() {
    QObject::connect(&poll_, &QTimer::timeout, [this] { Look(); });
    QObject::connect(&watchdog_, &QTimer::timeout, [] {
      if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    });
    poll_.start(20);
  }
  ModalScript& Then(Step step) {
    steps_.push_back(std::move(step));
    watchdog_.start(10000);
    return *this;
  }
  bool Done() const { return steps_.empty(); }

 private:
  void Look() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || steps_.empty() || modal == last_ || !modal->isVisible() ||
        !QTest::qWaitForWindowExposed(modal))
      return;
    last_ = modal;
    Step step = std::move(steps_.front());
    steps_.pop_front();
    step(*modal);
  }

  QTimer poll_, watchdog_;
  std::deque<Step> steps_;
  QPointer<QWidget> last_;
};

class RealDisplayExportTest : public MainWindowTest {
 protected:
  void SetUp() override {
    Books book = SmallBook();
    // A mark that no code page of an Excel 2.1 sheet holds: the sheet's notice tells of it.
    book.BusinessName = "Harbour \u2713 Traders";
    StartOn(book);
    boxes.SetOwner(w);
    const QRect area = w->screen()->availableGeometry();
    w->move(area.topLeft());
    w->MenuItem("Show_Balance")->trigger();
    ASSERT_FALSE(p.app->Windows().BalanceSheetWindows.empty());
    sheet = qobject_cast<BalanceSheetWindow*>(p.app->Windows().BalanceSheetWindows.back().data());
    ASSERT_NE(sheet, nullptr);
    // The statement away from the main window, so that a box over the one is not over the
    // other.
    sheet->resize(area.width() / 2, area.height() / 2);
    sheet->move(area.center());
    Activate(sheet);
    const QPoint apart = sheet->frameGeometry().center() - w->frameGeometry().center();
    ASSERT_GT(apart.manhattanLength(), 150);
  }

  // Chooses the statement's File menu item with the mouse, as a user does.
  void ChooseFromFileMenu(QAction* item) {
    QMenuBar* bar = sheet->menuBar();
    QAction* file = bar->actions().front();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(file).center());
    QMenu* menu = file->menu();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
  }

  // Empties the name box with the keys, as a user does.
  static void ClearName(FileDialog& dialog) {
    QTest::keyClick(dialog.NameBox(), Qt::Key_End);
    QTest::keyClick(dialog.NameBox(), Qt::Key_Home, Qt::ShiftModifier);
    QTest::keyClick(dialog.NameBox(), Qt::Key_Delete);
    ASSERT_EQ(dialog.NameBox()->text(), "");
  }

  // A step that answers the file dialog with the path typed as a user types it.
  ModalScript::Step TypeInFileDialog(const std::string& path, std::string* shown = nullptr) {
    return [path, shown](QWidget& modal) {
      auto* dialog = qobject_cast<FileDialog*>(&modal);
      ASSERT_NE(dialog, nullptr) << modal.metaObject()->className();
      if (shown) *shown = dialog->TypeList()->currentText().toStdString();
      ClearName(*dialog);
      QTest::keyClicks(dialog->NameBox(), QString::fromStdString(path));
      QTest::mouseClick(dialog->AcceptButton(), Qt::LeftButton);
    };
  }

  // A step that looks at a message box, where it stands and what it says, then presses
  // `button` (Enter when none is given, which presses the default).
  ModalScript::Step AnswerBox(std::vector<std::string>& texts,
                              QMessageBox::StandardButton button = QMessageBox::NoButton) {
    return [this, &texts, button](QWidget& modal) {
      auto* box = qobject_cast<QMessageBox*>(&modal);
      ASSERT_NE(box, nullptr) << modal.metaObject()->className();
      texts.push_back(box->text().toStdString());
      SCOPED_TRACE(texts.back());
      // Qt centres a dialog allowing for its frame, which it guesses (10 x 40 pixels) where
      // no window manager draws one.
      const QPoint centre = box->frameGeometry().center();
      const QPoint over = sheet->frameGeometry().center();
      EXPECT_LE(std::abs(centre.x() - over.x()), 12)
          << "the box's centre is at x " << centre.x() << ", the statement's at " << over.x()
          << ", the main window's at " << w->frameGeometry().center().x();
      EXPECT_LE(std::abs(centre.y() - over.y()), 42)
          << "the box's centre is at y " << centre.y() << ", the statement's at " << over.y()
          << ", the main window's at " << w->frameGeometry().center().y();
      if (button == QMessageBox::NoButton)
        QTest::keyClick(box, Qt::Key_Return);
      else
        QTest::mouseClick(box->button(button), Qt::LeftButton);
    };
  }

  static std::string Question(const std::string& path) {
    return "\"" + path + "\" already exists. Replace it ?";
  }

  QtPromptService boxes;
  ScopedPromptService shown{boxes};
  BalanceSheetWindow* sheet = nullptr;
};

// Export opens on "*.xls" in the standard layout, though "*.rtf" heads the list, and writes
// the sheet; the sheet's notice opens over the statement. Onto the file again, the question
// opens there too: Enter (No) writes nothing, Yes replaces it.
TEST_F(RealDisplayExportTest, ExportAsksOverTheStatementBeforeReplacingAndTellsItsNoticeThere) {
  const std::string typed = (p.folder / "sheet.rtf").string();
  const std::string xls = (p.folder / "sheet.xls").string();
  std::string type;
  std::vector<std::string> texts;
  ModalScript script;
  script.Then(TypeInFileDialog(typed, &type)).Then(AnswerBox(texts));
  ChooseFromFileMenu(sheet->ExportItem());
  EXPECT_EQ(type, "*.xls");
  EXPECT_FALSE(fs::exists(typed));
  ASSERT_FALSE(CellMap(xls).empty());
  const fs::file_time_type written = fs::last_write_time(xls);
  fs::last_write_time(xls, written - std::chrono::hours(1));
  script.Then(TypeInFileDialog(xls)).Then(AnswerBox(texts));
  ChooseFromFileMenu(sheet->ExportItem());
  EXPECT_EQ(fs::last_write_time(xls), written - std::chrono::hours(1)) << "No writes nothing";
  script.Then(TypeInFileDialog(xls))
      .Then(AnswerBox(texts, QMessageBox::Yes))
      .Then(AnswerBox(texts));
  ChooseFromFileMenu(sheet->ExportItem());
  EXPECT_GT(fs::last_write_time(xls), written - std::chrono::hours(1));
  EXPECT_TRUE(script.Done());
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_NE(texts[0].find("code page"), std::string::npos) << texts[0];
  EXPECT_EQ(texts[1], Question(xls));
  EXPECT_EQ(texts[2], Question(xls));
  EXPECT_EQ(texts[3], texts[0]);
}

// In the file dialog with an empty name box, choosing a type with the keys leaves the caret
// before the point: the name typed then names the file. The dialog is saved as a picture.
TEST_F(RealDisplayExportTest, KeysAfterAChosenTypeTypeTheNameBeforeThePoint) {
  std::string named;
  ModalScript script;
  script.Then([&](QWidget& modal) {
    auto* dialog = qobject_cast<FileDialog*>(&modal);
    ASSERT_NE(dialog, nullptr);
    dialog->grab().save(QString::fromStdString(TestOutputPath("balance_sheet_export_")) +
                        QGuiApplication::platformName() + ".png");
    ClearName(*dialog);
    dialog->TypeList()->setFocus();
    QTest::keyClick(dialog->TypeList(), Qt::Key_Down);  // "*.htm"
    QTest::keyClick(dialog->TypeList(), Qt::Key_Up);    // "*.xls" again
    EXPECT_EQ(dialog->focusWidget(), dialog->NameBox());
    QTest::keyClicks(QApplication::focusWidget(), "shop");
    named = dialog->NameBox()->text().toStdString();
    dialog->reject();
  });
  ChooseFromFileMenu(sheet->ExportItem());
  EXPECT_EQ(named, "shop.xls");
}

// Printing to a PDF file that stands there asks first, over the statement: Enter (No) prints
// nothing, Yes prints the statement into it.
TEST_F(RealDisplayExportTest, PrintingToAPdfFileThatStandsThereAsksOverTheStatementFirst) {
  if (!PrintsToFile(SharedPrinter())) GTEST_SKIP() << "a printer is installed";
  if (!PdfToolsAvailable()) GTEST_SKIP() << kNoPdfTools;
  const std::string pdf = (p.folder / "sheet.pdf").string();
  ASSERT_EQ(WriteFileAtomically(pdf, "old"), 0);
  std::vector<std::string> texts;
  const auto print = [](QWidget& modal) {
    auto* setUp = qobject_cast<Printformer*>(&modal);
    ASSERT_NE(setUp, nullptr) << modal.metaObject()->className();
    QTest::mouseClick(setUp->Command1(), Qt::LeftButton);
  };
  ModalScript script;
  script.Then(print).Then(TypeInFileDialog(pdf)).Then(AnswerBox(texts));
  ChooseFromFileMenu(sheet->PrintItem());
  EXPECT_EQ(ScratchFolder::Read(pdf), "old");
  script.Then(print).Then(TypeInFileDialog(pdf)).Then(AnswerBox(texts, QMessageBox::Yes));
  ChooseFromFileMenu(sheet->PrintItem());
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(texts, std::vector<std::string>(2, Question(pdf)));
  const std::vector<std::string> pages = PdfPageTexts(pdf);
  ASSERT_FALSE(pages.empty());
  EXPECT_NE(pages.front().find("Harbour"), std::string::npos);
}

// A named pipe where the PDF is to go is left as it is, after the question, and the message
// says what stands there.
TEST_F(RealDisplayExportTest, PrintingToAPdfFileLeavesANamedPipeThereAsItIs) {
  if (!PrintsToFile(SharedPrinter())) GTEST_SKIP() << "a printer is installed";
  const std::string pdf = (p.folder / "sheet.pdf").string();
  ASSERT_EQ(::mkfifo(pdf.c_str(), 0600), 0);
  std::vector<std::string> texts;
  ModalScript script;
  script
      .Then([](QWidget& modal) {
        auto* setUp = qobject_cast<Printformer*>(&modal);
        ASSERT_NE(setUp, nullptr) << modal.metaObject()->className();
        QTest::mouseClick(setUp->Command1(), Qt::LeftButton);
      })
      .Then(TypeInFileDialog(pdf))
      .Then(AnswerBox(texts, QMessageBox::Yes))
      .Then(AnswerBox(texts));
  ChooseFromFileMenu(sheet->PrintItem());
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(texts, (std::vector<std::string>{Question(pdf),
                                             "\"" + pdf +
                                                 "\" is a named pipe, not an ordinary file; "
                                                 "nothing was written."}));
  EXPECT_EQ(fs::symlink_status(pdf).type(), fs::file_type::fifo);
}

}  // namespace
}  // namespace qv::testing
