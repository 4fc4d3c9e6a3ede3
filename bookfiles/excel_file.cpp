#include "bookfiles/excel_file.h"

#include <iconv.h>
#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <new>
#include <optional>
#include <unordered_map>

#include "books/module_procedures.h"
#include "platform/file_io.h"
#include "platform/utf8.h"

namespace qv {
namespace {

// Record numbers of the BIFF2 format.
constexpr uint16_t kDimensions = 0x0000;
constexpr uint16_t kInteger = 0x0002;
constexpr uint16_t kNumber = 0x0003;
constexpr uint16_t kLabel = 0x0004;
constexpr uint16_t kBof = 0x0009;
constexpr uint16_t kEof = 0x000A;
constexpr uint16_t kHeader = 0x0014;
constexpr uint16_t kFooter = 0x0015;
constexpr uint16_t kColWidth = 0x0024;
constexpr uint16_t kPrintGridLines = 0x002B;
constexpr uint16_t kFont = 0x0031;
constexpr uint16_t kCodePage = 0x0042;
constexpr uint16_t kXf = 0x0043;
// BOF: the BIFF version and the kind of sheet (a worksheet).
constexpr uint16_t kBiff2Version = 0x0002;
constexpr uint16_t kWorksheet = 0x0010;

// How a staged record carries its text.
enum TextForm : uint8_t {
  kNoText = 0,
  kCountedText = 1,       // a length byte, then the bytes
  kHeaderFooterText = 2,  // as kCountedText, but an empty text leaves the record empty
  kAlreadyCut = 0x80,     // added to the form: the text was cut (and counted) when written
};
// No text of the format is longer than this many characters; longer ones are cut to it
// when staged, and to the format's byte limit when the file is closed.
constexpr std::size_t kStagedTextChars = 1024;

void PutU8(std::string& out, uint8_t v) { out.push_back(static_cast<char>(v)); }
void PutU16(std::string& out, uint16_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>(v >> 8));
}
void PutU32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void PutF64(std::string& out, double v) {
  const auto bits = std::bit_cast<uint64_t>(v);
  for (int i = 0; i < 8; ++i) out.push_back(static_cast<char>((bits >> (8 * i)) & 0xFF));
}

uint16_t GetU16(std::string_view in, std::size_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(in[at]) |
                               (static_cast<uint8_t>(in[at + 1]) << 8));
}
uint32_t GetU32(std::string_view in, std::size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i)
    v = (v << 8) | static_cast<uint8_t>(in[at + static_cast<std::size_t>(i)]);
  return v;
}

// The code point at `at` of well-formed UTF-8; moves past it.
char32_t NextCodePoint(std::string_view text, std::size_t& at) {
  const Utf8Char c = DecodeUtf8At(text, at);
  at += c.Length;
  return static_cast<char32_t>(c.CodePoint);
}

// Windows code page 1252, bytes 0x80 to 0x9F (0 = no character); 0xA0 to 0xFF are the
// Latin-1 characters of the same number.
constexpr std::array<char32_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

std::string Cp1252Bytes(char32_t cp) {
  if (cp >= 0xA0 && cp <= 0xFF) return std::string(1, static_cast<char>(cp));
  for (std::size_t i = 0; i < kCp1252High.size(); ++i)
    if (kCp1252High[i] == cp && cp != 0) return std::string(1, static_cast<char>(0x80 + i));
  return {};
}

// The code pages tried, in order: Western first (the one most readers expect), then the
// other Windows single-byte pages, then the double-byte East Asian ones.
constexpr std::array<int, 13> kCodePages = {1252, 1250, 1251, 1253, 1254, 1257, 1255,
                                            1256, 874,  932,  936,  949,  950};

