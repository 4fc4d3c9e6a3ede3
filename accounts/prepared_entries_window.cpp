#include "accounts/prepared_entries_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStringListModel>
#include <QToolButton>

#include "accounts/account_combo_qt.h"
#include "accounts/window_shortcuts_qt.h"
#include "books/entry_screen.h"
#include "controls/pending_edit_qt.h"
#include "controls/vertical_scroll_control.h"
#include "controls/wheel_routing_qt.h"
#include "platform/clipboard_qt.h"
#include "platform/placement_qt.h"
#include "platform/prompts.h"
#include "platform/string_table.h"
#include "platform/units.h"

namespace qv {
namespace {

// The design, in twips.
constexpr int kMinWidth = 9915;
constexpr int kMinHeight = 5535;
constexpr int kPanelTop = 480;
constexpr int kScrollWidth = 255;
constexpr int kRowHeight = 315;
constexpr int kLabelWidth = 700;
constexpr int kDebitLabelLeft = 40;
constexpr int kCreditLabelLeft = 75;
constexpr int kFolioWidth = 900;
constexpr int kAmountWidth = 1500;
constexpr int kButtonWidth = 300;

const QColor kCreditFieldColor(255, 240, 240);

QString Q(const std::string& text) { return QString::fromStdString(text); }

void SetBackground(QWidget* w, const QColor& color) {
  QPalette palette = w->palette();
  palette.setColor(QPalette::Base, color);
  w->setPalette(palette);
}

void SetTextColor(QLabel* label, const QColor& color) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, color);
  label->setPalette(palette);
}

void MoveTwips(QWidget* w, int left, int top, int width, int height) {
  w->setGeometry(Px(left), Px(top), Px(width), Px(height));
}

}  // namespace

RecurringEntries::RecurringEntries(Books& books, const LocaleInfo& locale, const Clock& clock,
                                   PreparedEntriesHooks hooks)
    : QMainWindow(nullptr, Qt::Window),
      model_(books),
      books_(books),
      locale_(locale),
      clock_(clock),
      hooks_(std::move(hooks)) {
  setObjectName("RecurringEntries");
  setWindowTitle(Q(Str(138)));
  setAttribute(Qt::WA_DeleteOnClose);
  BuildControls();
  BuildMenus();
  model_.Load();
  for (int g = 0; g < kPreparedGroupCount; ++g)
    gp[static_cast<std::size_t>(g)]->setText(Q(model_.Caption(g)));
  GroupLabels->setText(Q(model_.NameBoxText()));
  ShowGroupChecks();
  resize(Px(kMinWidth), Px(kMinHeight + kPanelTop));
  Layout();
  ScrollTo(0);
}

RecurringEntries::~RecurringEntries() = default;

