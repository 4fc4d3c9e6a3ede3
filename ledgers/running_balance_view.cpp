#include "ledgers/running_balance_view.h"

#include <optional>

namespace qv {

RunningBalanceView ComputeRunningBalance(const Books& books, const LedgerOptions& options) {
  RunningBalanceView view;
  view.Options = options;
  const std::vector<PostingLine>& lines = books.PostingLines;
  AmountSum opening;

  ForEachEntry(lines, [&](int32_t first, int32_t last) {
    int32_t entry = -1;
    for (int32_t i = first; i <= last; ++i) {
      const PostingLine& line = lines[static_cast<std::size_t>(i)];
      if (!InAccount(line.LineFolio, options) || line.LineDate > options.To ||
          (options.HideReconciled && line.Reconciled == 1))
        continue;
      if (line.LineDate < options.From) {
        if (line.Side == kDebit)
          opening.Add(line.Amount);
        else
          opening.Subtract(line.Amount);
        continue;
      }
      if (entry < 0) {
        entry = static_cast<int32_t>(view.Entries.size());
        view.Entries.push_back(SnapshotEntry(books, first, last));
      }
      view.Rows.push_back(RunningBalanceRow{
          RunningRowKind::kPosting, i, entry,
          line.Side == kDebit ? uint8_t{kDebit} : uint8_t{kCredit}, line.Amount, Amount()});
    }
  });

  auto failed = [&] {
    view.Rows.clear();
    view.Entries.clear();
    view.Message = kLedgerOverflowText;
    return std::move(view);
  };
  const std::optional<Amount> open = opening.Value();
  if (!open) return failed();
  view.Opening = *open;
  AmountSum balance;
  balance.Add(*open);
  for (RunningBalanceRow& row : view.Rows) {
    if (row.Side == kDebit)
      balance.Add(row.Value);
    else
      balance.Subtract(row.Value);
    if (!balance.Value()) return failed();
    row.Balance = *balance.Value();
  }
  if (!open->IsZero()) {
    const std::optional<Amount> size = CheckedAbs(*open);
    if (!size) return failed();
    view.Rows.insert(
        view.Rows.begin(),
        RunningBalanceRow{RunningRowKind::kOpening, -1, -1,
                          *open > Amount() ? uint8_t{kDebit} : uint8_t{kCredit}, *size, *open});
  }
  view.Closing = *balance.Value();
  return view;
}

}  // namespace qv
