#include "statements/cash_flow.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <variant>

#include "bench/book_generator.h"
#include "books/date_styles.h"
#include "statements/account_sums.h"
#include "statements/cash_flow_layout.h"
#include "tests/support/book_builder.h"

namespace qv {
namespace {

using testing::AddEntry;
using testing::Day;
using testing::Money;
using Texts = std::vector<std::string>;

Books ShopBook() {
  return testing::BookWithChart({{"Cash", 110, kCurrentAsset},
                                 {"Bank", 120, kCurrentAsset},
                                 {"Sales", 410, kRevenue},
                                 {"VAT", 220, kCurrentLiability},
                                 {"Purchases", 500, kCostOfGoodsSold},
                                 {"Rent", 610, kExpense},
                                 {"Owner Drawings", 710, kCapital},
                                 {"Owner drawings", 720, kCapital},
                                 {"Petty Cash", 110.1, kExpense},
                                 {"Interest", 420, kRevenue}});
}

// "starts | list items | column headings" of a statement's periods, the end bound last
// among the starts.
std::string PeriodsOf(const CashFlowStatement& s) {
  const LocaleInfo locale = UsEnglishLocale();
  std::string starts, items, headings;
  for (int p = 1; p <= s.TotalColumn; ++p) {
    starts += FormatDateStyle(s.PeriodStarts[p], kDdMmYyyySlash, locale) + " ";
    if (p < s.TotalColumn) items += PeriodListItem(s, p, locale) + ",";
    headings += "," + PeriodColumnHeading(s, p, locale);
  }
  return starts + "| " + items + " |" + headings;
}

TEST(CashFlowPeriods, CutsTheSpanAsTheKindSays) {
  const DaySerial jan10 = Day(2020, 1, 10), apr15 = Day(2020, 4, 15);
  const std::tuple<CashFlowTerm, DaySerial, DaySerial, std::string> cases[] = {
      {CashFlowTerm::kMonthly, jan10, apr15,
       "01/01/2020 01/02/2020 01/03/2020 01/04/2020 01/05/2020 "
       "| Jan 2020,Feb 2020,Mar 2020,Apr 2020, |,Jan 2020,Feb 2020,Mar 2020,Apr 2020,Total"},
      {CashFlowTerm::kBimonthly, jan10, apr15,
       "01/01/2020 01/03/2020 15/04/2020 01/05/2020 "
       "| Jan 2020,Mar 2020,Apr 2020, |,Feb 2020,Apr 2020,May 2020,Total"},
      {CashFlowTerm::kQuarterly, jan10, apr15,
       "01/01/2020 01/04/2020 15/04/2020 01/05/2020 "
       "| Jan 2020,Apr 2020,Apr 2020, |,Mar 2020,Jun 2020,Jun 2020,Total"},
      {CashFlowTerm::kYearly, Day(2020, 1, 5), Day(2021, 6, 20),
       "01/01/2020 01/01/2021 20/06/2021 20/06/2022 "
       "| 2020,2021,2021, |,2020,2021,2021,Total"},
      // The latest date on a 1st opens one period only.
      {CashFlowTerm::kBimonthly, jan10, Day(2020, 2, 1),
       "01/01/2020 01/02/2020 01/03/2020 "
       "| Jan 2020,Feb 2020, |,Feb 2020,Mar 2020,Total"},
      // A last posting on 25 December is headed with the next year.
      {CashFlowTerm::kYearly, Day(2020, 2, 29), Day(2020, 12, 25),
       "01/02/2020 25/12/2020 25/12/2021 | 2020,2020, |,2020,2021,Total"},
      // A book of one day.
      {CashFlowTerm::kMonthly, apr15, apr15, "01/04/2020 01/05/2020 | Apr 2020, |,Apr 2020,Total"},
  };
  for (const auto& [term, earliest, latest, periods] : cases) {
    Books books = ShopBook();
    AddEntry(books, earliest, "1", {{110, 1}}, {{410, 1}});
    AddEntry(books, latest, "2", {{110, 1}}, {{410, 1}});
    const CashFlowStatement s = ComputeCashFlow(books, {term, {}});
    ASSERT_FALSE(s.Failed());
    EXPECT_EQ(PeriodsOf(s), periods);
  }
}

// "name: amount per period | total" of each row.
Texts Rows(const std::vector<CashFlowRow>& rows) {
  Texts out;
  for (const CashFlowRow& row : rows) {
    std::string text = row.Name + ":";
    for (std::size_t p = 1; p < row.Amounts.size(); ++p)
      text += (p + 1 == row.Amounts.size() ? " | " : " ") + PlainAmountText(row.Amounts[p]);
    out.push_back(text);
  }
  return out;
}

TEST(CashFlowOneAccount, ContraAccountsNettedPerPeriod) {
  Books books = ShopBook();
  AddEntry(books, Day(2020, 3, 2), "1", {{610, 100}}, {{110, 100}});
  AddEntry(books, Day(2020, 3, 3), "2", {{110, 250}}, {{410, 250}});
  AddEntry(books, Day(2020, 3, 4), "3", {{120, 100}}, {{110, 100}});
  AddEntry(books, Day(2020, 3, 5), "4", {{110, 30}}, {{120, 30}});
  AddEntry(books, Day(2020, 4, 6), "5", {{110, 300}}, {{410, 200}, {220, 100}});
  AddEntry(books, Day(2020, 4, 7), "6", {{110, 80}}, {{120, 80}});  // Bank turns inflow
  AddEntry(books, Day(2020, 4, 8), "7", {{110.1, 9}}, {{110, 9}});  // a sub-account of its own
  const CashFlowStatement s = ComputeCashFlow(books, {CashFlowTerm::kMonthly, Money(110)});
  ASSERT_FALSE(s.Failed());
  EXPECT_EQ(Rows(s.Inflows),
            (Texts{"Bank: 0 80 | 80", "Sales: 250 200 | 450", "VAT: 0 100 | 100"}));
  EXPECT_EQ(Rows(s.Outflows),
            (Texts{"Bank: 70 0 | 70", "Rent: 100 0 | 100", "Petty Cash: 0 9 | 9"}));
  EXPECT_EQ(s.BalanceAfter(2), Money(80 + 450 + 100 - 70 - 100 - 9));
}

TEST(CashFlowOneAccount, SharesRoundHalfEvenAndLopsidedEntriesGiveNothing) {
  Books books = ShopBook();
  // 1 shared by three equal lines: 0.3333 each.
  AddEntry(books, Day(2020, 1, 2), "1", {{110, 1}}, {{410, 2}, {420, 2}, {120, 2}});
  AddEntry(books, Day(2020, 1, 3), "2", {{110, 0.0001}}, {{410, 1}, {420, 1}});  // half: 0
  AddEntry(books, Day(2020, 1, 4), "3", {{410, 0}, {420, 0}}, {{110, 5}});       // equal
  AddEntry(books, Day(2020, 1, 5), "4", {{110, 50}, {120, 50}}, {});             // no credit
  AddEntry(books, Day(2020, 1, 6), "5", {}, {{110, 60}});                        // no debit
  AddEntry(books, Day(2020, 1, 7), "6", {{110, 70}}, {}, "last line of the journal");
  const CashFlowStatement s = ComputeCashFlow(books, {CashFlowTerm::kMonthly, Money(110)});
  ASSERT_FALSE(s.Failed());
  EXPECT_EQ(Rows(s.Inflows), (Texts{"Bank: 0.3333 | 0.3333"}));
  EXPECT_EQ(Rows(s.Outflows), (Texts{"Sales: 2.1667 | 2.1667", "Interest: 2.1667 | 2.1667"}));
}

TEST(CashFlowStatement, BadBooksGiveAMessageNotFigures) {
  Books empty = ShopBook();
  empty.PostingLines.clear();
  empty.EntryNumbers.clear();
  const CashFlowStatement none = ComputeCashFlow(empty, {});
  EXPECT_EQ(none.Status, CashFlowStatus::kNoPostings);
  EXPECT_EQ(none.PeriodCount(), 0);

  Books huge = ShopBook();
  AddEntry(huge, Day(2020, 1, 1), "1", {{610, 900000000000000}}, {{110, 900000000000000}});
  AddEntry(huge, Day(2020, 1, 2), "2", {{610, 900000000000000}}, {{110, 900000000000000}});
  for (const auto& folio : {std::optional<Folio>(), std::optional(Money(110))}) {
    const CashFlowStatement s = ComputeCashFlow(huge, {CashFlowTerm::kMonthly, folio});
    EXPECT_EQ(s.Status, CashFlowStatus::kOverflow);
    EXPECT_TRUE(s.Inflows.empty() && s.Outflows.empty());
  }
  // Nine thousand years of months for a chart of three hundred outflow accounts.
  Books wide = ShopBook();
  wide.ResizeChart(300);
  for (std::size_t k = 11; k <= 300; ++k) wide.AccountTypes[k] = kExpense;
  AddEntry(wide, Day(100, 1, 1), "1", {{610, 1}}, {{110, 1}});
  AddEntry(wide, Day(9999, 12, 31), "2", {{610, 1}}, {{110, 1}});
  const CashFlowStatement tooWide = ComputeCashFlow(wide, {});
  EXPECT_EQ(tooWide.Status, CashFlowStatus::kTooManyCells);
  EXPECT_EQ(CashFlowProblemText(tooWide),
            "The books' dates span 118800 periods of this kind, too many to show for these "
            "accounts; choose a longer period.");
  EXPECT_FALSE(ComputeCashFlow(wide, {CashFlowTerm::kYearly, {}}).Failed());
}

// ---- The per-period scan: each period walks the whole journal, and a line of the chosen
// account finds its entry by looking for the lines that carry notes.

__extension__ typedef __int128 Wide;

// a / b to the nearest integer, halves to the even one (b > 0).
int64_t Nearest(Wide a, Wide b) {
  const Wide floor = a / b - (a % b < 0 ? 1 : 0), twiceRest = 2 * (a - floor * b);
  return static_cast<int64_t>(twiceRest > b || (twiceRest == b && floor % 2 != 0) ? floor + 1
                                                                                  : floor);
}

CashFlowStatement ScanPerPeriod(const Books& books, CashFlowTerm term,
                                std::optional<Folio> chosen) {
  const PostingDates dates = PostingDateRange(books);
  const CashFlowPeriods periods = CutPeriods(dates.Earliest, dates.Latest, term);
  const int tc = periods.TotalColumn, n = static_cast<int>(books.PostingLines.size());
  const auto& lines = books.PostingLines;
  std::map<int64_t, int> first;  // the first chart account of each folio but 0
  for (int k = ChartAccountCount(books) - 1; k >= 0; --k)
    if (!books.AccountFolios[k].IsZero()) first[books.AccountFolios[k].Raw()] = k;
  auto accountOf = [&first](Folio folio) {
    const auto it = first.find(folio.Raw());
    return it == first.end() ? -1 : it->second;
  };
  std::map<int, CashFlowRow> in, out;
  auto add = [&](std::map<int, CashFlowRow>& rows, int k, int p, int64_t v) {
    auto it = rows.try_emplace(k, CashFlowRow{books.AccountNames[k], books.AccountFolios[k], k,
                                              std::vector<Amount>(tc + 1)})
                  .first;
    it->second.Amounts[p] = Amount::FromRaw(v);
  };
  for (int p = 1; p < tc; ++p) {
    std::map<int, int64_t> net;  // chart index: money in - money out
    for (int i = 0; i < n; ++i) {
      const PostingLine& line = lines[i];
      if (line.LineDate < periods.PeriodStarts[p] || line.LineDate >= periods.PeriodStarts[p + 1])
        continue;
      const int64_t sign = line.Side == kDebit ? -1 : 1;
      if (!chosen) net[accountOf(line.LineFolio)] += sign * line.Amount.Raw();
      if (!chosen || line.LineFolio != *chosen) continue;
      int from = i, to = i, others = 0;
      while (from > 0 && !EndsEntry(lines[from - 1].Notes)) --from;
      while (to + 1 < n && !EndsEntry(lines[to].Notes)) ++to;
      Wide sum = 0;
      for (int c = from; c <= to; ++c)
        if (lines[c].Side != line.Side) sum += lines[c].Amount.Raw(), ++others;
      for (int c = from; c <= to; ++c) {
        const int k = accountOf(lines[c].LineFolio);
        if (lines[c].Side == line.Side || k < 0 || lines[c].LineFolio == *chosen) continue;
        net[k] -= sign * (sum != 0 ? Nearest(Wide{line.Amount.Raw()} * lines[c].Amount.Raw(), sum)
                                   : Nearest(line.Amount.Raw(), others));
      }
    }
    for (int k = 0; k < ChartAccountCount(books) && !chosen; ++k) {
      const int type = books.AccountTypes[k];
      const int64_t v = accountOf(books.AccountFolios[k]) == k ? net[k] : 0;
      if (type == kRevenue) add(in, k, p, v);
      if (type == kExpense || type == kCostOfGoodsSold ||
          (type == kCapital && books.AccountNames[k].find("Draw") != std::string::npos))
        add(out, k, p, -v);
    }
    for (const auto& [k, v] : net)
      if (chosen && v != 0) add(v > 0 ? in : out, k, p, v > 0 ? v : -v);
  }
  CashFlowStatement s;
  s.PeriodStarts = periods.PeriodStarts;
  s.TotalColumn = tc;
  s.TotalInflows.assign(tc + 1, Amount());
  s.TotalOutflows = s.TotalInflows;
  for (auto* side : {&in, &out})
    for (auto& [k, row] : *side) {
      auto& totals = side == &in ? s.TotalInflows : s.TotalOutflows;
      for (int p = 1; p < tc; ++p) {
        row.Amounts[tc] = Amount::FromRaw(row.Amounts[tc].Raw() + row.Amounts[p].Raw());
        totals[p] = Amount::FromRaw(totals[p].Raw() + row.Amounts[p].Raw());
      }
      totals[tc] = Amount::FromRaw(totals[tc].Raw() + row.Amounts[tc].Raw());
      (side == &in ? s.Inflows : s.Outflows).push_back(row);
    }
  return s;
}

TEST(CashFlowStatement, OnePassAgreesWithThePerPeriodScanOnATenYearBook) {
  const Books books = GenerateBook({.lines = 100000, .entriesPerDay = 11});  // ten years
  const Folio cash = books.AccountFolios[1];
  for (const auto& [term, chosen] : std::vector<std::pair<CashFlowTerm, std::optional<Folio>>>{
           {CashFlowTerm::kMonthly, {}},
           {CashFlowTerm::kMonthly, cash},
           {CashFlowTerm::kQuarterly, books.AccountFolios[8]}}) {
    const CashFlowStatement fast = ComputeCashFlow(books, {term, chosen});
    const CashFlowStatement scan = ScanPerPeriod(books, term, chosen);
    ASSERT_FALSE(fast.Failed());
    EXPECT_GE(fast.PeriodCount(), term == CashFlowTerm::kMonthly ? 120 : 40);
    EXPECT_EQ(fast.PeriodStarts, scan.PeriodStarts);
    EXPECT_EQ(fast.Inflows, scan.Inflows);
    EXPECT_EQ(fast.Outflows, scan.Outflows);
    EXPECT_EQ(fast.TotalInflows, scan.TotalInflows);
    EXPECT_EQ(fast.TotalOutflows, scan.TotalOutflows);
    EXPECT_FALSE(fast.Inflows.empty() || fast.Outflows.empty());
  }
}

// Fixed widths, with bold lines a pixel taller than plain ones, as some screen fonts are.
class TallBoldMetrics final : public TextMetrics {
 public:
  double TextWidth(const FontSpec& font, std::string_view text) const override {
    return fixed_.TextWidth(font, text);
  }
  double TextHeight(const FontSpec& font, std::string_view text) const override {
    return fixed_.TextHeight(font, text) + (font.Bold ? 15 : 0);
  }

