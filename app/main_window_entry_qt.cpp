// The main window's entry fields: the folio, account and amount boxes of each row, the
// notes box and the date box. Each handler hands the box's key or text to the entry fields
// (books/entry_fields.h), which check it and store it in the shown entry, and shows what
// comes back: the status line, the account shown for a folio, the folio of a chosen
// account, the date as stored.
//
// Boxes store what the user changes (textEdited: typing, pasting, undo), never what the
// display writes into them. Focus leaving a box counts only for moves inside the window
// (opening a drop-down list leaves the box as it is); what leaving a box does also runs
// before any command of any window and before the entry shown moves, through the
// application's pending-edit guard (controls/pending_edit_qt.h).

#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTimer>

#include "accounts/account_combo_qt.h"
#include "app/application_window.h"
#include "app/main_window.h"
#include "controls/date_picker_control.h"
#include "controls/pending_edit_qt.h"
#include "controls/vertical_scroll_control.h"
#include "platform/key_codes_qt.h"
#include "platform/prompts.h"

namespace qv {
namespace {

// The character a key press types, as UTF-8, the way the key filters read it: the control
// codes of Backspace, Enter and the Ctrl+letter keys whatever text the platform sends with
// them; nothing for keys that type no character, and nothing for Tab, which moves the focus.
std::string TypedTextOf(const QKeyEvent& event) {
  const int key = event.key();
  if (key == Qt::Key_Tab || key == Qt::Key_Backtab) return {};
  const Qt::KeyboardModifiers mods = event.modifiers();
  if ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier) && key >= Qt::Key_A &&
      key <= Qt::Key_Z)
    return std::string(1, static_cast<char>(key - Qt::Key_A + 1));
  const QString text = event.text();
  if (text.isEmpty() || text.at(0).unicode() < 32) {
    const int16_t code = KeyAsciiOf(event);
    if (code <= 0 || code == 9 || code >= 128) return {};
    return std::string(1, static_cast<char>(code));
  }
  if (text.size() == 1 && text.at(0).unicode() == 0x7F) return {};  // Delete
  return text.toStdString();
}

// The text of a character code from a key-press handler.
std::string TextOfCode(int16_t code) {
  if (code <= 0) return {};
  return QString(QChar(static_cast<char16_t>(code))).toStdString();
}

bool MovedInsideWindow(const QEvent* event) {
  const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
  return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

}  // namespace

// The item of that name is chosen when the list has one, so that Up and Down go on from it.
EntryRowWidgets& TAcount::RowWidgets(uint8_t side, int row) {
  std::vector<EntryRowWidgets>& rows = side == kDebit ? debitRows_ : creditRows_;
  return rows[static_cast<std::size_t>(row)];
}

QLineEdit* TAcount::AmountBox(uint8_t side, int row) {
  return side == kDebit ? DebitAmountText(row) : CreditAmountText(row);
}

QLineEdit* TAcount::FolioBox(uint8_t side, int row) {
  return side == kDebit ? DebitFolio(row) : CreditFolio(row);
}

void TAcount::WireEntryFields() {
  connect(AccNote, &QLineEdit::textEdited, this,
          [this](const QString& text) { fields_.StoreNotes(text.toStdString()); });
  connect(Datetext, &CalanderForm::Click, this, &TAcount::DateText_Click);
  connect(Datetext, &CalanderForm::KeyDown, this, &TAcount::DateText_KeyDown, Qt::DirectConnection);
  connect(Datetext, &CalanderForm::KeyPress, this, &TAcount::DateText_KeyPress,
          Qt::DirectConnection);
  connect(Datetext, &CalanderForm::LostFocus, this, &TAcount::DateText_LostFocus);
  StoresWhenLeft(Datetext, [this] { StoreTypedDate(); });
}

