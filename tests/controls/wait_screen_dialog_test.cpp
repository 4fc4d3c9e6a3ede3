#include "controls/wait_screen_dialog.h"
#include <gtest/gtest.h>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <stdexcept>
#include "tests/controls/input_events_qt.h"

namespace qv {
namespace {

// Posts a left click on the widget's centre, as the window system would deliver it.
void PostClick(QWidget* widget) {
  const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QCoreApplication::postEvent(widget, new QMouseEvent(type, at, widget->mapToGlobal(at),
                                                        Qt::LeftButton, held, Qt::NoModifier));
  }
}

class WaitScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    other.resize(200, 100);
    button = new QPushButton("Delete", &other);
    button->resize(120, 40);
    QObject::connect(button, &QPushButton::clicked, [this] { ++clicks; });
    other.show();
    QCoreApplication::processEvents();
  }
  // The clicks the button has taken once a posted click on it is handled.
  int ClicksAfterAClick() {
    PostClick(button);
    QCoreApplication::processEvents();
    return clicks;
  }
  ScreenPointer pointer;
  Session session;
  QWidget other;
  QPushButton* button = nullptr;
  int clicks = 0;
};

TEST_F(WaitScreenTest, OpensBusyAndEmptyInTheProgramsFontAndClosesWithTheNormalPointer) {
  other.setFont(QFont("DejaVu Serif", 15));
  QPointer<WaitScreenDialog> window;
  {
    WaitScreen job(&other, session, 999, {}, pointer);
    window = job.Window();
    ASSERT_TRUE(window && window->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), window.data());
    EXPECT_EQ(std::tuple(pointer.Shape(), window->BarTwips(), window->PercentText()),
              std::tuple(PointerShape::Busy, 1, QString("0%")));
    EXPECT_EQ(window->findChild<QLabel*>("Label2")->font().pointSize(), 15);
    window->close();
    EXPECT_TRUE(window->isVisible()) << "the user cannot close it";
  }
  EXPECT_FALSE(window) << "the window is gone with the job";
  EXPECT_EQ(pointer.Shape(), PointerShape::Normal);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(WaitScreenTest, NinetyNineTicksFillTheBarAndNothingPassesOneHundredPerCent) {
  for (int i = 1; i <= 30; ++i) session.FadeColors[size_t(i)] = uint32_t(0xC0C0C0 - 0x0101 * i);
  WaitScreen job(&other, session, 1039, "Saving", pointer);
  EXPECT_EQ(job.Window()->Activity(), "Saving");
  for (int i = 0; i < 99; ++i) job.ProgressTick();
  EXPECT_EQ(job.Window()->PercentText() + job.Window()->ShadowPercentText(), "99%99%");
  EXPECT_EQ(job.Window()->BarTwips(), 2871);
  const int fullPixels = job.Window()->BarPixels();
  testing::Grab(job.Window(), "wait_screen");
  // A loop over lines 0 to 1039 ticks 104 times, and a second pass more still.
  auto lines = job.LineProgress();
  for (int pass = 0; pass < 2; ++pass)
    for (int64_t line = 0; line <= 1039; ++line) lines(line);
  EXPECT_EQ(job.Window()->PercentText(), "100%");
  EXPECT_EQ(job.Window()->BarTwips(), WaitScreenDialog::kFrameTwips);
  EXPECT_EQ(job.Window()->BarPixels(), fullPixels) << "the bar never leaves its frame";
  // Readers move the bar by their position, never back.
  WaitScreen reader(&other, session, 0, {}, pointer);
  auto progress = reader.PositionProgress();
  for (auto [done, percent] : {std::pair{500, "49%"}, {250, "49%"}, {1000, "99%"}}) {
    progress(done, 1000);
    EXPECT_EQ(reader.Window()->PercentText(), percent) << done;
  }
}

