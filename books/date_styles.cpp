#include "books/date_styles.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <vector>

#include "platform/utf8.h"

namespace qv {
namespace {

// ---- The short-date pattern, compiled into fields and literal texts.

enum class FieldKind { Literal, Day, Month, Year, Weekday };

struct Token {
  FieldKind Kind = FieldKind::Literal;
  int Width = 0;        // letters in the field: d/dd, M/MM/MMM/MMMM, yy/yyyy, ddd/dddd
  std::string Text;     // a literal as written
  std::string Lowered;  // a literal lower-cased, for reading
};

// The fixed pattern used when a locale's own pattern cannot write a full date.
constexpr std::string_view kFallbackPattern = "yyyy-MM-dd";

void AppendLiteral(std::vector<Token>& tokens, std::string_view text) {
  if (text.empty()) return;
  if (tokens.empty() || tokens.back().Kind != FieldKind::Literal) tokens.push_back(Token{});
  tokens.back().Text.append(text);
}

void AppendField(std::vector<Token>& tokens, FieldKind kind, int width) {
  tokens.push_back(Token{kind, width, {}, {}});
}

// Splits a pattern in the window system's notation: runs of d, M and y are fields, text
// between single quotes is literal ('' is a quote), everything else is literal. Runs
// longer than a field split as the window system splits them ("ddddd" = "dddd" + "d").
std::vector<Token> Tokenize(std::string_view pattern) {
  std::vector<Token> tokens;
  std::size_t i = 0;
  while (i < pattern.size()) {
    const char c = pattern[i];
    if (c == '\'') {
      if (i + 1 < pattern.size() && pattern[i + 1] == '\'') {
        AppendLiteral(tokens, "'");
        i += 2;
        continue;
      }
      ++i;
      std::string quoted;
      while (i < pattern.size()) {
        if (pattern[i] == '\'') {
          if (i + 1 < pattern.size() && pattern[i + 1] == '\'') {
            quoted += '\'';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        quoted += pattern[i++];
      }
      AppendLiteral(tokens, quoted);
      continue;
    }
    if (c != 'd' && c != 'M' && c != 'y') {
      AppendLiteral(tokens, pattern.substr(i, 1));
      ++i;
      continue;
    }
    std::size_t run = 0;
    while (i + run < pattern.size() && pattern[i + run] == c) ++run;
    i += run;
    while (run > 0) {
      if (c == 'y') {
        if (run >= 4) {
          AppendField(tokens, FieldKind::Year, 4);
          run -= 4;
        } else if (run >= 2) {
          AppendField(tokens, FieldKind::Year, 2);
          run -= 2;
        } else {
          AppendLiteral(tokens, "y");
          run -= 1;
        }
        continue;
      }
      const int width = static_cast<int>(std::min<std::size_t>(run, 4));
      run -= static_cast<std::size_t>(width);
      if (c == 'M')
        AppendField(tokens, FieldKind::Month, width);
      else
        AppendField(tokens, width <= 2 ? FieldKind::Day : FieldKind::Weekday, width);
    }
  }
  return tokens;
}

// True when the pattern writes exactly one day, month and year (and at most one weekday),
// with some literal text between any two fields, so that what it writes can be read back.
bool IsReadablePattern(const std::vector<Token>& tokens) {
  int days = 0, months = 0, years = 0, weekdays = 0;
  bool lastWasField = false;
  for (const Token& t : tokens) {
    const bool field = t.Kind != FieldKind::Literal;
    if (field && lastWasField) return false;
    lastWasField = field;
    days += t.Kind == FieldKind::Day;
    months += t.Kind == FieldKind::Month;
    years += t.Kind == FieldKind::Year;
    weekdays += t.Kind == FieldKind::Weekday;
  }
  return days == 1 && months == 1 && years == 1 && weekdays <= 1;
}

bool IsAsciiPunct(char c) {
  return (c >= '!' && c <= '/') || (c >= ':' && c <= '@') || (c >= '[' && c <= '`') ||
         (c >= '{' && c <= '~');
}

ShortDateShape ShapeOf(const std::vector<Token>& tokens) {
  ShortDateShape shape;
  bool orderFound = false;
  bool inGap = false;  // between the first date field and the next field
  for (const Token& t : tokens) {
    if (t.Kind == FieldKind::Day || t.Kind == FieldKind::Month || t.Kind == FieldKind::Year) {
      if (orderFound) break;
      orderFound = true;
      inGap = true;
      shape.Order = t.Kind == FieldKind::Day     ? DateOrder::DayFirst
                    : t.Kind == FieldKind::Month ? DateOrder::MonthFirst
                                                 : DateOrder::YearFirst;
      continue;
    }
    if (t.Kind == FieldKind::Weekday) {
      if (inGap) break;
      continue;
    }
    if (!inGap) continue;
    // Only an ASCII punctuation mark can stand in for "/" in the fixed styles; blanks and
    // direction marks around it are ignored.
    const auto mark = std::find_if(t.Text.begin(), t.Text.end(),
                                   [](char c) { return IsAsciiPunct(c) && c != '\''; });
    if (mark != t.Text.end()) {
      shape.Separator.assign(1, *mark);
      break;
    }
  }
  return shape;
}

// The reading keys of the month and weekday names: lower-cased, and each name that ends
// in "." also without it ("jan." and "jan").
struct NameKey {
  std::string Text;
  int Value = 0;
};

void AddNameKeys(std::vector<NameKey>& keys, const std::string& name, int value) {
  if (name.empty()) return;
  std::string lowered = ToLowerText(name);
  if (lowered.size() > 1 && lowered.back() == '.')
    keys.push_back(NameKey{lowered.substr(0, lowered.size() - 1), value});
  keys.push_back(NameKey{std::move(lowered), value});
}

struct CompiledPattern {
  std::string Source;  // the pattern as the locale gives it
  bool Compiled = false;
  std::vector<Token> Tokens;
  ShortDateShape Shape;
  bool UsesNames = false;  // a month or weekday written as a name

  // The names the keys were built from, and the keys.
  std::array<std::string, 12> MonthNames, ShortMonthNames;
  std::array<std::string, 7> DayNames, ShortDayNames;
  bool NamesBuilt = false;
  std::vector<NameKey> MonthKeys, DayKeys;
};

CompiledPattern& PatternCache() {
  thread_local CompiledPattern cache;
  return cache;
}

// The compiled pattern of the locale. Compiling is cheap but not free, and windows format
// thousands of dates with one locale, so the last one is kept per thread.
const CompiledPattern& CompiledFor(const LocaleInfo& locale) {
  CompiledPattern& cache = PatternCache();
  if (cache.Compiled && cache.Source == locale.ShortDatePattern) return cache;
  cache.Source = locale.ShortDatePattern;
  cache.Tokens = Tokenize(cache.Source);
  if (!IsReadablePattern(cache.Tokens)) cache.Tokens = Tokenize(kFallbackPattern);
  for (Token& t : cache.Tokens) t.Lowered = ToLowerText(t.Text);
  cache.Shape = ShapeOf(cache.Tokens);
  cache.UsesNames = std::any_of(cache.Tokens.begin(), cache.Tokens.end(), [](const Token& t) {
    return t.Kind == FieldKind::Weekday || (t.Kind == FieldKind::Month && t.Width >= 3);
  });
  cache.NamesBuilt = false;
  cache.Compiled = true;
  return cache;
}

// The compiled pattern with the reading keys of the locale's names, for reading style 0.
// Only reading needs the keys, so only reading pays for checking that the names are the
// ones they were built from.
const CompiledPattern& CompiledWithNamesFor(const LocaleInfo& locale) {
  CompiledFor(locale);
  CompiledPattern& cache = PatternCache();
  if (!cache.UsesNames ||
      (cache.NamesBuilt && cache.MonthNames == locale.MonthNames &&
       cache.ShortMonthNames == locale.ShortMonthNames && cache.DayNames == locale.DayNames &&
       cache.ShortDayNames == locale.ShortDayNames))
    return cache;
  cache.MonthNames = locale.MonthNames;
  cache.ShortMonthNames = locale.ShortMonthNames;
  cache.DayNames = locale.DayNames;
  cache.ShortDayNames = locale.ShortDayNames;
  cache.MonthKeys.clear();
  cache.DayKeys.clear();
  for (std::size_t m = 0; m < 12; ++m) {
    AddNameKeys(cache.MonthKeys, locale.MonthNames[m], static_cast<int>(m) + 1);
    AddNameKeys(cache.MonthKeys, locale.ShortMonthNames[m], static_cast<int>(m) + 1);
  }
  for (std::size_t d = 0; d < 7; ++d) {
    AddNameKeys(cache.DayKeys, locale.DayNames[d], static_cast<int>(d) + 1);
    AddNameKeys(cache.DayKeys, locale.ShortDayNames[d], static_cast<int>(d) + 1);
  }
  cache.NamesBuilt = true;
  return cache;
}

// ---- Writing.

// Writes a non-negative value with at least `minDigits` (at most 4) digits at `out` and
// returns the end. Dates are written into small buffers: they are written by the
// thousand, and the tests run them unoptimised.
char* WriteDigits(char* out, int value, int minDigits) {
  char digits[12];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value > 0 && n < 10);
  while (n < minDigits && n < 10) digits[n++] = '0';
  while (n > 0) *out++ = digits[--n];
  return out;
}

void AppendDigits(std::string& out, int value, int minDigits) {
  char buffer[12];
  out.append(buffer, WriteDigits(buffer, value, minDigits));
}

struct FixedStyle {
  bool DayFirst;
  bool FourDigitYear;
  bool Slash;  // "/" (the locale's separator) rather than "-"
};

// Styles 1 to 8, index = style - 1.
constexpr std::array<FixedStyle, 8> kFixedStyles = {{
    {true, false, true},
    {true, true, true},
    {true, false, false},
    {true, true, false},
    {false, false, true},
    {false, true, true},
    {false, false, false},
    {false, true, false},
}};

std::string FormatFixed(const CalendarDate& d, const FixedStyle& style, char separator) {
  const char sep = style.Slash ? separator : '-';
  char buffer[16];
  char* p = WriteDigits(buffer, style.DayFirst ? d.Day : d.Month, 2);
  *p++ = sep;
  p = WriteDigits(p, style.DayFirst ? d.Month : d.Day, 2);
  *p++ = sep;
  p = style.FourDigitYear ? WriteDigits(p, d.Year, 4) : WriteDigits(p, d.Year % 100, 2);
  return std::string(buffer, p);
}

std::string FormatPattern(DaySerial date, const CalendarDate& d, const CompiledPattern& pattern,
                          const LocaleInfo& locale) {
  std::string out;
  for (const Token& t : pattern.Tokens) {
    switch (t.Kind) {
      case FieldKind::Literal: out += t.Text; break;
      case FieldKind::Day: AppendDigits(out, d.Day, t.Width); break;
      case FieldKind::Month:
        if (t.Width == 3)
          out += locale.ShortMonthNames[d.Month - 1];
        else if (t.Width == 4)
          out += locale.MonthNames[d.Month - 1];
        else
          AppendDigits(out, d.Month, t.Width);
        break;
      case FieldKind::Year:
        if (t.Width == 4)
          AppendDigits(out, d.Year, 4);
        else
          AppendDigits(out, d.Year % 100, 2);
        break;
      case FieldKind::Weekday: {
        const int w = WeekdayOf(date) - 1;
        out += t.Width == 3 ? locale.ShortDayNames[w] : locale.DayNames[w];
        break;
      }
    }
  }
  return out;
}

// ---- Reading.

// A run of ASCII digits at `pos`; nothing read when there is none or it is too long.
struct Number {
  int Value = 0;
  int Digits = 0;
};

Number ReadDigits(std::string_view text, std::size_t& pos, int maxDigits) {
  Number n;
  const char* p = text.data() + pos;
  const char* const end = text.data() + text.size();
  while (p != end && *p >= '0' && *p <= '9') {
    if (n.Digits == maxDigits) return Number{};
    n.Value = n.Value * 10 + (*p - '0');
    ++n.Digits;
    ++p;
  }
  pos = static_cast<std::size_t>(p - text.data());
  return n;
}

// The full year of a typed year: one or two digits are completed to the nearest year,
// four are taken as written; 0 for any other length.
int FullYear(const Number& n, int currentYear) {
  if (n.Digits == 1 || n.Digits == 2) return NearestYear(n.Value, currentYear);
  if (n.Digits == 4) return n.Value;
  return 0;
}

int CurrentYearOf(DaySerial today) {
  return DateOf(std::clamp(today, kMinDaySerial, kMaxDaySerial)).Year;
}

DaySerial SerialOrZero(int year, int month, int day) {
  return SerialOf(year, month, day).value_or(kZeroDate);
}

void SkipBlanks(std::string_view text, std::size_t& pos) {
  const char* p = text.data();
  const std::size_t size = text.size();
  while (pos < size && (p[pos] == ' ' || p[pos] == '\t')) ++pos;
}

// Styles 1 to 8: three numbers in the style's order, each pair separated by "/", "-" or
// the locale's separator, blanks allowed around them.
DaySerial ReadFixed(std::string_view text, const FixedStyle& style, char localeSeparator,
                    int currentYear) {
  std::size_t pos = 0;
  const auto separator = [&]() {
    SkipBlanks(text, pos);
    if (pos >= text.size()) return false;
    const char c = text.data()[pos];
    if (c != '/' && c != '-' && c != localeSeparator) return false;
    ++pos;
    SkipBlanks(text, pos);
    return true;
  };
  SkipBlanks(text, pos);
  const Number first = ReadDigits(text, pos, 2);
  if (first.Digits == 0 || !separator()) return kZeroDate;
  const Number second = ReadDigits(text, pos, 2);
  if (second.Digits == 0 || !separator()) return kZeroDate;
  const Number year = ReadDigits(text, pos, 4);
  SkipBlanks(text, pos);
  if (pos != text.size()) return kZeroDate;
  const int fullYear = FullYear(year, currentYear);
  if (fullYear == 0) return kZeroDate;
  return style.DayFirst ? SerialOrZero(fullYear, second.Value, first.Value)
                        : SerialOrZero(fullYear, first.Value, second.Value);
}

// The byte length of a character that may stand between the fields of a typed date
// (ASCII blanks and punctuation, no-break and thin spaces, direction marks), or 0.
std::size_t SkippableLength(std::string_view text, std::size_t pos) {
  const auto b = static_cast<unsigned char>(text[pos]);
  if (b < 0x80) {
    const bool alnum = (b >= '0' && b <= '9') || (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z');
    return alnum ? 0 : 1;
  }
  const std::string_view rest = text.substr(pos);
  if (rest.starts_with("\xC2\xA0") || rest.starts_with("\xD8\x9C")) return 2;  // U+00A0, U+061C
  if (rest.size() >= 3 && b == 0xE2 && static_cast<unsigned char>(rest[1]) == 0x80) {
    const auto b2 = static_cast<unsigned char>(rest[2]);
    if (b2 <= 0x8F || b2 == 0xAF) return 3;  // U+2000..U+200F spaces and marks, U+202F
  }
  if (rest.starts_with("\xE3\x80\x80")) return 3;  // ideographic space
  return 0;
}

void SkipSkippable(std::string_view text, std::size_t& pos) {
  while (pos < text.size()) {
    const std::size_t n = SkippableLength(text, pos);
    if (n == 0) return;
    pos += n;
  }
}

// The longest key that the text continues with at `pos`; 0 when none.
int ReadName(std::string_view text, std::size_t& pos, const std::vector<NameKey>& keys) {
  const std::string_view rest = text.substr(pos);
  const NameKey* best = nullptr;
  for (const NameKey& k : keys)
    if (rest.starts_with(k.Text) && (best == nullptr || k.Text.size() > best->Text.size()))
      best = &k;
  if (best == nullptr) return 0;
  pos += best->Text.size();
  return best->Value;
}

// Letters of a literal ("г" in "d.MM.yy 'г'.") are matched when the text has them and
// skipped when it does not; punctuation and blanks of the literal match any run of
// punctuation and blanks.
void ReadLiteral(std::string_view text, std::size_t& pos, std::string_view literal) {
  SkipSkippable(text, pos);
  std::size_t i = 0;
  while (i < literal.size()) {
    const std::size_t skip = SkippableLength(literal, i);
    if (skip > 0) {
      i += skip;
      continue;
    }
    std::size_t end = i + 1;
    while (end < literal.size() && SkippableLength(literal, end) == 0) ++end;
    const std::string_view word = literal.substr(i, end - i);
    if (text.substr(pos).starts_with(word)) pos += word.size();
    SkipSkippable(text, pos);
    i = end;
  }
}

// Style 0: the fields of the locale's pattern in its order. The text is lower-cased.
DaySerial ReadPattern(std::string_view text, const CompiledPattern& pattern, int currentYear) {
  int day = 0, month = 0, year = 0;
  std::size_t pos = 0;
  SkipSkippable(text, pos);
  for (const Token& t : pattern.Tokens) {
    if (t.Kind == FieldKind::Literal) {
      ReadLiteral(text, pos, t.Lowered);
      continue;
    }
    SkipSkippable(text, pos);
    switch (t.Kind) {
      case FieldKind::Day:
        day = ReadDigits(text, pos, 2).Value;
        if (day == 0) return kZeroDate;
        break;
      case FieldKind::Month:
        month = t.Width >= 3 ? ReadName(text, pos, pattern.MonthKeys) : 0;
        if (month == 0) month = ReadDigits(text, pos, 2).Value;
        if (month == 0) return kZeroDate;
        break;
      case FieldKind::Year:
        year = FullYear(ReadDigits(text, pos, 4), currentYear);
        if (year == 0) return kZeroDate;
        break;
      case FieldKind::Weekday:
        if (ReadName(text, pos, pattern.DayKeys) == 0) return kZeroDate;
        break;
      case FieldKind::Literal: break;
    }
  }
  SkipSkippable(text, pos);
  if (pos != text.size()) return kZeroDate;
  return SerialOrZero(year, month, day);
}

bool NeedsLowering(std::string_view text) {
  return std::any_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) >= 'A'; });
}

}  // namespace

