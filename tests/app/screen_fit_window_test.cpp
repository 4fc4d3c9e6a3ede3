// Every window of the program as it opens on a small screen: wholly within the screen's work
// area, its controls reachable, the keyboard given to it. Run offscreen and again under X11 on
// a 1920 x 1080 screen at scale 2 (a 960 x 540 work area), and with the Openbox window manager
// (QV_X11_WM) on a 1366 x 768 screen and on that scaled one, where every window is framed and
// placed by the window manager after it shows; pictures go to the output folder.

#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <cmath>
#include <filesystem>
#include <set>

#include "controls/email_file_qt.h"
#include "controls/print_document_qt.h"
#include "controls/shared_printer_qt.h"
#include "controls/wait_screen_dialog.h"
#include "platform/prompts_qt.h"
#include "platform/screen_fit_qt.h"
#include "platform/settings_qt.h"
#include "platform/string_table.h"
#include "tests/app/main_window_commands_qt.h"
#include "tests/app/main_window_program_qt.h"
#include "tests/support/pdf_text.h"

namespace qv::testing {
namespace {

namespace fs = std::filesystem;

// Scrolls the nearest scroll area around `control` so as to show the whole of it.
void ScrollIntoView(QWidget* control) {
  for (QWidget* up = control->parentWidget(); up != nullptr; up = up->parentWidget()) {
    if (auto* scroller = qobject_cast<QScrollArea*>(up); scroller && scroller->widget()) {
      const QRect at(control->mapTo(scroller->widget(), QPoint(0, 0)), control->size());
      scroller->ensureVisible(at.center().x(), at.center().y(), at.width() / 2 + 1,
                              at.height() / 2 + 1);
      return;
    }
  }
}

QString NameOf(const QWidget* window) {
  return window->objectName().isEmpty() ? window->metaObject()->className() : window->objectName();
}

// Saves what the screen shows (the window alone where the screen cannot be read).
void SavePicture(QWidget* window, const std::string& name) {
  QPixmap picture = window->screen()->grabWindow(0);
  if (picture.isNull() || QGuiApplication::platformName() == "offscreen") picture = window->grab();
  picture.save(QString::fromStdString(TestOutputPath(name + "_")) +
               QGuiApplication::platformName() + ".png");
}

// Whether a window manager runs on the display (the X11 runner says so), which puts a frame
// around every window once it has taken it.
bool WindowManagerRuns() {
  return QGuiApplication::platformName() == "xcb" && !qEnvironmentVariableIsEmpty("QV_X11_WM");
}

// The window's frame lies within the work area: the frame the window manager declares, which
// Qt reports only once it has learnt of it. Under a window manager the frame comes, and the
// window is placed, after it shows: it is waited for (a few seconds at most), and a window
// left without a frame fails, lest the check pass with no window manager at work. The frame
// is looked at in the display's own pixels, with both coordinates: at a fractional scale
// each window's place and size are rounded to those, and logical ones do not show where.
void ExpectFrameWithin(QWidget* window) {
  const auto framed = [window] { return FrameGeometryOf(window) != window->geometry(); };
  const auto within = [window] {
    return ShownWorkAreaOf(window).contains(ShownFrameGeometryOf(window));
  };
  if (WindowManagerRuns()) {
    (void)QTest::qWaitFor([&] { return framed() && within(); }, 15000);
    EXPECT_TRUE(framed()) << "the window manager put no frame around the window";
  }
  const auto text = [](const QRect& r) {
    return "x " + std::to_string(r.left()) + " to " + std::to_string(r.right()) + ", y " +
           std::to_string(r.top()) + " to " + std::to_string(r.bottom());
  };
  const QRect shown = ShownFrameGeometryOf(window);
  const QRect shownArea = ShownWorkAreaOf(window);
  EXPECT_TRUE(shownArea.contains(shown)) << "on the display, the window's frame at " << text(shown)
                                         << " is not within " << text(shownArea);
}

class ScreenFitTest : public MainWindowTest {
 protected:
  void SetUp() override {
    if (!PrintsToFile(SharedPrinter()))
      GTEST_SKIP() << "a printer is installed; the invoice would go to it";
  }

  std::set<QWidget*> OpenWindows() const { return WindowsBesides(w); }