// The bytes of each character in one code page; a character missing from the map has none.
class CodePageTable {
 public:
  CodePageTable(int codePage, const std::map<char32_t, int64_t>& characters) {
    if (codePage == 1252) {
      for (const auto& [cp, count] : characters)
        if (auto b = Cp1252Bytes(cp); !b.empty()) bytes_.emplace(cp, std::move(b));
      return;
    }
    const std::string name = "CP" + std::to_string(codePage);
    iconv_t cd = iconv_open(name.c_str(), "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return;  // the converter is not installed
    for (const auto& [cp, count] : characters) {
      std::string in;
      AppendUtf8(in, static_cast<int32_t>(cp));
      char out[8];
      char* inPtr = in.data();
      char* outPtr = out;
      std::size_t inLeft = in.size(), outLeft = sizeof out;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
      const std::size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
      // Only exact, reversible conversions of the whole character count.
      if (done == 0 && inLeft == 0 && outPtr > out)
        bytes_.emplace(cp, std::string(out, static_cast<std::size_t>(outPtr - out)));
    }
    iconv_close(cd);
  }
  const std::string* Find(char32_t cp) const {
    const auto it = bytes_.find(cp);
    return it == bytes_.end() ? nullptr : &it->second;
  }
  int64_t Covered(const std::map<char32_t, int64_t>& characters) const {
    int64_t n = 0;
    for (const auto& [cp, count] : characters)
      if (bytes_.count(cp)) n += count;
    return n;
  }

 private:
  std::unordered_map<char32_t, std::string> bytes_;
};

// "&" starts a field code in page headers and footers; "&&" prints one "&".
std::string HeaderText(std::string_view text) {
  std::string out;
  for (char c : text) {
    out.push_back(c);
    if (c == '&') out.push_back('&');
  }
  return out;
}

// Text for a label cell from a number.
std::string NumberText(const ExcelValue& value) {
  if (const auto* i = std::get_if<int64_t>(&value)) return std::to_string(*i);
  const double d = std::get<double>(value);
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, d);
  return std::string(buf, r.ptr);
}

// A number from a cell value; nothing for a text that is not a plain number or a value
// that is not finite.
std::optional<double> NumberOf(const ExcelValue& value) {
  if (const auto* i = std::get_if<int64_t>(&value)) return static_cast<double>(*i);
  if (const auto* d = std::get_if<double>(&value))
    return std::isfinite(*d) ? std::optional<double>(*d) : std::nullopt;
  std::string_view text = std::get<std::string>(value);
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double d = 0;
  const auto r = std::from_chars(text.data(), text.data() + text.size(), d);
  if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size() ||
      !std::isfinite(d))
    return std::nullopt;
  return d;
}

}  // namespace

ExcelFile::ExcelFile() = default;
ExcelFile::~ExcelFile() = default;

void ExcelFile::Reset() {
  writer_.reset();
  preamble_.clear();
  cells_.clear();
  wideCharacters_.clear();
  xfs_.clear();
  firstRow_ = lastRow_ = firstCol_ = lastCol_ = -1;
  codePage_ = 0;
  textsCut_ = 0;
  charactersReplaced_ = 0;
  error_ = 0;
  systemError_ = 0;
}

bool ExcelFile::Ready() const { return writer_ != nullptr && error_ == 0; }

void ExcelFile::Fail(int code) {
  if (error_ == 0 && code == kErrOutOfMemory) systemError_ = ENOMEM;
  if (error_ == 0) error_ = code;
}

void ExcelFile::FailWithErrno(int err) {
  if (error_ == 0) systemError_ = err;
  Fail(FileErrorCodeFromErrno(err));
}

int ExcelFile::CreateFile(const std::string& fileName) {
  Reset();
  try {
    writer_ = std::make_unique<AtomicFileWriter>(fileName);
    if (const int err = writer_->Open()) FailWithErrno(err);
  } catch (const std::bad_alloc&) {
    Fail(kErrOutOfMemory);
  }
  return error_;
}

