#include "accounts/configuration.h"

#include <algorithm>

#include "accounts/chart_editor.h"
#include "books/date_styles.h"
#include "platform/string_table.h"

namespace qv {

const std::vector<CharacterSet>& CharacterSets() {
  static const std::vector<CharacterSet> sets = {
      {"Aribic", 178},
      {"Baltic", 186},
      {"Central European", 238},
      {"Cyrillic", 204},
      {"Simplified Chinese", 134},
      {"Big-5 Chinese", 136},
      {"Greek", 161},
      {"Hebrew", 177},
      {"Japanese", 128},
      {"Turkish", 162},
      {"Korea", 129},
      {"Vietnamese", 163},
      {"Thai", 222},
      {"Western", 0},
  };
  return sets;
}

std::optional<int16_t> CharsetNumberOf(std::string_view name) {
  for (const CharacterSet& set : CharacterSets())
    if (set.Name == name) return set.Number;
  return std::nullopt;
}

std::optional<std::string_view> CharsetNameOf(int number) {
  for (const CharacterSet& set : CharacterSets())
    if (set.Number == number) return set.Name;
  return std::nullopt;
}

std::vector<std::string> ListedFonts(const std::vector<FontFacts>& fonts) {
  std::vector<std::string> names;
  for (const FontFacts& font : fonts)
    if (font.ShowsAtNinePoints && !font.Symbol) names.push_back(font.Name);
  return names;
}

namespace {

// The book's setting of one kind of decimals.
template <typename B>
auto& DecimalsField(B& books, DecimalsKind kind) {
  switch (kind) {
    case DecimalsKind::Journals: return books.JournalDecimals;
    case DecimalsKind::Ledgers: return books.LedgerDecimals;
    case DecimalsKind::TrialBalance: return books.TrialDecimals;
    case DecimalsKind::IncomeStatement: return books.IncomeDecimals;
    case DecimalsKind::BalanceSheet: break;
  }
  return books.BalanceSheetDecimals;
}

bool Covers(const FontFacts& font, int16_t number) {
  return std::find(font.Charsets.begin(), font.Charsets.end(), number) != font.Charsets.end();
}

}  // namespace

std::vector<std::string> ListedCharsets(const FontFacts& font) {
  std::vector<std::string> names;
  for (const CharacterSet& set : CharacterSets())
    if (Covers(font, set.Number)) names.emplace_back(set.Name);
  return names;
}

std::optional<int16_t> ChosenFontCharset(const FontFacts& font) {
  constexpr int16_t kWestern = 0;
  if (Covers(font, kWestern)) return kWestern;
  for (const CharacterSet& set : CharacterSets())
    if (Covers(font, set.Number)) return set.Number;
  return std::nullopt;
}

std::string DecimalCaption(int places, std::string_view decimalSymbol) {
  std::string caption = "0";
  if (places > 0)
    caption += std::string(decimalSymbol) + std::string(static_cast<std::size_t>(places), '0');
  return caption;
}

std::vector<std::string> DateStyleItems(DaySerial today, const LocaleInfo& locale) {
  std::vector<std::string> items{"Default"};
  for (int style = 1; style < kDateStyleCount; ++style)
    items.push_back(FormatDateStyle(today, style, locale));
  return items;
}

HelpCard ConfigHelp(ConfigField field) {
  switch (field) {
    case ConfigField::BusinessName:
      return {Str(219), "Add bold title to printed invoices and statements..."};
    case ConfigField::BusinessAddress:
      return {Str(222),
              "Add extra details like addresses phone number and business numbers to printed "
              "invoices and statements..."};
    case ConfigField::FilePassword: return {Str(224), "Password the account file..."};
    case ConfigField::AdminPassword:
      return {Str(225),
              "Only the last ten entries can be edited and users cannot Delete or Edit the Chart "
              "of Accounts without the admin password..."};
    case ConfigField::Tracking: return {Str(227), "Generates a 'Go to' tracking number... "};
  }
  return {};
}

ConfigurationModel::ConfigurationModel(Books& books) : books_(books) {}

void ConfigurationModel::SetBusinessName(std::string_view text) { books_.BusinessName = text; }

void ConfigurationModel::SetBusinessAddress(std::string_view boxText) {
  books_.BusinessAddress = ToBookLines(WithinBookTextLimit(boxText));
}

std::string ConfigurationModel::BusinessAddressText() const {
  return ToBoxLines(books_.BusinessAddress);
}

void ConfigurationModel::SetFilePassword(std::string_view text) { books_.FilePassword = text; }

void ConfigurationModel::SetAdminPassword(std::string_view text) { books_.AdminPassword = text; }

void ConfigurationModel::SetTracking(bool on) { books_.AutoTrackingNumbers = on ? 1 : 0; }

void ConfigurationModel::SetDateStyle(int index) {
  if (index >= 0 && index < kDateStyleCount) books_.DateStyleIndex = static_cast<int16_t>(index);
}

bool ConfigurationModel::Tracking() const { return books_.AutoTrackingNumbers == 1; }

int ConfigurationModel::DateStyle() const { return EffectiveDateStyle(books_.DateStyleIndex); }

int ConfigurationModel::Decimals(DecimalsKind kind) const {
  static const Books start;
  const int places = DecimalsField(books_, kind);
  return places >= 0 && places <= 3 ? places : DecimalsField(start, kind);
}

void ConfigurationModel::SetDecimals(DecimalsKind kind, int places) {
  if (places >= 0 && places <= 3) DecimalsField(books_, kind) = static_cast<int16_t>(places);
}

void ConfigurationModel::ChooseFont(const FontFacts& font) {
  if (const std::optional<int16_t> set = ChosenFontCharset(font)) books_.FontCharset = *set;
  books_.FontName = font.Name;
}

void ConfigurationModel::ChooseCharset(std::string_view name) {
  if (const std::optional<int16_t> number = CharsetNumberOf(name)) books_.FontCharset = *number;
}

std::optional<std::string_view> ConfigurationModel::CharsetName() const {
  return CharsetNameOf(books_.FontCharset);
}

}  // namespace qv
