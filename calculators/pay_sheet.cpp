#include "calculators/pay_sheet.h"

#include <algorithm>
#include <optional>

#include "calculators/calculator_numbers.h"
#include "calculators/shift_times.h"
#include "platform/string_table.h"
#include "platform/utf8.h"

namespace qv {
namespace {

// Every column starts at 09:00 am.
constexpr int32_t kStartOfDayShift = 9 * 3600;

std::string Money(const std::optional<Amount>& a, const LocaleInfo& locale) {
  return a ? FormatAmount(*a, LocaleAmountStyle(2, locale)) : kPayOverflowText;
}

}  // namespace

PaySheet::PaySheet(const LocaleInfo& locale) : locale_(locale) {
  for (PayColumn& c : Columns) {
    c.PayTotal = c.PayRate = c.PayGross = c.PayNet = "0";
    c.PayDe.fill("0");
    c.PaySt = c.PayEnd = ClockForm(kStartOfDayShift);
    c.PayBreak = "00:00";
  }
  PayTotalT = PayGrossT = PayNetT = "0";
  PayDT.fill("0");
  for (int i = 0; i < kShiftCount; ++i) PayTime(i);
}

void PaySheet::PayTime(int index) {
  const auto i = static_cast<std::size_t>(std::clamp(index, 0, kShiftCount - 1));
  PayColumn& c = Columns[i];
  const std::string& decimal = locale_.DecimalSymbol;

  // The times, written back in the clock form, and the hours between them.
  if (const auto start = ReadShiftTime(c.PaySt)) c.PaySt = ClockForm(*start);
  if (const auto end = ReadShiftTime(c.PayEnd)) c.PayEnd = ClockForm(*end);
  const auto start = ReadShiftTime(c.PaySt);
  auto end = ReadShiftTime(c.PayEnd);
  const auto pause = ReadShiftTime(c.PayBreak);
  if (start && end && pause) {
    if (*end < *start) *end += kSecondsPerDay;  // the shift passes midnight
    ShiftHours[i] = std::max(0, *end - *start - *pause);
  }
  c.PayTotal = HoursForm(ShiftHours[i]);

  // The gross pay: the rate per minute times the whole minutes shown.
  const DecimalText rate = ReadLocaleNumber(c.PayRate, locale_);
  const std::optional<Amount> rateAmount =
      rate.Kind == DecimalTextKind::Value ? AmountOf(rate.Value) : std::nullopt;
  if (!rateAmount) {
    ShiftGross[i] = Amount();
  } else if (const auto gross =
                 AmountOfDouble(rateAmount->ToDouble() / 60 *
                                static_cast<double>(MinutesOfHoursText(c.PayTotal)))) {
    ShiftGross[i] = *gross;
  }
  AmountSum net;
  for (const Amount& g : ShiftGross) net.Add(g);
  c.PayGross = Money(ShiftGross[i], locale_);
  PayGrossT = Money(net.Value(), locale_);

  // Deductions 1 to 3 from the percentages, 4 to 6 as typed.
  for (std::size_t k = 0; k < kPercentCount; ++k) {
    const DecimalText percent = LeadingDecimal(PayP[k], decimal);
    if (percent.Kind != DecimalTextKind::Value) continue;
    if (const auto d =
            AmountOfDouble(ShiftGross[i].ToDouble() * (ToDouble(percent.Value) / 100), 2))
      ShiftDeduction[i][k] = *d;
  }
  for (std::size_t k = kPercentCount; k < kDeductionCount; ++k) {
    const DecimalText typed = LeadingDecimal(c.PayDe[k], decimal);
    if (typed.Kind != DecimalTextKind::Value) continue;
    if (const auto d = AmountOf(typed.Value)) ShiftDeduction[i][k] = *d;
  }

  int64_t minutes = 0;
  for (const PayColumn& column : Columns) minutes += MinutesOfHoursText(column.PayTotal);
  const std::string mm = std::to_string(minutes % 60);
  PayTotalT = std::to_string(minutes / 60) + ":" + (mm.size() < 2 ? "0" : "") + mm;

  AmountSum columnNet;
  columnNet.Add(ShiftGross[i]);
  bool netOverflow = net.Overflowed();
  for (std::size_t k = 0; k < kDeductionCount; ++k) {
    c.PayDe[k] = PlainAmountText(ShiftDeduction[i][k], decimal);
    AmountSum total;
    for (const auto& column : ShiftDeduction) total.Add(column[k]);
    PayDT[k] = Money(total.Value(), locale_);
    if (total.Value()) {
      net.Subtract(*total.Value());
    } else {
      netOverflow = true;
    }
    columnNet.Subtract(ShiftDeduction[i][k]);
  }
  c.PayNet = Money(columnNet.Value(), locale_);
  PayNetT = netOverflow ? kPayOverflowText : Money(net.Value(), locale_);
}

void PaySheet::PayP1_Change() {
  for (int i = 0; i < kShiftCount; ++i) PayTime(i);
}

void PaySheet::LeaveTime(int index, PayTimeBox box) {
  PayColumn& c = Columns[static_cast<std::size_t>(std::clamp(index, 0, kShiftCount - 1))];
  std::string& text = box == PayTimeBox::Start ? c.PaySt
                      : box == PayTimeBox::End ? c.PayEnd
                                               : c.PayBreak;
  const auto time = ReadShiftTime(text);
  if (!time || *time == 0) text = box == PayTimeBox::Break ? "00:00" : "12:00am";
  PayTime(index);
}

std::string& PaySheet::Text(int index, PayAmountBox box) {
  PayColumn& c = Columns[static_cast<std::size_t>(std::clamp(index, 0, kShiftCount - 1))];
  switch (box) {
    case PayAmountBox::Rate: return c.PayRate;
    case PayAmountBox::Deduction4: return c.PayDe[3];
    case PayAmountBox::Deduction5: return c.PayDe[4];
    case PayAmountBox::Deduction6: break;
  }
  return c.PayDe[5];
}

void PaySheet::LeaveAmount(int index, PayAmountBox box) {
  std::string& text = Text(index, box);
  const DecimalText read = ReadLocaleNumber(text, locale_);
  std::optional<Amount> value;
  if (read.Kind == DecimalTextKind::Value) value = AmountOf(RoundHalfEven(read.Value, 2));
  if (!value) {
    const DecimalText leading = LeadingDecimal(text, locale_.DecimalSymbol);
    if (leading.Kind == DecimalTextKind::Value) value = AmountOf(leading.Value);
  }
  // A number beyond the amount range is not kept.
  text = PlainAmountText(value.value_or(Amount()), locale_.DecimalSymbol);
  PayTime(index);
}

bool PaySheet::LeavePercent(int k) {
  std::string& text = PayP[static_cast<std::size_t>(std::clamp(k, 0, kPercentCount - 1))];
  const DecimalText percent = LeadingDecimal(text, locale_.DecimalSymbol);
  if (percent.Kind == DecimalTextKind::Value && percent.Value <= Decimal::FromInt(100))
    return false;
  text = "99";
  PayP1_Change();
  return true;
}

bool PayAmountKeyPasses(int keyAscii, const LocaleInfo& locale) {
  if (keyAscii == 8 || keyAscii == '-' || (keyAscii >= '0' && keyAscii <= '9')) return true;
  if (keyAscii <= 0) return false;
  std::string typed;
  AppendUtf8(typed, keyAscii);
  return typed == locale.GroupSymbol || typed == locale.DecimalSymbol;
}

PayCaptions PayrollCaptions(std::string_view currency) {
  const std::string s(currency);
  PayCaptions c;
  c.Window = Str(295);
  c.PayTitle = {Str(296) + " :",
                Str(297) + " :",
                Str(298) + " :",
                "Hr / Mins :",
                Str(168) + " :",
                Str(299) + " " + s + " P/H",
                Str(300) + " " + s,
                "% =  " + s,
                "% =  " + s,
                "% =  " + s,
                s,
                s,
                Str(302) + " " + s,
                Str(301) + " :",
                s,
                Str(164) + " :"};
  for (int i = 0; i < kShiftCount; ++i)
    c.ShiftT[static_cast<std::size_t>(i)] = Str(294) + " " + std::to_string(i + 1);
  return c;
}

}  // namespace qv
