#include "statements/income_statement_window.h"

#include <QMenuBar>

#include "controls/date_picker_control.h"
#include "controls/vertical_scroll_control.h"
#include "platform/string_table.h"
#include "platform/units.h"
#include "statements/account_sums.h"
#include "statements/income_statement_layout.h"
#include "statements/statement_frame.h"
#include "statements/statement_texts.h"

namespace qv {

namespace {
constexpr int kCaptionIncomeStatement = 134;
constexpr int kCaptionRefresh = 161;
constexpr double kFromLeft = 1440, kGap = 100;
// Up and Down move the statement by 16 pixels (240 twips); Page Up and Page Down by the view's
// height, which the frame sets.
constexpr ScrollBarSettings kVScroll1Settings{.ValueMax = 0, .ValueSmallChange = 240};
}  // namespace

IncomeStatementWindow::IncomeStatementWindow(const StatementContext& context, QWidget* parent)
    : StatementWindow(context, parent) {
  setObjectName("Income_Statement");
  setWindowTitle(QString::fromStdString(Str(kCaptionIncomeStatement)));
  VScroll1 = new PelVerticalScroll(kVScroll1Settings);
  VScroll1->setObjectName("VScroll1");
  BuildFrame(VScroll1);
  for (int i = 0; i < 2; ++i) {
    ratio_[i] = menuBar()->addAction(QString());
    ratio_[i]->setObjectName(QString("Ratio(%1)").arg(i));
    ratio_[i]->setVisible(false);
  }
  DateSearch[0] = AddDateBox(kFromLeft);
  DateSearch[0]->setObjectName("DateSearch(0)");
  ToLable = new QLabel("to");
  ToLable->setObjectName("ToLable");
  ToLable->setAlignment(Qt::AlignCenter);
  PlaceInBand(ToLable, RightOf(DateSearch[0]), 300);
  DateSearch[1] = AddDateBox(RightOf(ToLable));
  DateSearch[1]->setObjectName("DateSearch(1)");
  Command1 = new QPushButton(QString::fromStdString(Str(kCaptionRefresh)));
  Command1->setObjectName("Command1");
  PlaceInBand(Command1, RightOf(DateSearch[1]) + kGap, 1000);
  connect(Command1, &QPushButton::clicked, this, &IncomeStatementWindow::Command1_Click);
  PlaceInBand(P, RightOf(Command1) + kGap, 4000);
  SetDefaultDates();
  resize(Px(12000), Px(7000));
}

void IncomeStatementWindow::Command1_Click() {
  Command1->setEnabled(false);
  Recompute(true);
  Command1->setEnabled(true);
}

bool IncomeStatementWindow::ReadDates(std::string& problem) {
  const bool from = ReadDateBox(DateSearch[0], from_, problem);
  const bool to = ReadDateBox(DateSearch[1], to_, problem);
  return from && to;
}

bool IncomeStatementWindow::Compute() {
  statement_ = ComputeIncomeStatement(
      TheBooks(), {IncomePeriod::Between(from_, to_), SubAccountsItem()->isChecked()});
  TheSession().NetProfit = statement_.NetProfit;
  return !statement_.Failed();
}

StatementDrawing IncomeStatementWindow::Draw(DrawingSurface& surface) const {
  return DrawIncomeStatement(surface, statement_, LookFor(TheBooks().IncomeDecimals));
}

StatementOutput IncomeStatementWindow::Output() const {
  return StatementOutput(statement_, LookFor(TheBooks().IncomeDecimals));
}

void IncomeStatementWindow::SetDefaultDates() {
  const PostingDates dates = PostingDateRange(TheBooks());
  from_ = dates.Earliest;
  to_ = dates.Latest;
  DateSearch[0]->SetText(QString::fromStdString(DateText(from_)));
  DateSearch[1]->SetText(QString::fromStdString(DateText(to_)));
}

std::string IncomeStatementWindow::LedgerEndDate() const {
  return DateSearch[1]->Text().toStdString();
}

std::string IncomeStatementWindow::EmailSubject() const {
  return IncomeStatementSubject(TheBooks().BusinessName, statement_.Period.IncomeFromDate,
                                statement_.Period.IncomeToDate, Locale());
}

void IncomeStatementWindow::ShowRatios() {
  const std::optional<StatementRatio>* ratios[2] = {&statement_.GrossRatio, &statement_.NetRatio};
  for (int i = 0; i < 2; ++i) {
    const auto& ratio = *ratios[i];
    ratio_[i]->setVisible(ratio.has_value());
    ratio_[i]->setText(ratio ? QString::fromStdString(RatioCaption(*ratio, Locale())) : QString());
  }
}

}  // namespace qv
