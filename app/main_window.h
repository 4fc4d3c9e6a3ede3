#pragma once
// TAcount: the main window, the journal-entry screen. A picture toolbar across the top with
// the go-to box, the previous and next buttons and New Entry; the entry frame with the
// entry's number, date and Reconcile box, the box of debit and credit rows and the notes;
// the journal scroll bar on the right; the status line at the bottom right; the menus.
//
// What is shown and where comes from the entry screen (books/entry_screen.h) and the
// design tables (app/main_window_layout.h); this window places the widgets, shows the
// texts and turns keys and clicks into navigation and commands. Other windows show an entry
// by setting ScrollAcc's value.
//
// The book commands of the File and Settings menus (open, save, save as, insert entries,
// bring balances forward) are in main_window_files_qt.cpp; start-up and shut-down in
// main_window_startup_qt.cpp. Typing into the entry boxes (main_window_entry_qt.cpp) goes
// to the entry fields (books/entry_fields.h); the entry commands and the entry clipboard
// (main_window_commands_qt.cpp) go to books/entry_commands.h and books/entry_clipboard_qt.h.
// Each handler calls the model and shows what it returns.

#include <QLabel>
#include <QMainWindow>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/main_window_help.h"
#include "app/main_window_layout.h"
#include "books/entry_commands.h"
#include "books/entry_fields.h"
#include "books/entry_screen.h"
#include "books/invoice.h"
#include "controls/file_dialog_model.h"
#include "controls/help_mode.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QStringListModel;

class QSessionManager;

namespace qv {

class Application;
class CalanderForm;
struct FileStamp;

// The message of a date box left with a text that is no date.
inline constexpr const char* kInvalidDateText = "Invalid Date";

class PelVerticalScroll;
class HelpDesk;

// A picture that raises clicks and mouse presses: the toolbar images, the add-line and sum
// images.
class PictureImage : public QLabel {
  Q_OBJECT

 public:
  explicit PictureImage(QWidget* parent = nullptr);
  // Makes the picture a stop of the Tab key, clicked by Space or Enter and outlined while it
  // has the focus, so that its command can be reached without the mouse. A mouse press
  // does not take the focus.
  void SetKeyboardReachable();

 signals:
  void Click();
  void MouseDown();
  void MouseUp();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  bool pressed_ = false;
};

// The toolbar strip: the gradient picture and the etched dividers.
class ButtonBarStrip : public QWidget {
  Q_OBJECT

 public:
  explicit ButtonBarStrip(QWidget* parent = nullptr);
  void SetPicture(const QPixmap& picture);
  const QPixmap& Picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPixmap picture_;
};

// The entry frame: an etched border around its area (xFrame1_Resize).
class EntryFrame : public QWidget {
  Q_OBJECT

