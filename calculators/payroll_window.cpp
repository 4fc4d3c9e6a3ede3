#include "calculators/payroll_window.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include "platform/key_codes_qt.h"
#include "platform/screen_fit_qt.h"

namespace qv {
namespace {

// The grid's columns: the percentage boxes, the captions, the seven shifts, the totals.
constexpr int kPercentColumn = 0;
constexpr int kCaptionColumn = 1;
constexpr int kFirstShiftColumn = 2;
constexpr int kTotalsColumn = kFirstShiftColumn + kShiftCount;
// The grid's rows.
enum GridRow {
  kTitles,
  kStart,
  kEnd,
  kBreak,
  kHours,
  kRate,
  kGross,
  kDeductionsHeading,
  kFirstDeduction,
  kNet = kFirstDeduction + kDeductionCount,
};
// The caption (PayTitle index) of each deduction row.
constexpr int kDeductionTitles[kDeductionCount] = {7, 8, 9, 10, 11, 14};

// The font every box and caption is designed in.
QFont DesignFont(const std::string& family = "Arial", bool bold = false) {
  QFont font(QString::fromStdString(family), 9);
  font.setBold(bold);
  return font;
}

}  // namespace

PayRoll::PayRoll(const LocaleInfo& locale, const std::string& currencyCaption,
                 const std::string& fontName, QWidget* parent)
    : QWidget(parent), sheet_(locale), locale_(locale) {
  setObjectName("PayRoll");
  const PayCaptions captions = PayrollCaptions(currencyCaption);
  setWindowTitle(QString::fromStdString(captions.Window));
  // The sheet keeps its design size; the window scrolls it where the screen is smaller.
  auto* sheet = new QWidget(this);
  sheet->setObjectName("PaySheet");
  auto* grid = new QGridLayout(sheet);
  grid->setHorizontalSpacing(4);
  grid->setVerticalSpacing(2);

  auto caption = [&](QLabel*& label, const std::string& text, const QString& name) {
    label = new QLabel(QString::fromStdString(text), this);
    label->setObjectName(name);
    label->setFont(DesignFont(fontName, true));
    return label;
  };
  for (int t = 0; t < 16; ++t)
    caption(PayTitle[static_cast<std::size_t>(t)], captions.PayTitle[static_cast<std::size_t>(t)],
            "PayTitle(" + QString::number(t) + ")");
  const int titleRows[16] = {kStart,
                             kEnd,
                             kBreak,
                             kTitles,
                             kHours,
                             kRate,
                             kGross,
                             kFirstDeduction,
                             kFirstDeduction + 1,
                             kFirstDeduction + 2,
                             kFirstDeduction + 3,
                             kFirstDeduction + 4,
                             kNet,
                             kDeductionsHeading,
                             kFirstDeduction + 5,
                             kBreak};
  for (int t = 0; t < 16; ++t) {
    QLabel* label = PayTitle[static_cast<std::size_t>(t)];
    if (t == 15) {
      grid->addWidget(label, kBreak, kTotalsColumn);  // heads the totals column
    } else if (t >= 7 && t <= 9) {
      grid->addWidget(label, titleRows[t], kCaptionColumn);
    } else {
      grid->addWidget(label, titleRows[t], kPercentColumn, 1, 2);
    }
  }

  for (int k = 0; k < kPercentCount; ++k) {
    QLineEdit* box = NewBox("PayP" + QString::number(k + 1),
                            &sheet_.PayP[static_cast<std::size_t>(k)], {Field::Percent, k, 0});
    box->setMaxLength(5);
    box->setAlignment(Qt::AlignCenter);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance("00000") + 14);
    grid->addWidget(box, kFirstDeduction + k, kPercentColumn);
    PayP[static_cast<std::size_t>(k)] = box;
  }

  for (int i = 0; i < kShiftCount; ++i) {
    const auto c = static_cast<std::size_t>(i);
    const int col = kFirstShiftColumn + i;
    const QString n = "(" + QString::number(i) + ")";
    grid->addWidget(caption(ShiftT[c], captions.ShiftT[c], "ShiftT" + n), kTitles, col,
                    Qt::AlignCenter);
    PayColumn& texts = sheet_.Columns[c];
    ColumnBoxes& boxes = Columns[c];
    boxes.PaySt = NewBox("PaySt" + n, &texts.PaySt, {Field::Start, i, 0});
    boxes.PayEnd = NewBox("PayEnd" + n, &texts.PayEnd, {Field::End, i, 0});
    boxes.PayBreak = NewBox("PayBreak" + n, &texts.PayBreak, {Field::Break, i, 0});
    boxes.PayTotal = NewBox("PayTotal" + n, &texts.PayTotal, {});
    boxes.PayTotal->setFont(DesignFont(fontName));
    boxes.PayRate = NewBox("PayRate" + n, &texts.PayRate, {Field::Rate, i, 0});
    boxes.PayRate->setMaxLength(9);
    boxes.PayGross = NewBox("PayGross" + n, &texts.PayGross, {});
    for (int k = 0; k < kDeductionCount; ++k)
      boxes.PayDe[static_cast<std::size_t>(k)] =
          NewBox("PayDe" + QString::number(k + 1) + n, &texts.PayDe[static_cast<std::size_t>(k)],
                 {Field::Deduction, i, k});
    boxes.PayNet = NewBox("PayNet" + n, &texts.PayNet, {});
    for (QLineEdit* shown : {boxes.PayTotal, boxes.PayGross, boxes.PayNet})
      shown->setReadOnly(true);
    const std::pair<QLineEdit*, int> places[] = {{boxes.PaySt, kStart},    {boxes.PayEnd, kEnd},
                                                 {boxes.PayBreak, kBreak}, {boxes.PayTotal, kHours},
                                                 {boxes.PayRate, kRate},   {boxes.PayGross, kGross},
                                                 {boxes.PayNet, kNet}};
    for (const auto& [box, row] : places) grid->addWidget(box, row, col);
    for (int k = 0; k < kDeductionCount; ++k)
      grid->addWidget(boxes.PayDe[static_cast<std::size_t>(k)], kFirstDeduction + k, col);
  }