void TAcount::WireEntryRow(uint8_t side, int row) {
  EntryRowWidgets& w = RowWidgets(side, row);
  rowOf_[w.Folio] = RowRef{side, row, RowField::Folio};
  rowOf_[w.AccName] = RowRef{side, row, RowField::Name};
  rowOf_[w.AmountText] = RowRef{side, row, RowField::Amount};
  // The type-ahead is the window's own (AccNameKeyPress, before the list's own handling).
  w.AccName->installEventFilter(this);
  MakeAccountCombo(w.AccName);
  connect(w.AmountText, &QLineEdit::textEdited, this,
          [this, side, row](const QString& text) { AmountEdited(side, row, text); });
  connect(w.Folio, &QLineEdit::textEdited, this,
          [this, side, row](const QString& text) { FolioEdited(side, row, text); });
  connect(w.AccName, &QComboBox::activated, this,
          [this, side, row](int) { AccNameClick(side, row); });
  StoresWhenLeft(w.AccName, [this, side, row] { AccNameLostFocus(side, row); });
  StoresWhenLeft(w.Folio, [this, side, row] { FolioLostFocus(side, row); });
  StoresWhenLeft(w.AmountText, [this, side, row] { AmountLostFocus(side, row); });
}

bool TAcount::EntryFieldEvent(QObject* watched, QEvent* event) {
  if (const auto it = rowOf_.find(watched); it != rowOf_.end())
    return RowFieldEvent(it->second, event);
  if (watched == AccNote) {
    if (event->type() == QEvent::FocusIn && MovedInsideWindow(event))
      ShowHelpCard(EntryHelpTopic::Notes);
    else if (event->type() == QEvent::MouseButtonDblClick)
      AccNote_DblClick();
  }
  return false;
}

bool TAcount::RowFieldEvent(const RowRef& ref, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress: {
      const auto* key = static_cast<const QKeyEvent*>(event);
      if (ref.Field == RowField::Name) {
        if (!AccountNameKeyDownPasses(VirtualKeyOf(*key))) return true;
        const std::string typed = TypedTextOf(*key);
        return !typed.empty() && AccNameKeyPress(ref.Side, ref.Row, typed);
      }
      const std::string typed = TypedTextOf(*key);
      if (typed.empty()) return false;
      const LocaleInfo& locale = app_.Locale();
      return ref.Field == RowField::Amount ? !AmountKeyPasses(typed, locale)
                                           : !FolioKeyPasses(typed, locale);
    }
    case QEvent::KeyRelease:
      if (ref.Field == RowField::Name && !static_cast<const QKeyEvent*>(event)->isAutoRepeat())
        AccNameKeyUp(ref.Side);
      return false;
    case QEvent::FocusIn:
      if (!MovedInsideWindow(event)) return false;
      // The help of the debit account lists and of the credit amounts (as the design has
      // it: the other boxes show theirs on a click, or none).
      if (ref.Field == RowField::Name && ref.Side == kDebit)
        ShowHelpCard(EntryHelpTopic::AccountName);
      else if (ref.Field == RowField::Amount && ref.Side == kCredit)
        ShowHelpCard(EntryHelpTopic::Amount);
      return false;
    case QEvent::FocusOut:
      if (!LeftWithinWindow(this, *static_cast<const QFocusEvent*>(event))) return false;
      if (ref.Field == RowField::Name)
        AccNameLostFocus(ref.Side, ref.Row);
      else if (ref.Field == RowField::Folio)
        FolioLostFocus(ref.Side, ref.Row);
      else
        AmountLostFocus(ref.Side, ref.Row);
      return false;
    case QEvent::MouseButtonPress:
      if (ref.Field == RowField::Folio) ShowHelpCard(EntryHelpTopic::Folio);
      return false;
    default: return false;
  }
}

// ---- Amount boxes.

void TAcount::AmountEdited(uint8_t side, int row, const QString& text) {
  ApplyEntryStatus(fields_.StoreAmount(side, row, text.toStdString()).Status);
}

void TAcount::AmountLostFocus(uint8_t side, int row) {
  // A text that was not stored (unreadable, or too large) does not stay shown.
  QLineEdit* box = AmountBox(side, row);
  const QString stored = QString::fromStdString(fields_.ShownAmountText(side, row));
  if (box->text() != stored) box->setText(stored);
}

// ---- Folio boxes.

void TAcount::FolioEdited(uint8_t side, int row, const QString& text) {
  const std::optional<std::string> name = fields_.StoreFolio(side, row, text.toStdString());
  if (!name) return;
  ShowComboName(RowWidgets(side, row).AccName, QString::fromStdString(*name));
  if (!fields_.FolioLeftMessage(text.toStdString())) ClearFolioMessage(side, row);
}

void TAcount::FolioLostFocus(uint8_t side, int row) {
  const std::optional<std::string> message =
      fields_.FolioLeftMessage(RowWidgets(side, row).Folio->text().toStdString());
  if (!message) return;
  unknownFolioRow_ = RowRef{side, row, RowField::Folio};
  unknownFolioText_ = QString::fromStdString(*message);
  SetStatus(unknownFolioText_, statusColor_);
}

