#include "bookfiles/acc_file.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <new>
#include <utility>

#include "books/module_procedures.h"
#include "platform/utf8.h"

namespace qv {
namespace {

// The fixed part of a posting line: date 8, side 1, folio 8, amount 8, notes length 4,
// reconciled 1.
constexpr std::size_t kMinLineBytes = 30;
constexpr std::size_t kHeaderBytes = 12;  // magic and version
constexpr std::size_t kChecksumBytes = 4;

// ---- Writing.

class AccWriter {
 public:
  explicit AccWriter(BookOutput& out) : out_(out), text_(out.Text()) {}

  void U8(uint8_t v) { text_.push_back(static_cast<char>(v)); }
  void U16(uint16_t v) {
    const char b[2] = {static_cast<char>(v), static_cast<char>(v >> 8)};
    text_.append(b, 2);
  }
  void U32(uint32_t v) {
    const char b[4] = {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                       static_cast<char>(v >> 24)};
    text_.append(b, 4);
  }
  void U64(uint64_t v) {
    char b[8];
    for (int i = 0; i < 8; ++i) b[i] = static_cast<char>(v >> (8 * i));
    text_.append(b, 8);
  }
  void I16(int16_t v) { U16(static_cast<uint16_t>(v)); }
  void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
  void I64(int64_t v) { U64(static_cast<uint64_t>(v)); }
  void F64(double v) { U64(std::bit_cast<uint64_t>(v)); }
  void Count(std::size_t n) { U32(static_cast<uint32_t>(n)); }
  // A text as its byte length and its bytes; malformed UTF-8 is written repaired, so that
  // the file always reads back.
  void Text(std::string_view s) {
    if (!IsValidUtf8(s)) {
      const std::string repaired = SanitizeUtf8(s);
      Count(repaired.size());
      text_.append(repaired);
    } else {
      Count(s.size());
      text_.append(s);
    }
    out_.Spill();
  }
  void Raw(std::string_view s) {
    Count(s.size());
    text_.append(s);
  }
  void Line(const PostingLine& line) {
    F64(static_cast<double>(line.LineDate));
    U8(line.Side);
    I64(line.LineFolio.Raw());
    I64(line.Amount.Raw());
    Text(line.Notes);
    U8(line.Reconciled);
  }
  void Lines(const std::vector<PostingLine>& lines) {
    Count(lines.size());
    for (const PostingLine& line : lines) Line(line);
  }

 private:
  BookOutput& out_;
  std::string& text_;
};

// ---- Reading.

struct AccFault {
  std::string message;
};

[[noreturn]] void Fail(std::string message) { throw AccFault{std::move(message)}; }

// Names a place in the file for a message: "the notes of posting line 17". Built only when
// a message is needed.
struct Where {
  std::string_view field;
  std::string_view item = {};
  int64_t number = 0;  // of the item, from 1; 0 for none
  std::string Text() const {
    std::string s(field);
    if (!item.empty()) s += " of " + std::string(item);
    if (number > 0) s += " " + std::to_string(number);
    return s;
  }
};

class AccReader {
 public:
  // Reads the body from the source up to `end`, the offset of the checksum.
  AccReader(ByteSource& in, uint64_t end) : in_(in), end_(end) {}

  uint64_t Left() const { return end_ - in_.Position(); }

  // The next `n` bytes, valid until the next read.
  const char* Take(std::size_t n, const Where& where) {
    if (Left() < n || !in_.Ensure(n))
      Fail("The book file ends in the middle of the " + where.Text() + ".");
    const char* p = in_.Window().data();
    in_.Skip(n);
    return p;
  }
  uint64_t Bytes(int n, const Where& where) {
    return Bytes(reinterpret_cast<const unsigned char*>(Take(static_cast<std::size_t>(n), where)),
                 n);
  }
  uint8_t U8(const Where& where) { return static_cast<uint8_t>(Bytes(1, where)); }
  int16_t I16(const Where& where) { return static_cast<int16_t>(Bytes(2, where)); }
  int32_t I32(const Where& where) { return static_cast<int32_t>(Bytes(4, where)); }
  uint32_t U32(const Where& where) { return static_cast<uint32_t>(Bytes(4, where)); }
  int64_t I64(const Where& where) { return static_cast<int64_t>(Bytes(8, where)); }
  double F64(const Where& where) { return std::bit_cast<double>(Bytes(8, where)); }