 private:
  FixedTextMetrics fixed_;
};

TEST(CashFlowLayout, EveryLineHoldsItsBoldAndPlainTextsAndTheLinesDoNotOverlap) {
  Books books = ShopBook();
  AddEntry(books, Day(2020, 3, 2), "1", {{610, 100}}, {{110, 100}});
  AddEntry(books, Day(2020, 4, 3), "2", {{110, 250}}, {{410, 250}});
  const CashFlowStatement s = ComputeCashFlow(books, {});
  ASSERT_FALSE(s.Failed());
  const TallBoldMetrics metrics;
  const CashFlowDrawing d =
      LayOutCashFlow(s, StatementLookOf(books, UsEnglishLocale(), 2), metrics, 1);
  FontSpec bold;
  bold.Size = 9;  // the statement's size, at scale 1
  bold.Bold = true;
  EXPECT_EQ(d.Columns.LineHeight, metrics.TextHeight(bold, ""));
  ASSERT_FALSE(d.Drawing.Lines.empty());
  std::set<bool> weights;
  double above = 0;
  for (const DrawnLine& line : d.Drawing.Lines) {
    EXPECT_GE(line.Top, above);
    above = line.Bottom;
    for (std::size_t op = line.FirstOp; op < line.EndOp; ++op) {
      const auto* t = std::get_if<TextOp>(&d.Drawing.Ops[op]);
      if (t == nullptr) continue;
      weights.insert(t->Font.Bold);
      EXPECT_GE(t->Y, line.Top) << t->Text;
      EXPECT_LE(t->Y + t->Height, line.Bottom) << t->Text;
    }
  }
  EXPECT_EQ(weights, (std::set<bool>{false, true}));
  EXPECT_GE(d.Drawing.DrawnHeight, above);
}

}  // namespace
}  // namespace qv
