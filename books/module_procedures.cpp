#include "books/module_procedures.h"

#include <cerrno>
#include <charconv>
#include <cmath>

#include "platform/number_text.h"
#include "platform/string_table.h"

namespace qv {

std::optional<int> AccountIndexOfFolio(const Books& books, Folio folio) {
  if (folio.Raw() <= 0) return std::nullopt;
  const int count = ChartAccountCount(books);
  for (int i = 0; i < count; ++i)
    if (books.AccountFolios[static_cast<std::size_t>(i)] == folio) return i;
  return std::nullopt;
}

std::string AccountNameOfFolio(const Books& books, Folio folio) {
  const auto i = AccountIndexOfFolio(books, folio);
  return i ? books.AccountNames[static_cast<std::size_t>(*i)] : std::string();
}

Folio FolioOfAccount(const Books& books, std::string_view name) {
  if (name.empty()) return Folio{};
  const int count = ChartAccountCount(books);
  for (int i = 0; i < count; ++i)
    if (books.AccountNames[static_cast<std::size_t>(i)] == name)
      return books.AccountFolios[static_cast<std::size_t>(i)];
  return Folio{};
}

Folio FolioOfAccountFor(const Books& books, std::string_view name, Folio current) {
  if (!name.empty() && AccountNameOfFolio(books, current) == name) return current;
  return FolioOfAccount(books, name);
}

Folio TruncFolio(Folio folio, int digits) {
  static constexpr int64_t kStep[] = {10000, 1000, 100, 10, 1};
  if (digits < 0) digits = 0;
  if (digits > 4) digits = 4;
  const int64_t step = kStep[digits];
  const int64_t raw = folio.Raw();
  int64_t q = raw / step;
  if (raw % step != 0 && raw < 0) --q;  // floor, towards minus infinity
  return Folio::FromRaw(q * step);
}

namespace {

// Reads unsigned digits of the given base after "&H" / "&O", ignoring blanks, as a 32-bit
// unsigned value (further digits are ignored once it would overflow).
double ReadRadix(std::string_view text, std::size_t pos, unsigned base) {
  uint64_t value = 0;
  for (; pos < text.size(); ++pos) {
    const char c = text[pos];
    if (IsBlankChar(c)) continue;
    unsigned d;
    if (c >= '0' && c <= '9')
      d = static_cast<unsigned>(c - '0');
    else if (base == 16 && c >= 'a' && c <= 'f')
      d = static_cast<unsigned>(c - 'a' + 10);
    else if (base == 16 && c >= 'A' && c <= 'F')
      d = static_cast<unsigned>(c - 'A' + 10);
    else
      break;
    if (d >= base) break;
    const uint64_t next = value * base + d;
    if (next > 0xFFFFFFFFull) break;
    value = next;
  }
  return static_cast<double>(value);
}

}  // namespace

double LeadingNumber(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && IsBlankChar(text[pos])) ++pos;
  if (pos + 1 < text.size() && text[pos] == '&') {
    const char k = text[pos + 1];
    if (k == 'H' || k == 'h') return ReadRadix(text, pos + 2, 16);
    if (k == 'O' || k == 'o') return ReadRadix(text, pos + 2, 8);
    return 0;
  }
  // Collect the number's characters without the blanks, then convert.
  std::string number;
  auto next = [&]() -> char {
    while (pos < text.size() && IsBlankChar(text[pos])) ++pos;
    return pos < text.size() ? text[pos] : '\0';
  };
  char c = next();
  if (c == '+' || c == '-') {
    number += c;
    ++pos;
  }
  bool point = false, digits = false;
  for (c = next(); c != '\0'; c = next()) {
    if (c >= '0' && c <= '9') {
      number += c;
      digits = true;
    } else if (c == '.' && !point) {
      number += c;
      point = true;
    } else {
      break;
    }
    ++pos;
  }
  if (!digits) return 0;
  if (c == 'E' || c == 'e' || c == 'D' || c == 'd') {
    ++pos;
    std::string exponent = "e";
    char s = next();
    if (s == '+' || s == '-') {
      exponent += s;
      ++pos;
    }
    bool expDigits = false;
    for (s = next(); s >= '0' && s <= '9'; s = next()) {
      exponent += s;
      expDigits = true;
      ++pos;
    }
    if (expDigits) number += exponent;
  }
  // The number is read with "." as its point whatever the locale (from_chars takes no plus
  // sign); one beyond the range of a double reads as 0.
  const char* first = number.data();
  if (*first == '+') ++first;
  double value = 0;
  const auto [end, error] = std::from_chars(first, number.data() + number.size(), value);
  if (error != std::errc() || !std::isfinite(value) || std::fabs(value) >= 1e15) return 0;
  return value;
}

