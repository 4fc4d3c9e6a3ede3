#include "ledgers/ledger_sheets.h"

#include <algorithm>

#include "books/amount.h"
#include "books/date_styles.h"
#include "platform/string_table.h"
#include "platform/utf8.h"

namespace qv {
namespace {

constexpr int kDebitId = 162;
constexpr int kCreditId = 163;
constexpr int kTotalsId = 164;
constexpr int kBalanceId = 155;
constexpr int kFolioId = 170;
constexpr int kReconciledId = 288;
constexpr const char* kDateHeading = "Date";
constexpr const char* kNumberHeading = "No.";
constexpr const char* kAccountHeading = "Account";
constexpr const char* kNotesHeading = "Notes";
constexpr const char* kJournalHeading = "Journal Entries";

// How the texts of one sheet are written, fixed when the sheet is made.
class SheetTexts {
 public:
  SheetTexts(const Books& books, const LocaleInfo& locale, int decimals)
      : locale_(locale),
        dateStyle_(books.DateStyleIndex),
        amounts_(LocaleAmountStyle(std::clamp(decimals, 0, 4), locale)),
        folioSymbol_(books.FolioDashes != 0 ? "-" : locale.DecimalSymbol),
        names_(books) {}

  std::string Date(DaySerial date) const { return FormatDateStyle(date, dateStyle_, locale_); }
  std::string Money(Amount value) const { return FormatAmount(value, amounts_); }
  std::string FolioText(Folio folio) const {
    return folio.IsZero() ? std::string() : PlainAmountText(folio, folioSymbol_);
  }
  // The account's name; its folio when no account has it.
  std::string Name(Folio folio) const {
    const std::string& name = names_.NameOf(folio);
    return name.empty() ? FolioText(folio) : name;
  }
  // The balance with "Dr" or "Cr" after it ("0.00" alone when it is nil).
  std::string Balance(Amount value) const {
    if (value.IsZero()) return Money(value);
    const std::optional<Amount> size = CheckedAbs(value);
    return Money(size ? *size : Amount::Max()) + " " +
           (value > Amount() ? kDebitBalanceMark : kCreditBalanceMark);
  }
  // The names of the accounts, as width samples of a name column: each once.
  std::vector<std::string> Names(std::vector<Folio> folios) const {
    std::sort(folios.begin(), folios.end());
    folios.erase(std::unique(folios.begin(), folios.end()), folios.end());
    std::vector<std::string> names;
    for (const Folio folio : folios) names.push_back(Name(folio));
    return names;
  }