void RecurringEntries::BuildControls() {
  auto* client = new QWidget(this);
  setCentralWidget(client);
  setMinimumSize(Px(kMinWidth), Px(kMinHeight));
  QFont bookFont = font();
  bookFont.setFamily(Q(books_.FontName));

  GroupLabels = new QLineEdit(client);
  GroupLabels->setObjectName("GroupLabels");
  GroupLabels->setToolTip("Name Select Group...");
  GroupLabels->setFont(bookFont);
  PlaceTwips(GroupLabels, 60, 60, 4000, kRowHeight);
  GroupLabels->installEventFilter(this);
  connect(GroupLabels, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (const auto refused = model_.StoreGroupName(text.toStdString())) {
      ShowMessage(*refused);
      GroupLabels->setText(Q(std::string(
          TrimText(books_.GroupNames[static_cast<std::size_t>(model_.CurrentGroup())].Text()))));
      return;
    }
    gp[static_cast<std::size_t>(model_.CurrentGroup())]->setText(
        Q(model_.Caption(model_.CurrentGroup())));
  });
  const std::pair<int, const char*> buttons[] = {
      {318, "Add this selective group of entries to the main accounts..."},
      {317, "Add the current selected entry to the main accounts..."}};
  for (int k = 0; k < 2; ++k) {
    auto* button = new QPushButton(Q(Str(buttons[k].first)), client);
    button->setObjectName(QString("InEe(%1)").arg(k));
    button->setToolTip(buttons[k].second);
    PlaceTwips(button, 4200 + k * 2000, 40, 1900, 360);
    connect(button, &QPushButton::clicked, this, [this, k] { InEe_Click(k); });
    InEe[static_cast<std::size_t>(k)] = button;
  }

  eBox = new QWidget(client);
  eBox->setObjectName("eBox");
  if (!hooks_.Background.isNull()) {
    QPalette palette = eBox->palette();
    palette.setBrush(QPalette::Window, QBrush(hooks_.Background));
    eBox->setPalette(palette);
    eBox->setAutoFillBackground(true);
  }
  ScrollAcc = new PelVerticalScroll(kPreparedGroupsScrollAccSettings, client);
  ScrollAcc->setObjectName("ScrollAcc");
  connect(ScrollAcc, &ScrollBarControl::Change, this, [this] {
    top_ = ScrollAcc->Value();
    HideCompoundButtons();
    DrawRows();
  });
  connect(ScrollAcc, &ScrollBarControl::GotFocus, this, &RecurringEntries::HideCompoundButtons);
  // The wheel over the rows moves the list as the bar's arrows do.
  WheelMovesBar(eBox, ScrollAcc);

  accountNames_ = new QStringListModel(this);
  FillAccountNames();
  for (int r = 0; r < kPreparedRows; ++r) {
    const auto i = static_cast<std::size_t>(r);
    CrDrLabel[i] = new QLabel(eBox);
    CrDrLabel[i]->setObjectName(QString("CrDrLabel(%1)").arg(r));
    Folio[i] = new QLineEdit(eBox);
    Folio[i]->setObjectName(QString("Folio(%1)").arg(r));
    Folio[i]->setMaxLength(9);
    Folio[i]->setToolTip("Account Number (Folio)...");
    Account_Name[i] = new QComboBox(eBox);
    Account_Name[i]->setObjectName(QString("Account_Name(%1)").arg(r));
    Account_Name[i]->setToolTip("Select Account...");
    MakeAccountCombo(Account_Name[i]);
    Account_Name[i]->setModel(accountNames_);
    AmountText[i] = new QLineEdit(eBox);
    AmountText[i]->setObjectName(QString("AmountText(%1)").arg(r));
    AmountText[i]->setMaxLength(14);
    AmountText[i]->setToolTip("Amount...");
    CrDrLabel2[i] = new QLabel("Notes :", eBox);
    CrDrLabel2[i]->setObjectName(QString("CrDrLabel2(%1)").arg(r));
    SetTextColor(CrDrLabel2[i], Qt::blue);
    AccNote[i] = new QLineEdit(eBox);
    AccNote[i]->setObjectName(QString("AccNote(%1)").arg(r));
    AccNote[i]->setToolTip("Details of Transaction...");
    for (QWidget* w :
         std::initializer_list<QWidget*>{Folio[i], Account_Name[i], AmountText[i], AccNote[i]}) {
      w->setFont(bookFont);
      w->installEventFilter(this);
      w->hide();
    }
    CrDrLabel[i]->hide();
    CrDrLabel2[i]->hide();
    connect(Folio[i], &QLineEdit::textEdited, this, [this, r](const QString& text) {
      const int32_t line = rowLine_[static_cast<std::size_t>(r)];
      if (const auto name = model_.StoreFolio(line, text.toStdString(), locale_))
        ShowComboName(Account_Name[static_cast<std::size_t>(r)], Q(*name));
    });
    connect(AmountText[i], &QLineEdit::textEdited, this, [this, r](const QString& text) {
      model_.StoreAmount(rowLine_[static_cast<std::size_t>(r)], text.toStdString(), locale_);
    });
    connect(AccNote[i], &QLineEdit::textEdited, this, [this, r](const QString& text) {
      // The notes box of a row belongs to the line that row shows.
      model_.StoreNotes(rowLine_[static_cast<std::size_t>(r)], text.toStdString());
    });
    connect(Account_Name[i], &QComboBox::activated, this, [this, r](int) { AccountLeft(r); });
    StoresWhenLeft(Account_Name[i], [this, r] { AccountLeft(r); });
    StoresWhenLeft(Folio[i], [this, r] { FolioLeft(r); });
  }
  for (const int side : {1, 2}) {
    auto* button = new QToolButton(eBox);
    button->setObjectName(QString("CompoundEntry(%1)").arg(side));
    button->setIcon(QIcon(":/icons/add_line.png"));
    button->setText("+");
    button->setToolTip(side == 1 ? "Insert Compound Debit Entry..."
                                 : "Insert Compound Credit Entry...");
    button->hide();
    connect(button, &QToolButton::clicked, this, [this, side] { CompoundEntry_Click(side); });
    CompoundEntry[static_cast<std::size_t>(side)] = button;
  }
}

