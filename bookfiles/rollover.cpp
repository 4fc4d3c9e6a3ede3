#include "bookfiles/rollover.h"

#include <algorithm>
#include <limits>
#include <map>
#include <new>
#include <optional>
#include <vector>

#include "bookfiles/book_format.h"
#include "books/module_procedures.h"
#include "platform/string_table.h"

namespace qv {
namespace {

constexpr int64_t kCent = 100;  // one cent in the amount's scaled units
// Two lines an entry, and the journal's last index is a 32-bit number.
constexpr int32_t kMaxEntries = std::numeric_limits<int32_t>::max() / 2;
const Folio kBalanceFolio = Folio::FromUnits(1);

// The balance of every folio, in ascending folio order; nothing when one of them leaves the
// amount's range.
std::optional<std::map<int64_t, Amount>> FolioBalances(const Books& books) {
  std::map<int64_t, AmountSum> sums;
  for (const PostingLine& line : books.PostingLines) {
    AmountSum& sum = sums[line.LineFolio.Raw()];
    if (line.Side == kDebit)
      sum.Add(line.Amount);
    else
      sum.Subtract(line.Amount);
  }
  std::map<int64_t, Amount> balances;
  for (const auto& [folio, sum] : sums) {
    const auto value = sum.Value();
    if (!value) return std::nullopt;
    balances.emplace_hint(balances.end(), folio, *value);
  }
  return balances;
}

// The new journal, built apart from the books until it is complete.
class OpeningJournal {
 public:
  OpeningJournal() : number_("B/D"), notes_(Str(155) + " b/f") {}

  // One entry: `folio` on the side of `balance`, folio 1 on the other side. False when
  // the amount does not fit.
  bool Add(Folio folio, Amount balance, DaySerial date) {
    const auto amount = CheckedAbs(balance);
    if (!amount || entries_ >= kMaxEntries) return false;
    const bool debit = !balance.IsNegative();
    PostingLine first, second;
    first.LineDate = second.LineDate = date;
    first.Side = kDebit;
    second.Side = kCredit;
    first.LineFolio = debit ? folio : kBalanceFolio;
    second.LineFolio = debit ? kBalanceFolio : folio;
    first.Amount = second.Amount = *amount;
    second.Notes = notes_;
    lines_.push_back(std::move(first));
    lines_.push_back(std::move(second));
    numbers_.push_back(number_);
    numbers_.push_back(number_);
    ++entries_;
    return true;
  }

  // Puts the new journal into the books, or the empty entry of a new book when it is
  // empty. Nothing here can fail.
  RolloverResult Install(Books& books, DaySerial date) {
    RolloverResult result;
    result.Done = true;
    result.EntriesMade = entries_;
    if (entries_ == 0) {
      NewStart(books, date);  // raises the change stamp
      books.EntryCounter = 1;
      return result;
    }
    books.PostingLines.swap(lines_);
    books.EntryNumbers.swap(numbers_);
    books.EntryCounter = entries_;
    RaiseBooksStamp(books);
    return result;
  }

  void Reserve(std::size_t entries) {
    lines_.reserve(2 * entries);
    numbers_.reserve(2 * entries);
  }

 private:
  EntryNumber number_;
  std::string notes_;
  std::vector<PostingLine> lines_;
  std::vector<EntryNumber> numbers_;
  int32_t entries_ = 0;
};

RolloverResult Failure(std::string problem) {
  RolloverResult result;
  result.Problem = std::move(problem);
  return result;
}

const char* const kTooLarge =
    "An account balance is too large to be brought forward; the books are unchanged.";

// The account type that the statements count a folio's lines in, with sub-accounts rolled
// into their main account: that of the first chart account (of those in use) whose folio is
// the folio rounded down; none when no account has that folio.
class CountedTypes {
 public:
  explicit CountedTypes(const Books& books) {
    const int count = ChartAccountCount(books);
    for (int j = 0; j < count; ++j) {
      const uint8_t type = books.AccountTypes[static_cast<std::size_t>(j)];
      firstType_.emplace(books.AccountFolios[static_cast<std::size_t>(j)].Raw(), type);
    }
  }
  std::optional<uint8_t> Of(Folio folio) const {
    const auto it = firstType_.find(TruncFolio(folio, 0).Raw());
    if (it == firstType_.end()) return std::nullopt;
    return it->second;
  }
  // The income statement's lines (cost of goods sold, revenue, expense) are closed rather
  // than carried.
  bool Closed(Folio folio) const {
    const auto type = Of(folio);
    return type == kCostOfGoodsSold || type == kRevenue || type == kExpense;
  }