  // The count before a list whose elements take at least `minBytes` each: a count that the
  // bytes left cannot hold is refused before anything is allocated.
  std::size_t Count(std::string_view list, std::size_t minBytes, uint64_t limit) {
    const uint32_t n = U32(Where{"count", list});
    if (n > limit)
      Fail("The book file gives " + std::to_string(n) + " " + std::string(list) +
           ", more than the " + std::to_string(limit) + " a book can hold.");
    if (uint64_t(n) * minBytes > Left())
      Fail("The book file gives " + std::to_string(n) + " " + std::string(list) +
           ", more than the rest of the file can hold.");
    return n;
  }

  // A byte length, then that many bytes (valid until the next read).
  std::string_view Chunk(const Where& where, std::size_t limit) {
    const uint32_t n = U32(where);
    if (n > limit)
      Fail("The " + where.Text() + " is " + std::to_string(n) +
           " bytes long, more than the limit of " + std::to_string(limit) + ".");
    return std::string_view(Take(n, where), n);
  }

  std::string Text(const Where& where) {
    const std::string_view s = Chunk(where, kMaxTextBytes);
    if (!IsValidUtf8(s)) Fail("The " + where.Text() + " is not valid UTF-8 text.");
    return std::string(s);
  }

  // A text of at most N characters; `previous` when it is the same text, as the entry numbers
  // of one entry are.
  template <std::size_t N>
  FixedText<N> Fixed(const Where& where, const FixedText<N>* previous = nullptr) {
    const std::string_view s = Chunk(where, 4 * N);
    if (previous && s == previous->TrimmedText()) return *previous;
    if (!IsValidUtf8(s)) Fail("The " + where.Text() + " is not valid UTF-8 text.");
    // No text of N bytes or fewer has more than N characters.
    if (s.size() > N && Utf8Length(s) > N)
      Fail("The " + where.Text() + " is longer than " + std::to_string(N) + " characters.");
    return FixedText<N>(s);
  }

  // Line `number` (from 1) of a list of posting lines.
  PostingLine Line(std::string_view item, int64_t number) {
    // The date, side, folio and amount of a line in one piece, when the file holds them;
    // field by field otherwise, so that a file that ends among them says where.
    constexpr std::size_t kFixed = 25;
    if (Left() >= kFixed && in_.Ensure(kFixed)) {
      const auto* p = reinterpret_cast<const unsigned char*>(Take(kFixed, {}));
      return Line(std::bit_cast<double>(Bytes(p, 8)), p[8], static_cast<int64_t>(Bytes(p + 9, 8)),
                  static_cast<int64_t>(Bytes(p + 17, 8)), item, number);
    }
    const double date = F64({"date", item, number});
    const uint8_t side = U8({"side", item, number});
    const int64_t folio = I64({"folio", item, number});
    return Line(date, side, folio, I64({"amount", item, number}), item, number);
  }

 private:
  static uint64_t Bytes(const unsigned char* p, int n) {
    uint64_t v = 0;
    for (int i = 0; i < n; ++i) v |= uint64_t(p[i]) << (8 * i);
    return v;
  }

  PostingLine Line(double date, uint8_t side, int64_t folio, int64_t amount, std::string_view item,
                   int64_t number) {
    PostingLine line;
    if (!std::isfinite(date) || date != std::floor(date) || date < kMinDaySerial ||
        date > kMaxDaySerial)
      Fail("The date of " + Where{item, {}, number}.Text() +
           " is not a whole day between the years 100 and 9999.");
    line.LineDate = static_cast<DaySerial>(date);
    line.Side = side;
    if (line.Side != kDebit && line.Side != kCredit)
      Fail("The side of " + Where{item, {}, number}.Text() + " is " + std::to_string(line.Side) +
           "; it must be 1 (debit) or 2 (credit).");
    line.LineFolio = Folio::FromRaw(folio);
    line.Amount = Amount::FromRaw(amount);
    line.Notes = Text({"notes", item, number});
    line.Reconciled = U8({"reconciled mark", item, number});
    return line;
  }

