#include "controls/date_picker_model.h"
#include <gtest/gtest.h>
#include <utility>

namespace qv {
namespace {

DaySerial Day(int year, int month, int day) { return *SerialOf(year, month, day); }

class DatePickerModelTest : public ::testing::Test {
 protected:
  // The colour of the cell that shows `day`; fails when no visible cell shows it.
  DayCellColor ColorOf(int day) const { return model.Cells()[size_t(CellOf(day))].Color; }
  int CellOf(int day) const {
    for (int i = 0; i < kDayCellCount; ++i)
      if (const DayCell& c = model.Cells()[size_t(i)]; c.Visible && c.Day == day) return i;
    ADD_FAILURE() << "no cell shows day " << day;
    return 0;
  }
  bool AnyCell(DayCellColor color) const {
    for (const DayCell& cell : model.Cells())
      if (cell.Color == color) return true;
    return false;
  }
  FixedClock clock{Day(2026, 3, 15)};  // a Sunday
  DatePickerModel model{clock};
};

TEST_F(DatePickerModelTest, EachDayOfTheMonthSitsInItsWeekdayColumnAndNothingElseShows) {
  // Among them February 2026: 28 days from a Sunday, and no stray "1" of March in cell 28.
  for (int year = model.FirstYear(); year <= model.LastYear(); ++year) {
    for (int month = 1; month <= 12; ++month) {
      model.CalcDate(0, month, year, false);
      const int lead = WeekdayOf(Day(year, month, 1)) - 1, length = DaysInMonth(year, month);
      for (int i = 0; i < kDayCellCount; ++i) {
        const DayCell& cell = model.Cells()[static_cast<size_t>(i)];
        const bool inMonth = i >= lead && i < lead + length;
        ASSERT_TRUE(cell.Visible == inMonth && cell.Day == (inMonth ? i - lead + 1 : 0))
            << year << "-" << month << " cell " << i;
      }
    }
  }
  // After a month change no empty cell can be clicked.
  model.CalcDate(0, 8, 2026, false);  // August 2026 fills cells 6 to 36
  model.ChooseMonth(2);               // February 2026 fills cells 0 to 27
  EXPECT_FALSE(model.PickCell(-1));
  for (int i = 28; i <= kDayCellCount; ++i) EXPECT_FALSE(model.PickCell(i)) << i;
  EXPECT_EQ(model.TheDate(), Day(2026, 2, 15));
}

TEST_F(DatePickerModelTest, MonthStepsWrapTheYearAndLandOnTheLastDayByTheGregorianRule) {
  for (auto [year, last] : {std::pair{2024, 29}, {2025, 28}, {2100, 28}, {2000, 29}}) {
    for (int day = 1; day <= 31; ++day) {
      model.SetTheDate(Day(year, 1, day));
      ASSERT_TRUE(model.StepMonth(1));
      ASSERT_EQ(model.TheDate(), Day(year, 2, last)) << year << " from day " << day;
      EXPECT_EQ(ColorOf(last), DayCellColor::Chosen);
    }
  }
  model.SetTheDate(Day(2025, 1, 10));
  ASSERT_TRUE(model.StepMonth(0));
  EXPECT_EQ(std::tuple(model.ShownMonth(), model.ShownYear(), model.TheDate()),
            std::tuple(12, 2024, Day(2024, 12, 31)));
  ASSERT_TRUE(model.StepMonth(1));
  EXPECT_EQ(model.TheDate(), Day(2025, 1, 31));
  // Steps stop at the ends of the year list; a date set outside the list widens it.
  for (auto [date, index] : {std::pair{Day(1826, 1, 5), 0}, {Day(2226, 12, 5), 1}}) {
    model.SetTheDate(date);
    EXPECT_FALSE(model.StepMonth(index) || model.TheDate() != date);
  }
  model.SetTheDate(Day(1700, 6, 1));
  EXPECT_EQ(std::pair(model.FirstYear(), model.ShownYear()), std::pair(1700, 1700));
  EXPECT_TRUE(model.StepMonth(0));
}

TEST_F(DatePickerModelTest, AChosenDayMissingFromTheNewMonthFallsOnItsLastDay) {
  model.SetTheDate(Day(2025, 3, 31));
  model.ChooseMonth(4);
  EXPECT_EQ(std::pair(model.PickedDay(), model.TheDate()), std::pair(31, Day(2025, 4, 30)));
  EXPECT_EQ(ColorOf(30), DayCellColor::Chosen);
  model.ChooseMonth(5);  // the chosen day is kept: a month that has it shows it again
  EXPECT_EQ(model.TheDate(), Day(2025, 5, 31));
  model.SetTheDate(Day(2024, 2, 29));
  model.ChooseYear(2025);
  EXPECT_EQ(model.TheDate(), Day(2025, 2, 28));
  model.SetTheDate(Day(2024, 3, 10));
  model.ChooseYear(2025);
  EXPECT_FALSE(AnyCell(DayCellColor::Chosen)) << "choosing a year leaves no cell red";
  // No sequence of steps and choices reaches the zero date, and a step after a capped day
  // goes to the neighbouring month of the one shown.
  model.SetTheDate(Day(2025, 1, 31));
  model.ChooseMonth(2);
  ASSERT_TRUE(model.StepMonth(1));
  EXPECT_EQ(model.TheDate(), Day(2025, 3, 31));
  for (int i = 0; i < 60; ++i) {
    model.ChooseMonth(1 + (i * 5) % 12);
    if (i % 3 == 0) model.ChooseYear(2000 + i);
    model.StepMonth(i % 2);
    ASSERT_NE(model.TheDate(), kZeroDate);
  }
}

TEST_F(DatePickerModelTest, StartsOnTodayWhichIsMagentaOnlyInItsMonthAndTheChosenDayIsRed) {
  EXPECT_EQ(std::pair(model.FirstYear(), model.LastYear()), std::pair(1826, 2226));
  EXPECT_EQ(model.TheDate(), Day(2026, 3, 15));
  EXPECT_EQ(model.MarkedHeading(), 0);  // Sunday
  EXPECT_EQ(ColorOf(15), DayCellColor::Chosen);
  model.SetTheDate(Day(2026, 3, 10));
  EXPECT_EQ(std::tuple(ColorOf(15), ColorOf(10), ColorOf(11)),
            std::tuple(DayCellColor::Today, DayCellColor::Chosen, DayCellColor::Ordinary));
  for (auto [month, year] : {std::pair{4, 2026}, {3, 2025}, {3, 2027}}) {
    model.CalcDate(0, month, year, false);
    EXPECT_FALSE(AnyCell(DayCellColor::Today)) << year << "-" << month;
  }
  clock.Set(Day(2026, 3, 16));  // the clock is read at every redraw
  model.CalcDate(0, 3, 2026, false);
  EXPECT_EQ(ColorOf(16), DayCellColor::Today);
  model.SetTheDate(Day(2024, 3, 15));  // a Friday: its heading is marked once it is read
  EXPECT_EQ(model.MarkedHeading(), -1);
  EXPECT_EQ(model.TheDate(), Day(2024, 3, 15));
  EXPECT_EQ(model.MarkedHeading(), 5);
  // Month names come from the locale; empty cells have no tip.
  LocaleInfo german = UsEnglishLocale();
  german.MonthNames[2] = "März";
  EXPECT_EQ(model.CellToolTip(CellOf(15), german), "15 März 2024");
  EXPECT_EQ(model.CellToolTip(0, german) + model.CellToolTip(99, german), "");
}

TEST(DatePanelLayoutTest, CellsTileTheGridBelowTheHeadingsAndHitTestingFindsThem) {
  const int width = 305, height = 135;
  const DatePanelLayout layout = LayOutDatePanel(width, height);
  for (int i = 0; i < kDayCellCount; ++i) {
    const PixelRect& r = layout.Cells[static_cast<size_t>(i)];
    ASSERT_TRUE(r.Width > 30 && r.Height >= 13) << i;
    ASSERT_GE(r.Top, layout.Headings[0].Top + layout.Headings[0].Height);
    ASSERT_TRUE(r.Left + r.Width <= width && r.Top + r.Height <= height) << i;
    EXPECT_EQ(DayCellAt(layout, r.Left, r.Top), i);
    EXPECT_EQ(DayCellAt(layout, r.Left + r.Width - 1, r.Top + r.Height - 1), i);
  }
  EXPECT_EQ(DayCellAt(layout, width / 2, layout.Headings[0].Top), -1);
}

TEST(DatePickerSettingsTest, StoredSettingsReadBackAndBadValuesReadAsDefaults) {
  const DatePickerSettings s{.BackColor = 0xC0FFFF, .FontSize = 8.25, .Text = "15/03/2024"};
  EXPECT_EQ(ReadDatePickerSettings(WriteDatePickerSettings(s)), s);
  EXPECT_EQ(
      ReadDatePickerSettings({{"BackColor", "blue"}, {"FontSize", "-3"}, {"Enabled", "maybe"}}),
      DatePickerSettings{});
}

TEST(DatePickerSettingsTest, DefaultsAreNotStoredExceptTheFontSizeAndBadValuesReadAsDefaults) {
  EXPECT_EQ(WriteDatePickerSettings({}), (StoredSettings{{"FontSize", "10"}}));
  const DatePickerSettings s{.BackColor = 0xC0FFFF,
                             .FontBold = true,
                             .FontSize = 8.25,
                             .FontName = "Arial",
                             .DateToolTipText = "Entry date",
                             .Text = "15/03/2024",
                             .Enabled = false,
                             .ForeColor = 0x80000012};
  EXPECT_EQ(ReadDatePickerSettings(WriteDatePickerSettings(s)), s);
  EXPECT_EQ(
      ReadDatePickerSettings({{"BackColor", "blue"}, {"FontSize", "-3"}, {"Enabled", "maybe"}}),
      DatePickerSettings{});
}

}  // namespace
}  // namespace qv
