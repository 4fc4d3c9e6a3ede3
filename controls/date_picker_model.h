#pragma once
// The value and layout logic of the drop-down date picker, without any window: which day
// sits in which of the 42 cells of the month grid, the colours of the cells, the chosen
// day, stepping and choosing months and years, and where the parts of the open panel lie.
// The picker widget (date_picker_control) shows this state and turns clicks into calls.
//
// Dates are built from numbers (year, month, day), never from text, so the order of the
// system's short date cannot exchange day and month.

#include <array>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "books/day_date.h"
#include "platform/colors.h"
#include "platform/locale_info.h"

namespace qv {

// The weekday headings, Sunday first. They are fixed English texts whatever the locale.
inline constexpr std::array<std::string_view, 7> kWeekdayHeadings = {"Sun", "Mon", "Tue", "Wed",
                                                                     "Thu", "Fri", "Sat"};

// Six rows of seven cells, Sunday in the first column. A month never reaches beyond cell 36.
inline constexpr int kDayCellCount = 42;
inline constexpr int kUsedDayCells = 37;

// How far the year list reaches on either side of the current year.
inline constexpr int kYearListReach = 200;

// Colours of the grid (0xBBGGRR; the top bit marks a system colour).
inline constexpr ColorValue kDayCellBackColor = SystemColorValue(kButtonFaceColor);
inline constexpr ColorValue kOrdinaryDayColor = 0x00C00000;  // dark blue
inline constexpr ColorValue kTodayColor = kMagenta;
inline constexpr ColorValue kChosenDayColor = kRed;

enum class DayCellColor { Ordinary, Today, Chosen };

// The text colour value of a cell colour.
ColorValue ColorValueOf(DayCellColor color);

struct DayCell {
  int Day = 0;           // the caption; 0 = empty
  bool Visible = false;  // only visible cells can be clicked
  DayCellColor Color = DayCellColor::Ordinary;
};

class DatePickerModel {
 public:
  // A picker created today: the chosen day is today's day and the lists show today's
  // month and year. The year list runs from this year - 200 to this year + 200. The clock
  // must outlive the model; it is asked for today at every redraw of the grid.
  explicit DatePickerModel(const Clock& clock);

  // The month (1 to 12) and year that the month and year lists show.
  int ShownMonth() const { return shownMonth_; }
  int ShownYear() const { return shownYear_; }
  // The chosen day of the month, 1 to 31. It may exceed the length of the shown month
  // after a month or year was chosen in the lists; the date then falls on the month's last
  // day (see TheDate).
  int PickedDay() const { return pickedDay_; }

  // The ends of the year list, inclusive. The list grows when a date outside it is set.
  int FirstYear() const { return firstYear_; }
  int LastYear() const { return lastYear_; }

  const std::array<DayCell, kDayCellCount>& Cells() const { return cells_; }
  // The weekday heading that is marked (0 Sunday to 6 Saturday), or -1 for none.
  int MarkedHeading() const { return markedHeading_; }

  // Shows `month` of `year` in the lists and, unless `noDraw`, lays out the grid: each day
  // of the month in its cell, every other cell empty and hidden, today's cell magenta and
  // the cell of day `redDay` red (0 = none). Clears the heading mark.
  void CalcDate(int redDay, int month, int year, bool noDraw);

  // The date of the chosen day in the shown month and year; a chosen day beyond the end
  // of the month gives the month's last day. Marks the heading of the date's weekday.
  DaySerial TheDate();
  // The same date without marking anything.
  DaySerial DateShown() const;
  // Shows the date: its day becomes the chosen day, its month and year the lists' values
  // (the year list grows to hold the year), and the grid is redrawn.
  void SetTheDate(DaySerial date);

  // Steps to the previous (index 0) or next (index 1) month, wrapping the year, and
  // chooses the last day of the new month. Returns false, changing nothing, when the step
  // would leave the year list.
  bool StepMonth(int index);
  // A month chosen in the month list: redraws the grid with no red cell, marks the heading
  // of the date, then colours red the cell of the date's day.
  void ChooseMonth(int month);
  // A year chosen in the year list: redraws the grid with no red cell (the chosen day
  // keeps its value but is not coloured) and marks the heading of the date.
  void ChooseYear(int year);

  // A click on cell k. Clears the colours of the grid (today's colour included, until the
  // next redraw), colours cell k red and makes its day the chosen day. Returns false and
  // changes nothing for an empty or hidden cell.
  bool PickCell(int k);

  // The tool tip of cell k: its caption, the month's name and the year, such as
  // "15 March 2024"; "" for an empty cell.
  std::string CellToolTip(int k, const LocaleInfo& locale) const;

 private:
  int DaysInShownMonth() const;
  void KeepYearInList(int year);

  const Clock& clock_;
  int shownMonth_ = 1;
  int shownYear_ = 2000;
  int pickedDay_ = 1;
  int firstYear_ = 1800;
  int lastYear_ = 2200;
  int markedHeading_ = -1;
  std::array<DayCell, kDayCellCount> cells_{};
};

// Where the parts of the open panel lie, in pixels from its top left corner.
struct PixelRect {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  bool Contains(int x, int y) const {
    return x >= Left && x < Left + Width && y >= Top && y < Top + Height;
  }
  bool operator==(const PixelRect&) const = default;
};

struct DatePanelLayout {
  PixelRect PreviousMonth;  // the step buttons
  PixelRect MonthList;
  PixelRect NextMonth;
  PixelRect YearList;
  std::array<PixelRect, 7> Headings;
  std::array<PixelRect, kDayCellCount> Cells;
};

// The layout of a panel of the given size. Headings and cells share seven columns across
// the panel; the six rows of cells fill the height below the headings.
DatePanelLayout LayOutDatePanel(int width, int height);

// The index of the cell under the point, or -1.
int DayCellAt(const DatePanelLayout& layout, int x, int y);

// Texts of dates in the style (a style outside 0 to 8 is style 0) that between them hold
// every month and every weekday name the style can write, with two-digit days and months.
// With each digit made the widest digit of a font, the widest of them is at least as wide
// as any date the style writes on the locale in that font (years of four digits).
std::vector<std::string> DateWidthSamples(int style, const LocaleInfo& locale);

// The settings a window stores for each picker placed on it: key, default. A value equal
// to its default is not stored, except the font size, which is always written.
struct DatePickerSettings {
  ColorValue BackColor = SystemColorValue(kWindowBackgroundColor);  // "BackColor"
  bool FontItalic = false;                                          // "FontItalic"
  bool FontBold = false;                                            // "FontBold"
  double FontSize = 10;                                             // "FontSize"
  std::string FontName = "Courier New";                             // "FontName"
  std::string DateToolTipText;                                      // "DateTipText"
  std::string Text;                                                 // "Text"
  bool Enabled = true;                                              // "Enabled"
  ColorValue ForeColor = SystemColorValue(kWindowTextColor);        // "ForeColor"
  bool operator==(const DatePickerSettings&) const = default;
};

// True for a font size the box can take: above 0 and below 2048 points (not a NaN).
inline constexpr bool IsUsableFontSize(double points) { return points > 0 && points < 2048; }

// Stored settings of a control: key to value written as text (colours and numbers in
// decimal with "." as the point under every locale, Booleans as "True" and "False").
using StoredSettings = std::map<std::string, std::string>;

StoredSettings WriteDatePickerSettings(const DatePickerSettings& settings);
// Keys that are missing or do not read back take their defaults.
DatePickerSettings ReadDatePickerSettings(const StoredSettings& stored);

}  // namespace qv
