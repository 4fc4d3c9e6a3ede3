#pragma once
// The wait screen: the small window shown while a long job walks the posting lines (opening,
// inserting and saving books, building views and statements). It shows an activity word, a
// bar that grows one step per progress tick and the per cent reached, over a gradient strip
// down its left edge.
//
// A job holds a WaitScreen for its length: the window opens, the busy pointer shows, and
// until the WaitScreen goes away (on every way out of the job, an exception included) user
// input to every window of the program is ignored while painting goes on. A window's close
// box pressed meanwhile is remembered: the window is closed, through its usual close, once
// the last job has ended. Loops tick with
// WaitScreen::ProgressTick (or the free ProgressTick), or hand LineProgress() /
// PositionProgress() to the book readers and writers.

#include <QDialog>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

#include "books/progress.h"
#include "books/session.h"
#include "platform/keyboard_return_qt.h"
#include "platform/screen_pointer.h"

class QLabel;

namespace qv {

// The window itself. It cannot be closed by the user; the WaitScreen that opened it
// closes it.
class WaitScreenDialog : public QDialog {
  Q_OBJECT

 public:
  // The bar's frame in twips: 99 ticks fill it.
  static constexpr int kFrameTwips = 99 * ProgressCounter::kTwipsPerTick;

  WaitScreenDialog(const Session& session, QWidget* owner);

  // The activity word (Label2); "Processing" until a caller gives another.
  void SetActivity(const QString& word);
  QString Activity() const;

  // Shows the counter's state: the bar's width and, when it changed, the per cent text.
  void ShowProgress(const ProgressCounter& counter);

  // The bar as drawn, in twips (at most the frame) and in pixels.
  int BarTwips() const { return barTwips_; }
  int BarPixels() const;
  // The per cent text of both per cent labels.
  QString PercentText() const;
  QString ShadowPercentText() const;

 public slots:
  void reject() override {}  // Escape does not close it

 protected:
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  const Session& session_;
  QLabel* activity_ = nullptr;
  QWidget* frame_ = nullptr;
  QWidget* bar_ = nullptr;
  QLabel* percentShadow_ = nullptr;
  QLabel* percent_ = nullptr;
  int barTwips_ = 1;
};

class WaitScreen {
 public:
  // Opens the wait screen over `owner` (which may be null) for a job over a journal whose
  // last line has index `lastLineIndex`: the count starts at 0 and the step is
  // lastLineIndex / 99 rounded, at least 1. `activity` replaces "Processing" when given.
  WaitScreen(QWidget* owner, const Session& session, int64_t lastLineIndex,
             const QString& activity = {}, ScreenPointer& pointer = TheScreenPointer());
  // Closes the window, lets input reach the windows again, restores the normal pointer and
  // gives the keyboard back to the window the job started from (unless a job around this one
  // still runs).
  ~WaitScreen();
  WaitScreen(const WaitScreen&) = delete;
  WaitScreen& operator=(const WaitScreen&) = delete;

  // One step of the bar; the window repaints, no user input is taken.
  void ProgressTick();
  // True when a loop at this line index should tick (index Mod ProgressStep = 0).
  bool IsTickLine(int64_t index) const { return counter_.IsTickLine(index); }
  // Ticks when the loop at this line index should.
  void TickAtLine(int64_t index) {
    if (counter_.IsTickLine(index)) ProgressTick();
  }

  // For loops that report the line index they are at: ticks every ProgressStep lines.
  std::function<void(int64_t index)> LineProgress();
  // For readers and writers that report `done` of `total` units: the bar follows the
  // position; each report repaints the window.
  std::function<void(int64_t done, int64_t total)> PositionProgress();

  const ProgressCounter& Counter() const { return counter_; }
  WaitScreenDialog* Window() const { return window_; }

 private:
  void Repaint();

  ProgressCounter counter_;
  BusyPointer busy_;
  QPointer<WaitScreenDialog> window_;
  std::unique_ptr<QObject> inputBlock_;
  std::unique_ptr<KeyboardReturn> keyboard_;
};

// One step of the wait screen of the innermost job running; nothing when none runs.
void ProgressTick();

// The wait screen of the innermost job running, or null.
WaitScreen* CurrentWaitScreen();

}  // namespace qv