  ByteSource& in_;
  uint64_t end_;
};

std::string VersionMessage(uint32_t version) {
  const std::string v = std::to_string(version);
  if (version < kAccLayoutVersion)
    return "This book file has the older layout version " + v +
           ", which this program cannot read. It reads book files of layout version 6.";
  return "This book file has layout version " + v +
         ", which this program does not know. It reads book files of layout version 6.";
}

void ReadBody(AccReader& in, Books& book, const ProgressFn& progress) {
  // The journal.
  const std::size_t lineCount = in.Count("posting lines", kMinLineBytes, kMaxPostingLines);
  ProgressTicker ticker(progress, static_cast<int64_t>(lineCount));
  ReserveJournalLines(book, lineCount);
  for (std::size_t i = 0; i < lineCount; ++i) {
    book.PostingLines.push_back(in.Line("posting line", static_cast<int64_t>(i + 1)));
    ticker.At(static_cast<int64_t>(i + 1));
  }
  const std::size_t numberCount = in.Count("entry numbers", 4, kMaxPostingLines);
  if (numberCount != lineCount)
    Fail("The book file gives " + std::to_string(numberCount) + " entry numbers for " +
         std::to_string(lineCount) + " posting lines.");
  for (std::size_t i = 0; i < numberCount; ++i)
    book.EntryNumbers.push_back(
        in.Fixed<14>({"entry number", "posting line", static_cast<int64_t>(i + 1)},
                     book.EntryNumbers.empty() ? nullptr : &book.EntryNumbers.back()));

  // The chart: six lists of one length, at least 14 slots.
  const std::size_t slots = in.Count("account names", 4, kMaxChartSlots);
  if (slots < static_cast<std::size_t>(kMinLastAccountIndex + 1))
    Fail("The book file's chart of accounts has " + std::to_string(slots) +
         " slots; a chart has at least 14.");
  auto sameLength = [&](std::string_view list, std::size_t minBytes) {
    if (in.Count(list, minBytes, kMaxChartSlots) != slots)
      Fail("The book file's list of " + std::string(list) +
           " differs in length from its list of account names.");
  };
  auto texts = [&](std::vector<std::string>& target, std::string_view field) {
    target.reserve(slots);
    for (std::size_t i = 0; i < slots; ++i)
      target.push_back(in.Text({field, "account", static_cast<int64_t>(i + 1)}));
  };
  texts(book.AccountNames, "name");
  sameLength("account folios", 8);
  book.AccountFolios.reserve(slots);
  for (std::size_t i = 0; i < slots; ++i)
    book.AccountFolios.push_back(
        Folio::FromRaw(in.I64({"folio", "account", static_cast<int64_t>(i + 1)})));
  sameLength("account types", 1);
  book.AccountTypes.reserve(slots);
  for (std::size_t i = 0; i < slots; ++i) {
    const uint8_t type = in.U8({"type", "account", static_cast<int64_t>(i + 1)});
    if (type >= kAccountTypeCount)
      Fail("Account " + std::to_string(i + 1) + " has the type " + std::to_string(type) +
           "; account types run from 0 to 8.");
    book.AccountTypes.push_back(type);
  }
  sameLength("account notes", 4);
  texts(book.AccountNotes, "notes");
  sameLength("account details", 4);
  texts(book.AccountDetails, "details");
  sameLength("account extras", 4);
  texts(book.AccountExtras, "extra text");
  book.LastAccountIndex = static_cast<int>(slots) - 1;

  // The prepared groups: ten names, then ten lists of lines.
  if (in.Count("group names", 4, kPreparedGroupCount) != kPreparedGroupCount)
    Fail("The book file does not hold ten prepared group names.");
  for (int g = 0; g < kPreparedGroupCount; ++g)
    book.GroupNames[static_cast<std::size_t>(g)] = in.Fixed<120>({"name", "group", g + 1});
  if (in.Count("prepared groups", 4, kPreparedGroupCount) != kPreparedGroupCount)
    Fail("The book file does not hold ten prepared groups.");
  for (int g = 0; g < kPreparedGroupCount; ++g) {
    const std::string item = "prepared group " + std::to_string(g + 1) + ", line";
    const std::size_t n = in.Count("lines of a prepared group", kMinLineBytes, kMaxPostingLines);
    auto& group = book.PreparedGroups[static_cast<std::size_t>(g)];
    group.reserve(n);
    for (std::size_t i = 0; i < n; ++i) group.push_back(in.Line(item, static_cast<int64_t>(i + 1)));
  }

  // The settings.
  const Where settings{"settings"};
  book.EntryCounter = in.I32(settings);
  book.AutoTrackingNumbers = in.I16(settings);
  book.FolioDashes = in.I16(settings);
  book.DateStyleIndex = in.I16(settings);
  book.JournalDecimals = in.I16(settings);
  book.LedgerDecimals = in.I16(settings);
  book.TrialDecimals = in.I16(settings);
  book.IncomeDecimals = in.I16(settings);
  book.BalanceSheetDecimals = in.I16(settings);
  book.BusinessName = in.Text({"business name"});
  book.BusinessAddress = in.Text({"business address"});
  book.FilePassword = ScramblePassword(in.Chunk({"file password"}, kMaxTextBytes));
  if (!IsValidUtf8(book.FilePassword)) Fail("The file password is not valid UTF-8 text.");
  book.AdminPassword = in.Text({"admin password"});
  book.FontName = in.Text({"font name"});
  book.FontCharset = in.I16(settings);
  book.ReservedLong = in.I32(settings);
  book.ReservedInteger = in.I16(settings);
  if (in.Left() != 0)
    Fail("The book file holds " + std::to_string(in.Left()) +
         " unexpected bytes after its settings.");
}

}  // namespace

std::string ScramblePassword(std::string_view text) {
  std::string out(text);
  for (std::size_t i = 0; i < out.size(); ++i)
    out[i] = static_cast<char>(static_cast<uint8_t>(out[i]) ^
                               static_cast<uint8_t>(167 + 59 * (i & 0xFF)));
  return out;
}

void WriteAccBook(const Books& books, const BookOutput::Consumer& consumer,
                  const ProgressFn& progress) {
  // Every byte passes through the checksum on its way out; the checksum itself follows.
  uint32_t crc = 0;
  BookOutput out([&](std::string_view piece) {
    crc = Crc32(piece, crc);
    consumer(piece);
  });
  AccWriter w(out);
  out.Text().append(kAccMagic);
  w.U32(kAccLayoutVersion);

  const std::size_t lineCount = books.PostingLines.size();
  ProgressTicker ticker(progress, static_cast<int64_t>(lineCount));
  w.Count(lineCount);
  for (std::size_t i = 0; i < lineCount; ++i) {
    w.Line(books.PostingLines[i]);
    ticker.At(static_cast<int64_t>(i + 1));
  }
  w.Count(lineCount);
  for (std::size_t i = 0; i < lineCount; ++i) w.Text(EntryNumberOfLine(books, i).TrimmedText());

  const std::size_t slots = ChartSlotsToWrite(books);
  w.Count(slots);
  for (std::size_t i = 0; i < slots; ++i) w.Text(ChartSlot(books.AccountNames, i));
  w.Count(slots);
  for (std::size_t i = 0; i < slots; ++i) w.I64(ChartSlot(books.AccountFolios, i).Raw());
  w.Count(slots);
  for (std::size_t i = 0; i < slots; ++i) w.U8(ChartTypeToWrite(books, i));
  for (const auto* list : {&books.AccountNotes, &books.AccountDetails, &books.AccountExtras}) {
    w.Count(slots);
    for (std::size_t i = 0; i < slots; ++i) w.Text(ChartSlot(*list, i));
  }

  w.Count(kPreparedGroupCount);
  for (const GroupName& name : books.GroupNames) w.Text(name.TrimmedText());
  w.Count(kPreparedGroupCount);
  for (const auto& group : books.PreparedGroups) w.Lines(group);

  w.I32(books.EntryCounter);
  w.I16(books.AutoTrackingNumbers);
  w.I16(books.FolioDashes);
  w.I16(books.DateStyleIndex);
  w.I16(books.JournalDecimals);
  w.I16(books.LedgerDecimals);
  w.I16(books.TrialDecimals);
  w.I16(books.IncomeDecimals);
  w.I16(books.BalanceSheetDecimals);
  w.Text(books.BusinessName);
  w.Text(books.BusinessAddress);
  w.Raw(ScramblePassword(IsValidUtf8(books.FilePassword) ? books.FilePassword
                                                         : SanitizeUtf8(books.FilePassword)));
  w.Text(books.AdminPassword);
  w.Text(books.FontName);
  w.I16(books.FontCharset);
  w.I32(books.ReservedLong);
  w.I16(books.ReservedInteger);
  out.Flush();

  const char tail[4] = {static_cast<char>(crc), static_cast<char>(crc >> 8),
                        static_cast<char>(crc >> 16), static_cast<char>(crc >> 24)};
  consumer(std::string_view(tail, 4));
}

namespace {

// The book file's header: nothing when the magic and the version are those of layout 6,
// else why the file is refused.
std::optional<std::string> HeaderFault(ByteSource& source) {
  source.Ensure(kHeaderBytes);
  const std::string_view head = source.Window().substr(0, kHeaderBytes);
  if (head.size() < kAccMagic.size() || head.substr(0, kAccMagic.size()) != kAccMagic)
    return "This file is not a book file of this program.";
  if (head.size() < kHeaderBytes) return "The book file ends before its layout version.";
  uint32_t version = 0;
  for (std::size_t i = 0; i < 4; ++i)
    version |= uint32_t(static_cast<uint8_t>(head[kAccMagic.size() + i])) << (8 * i);
  if (version != kAccLayoutVersion) return VersionMessage(version);
  if (source.Size() < kHeaderBytes + kChecksumBytes)
    return "The book file is incomplete: it ends after its layout version.";
  return std::nullopt;
}

}  // namespace

BookReadResult ReadAccBook(ByteSource& source, DaySerial today, const ProgressFn& progress) {
  BookReadResult result;
  try {
    // Every byte but the checksum's own four is summed as it comes in.
    source.KeepChecksum(source.Size() >= kChecksumBytes ? source.Size() - kChecksumBytes : 0);
    if (auto fault = HeaderFault(source)) return DataMismatch(std::move(*fault));
    source.Skip(kHeaderBytes);
    const uint64_t bodyEnd = source.Size() - kChecksumBytes;
    Books book;
    std::optional<std::string> fault;
    try {
      AccReader in(source, bodyEnd);
      ReadBody(in, book, progress);
    } catch (const AccFault& f) {
      fault = f.message;
    }
    // The checksum is judged before what was read, so that a damaged file is called damaged
    // whatever part of it the damage hit.
    std::optional<uint32_t> stored;
    if (source.SkipTo(bodyEnd) && source.Ensure(kChecksumBytes)) {
      const auto* p = reinterpret_cast<const unsigned char*>(source.Window().data());
      stored = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    }
    if (!stored || source.Checksum() != stored)
      return DataMismatch(
          "The book file is damaged or incomplete: its checksum does not match its contents.");
    if (fault) return DataMismatch(std::move(*fault));
    if (const auto broken = FinishReadBook(book, today)) {
      const bool journal = broken->Group < 0;
      const auto& lines = journal ? book.PostingLines
                                  : book.PreparedGroups[static_cast<std::size_t>(broken->Group)];
      const std::string where =
          journal ? "Posting line"
                  : "Prepared group " + std::to_string(broken->Group + 1) + ", line";
      return DataMismatch(JournalFaultMessage(broken->Fault, lines, where,
                                              journal ? "posting line" : "line",
                                              [](int32_t index) { return int64_t{index} + 1; }));
    }
    result.Book = std::move(book);
  } catch (const std::bad_alloc&) {
    result = BookReadResult{};
    result.ErrorCode = kErrOutOfMemory;
    result.Message = "There is not enough memory to read the book file.";
  }
  return result;
}

BookReadResult ParseAccBook(std::string_view bytes, DaySerial today, const ProgressFn& progress) {
  ByteSource source(bytes);
  return ReadAccBook(source, today, progress);
}

}  // namespace qv
