#include "ledgers/find_entry_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/string_table.h"

namespace qv {
namespace {

constexpr int kSearchNumbersId = 123;
constexpr int kSearchNotesId = 124;
constexpr int kCancelId = 194;

}  // namespace

Find_Entry::Find_Entry(Session& session, std::function<void()> showResults, QWidget* owner)
    : QDialog(owner), session_(session), showResults_(std::move(showResults)) {
  setObjectName("Find_Entry");
  setModal(false);
  auto* layout = new QVBoxLayout(this);
  prompt_ = new QLabel(this);
  layout->addWidget(prompt_);
  SearchBox = new QLineEdit(this);
  SearchBox->setObjectName("SearchBox");
  SearchBox->setMinimumWidth(280);
  layout->addWidget(SearchBox);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  FindButton = new QPushButton("Find", this);
  FindButton->setObjectName("FindButton");
  FindButton->setDefault(true);
  buttons->addWidget(FindButton);
  auto* cancel = new QPushButton(QString::fromStdString(Str(kCancelId)), this);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
  connect(FindButton, &QPushButton::clicked, this, &Find_Entry::Find_Click);
  connect(cancel, &QPushButton::clicked, this, &QDialog::hide);
}

void Find_Entry::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  const bool numbers = session_.SearchMode == kSearchEntryNumber;
  setWindowTitle(QString::fromStdString(Str(numbers ? kSearchNumbersId : kSearchNotesId)));
  prompt_->setText(numbers ? "Entry number:" : "Notes holding:");
  SearchBox->setFocus();
  SearchBox->selectAll();
}

void Find_Entry::Find_Click() {
  session_.SearchText = SearchBox->text().toStdString();
  session_.SearchPending = 1;
  if (showResults_) showResults_();
}

}  // namespace qv
