#include "calculators/decimal.h"

#include <gtest/gtest.h>

#include <string>

namespace qv {
namespace {

Decimal D(std::string_view text) {
  const DecimalText read = ReadDecimalText(text, ".");
  EXPECT_EQ(read.Kind, DecimalTextKind::Value) << text;
  return read.Value;
}

struct Case {
  const char *op, *a, *b, *expected;
};

// Random operations and long typed numbers with the results of Python's decimal module
// (tests/calculators/make_decimal_cases.py).
constexpr Case kPythonCases[] = {
#include "tests/calculators/decimal_cases.inc"
};

std::string Outcome(const DecimalResult& r) {
  if (r.Error == DecimalError::Overflow) return "Overflow";
  if (r.Error == DecimalError::DivideByZero) return "DivideByZero";
  return PlainDecimalText(r.Value);
}

TEST(DecimalTest, OperationsAgreeWithPythonsDecimalModule) {
  for (const Case& c : kPythonCases) {
    const std::string op = c.op;
    std::string got;
    if (op == "read") {
      const DecimalText read = ReadDecimalText(c.a, ".");
      got = read.Kind == DecimalTextKind::Overflow ? "Overflow" : PlainDecimalText(read.Value);
    } else {
      const Decimal a = D(c.a), b = D(c.b);
      got = Outcome(op == "+"   ? Add(a, b)
                    : op == "-" ? Subtract(a, b)
                    : op == "x" ? Multiply(a, b)
                                : Divide(a, b));
    }
    EXPECT_EQ(got, c.expected) << c.a << " " << c.op << " " << c.b;
  }
}

TEST(DecimalTest, ResultsAtTheEdgesOfTheRangeAndComparisonsByValue) {
  const Decimal max = D("79228162514264337593543950335");
  EXPECT_EQ(Outcome(Add(max, D("0.4"))), "79228162514264337593543950335");
  EXPECT_EQ(Outcome(Subtract(max.Negated(), D("1"))), "Overflow");
  EXPECT_EQ(Outcome(Divide(D("2"), D("3"))), "0.6666666666666666666666666667");
  EXPECT_EQ(Outcome(Divide(D("0"), D("0"))), "DivideByZero");
  EXPECT_EQ(Outcome(Multiply(D("0.0000000000000000000000000001"), D("0.1"))), "0");
  // A quotient keeps no trailing zeros, so later sums stay exact and short.
  EXPECT_EQ(Divide(D("1"), D("4")).Value.Scale(), 2);
  EXPECT_GT(max, D("7.9228162514264337593543950335"));
  EXPECT_EQ(D("-0"), D("0"));
  EXPECT_FALSE(D("-0").IsNegative());
}

// The exact product is rounded once, at the places asked for, however many digits it has.
TEST(DecimalTest, AProductRoundedOnceAtTheGivenPlaces) {
  const auto rounded = [](const char* a, const char* b, int shift, int places) {
    const DecimalResult r = MultiplyRounded(D(a), D(b), shift, places);
    return r.Ok() ? PlainDecimalText(r.Value) + "@" + std::to_string(r.Value.Scale()) : Outcome(r);
  };
  EXPECT_EQ(rounded("1.5", "2", 0, 4), "3@4");
  EXPECT_EQ(rounded("0.125", "-1", 0, 2), "-0.12@2");
  EXPECT_EQ(rounded("0.375", "1", 0, 2), "0.38@2");
  // 0.5000000000000000000000000001 % of one ten-thousandth is just over half a step.
  EXPECT_EQ(rounded("0.0001", "0.5000000000000000000000000001", 2, 6), "0.000001@6");
  EXPECT_EQ(rounded("0.0001", "0.5", 2, 6), "0@6");
  EXPECT_EQ(rounded("79228162514264337593543950335", "10", 0, 0), "Overflow");
}

TEST(DecimalTest, ValuesCompareByValueWhateverTheirScale) {
  EXPECT_EQ(D("1.50"), D("1.5"));
  EXPECT_LT(D("-2"), D("-1.99"));
  EXPECT_LT(D("0.0000000000000000000000000001"), D("1"));
  EXPECT_EQ(D("-0"), D("0"));
  EXPECT_FALSE(D("-0").IsNegative());
}

TEST(DecimalTest, TypedTextsAreReadOrRefused) {
  const std::pair<const char*, const char*> rows[] = {
      {" 12.5 ", "12.5"}, {".50", "0.5"}, {"5.", "5"},   {"(1234.50)", "-1234.5"},
      {"12-", "-12"},     {"+3", "3"},    {"1.2.3", ""}, {"12a", ""},
      {"", ""},           {"-", ""},      {".", ""},     {"H", ""},
      {"--5", ""},
  };
  for (const auto& [text, value] : rows) {
    const DecimalText read = ReadDecimalText(text, ".");
    EXPECT_EQ(read.Kind, *value ? DecimalTextKind::Value : DecimalTextKind::Unreadable) << text;
    EXPECT_EQ(*value ? PlainDecimalText(read.Value) : "", value);
  }
  EXPECT_EQ(ReadDecimalText(std::string(40, '9'), ".").Kind, DecimalTextKind::Overflow);
  // The machine's decimal symbol, even of several bytes.
  EXPECT_EQ(PlainDecimalText(ReadDecimalText("12,5", ",").Value, ","), "12,5");
  EXPECT_EQ(ReadDecimalText("12.5", ",").Kind, DecimalTextKind::Unreadable);
  EXPECT_EQ(PlainDecimalText(ReadDecimalText("3\u066B25", "\u066B").Value), "3.25");
  // Leading numbers stop at the first other character.
  const std::pair<const char*, const char*> leading[] = {
      {"12abc", "12"},
      {" 1 2.5x", "12.5"},
      {"abc", "0"},
      {"-.5", "-0.5"},
      {"1,234.50", "1"},
      {"1-2", "1"},
      {"3.4.5", "3.4"},
      // A negative exponent moves the point left, past the first digit if need be.
      {"12E-5", "0.00012"},
      {"1234d-2", "12.34"},
  };
  for (const auto& [text, value] : leading)
    EXPECT_EQ(PlainDecimalText(LeadingDecimal(text).Value), value) << text;
  EXPECT_EQ(LeadingDecimal(std::string(40, '9')).Kind, DecimalTextKind::Overflow);
}

TEST(DecimalTest, FormattedTextsRoundHalvesAwayFromZero) {
  const AmountStyle noZero{.decimals = 2, .zeroBeforePoint = false};
  const std::tuple<const char*, AmountStyle, const char*> rows[] = {
      {"0.005", noZero, ".01"},
      {"-0.004", noZero, ".00"},
      {"2.5", AmountStyle{.decimals = 0}, "3"},
      {"1.3333333333333333333333333333", AmountStyle{.decimals = 24}, "1.333333333333333333333333"},
      {"79228162514264337593543950335", AmountStyle{.decimals = 6},
       "79,228,162,514,264,337,593,543,950,335.000000"},
      {"9.99999", AmountStyle{.decimals = 2, .decimalSymbol = ",", .group = "."}, "10,00"},
  };
  for (const auto& [value, style, shown] : rows)
    EXPECT_EQ(FormatDecimal(D(value), style), shown) << value;
}

}  // namespace
}  // namespace qv