TEST_F(WaitScreenTest, InputToOtherWindowsIsIgnoredDuringTheJobAndAfterIt) {
  ASSERT_EQ(ClicksAfterAClick(), 1);  // the posted click does reach the button when no job runs
  {
    WaitScreen job(&other, session, 100, {}, pointer);
    PostClick(button);
    button->setFocus();
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease})
      QCoreApplication::postEvent(button, new QKeyEvent(type, Qt::Key_Space, Qt::NoModifier, " "));
    job.ProgressTick();
    EXPECT_EQ(clicks, 1) << "no click acts in the middle of the job";
    // A question the job asks still takes input.
    QDialog question(job.Window());
    auto* ok = new QPushButton("OK", &question);
    ok->resize(80, 30);
    QObject::connect(ok, &QPushButton::clicked, &question, &QDialog::accept);
    QTimer::singleShot(0, [ok] { PostClick(ok); });
    QTimer::singleShot(5000, &question, &QDialog::reject);  // never hang
    EXPECT_EQ(question.exec(), QDialog::Accepted);
    EXPECT_EQ(clicks, 1);
    PostClick(button);  // queued after the last tick
  }
  QCoreApplication::processEvents();
  EXPECT_EQ(clicks, 1) << "nor once the job is over";
  EXPECT_EQ(ClicksAfterAClick(), 2) << "input works again after the job";
}

TEST_F(WaitScreenTest, AJobInsideAJobKeepsTheBusyPointerAndAThrowEndsHelpModeAndTheJob) {
  ProgressTick();  // without a job: nothing
  {
    WaitScreen outer(&other, session, 99, {}, pointer);
    {
      WaitScreen inner(&other, session, 99, {}, pointer);
      EXPECT_EQ(CurrentWaitScreen(), &inner);
      ProgressTick();
      EXPECT_EQ(std::pair(inner.Counter().ProgressCount(), outer.Counter().ProgressCount()),
                std::pair(29, 0));
    }
    EXPECT_EQ(pointer.Shape(), PointerShape::Busy);
    EXPECT_EQ(CurrentWaitScreen(), &outer);
    ProgressTick();
    EXPECT_EQ(outer.Window()->PercentText(), "1%");
  }
  EXPECT_EQ(CurrentWaitScreen(), nullptr);
  pointer.Set(PointerShape::Help);
  try {
    WaitScreen job(&other, session, 100, {}, pointer);
    throw std::runtime_error("file error");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(pointer.Shape(), PointerShape::Normal) << "help mode ends with the job";
  EXPECT_EQ(ClicksAfterAClick(), 1) << "input works again";
}

// A window that counts the closes it receives and whether a job was running at the time.
class CountedWindow : public QWidget {
 public:
  int closes = 0;
  int closesDuringAJob = 0;

 protected:
  void closeEvent(QCloseEvent* event) override {
    ++closes;
    if (CurrentWaitScreen()) ++closesDuringAJob;
    event->accept();
  }
};

TEST_F(WaitScreenTest, AWindowsCloseBoxPressedDuringTheJobClosesItOnceTheJobIsOver) {
  CountedWindow window;
  window.resize(200, 100);
  window.show();
  QCoreApplication::processEvents();
  {
    WaitScreen outer(&other, session, 100, {}, pointer);
    {
      WaitScreen inner(&other, session, 100, {}, pointer);
      // The window system's close, as the close box sends it, twice.
      window.windowHandle()->close();
      window.windowHandle()->close();
      inner.ProgressTick();
      EXPECT_TRUE(window.isVisible()) << "nothing closes in the middle of the job";
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(window.closes, 0) << "nor when an inner job ends";
  }
  EXPECT_EQ(window.closes, 0) << "the close waits for the command to return";
  QCoreApplication::processEvents();
  EXPECT_EQ(std::pair(window.closes, window.closesDuringAJob), std::pair(1, 0));
  EXPECT_FALSE(window.isVisible());
  // A window gone before its close was carried out is left alone.
  auto* gone = new CountedWindow;
  gone->show();
  {
    WaitScreen job(&other, session, 100, {}, pointer);
    gone->windowHandle()->close();
    delete gone;
  }
  QCoreApplication::processEvents();
}

}  // namespace
}  // namespace qv