 private:
  LocaleInfo locale_;
  int dateStyle_;
  AmountStyle amounts_;
  std::string folioSymbol_;
  AccountNameTable names_;
};

// The entry number of the most characters, as a width sample.
std::string LongestNumber(const std::vector<LedgerEntry>& entries) {
  std::string longest;
  std::size_t chars = 0;
  for (const LedgerEntry& entry : entries) {
    if (entry.Number.size() <= chars) continue;  // never longer in characters than in bytes
    const std::size_t n = Utf8Length(entry.Number);
    if (n > chars) {
      chars = n;
      longest = entry.Number;
    }
  }
  return longest;
}

// Every date text the style writes in the period, as width samples: each day of the first
// and of the last year (every day and month, so every month name and weekday the style may
// write) and the last days of every year between.
std::vector<std::string> DateSamples(const SheetTexts& texts, const LedgerOptions& options) {
  std::vector<std::string> samples{texts.Date(options.From), texts.Date(options.To)};
  if (!IsValidSerial(options.From) || !IsValidSerial(options.To)) return samples;
  const int first = DateOf(options.From).Year, last = DateOf(options.To).Year;
  for (const int year : {first, last}) {
    const auto start = SerialOf(year, 1, 1), end = SerialOf(year, 12, 31);
    if (!start || !end) continue;
    for (DaySerial day = *start; day <= *end; ++day) samples.push_back(texts.Date(day));
    if (first == last) break;
  }
  for (int year = first + 1; year < last; ++year)
    if (const auto wide = SerialOf(year, 12, 28)) samples.push_back(texts.Date(*wide));
  return samples;
}

// The widest texts of a column of amounts: the largest and the most negative value.
template <class Values>
std::vector<std::string> AmountSamples(const SheetTexts& texts, const Values& values) {
  Amount most, least;
  for (const Amount value : values) {
    most = std::max(most, value);
    least = std::min(least, value);
  }
  return {texts.Money(most), texts.Money(least)};
}

// What every sheet of a view starts with: its title, its rows' count and, for a view whose
// rows show one posting line each, the line of a row.
template <class View>
LedgerSheet StartSheet(const std::shared_ptr<const View>& view, std::vector<std::string> title) {
  LedgerSheet sheet;
  sheet.Table.Title = std::move(title);
  sheet.Table.RowCount = static_cast<int64_t>(view->Rows.size());
  if constexpr (requires { view->Rows.front().Line; }) {
    sheet.LineAt = [view](int64_t r, int) {
      return r >= 0 && r < static_cast<int64_t>(view->Rows.size())
                 ? view->Rows[static_cast<std::size_t>(r)].Line
                 : -1;
    };
  }
  return sheet;
}

// The start of a ledger's sheet, titled with the account and the period.
template <class View>
LedgerSheet StartAccountSheet(const std::shared_ptr<const View>& view, const Books& books,
                              const LocaleInfo& locale) {
  return StartSheet(view, {AccountHeading(view->Options, books, locale),
                           PeriodLine(view->Options, books, locale)});
}

std::string NotesOnOneLine(std::string_view notes) {
  std::string out;
  out.reserve(notes.size());
  for (std::size_t i = 0; i < notes.size(); ++i) {
    const char c = notes[i];
    if (c == '\r' && i + 1 < notes.size() && notes[i + 1] == '\n') continue;  // CR LF is one break
    out.push_back(c == '\r' || c == '\n' ? ' ' : c);
  }
  return out;
}

}  // namespace

LedgerSheet MessageSheet(std::string message) {
  LedgerSheet sheet;
  sheet.Message = std::move(message);
  sheet.LineAt = [](int64_t, int) { return -1; };
  return sheet;
}

std::string PeriodLine(const LedgerOptions& options, const Books& books, const LocaleInfo& locale) {
  const int style = books.DateStyleIndex;
  return "From " + FormatDateStyle(options.From, style, locale) + " to " +
         FormatDateStyle(options.To, style, locale);
}

std::string AccountHeading(const LedgerOptions& options, const Books& books,
                           const LocaleInfo& locale) {
  const SheetTexts texts(books, locale, 0);
  std::string heading = options.HideReconciled ? Str(kReconciledId) + " " : std::string();
  heading += texts.Name(options.Account) + " (" + texts.FolioText(options.Account) + ")";
  return heading;
}

std::string JournalHeading(const JournalOptions& options, const Books& books,
                           const LocaleInfo& locale) {
  std::string heading = options.Ledger.HideReconciled ? Str(kReconciledId) + " " : std::string();
  heading += kJournalHeading;
  if (!options.Ledger.AllAccounts)
    heading +=
        " - " + AccountHeading(LedgerOptions{.Account = options.Ledger.Account}, books, locale);
  switch (options.SearchMode) {
    case kSearchNotes: heading += ": notes holding \"" + options.SearchText + "\""; break;
    case kSearchEntryNumber:
      heading += ": entry number \"" + std::string(TrimText(options.SearchText)) + "\"";
      break;
    case kSearchUnbalanced: heading += ": entries that do not balance"; break;
    default: break;
  }
  return heading;
}

LedgerSheet JournalSheet(std::shared_ptr<const JournalView> view, const Books& books,
                         const LocaleInfo& locale) {
  if (!view->Message.empty()) return MessageSheet(view->Message);
  auto texts = std::make_shared<const SheetTexts>(books, locale, books.JournalDecimals);
  LedgerSheet sheet = StartSheet(view, {JournalHeading(view->Options, books, locale),
                                        PeriodLine(view->Options.Ledger, books, locale)});
  sheet.Table.Columns = {
      {kDateHeading, CellAlign::kLeft, 10},   {kNumberHeading, CellAlign::kLeft, 14},
      {Str(kFolioId), CellAlign::kRight, 8},  {kAccountHeading, CellAlign::kLeft, 36},
      {Str(kDebitId), CellAlign::kRight, 14}, {Str(kCreditId), CellAlign::kRight, 14}};
  sheet.Table.FillRow = [view, texts](int64_t r, TableRow& out) {
    const JournalRow& row = view->Rows[static_cast<std::size_t>(r)];
    if (row.Kind == JournalRowKind::kTotals) {
      out.Bold = true;
      out.Cells[3] = Str(kTotalsId);
      out.Cells[4] = texts->Money(view->DebitTotal);
      out.Cells[5] = texts->Money(view->CreditTotal);
      return;
    }
    const LedgerEntry& entry = view->Entries[static_cast<std::size_t>(row.Entry)];
    if (row.Kind == JournalRowKind::kNotes) {
      out.Cells[3] = NotesOnOneLine(entry.Notes);
      return;
    }
    if (row.FirstOfEntry) {
      out.Cells[0] = texts->Date(entry.Date);
      out.Cells[1] = entry.Number;
    }
    out.Cells[2] = texts->FolioText(row.LineFolio);
    out.Cells[3] = texts->Name(row.LineFolio);
    if (row.Kind == JournalRowKind::kDebit) {
      out.Cells[4] = texts->Money(row.Value);
    } else {
      out.IndentedCell = 3;
      out.Cells[5] = texts->Money(row.Value);
    }
  };
  std::vector<Amount> debits{view->DebitTotal}, credits{view->CreditTotal};
  std::vector<Folio> folios;
  for (const JournalRow& row : view->Rows) {
    if (row.Kind != JournalRowKind::kDebit && row.Kind != JournalRowKind::kCredit) continue;
    (row.Kind == JournalRowKind::kDebit ? debits : credits).push_back(row.Value);
    folios.push_back(row.LineFolio);
  }
  std::vector<std::string> names = texts->Names(std::move(folios));
  names.push_back(Str(kTotalsId));
  sheet.WidthSamples = {DateSamples(*texts, view->Options.Ledger),
                        {LongestNumber(view->Entries)},
                        {texts->FolioText(Folio::FromUnits(99999))},
                        names,
                        AmountSamples(*texts, debits),
                        AmountSamples(*texts, credits)};
  sheet.StretchColumn = 3;
  sheet.GiveWayColumns = {3};
  sheet.RepeatedColumns = 2;
  return sheet;
}

LedgerSheet TAccountSheet(std::shared_ptr<const TAccountView> view, const Books& books,
                          const LocaleInfo& locale) {
  if (!view->Message.empty()) return MessageSheet(view->Message);
  LedgerSheet sheet = StartAccountSheet(view, books, locale);
  auto texts = std::make_shared<const SheetTexts>(books, locale, books.LedgerDecimals);
  sheet.Table.Columns = {
      {kDateHeading, CellAlign::kLeft, 10},    {kAccountHeading, CellAlign::kLeft, 24},
      {Str(kDebitId), CellAlign::kRight, 14},  {kDateHeading, CellAlign::kLeft, 10},
      {kAccountHeading, CellAlign::kLeft, 24}, {Str(kCreditId), CellAlign::kRight, 14}};
  sheet.Table.FillRow = [view, texts](int64_t r, TableRow& out) {
    const TAccountRow& row = view->Rows[static_cast<std::size_t>(r)];
    auto half = [&](const TAccountItem& item, std::size_t at) {
      switch (item.Kind) {
        case TAccountItemKind::kEmpty: return;
        case TAccountItemKind::kTotal: out.Bold = true; break;
        case TAccountItemKind::kPosting:
          out.Cells[at] = texts->Date(item.Date);
          out.Cells[at + 1] = item.Sundries ? kSundriesText : texts->Name(item.Contra);
          break;
        case TAccountItemKind::kBroughtDown:
        case TAccountItemKind::kCarriedDown:
          out.Cells[at] = texts->Date(item.Date);
          out.Cells[at + 1] = item.Kind == TAccountItemKind::kBroughtDown ? kBalanceBroughtDownText
                                                                          : kBalanceCarriedDownText;
          break;
      }
      out.Cells[at + 2] = texts->Money(item.Value);
    };
    half(row.Debit, 0);
    half(row.Credit, 3);
  };
  sheet.LineAt = [view](int64_t r, int column) {
    if (r < 0 || r >= static_cast<int64_t>(view->Rows.size())) return -1;
    const TAccountRow& row = view->Rows[static_cast<std::size_t>(r)];
    return column < 3 ? row.Debit.Line : row.Credit.Line;
  };
  std::vector<Amount> values{view->DebitTotal, view->CreditTotal};
  // Each side's names column holds the names of its own side.
  std::vector<Folio> debitFolios, creditFolios;
  for (const TAccountRow& row : view->Rows) {
    values.insert(values.end(), {row.Debit.Value, row.Credit.Value});
    if (row.Debit.Kind == TAccountItemKind::kPosting && !row.Debit.Sundries)
      debitFolios.push_back(row.Debit.Contra);
    if (row.Credit.Kind == TAccountItemKind::kPosting && !row.Credit.Sundries)
      creditFolios.push_back(row.Credit.Contra);
  }
  const std::vector<std::string> others{kBalanceBroughtDownText, kBalanceCarriedDownText,
                                        kSundriesText};
  std::vector<std::string> debitNames = texts->Names(std::move(debitFolios));
  std::vector<std::string> creditNames = texts->Names(std::move(creditFolios));
  debitNames.insert(debitNames.end(), others.begin(), others.end());
  creditNames.insert(creditNames.end(), others.begin(), others.end());
  const std::vector<std::string> amounts = AmountSamples(*texts, values);
  const std::vector<std::string> dates = DateSamples(*texts, view->Options);
  sheet.WidthSamples = {dates, debitNames, amounts, dates, creditNames, amounts};
  sheet.RuleAfterColumn = 2;
  sheet.GiveWayColumns = {1, 4};
  return sheet;
}

LedgerSheet RunningBalanceSheet(std::shared_ptr<const RunningBalanceView> view, const Books& books,
                                const LocaleInfo& locale) {
  if (!view->Message.empty()) return MessageSheet(view->Message);
  LedgerSheet sheet = StartAccountSheet(view, books, locale);
  auto texts = std::make_shared<const SheetTexts>(books, locale, books.LedgerDecimals);
  sheet.Table.Columns = {
      {kDateHeading, CellAlign::kLeft, 10},    {kNumberHeading, CellAlign::kLeft, 14},
      {kNotesHeading, CellAlign::kLeft, 36},   {Str(kDebitId), CellAlign::kRight, 14},
      {Str(kCreditId), CellAlign::kRight, 14}, {Str(kBalanceId), CellAlign::kRight, 16}};
  sheet.Table.FillRow = [view, texts](int64_t r, TableRow& out) {
    const RunningBalanceRow& row = view->Rows[static_cast<std::size_t>(r)];
    if (row.Kind == RunningRowKind::kOpening) {
      out.Cells[0] = texts->Date(view->Options.From);
      out.Cells[2] = kBalanceBroughtDownText;
    } else {
      const LedgerEntry& entry = view->Entries[static_cast<std::size_t>(row.Entry)];
      out.Cells[0] = texts->Date(entry.Date);
      out.Cells[1] = entry.Number;
      out.Cells[2] = NotesOnOneLine(entry.Notes);
    }
    out.Cells[row.Side == kDebit ? 3 : 4] = texts->Money(row.Value);
    out.Cells[5] = texts->Balance(row.Balance);
  };
  // The widest amount is that of the greatest size.
  Amount widest;
  std::vector<Amount> values;
  for (const RunningBalanceRow& row : view->Rows) {
    const std::optional<Amount> size = CheckedAbs(row.Balance);
    widest = std::max({widest, row.Value, size ? *size : Amount::Max()});
    values.push_back(row.Value);
  }
  std::vector<std::string> amounts = AmountSamples(*texts, values);
  amounts.push_back(texts->Money(widest));
  sheet.WidthSamples = {DateSamples(*texts, view->Options),
                        {LongestNumber(view->Entries)},
                        {},
                        amounts,
                        amounts,
                        {texts->Balance(widest)}};
  sheet.StretchColumn = 2;
  sheet.GiveWayColumns = {2};
  sheet.RepeatedColumns = 1;
  return sheet;
}

}  // namespace qv
