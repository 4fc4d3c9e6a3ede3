#include "accounts/move_accounts_dialog.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "accounts/account_combo_qt.h"
#include "platform/placement_qt.h"
#include "platform/prompts.h"
#include "platform/string_table.h"

namespace qv {
namespace {

constexpr const char* kMoveTitle = "Accounts";

}  // namespace

MoveAccounts::MoveAccounts(Books& books, const LocaleInfo& locale, std::function<void()> moved,
                           QWidget* parent)
    : QDialog(parent), books_(books), locale_(locale), moved_(std::move(moved)) {
  setObjectName("MoveAccounts");
  setWindowTitle(QString::fromStdString(Str(186)));
  setFixedSize(TwipsRect(0, 0, 6600, 1700).size());
  QFont bookFont = font();
  bookFont.setFamily(QString::fromStdString(books.FontName));

  // Every slot of the chart, free ones as blank items.
  QStringList items;
  names_.reserve(books.AccountNames.size());
  for (const std::string& name : books.AccountNames) {
    names_.push_back(name);
    items.push_back(QString::fromStdString(name));
  }
  for (int k = 0; k < 2; ++k) {
    auto* label = new QLabel(QString::fromStdString(Str(187 + k)), this);
    label->setObjectName(QString("Label1(%1)").arg(k));
    label->setFont(bookFont);
    PlaceTwips(label, 120, 150 + k * 500, 1700, 300);
    Label1[static_cast<std::size_t>(k)] = label;
    auto* combo = new QComboBox(this);
    combo->setObjectName(k == 0 ? "A1" : "A2");
    combo->setFont(bookFont);
    MakeAccountCombo(combo);
    combo->addItems(items);
    ShowComboName(combo, {});
    PlaceTwips(combo, 1900, 120 + k * 500, 4560, 330);
    combo->installEventFilter(this);
    (k == 0 ? A1 : A2) = combo;
  }
  Command1 = new QPushButton(QString::fromStdString(Str(189)), this);
  Command1->setObjectName("Command1");
  Command1->setFont(bookFont);
  Command1->setAutoDefault(false);
  PlaceTwips(Command1, 5160, 1140, 1300, 400);
  connect(Command1, &QPushButton::clicked, this, &MoveAccounts::Command1_Click);
  A1->setFocus();
}

bool MoveAccounts::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && (watched == A1 || watched == A2))
    return AccountComboKeyPress(static_cast<QComboBox*>(watched), names_,
                                *static_cast<QKeyEvent*>(event));
  return QDialog::eventFilter(watched, event);
}

void MoveAccounts::Command1_Click() {
  const std::optional<MoveRequest> request =
      MoveRequestOf(books_, A1->currentText().toStdString(), A2->currentText().toStdString());
  if (!request) return;
  const PromptAnswer answer = AskQuestion(MoveQuestionText(*request, locale_.DecimalSymbol),
                                          PromptButtons::YesNo, PromptIcon::Question, kMoveTitle);
  if (answer == PromptAnswer::Yes) {
    const int64_t moved = MovePostings(books_, *request);
    if (moved_) moved_();
    ShowMessage(MovedPostingsText(moved, *request, locale_.DecimalSymbol), PromptIcon::Information,
                kMoveTitle);
  }
  accept();
}

}  // namespace qv
