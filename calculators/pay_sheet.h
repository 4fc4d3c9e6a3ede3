#pragma once
// The payroll sheet: seven shift columns and a totals column. Per shift the user types a
// start and an end time, a break and an hourly rate, and three further deductions as
// amounts; for the whole sheet three percentages of deductions 1 to 3. PayTime recomputes a
// column (its hours, gross pay, six deductions and net pay) and then every total.
//
// The sheet holds the texts of its boxes, as the window shows them, and the values each
// column was last computed with; the window copies what the user types into the texts,
// calls the handler of the box and shows the texts again.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "books/amount.h"
#include "platform/locale_info.h"

namespace qv {

inline constexpr int kShiftCount = 7;
inline constexpr int kDeductionCount = 6;
inline constexpr int kPercentCount = 3;  // deductions 1 to 3 are percentages of the gross

// The boxes of one shift column.
struct PayColumn {
  std::string PaySt;                               // start time
  std::string PayEnd;                              // end time
  std::string PayBreak;                            // break, a duration written as a time
  std::string PayTotal;                            // hours worked (read-only)
  std::string PayRate;                             // hourly rate
  std::string PayGross;                            // gross pay (read-only)
  std::array<std::string, kDeductionCount> PayDe;  // deductions 1 to 6
  std::string PayNet;                              // net pay (read-only)
};

// The time boxes and the amount boxes that are normalised when the focus leaves them.
enum class PayTimeBox { Start, End, Break };
enum class PayAmountBox { Rate, Deduction4, Deduction5, Deduction6 };

// The text a total shows when it leaves the amount range.
inline constexpr const char* kPayOverflowText = "Overflow";

class PaySheet {
 public:
  // A new sheet as the window shows it when it opens: every column from 09:00 am to
  // 09:00 am with a break of 00:00 and rate 0, computed.
  explicit PaySheet(const LocaleInfo& locale);

  std::array<PayColumn, kShiftCount> Columns;
  std::array<std::string, kPercentCount> PayP;  // PayP1 to PayP3
  std::string PayTotalT;
  std::string PayGrossT;
  std::array<std::string, kDeductionCount> PayDT;  // totals of deductions 1 to 6
  std::string PayNetT;

  // What each column was last computed with.
  std::array<int32_t, kShiftCount> ShiftHours{};  // seconds worked
  std::array<Amount, kShiftCount> ShiftGross{};
  std::array<std::array<Amount, kDeductionCount>, kShiftCount> ShiftDeduction{};

  // Recomputes column `index` (0 to 6), then every total. A start or end time is written
  // back in the clock form; a time that cannot be read leaves the hours as they were. An
  // end before the start passes midnight; a break longer than the shift leaves 00:00
  // hours. A rate that cannot be read (an empty box too) pays 0. Deductions 1 to 3 are the
  // gross times the sheet's percentages, to two decimals; deductions 4 to 6 are the typed
  // amounts, written back in plain form.
  void PayTime(int index);
  // A percentage changed: every column is recomputed in turn.
  void PayP1_Change();

  // The focus left a box of column `index`. A time that cannot be read or is zero becomes
  // "12:00am" (start, end) or "00:00" (break); an amount is rounded to two decimals and
  // written in plain form, or becomes the number it starts with. The column is then
  // recomputed.
  void LeaveTime(int index, PayTimeBox box);
  void LeaveAmount(int index, PayAmountBox box);
  // The focus left percentage box `k` (0 to 2): above 100 it becomes 99 and every column
  // is recomputed. True when the text changed.
  bool LeavePercent(int k);

 private:
  std::string& Text(int index, PayAmountBox box);

  LocaleInfo locale_;
};

// The amount boxes' key filter: Backspace, "-", the digits and the machine's grouping and
// decimal symbols pass; every other key is dropped.
bool PayAmountKeyPasses(int keyAscii, const LocaleInfo& locale);

// The captions of the sheet, `currency` being the currency label ("$ :").
struct PayCaptions {
  std::string Window;                           // "Payroll Calculator..."
  std::array<std::string, 16> PayTitle;         // the row captions
  std::array<std::string, kShiftCount> ShiftT;  // "Period 1" to "Period 7"
};
PayCaptions PayrollCaptions(std::string_view currency);

}  // namespace qv