void RecurringEntries::BuildMenus() {
  QMenu* select = menuBar()->addMenu(Q(Str(316)));
  select->setObjectName("EntryGoups");
  for (int g = 0; g < kPreparedGroupCount; ++g) {
    QAction* item = select->addAction(QString("Group %1...").arg(g + 1));
    item->setObjectName(QString("gp(%1)").arg(g));
    item->setCheckable(true);
    connect(item, &QAction::triggered, this, [this, g] { gp_Click(g); });
    gp[static_cast<std::size_t>(g)] = item;
  }
  QMenu* edit = menuBar()->addMenu(Q(Str(117)));
  edit->setObjectName("Edit_op");
  auto add = [&](const char* name, int captionId, const char* shortcut, auto handler) {
    QAction* action = edit->addAction(Q(Str(captionId)));
    action->setObjectName(name);
    action->setShortcut(QKeySequence(shortcut));
    connect(action, &QAction::triggered, this, handler);
    return action;
  };
  C_E = add("C_E", 119, "Ctrl+W", &RecurringEntries::C_E_Click);
  P_E = add("P_E", 120, "Ctrl+E", &RecurringEntries::P_E_Click);
  Del_E = add("Del_E", 121, "Ctrl+D", &RecurringEntries::Del_E_Click);
  edit->addSeparator();
  New_E = add("New_E", 118, "Ctrl+N", &RecurringEntries::New_E_Click);
}

void RecurringEntries::FillAccountNames() {
  accountList_ = AccountListNames(books_);
  QStringList names;
  for (const std::string& name : accountList_) names.push_back(Q(name));
  accountNames_->setStringList(names);
}

void RecurringEntries::ShowGroupChecks() {
  for (int g = 0; g < kPreparedGroupCount; ++g)
    gp[static_cast<std::size_t>(g)]->setChecked(g == model_.CurrentGroup());
}

// ---- Layout and drawing.

void RecurringEntries::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  Layout();
}

void RecurringEntries::Layout() {
  if (eBox == nullptr) return;
  const QWidget* client = centralWidget();
  const int width = client->width();
  const int height = client->height();
  const int scroll = Px(kScrollWidth);
  const int top = Px(kPanelTop);
  eBox->setGeometry(0, top, std::max(0, width - scroll), std::max(0, height - top));
  ScrollAcc->setGeometry(width - scroll, top, scroll, std::max(0, height - top));
  ScrollAcc->Refresh();
  DrawRows();
}

void RecurringEntries::DrawRows() {
  if (eBox == nullptr) return;
  drawing_ = true;
  const std::vector<PreparedRow> rows = model_.Rows(top_, kPreparedRows, locale_);
  const int panelWidth = Tw(eBox->width());
  int y = -20;
  for (int r = 0; r < kPreparedRows; ++r) {
    const auto i = static_cast<std::size_t>(r);
    CrDrLabel2[i]->hide();
    if (i >= rows.size()) {
      rowLine_[i] = -1;
      for (QWidget* w : std::initializer_list<QWidget*>{CrDrLabel[i], Folio[i], Account_Name[i],
                                                        AmountText[i], AccNote[i]})
        w->hide();
      continue;
    }
    const PreparedRow& row = rows[i];
    rowLine_[i] = row.Line;
    const bool credit = row.Side == kCredit;
    const int labelLeft = credit ? kCreditLabelLeft : kDebitLabelLeft;
    CrDrLabel[i]->setText(credit ? "Credit :" : "Debit :");
    SetTextColor(CrDrLabel[i], credit ? Qt::red : Qt::black);
    CrDrLabel[i]->setVisible(row.SideLabel);
    for (QWidget* w : std::initializer_list<QWidget*>{Folio[i], Account_Name[i], AmountText[i]})
      SetBackground(w, credit ? kCreditFieldColor : palette().color(QPalette::Base));

    const int folioLeft = labelLeft + kLabelWidth + 2;
    const int comboLeft = folioLeft + kFolioWidth;
    const int comboWidth =
        std::max(600, panelWidth - (comboLeft + kAmountWidth + kButtonWidth + kScrollWidth));
    y += kRowHeight;
    MoveTwips(CrDrLabel[i], labelLeft, y + 2, kLabelWidth, kRowHeight);
    MoveTwips(Folio[i], folioLeft, y, kFolioWidth, kRowHeight);
    MoveTwips(Account_Name[i], comboLeft, y, comboWidth, kRowHeight);
    MoveTwips(AmountText[i], comboLeft + comboWidth, y, kAmountWidth, kRowHeight);
    Folio[i]->setText(Q(row.FolioText));
    ShowComboName(Account_Name[i], Q(row.AccountName));
    AmountText[i]->setText(Q(row.AmountText));
    for (QWidget* w : std::initializer_list<QWidget*>{Folio[i], Account_Name[i], AmountText[i]})
      w->show();
    if (!row.NotesBox) {
      AccNote[i]->hide();
      continue;
    }
    y += kRowHeight;
    MoveTwips(AccNote[i], folioLeft, y, std::max(600, panelWidth - folioLeft - 70), kRowHeight);
    AccNote[i]->setText(Q(row.NotesText));
    AccNote[i]->show();
    MoveTwips(CrDrLabel2[i], kCreditLabelLeft, y + 2, kLabelWidth, kRowHeight);
    CrDrLabel2[i]->show();
    y += 15;
  }
  drawing_ = false;
}

