#pragma once
// The program as the main window's tests run it (US English, 15 March 2026, a scratch folder,
// prompts and file dialogs answered by the test), keys and clicks as a user gives them.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/application_window.h"
#include "app/main_window.h"
#include "bookfiles/book_files.h"
#include "controls/date_picker_control.h"
#include "controls/file_dialog_model.h"
#include "controls/help_window.h"
#include "controls/vertical_scroll_control.h"
#include "platform/screen_pointer.h"
#include "tests/bookfiles/book_compare.h"
#include "tests/support/book_builder.h"
#include "tests/support/prompt_answerer.h"
#include "tests/support/scratch_folder.h"

// Texts in failure messages as text.
inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}

namespace qv::testing {

// A password prompt that knows the passwords in `known`, counts its showings and records
// what each showing asked for.
class FakePrompt final : public PasswordPrompt {
 public:
  std::vector<std::string> known;
  std::vector<std::string> wanted;
  int asked = 0;
  void Ask(const std::string& password, Session& session) override {
    ++asked;
    wanted.push_back(password);
    for (const std::string& k : known)
      if (!k.empty() && k == password) session.LoginPassword = password;
  }
};

// Gives the keyboard to a window, as a user's click on it does.
inline void Activate(QWidget* window) {
  window->show();
  window->activateWindow();
  QApplication::setActiveWindow(window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
}

struct Program {
  explicit Program(std::vector<std::string> arguments = {"quorvel"},
                   std::optional<bool> secondCopy = false)
      : folder(scratch.Path()) {
    options.Arguments = std::move(arguments);
    options.SettingsFile = (folder / "QV.conf").string();
    options.ExampleFolders = {(folder / "Examples").string()};
    options.TheClock = &clock;
    options.Locale = UsEnglishLocale();
    options.SecondCopy = secondCopy;
    options.Prompt = &prompt;
  }
  ~Program() {
    if (app) app->MainWindow().hide();
    TheScreenPointer().Set(PointerShape::Normal);
  }
  Program(const Program&) = delete;

  // The program's own password prompt window instead of the fake one; its lockout is
  // recorded in `lockouts`.
  void UseRealPrompt() {
    options.Prompt = nullptr;
    options.EndOnLockout = [this] { ++lockouts; };
  }

  TAcount& Start() {
    app = std::make_unique<Application>(options);
    TAcount& w = app->MainWindow();
    w.EndProgram = [this] { ++ended; };
    w.StartProgram = [this](const QString& program, const QStringList& arguments) {
      started.push_back(program);
      startedArguments = arguments;
    };
    w.ChooseBookFile = [this](const FileDialogRequest& request) {
      requests.push_back(request);
      const std::string answer = answers.empty() ? std::string() : answers.front();
      if (!answers.empty()) answers.erase(answers.begin());
      app->TheSession().ChosenFileType =
          answer.empty() ? std::string()
                         : std::filesystem::path(answer).extension().string().substr(1);
      return answer;
    };
    app->Start();
    return w;
  }

  // Starts the program and makes its window the active one, as a user sees it.
  TAcount& StartActive() {
    Activate(&Start());
    return app->MainWindow();
  }

  Books& books() { return app->TheBooks(); }

  ScratchFolder scratch;
  std::filesystem::path folder;
  FixedClock clock{Day(2026, 3, 15)};
  FakePrompt prompt;
  ApplicationOptions options;
  std::unique_ptr<Application> app;
  int ended = 0;
  int lockouts = 0;
  std::vector<QString> started;
  QStringList startedArguments;
  std::vector<FileDialogRequest> requests;
  std::vector<std::string> answers;
};

// A small book: Cash 110, Bank 120, Sales 400 and three entries (lines 0-1, 2-4, 5-6).
inline Books SmallBook() {
  Books books = BookWithChart({{"Cash", 110, 0}, {"Bank", 120, 0}, {"Sales", 400, 5}});
  AddEntry(books, Day(2026, 3, 1), "A1", {{110, 100}}, {{400, 100}}, "First");
  AddEntry(books, Day(2026, 3, 2), "A10", {{110, 50}, {120, 50}}, {{400, 100}}, "Second");
  AddEntry(books, Day(2026, 3, 3), "B7", {{120, 10}}, {{400, 10}}, "Third");
  return books;
}

inline std::string WriteBookFile(const std::filesystem::path& path, const Books& books) {
  const BookFileResult written =
      WriteBook(path.string(), path.extension().string().substr(1), books);
  EXPECT_TRUE(written.Ok()) << written.Message;
  return path.string();
}

// A key sent straight to a widget (no focus needed).
inline void Key(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
    QKeyEvent event(type, key, modifiers);
    QApplication::sendEvent(target, &event);
  }
}

// A left click sent straight to a widget (no focus needed).
inline void Click(QWidget* w) {
  const QPointF at(2, 2);
  for (const auto& [type, buttons] : {std::pair{QEvent::MouseButtonPress, Qt::LeftButton},
                                      std::pair{QEvent::MouseButtonRelease, Qt::NoButton}}) {
    QMouseEvent event(type, at, w->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
  }
}

// Keys go to the focused widget as a user's do; the key comes up in whatever has the keyboard
// once it went down (after Tab, the next box).
inline QWidget* Focused() { return QApplication::focusWidget(); }
inline void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QWidget* target = Focused() ? Focused() : QApplication::activeWindow();
  ASSERT_NE(target, nullptr) << "no window has the keyboard";
  QTest::keyPress(target, key, modifiers);
  if (QWidget* now = Focused() ? Focused() : QApplication::activeWindow())
    QTest::keyRelease(now, key, modifiers);
}

inline void TypeKeys(const QString& text) {
  for (QChar c : text) {
    QWidget* target = Focused();
    ASSERT_NE(target, nullptr) << "no box has the focus";
    QTest::keyClick(target, c.toLatin1());
  }
}

// Presses Tab until `target` has the focus.
inline void TabTo(QWidget* target) {
  for (int i = 0; i < 40 && Focused() != target; ++i) Press(Qt::Key_Tab);
  ASSERT_EQ(Focused(), target) << target->objectName().toStdString();
}

inline QRect RectIn(const QWidget* window, const QWidget* w) {
  return QRect(w->mapTo(window, QPoint(0, 0)), w->size());
}

// The visible widgets of the window (its popups aside) that `w` overlaps, by name; its own
// parts and the boxes it stands in do not count.
inline QStringList OverlapsOf(const QWidget* window, const QWidget* w) {
  QStringList names;
  for (const QWidget* other : window->findChildren<QWidget*>()) {
    if (other == w || !other->isVisible() || other->isWindow() || other->isAncestorOf(w) ||
        w->isAncestorOf(other) || other->window() != window)
      continue;
    if (RectIn(window, other).intersects(RectIn(window, w)))
      names << (other->objectName().isEmpty() ? other->metaObject()->className()
                                              : other->objectName());
  }
  return names;
}

// A test of the main window on a book named on the command line; help mode ends with it.
class MainWindowTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (w != nullptr && TheHelpDesk().IsOn()) w->MenuItem("HelpSelect")->trigger();
    // A busy pointer ends the help pointer but leaves the item checked; the next test in
    // this process starts with help mode wholly off.
    if (TheHelpDesk().Mode().Checked(kMainHelpSwitch)) TheHelpDesk().Mode().Unload();
    // The help window belongs to the process, not to the program a test started: it goes
    // with the test that showed it (About shows it without help mode).
    if (HelpWindow* help = TheHelpDesk().Window()) help->close();
  }

  // Starts the program on `book`, written to book.acc in the scratch folder.
  void StartOn(const Books& book, bool active = true) {
    path = WriteBookFile(p.folder / "book.acc", book);
    p.options.Arguments = {"quorvel", path};
    w = active ? &p.StartActive() : &p.Start();
  }

  Books& books() { return p.books(); }
  PostingLine& Line(int i) { return books().PostingLines[static_cast<std::size_t>(i)]; }
  QString Status() const { return w->GL(7)->text(); }
  QColor StatusColor() const { return w->GL(7)->palette().color(QPalette::WindowText); }
  std::string Number(int i) {
    return std::string(books().EntryNumbers[static_cast<std::size_t>(i)].TrimmedText());
  }
  // Moves the focus to a box as Tab does: its text is selected.
  static void Focus(QWidget* box) { box->setFocus(Qt::TabFocusReason); }
  static QString HelpTitle() {
    return TheHelpDesk().Window() ? TheHelpDesk().Window()->Title() : QString();
  }
  // Saves with Ctrl+S and reopens with Ctrl+O, `path` answering each file dialog.
  void SaveAndReopen() {
    for (const Qt::Key key : {Qt::Key_S, Qt::Key_O}) {
      Activate(w);  // after the wait screen, as the window system does
      p.answers = {path};
      Press(key, Qt::ControlModifier);
    }
    Activate(w);
  }
  // Switches help mode; the user then goes back to the main window.
  void HelpMode(bool on) {
    if (TheHelpDesk().IsOn() != on) w->MenuItem("HelpSelect")->trigger();
    ASSERT_EQ(TheHelpDesk().IsOn(), on);
    QApplication::setActiveWindow(w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
  }

  Program p;
  std::string path;
  TAcount* w = nullptr;
};

}  // namespace qv::testing
