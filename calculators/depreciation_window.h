#pragma once
// Depreciation: the reducing-balance depreciation calculator. The cost of the asset, the
// yearly rate in percent and the number of years are typed into three boxes; Calculate
// shows the schedule (calculators/depreciation.h) in a frame, one row per year: "Year n:",
// the book value, "x rate% =" and the year's depreciation, with a scroll bar when there are
// more than 13 years.
//
// The frame holds as many row controls as it can show, inside the schedule's area below its
// caption, which clips them; scrolling moves them and gives them the texts of the
// schedule's rows that come into view.

#include <QWidget>
#include <vector>

#include "books/books.h"
#include "calculators/depreciation.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qv {

class PelVerticalScroll;

class Depreciation : public QWidget {
  Q_OBJECT

 public:
  // `books` gives the font name and the journal's decimals; it must outlive the window.
  Depreciation(const Books& books, const LocaleInfo& locale, QWidget* parent = nullptr);
  ~Depreciation() override;

  // The controls, by their design names.
  QLineEdit* Cost = nullptr;
  QLineEdit* Percent = nullptr;
  QLineEdit* TheYears = nullptr;
  QPushButton* Command1 = nullptr;
  QGroupBox* Frame1 = nullptr;
  std::vector<QLabel*> Label1;  // 0 to 3
  PelVerticalScroll* VScroll1 = nullptr;

  // The schedule shown, and the controls of the frame's k-th shown row (the year caption,
  // the book value, the rate caption and the depreciation).
  const DepreciationSchedule& Schedule() const { return schedule_; }
  int ShownRows() const { return static_cast<int>(rows_.size()); }
  QLabel* L1(int k) const;
  QLineEdit* Stage1(int k) const;
  QLabel* L2(int k) const;
  QLineEdit* Stage2(int k) const;
  // The schedule row that shown row k holds, -1 when it holds none.
  int RowShownAt(int k) const;

  // Calculate.
  void Command1_Click();
  // The scroll bar moved: the rows are placed for its value.
  void VScroll1_Change();

 private:
  struct Row {
    QLabel* Year = nullptr;
    QLineEdit* BookValue = nullptr;
    QLabel* Rate = nullptr;
    QLineEdit* YearDepreciation = nullptr;
  };
  // Places the frame's columns: the amounts `amountWidth` twips wide, the rate caption
  // `rateWidth`.
  void PlaceColumns(int amountWidth, int rateWidth);

  const Books& books_;
  LocaleInfo locale_;
  DepreciationSchedule schedule_;
  std::string rateCaption_;
  QWidget* scheduleArea_ = nullptr;  // in Frame1; the rows are its children
  std::vector<Row> rows_;
  int amountWidth_ = 0;
  int rateWidth_ = 0;
};

}  // namespace qv
