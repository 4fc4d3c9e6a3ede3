#pragma once
// The configuration of the open book without its window: the business name and address, the
// two passwords, tracking numbers, the date style, the decimals of five kinds of report, and
// the program's font with its character set. Every change is written into the book at once;
// there is no Cancel. Nothing here reads or writes files: the settings travel with the book.
//
// Character sets are stored as the numbers the book files carry; the list offers the names
// of the fourteen sets that a font covers. Text is drawn in Unicode whatever the choice, so
// the number only travels with the book.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "books/books.h"
#include "books/day_date.h"
#include "controls/help_mode.h"
#include "platform/locale_info.h"

namespace qv {

inline constexpr const char* kConfigurationCaption = "Default Setting...";

// ---- Character sets.

struct CharacterSet {
  std::string_view Name;
  int16_t Number;
};
// The fourteen sets in the order the list shows them.
const std::vector<CharacterSet>& CharacterSets();
// The number of a set's name, or nothing for a name the table does not hold.
std::optional<int16_t> CharsetNumberOf(std::string_view name);
// The name of a set's number, or nothing for a number the table does not hold.
std::optional<std::string_view> CharsetNameOf(int number);

// ---- Fonts, as the font system describes them.

struct FontFacts {
  std::string Name;
  bool Symbol = false;            // a symbol font
  bool ShowsAtNinePoints = true;  // can be shown at 9 points
  std::vector<int16_t> Charsets;  // the numbers of the sets it covers, any order
};
// The fonts the font list offers: those that can be shown at 9 points and are no symbol
// fonts, in the order given.
std::vector<std::string> ListedFonts(const std::vector<FontFacts>& fonts);
// The names of the sets a font covers, in the table's order.
std::vector<std::string> ListedCharsets(const FontFacts& font);
// The set a newly chosen font takes: Western when it covers it, else the first it covers in
// the table's order; nothing when it covers none of the fourteen.
std::optional<int16_t> ChosenFontCharset(const FontFacts& font);

// ---- Texts of the lists.

// The caption of a decimals option: "0", "0.0", "0.00", "0.000" with the locale's decimal
// symbol.
std::string DecimalCaption(int places, std::string_view decimalSymbol);
// "Default", then `today` in the eight fixed date styles, in style order.
std::vector<std::string> DateStyleItems(DaySerial today, const LocaleInfo& locale);

// ---- The five decimals settings, in the window's order.
enum class DecimalsKind { Journals, Ledgers, TrialBalance, IncomeStatement, BalanceSheet };
inline constexpr int kDecimalsKinds = 5;

// ---- Help cards of the fields.
enum class ConfigField { BusinessName, BusinessAddress, FilePassword, AdminPassword, Tracking };
HelpCard ConfigHelp(ConfigField field);

class ConfigurationModel {
 public:
  explicit ConfigurationModel(Books& books);

  void SetBusinessName(std::string_view text);
  // The address box's text; its lines are stored separated by CR LF, cut to what a book
  // holds (WithinBookTextLimit).
  void SetBusinessAddress(std::string_view boxText);
  std::string BusinessAddressText() const;  // lines separated by LF
  void SetFilePassword(std::string_view text);
  void SetAdminPassword(std::string_view text);
  // The settings as the window shows them: tracking numbers other than 1 are off, a date
  // style outside 0 to 8 is 0, a decimals value outside 0 to 3 its start value. Showing them
  // leaves the book as it is; only the user's choice stores one.
  bool Tracking() const;
  int DateStyle() const;
  int Decimals(DecimalsKind kind) const;
  void SetTracking(bool on);
  void SetDateStyle(int index);
  void SetDecimals(DecimalsKind kind, int places);
  // A font chosen in the font list: it becomes the program's font and takes its own set.
  void ChooseFont(const FontFacts& font);
  // A set chosen by name; a name the table does not hold changes nothing.
  void ChooseCharset(std::string_view name);
  // The name the set list shows: that of FontCharset, or nothing for a number the table does
  // not hold (the list's text then stays as it was).
  std::optional<std::string_view> CharsetName() const;

  const Books& TheBooks() const { return books_; }

 private:
  Books& books_;
};

}  // namespace qv