  // The window lies within the work area, frame and title bar included, and every button of
  // it lies within it or can be scrolled into its view.
  static void ExpectWithinScreen(QWidget* window, const QString& command) {
    SCOPED_TRACE((command + ": " + NameOf(window)).toStdString());
    ExpectFrameWithin(window);
    const QRect area = window->screen()->availableGeometry();
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
      if (!button->isVisibleTo(window) || button->window() != window) continue;
      ScrollIntoView(button);
      const QRect shown(button->mapToGlobal(QPoint(0, 0)), button->size());
      const QRect inside(window->mapToGlobal(QPoint(0, 0)), window->size());
      EXPECT_TRUE(inside.contains(shown) && area.contains(shown))
          << NameOf(button).toStdString() << " cannot be brought within the window";
    }
  }

  // The window is the active one, and a control of it has the focus where any has.
  static void ExpectKeyboard(QWidget* window, const QString& command) {
    SCOPED_TRACE((command + ": " + NameOf(window)).toStdString());
    EXPECT_EQ(QApplication::activeWindow(), window) << "another window has the keyboard";
    if (QWidget* focused = QApplication::focusWidget()) {
      EXPECT_EQ(focused->window(), window);
    }
  }

  // Runs a command; each modal window it opens is looked at once it has the keyboard (or
  // after ten seconds) and then closed.
  void Run(const QString& name, const std::function<void()>& command) {
    RunClosingModals(
        command,
        [&](QWidget* modal) {
          ExpectWithinScreen(modal, name);
          ExpectKeyboard(modal, name);
          ++modals;
        },
        true);
  }

  void CloseOthers() {
    for (QWidget* window : OpenWindows()) window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Activate(w);
  }

  // The one window that opened besides the main window, after a command.
  QWidget* Opened(const char* command) {
    CloseOthers();
    w->MenuItem(command)->trigger();
    QCoreApplication::processEvents();
    const std::set<QWidget*> windows = OpenWindows();
    return windows.size() == 1 ? *windows.begin() : nullptr;
  }