  PayTotalT = NewBox("PayTotalT", &sheet_.PayTotalT, {});
  PayGrossT = NewBox("PayGrossT", &sheet_.PayGrossT, {});
  PayNetT = NewBox("PayNetT", &sheet_.PayNetT, {});
  for (QLineEdit* shown : {PayTotalT, PayGrossT, PayNetT}) shown->setReadOnly(true);
  grid->addWidget(PayTotalT, kHours, kTotalsColumn);
  grid->addWidget(PayGrossT, kGross, kTotalsColumn);
  grid->addWidget(PayNetT, kNet, kTotalsColumn);
  for (int k = 0; k < kDeductionCount; ++k) {
    // Typing here is allowed; the next recomputation writes over it.
    PayDT[static_cast<std::size_t>(k)] = NewBox("PayDT(" + QString::number(k + 1) + ")",
                                                &sheet_.PayDT[static_cast<std::size_t>(k)], {});
    grid->addWidget(PayDT[static_cast<std::size_t>(k)], kFirstDeduction + k, kTotalsColumn);
  }
  grid->setSizeConstraint(QLayout::SetFixedSize);
  HoldFixedContents(this, sheet);

  // Tab goes through the percentages, then down each shift's boxes.
  QWidget* previous = PayP[2];
  setTabOrder(PayP[0], PayP[1]);
  setTabOrder(PayP[1], PayP[2]);
  for (const ColumnBoxes& boxes : Columns) {
    for (QWidget* next :
         {boxes.PaySt, boxes.PayEnd, boxes.PayBreak, boxes.PayRate, boxes.PayDe[0], boxes.PayDe[1],
          boxes.PayDe[2], boxes.PayDe[3], boxes.PayDe[4], boxes.PayDe[5]}) {
      setTabOrder(previous, next);
      previous = next;
    }
  }
  ShowSheet();
}

PayRoll::~PayRoll() = default;

QLineEdit* PayRoll::NewBox(const QString& name, std::string* text, BoxRole role) {
  auto* box = new QLineEdit(this);
  box->setObjectName(name);
  box->setFont(DesignFont());
  box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  // Wide enough for the widest figure a column shows in practice.
  box->setMinimumWidth(box->fontMetrics().horizontalAdvance("(99,999.99)") + 14);
  box->installEventFilter(this);
  connect(box, &QLineEdit::textEdited, this, [this, box] { Edited(box); });
  roles_[box] = role;
  texts_.emplace_back(box, text);
  return box;
}

void PayRoll::ShowSheet() {
  for (const auto& [box, text] : texts_) {
    const QString shown = QString::fromStdString(*text);
    if (box->text() != shown) box->setText(shown);
  }
}

void PayRoll::PayP1_Change() {
  sheet_.PayP1_Change();
  ShowSheet();
}

void PayRoll::Edited(QLineEdit* box) {
  const BoxRole& role = roles_.at(box);
  for (const auto& [shown, text] : texts_) {
    if (shown != box) continue;
    // The totals of the deductions keep what was typed until the next recomputation.
    if (role.field == Field::Other) return;
    *text = box->text().toStdString();
  }
  switch (role.field) {
    case Field::Rate: sheet_.PayTime(role.column); break;
    case Field::Deduction:
      if (role.deduction < kPercentCount) sheet_.PayTime(role.column);
      break;
    case Field::Percent: sheet_.PayP1_Change(); break;
    default: return;
  }
  ShowSheet();
}

void PayRoll::Left(QLineEdit* box) {
  const BoxRole& role = roles_.at(box);
  switch (role.field) {
    case Field::Start: sheet_.LeaveTime(role.column, PayTimeBox::Start); break;
    case Field::End: sheet_.LeaveTime(role.column, PayTimeBox::End); break;
    case Field::Break: sheet_.LeaveTime(role.column, PayTimeBox::Break); break;
    case Field::Rate: sheet_.LeaveAmount(role.column, PayAmountBox::Rate); break;
    case Field::Deduction:
      if (role.deduction < kPercentCount) return;
      sheet_.LeaveAmount(role.column,
                         static_cast<PayAmountBox>(role.deduction - kPercentCount + 1));
      break;
    case Field::Percent: sheet_.LeavePercent(role.column); break;
    case Field::Other: return;
  }
  ShowSheet();
}

bool PayRoll::eventFilter(QObject* watched, QEvent* event) {
  auto* box = qobject_cast<QLineEdit*>(watched);
  const auto it = box ? roles_.find(box) : roles_.end();
  if (it == roles_.end()) return QWidget::eventFilter(watched, event);
  const BoxRole& role = it->second;
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    const bool filtered = role.field == Field::Rate || role.field == Field::Percent ||
                          (role.field == Field::Deduction && role.deduction >= kPercentCount);
    const int ascii = KeyAsciiOf(*key);
    const bool moves = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
    if (filtered && ascii != 0 && !moves && !PayAmountKeyPasses(ascii, locale_)) return true;
  } else if (event->type() == QEvent::FocusOut) {
    // Only a move inside the window counts as leaving the box.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) Left(box);
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace qv
