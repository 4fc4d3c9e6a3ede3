#pragma once
// RecurringEntries, "Prepared Entries...": the ten groups of prepared journal entries. One
// group at a time is shown as a list of posting-line rows (side label, folio, account,
// amount, and a notes box under each entry's last line) scrolled by the program's scroll
// bar; the Select menu switches groups, the Edit menu copies, pastes, deletes and begins
// entries, the add-line buttons beside the focused row add a debit or credit line, the name
// box names the group, and "Include Group" / "Include Entry" append the group or the
// selected entry to the journal, dated today.
//
// The logic is the model's (accounts/prepared_groups.h); this window shows it and feeds it
// the user's keys and clicks. Closing stores the working list into its group.

#include <QMainWindow>
#include <QPixmap>
#include <array>
#include <functional>
#include <optional>

#include "accounts/prepared_groups.h"
#include "books/day_date.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolButton;
class QStringListModel;

namespace qv {

class PelVerticalScroll;

// What the window asks of the program around it.
struct PreparedEntriesHooks {
  // After an include: the main window shows the journal's new last entry.
  std::function<void()> Included;
  // The window's background (the main window's toolbar picture); none when null.
  QPixmap Background;
};

class RecurringEntries : public QMainWindow {
  Q_OBJECT

 public:
  RecurringEntries(Books& books, const LocaleInfo& locale, const Clock& clock,
                   PreparedEntriesHooks hooks);
  ~RecurringEntries() override;

  PreparedGroupsModel& Model() { return model_; }
  // The working list goes back into its group (before the book is saved).
  void StoreWorkingList() { model_.Store(); }

  // ---- The controls, by their design names; the row arrays hold rows 0 to 60.
  QWidget* eBox = nullptr;
  PelVerticalScroll* ScrollAcc = nullptr;
  std::array<QLabel*, kPreparedRows> CrDrLabel{};
  std::array<QLineEdit*, kPreparedRows> Folio{};
  std::array<QComboBox*, kPreparedRows> Account_Name{};
  std::array<QLineEdit*, kPreparedRows> AmountText{};
  std::array<QLabel*, kPreparedRows> CrDrLabel2{};
  std::array<QLineEdit*, kPreparedRows> AccNote{};
  std::array<QToolButton*, 3> CompoundEntry{};  // elements 1 (debit) and 2 (credit)
  std::array<QPushButton*, 2> InEe{};           // 0 Include Group, 1 Include Entry
  QLineEdit* GroupLabels = nullptr;
  std::array<QAction*, kPreparedGroupCount> gp{};
  QAction* C_E = nullptr;
  QAction* P_E = nullptr;
  QAction* Del_E = nullptr;
  QAction* New_E = nullptr;

  // ---- The commands.
  void New_E_Click();
  void CompoundEntry_Click(int side);
  void Del_E_Click();
  void C_E_Click();
  void P_E_Click();
  void gp_Click(int group);
  void InEe_Click(int which);
  // Shows the rows from the scroll bar's value (ScrollAcc_Change).
  void DrawRows();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  enum class Field { Folio, Account, Amount, Notes };
  struct FieldRef {
    int Row = 0;
    Field Kind = Field::Folio;
  };
  void BuildControls();
  void BuildMenus();
  void Layout();
  void FillAccountNames();
  std::optional<FieldRef> FieldOf(QObject* object) const;
  void RowFocused(int row);
  void HideCompoundButtons();
  // The list moves so that `line` shows in row 0, and is drawn.
  void ScrollTo(int32_t line);
  bool RowKeyDown(FieldRef field, QKeyEvent* key);
  void AccountLeft(int row);
  void FolioLeft(int row);
  void ShowGroupChecks();

  PreparedGroupsModel model_;
  Books& books_;
  LocaleInfo locale_;
  const Clock& clock_;
  PreparedEntriesHooks hooks_;
  QStringListModel* accountNames_ = nullptr;
  std::vector<std::string> accountList_;
  std::array<int32_t, kPreparedRows> rowLine_{};  // the line each row shows, -1 for none
  int32_t top_ = 0;
  bool drawing_ = false;
};

}  // namespace qv