  PromptAnswerer prompts;
  int modals = 0;
};

TEST_F(ScreenFitTest, EveryWindowOpensWithinTheScreenAndTakesTheKeyboard) {
  fs::create_directories(p.folder / "Examples");
  WriteBookFile(p.folder / "Examples" / "Sample.acc", SmallBook());
  StartOn(SmallBook());
  ExpectWithinScreen(w, "start");
  const Books original = books();
  prompts.Scripted().OnUnexpected = [](const PromptRequest&, const std::string&) {};
  ScopedPdfFileAnswer pdf([] { return std::string(); });
  ScopedEmailOpener mail([](const std::string&) { return true; });
  const std::string tmp = (p.folder / "tmp").string();
  fs::create_directories(tmp);
  setenv("tmp", tmp.c_str(), 1);
  std::set<QString> opened;
  // With the main window where the window system put it, and then at the work area's top, as
  // a user may keep it: a window manager places the others beside the first (and the fit
  // moves in those that reach out), and in the room below the second, from which the taller
  // ones reach out.
  for (const bool atTop : {false, true}) {
    SCOPED_TRACE(atTop ? "the main window at the top" : "the main window where it opened");
    if (atTop) {
      w->move(w->screen()->availableGeometry().topLeft());
      QCoreApplication::processEvents();
    }
    for (const auto& [name, command] : MainWindowCommands(w, {"HelpSelect", "Exitit"})) {
      CloseOthers();
      if (!FirstDifference(books(), original).empty()) {
        p.app->TheSession().ChosenFileName = path;
        ASSERT_TRUE(w->LoadAccFile(1));
        Activate(w);
      }
      const std::set<QWidget*> before = OpenWindows();
      const int modalsBefore = modals;
      Run(name, command);
      if (modals > modalsBefore) opened.insert(name);
      for (QWidget* window : OpenWindows()) {
        if (before.contains(window)) continue;
        opened.insert(name);
        // (A window owned by the active one counts as active to Qt's own wait.)
        (void)QTest::qWaitFor([window] { return QApplication::activeWindow() == window; }, 10000);
        ExpectWithinScreen(window, name);
        ExpectKeyboard(window, name);
        if (name == "PayCalc") SavePicture(window, "payroll_calculator");
        if (name == "AboutMenu") SavePicture(window, "about");
      }
    }
  }
  unsetenv("tmp");
  CloseOthers();
  for (const char* name : {"EditAccounts", "ReplaceAccountsMenu", "SoftwareSettings", "EnTryDic",
                           "ShowJournals", "ShowTaccount", "Rb_MenuItem", "SearchMenu(0)",
                           "TrialBalance", "IncomeStatement", "Show_Balance", "CashFlowMenu",
                           "Rolling_Calculator_Menu", "Depreciation_Menu", "PayCalc", "AboutMenu"})
    EXPECT_TRUE(opened.contains(name)) << name << " opened no window";
}

// The main window at a saved width larger than the screen opens as wide as the work area
// holds with its frame: under a window manager, once the frame is known, it is made narrower
// by the frame's width. At a fractional scale, where a logical pixel is not a whole number of
// the display's, it may leave up to a logical pixel free on each side.
TEST_F(ScreenFitTest, TheMainWindowAtASavedWidthLargerThanTheScreenKeepsItsFrameWithin) {
  {
    SettingsQt settings(QString::fromStdString(p.options.SettingsFile));
    settings.Write("Width", "60000");  // 4000 pixels
    ASSERT_TRUE(settings.Sync());
  }
  StartOn(SmallBook());
  ExpectFrameWithin(w);
  const qreal ratio = w->devicePixelRatioF();
  if (ratio == std::floor(ratio)) {
    EXPECT_EQ(FrameGeometryOf(w).width(), w->screen()->availableGeometry().width());
  }
  EXPECT_LE(ShownWorkAreaOf(w).width() - ShownFrameGeometryOf(w).width(), 2 * ratio);
}

// On a screen narrower than its design the calculator is no wider than the work area, and its
// totals column and last row can be scrolled into view.
TEST_F(ScreenFitTest, ThePayrollCalculatorScrollsToItsTotalsWhenTheScreenIsSmall) {
  StartOn(SmallBook());
  QWidget* payroll = Opened("PayCalc");
  ASSERT_NE(payroll, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(payroll));
  const QRect area = payroll->screen()->availableGeometry();
  ExpectFrameWithin(payroll);
  auto* scroller = payroll->findChild<QScrollArea*>();
  ASSERT_NE(scroller, nullptr);
  const QSize design = scroller->widget()->size();
  // It grows no further than its contents and the scroll bars they need.
  const int bar = scroller->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  EXPECT_LE(payroll->maximumWidth(), design.width() + bar);
  EXPECT_LE(payroll->maximumHeight(), design.height() + bar);
  for (const char* name : {"PayNetT", "PayGrossT", "PayTotalT", "PayNet(6)", "PayP1"}) {
    auto* box = payroll->findChild<QLineEdit*>(name);
    ASSERT_NE(box, nullptr) << name;
    ScrollIntoView(box);
    const QWidget* view = scroller->viewport();
    EXPECT_TRUE(view->rect().contains(QRect(box->mapTo(view, QPoint(0, 0)), box->size()))) << name;
  }
  // Where the screen is large enough, the whole calculator shows without scroll bars.
  if (design.width() <= area.width() && design.height() <= area.height()) {
    EXPECT_EQ(payroll->size(), design);
    EXPECT_EQ(payroll->maximumSize(), design);
    EXPECT_FALSE(scroller->horizontalScrollBar()->isVisible());
  } else {
    EXPECT_TRUE(scroller->horizontalScrollBar()->isVisible());
    if (design.height() + bar <= area.height()) {
      EXPECT_FALSE(scroller->verticalScrollBar()->isVisible()) << "there is room for the rows";
    }
  }
}

// Windows whose contents keep their design size offer no maximise button; the ledgers and
// statements, whose lists grow with them, do.
TEST_F(ScreenFitTest, OnlyWindowsThatGrowOfferToMaximise) {
  StartOn(SmallBook());
  p.prompt.known = {""};
  for (const char* name : {"EditAccounts", "SoftwareSettings", "PayCalc", "Depreciation_Menu",
                           "ShowJournals", "TrialBalance"}) {
    QWidget* window = Opened(name);
    ASSERT_NE(window, nullptr) << name;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window)) << name;
    const bool grows = window->maximumWidth() == QWIDGETSIZE_MAX;
    EXPECT_EQ(grows, std::string(name) == "ShowJournals" || std::string(name) == "TrialBalance")
        << name;
    EXPECT_EQ(window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint), grows) << name;
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowCloseButtonHint) ||
                !window->windowFlags().testFlag(Qt::CustomizeWindowHint))
        << name << " has no close button";
  }
  CloseOthers();
}

