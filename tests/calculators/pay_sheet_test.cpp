#include "calculators/pay_sheet.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>

#include "calculators/shift_times.h"

namespace qv {
namespace {

class PaySheetTest : public ::testing::Test {
 protected:
  // Fills column `i` as the user types it and leaves each box.
  void Shift(int i, const char* start, const char* end, const char* pause, const char* rate) {
    PayColumn& c = sheet.Columns[static_cast<std::size_t>(i)];
    c.PaySt = start;
    sheet.LeaveTime(i, PayTimeBox::Start);
    c.PayEnd = end;
    sheet.LeaveTime(i, PayTimeBox::End);
    c.PayBreak = pause;
    sheet.LeaveTime(i, PayTimeBox::Break);
    c.PayRate = rate;
    sheet.PayTime(i);  // the rate box's change
    sheet.LeaveAmount(i, PayAmountBox::Rate);
  }
  PayColumn& Column(int i) { return sheet.Columns[static_cast<std::size_t>(i)]; }

  PaySheet sheet{UsEnglishLocale()};
};

TEST_F(PaySheetTest, HoursRunFromStartToEndLessTheBreak) {
  const std::array<const char*, 6> rows[] = {
      {"8:00 am", "5:00 pm", "01:00", "10", "08:00", "80.00"},
      {"10:00 pm", "6:00 am", "00:30", "10", "07:30", "75.00"},
      {"1:00 pm", "5:00 pm", "0:00", "10", "04:00", "40.00"},
      {"12:00 pm", "12:00 am", "0:00", "1", "12:00", "12.00"},
      {"11:00 pm", "10:00 pm", "0:00", "1", "23:00", "23.00"},     // passes midnight
      {"11:00 am", "1:00 am", "0:00", "1", "14:00", "14.00"},      // likewise
      {"9:00 am", "10:00 am", "02:00", "10", "00:00", "0.00"},     // break longer than the shift
      {"9:00 am", "5:00 pm", "0:00:40", "60", "07:59", "479.00"},  // seconds are not paid
      {"9:00 am", "5:00 pm", "0:00", "-5", "08:00", "(40.00)"},    // a negative rate as typed
  };
  for (const auto& [start, end, pause, rate, hours, gross] : rows) {
    Shift(0, start, end, pause, rate);
    EXPECT_EQ(Column(0).PayTotal + " " + Column(0).PayGross, std::string(hours) + " " + gross)
        << start << " " << end;
  }
}

TEST_F(PaySheetTest, DeductionsComeOffTheGross) {
  Shift(0, "9:00 am", "4:20 pm", "0:00", "12.5");
  EXPECT_EQ(Column(0).PayTotal, "07:20");
  EXPECT_EQ(Column(0).PayGross, "91.67");
  sheet.PayP[0] = "10";
  sheet.PayP1_Change();
  EXPECT_EQ(Column(0).PayDe[0], "9.17");
  EXPECT_EQ(Column(0).PayNet, "82.50");
  // A negative deduction raises the net; a typed one is kept in plain form.
  Column(0).PayDe[3] = "-5";
  sheet.LeaveAmount(0, PayAmountBox::Deduction4);
  EXPECT_EQ(Column(0).PayNet, "87.50");
  Column(1).PayDe[4] = "12.5";
  sheet.LeaveAmount(1, PayAmountBox::Deduction5);
  EXPECT_EQ(sheet.PayDT[4], "12.50");
  EXPECT_EQ(sheet.PayNetT, "75.00");  // 91.6667 - 9.17 + 5 - 12.5
}

TEST_F(PaySheetTest, TheHoursTotalAddsTheShownHours) {
  Column(0).PayEnd = "4:05 pm";
  sheet.PayTime(0);
  Column(1).PayEnd = "9:55 am";
  sheet.PayTime(1);
  EXPECT_EQ(sheet.PayTotalT, "8:00");
  for (int i = 0; i < kShiftCount; ++i) Shift(i, "9:00 am", "5:00 pm", "0:00", "0");
  EXPECT_EQ(sheet.PayTotalT, "56:00");
}

TEST_F(PaySheetTest, LeavingATimeBoxAlwaysRecomputes) {
  Shift(0, "8:00 am", "5:00 pm", "01:00", "10");
  Column(0).PayBreak = "0:00";
  sheet.LeaveTime(0, PayTimeBox::Break);
  EXPECT_EQ(Column(0).PayBreak, "00:00");
  EXPECT_EQ(Column(0).PayTotal, "09:00");
  EXPECT_EQ(sheet.PayNetT, "90.00");
  for (const char* start : {"12:00 am", "", "25:00", "noon", "13:00 pm"}) {
    Column(0).PaySt = start;
    sheet.LeaveTime(0, PayTimeBox::Start);
    EXPECT_EQ(Column(0).PaySt, "12:00 am") << start;  // written back in the clock form
    EXPECT_EQ(Column(0).PayTotal, "17:00") << start;
  }
  // Clearing the rate pays nothing.
  Column(0).PayRate = "";
  sheet.PayTime(0);
  EXPECT_EQ(Column(0).PayGross, "0.00");
  sheet.LeaveAmount(0, PayAmountBox::Rate);
  EXPECT_EQ(Column(0).PayRate, "0");
}

TEST_F(PaySheetTest, AmountsAreRoundedToCentsWhenLeft) {
  static const std::string kTooLarge(40, '9');
  const std::pair<const char*, const char*> rows[] = {
      {"12.5", "12.5"},       {"12.345", "12.34"}, {"12.355", "12.36"},
      {"1,234.50", "1234.5"}, {"", "0"},           {"12abc", "12"},
      {"-3-", "-3"},          {"1-2", "1"},        {kTooLarge.c_str(), "0"},
  };
  for (const auto& [typed, left] : rows) {
    Column(2).PayRate = typed;
    sheet.LeaveAmount(2, PayAmountBox::Rate);
    EXPECT_EQ(Column(2).PayRate, left) << typed;
  }
}

TEST(PaySheetLocaleTest, ACommaDecimalMachineKeepsItsFractions) {
  LocaleInfo de = UsEnglishLocale();
  de.DecimalSymbol = ",";
  de.GroupSymbol = ".";
  PaySheet sheet(de);
  sheet.Columns[0].PayDe[3] = "12,5";
  sheet.LeaveAmount(0, PayAmountBox::Deduction4);
  EXPECT_EQ(sheet.Columns[0].PayDe[3], "12,5");
  EXPECT_EQ(sheet.PayDT[3], "12,50");
  sheet.PayP[0] = "7,5";
  sheet.Columns[0].PayRate = "100";
  sheet.PayTime(0);  // nine to nine: no hours, so no gross; then eight hours
  sheet.Columns[0].PayEnd = "5:00 pm";
  sheet.PayTime(0);
  EXPECT_EQ(sheet.Columns[0].PayDe[0], "60");
}

TEST(ShiftTimesTest, TimesAreReadOnTheSheetsClocks) {
  const std::pair<const char*, std::optional<int32_t>> rows[] = {
      {"9:00 am", 9 * 3600},  {"09:00 PM", 21 * 3600},   {"21:30", 21 * 3600 + 1800},
      {"12:00am", 0},         {"12:00 pm", 12 * 3600},   {"9 pm", 21 * 3600},
      {"7:20:40", 26440},     {"25:00", std::nullopt},   {"13:00 pm", std::nullopt},
      {"9:60", std::nullopt}, {"9", std::nullopt},       {"", std::nullopt},
      {"abc", std::nullopt},  {"9:00 xm", std::nullopt},
  };
  for (const auto& [text, seconds] : rows) EXPECT_EQ(ReadShiftTime(text), seconds) << text;
}

}  // namespace
}  // namespace qv