 private:
  std::map<int64_t, uint8_t> firstType_;  // folio -> type of the first account with it
};

// The folios that take a share of the profit: the capital accounts (folio above 0 and other
// than 1, each folio once, in chart order, and counted as capital by the statements) whose
// balance is a credit; when none has one, the first capital account; none when the chart has
// no capital account.
std::vector<Folio> ShareFolios(const Books& books, const CountedTypes& counted,
                               const std::map<int64_t, Amount>& balances) {
  std::vector<Folio> capital;
  const auto count = static_cast<std::size_t>(ChartAccountCount(books));
  for (std::size_t i = 0; i < count; ++i) {
    const Folio folio = books.AccountFolios[i];
    if (books.AccountTypes[i] == kCapital && folio.Raw() > 0 && folio != kBalanceFolio &&
        counted.Of(folio) == kCapital &&
        std::find(capital.begin(), capital.end(), folio) == capital.end())
      capital.push_back(folio);
  }
  std::vector<Folio> credit;
  for (const Folio folio : capital) {
    const auto it = balances.find(folio.Raw());
    if (it != balances.end() && it->second.IsNegative()) credit.push_back(folio);
  }
  if (credit.empty() && !capital.empty()) credit.push_back(capital.front());
  return credit;
}

RolloverResult RollOver(Books& books, DaySerial today, bool closeIncome) {
  try {
    const auto balances = FolioBalances(books);
    if (!balances) return Failure(kTooLarge);
    const DaySerial date = OpeningDate(books, today);
    OpeningJournal journal;
    journal.Reserve(balances->size());
    const CountedTypes counted(books);
    // The closed lines' credits less their debits: the profit.
    AmountSum profit;
    for (const auto& [raw, balance] : *balances) {
      const Folio folio = Folio::FromRaw(raw);
      if (closeIncome && counted.Closed(folio)) {
        profit.Subtract(balance);
        continue;
      }
      if (folio == kBalanceFolio || balance.IsZero()) continue;
      if (!journal.Add(folio, balance, date)) return Failure(kTooLarge);
    }
    const auto netProfit = profit.Value();
    if (!netProfit) return Failure(kTooLarge);
    if (closeIncome) {
      const std::vector<Folio> folios = ShareFolios(books, counted, *balances);
      const std::vector<Amount> shares = EqualShares(*netProfit, static_cast<int>(folios.size()));
      if (!folios.empty() && shares.empty()) return Failure(kTooLarge);
      for (std::size_t i = 0; i < shares.size(); ++i) {
        if (shares[i].IsZero()) continue;
        // A profit is credited to the capital account: its balance, debit minus credit,
        // falls by the share.
        const auto balance = CheckedNegate(shares[i]);
        if (!balance || !journal.Add(folios[i], *balance, date)) return Failure(kTooLarge);
      }
    }
    RolloverResult result = journal.Install(books, date);
    result.ProfitShared = closeIncome ? *netProfit : Amount();
    return result;
  } catch (const std::bad_alloc&) {
    return Failure(FileErrorText(kErrOutOfMemory));
  }
}

}  // namespace

std::vector<Amount> EqualShares(Amount total, int count) {
  std::vector<Amount> shares;
  if (count < 1) return shares;
  const int64_t raw = total.Raw();
  if (raw == std::numeric_limits<int64_t>::min()) return shares;
  // Whole cents per account, rounded towards zero; |each| x count never exceeds |raw|.
  const int64_t each = raw / (kCent * count) * kCent;
  const int64_t first = raw - each * (count - 1);
  shares.assign(static_cast<std::size_t>(count), Amount::FromRaw(each));
  shares[0] = Amount::FromRaw(first);
  return shares;
}

std::optional<Amount> JournalDifference(const Books& books) {
  AmountSum sum;
  for (const PostingLine& line : books.PostingLines) {
    if (line.Side == kDebit)
      sum.Add(line.Amount);
    else
      sum.Subtract(line.Amount);
  }
  return sum.Value();
}

DaySerial OpeningDate(const Books& books, DaySerial today) {
  std::optional<DaySerial> latest;
  for (const PostingLine& line : books.PostingLines)
    if (!line.Amount.IsZero() && (!latest || line.LineDate > *latest)) latest = line.LineDate;
  // latest < today, so the day after it is at most today and cannot overflow.
  return latest && *latest < today ? *latest + 1 : today;
}

std::string UnbalancedRolloverQuestion(Amount difference, const std::string& amountText) {
  return std::string("The journal does not balance: its ") +
         (difference.IsNegative() ? "credits exceed its debits" : "debits exceed its credits") +
         " by " + amountText + ". The " + Str(155) +
         " b/f account (folio 1) will take the difference. Go on?";
}

RolloverResult BringBalancesForward(Books& books, DaySerial today) {
  return RollOver(books, today, false);
}

RolloverResult CarryAccountsOver(Books& books, DaySerial today) {
  return RollOver(books, today, true);
}

}  // namespace qv
