#include "calculators/depreciation_window.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "controls/vertical_scroll_control.h"
#include "platform/placement_qt.h"
#include "platform/prompts.h"
#include "platform/screen_fit_qt.h"
#include "platform/string_table.h"
#include "platform/units.h"

namespace qv {
namespace {

// Design measures in twips. The input boxes stand at the top, the schedule's frame below.
constexpr int kMargin = 120;
constexpr int kInputBoxLeft = 1680;
constexpr int kInputWidth = 1500;
constexpr int kBoxHeight = 315;
constexpr int kLabelHeight = 255;
constexpr int kFrameTop = 1620;
constexpr int kFrameHeight = 5200;
// The schedule's rows inside the frame: boxes 250 + 360 i down, captions 40 lower. The
// schedule's area runs from the first row's top to the scroll bar's foot, below the frame's
// caption and above its lower edge.
constexpr int kRowPitch = 360;
constexpr int kRowBoxTop = 250;
constexpr int kRowLabelTop = 290;
constexpr int kScheduleHeight = kFrameHeight - kRowBoxTop - 100;
constexpr int kYearWidth = 1100;
constexpr int kAmountWidth = 2000;
constexpr int kGap = 60;
constexpr int kRateMinWidth = 1200;
// An amount box's frame and margins beside its text.
constexpr int kAmountBoxRoom = 180;
constexpr int kScrollWidth = 255;
// More rows than this take the scroll bar.
constexpr int kRowsWithoutScroll = 13;

constexpr ScrollBarSettings kVScroll1Settings{
    .ValueMax = 0, .ValueLargeChange = 10 * kRowPitch, .ValueSmallChange = kRowPitch};

void UseFont(QWidget* w, const std::string& name) {
  QFont font = w->font();
  font.setFamily(QString::fromStdString(name));
  w->setFont(font);
}

}  // namespace

Depreciation::Depreciation(const Books& books, const LocaleInfo& locale, QWidget* parent)
    : QWidget(parent), books_(books), locale_(locale) {
  // Its size follows the schedule's columns, never the user: no maximise button.
  OfferNoMaximise(this);
  setObjectName("Depreciation");
  setWindowTitle(QString::fromStdString(Str(127)));
  const char* captions[] = {nullptr, "% Rate", nullptr, nullptr};
  const int captionIds[] = {214, 0, 215, 213};
  for (int i = 0; i < 4; ++i) {
    auto* label = new QLabel(this);
    label->setObjectName("Label1(" + QString::number(i) + ")");
    label->setText(QString::fromStdString(captionIds[i] ? Str(captionIds[i]) : captions[i]));
    UseFont(label, books.FontName);
    Label1.push_back(label);
  }
  auto box = [this](const char* name, const QString& tip) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(name);
    edit->setToolTip(tip);
    return edit;
  };
  Cost = box("Cost", QString::fromStdString(Str(214)));
  Percent = box("Percent", "% Rate of Depreciation..");
  TheYears = box("TheYears", QString::fromStdString(Str(215)));
  Command1 = new QPushButton(QString::fromStdString(Str(217)), this);
  Command1->setObjectName("Command1");
  UseFont(Command1, books.FontName);
  connect(Command1, &QPushButton::clicked, this, &Depreciation::Command1_Click);
  for (QLineEdit* edit : {Cost, Percent, TheYears})
    connect(edit, &QLineEdit::returnPressed, this, &Depreciation::Command1_Click);

  QLineEdit* inputs[] = {Cost, Percent, TheYears};
  const int inputLabels[] = {0, 1, 2};
  // Wide enough for a cost at the edge of the range typed with its four decimals.
  const int inputWidth = std::max(
      kInputWidth,
      Tw(QFontMetrics(Cost->font()).horizontalAdvance("-922337203685477.5808")) + kAmountBoxRoom);
  for (int i = 0; i < 3; ++i) {
    const int top = kMargin + i * kRowPitch;
    PlaceTwips(Label1[static_cast<std::size_t>(inputLabels[i])], kMargin, top + 40,
               kInputBoxLeft - kMargin - kGap, kLabelHeight);
    PlaceTwips(inputs[i], kInputBoxLeft, top, inputWidth, kBoxHeight);
  }
  PlaceTwips(Command1, kInputBoxLeft + inputWidth + 2 * kGap, kMargin + 2 * kRowPitch - 30,
             kInputWidth, kBoxHeight + 60);
  PlaceTwips(Label1[3], kMargin, kMargin + 3 * kRowPitch + 60, 3000, kLabelHeight);