void ExcelFile::CountCharacters(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    if (static_cast<uint8_t>(text[at]) < 0x80) {
      ++at;
      continue;
    }
    ++wideCharacters_[NextCodePoint(text, at)];
  }
}

// A staged record: type, length and bytes of its fixed part, the text form and, with a
// text, its length and UTF-8 bytes. Texts are encoded when the file is closed, once the
// code page is chosen.
void ExcelFile::Stage(std::string& into, uint16_t type, std::string_view fixed,
                      std::optional<std::string_view> text, bool alreadyCut) {
  if (!Ready()) return;
  try {
    PutU16(into, type);
    PutU16(into, static_cast<uint16_t>(fixed.size()));
    into.append(fixed);
    if (!text) {
      PutU8(into, kNoText);
      return;
    }
    std::string clean(text->substr(0, Utf8Offset(*text, kStagedTextChars)));
    if (!IsValidUtf8(clean)) clean = SanitizeUtf8(clean);
    const bool pageText = type == kHeader || type == kFooter;
    if (pageText) clean = HeaderText(clean);
    const uint8_t form = pageText ? kHeaderFooterText : kCountedText;
    PutU8(into, static_cast<uint8_t>(form | (alreadyCut ? kAlreadyCut : 0)));
    PutU32(into, static_cast<uint32_t>(clean.size()));
    into.append(clean);
    CountCharacters(clean);
  } catch (const std::bad_alloc&) {
    Fail(kErrOutOfMemory);
  }
}

void ExcelFile::PrintGridLines(bool flag) {
  std::string fixed;
  PutU16(fixed, flag ? 1 : 0);
  Stage(preamble_, kPrintGridLines, fixed);
}

void ExcelFile::SetMargin(int marginRecord, double inches) {
  if (marginRecord < kExcelLeftMargin || marginRecord > kExcelBottomMargin) return;
  if (!std::isfinite(inches) || inches < 0) return;
  std::string fixed;
  PutF64(fixed, inches);
  Stage(preamble_, static_cast<uint16_t>(marginRecord), fixed);
}

void ExcelFile::SetFont(std::string_view fontName, int height, int attributes) {
  const int points = height < 1 ? 1 : (height > 409 ? 409 : height);
  std::string fixed;
  PutU16(fixed, static_cast<uint16_t>(points * 20));  // in twentieths of a point
  PutU16(fixed, static_cast<uint16_t>(attributes & 0x0F));
  Stage(preamble_, kFont, fixed, fontName);
}

void ExcelFile::SetColumnWidth(int firstColumn, int lastColumn, int width) {
  if (width < 0 || width > kExcelMaxColumnWidth) return;
  if (firstColumn < 1 || lastColumn < firstColumn || lastColumn > kExcelMaxColumns) return;
  std::string fixed;
  PutU8(fixed, static_cast<uint8_t>(firstColumn - 1));
  PutU8(fixed, static_cast<uint8_t>(lastColumn - 1));
  PutU16(fixed, static_cast<uint16_t>(width * 256));  // in 1/256 of a character
  Stage(preamble_, kColWidth, fixed);
}

void ExcelFile::SetHeader(std::string_view text) { Stage(preamble_, kHeader, {}, text); }

void ExcelFile::SetFooter(std::string_view text) { Stage(preamble_, kFooter, {}, text); }

int ExcelFile::XfIndex(uint8_t lock, uint8_t font, uint8_t align) {
  try {
    if (xfs_.empty()) xfs_.push_back({0, 0, 0});
    const std::array<uint8_t, 3> key = {lock, font, align};
    for (std::size_t i = 0; i < xfs_.size(); ++i)
      if (xfs_[i] == key) return static_cast<int>(i);
    // 2 locks x 4 fonts x 5 alignments never reach index 63, which the format reserves.
    xfs_.push_back(key);
    return static_cast<int>(xfs_.size() - 1);
  } catch (const std::bad_alloc&) {
    Fail(kErrOutOfMemory);
    return -1;
  }
}

