#pragma once
// What the three book file forms (.acc, .txt, .csv) share: the results of reading and
// writing, progress reports, the buffered output of the writers, the limits a reader holds
// a file to, the last step of every read, which puts the new book in order and checks its
// journal, and the change stamp that replacing or merging a book raises.
//
// Reading never touches the open books: every reader builds a new Books and hands it back
// only when the whole file was read and found sound.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "books/books.h"

namespace qv {

// The outcome of reading or writing a book file. ErrorCode is 0 on success, else the number
// that the failed-file message (FileErrorText) takes: a system error turned by
// FileErrorCodeFromErrno, or kErrDataMismatch for a file that is not a sound book. Message
// says in a sentence what went wrong (the path, the version, the line of a text file).
struct BookFileResult {
  int ErrorCode = 0;
  std::string Message;
  bool Ok() const { return ErrorCode == 0; }
};

// A read also hands back the new book, present only on success.
struct BookReadResult : BookFileResult {
  std::optional<Books> Book;
};

// Told how far a long read or write has gone: `done` of `total` units (posting lines when
// writing or reading a book file, bytes when reading a text or CSV file). It is called every
// `total` / 99 units and is given nothing but the position, so it cannot touch the books.
using ProgressFn = std::function<void(int64_t done, int64_t total)>;

// Calls a ProgressFn once per step of `total` / 99 units (at least 1).
class ProgressTicker {
 public:
  ProgressTicker(const ProgressFn& report, int64_t total);
  void At(int64_t done) {
    if (done >= next_) Tick(done);
  }

 private:
  void Tick(int64_t done);
  const ProgressFn& report_;
  int64_t total_;
  int64_t step_;
  int64_t next_;
};

// Collects what a writer produces and hands it on in pieces of about a megabyte, so that a
// large book is never held twice in memory.
class BookOutput {
 public:
  using Consumer = std::function<void(std::string_view)>;
  explicit BookOutput(Consumer consumer);
  // The writer appends here, then calls Spill now and then.
  std::string& Text() { return buffer_; }
  void Spill() {
    if (buffer_.size() >= kChunk) Flush();
  }
  void Flush();

 private:
  static constexpr std::size_t kChunk = 1 << 20;
  Consumer consumer_;
  std::string buffer_;
};

// Limits a reader holds a file to. Texts without a length of their own (names, notes,
// details, the business's name and address, the font name, passwords) may hold up to
// kMaxTextBytes bytes (books/books.h); entry numbers and group names count characters.
// The chart's highest index is a 16-bit number.
inline constexpr std::size_t kMaxChartSlots = 32768;
// The journal's highest index is a 32-bit number.
inline constexpr int64_t kMaxPostingLines = INT32_MAX;

// The chart slots a writer writes: indexes 0 to LastAccountIndex, at least 14 (the chart
// editor may lower the index while it is open; closing it raises the index back to 13) and
// at most kMaxChartSlots.
std::size_t ChartSlotsToWrite(const Books& books);

// Element `i` of a chart list, or the empty value for a slot the list does not reach, so
// that a writer always writes six lists of one length.
template <class T>
const T& ChartSlot(const std::vector<T>& list, std::size_t i) {
  static const T empty{};
  return i < list.size() ? list[i] : empty;
}

// The type of chart slot `i` as a writer writes it: a stored type outside 0 to 8 is written
// as 8 (other), so that every written book reads back.
inline uint8_t ChartTypeToWrite(const Books& books, std::size_t i) {
  const uint8_t type = ChartSlot(books.AccountTypes, i);
  return type < kAccountTypeCount ? type : uint8_t{kOtherAccount};
}

// The entry number of journal line `i` (blanks when the list falls short of the lines).
const EntryNumber& EntryNumberOfLine(const Books& books, std::size_t i);

// The first text of the book that a reader would refuse as longer than kMaxTextBytes (as
// written: malformed UTF-8 is written replaced), in a sentence naming it ("The details of
// account 3 (folio 110, "Cash") hold 2,097,152 bytes; a book file holds at most 1,048,576
// bytes in one text."), or nothing. `withSettings`: the business's name and address, the
// font name and the prepared groups are written; `withPasswords`: the passwords too.
std::optional<std::string> OverlongBookText(const Books& books, bool withSettings,
                                            bool withPasswords);

// The reading failure "this file is not a sound book", with its explanation.
BookReadResult DataMismatch(std::string message);

// The failure of a write to `path` that left the file as it was, from the system's error
// number: its code for the failed-file message, and a sentence giving the system's reason
// ("Writing "..." failed: No space left on device. The file was not changed."), or saying
// that memory ran out (ENOMEM), or that what stands there is no ordinary file (ENODEV, with
// kErrDataMismatch: ""..." is a named pipe, not an ordinary file; nothing was written.").
// An error number of 0 gives the sentence without a reason.
BookFileResult WriteFailure(const std::string& path, int err);

// A day written as "yyyy-mm-dd" with a four-digit year (a day outside the accepted range is
// written as the nearest day inside it).
void AppendIsoDate(std::string& out, DaySerial day);
// A date written "yyyy-mm-dd" that is a real day of the years 100 to 9999, or nothing.
std::optional<DaySerial> ParseIsoDate(std::string_view text);
// A whole decimal number, with an optional "-", within low..high; nothing otherwise.
std::optional<int64_t> ParseWholeNumber(std::string_view text, int64_t low, int64_t high);

// The side of a posting line as the text and CSV forms write it: "D" (debit) or "C"
// (credit); "d", "c", "1" and "2" are read too.
std::optional<uint8_t> ParseSide(std::string_view text);
inline char SideLetter(uint8_t side) { return side == kCredit ? 'C' : 'D'; }

// The fields of a posting line as the text and CSV forms write them. ReadLineFields fills
// the line's date, side, folio, amount and reconciled mark (an empty folio or amount reads
// as 0) and returns what is wrong with the first bad field, or nothing.
struct LineFields {
  std::string_view date, side, folio, amount, reconciled;
};
std::optional<std::string> ReadLineFields(const LineFields& fields, PostingLine& line);
// An entry number of at most 14 characters; the error otherwise.
std::optional<std::string> ReadEntryNumber(std::string_view text, EntryNumber& number);
// A chart slot's folio and type; the error for the first bad one.
std::optional<std::string> ReadAccountFields(std::string_view folio, std::string_view type,
                                             Folio& folioOut, uint8_t& typeOut);

// A piece of a file quoted in a message: cut to about 60 characters with "..." and with
// control characters shown as blanks, so that a message stays one short line whatever the
// file holds.
std::string QuotedPiece(std::string_view text);

// The file line of each posting line read from a text or CSV file, kept as the few places
// where the posting lines stop following one another line by line (a comment, a blank line,
// a field over several lines), so that a long journal costs nothing extra.
class FileLineMap {
 public:
  // The next posting line stands on this line of the file.
  void Add(int64_t fileLine);
  // The file line of posting line `index`.
  int64_t Of(int32_t index) const;

