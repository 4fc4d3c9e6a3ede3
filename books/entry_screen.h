#pragma once
// The entry screen of the main window without the window: which entry is shown, what each
// of its rows shows, where the rows, labels and notes box stand, the totals line, the
// read-only lock of old entries, where the navigation keys lead, the go-to search and the
// storing of a typed entry number.
//
// The entry screen owns the bounds of the shown entry (CurrentLine, EntryFirstLine,
// EntryLastLine). No other window writes them: another window that wants an entry shown
// sets the main window's journal scroll bar, which calls ShowLine.
//
// Rows are made for as many lines as the entry has on each side, so an entry of any size
// shows. Each row records the posting line it shows; whatever is typed into a row is
// written to that line and no other. A side without lines still shows its first row, which
// stands for no line and takes no input.
//
// Positions are in twips inside the row box (eBox). The row height is the design height
// multiplied by the screen scale; the gaps and offsets of the layout are not scaled.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "books/books.h"
#include "platform/colors.h"
#include "platform/locale_info.h"

namespace qv {

// One row of the entry screen: the posting line it shows (-1 for none) and its texts.
struct EntryRowView {
  int32_t Line = -1;
  int32_t Top = 0;  // of its three boxes, twips inside eBox
  std::string FolioText;
  std::string AccountName;
  std::string AmountText;
  bool operator==(const EntryRowView&) const = default;
};

// Where CalcCompound goes after a layout.
enum class CalcCompoundPlace { Keep, BesideDebit, BesideCredit };

// What the layout of the shown entry's rows (DrCrArrange) decides.
struct EntryLayout {
  std::vector<EntryRowView> Debit;   // at least one row
  std::vector<EntryRowView> Credit;  // at least one row
  // Below the last row plus the gap: the top of the notes box (after scrolling).
  int32_t RowTop = 0;
  // Tops of the labels and buttons placed with the rows.
  int32_t DebitLabelTop = 0;       // GL(4) and GL(8)
  int32_t CreditLabelTop = 0;      // GL(5)
  int32_t CreditSignLabelTop = 0;  // GL(9)
  int32_t NotesTop = 0;            // AccNote
  int32_t NotesLabelTop = 0;       // GL(6)
  int32_t DebitCompoundTop = 0;    // CompoundEntry(1): the last debit row's top
  int32_t CreditCompoundTop = 0;   // CompoundEntry(2): the last credit row's top
  CalcCompoundPlace CalcCompound = CalcCompoundPlace::Keep;
  std::string DateText;  // the first line's date in the book's date style
};

// What the totals line (SumEntry) shows.
enum class CalcCompoundChange { Keep, Hide, Show };
struct EntryStatus {
  std::string Text;
  ColorValue Color = kBlack;
  CalcCompoundChange CalcCompound = CalcCompoundChange::Keep;
};

// The design measures the layout uses, in twips, before scaling.
struct EntryRowMetrics {
  int32_t RowHeight = 345;  // the folio box's height
  int32_t RowGap = 50;
  int32_t FirstRowTop = 15;   // also the room kept below the notes box
  int32_t NotesHeight = 330;  // the notes box under the rows
};

class EntryScreen {
 public:
  // The screen reads and writes `books`; `locale` gives the number and date formats.
  // Both must outlive it.
  EntryScreen(Books& books, const LocaleInfo& locale);

  // ---- The shown entry (ScrollAcc_Change). `value` is the journal scroll bar's value; it
  // is brought into 0..LastLineIndex. The entry holding that line becomes the shown one:
  // CurrentLine and EntryFirstLine its first line, EntryLastLine its last, the row offset
  // 0; the rows are laid out. The book is not written. Returns the layout.
  const EntryLayout& ShowLine(int64_t value);
  // Lays the shown entry's rows out again at the current row offset (DrCrArrange), after
  // the book changed under the same bounds or the rows were scrolled.
  const EntryLayout& Arrange();
  // Scrolls the rows (EScroll_Change) and lays them out.
  const EntryLayout& SetRowOffset(int32_t offset);

  // Sets the bounds of the shown entry directly, for the commands that append or move
  // entries and redisplay themselves. Both are brought into the journal.
  void SetShownEntry(int32_t first, int32_t last);

  int32_t CurrentLine() const { return currentLine_; }
  int32_t EntryFirstLine() const { return entryFirstLine_; }
  int32_t EntryLastLine() const { return entryLastLine_; }
  int32_t EntryScrollOffset() const { return entryScrollOffset_; }
  int32_t RowTop() const { return layout_.RowTop; }
  // The height the row box needs to show the shown entry's rows and its notes box whole,
  // unscrolled; and the same for an entry of `rows` rows.
  int32_t ContentBottom() const { return layout_.RowTop + entryScrollOffset_ + NotesRoom(); }
  int32_t ContentBottomOfRows(int rows) const {
    return metrics_.FirstRowTop + rows * (metrics_.RowHeight + metrics_.RowGap) + NotesRoom();
  }
  // The index of the last row of each side (-1 when the side has no line).
  int32_t LastDebitRow() const { return lastDebitRow_; }
  int32_t LastCreditRow() const { return lastCreditRow_; }
  const EntryLayout& Layout() const { return layout_; }
  // The posting line a row shows, or -1 (a row beyond the entry, or a side without lines).
  int32_t LineOfDebitRow(int row) const;
  int32_t LineOfCreditRow(int row) const;

