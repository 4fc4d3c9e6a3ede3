#include "ledgers/ledger_options.h"

#include <algorithm>

#include "books/date_styles.h"
#include "books/module_procedures.h"

namespace qv {

bool InAccount(Folio folio, const LedgerOptions& options) {
  if (options.AllAccounts || folio == options.Account) return true;
  if (!options.WithSubAccounts || options.Account.IsZero()) return false;
  return TruncFolio(options.Account, 0) == options.Account &&
         TruncFolio(folio, 0) == options.Account;
}

LedgerDates DefaultLedgerDates(const Books& books) {
  if (books.PostingLines.empty()) return {};
  LedgerDates dates{books.PostingLines.front().LineDate, books.PostingLines.front().LineDate};
  for (const PostingLine& line : books.PostingLines) {
    dates.First = std::min(dates.First, line.LineDate);
    dates.Last = std::max(dates.Last, line.LineDate);
  }
  return dates;
}

std::variant<LedgerOptions, std::string> ReadLedgerInputs(const Books& books,
                                                          const LedgerInputs& inputs,
                                                          const LocaleInfo& locale,
                                                          DaySerial today) {
  LedgerOptions options;
  options.WithSubAccounts = inputs.WithSubAccounts;
  options.HideReconciled = inputs.HideReconciled;
  const std::string_view typed = inputs.AccountText;
  if (inputs.AllowAllAccounts && (typed == kAllAccountsText || TrimText(typed).empty())) {
    options.AllAccounts = true;
  } else if (TrimText(typed).empty()) {
    return std::string("Choose an account.");
  } else {
    std::optional<int> index;
    const int count = ChartAccountCount(books);
    for (std::string_view name : {typed, TrimText(typed)}) {
      for (int j = 0; j < count && !index; ++j)
        if (books.AccountNames[static_cast<std::size_t>(j)] == name) index = j;
      if (index) break;
    }
    if (!index) return "No account named \"" + std::string(TrimText(typed)) + "\".";
    options.Account = books.AccountFolios[static_cast<std::size_t>(*index)];
    if (options.Account.IsZero())
      return "The account \"" + std::string(TrimText(typed)) + "\" has no folio number.";
  }

  const int style = books.DateStyleIndex;
  std::string from = inputs.FromText;
  std::string to = inputs.ToText;
  options.From = ParseDateStyle(from, style, locale, today);
  if (options.From == kZeroDate)
    return "The start date \"" + std::string(TrimText(inputs.FromText)) + "\" is not a date.";
  options.To = ParseDateStyle(to, style, locale, today);
  if (options.To == kZeroDate)
    return "The end date \"" + std::string(TrimText(inputs.ToText)) + "\" is not a date.";
  if (options.To < options.From) return std::string("The end date is before the start date.");
  return options;
}

AccountNameTable::AccountNameTable(const Books& books) {
  const auto count = static_cast<std::size_t>(ChartAccountCount(books));
  for (std::size_t j = 0; j < count; ++j)
    if (books.AccountFolios[j] > Folio())
      sorted_.emplace_back(books.AccountFolios[j].Raw(), books.AccountNames[j]);
  // A stable sort keeps the first account of a folio first.
  std::stable_sort(sorted_.begin(), sorted_.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
}

const std::string& AccountNameTable::NameOf(Folio folio) const {
  static const std::string none;
  const auto it =
      std::lower_bound(sorted_.begin(), sorted_.end(), folio.Raw(),
                       [](const auto& entry, int64_t key) { return entry.first < key; });
  return it != sorted_.end() && it->first == folio.Raw() ? it->second : none;
}

LedgerEntry SnapshotEntry(const Books& books, int32_t first, int32_t last) {
  LedgerEntry entry;
  entry.First = first;
  entry.Last = last;
  entry.Date = books.PostingLines[static_cast<std::size_t>(first)].LineDate;
  if (static_cast<std::size_t>(first) < books.EntryNumbers.size())
    entry.Number = books.EntryNumbers[static_cast<std::size_t>(first)].TrimmedText();
  const std::string_view notes = TrimText(books.PostingLines[static_cast<std::size_t>(last)].Notes);
  if (notes != kNoNotes) entry.Notes = notes;
  return entry;
}

}  // namespace qv