ExcelCellOutcome ExcelFile::WriteValue(int valueType, int fontByte, int alignByte, int lockByte,
                                       int32_t row, int32_t col, const ExcelValue& value) {
  if (!Ready()) return ExcelCellOutcome::kNotWritten;
  if (row < 1 || row > kExcelMaxRows || col < 1 || col > kExcelMaxColumns)
    return ExcelCellOutcome::kNotWritten;
  std::string fixed;
  PutU16(fixed, static_cast<uint16_t>(row - 1));
  PutU16(fixed, static_cast<uint16_t>(col - 1));
  // Only the bits that carry the lock, the font and the alignment (general, left, centred,
  // right or fill; anything else reads as general). The same attributes are also named
  // through an XF record, which spreadsheet programs read in preference.
  const auto lock = static_cast<uint8_t>(lockByte & 0x40);
  const auto font = static_cast<uint8_t>(fontByte & 0xC0);
  const auto align = static_cast<uint8_t>((alignByte & 0xFF) <= 4 ? alignByte : 0);
  const int xf = XfIndex(lock, font, align);
  if (xf < 0) return ExcelCellOutcome::kNotWritten;
  PutU8(fixed, static_cast<uint8_t>(lock | xf));
  PutU8(fixed, font);
  PutU8(fixed, align);

  ExcelCellOutcome outcome = ExcelCellOutcome::kWritten;
  uint16_t type = 0;
  std::string numberText;
  std::optional<std::string_view> text;
  switch (valueType) {
    case kExcelLabel: {
      if (const auto* s = std::get_if<std::string>(&value)) {
        text = *s;
      } else {
        numberText = NumberText(value);
        text = numberText;
      }
      const std::size_t end = Utf8Offset(*text, kExcelMaxLabelChars);
      if (end < text->size()) {
        text = text->substr(0, end);
        outcome = ExcelCellOutcome::kTextCut;
        ++textsCut_;
      }
      type = kLabel;
      break;
    }
    case kExcelInteger:
    case kExcelNumber: {
      const std::optional<double> number = NumberOf(value);
      if (!number) return ExcelCellOutcome::kNotWritten;
      // The integer record holds 0 to 65535 only; any other value keeps its worth as a
      // number cell.
      if (valueType == kExcelInteger && *number >= 0 && *number <= 65535 &&
          *number == std::floor(*number)) {
        type = kInteger;
        PutU16(fixed, static_cast<uint16_t>(*number));
      } else {
        type = kNumber;
        PutF64(fixed, *number);
      }
      break;
    }
    default: return ExcelCellOutcome::kNotWritten;
  }
  Stage(cells_, type, fixed, text, outcome == ExcelCellOutcome::kTextCut);
  if (error_ != 0) return ExcelCellOutcome::kNotWritten;
  const int32_t r = row - 1, c = col - 1;
  if (firstRow_ < 0 || r < firstRow_) firstRow_ = r;
  if (r > lastRow_) lastRow_ = r;
  if (firstCol_ < 0 || c < firstCol_) firstCol_ = c;
  if (c > lastCol_) lastCol_ = c;
  return outcome;
}

