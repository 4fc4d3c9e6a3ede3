#pragma once
// What the main window asks of the other windows when it replaces the open book (opening a
// book file, bringing balances forward, carrying accounts over).
//
// A window kept in the application's window lists that must not outlive the book it shows
// is closed before the book is replaced. A plain close runs the window's own closing
// handler; a window whose closing would ask the user something, or check what is about to
// be thrown away (the chart editor's checks, the configuration window), implements this
// interface instead, and the main window calls it: the window stores what it must (the
// prepared-groups window its working list) and goes, without asking anything.

namespace qv {

class ClosesWithBook {
 public:
  virtual ~ClosesWithBook() = default;
  // Close now, because the open book is about to be replaced. Nothing may be asked.
  virtual void CloseForNewBook() = 0;
};

// A window kept in the window lists that holds edits of the book apart from it (the
// prepared-groups window's working list) implements this, so that saving the book includes
// them.
class StoresBeforeSave {
 public:
  virtual ~StoresBeforeSave() = default;
  // Puts the edits held apart into the book; the window stays as it is.
  virtual void StoreBeforeSave() = 0;
};

}  // namespace qv
