#pragma once
// The help window and the help desk that runs help mode with it.
//
// HelpWindow is the small always-at-hand window that shows a title and an explanation: the
// general help text when help mode is switched on, then the card of each command or field
// that the user clicks while help mode is on, or the About text.
//
// HelpDesk is the program's one help mode (controls/help_mode.h) joined to that window and
// to the checkable menu items that switch help mode. The window belongs to the desk, not to
// the window that showed it (which is only its transient parent), so closing that window
// never leaves the help pointer without a help window. Handlers ask the desk first:
//
//   if (TheHelpDesk().ShowCard(card)) return;

#include <QHash>
#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include "controls/help_mode.h"

class QAction;
class QLabel;
class QPlainTextEdit;

namespace qv {

class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  HelpWindow();

  // Shows the help mode's window state: caption, title, text and picture.
  void ShowState(const HelpMode::Window& state, const QIcon& aboutIcon);
  // Places the window 50 twips from the right edge of the screen that `near` is on (the
  // primary screen when null), at its design top.
  void Place(QWidget* near);

  QString Title() const;
  QString Text() const;
  QPlainTextEdit* TextBox() const { return text_; }
  QLabel* Picture() const { return picture_; }

 signals:
  // The user closed the window with its close box.
  void closedByUser();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QLabel* picture_ = nullptr;
  QLabel* title_ = nullptr;
  QPlainTextEdit* text_ = nullptr;
};

class HelpDesk : public QObject {
  Q_OBJECT

 public:
  explicit HelpDesk(ScreenPointer& pointer = TheScreenPointer(), QObject* parent = nullptr);
  ~HelpDesk() override;

  HelpMode& Mode() { return mode_; }
  bool IsOn() const { return mode_.IsOn(); }

  // The main window's Help > Contents item, kept checked while its help mode is on. The
  // item's own toggling on a click is overridden: the desk decides its mark.
  void SetMainItem(QAction* helpContents);
  // The main window's Help > Contents was clicked; `owner` is the main window.
  void ToggleFromMain(QWidget* owner);
  // Another window's own switching item was clicked (the configuration window's Help >
  // Contents, the chart editor's help item). `card`, when it has a title, is shown on
  // switching on.
  void ToggleFromItem(QAction* item, QWidget* owner, const HelpCard& card = {});

  // The help test of a handler: true while help mode is on, after putting the card in the
  // help window; the handler then returns without acting.
  bool ShowCard(const HelpCard& card);

  // The About command: the About text in the help window, with the given icon.
  void ShowAbout(QWidget* owner, const QIcon& icon);

  // The help window while it is loaded, else null.
  HelpWindow* Window() const;

 private:
  void Sync(QWidget* owner);
  void OnWindowClosed();

  HelpMode mode_;
  QPointer<HelpWindow> window_;
  QPointer<QAction> mainItem_;
  QHash<QAction*, HelpSwitch> items_;
  QIcon aboutIcon_;
};

// The program's help desk, created on first use.
HelpDesk& TheHelpDesk();

}  // namespace qv