bool TAcount::FolioMessageStands() const {
  return !unknownFolioText_.isEmpty() && GL(7)->text() == unknownFolioText_;
}

void TAcount::ClearFolioMessage(uint8_t side, int row) {
  if (!FolioMessageStands() || !unknownFolioRow_ || unknownFolioRow_->Side != side ||
      unknownFolioRow_->Row != row)
    return;
  unknownFolioText_.clear();
  SetStatus(QString(), kBlack);
}

// ---- Account lists.

bool TAcount::AccNameKeyPress(uint8_t side, int row, const std::string& typed) {
  // The account found is taken at once, while the list stays open under the box.
  const TypeAheadOutcome outcome = AccountComboTypeAhead(RowWidgets(side, row).AccName,
                                                         AccountListNames(app_.TheBooks()), typed);
  if (outcome == TypeAheadOutcome::Passes) return false;
  if (outcome == TypeAheadOutcome::Shown) CommitAccountName(side, row);
  return true;
}

void TAcount::CommitAccountName(uint8_t side, int row) {
  EntryRowWidgets& w = RowWidgets(side, row);
  w.AmountText->setCursorPosition(0);
  const std::optional<std::string> folio =
      fields_.CommitAccountName(side, row, w.AccName->currentText().toStdString());
  if (!folio) return;
  w.Folio->setText(QString::fromStdString(*folio));
  ClearFolioMessage(side, row);
}

void TAcount::AccNameClick(uint8_t side, int row) {
  CommitAccountName(side, row);
  ApplyStatusChange(EntryFields::AccountChosenStatus(
      side, RowWidgets(side, row).AccName->currentText().toStdString()));
}

void TAcount::AccNameLostFocus(uint8_t side, int row) { CommitAccountName(side, row); }

void TAcount::AccNameKeyUp(uint8_t side) {
  ApplyStatusChange(EntryFields::AccountKeyUpStatus(side));
}

void TAcount::ApplyStatusChange(const StatusChange& change) {
  if (FolioMessageStands()) return;
  const QString text = change.Text ? QString::fromStdString(*change.Text) : GL(7)->text();
  SetStatus(text, change.Color.value_or(statusColor_));
}

// ---- The notes box.

void TAcount::AccNote_DblClick() {
  app_.TheSession().SearchMode = kSearchNotes;
  if (app_.Windows().ShowFindEntry) app_.Windows().ShowFindEntry();
}

// ---- The date box.

void TAcount::DateText_Click() {
  ShowHelpCard(EntryHelpTopic::Date);
  app_.TheSession().DatePicked = 0;
}

void TAcount::DateText_KeyPress(int16_t& keyAscii) {
  if (keyAscii == 9) return;
  if (!DateKeyPasses(TextOfCode(keyAscii))) keyAscii = 0;
}

void TAcount::DateText_KeyDown(int16_t& keyCode, int16_t&) {
  const EntryFields::DateKey key = fields_.DateKeyDown(keyCode, Datetext->Text().toStdString());
  if (!key.Handled) return;
  ShowDateCommit(key.Commit, false);
  ScrollAcc->SetValue(ScrollValueOf(key.ScrollValue));
  keyCode = 0;
}

void TAcount::DateText_LostFocus() {
  ShowDateCommit(fields_.CommitDate(Datetext->Text().toStdString()), true);
}

void TAcount::StoreTypedDate() {
  const std::string typed = Datetext->Text().toStdString();
  const EntryFields::DateCommit commit = fields_.CommitDate(typed);
  if (commit.Changed || commit.InvalidDate || commit.Text != typed) ShowDateCommit(commit, false);
}

void TAcount::ShowDateCommit(const EntryFields::DateCommit& commit, bool postMessage) {
  if (commit.InvalidDate) {
    // A message box opened while the focus is moving would take part in the move: it
    // waits until the move is done.
    if (postMessage)
      QTimer::singleShot(0, this, [] { ShowMessage(kInvalidDateText); });
    else
      ShowMessage(kInvalidDateText);
  }
  Datetext->SetText(QString::fromStdString(commit.Text));
  if (commit.Changed) ShowEntryDateInPicker();
  Datetext->WLoss();
}

}  // namespace qv
