#include "controls/wait_screen_dialog.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QWindow>
#include <algorithm>
#include <utility>
#include <vector>

#include "controls/wait_screen_model.h"
#include "platform/colors_qt.h"
#include "platform/units.h"

namespace qv {

namespace {

// The window's design, in pixels; the strip runs down the left 60 columns.
constexpr int kStripWidth = 60;
constexpr int kContentLeft = kStripWidth + 12;
constexpr int kBarHeight = 18;
// The longest the end of a job takes in the input held back during it.
constexpr int kInputCatchUpMs = 100;

// The jobs running, innermost last.
std::vector<WaitScreen*>& RunningJobs() {
  static std::vector<WaitScreen*> jobs;
  return jobs;
}

// The windows whose close box was pressed while a job ran, in the order pressed.
std::vector<QPointer<QWidget>>& PendingCloses() {
  static std::vector<QPointer<QWidget>> windows;
  return windows;
}

bool IsUserInput(const QEvent& event) {
  switch (event.type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop: return true;
    case QEvent::Close:
      return event.spontaneous();  // the window manager's close box, not a job's close()
    default: return false;
  }
}

// The top-level widget that an event's receiver belongs to, if any.
QWidget* WindowOf(QObject* receiver) {
  if (auto* widget = qobject_cast<QWidget*>(receiver)) return widget->window();
  if (auto* window = qobject_cast<QWindow*>(receiver)) {
    for (QWidget* top : QApplication::topLevelWidgets())
      if (top->windowHandle() == window) return top;
  }
  return nullptr;
}

// Swallows user input to every window while a job runs. A modal dialog that the job itself
// opens on top of the wait screen (a question, a password prompt, an error message) still
// gets its input.
class InputBlock final : public QObject {
 public:
  explicit InputBlock(QWidget* waitWindow) : waitWindow_(waitWindow) {
    qApp->installEventFilter(this);
  }
  ~InputBlock() override { qApp->removeEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!IsUserInput(*event)) return false;
    QWidget* window = WindowOf(watched);
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal != waitWindow_ && window == modal) return false;
    // A close box pressed during the job takes effect once it is over.
    if (event->type() == QEvent::Close && window != nullptr && window != waitWindow_) {
      auto& pending = PendingCloses();
      if (std::find(pending.begin(), pending.end(), window) == pending.end())
        pending.emplace_back(window);
    }
    return true;
  }

 private:
  QPointer<QWidget> waitWindow_;
};

}  // namespace