  Frame1 = new QGroupBox(QString::fromStdString(Str(216)), this);
  Frame1->setObjectName("Frame1");
  UseFont(Frame1, books.FontName);
  VScroll1 = new PelVerticalScroll(kVScroll1Settings, Frame1);
  VScroll1->setObjectName("VScroll1");
  connect(VScroll1, &ScrollBarControl::Change, this, &Depreciation::VScroll1_Change);
  scheduleArea_ = new QWidget(Frame1);
  scheduleArea_->setObjectName("Schedule");
  // As many rows as the area can show with the first scrolled part out.
  const int shown = (kScheduleHeight - 1) / kRowPitch + 2;
  for (int k = 0; k < shown; ++k) {
    Row row;
    row.Year = new QLabel(scheduleArea_);
    row.BookValue = new QLineEdit(scheduleArea_);
    row.BookValue->setToolTip("Book Value...");
    row.Rate = new QLabel(scheduleArea_);
    row.YearDepreciation = new QLineEdit(scheduleArea_);
    row.YearDepreciation->setToolTip("Depreciation Year...");
    for (QLineEdit* edit : {row.BookValue, row.YearDepreciation}) {
      edit->setReadOnly(true);
      edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    rows_.push_back(row);
  }
  PlaceColumns(kAmountWidth, kRateMinWidth);
  Frame1->hide();
  VScroll1->hide();
}

Depreciation::~Depreciation() = default;

QLabel* Depreciation::L1(int k) const { return rows_.at(static_cast<std::size_t>(k)).Year; }
QLineEdit* Depreciation::Stage1(int k) const {
  return rows_.at(static_cast<std::size_t>(k)).BookValue;
}
QLabel* Depreciation::L2(int k) const { return rows_.at(static_cast<std::size_t>(k)).Rate; }
QLineEdit* Depreciation::Stage2(int k) const {
  return rows_.at(static_cast<std::size_t>(k)).YearDepreciation;
}

int Depreciation::RowShownAt(int k) const {
  const int row = VScroll1->Value() / kRowPitch + k;
  return row < static_cast<int>(schedule_.Rows.size()) ? row : -1;
}

void Depreciation::PlaceColumns(int amountWidth, int rateWidth) {
  amountWidth_ = amountWidth;
  rateWidth_ = rateWidth;
  const int rateLeft = kYearWidth + amountWidth + 2 * kGap;
  const int depreciationLeft = rateLeft + rateWidth + kGap;
  const int scrollLeft = kMargin + depreciationLeft + amountWidth + kGap;
  const int frameWidth = scrollLeft + kScrollWidth + kMargin;
  PlaceTwips(Frame1, kMargin, kFrameTop, frameWidth, kFrameHeight);
  PlaceTwips(scheduleArea_, kMargin, kRowBoxTop, scrollLeft - kMargin, kScheduleHeight);
  PlaceTwips(VScroll1, scrollLeft, kRowBoxTop, kScrollWidth, kScheduleHeight);
  VScroll1->Refresh();
  setFixedSize(Px(kMargin + frameWidth + kMargin), Px(kFrameTop + kFrameHeight + kMargin));
  VScroll1_Change();
}

void Depreciation::VScroll1_Change() {
  const int value = VScroll1->Value();
  const int first = value / kRowPitch;
  const int offset = value % kRowPitch;
  const int rateLeft = kYearWidth + amountWidth_ + 2 * kGap;
  const int decimals = books_.JournalDecimals;
  for (int k = 0; k < ShownRows(); ++k) {
    const Row& r = rows_[static_cast<std::size_t>(k)];
    const int i = first + k;
    const bool used = i < static_cast<int>(schedule_.Rows.size());
    // Every control keeps its own offset as it scrolls: captions 40 twips below the boxes.
    // A row scrolled partly out of the schedule's area is cut at its edge.
    const int boxTop = kRowPitch * k - offset;
    const int labelTop = kRowLabelTop - kRowBoxTop + kRowPitch * k - offset;
    PlaceTwips(r.Year, 0, labelTop, kYearWidth, kLabelHeight);
    PlaceTwips(r.BookValue, kYearWidth + kGap, boxTop, amountWidth_, kBoxHeight);
    PlaceTwips(r.Rate, rateLeft, labelTop, rateWidth_, kLabelHeight);
    PlaceTwips(r.YearDepreciation, rateLeft + rateWidth_ + kGap, boxTop, amountWidth_, kBoxHeight);
    if (used) {
      const DepreciationRow& row = schedule_.Rows[static_cast<std::size_t>(i)];
      r.Year->setText(QString::fromStdString(YearCaption(i)));
      r.BookValue->setText(
          QString::fromStdString(ScheduleAmountText(row.BookValue, decimals, locale_)));
      r.Rate->setText(QString::fromStdString(rateCaption_));
      r.YearDepreciation->setText(
          QString::fromStdString(ScheduleAmountText(row.YearDepreciation, decimals, locale_)));
    }
    for (QWidget* w : {static_cast<QWidget*>(r.Year), static_cast<QWidget*>(r.BookValue),
                       static_cast<QWidget*>(r.Rate), static_cast<QWidget*>(r.YearDepreciation)})
      w->setVisible(used);
    // Only a row wholly inside the area takes the focus, so Tab never stops on a box that
    // is cut or lies out of sight below the area. A box that scrolls out while it has the
    // focus hands it to the scroll bar.
    const bool whole = boxTop >= 0 && boxTop + kBoxHeight <= kScheduleHeight;
    for (QLineEdit* box : {r.BookValue, r.YearDepreciation}) {
      box->setFocusPolicy(whole ? Qt::StrongFocus : Qt::NoFocus);
      if (!whole && box->hasFocus()) VScroll1->setFocus(Qt::OtherFocusReason);
    }
  }
}

void Depreciation::Command1_Click() {
  const DepreciationSchedule schedule =
      ReducingBalanceSchedule(Cost->text().toStdString(), Percent->text().toStdString(),
                              TheYears->text().toStdString(), locale_);
  if (schedule.State == DepreciationSchedule::Status::Unchanged) return;
  if (schedule.State == DepreciationSchedule::Status::Refused) {
    ShowMessage(schedule.Message, PromptIcon::Exclamation);
    return;
  }
  schedule_ = schedule;
  rateCaption_ = RateCaption(Percent->text().toStdString());
  const int captionWidth =
      Tw(QFontMetrics(L2(0)->font()).horizontalAdvance(QString::fromStdString(rateCaption_)));
  // The amount boxes widen for the widest figure of the schedule, with room for the box's
  // frame and margins.
  const QFontMetrics figures(Stage1(0)->font());
  int figureWidth = 0;
  for (const DepreciationRow& row : schedule_.Rows)
    for (const Amount amount : {row.BookValue, row.YearDepreciation})
      figureWidth =
          std::max(figureWidth, figures.horizontalAdvance(QString::fromStdString(
                                    ScheduleAmountText(amount, books_.JournalDecimals, locale_))));
  Frame1->show();
  const auto n = static_cast<int>(schedule_.Rows.size()) - 1;
  VScroll1->setVisible(n + 1 > kRowsWithoutScroll);
  VScroll1->SetValueMax(std::max(0, kRowLabelTop + kRowPitch * n - (kFrameHeight - 500)));
  VScroll1->SetValue(0);
  PlaceColumns(std::max(kAmountWidth, Tw(figureWidth) + kAmountBoxRoom),
               std::max(kRateMinWidth, captionWidth + kGap));
}

}  // namespace qv