int ExcelFile::CloseFile() {
  if (!writer_) return error_ != 0 ? error_ : FileErrorCodeFromErrno(EBADF);
  if (error_ != 0) {
    writer_.reset();  // discards the temporary file
    return error_;
  }
  try {
    // Choose the code page that holds the most of the sheet's characters, the first in
    // the list on a tie (so 1252 when every character fits it).
    int64_t total = 0;
    for (const auto& [cp, count] : wideCharacters_) total += count;
    std::unique_ptr<CodePageTable> best;
    int bestPage = kCodePages[0];
    int64_t bestCovered = -1;
    for (int page : kCodePages) {
      auto table = std::make_unique<CodePageTable>(page, wideCharacters_);
      const int64_t covered = table->Covered(wideCharacters_);
      if (covered > bestCovered) {
        bestCovered = covered;
        bestPage = page;
        best = std::move(table);
      }
      if (covered == total) break;
    }
    codePage_ = bestPage;

    AtomicFileWriter& out = *writer_;
    std::string record;
    auto emit = [&](uint16_t type, std::string_view data) {
      record.clear();
      PutU16(record, type);
      PutU16(record, static_cast<uint16_t>(data.size()));
      record.append(data);
      out.Write(record);
    };
    std::string data;
    PutU16(data, kBiff2Version);
    PutU16(data, kWorksheet);
    emit(kBof, data);
    data.clear();
    PutU16(data, static_cast<uint16_t>(codePage_));
    emit(kCodePage, data);

    std::string encoded;
    auto replay = [&](std::string_view staged) {
      for (std::size_t at = 0; at < staged.size();) {
        const uint16_t type = GetU16(staged, at);
        const uint16_t fixedLength = GetU16(staged, at + 2);
        at += 4;
        data.assign(staged.substr(at, fixedLength));
        at += fixedLength;
        const auto flags = static_cast<uint8_t>(staged[at++]);
        const auto form = static_cast<uint8_t>(flags & ~kAlreadyCut);
        if (form != kNoText) {
          const uint32_t length = GetU32(staged, at);
          at += 4;
          const std::string_view text = staged.substr(at, length);
          at += length;
          encoded.clear();
          bool cut = false;
          for (std::size_t i = 0; i < text.size() && !cut;) {
            std::string_view piece;
            char ascii = 0;
            if (static_cast<uint8_t>(text[i]) < 0x80) {
              ascii = text[i++];
              piece = std::string_view(&ascii, 1);
            } else if (const std::string* bytes = best->Find(NextCodePoint(text, i))) {
              piece = *bytes;
            } else {
              piece = "?";
              ++charactersReplaced_;
            }
            cut = encoded.size() + piece.size() > kExcelMaxTextBytes;
            if (!cut) encoded.append(piece);
          }
          if (cut && !(flags & kAlreadyCut)) ++textsCut_;
          if (!(form == kHeaderFooterText && encoded.empty())) {
            PutU8(data, static_cast<uint8_t>(encoded.size()));
            data.append(encoded);
          }
        }
        emit(type, data);
      }
    };
    replay(preamble_);
    // One XF record for every combination of lock, font and alignment the cells use; XF 0
    // is the plain one.
    for (const std::array<uint8_t, 3>& x : xfs_) {
      data.clear();
      PutU8(data, static_cast<uint8_t>(x[1] >> 6));  // the font number
      PutU8(data, 0);
      PutU8(data, x[0]);  // locked; number format 0 (general)
      PutU8(data, x[2]);  // alignment
      emit(kXf, data);
    }
    data.clear();
    // The used range: first row, last row + 1, first column, last column + 1. A sheet
    // whose last row is 65536 cannot say "65537" in 16 bits and says 65535.
    const bool empty = firstRow_ < 0;
    PutU16(data, static_cast<uint16_t>(empty ? 0 : firstRow_));
    PutU16(data, static_cast<uint16_t>(empty ? 0 : std::min<int32_t>(lastRow_ + 1, 0xFFFF)));
    PutU16(data, static_cast<uint16_t>(empty ? 0 : firstCol_));
    PutU16(data, static_cast<uint16_t>(empty ? 0 : lastCol_ + 1));
    emit(kDimensions, data);
    replay(cells_);
    emit(kEof, {});
    if (const int err = out.Commit()) FailWithErrno(err);
  } catch (const std::bad_alloc&) {
    Fail(kErrOutOfMemory);
  }
  writer_.reset();
  preamble_.clear();
  preamble_.shrink_to_fit();
  cells_.clear();
  cells_.shrink_to_fit();
  return error_;
}

}  // namespace qv
