#pragma once
// CalanderForm: the program's drop-down date picker. Closed, it is a one-line date box with
// a button beside it; the button opens a panel under the box with a month list, a year
// list, previous/next month buttons, the weekday headings and a grid of day cells.
//
// Hosts read and write the date as text (`Text`), in the book's date style. Picking a day
// writes the box, sets the session's DatePicked to 1, closes the panel and raises Click.
// The open panel is a popup: the box does not count as having lost the focus while it is
// open, so LostFocus is raised only when the focus leaves both the box and the panel.
//
// The grid's content and the navigation live in DatePickerModel; this widget shows them,
// paints the panel and turns clicks and keys into model calls and events.
//
// The box is never narrower than the widest date its style writes on its locale in its
// font: the control's minimum width grows to fit it, so a host that places it at its design
// width gets it wider where needed (and moves what stands beside it). A text set from code
// is shown from its start.

#include <QLineEdit>
#include <QWidget>
#include <cstdint>

#include "books/day_date.h"
#include "controls/date_picker_model.h"
#include "platform/colors.h"
#include "platform/locale_info.h"

class QAbstractButton;
class QComboBox;

namespace qv {

struct Session;
class CalanderButtonImage;
class CalanderPanel;
class DateTextBox;

class CalanderForm : public QWidget {
  Q_OBJECT

 public:
  // The locale gives the month names and the short date; the clock tells today. The clock
  // must outlive the control.
  CalanderForm(const LocaleInfo& locale, const Clock& clock, QWidget* parent = nullptr);
  ~CalanderForm() override;

  // The book's date style (DateStyleIndex) in which the box is written and read.
  void SetDateStyle(int style);
  int DateStyle() const { return dateStyle_; }
  // The session whose DatePicked flag a picked day sets; none by default.
  void SetSession(Session* session) { session_ = session; }

  // The date of the chosen day in the shown month (marks its weekday heading). Setting it
  // shows the date in the lists and the grid; the box is not touched.
  DaySerial TheDate();
  void SetTheDate(DaySerial date);

  ColorValue BackColor() const { return settings_.BackColor; }
  void SetBackColor(ColorValue color);
  // Kept for the book; text is Unicode, so it changes nothing on screen.
  int16_t FontCharset() const { return fontCharset_; }
  void SetFontCharset(int16_t charset) { fontCharset_ = charset; }
  bool FontItalic() const { return settings_.FontItalic; }
  void SetFontItalic(bool italic);
  bool FontBold() const { return settings_.FontBold; }
  void SetFontBold(bool bold);
  double FontSize() const { return settings_.FontSize; }
  void SetFontSize(double points);
  QString FontName() const { return QString::fromStdString(settings_.FontName); }
  void SetFontName(const QString& name);
  QString DateToolTipText() const { return QString::fromStdString(settings_.DateToolTipText); }
  void SetDateToolTipText(const QString& text);
  QString Text() const;
  void SetText(const QString& text);
  bool Enabled() const { return isEnabled(); }
  void SetEnabled(bool enabled) { setEnabled(enabled); }
  ColorValue ForeColor() const { return settings_.ForeColor; }
  void SetForeColor(ColorValue color);

  // The stored settings of the control, and applying a stored set.
  DatePickerSettings Settings() const;
  void ApplySettings(const DatePickerSettings& settings);

  // Closes the panel without writing the box or raising any event.
  void WLoss();
  // Repaints the control and, when open, the panel.
  void Refresh();
  // Shows `month` of `year` in the lists and, unless `noDraw`, redraws the grid with the
  // cell of `day` red (0 = none).
  void CalcDate(int day, int month, int year, bool noDraw);

  bool IsOpen() const;
  // True while the focus is in the box or the open panel.
  bool HasFocusWithin() const;
  const DatePickerModel& Model() const { return model_; }

  // The constituent parts.
  QLineEdit* DateX() const;
  QWidget* CalanderButton() const;
  QWidget* Calender() const;
  QComboBox* CMonth() const;
  QComboBox* Cyear() const;
  QAbstractButton* Mchange(int index) const;

  QSize sizeHint() const override;

 signals:
  // The box's text changed, typed or set.
  void Change();
  // The box was clicked, or the panel closed through the button or by picking a day.
  void Click();
  void DblClick();
  // The box's keys, before the box acts on them; a handler that sets the code to 0 drops
  // the key. Connect directly.
  void KeyDown(int16_t& KeyCode, int16_t& Shift);
  void KeyPress(int16_t& KeyAscii);
  void KeyUp(int16_t& KeyCode, int16_t& Shift);
  // The focus left both the box and the panel.
  void LostFocus();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  friend class CalanderButtonImage;
  friend class CalanderPanel;

  // The button: opens a closed panel, closes an open one writing the box and raising Click.
  void CalanderButtonClick();
  void Open();
  void DayCellClicked(int k);
  void DayCellDoubleClicked();
  void MchangeClick(int index);
  void MonthChosen(int index);
  void YearChosen(int index);
  void PanelHidden();

  // Writes the box with the date in the book's style.
  void WriteBox(DaySerial date);
  // After a step or a choice in the lists: the lists, the box and the grid show the date.
  void ShowChosenDate();
  // Brings the lists in line with the model.
  void SyncLists();
  void ApplyBoxLook();
  // Makes the control wide enough for the widest date of its style in the box's font.
  void FitToDates();
  void PlaceParts();
  bool HandleBoxKey(QKeyEvent* event);

  LocaleInfo locale_;
  const Clock& clock_;
  DatePickerModel model_;
  Session* session_ = nullptr;
  int dateStyle_ = 0;
  int16_t fontCharset_ = 0;
  DatePickerSettings settings_;
  bool skipNextRelease_ = false;

  DateTextBox* dateX_ = nullptr;
  CalanderButtonImage* button_ = nullptr;
  CalanderPanel* panel_ = nullptr;  // a popup window owned by the control
  int listFirstYear_ = 0;
  int listLastYear_ = -1;
};

}  // namespace qv
