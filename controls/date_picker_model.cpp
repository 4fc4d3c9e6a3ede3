#include "controls/date_picker_model.h"

#include <algorithm>
#include <charconv>

#include "books/date_styles.h"
#include "platform/number_text.h"

namespace qv {

ColorValue ColorValueOf(DayCellColor color) {
  switch (color) {
    case DayCellColor::Today: return kTodayColor;
    case DayCellColor::Chosen: return kChosenDayColor;
    case DayCellColor::Ordinary: break;
  }
  return kOrdinaryDayColor;
}

DatePickerModel::DatePickerModel(const Clock& clock) : clock_(clock) {
  const CalendarDate today = DateOf(clock_.Today());
  pickedDay_ = today.Day;
  firstYear_ = std::max(today.Year - kYearListReach, 100);
  lastYear_ = std::min(today.Year + kYearListReach, 9999);
  CalcDate(pickedDay_, today.Month, today.Year, false);
}

int DatePickerModel::DaysInShownMonth() const { return DaysInMonth(shownYear_, shownMonth_); }

void DatePickerModel::KeepYearInList(int year) {
  firstYear_ = std::min(firstYear_, year);
  lastYear_ = std::max(lastYear_, year);
}

void DatePickerModel::CalcDate(int redDay, int month, int year, bool noDraw) {
  markedHeading_ = -1;
  if (month < 1 || month > 12 || !IsValidCalendarDate(year, month, 1)) return;
  KeepYearInList(year);
  shownMonth_ = month;
  shownYear_ = year;
  if (noDraw) return;

  cells_.fill(DayCell{});
  const DaySerial first = *SerialOf(year, month, 1);
  const DaySerial today = clock_.Today();
  // The grid starts on the Sunday on or before the first of the month. Only days of the
  // shown month get a cell; days of the neighbouring months stay empty and hidden, so no
  // cell outside the month can be clicked.
  const int lead = WeekdayOf(first) - 1;
  const int days = DaysInShownMonth();
  for (int day = 1; day <= days; ++day) {
    DayCell& cell = cells_[static_cast<size_t>(lead + day - 1)];
    cell.Day = day;
    cell.Visible = true;
    if (first + day - 1 == today) cell.Color = DayCellColor::Today;
    if (day == redDay) cell.Color = DayCellColor::Chosen;
  }
}

DaySerial DatePickerModel::DateShown() const {
  const int day = std::min(pickedDay_, DaysInShownMonth());
  return SerialOf(shownYear_, shownMonth_, day).value_or(kZeroDate);
}

DaySerial DatePickerModel::TheDate() {
  const DaySerial date = DateShown();
  if (date != kZeroDate) markedHeading_ = WeekdayOf(date) - 1;
  return date;
}

void DatePickerModel::SetTheDate(DaySerial date) {
  if (!IsValidSerial(date)) return;
  const CalendarDate d = DateOf(date);
  if (!IsValidCalendarDate(d.Year, d.Month, d.Day)) return;
  pickedDay_ = d.Day;
  CalcDate(pickedDay_, d.Month, d.Year, false);
}

bool DatePickerModel::StepMonth(int index) {
  int month = shownMonth_ + (index == 0 ? -1 : 1);
  int year = shownYear_;
  if (month < 1) {
    month = 12;
    --year;
  } else if (month > 12) {
    month = 1;
    ++year;
  }
  if (year < firstYear_ || year > lastYear_ || !IsValidCalendarDate(year, month, 1)) {
    return false;
  }
  // A step always chooses the last day of the new month.
  pickedDay_ = DaysInMonth(year, month);
  CalcDate(pickedDay_, month, year, false);
  TheDate();
  return true;
}

void DatePickerModel::ChooseMonth(int month) {
  CalcDate(0, month, shownYear_, false);
  const DaySerial date = TheDate();
  const int day = DateOf(date).Day;
  for (int i = 0; i < kUsedDayCells; ++i) {
    DayCell& cell = cells_[static_cast<size_t>(i)];
    if (cell.Visible && cell.Day == day) cell.Color = DayCellColor::Chosen;
  }
}

void DatePickerModel::ChooseYear(int year) {
  CalcDate(0, shownMonth_, year, false);
  TheDate();
}

bool DatePickerModel::PickCell(int k) {
  if (k < 0 || k >= kDayCellCount) return false;
  DayCell& picked = cells_[static_cast<size_t>(k)];
  if (!picked.Visible || picked.Day == 0) return false;
  for (int i = 0; i < kUsedDayCells; ++i)
    cells_[static_cast<size_t>(i)].Color = DayCellColor::Ordinary;
  picked.Color = DayCellColor::Chosen;
  pickedDay_ = picked.Day;
  CalcDate(pickedDay_, shownMonth_, shownYear_, true);
  return true;
}

std::string DatePickerModel::CellToolTip(int k, const LocaleInfo& locale) const {
  if (k < 0 || k >= kDayCellCount) return "";
  const DayCell& cell = cells_[static_cast<size_t>(k)];
  if (cell.Day == 0) return "";
  return std::to_string(cell.Day) + " " + locale.MonthNames[static_cast<size_t>(shownMonth_ - 1)] +
         " " + std::to_string(shownYear_);
}

namespace {

// Edge i of n equal parts of `length` starting at `start`, in whole pixels.
int Edge(int start, int length, int i, int n) { return start + (length * i) / n; }

PixelRect Span(int left, int right, int top, int bottom) {
  return PixelRect{left, top, std::max(right - left, 0), std::max(bottom - top, 0)};
}

}  // namespace

DatePanelLayout LayOutDatePanel(int width, int height) {
  constexpr int kMargin = 3;
  constexpr int kGap = 3;
  constexpr int kListHeight = 21;
  constexpr int kStepWidth = 21;
  constexpr int kHeadingHeight = 15;

  DatePanelLayout layout;
  const int inner = std::max(width - 2 * kMargin, 0);
  // Top row: previous month, month list, next month, year list. The month list takes
  // about half of the width, the year list what is left.
  const int monthWidth = std::max((inner - 2 * kStepWidth - 3 * kGap) * 3 / 5, 0);
  int x = kMargin;
  layout.PreviousMonth = PixelRect{x, kMargin, kStepWidth, kListHeight};
  x += kStepWidth + kGap;
  layout.MonthList = PixelRect{x, kMargin, monthWidth, kListHeight};
  x += monthWidth + kGap;
  layout.NextMonth = PixelRect{x, kMargin, kStepWidth, kListHeight};
  x += kStepWidth + kGap;
  layout.YearList = PixelRect{x, kMargin, std::max(kMargin + inner - x, 0), kListHeight};

  const int headingTop = kMargin + kListHeight + kGap;
  const int gridTop = headingTop + kHeadingHeight;
  const int gridHeight = std::max(height - kMargin - gridTop, 0);
  for (int c = 0; c < 7; ++c) {
    const int left = Edge(kMargin, inner, c, 7);
    const int right = Edge(kMargin, inner, c + 1, 7);
    layout.Headings[static_cast<size_t>(c)] = Span(left, right, headingTop, gridTop);
    for (int r = 0; r < 6; ++r) {
      layout.Cells[static_cast<size_t>(r * 7 + c)] =
          Span(left, right, Edge(gridTop, gridHeight, r, 6), Edge(gridTop, gridHeight, r + 1, 6));
    }
  }
  return layout;
}

int DayCellAt(const DatePanelLayout& layout, int x, int y) {
  for (int i = 0; i < kDayCellCount; ++i) {
    if (layout.Cells[static_cast<size_t>(i)].Contains(x, y)) return i;
  }
  return -1;
}

std::vector<std::string> DateWidthSamples(int style, const LocaleInfo& locale) {
  // Days 22 to 28 of every month of 2000 fall on every weekday, each month of them.
  std::vector<std::string> samples;
  for (int month = 1; month <= 12; ++month)
    for (int day = 22; day <= 28; ++day)
      samples.push_back(FormatDateStyle(*SerialOf(2000, month, day), style, locale));
  return samples;
}

namespace {

std::string BoolText(bool value) { return value ? "True" : "False"; }

template <typename T>
void ReadNumber(const StoredSettings& stored, const char* key, T& value) {
  const auto it = stored.find(key);
  if (it == stored.end()) return;
  T read{};
  const std::string& text = it->second;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), read);
  if (error == std::errc() && end == text.data() + text.size()) value = read;
}

