#include "bookfiles/acc_file.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <new>
#include <utility>

#include "books/module_procedures.h"
#include "platform/utf8.h"

namespace qv {
namespace {

// ---- CRC-32, eight bytes a step ("slicing by eight").

using CrcTables = std::array<std::array<uint32_t, 256>, 8>;

constexpr CrcTables MakeCrcTables() {
  CrcTables t{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    t[0][i] = c;
  }
  for (uint32_t i = 0; i < 256; ++i)
    for (std::size_t s = 1; s < 8; ++s) t[s][i] = (t[s - 1][i] >> 8) ^ t[0][t[s - 1][i] & 0xFF];
  return t;
}

constexpr CrcTables kCrc = MakeCrcTables();

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
  int64_t index = -1;
  std::string Text() const {
    std::string s(field);
    if (!item.empty()) s += " of " + std::string(item);
    if (index >= 0) s += " " + std::to_string(index);
    return s;
  }
};

class AccReader {
 public:
  explicit AccReader(std::string_view body) : p_(body.data()), end_(body.data() + body.size()) {}

  std::size_t Left() const { return static_cast<std::size_t>(end_ - p_); }

  void Need(std::size_t n, const Where& where) {
    if (Left() < n) Fail("The book file ends in the middle of the " + where.Text() + ".");
  }
  uint64_t Bytes(int n, const Where& where) {
    Need(static_cast<std::size_t>(n), where);
    uint64_t v = 0;
    for (int i = 0; i < n; ++i) v |= uint64_t(static_cast<uint8_t>(p_[i])) << (8 * i);
    p_ += n;
    return v;
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
    const uint32_t n = U32(Where{"count of", list});
    if (n > limit)
      Fail("The book file gives " + std::to_string(n) + " " + std::string(list) +
           ", more than the " + std::to_string(limit) + " a book can hold.");
    if (uint64_t(n) * minBytes > Left())
      Fail("The book file gives " + std::to_string(n) + " " + std::string(list) +
           ", more than the rest of the file can hold.");
    return n;
  }

  // A byte length, then that many bytes.
  std::string_view Chunk(const Where& where, std::size_t limit) {
    const uint32_t n = U32(where);
    if (n > limit)
      Fail("The " + where.Text() + " is " + std::to_string(n) +
           " bytes long, more than the limit of " + std::to_string(limit) + ".");
    Need(n, where);
    const std::string_view s(p_, n);
    p_ += n;
    return s;
  }

  std::string Text(const Where& where) {
    const std::string_view s = Chunk(where, kMaxTextBytes);
    if (!IsValidUtf8(s)) Fail("The " + where.Text() + " is not valid UTF-8 text.");
    return std::string(s);
  }

  template <std::size_t N>
  FixedText<N> Fixed(const Where& where) {
    const std::string_view s = Chunk(where, 4 * N);
    if (!IsValidUtf8(s)) Fail("The " + where.Text() + " is not valid UTF-8 text.");
    if (Utf8Length(s) > N)
      Fail("The " + where.Text() + " is longer than " + std::to_string(N) + " characters.");
    return FixedText<N>(s);
  }

  PostingLine Line(std::string_view item, int64_t index) {
    PostingLine line;
    const double date = F64({"date", item, index});
    if (!std::isfinite(date) || date != std::floor(date) || date < kMinDaySerial ||
        date > kMaxDaySerial)
      Fail("The date of " + Where{item, {}, index}.Text() +
           " is not a whole day between the years 100 and 9999.");
    line.LineDate = static_cast<DaySerial>(date);
    line.Side = U8({"side", item, index});
    if (line.Side != kDebit && line.Side != kCredit)
      Fail("The side of " + Where{item, {}, index}.Text() + " is " + std::to_string(line.Side) +
           "; it must be 1 (debit) or 2 (credit).");
    line.LineFolio = Folio::FromRaw(I64({"folio", item, index}));
    line.Amount = Amount::FromRaw(I64({"amount", item, index}));
    line.Notes = Text({"notes", item, index});
    line.Reconciled = U8({"reconciled mark", item, index});
    return line;
  }

