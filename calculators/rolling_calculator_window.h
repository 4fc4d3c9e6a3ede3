#pragma once
// Rolling_Caculator: the running calculator, a tape of value boxes (CalAmount), each with
// an operator button (Op) on its left, a scroll bar (ScrollNum) that moves the column over
// a list longer than the window, and the result box (TotalAmount) below. Menus: Edit (Clear,
// Copy, Paste, Sort), Decimals and Settings (the result's mode).
//
// Every window is independent. What the keys, buttons and menus do is the tape's
// (calculators/rolling_tape.h); this window makes rows as its height needs them, turns key,
// focus and click events into tape calls and shows what the tape then holds.

#include <QMainWindow>
#include <QString>
#include <map>
#include <vector>

#include "calculators/rolling_tape.h"

class QAction;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qv {

class PelVerticalScroll;

class Rolling_Caculator : public QMainWindow {
  Q_OBJECT

 public:
  explicit Rolling_Caculator(const LocaleInfo& locale, QWidget* parent = nullptr);
  ~Rolling_Caculator() override;

  const RollingTape& Tape() const { return tape_; }

  // The controls, by their design names. Rows are made as the window's height needs them.
  QLineEdit* CalAmount(int row) const;
  QPushButton* Op(int row) const;
  int RowCount() const { return static_cast<int>(rows_.size()); }
  QLineEdit* TotalAmount = nullptr;
  QLabel* Op11 = nullptr;
  PelVerticalScroll* ScrollNum = nullptr;

  // The menu item with that control name: "Clear_Total", "C_m", "P_m", "SortNm",
  // "dp1(2)", "CalcFuntions(1)".
  QAction* MenuItem(const QString& name) const;

  // The commands.
  void Clear_Total_Click();
  void C_m_Click();
  void P_m_Click();
  void SortNm_Click();
  void dp1_Click(int index);
  void CalcFuntions_Click(int index);
  void Op_Click(int row);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Row {
    QLineEdit* Amount = nullptr;
    QPushButton* Op = nullptr;
  };
  void BuildMenus();
  void EnsureRows(int count);
  // Lays the rows out for the window's height (Form_Resize).
  void Form_Resize();
  // Shows the rows of the list at the tape's scroll value (ScrollNum_Change), with the
  // scroll bar's range and value.
  void ScrollNum_Change();
  void ShowRow(int row);
  void ShowResult();
  void Recolour(QLineEdit* box);
  // A key in a row's box; true when the key was handled (and is not to reach the box).
  bool RowKey(int row, QKeyEvent* key);
  int RowOf(QObject* watched) const;

  RollingTape tape_;
  std::vector<Row> rows_;
  std::map<QString, QAction*> actions_;
  int rowHeight_ = 0;
  bool syncing_ = false;
  bool activated_ = false;
};

}  // namespace qv
