#pragma once
// PayRoll: the payroll calculator, a sheet of seven shift columns and a totals column
// (calculators/pay_sheet.h). Rows from the top: the column titles, start, end, break,
// hours, rate, gross pay, the deductions heading, deductions 1 to 3 (each with its
// percentage box on the left), deductions 4 to 6 and the net pay.
//
// The amount and percentage boxes take only digits, "-" and the machine's symbols. The
// rate, the percentages and deductions 1 to 3 recompute at every change; the time boxes,
// the rate and deductions 4 to 6 are normalised when the focus leaves them.

#include <QWidget>
#include <array>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "calculators/pay_sheet.h"

class QLabel;
class QLineEdit;

namespace qv {

class PayRoll : public QWidget {
  Q_OBJECT

 public:
  // `currencyCaption` is the main window's currency label ("$ :"); `fontName` the book's
  // font for the captions and the hours.
  PayRoll(const LocaleInfo& locale, const std::string& currencyCaption, const std::string& fontName,
          QWidget* parent = nullptr);
  ~PayRoll() override;

  const PaySheet& Sheet() const { return sheet_; }

  // The controls, by their design names.
  std::array<QLabel*, 16> PayTitle{};
  std::array<QLabel*, kShiftCount> ShiftT{};
  struct ColumnBoxes {
    QLineEdit* PaySt = nullptr;
    QLineEdit* PayEnd = nullptr;
    QLineEdit* PayBreak = nullptr;
    QLineEdit* PayTotal = nullptr;
    QLineEdit* PayRate = nullptr;
    QLineEdit* PayGross = nullptr;
    std::array<QLineEdit*, kDeductionCount> PayDe{};
    QLineEdit* PayNet = nullptr;
  };
  std::array<ColumnBoxes, kShiftCount> Columns{};
  std::array<QLineEdit*, kPercentCount> PayP{};
  QLineEdit* PayTotalT = nullptr;
  QLineEdit* PayGrossT = nullptr;
  std::array<QLineEdit*, kDeductionCount> PayDT{};  // deduction totals 1 to 6
  QLineEdit* PayNetT = nullptr;

  // A percentage changed: every column is recomputed.
  void PayP1_Change();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // What a box is: which field of which column, for the handlers.
  enum class Field { Start, End, Break, Rate, Deduction, Percent, Other };
  struct BoxRole {
    Field field = Field::Other;
    int column = 0;  // or the percentage's number, 0 to 2
    int deduction = 0;
  };
  // A box showing `text` of the sheet.
  QLineEdit* NewBox(const QString& name, std::string* text, BoxRole role);
  // The user changed a box: its text goes to the sheet and, where the box recomputes at
  // every change, the sheet is recomputed.
  void Edited(QLineEdit* box);
  // The focus left a box.
  void Left(QLineEdit* box);
  // Shows every text of the sheet (only those that changed are written).
  void ShowSheet();

  PaySheet sheet_;
  LocaleInfo locale_;
  std::map<QLineEdit*, BoxRole> roles_;
  std::vector<std::pair<QLineEdit*, std::string*>> texts_;
};

}  // namespace qv