void ReadBool(const StoredSettings& stored, const char* key, bool& value) {
  const auto it = stored.find(key);
  if (it == stored.end()) return;
  if (it->second == "True") value = true;
  if (it->second == "False") value = false;
}

void ReadText(const StoredSettings& stored, const char* key, std::string& value) {
  const auto it = stored.find(key);
  if (it != stored.end()) value = it->second;
}

}  // namespace

StoredSettings WriteDatePickerSettings(const DatePickerSettings& s) {
  const DatePickerSettings d;
  StoredSettings stored;
  if (s.BackColor != d.BackColor) stored["BackColor"] = std::to_string(s.BackColor);
  if (s.FontItalic != d.FontItalic) stored["FontItalic"] = BoolText(s.FontItalic);
  if (s.FontBold != d.FontBold) stored["FontBold"] = BoolText(s.FontBold);
  stored["FontSize"] = NumberText(s.FontSize, std::chars_format::general, 15);
  if (s.FontName != d.FontName) stored["FontName"] = s.FontName;
  if (s.DateToolTipText != d.DateToolTipText) stored["DateTipText"] = s.DateToolTipText;
  if (s.Text != d.Text) stored["Text"] = s.Text;
  if (s.Enabled != d.Enabled) stored["Enabled"] = BoolText(s.Enabled);
  if (s.ForeColor != d.ForeColor) stored["ForeColor"] = std::to_string(s.ForeColor);
  return stored;
}

DatePickerSettings ReadDatePickerSettings(const StoredSettings& stored) {
  DatePickerSettings s;
  ReadNumber(stored, "BackColor", s.BackColor);
  ReadBool(stored, "FontItalic", s.FontItalic);
  ReadBool(stored, "FontBold", s.FontBold);
  ReadNumber(stored, "FontSize", s.FontSize);
  if (!IsUsableFontSize(s.FontSize)) s.FontSize = DatePickerSettings{}.FontSize;
  ReadText(stored, "FontName", s.FontName);
  ReadText(stored, "DateTipText", s.DateToolTipText);
  ReadText(stored, "Text", s.Text);
  ReadBool(stored, "Enabled", s.Enabled);
  ReadNumber(stored, "ForeColor", s.ForeColor);
  return s;
}

}  // namespace qv
