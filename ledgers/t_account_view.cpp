#include "ledgers/t_account_view.h"

#include <algorithm>
#include <optional>

namespace qv {
namespace {

// The account of one side of an entry: its one folio, or Sundries when it holds more.
struct SideAccount {
  Folio Account;
  bool Sundries = false;
  bool Any = false;

  void Add(Folio folio) {
    if (!Any) {
      Account = folio;
      Any = true;
    } else if (folio != Account) {
      Sundries = true;
    }
  }
};

TAccountView Failed(TAccountView view) {
  view.Rows.clear();
  view.Message = kLedgerOverflowText;
  return view;
}

}  // namespace

TAccountView ComputeTAccount(const Books& books, const LedgerOptions& options) {
  TAccountView view;
  view.Options = options;
  const std::vector<PostingLine>& lines = books.PostingLines;
  std::vector<TAccountItem> debits, credits;
  AmountSum opening, debitSum, creditSum;

  ForEachEntry(lines, [&](int32_t first, int32_t last) {
    bool any = false;
    for (int32_t i = first; i <= last && !any; ++i) {
      const PostingLine& line = lines[static_cast<std::size_t>(i)];
      any = InAccount(line.LineFolio, options) && line.LineDate <= options.To &&
            !(options.HideReconciled && line.Reconciled == 1);
    }
    if (!any) return;
    SideAccount debitSide, creditSide;
    for (int32_t i = first; i <= last; ++i) {
      const PostingLine& line = lines[static_cast<std::size_t>(i)];
      (line.Side == kDebit ? debitSide : creditSide).Add(line.LineFolio);
    }
    for (int32_t i = first; i <= last; ++i) {
      const PostingLine& line = lines[static_cast<std::size_t>(i)];
      if (!InAccount(line.LineFolio, options) || line.LineDate > options.To ||
          (options.HideReconciled && line.Reconciled == 1))
        continue;
      const bool debit = line.Side == kDebit;
      if (line.LineDate < options.From) {
        if (debit)
          opening.Add(line.Amount);
        else
          opening.Subtract(line.Amount);
        continue;
      }
      const SideAccount& other = debit ? creditSide : debitSide;
      TAccountItem item{
          TAccountItemKind::kPosting, i, line.LineDate, other.Account, other.Sundries, line.Amount};
      (debit ? debitSum : creditSum).Add(line.Amount);
      (debit ? debits : credits).push_back(item);
    }
  });

  const std::optional<Amount> open = opening.Value();
  if (!open) return Failed(std::move(view));
  if (!open->IsZero()) {
    // The balance brought down opens its side.
    const bool debit = *open > Amount();
    const std::optional<Amount> value = debit ? open : CheckedNegate(*open);
    if (!value) return Failed(std::move(view));
    TAccountItem item{TAccountItemKind::kBroughtDown, -1, options.From, Folio(), false, *value};
    std::vector<TAccountItem>& side = debit ? debits : credits;
    side.insert(side.begin(), item);
    (debit ? debitSum : creditSum).Add(*value);
  }
  const std::optional<Amount> debitTotal = debitSum.Value();
  const std::optional<Amount> creditTotal = creditSum.Value();
  if (!debitTotal || !creditTotal) return Failed(std::move(view));
  const std::optional<Amount> balance = CheckedSub(*debitTotal, *creditTotal);
  if (!balance) return Failed(std::move(view));
  view.DebitTotal = *debitTotal;
  view.CreditTotal = *creditTotal;
  view.Balance = *balance;

  // Balancing off: the balance carried down closes the smaller side, so that the totals
  // stand level; the same balance is brought down below them on the other side.
  std::optional<TAccountItem> broughtDown;
  if (!balance->IsZero()) {
    const bool debitLarger = *balance > Amount();
    const std::optional<Amount> value = debitLarger ? balance : CheckedNegate(*balance);
    if (!value) return Failed(std::move(view));
    (debitLarger ? credits : debits)
        .push_back(
            TAccountItem{TAccountItemKind::kCarriedDown, -1, options.To, Folio(), false, *value});
    broughtDown =
        TAccountItem{TAccountItemKind::kBroughtDown, -1, options.To, Folio(), false, *value};
  }
  const std::size_t rows = std::max(debits.size(), credits.size());
  view.Rows.reserve(rows + 2);
  for (std::size_t r = 0; r < rows; ++r)
    view.Rows.push_back(TAccountRow{r < debits.size() ? debits[r] : TAccountItem{},
                                    r < credits.size() ? credits[r] : TAccountItem{}});
  const TAccountItem total{TAccountItemKind::kTotal,           -1, kZeroDate, Folio(), false,
                           std::max(*debitTotal, *creditTotal)};
  view.Rows.push_back(TAccountRow{total, total});
  if (broughtDown)
    view.Rows.push_back(*balance > Amount() ? TAccountRow{*broughtDown, TAccountItem{}}
                                            : TAccountRow{TAccountItem{}, *broughtDown});
  return view;
}

}  // namespace qv
