#pragma once
// The open book in memory: the journal of posting lines with their entry numbers, the
// chart of accounts, the ten prepared entry groups, and the book's settings and counters.
// Windows read and write it directly; the book files read and write it wholesale.
//
// Journal rules that every writer keeps (CheckJournal tells whether they hold):
//  1. An entry is a run of adjacent lines that ends at its first line whose notes, trimmed,
//     are not empty (EndsEntry); the journal's last line also ends an entry. Only the last
//     line of an entry carries notes; "_" stands for an entry without notes.
//  2. Debit lines (Side 1) come before credit lines (Side 2); an entry has at least one of
//     each.
//  3. All lines of an entry share the date, the entry number and the reconciled mark.
//  4. An entry has at most kMaxRowsPerSide lines on each side.
//  5. The journal always holds at least two lines (one entry).

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "books/amount.h"
#include "books/day_date.h"
#include "books/fixed_text.h"

namespace qv {

enum PostingSide : uint8_t { kDebit = 1, kCredit = 2 };

// Account types, the index of the chart editor's type options.
enum AccountType : uint8_t {
  kCurrentAsset = 0,
  kCurrentLiability = 1,
  kNonCurrentAsset = 2,
  kNonCurrentLiability = 3,
  kCostOfGoodsSold = 4,
  kRevenue = 5,
  kExpense = 6,
  kCapital = 7,
  kOtherAccount = 8,
};
inline constexpr int kAccountTypeCount = 9;

// One debit or credit line of the journal, also the element of the prepared groups.
struct PostingLine {
  DaySerial LineDate = 0;
  uint8_t Side = kDebit;
  uint8_t Reconciled = 0;
  Folio LineFolio;
  qv::Amount Amount;
  std::string Notes;

