#pragma once
// ConfigAccounts, "Account Settings...": the chart-of-accounts editor. A grid of fourteen
// rows (an account's name and folio) scrolled by a scroll bar, the type options, notes and
// details of the selected account, the folio-dashes box, the Accounts menu (Delete, Insert,
// Print, reachable while a grid box has the focus) and the Help menu (help mode with the
// chart's card, the sample chart). Every edit goes to the book at once; closing checks the
// whole chart and stays open on a fault, marking the account in red.
//
// The logic is the model's (accounts/chart_editor.h); this window shows it and feeds it the
// user's keys and clicks. The keyboard works the grid: Enter and the arrows move between
// rows, Tab goes from a row's name to its folio, then to the type options, the notes, the
// details, the dashes box and back to the selected row.

#include <QMainWindow>
#include <array>
#include <functional>
#include <optional>

#include "accounts/chart_editor.h"
#include "books/session.h"

class QAction;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QRadioButton;
class QScrollBar;

namespace qv {

// What the editor asks of the program around it.
struct ChartEditorHooks {
  // Before the closing checks, whatever they find: the windows that show the chart's
  // accounts by index close.
  std::function<void()> BeforeChecks;
  // After a close whose checks passed: the account lists are refilled.
  std::function<void()> AfterClose;
};

class ConfigAccounts : public QMainWindow {
  Q_OBJECT

 public:
  // `session` holds the printing choices of the run.
  ConfigAccounts(Books& books, Session& session, const LocaleInfo& locale, ChartEditorHooks hooks,
                 QWidget* owner);
  ~ConfigAccounts() override;

  ChartEditorModel& Model() { return model_; }

  // Closes at once without the checks (the book it edits is being replaced).
  void CloseWithoutChecks();

  // ---- The controls, by their design names.
  std::array<QLineEdit*, kChartGridRows> RenameAccount{};
  std::array<QLineEdit*, kChartGridRows> Folio{};
  QScrollBar* ScrollAcc = nullptr;
  QGroupBox* Frame2 = nullptr;
  std::array<QLabel*, 2> Label1{};
  std::array<QRadioButton*, kAccountTypeCount> CurrentAsset{};
  QLineEdit* ANote = nullptr;
  QPlainTextEdit* ANote2 = nullptr;
  QCheckBox* Dsh = nullptr;
  QMenu* AccountMenu = nullptr;
  QAction* Delete_Account = nullptr;
  QAction* Insert_Account = nullptr;
  QAction* PrintAccounts = nullptr;
  QMenu* HelpConfig = nullptr;
  QAction* HelpSelect = nullptr;
  QAction* GChatA = nullptr;

  // ---- The commands.
  void Insert_Account_Click();
  void Delete_Account_Click();
  void PrintAccounts_Click();
  void GChatA_Click();
  // Redraws the fourteen rows (ScrollAcc_Change).
  void DrawGrid();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Cell {
    int Row = -1;
    bool IsFolio = false;
  };
  void BuildControls();
  void BuildMenus();
  std::optional<Cell> CellOf(QObject* object) const;
  QLineEdit* BoxOf(Cell cell) const;
  void PlaceNameBox(int row, bool indented);
  void SelectRow(int row);
  void ShowSelection();
  void SetRowBold(int row, bool bold);
  void NameEdited(int row, const QString& text);
  void FolioEdited(int row, const QString& text);
  // Tells the user about a folio box left holding a text that did not store, and shows the
  // stored folio again.
  void CommitFolioBox();
  void TypeClicked(int type);
  void KeyReleased(Cell cell);
  bool KeyPressed(Cell cell, QKeyEvent* key);
  void AfterChartChanged();

  ChartEditorModel model_;
  Session& session_;
  LocaleInfo locale_;
  ChartEditorHooks hooks_;
  QButtonGroup* types_ = nullptr;
  int pendingArrowKey_ = 0;
  int refusedFolioRow_ = -1;
  bool showing_ = false;  // the window writes the boxes; nothing is stored
  bool forced_ = false;
};

}  // namespace qv