 public:
  explicit EntryFrame(QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// The widgets of one row: the folio box, the account list and the amount box.
struct EntryRowWidgets {
  QLineEdit* Folio = nullptr;
  QComboBox* AccName = nullptr;
  QLineEdit* AmountText = nullptr;
};

class TAcount : public QMainWindow {
  Q_OBJECT

 public:
  explicit TAcount(Application& app);
  ~TAcount() override;

  // ---- Start-up and shut-down.
  // The whole start-up, before the window is first shown (Form_Load).
  void Form_Load();
  // File > Exit: ends the program, saving nothing. When the books changed since they were
  // opened, saved as a book file or started afresh, it first asks the exit question and ends
  // only on Yes; otherwise it ends at once.
  void Exitit_Click();
  // Whether the books (with the edits that open windows hold apart) differ from the books as
  // they were last opened, saved as a book file or started afresh.
  bool BooksChangedSinceSaved();
  // The books as they stand now count as saved.
  void MarkBooksSaved();
  // Help > an example book: starts a second copy of the program on it.
  void Samples_Click(int index);
  // How the program ends at once; QCoreApplication::exit by default (tests record it).
  std::function<void()> EndProgram;
  // How a second copy starts: the program and its arguments. QProcess::startDetached by
  // default; errors are ignored.
  std::function<void(const QString& program, const QStringList& arguments)> StartProgram;

  // ---- The entry display.
  // Shows the entry holding ScrollAcc's value (ScrollAcc_Change).
  void ScrollAcc_Change();
  // Lays out the shown entry's rows again (DrCrArrange).
  void DrCrArrange();
  // Totals the shown entry on the status line (SumEntry).
  void SumEntry();
  // Up, Down, PgUp, PgDn from an entry box: moves to the entry before or after, or gives
  // the focus to the entry-number box. The key becomes 0 when handled.
  void EntryKeyNavigation(int16_t& keyCode, int16_t shift);
  // The previous (0) and next (1) buttons.
  void PNPage_Click(int index);
  // The go-to box: Enter finds the typed entry number.
  void GoToEntry();
  // Fills the account lists of every row from the chart (after start-up, a new book, a
  // changed chart).
  void RefillAccountLists();
  // Shows a text on the status line in a colour.
  void SetStatus(const QString& text, ColorValue color);
  ColorValue StatusColor() const { return statusColor_; }

  // ---- The entry commands (main_window_commands_qt.cpp).
  // New Entry: the button, Edit > New Entry and Ctrl+N.
  void Command1_Click();
  // The add-line images: 1 adds a debit line, 2 a credit line.
  void CompoundEntry_Click(int index);
  // The sum image: fills the first amount box so that the entry balances.
  void CalcCompound_Click();
  // Edit > Delete Entry > Are you sure ? and Ctrl+D: deletes the shown entry behind the
  // admin password.
  void ArUshore_Click();
  // The Reconcile box was clicked (also run from code: it reads the box's state).
  void Rr_Click();
  // Edit > Copy Entry (Ctrl+W) and Paste Entry (Ctrl+E), toolbar buttons 2 and 3.
  void CopyTheEntry_Click();
  void PageTheEntry_Click();
  // Edit > Balance Point: shows the entry at the journal's balance point
  // (books/balance_point.h).
  void BalancePoint_Click();

  // ---- The invoice of the shown entry (main_window_invoice_qt.cpp).
  // File > Print Invoice...: one copy on the printer as it is set, no print set-up.
  void Invoice_Click();
  // The toolbar's e-mail button: the invoice as an HTML message file.
  void EmailInvoice_Click();

  // ---- Book commands.
  // Opens a book: flag 0 (the Open command) first asks before it drops changes made since
  // the books were opened, saved or started, then asks with the file dialog; any other value
  // opens session.ChosenFileName. True when a book was opened; otherwise the books, their
  // passwords and their saved state are as they were.
  bool LoadAccFile(int32_t flag);
  // Save (0) or Save As (1).
  void SaveFile_Click(int index);
  void InsertEntries_Click();
  // Settings > Balance Brought / Forward > Are you sure ?, and Settings > Carried Over
  // Accounts > Are you sure ?: behind the admin password, and after a question when the
  // journal does not balance, the journal is replaced by its opening entries.
  void Brought_Forward_Click();
  void BalBForword_Click();
  // ---- The chart and settings commands (main_window_settings_qt.cpp).
  // Settings > Account Settings: the chart editor, behind the admin password.
  void EditAccounts_Click();
  // Edit > Move Account: moves one account's postings to another, behind the admin password.
  void ReplaceAccountsMenu_Click();
  // Settings > Configurations: the configuration window, behind the admin password.
  void SoftwareSettings_Click();
  // Edit > Prepared Entries and toolbar button 9: the prepared entry groups.
  void EnTryDic_Click();

  // Answers the book commands' file dialog in its place when set: the absolute path with the
  // chosen type's extension, or "" when cancelled. A save still asks about a file there.
  std::function<std::string(const FileDialogRequest&)> ChooseBookFile;

  // ---- Statements (main_window_statements_qt.cpp): each opens only on a journal of at least
  // two posting lines. The trial balance and the income statement are single windows made
  // afresh on every command; every Balance Sheet command opens a new balance sheet. The
  // comparative statement is a single window made afresh on every command, whatever the
  // journal holds.
  void TrialBalance_Click();
  void IncomeStatement_Click();
  void Show_Balance_Click();
  void CashFlowMenu_Click();

  // ---- Menus and toolbar.
  // The menu item with that control name ("LoadFile", "SaveFile(1)", "Samples(2)"), or
  // the action of toolbar button 13 ("EmailInvoice"); null for an unknown name.
  QAction* MenuItem(const QString& name) const;
  QMenu* Menu(const QString& name) const;
  // Runs the command of a toolbar button, exactly as its menu item.
  void CalcButton_Click(int index);
  // Help > About...: the About text in the help window, which ends help mode.
  void AboutMenu_Click();
  PictureImage* CalcButton(int index) const;
  QLabel* CalcButtonDown() const { return calcButtonDown_; }

  // ---- The controls, by their design names.
  ButtonBarStrip* ButtonBar = nullptr;
  std::array<QPushButton*, 2> PNPage{};
  QPushButton* Command1 = nullptr;
  QLineEdit* Text1 = nullptr;
  PelVerticalScroll* ScrollAcc = nullptr;
  EntryFrame* xFrame1 = nullptr;
  QWidget* eBox = nullptr;
  PelVerticalScroll* EScroll = nullptr;
  QLineEdit* JournalID = nullptr;
  CalanderForm* Datetext = nullptr;
  QCheckBox* Rr = nullptr;
  QLineEdit* AccNote = nullptr;
  std::array<PictureImage*, 3> CompoundEntry{};  // elements 1 (debit) and 2 (credit)
  PictureImage* CalcCompound = nullptr;
  // GL(2) to GL(9); GL(7) is the status line.
  QLabel* GL(int index) const;

  // The rows; made on demand, so any row index an entry needs exists once shown. Null for a
  // row that was never made.
  int RowCount() const { return static_cast<int>(debitRows_.size()); }
  QLineEdit* DebitFolio(int row) const;
  QComboBox* DebitAccName(int row) const;
  QLineEdit* DebitAmountText(int row) const;
  QLineEdit* CreditFolio(int row) const;
  QComboBox* CreditAccName(int row) const;
  QLineEdit* CreditAmountText(int row) const;

  EntryScreen& Screen() { return screen_; }
  Application& App() { return app_; }
  // The inner area below the menu bar, in which the controls stand.
  QWidget* Client() const { return client_; }

 signals:
  // The widgets of a debit (side 1) or credit (side 2) row were made.
  void EntryRowCreated(int side, int row);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  // The desktop session is ending: the same question as closing the window (asked only when
  // the books changed), where the session lets the program ask.
  void AskBeforeSessionEnds(QSessionManager& manager);
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // main_window.cpp
  void BuildControls();
  void EnsureRows(int count);
  EntryRowWidgets MakeRow(int side, int row);
  // Shows a layout: the rows' texts, which rows show, and where everything stands.
  void ShowLayout(const EntryLayout& layout);
  // Moves the rows, labels, notes box and images to the layout's places (after a scroll),
  // writing no text.
  void PlaceLayout(const EntryLayout& layout);
  void ShowRow(EntryRowWidgets& widgets, const EntryRowView& view, bool visible);
  // The Reconcile box stands beside the date box, however wide that is.
  void PlaceReconcileBox();
  // The date picker's calendar goes to the shown entry's date.
  void ShowEntryDateInPicker();
  void ApplyReadOnly(bool readOnly);
  void PlaceStatusLine();
  // The sum image stands beside the add-line image of the side it was last placed for.
  void MoveCalcCompound();
  // Sets the row scroll bar as the state says and scrolls the rows to its value.
  void ApplyRowScroll(const RowScrollState& state);
  // Scrolls the rows so that a box of the row box that got the focus is wholly in view.
  void ScrollIntoView(const QWidget* box);
  void EScroll_Change();
  void Form_Resize();
  // The smallest window: the design's minimum, widened to show the whole New Entry button;
  // set on the window and on its inner area, and kept by Form_Resize.
  void SetMinimumWindowSize();
  void ScrollAccKeyDown(int16_t& keyCode, int16_t& shift);
  void Text1KeyDown(int16_t& keyCode);
  void JournalIDEdited(const QString& text);
  void JournalID_Click();
  void JournalID_DblClick();
  void Text1_Click();
  bool ShowHelpCard(const HelpCard& card);
  bool ShowHelpCard(EntryHelpTopic topic);
  void ApplyEntryStatus(const EntryStatus& status);
  int32_t InnerWidthTwips() const;
  int32_t InnerHeightTwips() const;

  // main_window_menus_qt.cpp
  void BuildMenus();
  void BuildToolbar();
  void AddExampleBooks();
  void ConnectCommands();
  void ConnectStatementCommands();

  // main_window_settings_qt.cpp
  void ConnectSettingsCommands();

  // main_window_startup_qt.cpp
  void DrawButtonBar();
  void ApplySavedSize();
  void FitHeightToFrame();
  void PlaceLabels();
  void TintSecondCopy();
  void SaveSize();
  // "Do you want to exit without saving ?", Yes and No, No the default: true on Yes.
  static bool ExitConfirmed();
  // Whether the program may end: at once when the books hold no change since they were
  // opened, saved or started, else only when the exit question is answered Yes.
  bool MayEnd();
  void SetTitleForBook(const std::string& path);

  // main_window_entry_qt.cpp: the entry's input fields.
  enum class RowField { Folio, Name, Amount };
  struct RowRef {
    uint8_t Side = kDebit;
    int Row = 0;
    RowField Field = RowField::Folio;
  };
  void WireEntryFields();
  void WireEntryRow(uint8_t side, int row);
  // Handles an event of a row's box or of the notes box; true when it is consumed.
  bool EntryFieldEvent(QObject* watched, QEvent* event);
  bool RowFieldEvent(const RowRef& ref, QEvent* event);
  void AmountEdited(uint8_t side, int row, const QString& text);
  void FolioEdited(uint8_t side, int row, const QString& text);
  void FolioLostFocus(uint8_t side, int row);
  // The message of a folio that names no account stands on the status line until that
  // row's folio is corrected (or another entry is shown); the fields' own status texts do
  // not replace it.
  bool FolioMessageStands() const;
  void ClearFolioMessage(uint8_t side, int row);
  // An amount box left: it shows the amount stored for its row, in the rows' format.
  void AmountLostFocus(uint8_t side, int row);
  bool AccNameKeyPress(uint8_t side, int row, const std::string& typed);
  void AccNameKeyUp(uint8_t side);
  void AccNameClick(uint8_t side, int row);
  void AccNameLostFocus(uint8_t side, int row);
  void CommitAccountName(uint8_t side, int row);
  void ApplyStatusChange(const StatusChange& change);
  // Shows a name in an account list without raising its events.
  void DateText_Click();
  void DateText_KeyDown(int16_t& keyCode, int16_t& shift);
  void DateText_KeyPress(int16_t& keyAscii);
  void DateText_LostFocus();
  void ShowDateCommit(const EntryFields::DateCommit& commit, bool postMessage);
  // What leaving the date box stores, with "Invalid Date" shown at once, for a command that
  // comes while the box still has the focus; nothing when nothing was typed since.
  void StoreTypedDate();
  void AccNote_DblClick();
  EntryRowWidgets& RowWidgets(uint8_t side, int row);
  QLineEdit* AmountBox(uint8_t side, int row);
  QLineEdit* FolioBox(uint8_t side, int row);

  // main_window_commands_qt.cpp
  void ConnectEntryCommands();
  // A value for the journal scroll bar, which brings it into its range itself.
  static int ScrollValueOf(int64_t value);

  // main_window_invoice_qt.cpp
  void ConnectInvoiceCommands();
  Invoice ShownInvoice() const;

  // main_window_files_qt.cpp
  // Reads a book file under the wait screen; a failure is shown and gives nothing.
  std::optional<Books> ReadBookFile(const std::string& path, const std::string& type);
  // Shows the new books from their first entry and takes the keyboard back.
  void AfterBookReplaced();
  // This window becomes the active one with the focus where it is at start-up, so that the
  // next shortcut acts after a command that replaced the books or closed windows.
  void TakeKeyboardBack();
  bool PassAdminGate();
  // `proposedName`, when given, is put in the name box, even when it is empty, and makes it a
  // save: any file that stands at the path chosen, but the book's own, is replaced only on Yes.
  std::string AskForBookFile(int captionId, int acceptCaptionId,
                             const std::vector<std::string>& patterns,
                             const std::string& defaultType,
                             std::optional<std::string> proposedName = std::nullopt);
  // Writes the books to `path` in the form `type`; a book form replaces only the file
  // `stamp` describes (SaveBookFile), asking when another wrote it meanwhile, and `stamp` is
  // then the file written. False when nothing was written.
  bool SaveTo(const std::string& path, const std::string& type, FileStamp& stamp);
  // Brings the balances forward, or carries the accounts over when `carry` is set.
  void RollOverBooks(bool carry);

  Application& app_;
  EntryScreen screen_;
  EntryFields fields_;
  EntryCommands commands_;
  ColorValue statusColor_ = kBlack;
  std::map<QObject*, RowRef> rowOf_;
  QWidget* client_ = nullptr;
  std::map<int, QLabel*> labels_;
  std::vector<EntryRowWidgets> debitRows_;
  std::vector<EntryRowWidgets> creditRows_;
  int shownDebitRows_ = 0;
  int shownCreditRows_ = 0;
  QStringListModel* accountNames_ = nullptr;
  std::map<QString, QAction*> actions_;
  std::map<QString, QMenu*> menus_;
  std::map<int, PictureImage*> calcButtons_;
  QLabel* calcButtonDown_ = nullptr;
  std::vector<std::string> samplePaths_;
  MainWindowGeometry geometry_;
  bool rowScrollSilent_ = false;
  bool loaded_ = false;
  CalcCompoundPlace calcCompoundBeside_ = CalcCompoundPlace::BesideDebit;
  std::optional<RowRef> unknownFolioRow_;
  QString unknownFolioText_;
};

}  // namespace qv