 private:
  std::vector<std::pair<int64_t, int64_t>> jumps_;  // (posting line, its file line)
  int64_t count_ = 0;
};

// Reserves room for `count` posting lines and entry numbers, on large pages where the
// system offers them: a million-line journal then costs a few hundred page faults instead of
// tens of thousands.
void ReserveJournalLines(Books& book, std::size_t count);

// Sizes the journal's lists once for a text or CSV source of `lines` lines and `bytes`
// bytes: a posting line to a line, but no more than the bytes can hold (a posting line takes
// at least 19), so that a file of blank lines does not make room for lines it cannot have.
void ReserveJournal(Books& book, uint64_t lines, uint64_t bytes);
// Gives back the room the journal did not take when that is more than it took.
void FitJournal(Books& book);

// The message for a broken journal rule, naming the lines with the numbers `numberOf`
// gives their indexes: "Line 120: the entry that starts on line 118 has a debit line after
// a credit line." `where` starts the message ("Line", "Posting line"), `word` names a line
// inside it ("line", "posting line").
std::string JournalFaultMessage(const JournalFault& fault, const std::vector<PostingLine>& lines,
                                std::string_view where, std::string_view word,
                                const std::function<int64_t(int32_t)>& numberOf);

// A broken rule found in a book that was read: in the journal (Group < 0) or in prepared
// group Group (from 0).
struct ReadFault {
  int Group = -1;
  JournalFault Fault;
};

// Puts a freshly read book in order and checks its journal. It trims every line's notes
// (which never moves an entry boundary), gives an empty journal the one empty entry of a new
// book dated `today`, closes a journal whose last line has no notes with "_", does the same
// for the last line of every prepared group that has lines, reads a date style outside 0..8
// as 0, holds each decimals setting to 0..3 and any non-zero FolioDashes as -1, pads the
// chart to 14 slots and sets LastAccountIndex to its last slot, and makes the prepared-entry
// working list a copy of group 1 (an empty prepared entry when that group has no lines).
// Then it checks the journal rules on the journal and on every prepared group that has
// lines (including a group appends it to the journal, dated today and not reconciled, so a
// group's lines may differ in those): the first broken rule is returned.
std::optional<ReadFault> FinishReadBook(Books& book, DaySerial today);

}  // namespace qv
