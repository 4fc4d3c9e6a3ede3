#include "controls/date_picker_model.h"

#include <gtest/gtest.h>

#include <set>

namespace qv {
namespace {

DaySerial Day(int year, int month, int day) { return *SerialOf(year, month, day); }

// The days shown, cell by cell; 0 for a hidden cell. Also checks that hidden cells are
// empty and visible ones are not.
std::array<int, kDayCellCount> Shown(const DatePickerModel& model) {
  std::array<int, kDayCellCount> days{};
  for (int i = 0; i < kDayCellCount; ++i) {
    const DayCell& cell = model.Cells()[static_cast<size_t>(i)];
    EXPECT_EQ(cell.Visible, cell.Day != 0) << "cell " << i;
    days[static_cast<size_t>(i)] = cell.Visible ? cell.Day : 0;
  }
  return days;
}

int CellOfDay(const DatePickerModel& model, int day) {
  for (int i = 0; i < kDayCellCount; ++i) {
    const DayCell& cell = model.Cells()[static_cast<size_t>(i)];
    if (cell.Visible && cell.Day == day) return i;
  }
  return -1;
}

class DatePickerModelTest : public ::testing::Test {
 protected:
  FixedClock clock{Day(2026, 3, 15)};  // a Sunday
  DatePickerModel model{clock};
};

TEST_F(DatePickerModelTest, StartsOnTodayWithFourHundredYearsInTheList) {
  EXPECT_EQ(model.ShownMonth(), 3);
  EXPECT_EQ(model.ShownYear(), 2026);
  EXPECT_EQ(model.PickedDay(), 15);
  EXPECT_EQ(model.FirstYear(), 1826);
  EXPECT_EQ(model.LastYear(), 2226);
  EXPECT_EQ(model.TheDate(), Day(2026, 3, 15));
  EXPECT_EQ(model.MarkedHeading(), 0);  // Sunday
}

TEST_F(DatePickerModelTest, EachDayOfTheMonthSitsInItsWeekdayColumnAndNothingElseShows) {
  model.CalcDate(0, 3, 2025, false);  // starts on a Saturday
  auto days = Shown(model);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(days[static_cast<size_t>(i)], 0);
  for (int i = 6; i <= 36; ++i) EXPECT_EQ(days[static_cast<size_t>(i)], i - 5);
  for (int i = 37; i < kDayCellCount; ++i) EXPECT_EQ(days[static_cast<size_t>(i)], 0);

  // A 28-day February that starts on a Sunday: no stray "1" of March in cell 28.
  model.CalcDate(0, 2, 2026, false);
  days = Shown(model);
  for (int i = 0; i < 28; ++i) EXPECT_EQ(days[static_cast<size_t>(i)], i + 1);
  for (int i = 28; i < kDayCellCount; ++i) EXPECT_EQ(days[static_cast<size_t>(i)], 0) << i;

  // Every month of the year list: the 1st under its weekday, then the days in order.
  for (int year = model.FirstYear(); year <= model.LastYear(); ++year) {
    for (int month = 1; month <= 12; ++month) {
      model.CalcDate(0, month, year, false);
      const int lead = WeekdayOf(Day(year, month, 1)) - 1;
      const int length = DaysInMonth(year, month);
      int visible = 0;
      for (int i = 0; i < kDayCellCount; ++i) {
        const DayCell& cell = model.Cells()[static_cast<size_t>(i)];
        const bool inMonth = i >= lead && i < lead + length;
        ASSERT_EQ(cell.Visible, inMonth) << year << "-" << month << " cell " << i;
        if (inMonth) {
          ASSERT_EQ(cell.Day, i - lead + 1);
        }
        visible += cell.Visible;
      }
      ASSERT_EQ(visible, length);
      ASSERT_LT(lead + length, kUsedDayCells + 1);
    }
  }
}

TEST_F(DatePickerModelTest, NoEmptyCellCanBeClickedAfterMonthChanges) {
  model.CalcDate(0, 8, 2026, false);  // August 2026 fills cells 6 to 36
  model.ChooseMonth(2);               // February 2026 fills cells 0 to 27
  for (int i = 28; i < kDayCellCount; ++i) {
    EXPECT_FALSE(model.PickCell(i)) << i;
  }
  EXPECT_FALSE(model.PickCell(-1));
  EXPECT_FALSE(model.PickCell(kDayCellCount));
  EXPECT_NE(model.TheDate(), kZeroDate);
  EXPECT_EQ(model.PickedDay(), 15);
}

TEST_F(DatePickerModelTest, StepFromJanuaryLandsOnTheLastDayOfFebruaryByTheGregorianRule) {
  for (const auto& [year, last] :
       {std::pair{2024, 29}, {2025, 28}, {2100, 28}, {2000, 29}, {2099, 28}}) {
    for (int day = 1; day <= 31; ++day) {
      model.SetTheDate(Day(year, 1, day));
      ASSERT_TRUE(model.StepMonth(1));
      ASSERT_EQ(model.TheDate(), Day(year, 2, last)) << year << " from day " << day;
      EXPECT_EQ(model.PickedDay(), last);
      EXPECT_EQ(model.Cells()[static_cast<size_t>(CellOfDay(model, last))].Color,
                DayCellColor::Chosen);
    }
  }
  // Back from January: December of the year before.
  model.SetTheDate(Day(2025, 1, 10));
  ASSERT_TRUE(model.StepMonth(0));
  EXPECT_EQ(model.ShownYear(), 2024);
  EXPECT_EQ(model.ShownMonth(), 12);
  EXPECT_EQ(model.TheDate(), Day(2024, 12, 31));
  // Forward from December: January of the year after.
  ASSERT_TRUE(model.StepMonth(1));
  EXPECT_EQ(model.TheDate(), Day(2025, 1, 31));
}

TEST_F(DatePickerModelTest, StepsStopAtTheEndsOfTheYearList) {
  model.SetTheDate(Day(1826, 1, 5));
  EXPECT_FALSE(model.StepMonth(0));
  EXPECT_EQ(model.TheDate(), Day(1826, 1, 5));
  model.SetTheDate(Day(2226, 12, 5));
  EXPECT_FALSE(model.StepMonth(1));
  EXPECT_EQ(model.TheDate(), Day(2226, 12, 5));
  // A date set outside the list widens it.
  model.SetTheDate(Day(1700, 6, 1));
  EXPECT_EQ(model.FirstYear(), 1700);
  EXPECT_EQ(model.ShownYear(), 1700);
  EXPECT_TRUE(model.StepMonth(0));
}

TEST_F(DatePickerModelTest, AChosenDayMissingFromTheNewMonthFallsOnItsLastDay) {
  model.SetTheDate(Day(2025, 3, 31));
  model.ChooseMonth(4);
  EXPECT_EQ(model.PickedDay(), 31);
  EXPECT_EQ(model.TheDate(), Day(2025, 4, 30));
  EXPECT_EQ(model.Cells()[static_cast<size_t>(CellOfDay(model, 30))].Color, DayCellColor::Chosen);
  // The chosen day is kept: a month that has it shows it again.
  model.ChooseMonth(5);
  EXPECT_EQ(model.TheDate(), Day(2025, 5, 31));

  model.SetTheDate(Day(2024, 2, 29));
  model.ChooseYear(2025);
  EXPECT_EQ(model.TheDate(), Day(2025, 2, 28));
  // Choosing a year leaves no cell red.
  for (const DayCell& cell : model.Cells()) EXPECT_NE(cell.Color, DayCellColor::Chosen);

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

TEST_F(DatePickerModelTest, TodayIsMagentaOnlyInItsMonthAndTheChosenDayIsRedEvenOnToday) {
  const int todayCell = CellOfDay(model, 15);
  EXPECT_EQ(model.Cells()[static_cast<size_t>(todayCell)].Color, DayCellColor::Chosen);

  model.SetTheDate(Day(2026, 3, 10));
  EXPECT_EQ(model.Cells()[static_cast<size_t>(todayCell)].Color, DayCellColor::Today);
  EXPECT_EQ(model.Cells()[static_cast<size_t>(CellOfDay(model, 10))].Color, DayCellColor::Chosen);
  EXPECT_EQ(model.Cells()[static_cast<size_t>(CellOfDay(model, 11))].Color, DayCellColor::Ordinary);

  for (auto [month, year] : {std::pair{4, 2026}, {3, 2025}, {3, 2027}}) {
    model.CalcDate(0, month, year, false);
    for (const DayCell& cell : model.Cells()) EXPECT_NE(cell.Color, DayCellColor::Today);
  }

  // Picking a day clears the today colour until the grid is drawn again.
  model.CalcDate(0, 3, 2026, false);
  ASSERT_TRUE(model.PickCell(CellOfDay(model, 20)));
  EXPECT_EQ(model.PickedDay(), 20);
  EXPECT_EQ(model.Cells()[static_cast<size_t>(todayCell)].Color, DayCellColor::Ordinary);
  EXPECT_EQ(model.Cells()[static_cast<size_t>(CellOfDay(model, 20))].Color, DayCellColor::Chosen);
  EXPECT_EQ(model.TheDate(), Day(2026, 3, 20));

  // The clock is read at every redraw.
  clock.Set(Day(2026, 3, 16));
  model.CalcDate(0, 3, 2026, false);
  EXPECT_EQ(model.Cells()[static_cast<size_t>(CellOfDay(model, 16))].Color, DayCellColor::Today);
  EXPECT_EQ(ColorValueOf(DayCellColor::Today), 0x00FF00FFu);
  EXPECT_EQ(ColorValueOf(DayCellColor::Chosen), 0x000000FFu);
  EXPECT_EQ(ColorValueOf(DayCellColor::Ordinary), 0x00C00000u);
}

TEST_F(DatePickerModelTest, HeadingMarkFollowsTheDateAndARedrawClearsIt) {
  model.SetTheDate(Day(2024, 3, 15));  // a Friday
  EXPECT_EQ(model.MarkedHeading(), -1);
  EXPECT_EQ(model.TheDate(), Day(2024, 3, 15));
  EXPECT_EQ(model.MarkedHeading(), 5);
  EXPECT_EQ(kWeekdayHeadings[5], "Fri");
  model.CalcDate(15, 3, 2024, true);
  EXPECT_EQ(model.MarkedHeading(), -1);
  EXPECT_EQ(model.DateShown(), Day(2024, 3, 15));
  EXPECT_EQ(model.MarkedHeading(), -1);
}

TEST_F(DatePickerModelTest, ToolTipNamesDayMonthAndYearInTheLocaleLanguage) {
  model.SetTheDate(Day(2024, 3, 1));
  const int cell = CellOfDay(model, 15);
  EXPECT_EQ(model.CellToolTip(cell, UsEnglishLocale()), "15 March 2024");
  LocaleInfo german = UsEnglishLocale();
  german.MonthNames[2] = "März";
  EXPECT_EQ(model.CellToolTip(cell, german), "15 März 2024");
  EXPECT_EQ(model.CellToolTip(0, UsEnglishLocale()), "");  // 1 March 2024 is a Friday
  EXPECT_EQ(model.CellToolTip(99, UsEnglishLocale()), "");
}

TEST(DatePanelLayoutTest, CellsTileTheGridBelowTheHeadingsAndHitTestingFindsThem) {
  const int width = 305, height = 135;
  const DatePanelLayout layout = LayOutDatePanel(width, height);
  std::set<int> found;
  for (int i = 0; i < kDayCellCount; ++i) {
    const PixelRect& r = layout.Cells[static_cast<size_t>(i)];
    ASSERT_GT(r.Width, 30);
    ASSERT_GE(r.Height, 13);
    ASSERT_GE(r.Top, layout.Headings[0].Top + layout.Headings[0].Height);
    ASSERT_LE(r.Left + r.Width, width);
    ASSERT_LE(r.Top + r.Height, height);
    EXPECT_EQ(DayCellAt(layout, r.Left + r.Width / 2, r.Top + r.Height / 2), i);
    EXPECT_EQ(DayCellAt(layout, r.Left, r.Top), i);
    EXPECT_EQ(DayCellAt(layout, r.Left + r.Width - 1, r.Top + r.Height - 1), i);
  }
  EXPECT_EQ(layout.Cells[7].Left, layout.Cells[0].Left);     // rows of seven
  EXPECT_EQ(layout.Cells[1].Left, layout.Headings[1].Left);  // under their headings
  EXPECT_EQ(DayCellAt(layout, 1, 1), -1);
  EXPECT_EQ(DayCellAt(layout, width / 2, layout.Headings[0].Top), -1);
  EXPECT_LE(layout.YearList.Left + layout.YearList.Width, width);
  EXPECT_GT(layout.YearList.Width, 40);
  EXPECT_GT(layout.MonthList.Width, 80);
  // A panel too small for anything still gives no negative sizes.
  const DatePanelLayout tiny = LayOutDatePanel(0, 0);
  for (const PixelRect& r : tiny.Cells) EXPECT_GE(r.Width, 0);
}

TEST(DatePickerSettingsTest, DefaultsAreNotStoredExceptTheFontSizeAndReadBack) {
  const DatePickerSettings defaults;
  const StoredSettings plain = WriteDatePickerSettings(defaults);
  EXPECT_EQ(plain, (StoredSettings{{"FontSize", "10"}}));
  EXPECT_EQ(ReadDatePickerSettings({}), defaults);

  DatePickerSettings s;
  s.BackColor = 0xC0FFFF;
  s.FontBold = true;
  s.FontSize = 8.25;
  s.FontName = "Arial";
  s.DateToolTipText = "Entry date";
  s.Text = "15/03/2024";
  s.Enabled = false;
  s.ForeColor = 0x80000012;
  const StoredSettings stored = WriteDatePickerSettings(s);
  EXPECT_EQ(stored.at("DateTipText"), "Entry date");
  EXPECT_EQ(stored.count("FontItalic"), 0u);
  EXPECT_EQ(ReadDatePickerSettings(stored), s);

  // Values that do not read back keep their defaults.
  const DatePickerSettings bad =
      ReadDatePickerSettings({{"BackColor", "blue"}, {"FontSize", "-3"}, {"Enabled", "maybe"}});
  EXPECT_EQ(bad, defaults);
}

}  // namespace
}  // namespace qv