void RecurringEntries::ScrollTo(int32_t line) {
  ScrollAcc->SetValueMax(model_.LastWorkLine());
  ScrollAcc->SetValue(line);  // draws the rows
  if (ScrollAcc->Value() == top_) DrawRows();
  top_ = ScrollAcc->Value();
}

// ---- Focus, keys and the row editors.

std::optional<RecurringEntries::FieldRef> RecurringEntries::FieldOf(QObject* object) const {
  for (int r = 0; r < kPreparedRows; ++r) {
    const auto i = static_cast<std::size_t>(r);
    if (object == Folio[i]) return FieldRef{r, Field::Folio};
    if (object == Account_Name[i]) return FieldRef{r, Field::Account};
    if (object == AmountText[i]) return FieldRef{r, Field::Amount};
    if (object == AccNote[i]) return FieldRef{r, Field::Notes};
  }
  return std::nullopt;
}

void RecurringEntries::HideCompoundButtons() {
  CompoundEntry[1]->hide();
  CompoundEntry[2]->hide();
}

void RecurringEntries::RowFocused(int row) {
  const int32_t line = rowLine_[static_cast<std::size_t>(row)];
  if (line < 0) return;
  model_.Focus(line);
  HideCompoundButtons();
  const uint8_t side = model_.AddLineSide();
  if (side == 0) return;
  QLineEdit* amount = AmountText[static_cast<std::size_t>(row)];
  QToolButton* button = CompoundEntry[side];
  button->setGeometry(amount->x() + amount->width(), amount->y(), Px(kButtonWidth),
                      amount->height());
  // Tab goes from the amount to the button beside it, and on from there as from the amount.
  QWidget::setTabOrder(amount, button);
  button->show();
  button->raise();
}

bool RecurringEntries::RowKeyDown(FieldRef field, QKeyEvent* key) {
  const int code = key->key();
  if (code == Qt::Key_Tab || code == Qt::Key_Backtab) return false;
  HideCompoundButtons();
  bool swallow = false;
  switch (code) {
    case Qt::Key_Up:
      if (ScrollAcc->Value() >= 1) ScrollAcc->SetValue(ScrollAcc->Value() - 1);
      swallow = true;
      break;
    case Qt::Key_Down:
      if (ScrollAcc->Value() < model_.LastWorkLine()) ScrollAcc->SetValue(ScrollAcc->Value() + 1);
      swallow = true;
      break;
    case Qt::Key_Left:
    case Qt::Key_Right: swallow = true; break;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: Folio[0]->setFocus(Qt::OtherFocusReason); break;
    default: break;
  }
  model_.Focus(top_ + field.Row);
  if (swallow) return true;
  const QString typed = key->text();
  if (typed.isEmpty() || (typed.front().unicode() < 0x20 && typed != "\b")) return false;
  switch (field.Kind) {
    case Field::Folio: return !FolioKeyPasses(typed.toStdString(), locale_);
    case Field::Amount: return !AmountKeyPasses(typed.toStdString(), locale_);
    case Field::Account:
      return AccountComboKeyPress(Account_Name[static_cast<std::size_t>(field.Row)], accountList_,
                                  *key);
    case Field::Notes: return false;
  }
  return false;
}

void RecurringEntries::AccountLeft(int row) {
  const auto i = static_cast<std::size_t>(row);
  AmountText[i]->setCursorPosition(0);
  if (const auto folio = model_.StoreAccountName(
          rowLine_[i], Account_Name[i]->currentText().toStdString(), locale_))
    Folio[i]->setText(Q(*folio));
}