WaitScreenDialog::WaitScreenDialog(const Session& session, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      session_(session) {
  setObjectName("WaitScreen");
  // The activity word takes the owner's font, which is the program's font.
  setAttribute(Qt::WA_WindowPropagation);
  setWindowModality(Qt::ApplicationModal);

  const int framePixels = TwipsToPixels(kFrameTwips);
  activity_ = new QLabel(QString::fromUtf8(kWaitScreenActivity), this);
  activity_->setObjectName("Label2");
  activity_->setGeometry(kContentLeft, 10, framePixels + 2, 22);

  auto* frame = new QFrame(this);
  frame->setObjectName("shape1");
  frame->setFrameStyle(QFrame::Box | QFrame::Plain);
  frame->setLineWidth(1);
  frame->setGeometry(kContentLeft, 38, framePixels + 2, kBarHeight + 2);
  frame_ = frame;

  bar_ = new QWidget(frame_);
  bar_->setObjectName("Shape2");
  bar_->setAutoFillBackground(true);
  QPalette barPalette = bar_->palette();
  barPalette.setColor(QPalette::Window, barPalette.color(QPalette::Highlight));
  bar_->setPalette(barPalette);

  // The per cent twice, a light copy one pixel below and right of the dark one.
  percentShadow_ = new QLabel("0%", this);
  percentShadow_->setObjectName("Label1_1");
  percentShadow_->setAlignment(Qt::AlignCenter);
  percentShadow_->setGeometry(kContentLeft + 1, 63, framePixels + 2, 20);
  QPalette light = percentShadow_->palette();
  light.setColor(QPalette::WindowText, Qt::white);
  percentShadow_->setPalette(light);
  percent_ = new QLabel("0%", this);
  percent_->setObjectName("Label1_0");
  percent_->setAlignment(Qt::AlignCenter);
  percent_->setGeometry(kContentLeft, 62, framePixels + 2, 20);
  QPalette dark = percent_->palette();
  dark.setColor(QPalette::WindowText, Qt::black);
  percent_->setPalette(dark);

  setFixedSize(kContentLeft + framePixels + 2 + 16, 92);
  ShowProgress(ProgressCounter{});
}

void WaitScreenDialog::SetActivity(const QString& word) { activity_->setText(word); }

QString WaitScreenDialog::Activity() const { return activity_->text(); }

void WaitScreenDialog::ShowProgress(const ProgressCounter& counter) {
  barTwips_ = std::min(counter.BarWidthTwips(), kFrameTwips);
  bar_->setGeometry(1, 1, BarPixels(), kBarHeight);
  const QString text = QString::fromStdString(counter.PercentText());
  // The labels are written only when the text changes.
  if (percent_->text() != text) {
    percent_->setText(text);
    percentShadow_->setText(text);
  }
}

int WaitScreenDialog::BarPixels() const { return TwipsToPixels(barTwips_); }

QString WaitScreenDialog::PercentText() const { return percent_->text(); }

QString WaitScreenDialog::ShadowPercentText() const { return percentShadow_->text(); }

void WaitScreenDialog::paintEvent(QPaintEvent* event) {
  if (!FadeColorsSet(session_.FadeColors)) {
    QDialog::paintEvent(event);
    return;
  }
  QPainter painter(this);
  for (int x = 0; x < kStripWidth; ++x) {
    painter.setPen(ToQColor(FadeSequenceColor(session_.FadeColors, x)));
    painter.drawLine(x, 0, x, height());
  }
}

void WaitScreenDialog::closeEvent(QCloseEvent* event) { event->ignore(); }

WaitScreen::WaitScreen(QWidget* owner, const Session& session, int64_t lastLineIndex,
                       const QString& activity, ScreenPointer& pointer)
    : busy_(pointer) {
  counter_.Start(lastLineIndex);
  keyboard_ = std::make_unique<KeyboardReturn>(owner);
  window_ = new WaitScreenDialog(session, owner);
  window_->setAttribute(Qt::WA_DeleteOnClose, false);
  if (!activity.isEmpty()) window_->SetActivity(activity);
  inputBlock_ = std::make_unique<InputBlock>(window_);
  RunningJobs().push_back(this);
  window_->show();
  Repaint();
}

WaitScreen::~WaitScreen() {
  auto& jobs = RunningJobs();
  jobs.erase(std::remove(jobs.begin(), jobs.end(), this), jobs.end());
  delete window_.data();
  if (!jobs.empty()) {
    inputBlock_.reset();  // the job around this one holds the input back still
    return;
  }
  // The window system held back the input that arrived during the job (the painting went on
  // without it). It is taken now, the wait screen gone and the input still swallowed, so
  // that no click queued during the job acts once the windows take input again, and a close
  // box pressed meanwhile reaches its window and is remembered. The event dispatcher is
  // woken, as new input would wake it, so that it looks at what it held back.
  if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
    dispatcher->wakeUp();
  QCoreApplication::processEvents(QEventLoop::AllEvents, kInputCatchUpMs);
  inputBlock_.reset();
  keyboard_.reset();
  // The windows closed during the job close now, each through its own close, which asks
  // what it asks; from the event loop, so that the command that ran the job has returned.
  for (const QPointer<QWidget>& window : std::exchange(PendingCloses(), {}))
    if (window) QMetaObject::invokeMethod(window.data(), &QWidget::close, Qt::QueuedConnection);
}

void WaitScreen::ProgressTick() {
  counter_.Tick();
  if (window_) window_->ShowProgress(counter_);
  Repaint();
}

std::function<void(int64_t)> WaitScreen::LineProgress() {
  return [this](int64_t index) { TickAtLine(index); };
}

std::function<void(int64_t, int64_t)> WaitScreen::PositionProgress() {
  return [this](int64_t done, int64_t total) {
    const int32_t target = TicksForPosition(done, total);
    while (counter_.ProgressCount() / ProgressCounter::kTwipsPerTick < target) counter_.Tick();
    if (window_) window_->ShowProgress(counter_);
    Repaint();
  };
}

void WaitScreen::Repaint() {
  // Painting and timers only: the job goes on with no user input in the middle of it.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void ProgressTick() {
  if (WaitScreen* job = CurrentWaitScreen()) job->ProgressTick();
}

WaitScreen* CurrentWaitScreen() {
  const auto& jobs = RunningJobs();
  return jobs.empty() ? nullptr : jobs.back();
}

}  // namespace qv