  // ---- The texts shown with the entry.
  // The go-to box and the entry-number box: the first line's entry number, trimmed.
  std::string EntryNumberText() const;
  // The notes box: the last line's notes trimmed, "" for "_".
  std::string NotesText() const;
  // The Reconcile box: ticked when the first line's mark is 1 (a mark above 1, from an older
  // book, counts as not reconciled, as everywhere, and stays in the book until the box is
  // used).
  bool Reconciled() const;

  // ---- The read-only lock. With an admin password, the entries whose first line lies
  // before LastLineIndex - 30 are read-only; without one, none.
  int32_t EditFloorLine() const;
  bool ReadOnly() const { return currentLine_ < EditFloorLine(); }
  // Whether the add-line buttons show: on the journal's last entry, each while its side
  // has fewer than kMaxRowsPerSide lines.
  bool DebitCompoundShown() const;
  bool CreditCompoundShown() const;

  // ---- The totals line (SumEntry): what the status line shows of the debit and credit
  // totals of the shown entry. A total that does not fit the amount type is reported on
  // the line instead of a figure.
  EntryStatus SumEntry();
  // The text of a number on the totals line: 2 decimals, the locale's grouping, negatives
  // in parentheses.
  std::string StatusAmountText(Amount amount) const;

  // ---- Navigation: the scroll bar value that shows the entry before or after the shown
  // one (the bar brings a value outside the journal back into it).
  int64_t PreviousEntryTarget() const { return int64_t{entryFirstLine_} - 1; }
  int64_t NextEntryTarget() const { return int64_t{entryLastLine_} + 1; }
  // Up (38) or Down (40) pressed in an entry box (EntryKeyNavigation): the scroll bar
  // value to set. Up goes to the line before the entry; Down to the line after it while
  // that line is not the journal's last, else stays on the entry.
  int64_t EntryKeyTarget(int keyCode) const;

  // ---- The go-to box: the first line whose entry number is the text padded or cut to 14
  // characters (exact comparison), or nothing.
  std::optional<int32_t> FindEntryNumber(std::string_view text) const;
  // The status line when the go-to box finds nothing.
  static std::string NotFoundText(std::string_view text);

  // ---- The entry-number box: stores the (already upper-cased) text, padded or cut to 14
  // characters, as the entry number of every line of the shown entry. Refused on a
  // read-only entry. Returns true when stored.
  bool StoreEntryNumber(std::string_view text);

  // ---- Texts of a posting line's fields as the rows show them.
  // The folio as a plain number with the locale's decimal symbol, "-" in its place when the
  // book shows folios with dashes; "" for folio 0.
  std::string FolioText(Folio folio) const;
  // The amount as a plain number with the locale's decimal symbol, no grouping, no trailing
  // zeros; "" for 0.
  std::string AmountText(Amount amount) const;

  // The row measures at this screen scale: the scaled row height, the design gap and top.
  void SetScreenScale(double scale);
  const EntryRowMetrics& Metrics() const { return metrics_; }

  Books& TheBooks() { return books_; }
  const LocaleInfo& Locale() const { return locale_; }

 private:
  void ClampBounds();
  int32_t NotesRoom() const { return metrics_.NotesHeight + metrics_.FirstRowTop; }

  Books& books_;
  const LocaleInfo& locale_;
  EntryRowMetrics metrics_;
  int32_t currentLine_ = 0;
  int32_t entryFirstLine_ = 0;
  int32_t entryLastLine_ = 0;
  int32_t entryScrollOffset_ = 0;
  int32_t lastDebitRow_ = 0;
  int32_t lastCreditRow_ = 0;
  EntryLayout layout_;
};

// The account names that the rows' lists offer: the chart's names in index order, blank
// names left out.
std::vector<std::string> AccountListNames(const Books& books);

// ---- The row scroll bar (EScroll): its value is the rows' scroll offset in twips.
struct RowScrollState {
  bool Visible = false;
  int32_t ValueMax = 0;
  int32_t Value = 0;  // where the rows are to stand
  bool operator==(const RowScrollState&) const = default;
};
// For rows and notes that need `contentBottom` (EntryScreen::ContentBottom) in a box of
// `boxHeight`: the bar shows when they do not fit, and its end shows the notes box whole at
// the bottom of the box. `wanted` is the offset asked for (0 for a newly shown entry, the
// offset in force after a resize, one that brings a box into view), brought into 0 to the
// maximum; rows that fit stand at the top.
RowScrollState RowScrollFor(int32_t contentBottom, int32_t boxHeight, int64_t wanted);

}  // namespace qv
