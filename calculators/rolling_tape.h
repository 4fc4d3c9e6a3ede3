#pragma once
// The running calculator's window without the window: the column of rows that shows part
// of the list (row i shows element ScrollValue + i), what the keys, the operator buttons
// and the menus do to the list and the rows, and the clipboard texts. The window
// (calculators/rolling_calculator_window.h) turns events into these calls and shows the
// row texts, the operators, the scroll bar and the result that they leave.
//
// The list always has at least VisibleRows + 1 elements and ScrollMax = its size less
// VisibleRows + 1, so every element can be scrolled into view. Elements that the list
// grows by take the operator "+" (or the one chosen for them) and no value.

#include <cstdint>
#include <string>
#include <string_view>

#include "calculators/rolling_list.h"
#include "platform/locale_info.h"

namespace qv {

// Pasting stops once the list has grown past this many elements below the window.
inline constexpr int32_t kRollPasteScrollLimit = 32000;

// The rows that fit a column of the given inner height in pixels (VisibleRows, the index
// of the last one): rows of `rowHeight` from kRollTopMargin down, then the result box and
// a margin. Never below 0.
inline constexpr int kRollTopMargin = 4;
int RollRowsThatFit(int innerHeight, int rowHeight);

// What a key pressed in a row's box leads to.
struct RollKeyOutcome {
  bool Pass = false;  // the key goes into the box; otherwise it is dropped
  int FocusRow = -1;  // the row whose box takes the focus, -1 to keep it
};

// What a paste did.
struct RollPasteOutcome {
  int32_t LinesRead = 0;
  int32_t LinesLeftOut = 0;  // lines past the paste limit
};
// The message shown after a paste that left lines out.
std::string PasteLimitText(const RollPasteOutcome& outcome);

class RollingTape {
 public:
  explicit RollingTape(const LocaleInfo& locale);

  const RollingList& List() const { return list_; }
  const RollSymbols& Symbols() const { return symbols_; }
  int VisibleRows() const { return visibleRows_; }
  int32_t ScrollValue() const { return scrollValue_; }
  int32_t ScrollMax() const { return scrollMax_; }
  // The result box's text.
  const std::string& Result() const { return result_; }

  // The window's height changed (Form_Resize): `visibleRows` is the index of the last row
  // shown. The list grows to fill the rows; the scroll value stays within range.
  void SetVisibleRows(int visibleRows);
  // The scroll bar moved (ScrollNum_Change); the value is kept within 0..ScrollMax.
  void SetScrollValue(int32_t value);

  // What row `row` shows: its number (RollingList::ValueText, but "" for 0), its
  // operator and whether its text is red (holds a parenthesis).
  std::string RowText(int row) const;
  char RowOperator(int row) const;
  static bool IsRed(std::string_view text);

  // Edit > Clear (Clear_Total_Click): one element per row, each 0 with "+", scrolled to the
  // top, the result box empty.
  void Clear();

  // The user changed a row's text: the number, with the grouping symbols removed, is
  // stored (an empty box stores 0; a text that is no number is kept as such and the result
  // says "Error", or "Overflow" for a number too large); then the result is recomputed.
  void StoreTyped(int row, std::string_view text);
  // The text a row's box shows when the focus leaves it: the stored number written as the
  // rows show numbers (0 as well), or "" when the box is empty.
  std::string LeftText(int row, std::string_view text) const;

  // A key typed into a row's box, as its character code (Backspace 8, Enter 13, Ctrl+C 3,
  // Ctrl+V 22): digits and the machine's symbols go into the box; "*", "+", "-" and "/" give
  // the element below the row that operator and move to it; Enter moves one row down. At
  // the bottom row the list scrolls, growing by one element when its end is shown.
  RollKeyOutcome KeyPress(int row, int keyAscii);
  // A key-down in a row's box: Up and Down move between the rows, scrolling the list at
  // the top and bottom rows; true when the key was one of them (and is consumed).
  bool KeyDown(int row, int keyCode, int& focusRow);

  // The row's operator button was clicked: the next operator.
  void OpClick(int row);
  // Settings menu: the result's mode, recomputed.
  void SetMode(int16_t mode);
  // Decimals menu: the rows' places; the result takes them at its next recomputation.
  void SetDecimals(int16_t decimals);
  // Edit > Sort: the numbers above zero ascending at the top, every other element 0, the
  // operators left where they are; then the result is recomputed.
  void Sort();

  // Edit > Copy (CalculatorListText): every element, one a line, joined by CR LF: its
  // number in plain form with the machine's decimal symbol, "" for an element never set, a
  // text that is no number as typed. An element whose operator is not "+" is followed by a
  // TAB and its operator, so that a paste gives back the same list.
  std::string CopyText() const;
  // Edit > Paste: clears the list, then reads a copied journal entry (each line a debit
  // "+" or credit "-" of its amount) or any list of lines (each line's text before its
  // first TAB a number, the operator after it when it is one, else "+"). Lines end at CR LF
  // or LF. Reading stops once the list has grown kRollPasteScrollLimit elements past the
  // window.
  RollPasteOutcome Paste(std::string_view text);

  // Recomputes the result (MailCalc).
  void MailCalc();

 private:
  std::size_t Element(int row) const { return static_cast<std::size_t>(scrollValue_ + row); }
  // Appends one element with operator `op` and no value.
  void Append(char op);
  // The element below row `row` takes operator `op`, scrolled into view at the bottom row.
  RollKeyOutcome ChooseOperator(int row, char op);
  // Enter: the row below, scrolling or growing the list at the bottom row.
  RollKeyOutcome MoveDown(int row);
  void UpdateScrollMax();
  std::string WithoutGrouping(std::string_view text) const;

  RollSymbols symbols_;
  RollingList list_;
  int visibleRows_ = 0;
  int32_t scrollValue_ = 0;
  int32_t scrollMax_ = 0;
  std::string result_;
};

}  // namespace qv