void RecurringEntries::FolioLeft(int row) {
  const auto i = static_cast<std::size_t>(row);
  const int32_t line = rowLine_[i];
  if (const auto message = model_.FolioLeftMessage(line, Folio[i]->text().toStdString(), locale_)) {
    const std::vector<PreparedRow> shown = model_.Rows(line, 1, locale_);
    if (!shown.empty()) Folio[i]->setText(Q(shown.front().FolioText));
    ShowMessage(*message);
  }
}

bool RecurringEntries::eventFilter(QObject* watched, QEvent* event) {
  if (watched == GroupLabels && event->type() == QEvent::KeyPress) {
    const EntryRange selected = model_.Selection();
    switch (static_cast<QKeyEvent*>(event)->key()) {
      case Qt::Key_Up: ScrollAcc->SetValue(selected.First - 1); return true;
      case Qt::Key_Down: ScrollAcc->SetValue(selected.Last + 1); return true;
      case Qt::Key_Left:
      case Qt::Key_Right: return true;
      default: return false;
    }
  }
  const std::optional<FieldRef> field = FieldOf(watched);
  if ((field || watched == GroupLabels) && LeaveKeyToWindowShortcut(this, event)) return true;
  if (!field || drawing_) return QMainWindow::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::FocusIn: RowFocused(field->Row); break;
    case QEvent::FocusOut: {
      if (!LeftWithinWindow(this, *static_cast<QFocusEvent*>(event))) break;
      if (field->Kind == Field::Account) AccountLeft(field->Row);
      if (field->Kind == Field::Folio) FolioLeft(field->Row);
      break;
    }
    case QEvent::KeyPress: return RowKeyDown(*field, static_cast<QKeyEvent*>(event));
    default: break;
  }
  return QMainWindow::eventFilter(watched, event);
}

// ---- Commands.

void RecurringEntries::New_E_Click() {
  HideCompoundButtons();
  ScrollTo(model_.NewEntry());
}

void RecurringEntries::CompoundEntry_Click(int side) {
  if (!model_.AddLine(static_cast<uint8_t>(side))) return;
  // The new line takes the focused line's place, and so its row. Its folio takes the focus
  // before the rows are drawn again: the button may be hidden meanwhile, and the focus
  // would move on from it to another line.
  int row = -1;
  for (int r = 0; r < kPreparedRows && row < 0; ++r)
    if (rowLine_[static_cast<std::size_t>(r)] == model_.FocusLine()) row = r;
  if (row >= 0) Folio[static_cast<std::size_t>(row)]->setFocus(Qt::OtherFocusReason);
  ScrollTo(top_);
  // The button stays beside the new line while its side may take another.
  if (row >= 0) RowFocused(row);
}

void RecurringEntries::Del_E_Click() {
  HideCompoundButtons();
  if (model_.DeleteEntry()) ScrollTo(model_.Selection().First);
}

void RecurringEntries::C_E_Click() {
  SetClipboardText(model_.CopyText());
  // The copied entry's rows stand out until the list is drawn again.
  const EntryRange copied = model_.Selection();
  for (int r = 0; r < kPreparedRows; ++r) {
    const int32_t line = rowLine_[static_cast<std::size_t>(r)];
    if (line < copied.First || line > copied.Last) continue;
    const auto i = static_cast<std::size_t>(r);
    for (QWidget* w : std::initializer_list<QWidget*>{Folio[i], Account_Name[i], AmountText[i]})
      SetBackground(w, palette().color(QPalette::Mid));
  }
}

void RecurringEntries::P_E_Click() {
  const PreparedPaste paste = model_.Paste(ClipboardText(), locale_);
  if (paste.Result == PreparedPaste::Kind::Refused) ShowMessage(paste.Message);
  if (paste.Result == PreparedPaste::Kind::Lines) ScrollTo(model_.FocusLine());
}

void RecurringEntries::gp_Click(int group) {
  model_.SwitchGroup(group);
  GroupLabels->setText(Q(model_.NameBoxText()));
  ShowGroupChecks();
  HideCompoundButtons();
  ScrollTo(0);
}

void RecurringEntries::InEe_Click(int which) {
  const IncludeResult result = model_.Include(which == 0, clock_.Today());
  if (!result.Done) {
    ShowMessage(result.Message);
    return;
  }
  if (hooks_.Included) hooks_.Included();
}

void RecurringEntries::closeEvent(QCloseEvent* event) {
  model_.Store();
  event->accept();
}

}  // namespace qv
