#pragma once
// Help mode, without the window. The program has no help file: while help mode is on, the
// screen pointer is the arrow with a question mark, and commands and fields that honour it
// show a title and an explanation in the help window instead of acting.
//
// Help mode is the application's screen pointer state: it is on exactly while the pointer
// is the help pointer. Anything else that sets the pointer (the wait screen, a file error)
// therefore ends it, while the item that switched it on stays checked; the next click on
// that item switches off and the one after switches on again.
//
// HelpMode keeps the check marks of the switching items (the main window's Help > Contents
// and the own items of other windows) and the state of the help window: loaded or not,
// shown or not, and its caption, title and text. The help window (controls/help_window.h)
// shows that state; this class never touches a window.
//
// The texts of the help window itself (the general help, About) are kept here as data; the
// windows keep the help cards of their own commands and fields.

#include <initializer_list>
#include <map>
#include <string>
#include <string_view>

#include "platform/screen_pointer.h"

namespace qv {

// A title and an explanation shown in the help window.
struct HelpCard {
  std::string title;
  std::string text;
  bool operator==(const HelpCard&) const = default;
};

// The separator of the paragraphs of a help text: an empty line.
inline constexpr const char* kHelpParagraphBreak = "\r\n\r\n";
// The paragraphs joined into one help text.
std::string Paragraphs(std::initializer_list<std::string_view> paragraphs);

// The help window's caption and design title while it shows help.
inline constexpr const char* kHelpWindowCaption = "Help Contents...";
inline constexpr const char* kHelpWindowTitle = "Quorvel Help";
// The caption and title of the About text.
inline constexpr const char* kAboutCaption = "About...";
inline constexpr const char* kAboutTitle = "Quorvel";

// The general help text that the help window shows when it is loaded.
const std::string& GeneralHelpText();
// The About text.
const std::string& AboutText();

// An item that switches help mode on and off, with its own check mark.
using HelpSwitch = int;
// The main window's Help > Contents: the one item that closing the help window unchecks.
inline constexpr HelpSwitch kMainHelpSwitch = 0;

class HelpMode {
 public:
  // What the help window shows. Loading it fills the general help text; unloading it
  // throws its contents away.
  struct Window {
    bool loaded = false;
    bool shown = false;
    std::string caption = kHelpWindowCaption;
    std::string title = kHelpWindowTitle;
    std::string text;
    // True while it shows the About text, whose picture is the program's icon.
    bool about = false;
    bool operator==(const Window&) const = default;
  };

  explicit HelpMode(ScreenPointer& pointer = TheScreenPointer());

  // True while the screen pointer is the help pointer.
  bool IsOn() const { return pointer_.Shape() == PointerShape::Help; }

  // A switching item of another window (the configuration window, the chart editor).
  HelpSwitch AddSwitch();
  // Forgets an item whose window went away.
  void RemoveSwitch(HelpSwitch item);
  bool Checked(HelpSwitch item) const;

  // The item was clicked. Checked: it is unchecked, the help window unloaded and the
  // pointer normal. Unchecked: the help window is unloaded, the item checked, the pointer
  // set to help and the help window loaded afresh and shown; `card`, when it has a title,
  // then replaces the general text (the chart editor's own item shows its card).
  void Toggle(HelpSwitch item, const HelpCard& card = {});

  // The help test of a handler: while help mode is on, the card goes to the help window
  // (loaded, not shown, when it was not loaded) and the result is true: the handler must
  // then return without acting. Off, nothing happens and the result is false.
  bool ShowCard(const HelpCard& card);

  // The About command: the main item unchecked, the About text shown in the help window,
  // and the pointer normal, which ends help mode.
  void ShowAbout();

  // The help window is closed (its close box, or a switch-off): the main item is unchecked,
  // the pointer goes back to normal and the window's contents are thrown away.
  void Unload();

  const Window& HelpWindow() const { return window_; }

 private:
  void Load();

  ScreenPointer& pointer_;
  std::map<HelpSwitch, bool> checked_{{kMainHelpSwitch, false}};
  HelpSwitch nextSwitch_ = kMainHelpSwitch + 1;
  Window window_;
};

}  // namespace qv