std::string PlainNumberText(double value) {
  if (value == 0 || !std::isfinite(value)) return "0";
  const int magnitude = static_cast<int>(std::floor(std::log10(std::fabs(value))));
  int decimals = 14 - magnitude;
  if (decimals < 0) decimals = 0;
  if (decimals > 40) decimals = 40;
  std::string text = NumberText(value, std::chars_format::fixed, decimals);
  if (text.find('.') != std::string::npos) {
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
  }
  if (text == "-0") text = "0";
  return text;
}

std::string NextEntryNumber(const Books& books, int32_t entryFirstLine) {
  if (entryFirstLine <= 0) return "1";
  const int32_t previous = books.LastLineIndex() - 2;
  if (previous < 0 || previous >= static_cast<int32_t>(books.EntryNumbers.size())) return "1";
  const double read =
      LeadingNumber(books.EntryNumbers[static_cast<std::size_t>(previous)].TrimmedText());
  return PlainNumberText(read + 1);
}

std::string NameWithoutExtension(std::string_view path) {
  const std::size_t separator = path.find_last_of("/\\");
  const std::size_t dot = path.rfind('.');
  if (dot == std::string_view::npos) return std::string(path);
  if (separator != std::string_view::npos && dot < separator) return std::string(path);
  return std::string(path.substr(0, dot));
}

std::string WidestAccountName(const Books& books, const TextMetrics& metrics,
                              const FontSpec& font) {
  double widest = 0;
  std::size_t best = books.AccountNames.size();
  for (std::size_t i = 0; i < books.AccountNames.size(); ++i) {
    const double w = std::nearbyint(metrics.TextWidth(font, books.AccountNames[i]));
    if (w > widest) {
      widest = w;
      best = i;
    }
  }
  return best < books.AccountNames.size() ? books.AccountNames[best] : std::string();
}

std::string FileErrorText(int code) {
  switch (code) {
    case kErrOutOfMemory: return Str(309);
    case kErrDeviceIo: return Str(310);
    case kErrDiskFull: return Str(311);
    case kErrDeviceUnavailable: return Str(312);
    case kErrPermissionDenied: return Str(313);
    case kErrDiskNotReady: return Str(314);
    case kErrPathAccess: return Str(315);
    default:
      return "Opening / File Data Mismatch Error " + std::to_string(code) +
             " Please Contact Pellmoor Support";
  }
}

bool HasFileErrorText(int code) {
  switch (code) {
    case kErrOutOfMemory:
    case kErrDeviceIo:
    case kErrDiskFull:
    case kErrDeviceUnavailable:
    case kErrPermissionDenied:
    case kErrDiskNotReady:
    case kErrPathAccess: return true;
    default: return false;
  }
}

int FileErrorCodeFromErrno(int err) {
  switch (err) {
    case ENOMEM: return kErrOutOfMemory;
    case EIO: return kErrDeviceIo;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return kErrDiskFull;  // the file system or a size limit refuses more bytes
    case ENODEV:
    case ENXIO: return kErrDeviceUnavailable;
    case EBUSY:
    case ETXTBSY: return kErrPermissionDenied;
    case ENOMEDIUM: return kErrDiskNotReady;
    case EACCES:
    case EPERM:
    case EROFS: return kErrPathAccess;
    case ENOENT:
    case ENOTDIR: return kErrFileNotFound;
    default:
      // Other system errors keep their own number for the general message, unless that
      // number means something else here.
      return HasFileErrorText(err) || err == kErrFileNotFound || err == kErrDataMismatch
                 ? kErrDeviceIo
                 : err;
  }
}

}  // namespace qv