  bool operator==(const PostingLine&) const = default;
};

// The entry (tracking) number of a posting line: 14 characters, space-padded.
using EntryNumber = FixedText<14>;
// The name of a prepared group: 120 characters.
using GroupName = FixedText<120>;

inline constexpr int kMaxRowsPerSide = 31;
inline constexpr int kPreparedGroupCount = 10;
// The chart keeps at least slots 0 to 13.
inline constexpr int kMinLastAccountIndex = 13;
// A further account may be inserted only while the highest index is at most this.
inline constexpr int kMaxInsertAccountIndex = 32000;

// The most bytes (UTF-8) that a book file holds in one text without a length of its own
// (names, notes, details, the business's name and address, the font name, passwords): the
// readers refuse a longer one, so the boxes hold no more and the writers write no more.
inline constexpr std::size_t kMaxTextBytes = std::size_t(1) << 20;

// The notes text that marks the end of an entry without notes.
inline constexpr std::string_view kNoNotes = "_";

// A blank: a space, a tab or a line-break character (CR, LF).
constexpr bool IsBlankChar(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The text without leading and trailing blanks.
std::string_view TrimText(std::string_view text);

// True when a line with these notes ends its entry: the notes, trimmed, are not empty.
inline bool EndsEntry(std::string_view notes) { return !TrimText(notes).empty(); }

struct Books {
  // ---- The journal; PostingLines and EntryNumbers always have the same size.
  std::vector<PostingLine> PostingLines;
  std::vector<EntryNumber> EntryNumbers;

  // ---- The chart of accounts: six parallel lists, resized together (ResizeChart).
  std::vector<std::string> AccountNames;  // "" = a free slot
  std::vector<Folio> AccountFolios;       // 0 = none
  std::vector<uint8_t> AccountTypes;      // AccountType
  std::vector<std::string> AccountNotes;
  std::vector<std::string> AccountDetails;  // lines separated by CR LF
  std::vector<std::string> AccountExtras;   // kept with the others, never shown
  // The highest index in use; the chart editor may lower it below the lists' size while
  // it is open.
  int LastAccountIndex = kMinLastAccountIndex;

  // ---- Prepared entry groups (numbered 0 to 9, shown as 1 to 10).
  std::array<std::vector<PostingLine>, kPreparedGroupCount> PreparedGroups;
  std::array<GroupName, kPreparedGroupCount> GroupNames;
  // The working copy of the group being edited; never saved.
  std::vector<PostingLine> PreparedEntryBuffer;

  // ---- Settings and counters saved with the book.
  int32_t EntryCounter = 1;
  int16_t AutoTrackingNumbers = 1;
  int16_t FolioDashes = 0;  // -1 = show folios with "-" for the decimal symbol
  int16_t DateStyleIndex = 0;
  int16_t JournalDecimals = 2;
  int16_t LedgerDecimals = 2;
  int16_t TrialDecimals = 0;
  int16_t IncomeDecimals = 0;
  int16_t BalanceSheetDecimals = 0;
  std::string BusinessName;
  std::string BusinessAddress;  // lines separated by CR LF
  std::string FilePassword;
  std::string AdminPassword;
  std::string FontName = "Arial";
  int16_t FontCharset = 0;
  int32_t ReservedLong = 0;
  int16_t ReservedInteger = 0;

  // ---- The change stamp: raised whenever the journal loses lines or is replaced, so that
  // open views know to rebuild. Not saved.
  int32_t BooksStamp = 0;

  int32_t LastLineIndex() const { return static_cast<int32_t>(PostingLines.size()) - 1; }

  // Resizes all six chart lists to indexes 0..lastIndex (contents kept, new slots empty)
  // and sets LastAccountIndex.
  void ResizeChart(int lastIndex);
  // Appends one line with its entry number.
  void AppendLine(const PostingLine& line, const EntryNumber& number);
};

// The number of chart accounts in use: indexes 0 to LastAccountIndex, kept within the
// chart lists (0 while the chart editor has lowered LastAccountIndex below 0).
int ChartAccountCount(const Books& books);

// Raises the change stamp so that open views rebuild. The stamp only tells views that the
// journal changed, so it wraps around rather than stop or overflow.
inline void RaiseBooksStamp(Books& books) {
  books.BooksStamp = static_cast<int32_t>(static_cast<uint32_t>(books.BooksStamp) + 1u);
}

// The journal of a new book: one empty entry (a debit line, then a credit line with notes
// "_"), both dated `today` and numbered "1". Nothing else of the book changes; the change
// stamp is raised. Returns the index of the entry's last line (1).
int32_t NewStart(Books& books, DaySerial today);

// A book as the program starts: the chart with slots 0 to 13 whose account 0 is
// "Balance b/f" (folio 1, type 8), ten prepared groups and the working buffer each holding
// one empty entry, the start values of every setting, and the journal of NewStart.
Books NewBooks(DaySerial today);

// One empty entry dated `date`: a debit line, then a credit line with notes "_".
std::vector<PostingLine> EmptyEntry(DaySerial date);
// One empty prepared entry: the empty entry without a date.
inline std::vector<PostingLine> EmptyPreparedEntry() { return EmptyEntry(kZeroDate); }

// The first and last line of the entry that holds `line` (clamped into the journal).
// Scans without limit in both directions.
struct EntryRange {
  int32_t First = 0;
  int32_t Last = 0;
  int32_t Size() const { return Last - First + 1; }
  bool operator==(const EntryRange&) const = default;
};
EntryRange EntryBounds(const std::vector<PostingLine>& lines, int32_t line);
inline EntryRange EntryBounds(const Books& books, int32_t line) {
  return EntryBounds(books.PostingLines, line);
}

// The debit and credit totals of lines first..last of `lines` (both clamped into the list),
// with line `replaced` (none when -1) taken at `amount`. A total that leaves the amount
// range is nothing.
struct SideTotals {
  std::optional<Amount> Debit;
  std::optional<Amount> Credit;
  // Debit - Credit; nothing when a total or the difference leaves the amount range.
  std::optional<Amount> Difference() const;
};
SideTotals SumSides(const std::vector<PostingLine>& lines, int32_t first, int32_t last,
                    int32_t replaced = -1, Amount amount = Amount());

// The first journal rule that the lines break, described in a sentence, or nothing when
// all hold. Used by tests and by readers that must not accept a broken journal.
std::optional<std::string> CheckJournal(const std::vector<PostingLine>& lines,
                                        const std::vector<EntryNumber>* numbers = nullptr);
// The same check, also telling the index of the line where the broken rule shows (the
// entry's first line for a rule about the whole entry), so that a reader can point at it.
struct JournalFault {
  int32_t Line = 0;
  std::string Text;
};
std::optional<JournalFault> FindJournalFault(const std::vector<PostingLine>& lines,
                                             const std::vector<EntryNumber>* numbers = nullptr);
std::optional<std::string> CheckBooks(const Books& books);

}  // namespace qv