// A window shown again while a window of fixed contents that it owns is open (the chart
// editor belongs to the main window) keeps its own sizes: the owned window's contents are not
// taken for its own.
TEST_F(ScreenFitTest, AWindowShownAgainIsNotSizedByAWindowItOwns) {
  StartOn(SmallBook());
  p.prompt.known = {""};
  QWidget* editor = Opened("EditAccounts");
  ASSERT_NE(editor, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(editor));
  ASSERT_EQ(editor->parent(), w);
  const QSize editorMaximum = editor->maximumSize();
  w->hide();
  w->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
  EXPECT_EQ(w->maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
  EXPECT_EQ(editor->maximumSize(), editorMaximum);
  CloseOthers();
}

// The program's question boxes open centred over the window that asked, the main window when
// no window is active, as the program's filter fits them to the screen. Under a window
// manager, a box marked placed before it centred itself was left at the screen's top left;
// the frame that made the filter move it is that of the other windows, which Xvfb alone does
// not draw, so there the check is of the centring alone.
TEST_F(ScreenFitTest, QuestionBoxesOpenCentredOverTheMainWindow) {
  StartOn(SmallBook());
  const QRect area = w->screen()->availableGeometry();
  // (On a small screen, as far in as the window stays within it.) A box centres itself over
  // where Qt has the window, which may go back to where it was until the window manager has
  // moved it: that is waited for.
  const QSize outer = FrameGeometryOf(w).size();
  const QRect before = ShownFrameGeometryOf(w);
  w->move(std::min(area.left() + area.width() / 5, area.right() + 1 - outer.width()),
          std::min(area.top() + area.height() / 6, area.bottom() + 1 - outer.height()));
  (void)QTest::qWaitFor([&] { return ShownFrameGeometryOf(w) != before; }, 2000);
  QtPromptService boxes;
  boxes.SetOwner(w);
  ScopedPromptService shown(boxes);
  std::vector<QString> seen;
  // Looks at the next box once it shows, then answers No.
  const auto lookAtTheBox = [&](const QString& what) {
    QTimer::singleShot(0, [&, what] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr) << what.toStdString();
      ASSERT_TRUE(QTest::qWaitForWindowExposed(box)) << what.toStdString();
      SCOPED_TRACE((what + ": " + box->text()).toStdString());
      seen.push_back(box->text());
      // Qt centres a dialog allowing for its frame, which it guesses (10 x 40 pixels) where
      // the window system draws none.
      const QPoint centre = FrameGeometryOf(box).center();
      const QPoint owner = FrameGeometryOf(w).center();
      EXPECT_LE(std::abs(centre.x() - owner.x()), 12)
          << "the box's centre is at x " << centre.x() << ", the window's at " << owner.x();
      EXPECT_LE(std::abs(centre.y() - owner.y()), 42)
          << "the box's centre is at y " << centre.y() << ", the window's at " << owner.y();
      EXPECT_TRUE(area.contains(FrameGeometryOf(box)));
      EXPECT_TRUE(box->isModal());
      box->button(QMessageBox::No)->click();
    });
  };
  books().BusinessName = "Changed since opened";
  lookAtTheBox("Ctrl+Q");
  Press(Qt::Key_Q, Qt::ControlModifier);
  Activate(w);  // as the window system gives it back once the box has gone
  w->ScrollAcc->SetValue(2);
  Focus(w->DebitAmountText(0));
  lookAtTheBox("Ctrl+D");
  Press(Qt::Key_D, Qt::ControlModifier);
  // With no window active, the box still belongs to the main window and opens over it.
  QApplication::setActiveWindow(nullptr);
  lookAtTheBox("no window active");
  EXPECT_EQ(boxes.Ask({"Exit ?", PromptButtons::YesNo, PromptIcon::None, std::nullopt}),
            PromptAnswer::No);
  EXPECT_EQ(seen, (std::vector<QString>{QString::fromStdString(Str(279)),
                                        QString::fromStdString(Str(122)), "Exit ?"}));
  EXPECT_TRUE(w->isVisible());
}

}  // namespace
}  // namespace qv::testing
