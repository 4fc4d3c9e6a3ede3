// The main window's entry commands: New Entry, adding a debit or credit line, the sum
// image, deleting the shown entry, the Reconcile box, and copying and pasting an entry
// through the clipboard, and Edit > Balance Point. The journal work is the entry commands'
// (books/entry_commands.h) and the entry clipboard's (books/entry_clipboard.h); these handlers run
// the help test and the admin gate, call them, and show the result: the entry, the status line, the
// buttons and the focus.

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <algorithm>
#include <functional>
#include <limits>

#include "app/application_window.h"
#include "app/main_window.h"
#include "books/balance_point.h"
#include "books/entry_clipboard_qt.h"
#include "controls/date_picker_control.h"
#include "controls/help_window.h"
#include "controls/vertical_scroll_control.h"
#include "platform/prompts.h"
#include "platform/screen_pointer.h"
#include "platform/string_table.h"
#include "platform/units.h"

namespace qv {
namespace {

// Lets an action's keyboard shortcut act only when `confirm` says so; choosing the item in
// its menu is not asked.
class ShortcutConfirmation final : public QObject {
 public:
  ShortcutConfirmation(QAction* action, std::function<bool()> confirm)
      : QObject(action), confirm_(std::move(confirm)) {
    action->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    return event->type() == QEvent::Shortcut && !confirm_();
  }

 private:
  std::function<bool()> confirm_;
};

}  // namespace

int TAcount::ScrollValueOf(int64_t value) {
  return static_cast<int>(
      std::clamp<int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

void TAcount::ConnectEntryCommands() {
  connect(Command1, &QPushButton::clicked, this, &TAcount::Command1_Click);
  connect(MenuItem("NewEntryMenu"), &QAction::triggered, this, &TAcount::Command1_Click);
  for (int index : {1, 2}) {
    CompoundEntry[static_cast<std::size_t>(index)]->SetKeyboardReachable();
    connect(CompoundEntry[static_cast<std::size_t>(index)], &PictureImage::Click, this,
            [this, index] { CompoundEntry_Click(index); });
  }
  CalcCompound->SetKeyboardReachable();
  connect(CalcCompound, &PictureImage::Click, this, &TAcount::CalcCompound_Click);
  connect(MenuItem("ArUshore"), &QAction::triggered, this, &TAcount::ArUshore_Click);
  // The menu reaches the deletion through its "Are you sure ?" submenu, which is the
  // confirmation; Ctrl+D skips the submenu, so the key asks the same in a question box, No
  // the default (in help mode the item shows its card and deletes nothing).
  new ShortcutConfirmation(MenuItem("ArUshore"), [] {
    return TheHelpDesk().IsOn() ||
           AskYesNoDefaultNo(Str(122), PromptIcon::Question) == PromptAnswer::Yes;
  });
  connect(Rr, &QCheckBox::clicked, this, &TAcount::Rr_Click);
  connect(MenuItem("CopyTheEntry"), &QAction::triggered, this, &TAcount::CopyTheEntry_Click);
  connect(MenuItem("PageTheEntry"), &QAction::triggered, this, &TAcount::PageTheEntry_Click);
  connect(MenuItem("SearchMenu(3)"), &QAction::triggered, this, &TAcount::BalancePoint_Click);
}

void TAcount::BalancePoint_Click() {
  if (ShowHelpCard(MenuCommandHelp(MenuCommand::BalancePoint))) return;
  // The window's own pointer shows the wait; the screen's pointer, which is help mode, is
  // left alone.
  setCursor(Qt::WaitCursor);
  QCoreApplication::processEvents();
  const int32_t point = BalancePoint(app_.TheBooks().PostingLines);
  ScrollAcc->SetValueMax(app_.TheBooks().LastLineIndex());
  ScrollAcc->SetValue(point);
  unsetCursor();
}

void TAcount::Command1_Click() {
  CalcCompound->hide();
  if (ShowHelpCard(EntryHelpTopic::NewEntry)) return;
  const EntryCommands::NewEntryResult result = commands_.NewEntry(Datetext->Text().toStdString());
  ScrollAcc->SetValueMax(result.ScrollMax);
  ScrollAcc->SetValue(ScrollValueOf(result.ScrollValue));
  if (result.InvalidDate) ShowMessage(kInvalidDateText);
  Datetext->SetText(QString::fromStdString(result.DateText));
  JournalID->setText(QString::fromStdString(result.EntryNumberText));
  JournalID->setFocus(Qt::OtherFocusReason);
  JournalID->selectAll();
  CompoundEntry[1]->show();
  CompoundEntry[2]->show();
  ApplyEntryStatus(result.Status);
}

void TAcount::CompoundEntry_Click(int index) {
  if (index != 1 && index != 2) return;
  CalcCompound->hide();
  if (ShowHelpCard(EntryHelpTopic::CompoundEntries)) return;
  const uint8_t side = index == 1 ? kDebit : kCredit;
  const EntryCommands::AddLineResult result = commands_.AddLine(side, Tw(eBox->height()));
  if (result.HideButton) CompoundEntry[static_cast<std::size_t>(index)]->hide();
  if (!result.Added) return;
  ShowLayout(screen_.Layout());
  ApplyRowScroll(result.RowScroll);
  if (QLineEdit* folio = FolioBox(side, result.FocusRow)) folio->setFocus(Qt::OtherFocusReason);
}

void TAcount::CalcCompound_Click() {
  const EntryCommands::CalcCompoundResult result = commands_.CalcCompound(
      DebitAmountText(0)->text().toStdString(), CreditAmountText(0)->text().toStdString());
  if (!result.Acted) return;
  QLineEdit* box = AmountBox(result.Side, 0);
  box->setText(QString::fromStdString(result.Text));
  ApplyEntryStatus(result.Status);
  // The sum re-counts the totals: a folio message standing on the status line keeps its
  // text and takes their colour, which it keeps when it shows again as the focus moves.
  if (FolioMessageStands()) SetStatus(GL(7)->text(), result.Status.Color);
  box->setFocus(Qt::OtherFocusReason);
}

void TAcount::ArUshore_Click() {
  if (ShowHelpCard(EntryHelpTopic::DeleteEntry)) return;
  if (!PassAdminGate()) return;
  EntryCommands::DeleteResult result;
  {
    // The busy pointer shows while the lines move; no other event runs in between, so
    // nothing can change the journal under the deletion.
    BusyPointer busy;
    result = commands_.DeleteShownEntry(true);
  }
  if (!result.Deleted) return;
  ScrollAcc->SetValueMax(result.ScrollMax);
  ScrollAcc->SetValue(ScrollValueOf(result.ScrollValue));
}

void TAcount::Rr_Click() {
  // In help mode, and when the shown entry cannot take the mark, the box shows the mark the
  // books hold.
  if (ShowHelpCard(EntryHelpTopic::Reconcile) || !commands_.SetReconciled(Rr->isChecked())) {
    const QSignalBlocker block(Rr);
    Rr->setChecked(screen_.Reconciled());
  }
}

void TAcount::CopyTheEntry_Click() {
  CopyEntryToClipboard(app_.TheBooks(),
                       EntryRange{screen_.EntryFirstLine(), screen_.EntryLastLine()});
}

void TAcount::PageTheEntry_Click() {
  Books& books = app_.TheBooks();
  const std::optional<PastedEntry> pasted =
      PasteEntryFromClipboard(books, app_.Locale(), app_.TheClock().Today());
  if (!pasted) return;
  ScrollAcc->SetValueMax(books.LastLineIndex());
  ScrollAcc->SetValue(pasted->FirstLine);
}

}  // namespace qv
