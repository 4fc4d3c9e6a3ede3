#include "accounts/chart_editor_window.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>

#include "accounts/book_text_box_qt.h"
#include "accounts/window_shortcuts_qt.h"
#include "books/entry_fields.h"
#include "controls/help_window.h"
#include "controls/pending_edit_qt.h"
#include "controls/print_document_qt.h"
#include "controls/wheel_routing_qt.h"
#include "platform/placement_qt.h"
#include "platform/prompts.h"
#include "platform/screen_fit_qt.h"
#include "platform/string_table.h"

namespace qv {
namespace {

// The design, in twips.
constexpr int kClientWidth = 11600;
constexpr int kClientHeight = 7150;
constexpr int kRowTop = 540;
constexpr int kRowStep = 330;
constexpr int kRowHeight = 300;
constexpr int kNameLeft = 120;
constexpr int kNameWidth = 6200;
constexpr int kIndent = 200;
constexpr int kFolioLeft = 6400;
constexpr int kFolioWidth = 1350;
constexpr int kPanelLeft = 8400;
constexpr int kPanelWidth = 3100;

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

ConfigAccounts::ConfigAccounts(Books& books, Session& session, const LocaleInfo& locale,
                               ChartEditorHooks hooks, QWidget* owner)
    : QMainWindow(owner, Qt::Window),
      model_(books, locale),
      session_(session),
      locale_(locale),
      hooks_(std::move(hooks)) {
  setObjectName("ConfigAccounts");
  setWindowTitle(Q(Str(139)));
  setAttribute(Qt::WA_DeleteOnClose);
  BuildControls();
  BuildMenus();
  Dsh->setChecked(model_.FolioDashes());
  ScrollAcc->setRange(0, model_.ScrollMax());
  DrawGrid();
  ShowSelection();
  RenameAccount[0]->setFocus(Qt::OtherFocusReason);
}

ConfigAccounts::~ConfigAccounts() = default;

void ConfigAccounts::BuildControls() {
  auto* client = new QWidget(this);
  client->setFixedSize(TwipsRect(0, 0, kClientWidth, kClientHeight).size());
  // The controls keep their design places; the window scrolls them on a smaller screen.
  HoldFixedContents(this, client);
  const Books& books = model_.TheBooks();
  QFont bookFont = font();
  bookFont.setFamily(Q(books.FontName));
  QFont arial = font();
  arial.setFamily("Arial");

  Frame2 = new QGroupBox(client);
  Frame2->setObjectName("Frame2");
  Frame2->setFont(arial);
  PlaceTwips(Frame2, 60, 60, 8160, 5200);

  Label1[1] = new QLabel(Q(Str(170) + " :"), client);
  Label1[1]->setObjectName("Label1(1)");
  Label1[1]->setFont(bookFont);
  PlaceTwips(Label1[1], kFolioLeft, 270, kFolioWidth, 255);

  for (int i = 0; i < kChartGridRows; ++i) {
    auto* name = new QLineEdit(client);
    name->setObjectName(QString("RenameAccount(%1)").arg(i));
    name->setToolTip("Change Name of the Account...");
    name->setFont(bookFont);
    auto* folio = new QLineEdit(client);
    folio->setObjectName(QString("Folio(%1)").arg(i));
    folio->setToolTip("Assign Account Number...");
    folio->setFont(arial);
    PlaceTwips(folio, kFolioLeft, kRowTop + i * kRowStep, kFolioWidth, kRowHeight);
    RenameAccount[static_cast<std::size_t>(i)] = name;
    Folio[static_cast<std::size_t>(i)] = folio;
    PlaceNameBox(i, false);
    name->installEventFilter(this);
    folio->installEventFilter(this);
    connect(name, &QLineEdit::textEdited, this, [this, i](const QString& t) { NameEdited(i, t); });
    connect(folio, &QLineEdit::textEdited, this,
            [this, i](const QString& t) { FolioEdited(i, t); });
    StoresWhenLeft(folio, [this] { CommitFolioBox(); });
  }

  ScrollAcc = new QScrollBar(Qt::Vertical, client);
  ScrollAcc->setObjectName("ScrollAcc");
  ScrollAcc->setPageStep(kChartGridRows);
  // The wheel over the window's boxes moves the grid as the bar's arrows do.
  WheelMovesBar(client, ScrollAcc);
  PlaceTwips(ScrollAcc, 7830, kRowTop, 255, kChartGridRows * kRowStep - (kRowStep - kRowHeight));
  connect(ScrollAcc, &QScrollBar::valueChanged, this, [this](int value) {
    model_.SetTop(value);
    DrawGrid();
  });

  Label1[0] = new QLabel(Q(Str(236)), client);
  Label1[0]->setObjectName("Label1(0)");
  Label1[0]->setFont(bookFont);
  PlaceTwips(Label1[0], kPanelLeft, 120, kPanelWidth, 255);
  types_ = new QButtonGroup(this);
  for (int k = 0; k < kAccountTypeCount; ++k) {
    auto* option = new QRadioButton(Q(AccountTypeCaption(k)), client);
    option->setObjectName(QString("CurrentAsset(%1)").arg(k));
    option->setFont(bookFont);
    if (k == kCostOfGoodsSold) option->setToolTip(Q(Str(239)));
    PlaceTwips(option, kPanelLeft, 420 + k * kRowStep, kPanelWidth, kRowHeight);
    option->installEventFilter(this);
    types_->addButton(option, k);
    CurrentAsset[static_cast<std::size_t>(k)] = option;
  }
  // A click, Space, or an arrow key that moves the choice sets the type.
  connect(types_, &QButtonGroup::idClicked, this, &ConfigAccounts::TypeClicked);
  connect(types_, &QButtonGroup::idToggled, this, [this](int type, bool checked) {
    if (checked && !showing_) TypeClicked(type);
  });

  ANote = new QLineEdit(client);
  ANote->setObjectName("ANote");
  ANote->setToolTip("Optional Account Details...");
  ANote->setFont(bookFont);
  PlaceTwips(ANote, kPanelLeft, 3600, kPanelWidth, kRowHeight);
  ANote->installEventFilter(this);
  connect(ANote, &QLineEdit::textEdited, this,
          [this](const QString& t) { model_.StoreNotes(t.toStdString()); });

  Dsh = new QCheckBox("Use '-' for folio sub accounts numbers.", client);
  Dsh->setObjectName("Dsh");
  Dsh->setFont(arial);
  PlaceTwips(Dsh, 120, 5350, 8000, kRowHeight);
  Dsh->installEventFilter(this);
  connect(Dsh, &QCheckBox::clicked, this, [this](bool on) {
    CommitFolioBox();
    model_.SetFolioDashes(on);
    DrawGrid();
  });

  ANote2 = new QPlainTextEdit(client);
  ANote2->setObjectName("ANote2");
  ANote2->setToolTip("Selected Account Statement / Invoice Details...");
  ANote2->setFont(arial);
  ANote2->setTabChangesFocus(true);
  PlaceTwips(ANote2, 60, 5750, kClientWidth - 120, 1300);
  connect(ANote2, &QPlainTextEdit::textChanged, this, [this] {
    // A text cut to fit comes back here and is stored then.
    if (showing_ || HoldToBookTextLimit(ANote2)) return;
    model_.StoreDetails(ToBookLines(ANote2->toPlainText().toStdString()));
  });

  // Tab goes from the types to the notes, the details and the dashes box; the window's own
  // Tab handling brings it back to the selected row.
  setTabOrder(ANote, ANote2);
  setTabOrder(ANote2, Dsh);
  ScrollAcc->setFocusPolicy(Qt::NoFocus);
}

void ConfigAccounts::BuildMenus() {
  AccountMenu = menuBar()->addMenu(Q(Str(156)));
  AccountMenu->setObjectName("AccountMenu");
  Delete_Account = AccountMenu->addAction(Q(Str(233)));
  Delete_Account->setObjectName("Delete_Account");
  Delete_Account->setShortcut(QKeySequence("Ctrl+D"));
  Insert_Account = AccountMenu->addAction(Q(Str(234)));
  Insert_Account->setObjectName("Insert_Account");
  Insert_Account->setShortcut(QKeySequence("Ctrl+I"));
  PrintAccounts = AccountMenu->addAction(Q(Str(157)));
  PrintAccounts->setObjectName("PrintAccounts");
  AccountMenu->setEnabled(false);
  connect(Delete_Account, &QAction::triggered, this, &ConfigAccounts::Delete_Account_Click);
  connect(Insert_Account, &QAction::triggered, this, &ConfigAccounts::Insert_Account_Click);
  connect(PrintAccounts, &QAction::triggered, this, &ConfigAccounts::PrintAccounts_Click);

  HelpConfig = menuBar()->addMenu("Help");
  HelpConfig->setObjectName("HelpConfig");
  HelpSelect = HelpConfig->addAction("Setting Up Accounts...");
  HelpSelect->setObjectName("HelpSelect");
  HelpSelect->setCheckable(true);
  HelpConfig->addSeparator()->setObjectName("Sp2");
  GChatA = HelpConfig->addAction("Generate Accounts Setup...");
  GChatA->setObjectName("GChatA");
  connect(HelpSelect, &QAction::triggered, this, [this] {
    TheHelpDesk().ToggleFromItem(HelpSelect, this, ChartHelp(ChartHelpTopic::ChartOfAccounts));
  });
  connect(GChatA, &QAction::triggered, this, &ConfigAccounts::GChatA_Click);
}

void ConfigAccounts::PlaceNameBox(int row, bool indented) {
  PlaceTwips(RenameAccount[static_cast<std::size_t>(row)], kNameLeft + (indented ? kIndent : 0),
             kRowTop + row * kRowStep, kNameWidth - (indented ? kIndent : 0), kRowHeight);
}

// ---- Drawing.

void ConfigAccounts::DrawGrid() {
  CommitFolioBox();
  if (ScrollAcc->value() != model_.Top()) {
    const QSignalBlocker block(ScrollAcc);
    ScrollAcc->setValue(model_.Top());
  }
  Frame2->setTitle(Q(model_.FrameCaption()));
  showing_ = true;
  for (int i = 0; i < kChartGridRows; ++i) {
    const ChartEditorModel::GridRow row = model_.Row(i);
    QLineEdit* name = RenameAccount[static_cast<std::size_t>(i)];
    QLineEdit* folio = Folio[static_cast<std::size_t>(i)];
    name->setText(Q(row.Name));
    folio->setText(Q(row.FolioText));
    name->setEnabled(row.Account >= 0);
    folio->setEnabled(row.Account >= 0);
    PlaceNameBox(i, row.SubAccount);
    SetRowBold(i, false);
    for (QLineEdit* box : {name, folio}) {
      QPalette palette = box->palette();
      palette.setColor(QPalette::Text, row.Marked ? Qt::red : Qt::black);
      box->setPalette(palette);
    }
  }
  showing_ = false;
}

void ConfigAccounts::SetRowBold(int row, bool bold) {
  for (QLineEdit* box :
       {RenameAccount[static_cast<std::size_t>(row)], Folio[static_cast<std::size_t>(row)]}) {
    QFont f = box->font();
    f.setBold(bold);
    box->setFont(f);
  }
}

// ---- Selection.

std::optional<ConfigAccounts::Cell> ConfigAccounts::CellOf(QObject* object) const {
  for (int i = 0; i < kChartGridRows; ++i) {
    if (object == RenameAccount[static_cast<std::size_t>(i)]) return Cell{i, false};
    if (object == Folio[static_cast<std::size_t>(i)]) return Cell{i, true};
  }
  return std::nullopt;
}

QLineEdit* ConfigAccounts::BoxOf(Cell cell) const {
  const auto row = static_cast<std::size_t>(cell.Row);
  return cell.IsFolio ? Folio[row] : RenameAccount[row];
}

void ConfigAccounts::SelectRow(int row) {
  if (model_.AccountOfRow(row) < 0) return;
  if (row != model_.SelectedRow()) SetRowBold(model_.SelectedRow(), false);
  model_.SelectRow(row);
  SetRowBold(row, true);
  ShowSelection();
  AccountMenu->setEnabled(true);
}

void ConfigAccounts::ShowSelection() {
  const bool selected = model_.SelectedAccount() >= 0;
  showing_ = true;
  ANote->setText(Q(model_.SelectedNotes()));
  ANote2->setPlainText(Q(ToBoxLines(model_.SelectedDetails())));
  showing_ = false;
  ANote->setEnabled(selected);
  ANote2->setEnabled(selected);
  for (QRadioButton* option : CurrentAsset) {
    option->setEnabled(selected);
    QFont f = option->font();
    f.setBold(false);
    option->setFont(f);
  }
  if (!selected) return;
  const int type = model_.SelectedType();
  if (type >= 0 && type < kAccountTypeCount) {
    QRadioButton* option = CurrentAsset[static_cast<std::size_t>(type)];
    showing_ = true;
    option->setChecked(true);
    showing_ = false;
    QFont f = option->font();
    f.setBold(true);
    option->setFont(f);
  }
}

// ---- Edits.

void ConfigAccounts::NameEdited(int row, const QString& text) {
  if (showing_) return;
  if (const auto refused = model_.StoreName(row, text.toStdString())) {
    ShowMessage(*refused);
    showing_ = true;
    RenameAccount[static_cast<std::size_t>(row)]->setText(Q(model_.Row(row).Name));
    showing_ = false;
  }
}

void ConfigAccounts::FolioEdited(int row, const QString& text) {
  if (showing_) return;
  const FolioReading reading = model_.StoreFolio(row, text.toStdString());
  refusedFolioRow_ = reading.Stores() ? -1 : row;
  if (reading.Stores()) PlaceNameBox(row, model_.Row(row).SubAccount);
}

void ConfigAccounts::CommitFolioBox() {
  const int row = refusedFolioRow_;
  if (row < 0) return;
  refusedFolioRow_ = -1;
  QLineEdit* box = Folio[static_cast<std::size_t>(row)];
  if (const auto message = model_.FolioLeftMessage(row, box->text().toStdString())) {
    showing_ = true;
    box->setText(Q(model_.Row(row).FolioText));
    showing_ = false;
    ShowMessage(*message);
  }
}

void ConfigAccounts::TypeClicked(int type) {
  TheHelpDesk().ShowCard(AccountTypeHelp(type));  // in help mode the type is still set
  model_.SetType(type);
  ShowSelection();
  // Back to the selected row's name; once more after the event, because an arrow key gives
  // the focus to the option it chose after choosing it.
  auto backToRow = [this] {
    RenameAccount[static_cast<std::size_t>(model_.SelectedRow())]->setFocus(Qt::OtherFocusReason);
  };
  backToRow();
  QTimer::singleShot(0, this, backToRow);
}

// ---- Keys and clicks.

namespace {

// The key, with Shift+Tab as Backtab.
int KeyOf(const QKeyEvent* key) {
  if (key->key() == Qt::Key_Tab && (key->modifiers() & Qt::ShiftModifier)) return Qt::Key_Backtab;
  return key->key();
}

}  // namespace

bool ConfigAccounts::KeyPressed(Cell cell, QKeyEvent* key) {
  const int code = KeyOf(key);
  if (code == Qt::Key_Return || code == Qt::Key_Enter) {
    pendingArrowKey_ = 0;
    const ChartEditorModel::Move move = ChartEditorModel::EnterMove(cell.Row);
    if (move.Row >= 0) BoxOf({move.Row, cell.IsFolio})->setFocus(Qt::OtherFocusReason);
    return true;
  }
  if (code == Qt::Key_Up || code == Qt::Key_Down) {
    pendingArrowKey_ = code == Qt::Key_Up ? kKeyUp : kKeyDown;
    return true;
  }
  pendingArrowKey_ = 0;
  // Tab runs through the selected row and the account's own fields, not down the grid.
  if (code == Qt::Key_Tab && !cell.IsFolio) {
    Folio[static_cast<std::size_t>(cell.Row)]->setFocus(Qt::TabFocusReason);
    return true;
  }
  if (code == Qt::Key_Tab && cell.IsFolio) {
    if (QAbstractButton* checked = types_->checkedButton()) checked->setFocus(Qt::TabFocusReason);
    return true;
  }
  if (code == Qt::Key_Backtab && cell.IsFolio) {
    RenameAccount[static_cast<std::size_t>(cell.Row)]->setFocus(Qt::BacktabFocusReason);
    return true;
  }
  if (code == Qt::Key_Backtab) {
    Dsh->setFocus(Qt::BacktabFocusReason);
    return true;
  }
  if (!cell.IsFolio || key->text().isEmpty()) return false;
  const QString typed = key->text();
  if (typed.front().unicode() < 0x20 && typed != "\b") return true;  // Ctrl+V and the like
  return !FolioKeyPasses(typed.toStdString(), locale_);
}

void ConfigAccounts::KeyReleased(Cell cell) {
  if (pendingArrowKey_ == 0) return;
  const ChartEditorModel::Move move = model_.ArrowMove(cell.Row, pendingArrowKey_);
  QLineEdit* box = BoxOf(cell);
  const int caret = box->cursorPosition();
  if (move.ScrollBy != 0) {
    ScrollAcc->setValue(model_.Top() + move.ScrollBy);
    SelectRow(cell.Row);
    return;
  }
  if (move.Row < 0) return;
  QLineEdit* target = BoxOf({move.Row, cell.IsFolio});
  target->setFocus(Qt::OtherFocusReason);
  target->setCursorPosition(caret);
}

bool ConfigAccounts::eventFilter(QObject* watched, QEvent* event) {
  const std::optional<Cell> cell = CellOf(watched);
  if (cell && LeaveKeyToWindowShortcut(this, event)) return true;
  switch (event->type()) {
    case QEvent::FocusIn:
      if (cell) SelectRow(cell->Row);
      break;
    case QEvent::FocusOut:
      // A menu or its bar opened, or another window taking the keyboard, is no leaving: a
      // command finds the folio told about through the pending-edit guard.
      if (cell && LeftWithinWindow(this, *static_cast<QFocusEvent*>(event))) {
        AccountMenu->setEnabled(false);
        if (cell->IsFolio) CommitFolioBox();
      }
      break;
    case QEvent::KeyPress:
      if (cell) return KeyPressed(*cell, static_cast<QKeyEvent*>(event));
      if (watched == Dsh && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Tab) {
        RenameAccount[static_cast<std::size_t>(model_.SelectedRow())]->setFocus(Qt::TabFocusReason);
        return true;
      }
      break;
    case QEvent::KeyRelease:
      if (cell && !static_cast<QKeyEvent*>(event)->isAutoRepeat()) KeyReleased(*cell);
      break;
    case QEvent::MouseButtonPress:
      // In help mode a click shows the field's card and still does what it does (a type
      // option shows its card as it is clicked).
      if (watched == ANote)
        TheHelpDesk().ShowCard(ChartHelp(ChartHelpTopic::Details));
      else if (cell)
        TheHelpDesk().ShowCard(
            ChartHelp(cell->IsFolio ? ChartHelpTopic::Folio : ChartHelpTopic::Name));
      break;
    default: break;
  }
  return QMainWindow::eventFilter(watched, event);
}

// ---- Commands.

void ConfigAccounts::AfterChartChanged() {
  {
    const QSignalBlocker block(ScrollAcc);
    ScrollAcc->setRange(0, model_.ScrollMax());
  }
  DrawGrid();
  ShowSelection();
  if (model_.SelectedAccount() >= 0 && model_.AccountOfRow(model_.SelectedRow()) >= 0)
    SetRowBold(model_.SelectedRow(), true);
}

void ConfigAccounts::Insert_Account_Click() {
  if (const auto limit = model_.Insert()) {
    ShowMessage(*limit);
    return;
  }
  AfterChartChanged();
}

void ConfigAccounts::Delete_Account_Click() {
  if (model_.Delete()) AfterChartChanged();
}

void ConfigAccounts::PrintAccounts_Click() {
  // Straight to the printer as it is set, one copy; a printer error is reported once.
  PrintDocumentDirect(this, session_, [this](DrawingSurface& printer) {
    DrawChartListing(printer, model_.TheBooks(), locale_.DecimalSymbol);
  });
}

void ConfigAccounts::GChatA_Click() {
  if (ChartHoldsMoreThanStart(model_.TheBooks()) &&
      AskQuestion(kSampleChartQuestion, PromptButtons::YesNo, PromptIcon::Question) !=
          PromptAnswer::Yes)
    return;
  model_.GenerateSampleChart();
  AfterChartChanged();
  // A grid box that has the focus selects its row of the new chart at once.
  if (const std::optional<Cell> cell = CellOf(QApplication::focusWidget())) SelectRow(cell->Row);
}

// ---- Closing.

void ConfigAccounts::CloseWithoutChecks() {
  forced_ = true;
  close();
}

void ConfigAccounts::closeEvent(QCloseEvent* event) {
  if (forced_) {
    event->accept();
    return;
  }
  if (hooks_.BeforeChecks) hooks_.BeforeChecks();
  const ChartCheck check = model_.Close();
  if (!check.Passed()) {
    event->ignore();
    Prompts().Ask(check.Message);
    DrawGrid();
    return;
  }
  event->accept();
  if (hooks_.AfterClose) hooks_.AfterClose();
}

}  // namespace qv
