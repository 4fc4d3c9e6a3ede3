#include "calculators/rolling_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace qv {
namespace {

RollValue N(const char* text) { return RollValue::Read(ReadDecimalText(text, "."), text); }

// A list of numbers, each with its operator.
RollingList ListOf(std::vector<std::pair<const char*, char>> rows, int16_t mode = kRunningTotal,
                   int16_t decimals = kVariableDecimals) {
  RollingList list;
  for (const auto& [value, op] : rows) {
    list.RollValues.push_back(value ? N(value) : RollValue());
    list.RollOps.push_back(op);
  }
  list.RollMode = mode;
  list.RollDecimals = decimals;
  return list;
}

RollingList Plain(std::vector<const char*> values, int16_t mode) {
  std::vector<std::pair<const char*, char>> rows;
  for (const char* v : values) rows.emplace_back(v, '+');
  return ListOf(rows, mode);
}

const RollSymbols kEnglish{",", "."};

TEST(RollingListTest, RunningTotalAppliesOperatorsFromTheTopDown) {
  const std::pair<std::vector<std::pair<const char*, char>>, const char*> rows[] = {
      {{{"2", '+'}, {"3", '+'}, {"4", 'x'}}, "20"},
      {{{"5", '+'}, {"3", '-'}, {"4", 'x'}}, "8"},
      {{{"12", '+'}, {"3", 'x'}}, "36"},
      {{{"5", '+'}, {"0", '/'}, {"4", '+'}}, "Error"},
      {{{"5", '+'}, {"7", ' '}, {"1", '+'}}, "6"},  // a blank operator leaves its row out
      {{{"5", 'x'}, {"1", '+'}}, "1"},              // the first row applies to zero
      {{{"5", '/'}}, "0"},
      {{{nullptr, '+'}, {"2", '+'}}, "2"},  // a row never set counts as 0
      {{{"79228162514264337593543950335", '+'}, {"1", '+'}}, "Overflow"},
      {{{"79228162514264337593543950335", '+'}, {"1", '+'}, {"1", '/'}, {"0", '/'}}, "Error"},
      {{{"5", '+'}, {"0", '/'}, {"79228162514264337593543950335", 'x'}}, "Overflow"},
  };
  for (const auto& [list, result] : rows) EXPECT_EQ(ListOf(list).MailCalc(kEnglish), result);
}

TEST(RollingListTest, RowsThatAreNoNumberTurnEveryResultIntoAFailure) {
  RollingList list = ListOf({{"5", '+'}, {"1.2.3", '+'}});
  for (const auto& [bad, result] :
       {std::pair{"1.2.3", "Error"}, {"1234567890123456789012345678901234567890", "Overflow"}}) {
    list.RollValues[1] = N(bad);
    for (const int16_t mode : {kRunningTotal, kAverage, kMiddleValue, kMostFrequent}) {
      list.RollMode = mode;
      EXPECT_EQ(list.MailCalc(kEnglish), result) << mode;
    }
  }
}

// The operator button steps + - x / and round again; anything else is no operator and stays.
// A list in no known mode shows no result.
TEST(RollingListTest, OperatorsCycleAndAnUnknownModeShowsNothing) {
  std::string cycle = "+";
  for (int i = 0; i < 4; ++i) cycle += NextRollOperator(cycle.back());
  EXPECT_EQ(cycle, "+-x/+");
  EXPECT_EQ(NextRollOperator('?'), '?');
  EXPECT_FALSE(IsRollOperator('?'));
  EXPECT_EQ(ListOf({{"5", '+'}}, 99).MailCalc(kEnglish), "");
}

TEST(RollingListTest, TotalIsFormattedWithTheChosenDecimals) {
  const RollSymbols german{".", ","};
  const std::tuple<const char*, int16_t, RollSymbols, const char*> rows[] = {
      {"0.25", 2, kEnglish, ".25"},
      {"-1234.5", 2, kEnglish, "(1,234.50)"},
      {"0.25", kVariableDecimals, kEnglish, "0.25"},
      {"-1234.5", kVariableDecimals, kEnglish, "-1234.5"},
      {"1234.5", 0, kEnglish, "1,235"},
      {"1234.5", 6, german, "1.234,500000"},
      {"-1234.5", kVariableDecimals, german, "-1234,5"},
      {"0", 2, kEnglish, ".00"},
      {"1.5", 24, RollSymbols{"", "."}, "1.500000000000000000000000"},
  };
  for (const auto& [value, decimals, symbols, shown] : rows)
    EXPECT_EQ(ListOf({{value, '+'}}, kRunningTotal, decimals).MailCalc(symbols), shown) << value;
}

TEST(RollingListTest, StatisticalModesLeaveOutZerosAndSmallerValues) {
  const std::tuple<std::vector<const char*>, int16_t, const char*> rows[] = {
      {{"7", "1", "5", "3"}, kAverage, "Average : 4"},
      {{"7", "1", "5", "3"}, kMiddleValue, "Mean : 4"},
      {{"7", "1", "5", "3"}, kMostFrequent, "Mode : 1"},
      {{"0", "2", "0", "4"}, kAverage, "Average : 3"},
      {{"2", "-4", "0"}, kAverage, "Average : -1"},
      {{"1", "1", "2"}, kAverage, "Average : 1.3333333333333333333333333333"},
      {{"7", "1", "5"}, kMiddleValue, "Mean : 5"},
      {{"7", "0", "1", "-9", "5", "3"}, kMiddleValue, "Mean : 4"},
      {{"1", "2"}, kMiddleValue, "Mean : 1.5"},
      {{"2", "3", "3", "2", "9"}, kMostFrequent, "Mode : 2"},
      {{"1", "4", "4"}, kMostFrequent, "Mode : 4"},
      {{"1.50", "1.5", "2"}, kMostFrequent, "Mode : 1.5"},
      {{"0", "0"}, kAverage, "Average : "},
      {{"0", "-2"}, kMiddleValue, "Mean : "},
      {{}, kMostFrequent, "Mode : "},
      {{"79228162514264337593543950335", "1"}, kAverage, "Overflow"},
      // Numbers closer than a double tells apart keep their exact order.
      {{"1.0000000000000000000000000002", "1.0000000000000000000000000001", "1",
        "1.0000000000000000000000000001"},
       kMiddleValue,
       "Mean : 1.0000000000000000000000000001"},
      {{"1.0000000000000000000000000001", "1", "1.00", "1.0000000000000000000000000001",
        "1.0000000000000000000000000001"},
       kMostFrequent,
       "Mode : 1.0000000000000000000000000001"},
      {{"0.30000000000000004", "0.3", "0.30000000000000004"},
       kMostFrequent,
       "Mode : 0.30000000000000004"},
  };
  for (const auto& [values, mode, shown] : rows)
    EXPECT_EQ(Plain(values, mode).MailCalc(kEnglish), shown) << shown;
}

TEST(RollingListTest, SelectionsortPacksThePositiveValuesAscending) {
  std::vector<RollValue> values = {N("0"), N("5"), N("-2"), N("3"), RollValue(), N("x")};
  int32_t count = 0;
  Selectionsort(values, count);
  EXPECT_EQ(count, 1);
  std::vector<std::string> texts;
  for (const RollValue& v : values) {
    EXPECT_TRUE(v.IsNumber());
    texts.push_back(PlainDecimalText(v.Value));
  }
  EXPECT_EQ(texts, (std::vector<std::string>{"3", "5", "0", "0", "0", "0"}));
  // Numbers of every length and scale, many of them near one another, end in exact order.
  std::mt19937_64 random(19);
  std::vector<RollValue> many;
  std::vector<Decimal> expected;
  for (int i = 0; i < 3000; ++i) {
    const Decimal::Mantissa base = random() % 1000;
    const int scale = static_cast<int>(random() % 29);
    Decimal::Mantissa m = base;
    for (int s = 0; s < scale; ++s) m *= 10;  // base itself at that scale
    m += random() % 3;                        // or a hair above it
    const Decimal d = Decimal::FromParts(random() % 5 == 0, m, scale);
    many.push_back(RollValue::Of(d));
    if (d > Decimal()) expected.push_back(d);
  }
  std::sort(expected.begin(), expected.end());
  Selectionsort(many, count);
  ASSERT_EQ(count + 1, static_cast<int32_t>(expected.size()));
  for (std::size_t i = 0; i < expected.size(); ++i) ASSERT_EQ(many[i].Value, expected[i]) << i;

  std::vector<RollValue> none = {N("0"), N("-1")};
  Selectionsort(none, count);
  EXPECT_EQ(count, -1);
}

}  // namespace
}  // namespace qv
