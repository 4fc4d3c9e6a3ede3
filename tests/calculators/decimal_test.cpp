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
  const char* op;
  const char* a;
  const char* b;
  const char* expected;
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
      const Decimal a = D(c.a);
      const Decimal b = D(c.b);
      got = Outcome(op == "+"   ? Add(a, b)
                    : op == "-" ? Subtract(a, b)
                    : op == "x" ? Multiply(a, b)
                                : Divide(a, b));
    }
    EXPECT_EQ(got, c.expected) << c.a << " " << c.op << " " << c.b;
  }
}

TEST(DecimalTest, ResultsAtTheEdgesOfTheRange) {
  const Decimal max = D("79228162514264337593543950335");
  EXPECT_EQ(Outcome(Add(max, D("1"))), "Overflow");
  EXPECT_EQ(Outcome(Add(max, D("0.4"))), "79228162514264337593543950335");
  EXPECT_EQ(Outcome(Subtract(max.Negated(), D("1"))), "Overflow");
  EXPECT_EQ(Outcome(Divide(D("4"), D("3"))), "1.3333333333333333333333333333");
  EXPECT_EQ(Outcome(Divide(D("2"), D("3"))), "0.6666666666666666666666666667");
  EXPECT_EQ(Outcome(Divide(D("1"), D("0"))), "DivideByZero");
  EXPECT_EQ(Outcome(Divide(D("0"), D("0"))), "DivideByZero");
  EXPECT_EQ(Outcome(Multiply(D("0.0000000000000000000000000001"), D("0.1"))), "0");
  // A quotient keeps no trailing zeros, so later sums stay exact and short.
  const DecimalResult quarter = Divide(D("1"), D("4"));
  EXPECT_EQ(quarter.Value.Scale(), 2);
}

TEST(DecimalTest, ValuesCompareByValueWhateverTheirScale) {
  EXPECT_EQ(D("1.50"), D("1.5"));
  EXPECT_LT(D("-2"), D("-1.99"));
  EXPECT_GT(D("79228162514264337593543950335"), D("7.9228162514264337593543950335"));
  EXPECT_LT(D("0.0000000000000000000000000001"), D("1"));
  EXPECT_EQ(D("-0"), D("0"));
  EXPECT_FALSE(D("-0").IsNegative());
}

TEST(DecimalTest, TypedTextsAreReadOrRefused) {
  struct Row {
    const char* text;
    DecimalTextKind kind;
    const char* value;
  };
  const Row rows[] = {
      {" 12.5 ", DecimalTextKind::Value, "12.5"},
      {".50", DecimalTextKind::Value, "0.5"},
      {"5.", DecimalTextKind::Value, "5"},
      {"(1234.50)", DecimalTextKind::Value, "-1234.5"},
      {"12-", DecimalTextKind::Value, "-12"},
      {"+3", DecimalTextKind::Value, "3"},
      {"1.2.3", DecimalTextKind::Unreadable, ""},
      {"12a", DecimalTextKind::Unreadable, ""},
      {"", DecimalTextKind::Unreadable, ""},
      {"-", DecimalTextKind::Unreadable, ""},
      {".", DecimalTextKind::Unreadable, ""},
      {"H", DecimalTextKind::Unreadable, ""},
      {"--5", DecimalTextKind::Unreadable, ""},
      {"1234567890123456789012345678901234567890", DecimalTextKind::Overflow, ""},
  };
  for (const Row& row : rows) {
    const DecimalText read = ReadDecimalText(row.text, ".");
    EXPECT_EQ(read.Kind, row.kind) << row.text;
    if (row.kind == DecimalTextKind::Value) {
      EXPECT_EQ(PlainDecimalText(read.Value), row.value);
    }
  }
  // The machine's decimal symbol, even of several bytes.
  EXPECT_EQ(PlainDecimalText(ReadDecimalText("12,5", ",").Value, ","), "12,5");
  EXPECT_EQ(ReadDecimalText("12.5", ",").Kind, DecimalTextKind::Unreadable);
  EXPECT_EQ(PlainDecimalText(ReadDecimalText("3\u066B25", "\u066B").Value), "3.25");
}

TEST(DecimalTest, LeadingNumbersStopAtTheFirstOtherCharacter) {
  const std::pair<const char*, const char*> rows[] = {
      {"12abc", "12"}, {" 1 2.5x", "12.5"}, {"abc", "0"}, {"", "0"},
      {"-.5", "-0.5"}, {"1,234.50", "1"},   {"1-2", "1"}, {"3.4.5", "3.4"},
  };
  for (const auto& [text, value] : rows)
    EXPECT_EQ(PlainDecimalText(LeadingDecimal(text).Value), value) << text;
  EXPECT_EQ(LeadingDecimal(std::string(40, '9')).Kind, DecimalTextKind::Overflow);
}

TEST(DecimalTest, FormattedTextsRoundHalvesAwayFromZero) {
  const AmountStyle noZero{.decimals = 2, .zeroBeforePoint = false};
  EXPECT_EQ(FormatDecimal(D("0.25"), noZero), ".25");
  EXPECT_EQ(FormatDecimal(D("-1234.5"), noZero), "(1,234.50)");
  EXPECT_EQ(FormatDecimal(D("0.005"), noZero), ".01");
  EXPECT_EQ(FormatDecimal(D("-0.004"), noZero), ".00");
  EXPECT_EQ(FormatDecimal(D("0.4"), AmountStyle{.decimals = 0}), "0");
  EXPECT_EQ(FormatDecimal(D("2.5"), AmountStyle{.decimals = 0}), "3");
  EXPECT_EQ(FormatDecimal(D("1.3333333333333333333333333333"), AmountStyle{.decimals = 24}),
            "1.333333333333333333333333");
  EXPECT_EQ(FormatDecimal(D("79228162514264337593543950335"), AmountStyle{.decimals = 6}),
            "79,228,162,514,264,337,593,543,950,335.000000");
  EXPECT_EQ(
      FormatDecimal(D("9.99999"), AmountStyle{.decimals = 2, .decimalSymbol = ",", .group = "."}),
      "10,00");
  EXPECT_EQ(PlainDecimalText(D("-1234.500"), ","), "-1234,5");
}

}  // namespace
}  // namespace qv