 private:
  const char* p_;
  const char* end_;
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
  book.PostingLines.reserve(lineCount);
  for (std::size_t i = 0; i < lineCount; ++i) {
    book.PostingLines.push_back(in.Line("posting line", static_cast<int64_t>(i)));
    ticker.At(static_cast<int64_t>(i + 1));
  }
  const std::size_t numberCount = in.Count("entry numbers", 4, kMaxPostingLines);
  if (numberCount != lineCount)
    Fail("The book file gives " + std::to_string(numberCount) + " entry numbers for " +
         std::to_string(lineCount) + " posting lines.");
  book.EntryNumbers.reserve(numberCount);
  for (std::size_t i = 0; i < numberCount; ++i)
    book.EntryNumbers.push_back(
        in.Fixed<14>({"entry number", "posting line", static_cast<int64_t>(i)}));

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
      target.push_back(in.Text({field, "account", static_cast<int64_t>(i)}));
  };
  texts(book.AccountNames, "name");
  sameLength("account folios", 8);
  book.AccountFolios.reserve(slots);
  for (std::size_t i = 0; i < slots; ++i)
    book.AccountFolios.push_back(
        Folio::FromRaw(in.I64({"folio", "account", static_cast<int64_t>(i)})));
  sameLength("account types", 1);
  book.AccountTypes.reserve(slots);
  for (std::size_t i = 0; i < slots; ++i) {
    const uint8_t type = in.U8({"type", "account", static_cast<int64_t>(i)});
    if (type >= kAccountTypeCount)
      Fail("Account " + std::to_string(i) + " has the type " + std::to_string(type) +
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
    for (std::size_t i = 0; i < n; ++i) group.push_back(in.Line(item, static_cast<int64_t>(i)));
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

uint32_t Crc32(std::string_view bytes, uint32_t crc) {
  crc = ~crc;
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  std::size_t n = bytes.size();
  while (n >= 8) {
    const uint32_t lo =
        crc ^ (uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
    crc = kCrc[7][lo & 0xFF] ^ kCrc[6][(lo >> 8) & 0xFF] ^ kCrc[5][(lo >> 16) & 0xFF] ^
          kCrc[4][lo >> 24] ^ kCrc[3][p[4]] ^ kCrc[2][p[5]] ^ kCrc[1][p[6]] ^ kCrc[0][p[7]];
    p += 8;
    n -= 8;
  }
  while (n-- > 0) crc = kCrc[0][(crc ^ *p++) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

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

BookReadResult ParseAccBook(std::string_view bytes, DaySerial today, const ProgressFn& progress) {
  if (bytes.size() < kAccMagic.size() || bytes.substr(0, kAccMagic.size()) != kAccMagic)
    return DataMismatch("This file is not a book file of this program.");
  if (bytes.size() < kHeaderBytes)
    return DataMismatch("The book file ends before its layout version.");
  AccReader header(bytes.substr(kAccMagic.size(), 4));
  const uint32_t version = header.U32({"layout version"});
  if (version != kAccLayoutVersion) return DataMismatch(VersionMessage(version));
  if (bytes.size() < kHeaderBytes + kChecksumBytes)
    return DataMismatch("The book file is incomplete: it ends after its layout version.");

  const std::string_view covered = bytes.substr(0, bytes.size() - kChecksumBytes);
  AccReader tail(bytes.substr(covered.size()));
  if (Crc32(covered) != tail.U32({"checksum"}))
    return DataMismatch(
        "The book file is damaged or incomplete: its checksum does not match its contents.");

  BookReadResult result;
  try {
    Books book;
    AccReader in(covered.substr(kHeaderBytes));
    ReadBody(in, book, progress);
    if (auto fault = FinishReadBook(book, today))
      return DataMismatch("The book file's journal breaks a rule. " + fault->Text);
    result.Book = std::move(book);
  } catch (const AccFault& fault) {
    return DataMismatch(fault.message);
  } catch (const std::bad_alloc&) {
    result.ErrorCode = kErrOutOfMemory;
    result.Message = "There is not enough memory to read the book file.";
  }
  return result;
}

}  // namespace qv