ShortDateShape ShapeOfShortDate(const LocaleInfo& locale) { return CompiledFor(locale).Shape; }

int NearestYear(int twoDigitYear, int currentYear) {
  const int yy = ((twoDigitYear % 100) + 100) % 100;
  const int first = currentYear - 50;
  const int firstCentury = first - ((first % 100) + 100) % 100;
  const int year = firstCentury + yy;
  return year < first ? year + 100 : year;
}

std::string FormatDateStyle(DaySerial date, int style, const LocaleInfo& locale) {
  if (!IsValidSerial(date)) return {};
  const CalendarDate d = DateOf(date);
  const CompiledPattern& pattern = CompiledFor(locale);
  style = EffectiveDateStyle(style);
  if (style == kSystemShortDate) return FormatPattern(date, d, pattern, locale);
  return FormatFixed(d, kFixedStyles[static_cast<std::size_t>(style - 1)],
                     pattern.Shape.Separator[0]);
}

DaySerial ParseDateStyle(std::string& text, int style, const LocaleInfo& locale, DaySerial today) {
  const CompiledPattern& pattern = CompiledFor(locale);
  const char separator = pattern.Shape.Separator[0];
  if (pattern.Shape.Order != DateOrder::YearFirst) {
    char* const p = text.data();
    for (std::size_t i = 0, n = text.size(); i < n; ++i)
      if (p[i] == '/' || p[i] == '-') p[i] = separator;
  }
  const int currentYear = CurrentYearOf(today);
  style = EffectiveDateStyle(style);
  if (style != kSystemShortDate)
    return ReadFixed(text, kFixedStyles[static_cast<std::size_t>(style - 1)], separator,
                     currentYear);
  const CompiledPattern& named = CompiledWithNamesFor(locale);
  if (!NeedsLowering(text)) return ReadPattern(text, named, currentYear);
  return ReadPattern(ToLowerText(text), named, currentYear);
}

int DefaultDateStyle(const LocaleInfo& locale) {
  if (ShapeOfShortDate(locale).Order == DateOrder::YearFirst) return kSystemShortDate;
  const std::string text = FormatDateStyle(1, kSystemShortDate, locale);
  if (Utf8Length(text) <= 10) return kSystemShortDate;
  return text[0] == '3' ? kDdMmYyyySlash : kMmDdYyyySlash;
}

std::string LongDateText(DaySerial date, const LocaleInfo& locale, bool twoDigitDay) {
  if (!IsValidSerial(date)) return {};
  const CalendarDate d = DateOf(date);
  std::string out;
  AppendDigits(out, d.Day, twoDigitDay ? 2 : 1);
  out += ' ';
  out += locale.MonthNames[static_cast<std::size_t>(d.Month - 1)];
  out += ' ';
  AppendDigits(out, d.Year, 4);
  return out;
}

}  // namespace qv
