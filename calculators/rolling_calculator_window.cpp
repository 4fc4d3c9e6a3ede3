#include "calculators/rolling_calculator_window.h"

#include <QAction>
#include <QActionGroup>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <algorithm>

#include "controls/vertical_scroll_control.h"
#include "platform/clipboard_qt.h"
#include "platform/key_codes_qt.h"
#include "platform/prompts.h"
#include "platform/units.h"

namespace qv {
namespace {

// The column, in pixels: the operator buttons on the left, the value boxes, the scroll bar
// on their right.
constexpr int kOpLeft = 4;
constexpr int kOpWidth = 26;
constexpr int kBoxLeft = 34;
constexpr int kBoxWidthLess = 60;  // the boxes are the inner width less this
constexpr int kScrollWidth = 17;
// The smallest window: 3720 x 4000 twips.
constexpr int kMinWidthTwips = 3720;
constexpr int kMinHeightTwips = 4000;

constexpr ScrollBarSettings kScrollNumSettings{.ValueMax = 0, .ValueLargeChange = 5};

// The Decimals menu: the item's index is the number of places.
constexpr std::pair<int, const char*> kDecimalItems[] = {
    {0, "None"}, {1, "1x"},   {2, "2x"},
    {3, "3x"},   {4, "4x"},   {5, "5x"},
    {6, "6x"},   {24, "24x"}, {kVariableDecimals, "Variable"},
};
constexpr const char* kModeItems[] = {"Calculator...", "Average Calculator...",
                                      "Mean Calculator...", "Mode Calculator..."};

}  // namespace

Rolling_Caculator::Rolling_Caculator(const LocaleInfo& locale, QWidget* parent)
    : QMainWindow(parent), tape_(locale) {
  setObjectName("Rolling_Caculator");
  setWindowTitle("Running Calculator");
  auto* client = new QWidget(this);
  setCentralWidget(client);
  TotalAmount = new QLineEdit(client);
  TotalAmount->setObjectName("TotalAmount");
  TotalAmount->setToolTip("Total...");
  TotalAmount->setReadOnly(true);
  Op11 = new QLabel("=", client);
  Op11->setObjectName("Op11");
  Op11->setAlignment(Qt::AlignCenter);
  ScrollNum = new PelVerticalScroll(kScrollNumSettings, client);
  ScrollNum->setObjectName("ScrollNum");
  connect(ScrollNum, &ScrollBarControl::Change, this, [this] {
    if (syncing_) return;
    tape_.SetScrollValue(ScrollNum->Value());
    ScrollNum_Change();
  });
  rowHeight_ = TotalAmount->sizeHint().height();
  BuildMenus();
  EnsureRows(1);
  setMinimumSize(Px(kMinWidthTwips), Px(kMinHeightTwips));
  resize(Px(4500), Px(6000));
  Form_Resize();
}

Rolling_Caculator::~Rolling_Caculator() = default;

void Rolling_Caculator::BuildMenus() {
  auto add = [this](QMenu* menu, const QString& name, const QString& caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    actions_[name] = action;
    return action;
  };
  QMenu* edit = menuBar()->addMenu("Edit");
  edit->setObjectName("E_m");
  connect(add(edit, "Clear_Total", "Clear"), &QAction::triggered, this,
          &Rolling_Caculator::Clear_Total_Click);
  connect(add(edit, "C_m", "Copy..."), &QAction::triggered, this, &Rolling_Caculator::C_m_Click);
  connect(add(edit, "P_m", "Paste..."), &QAction::triggered, this, &Rolling_Caculator::P_m_Click);
  connect(add(edit, "SortNm", "Sort..."), &QAction::triggered, this,
          &Rolling_Caculator::SortNm_Click);

  QMenu* decimals = menuBar()->addMenu("Decimals");
  decimals->setObjectName("dp");
  auto* decimalGroup = new QActionGroup(this);
  for (const auto& [index, caption] : kDecimalItems) {
    QAction* item = add(decimals, "dp1(" + QString::number(index) + ")", caption);
    item->setCheckable(true);
    item->setChecked(index == tape_.List().RollDecimals);
    decimalGroup->addAction(item);
    connect(item, &QAction::triggered, this, [this, i = index] { dp1_Click(i); });
  }
  QMenu* modes = menuBar()->addMenu("Settings");
  modes->setObjectName("OtherFeatures");
  auto* modeGroup = new QActionGroup(this);
  for (int index = 0; index < 4; ++index) {
    QAction* item = add(modes, "CalcFuntions(" + QString::number(index) + ")", kModeItems[index]);
    item->setCheckable(true);
    item->setChecked(index == tape_.List().RollMode);
    modeGroup->addAction(item);
    connect(item, &QAction::triggered, this, [this, index] { CalcFuntions_Click(index); });
  }
}

QAction* Rolling_Caculator::MenuItem(const QString& name) const {
  const auto it = actions_.find(name);
  return it == actions_.end() ? nullptr : it->second;
}

QLineEdit* Rolling_Caculator::CalAmount(int row) const {
  return row >= 0 && row < RowCount() ? rows_[static_cast<std::size_t>(row)].Amount : nullptr;
}

QPushButton* Rolling_Caculator::Op(int row) const {
  return row >= 0 && row < RowCount() ? rows_[static_cast<std::size_t>(row)].Op : nullptr;
}

void Rolling_Caculator::EnsureRows(int count) {
  QWidget* client = centralWidget();
  while (RowCount() < count) {
    const int row = RowCount();
    Row r;
    r.Amount = new QLineEdit(client);
    r.Amount->setObjectName("CalAmount(" + QString::number(row) + ")");
    r.Amount->setToolTip("Enter Value...");
    r.Amount->installEventFilter(this);
    connect(r.Amount, &QLineEdit::textEdited, this, [this, row](const QString& text) {
      tape_.StoreTyped(row, text.toStdString());
      Recolour(CalAmount(row));
      ShowResult();
    });
    r.Op = new QPushButton("+", client);
    r.Op->setObjectName("Op(" + QString::number(row) + ")");
    connect(r.Op, &QPushButton::clicked, this, [this, row] { Op_Click(row); });
    rows_.push_back(r);
  }
  // Tab goes down the boxes, each followed by the next row's button.
  for (int row = 1; row < RowCount(); ++row) setTabOrder(CalAmount(row - 1), CalAmount(row));
}

void Rolling_Caculator::Form_Resize() {
  if (isMinimized()) return;
  if (QLayout* frame = layout()) frame->activate();
  const QSize inner = centralWidget()->size();
  const int visible = RollRowsThatFit(inner.height(), rowHeight_);
  EnsureRows(visible + 1);
  const int boxWidth = std::max(kOpWidth, inner.width() - kBoxWidthLess);
  for (int row = 0; row < RowCount(); ++row) {
    const int top = kRollTopMargin + row * rowHeight_;
    const Row& r = rows_[static_cast<std::size_t>(row)];
    r.Op->setGeometry(kOpLeft, top, kOpWidth, rowHeight_);
    r.Amount->setGeometry(kBoxLeft, top, boxWidth, rowHeight_);
    r.Op->setVisible(row <= visible);
    r.Amount->setVisible(row <= visible);
  }
  const int resultTop = kRollTopMargin + (visible + 1) * rowHeight_ + 2;
  TotalAmount->setGeometry(kBoxLeft, resultTop, boxWidth + kScrollWidth, rowHeight_);
  Op11->setGeometry(kOpLeft, resultTop, kOpWidth, rowHeight_);
  ScrollNum->setGeometry(kBoxLeft + boxWidth, kRollTopMargin, kScrollWidth,
                         (visible + 1) * rowHeight_);
  ScrollNum->Refresh();
  tape_.SetVisibleRows(visible);
  ScrollNum_Change();
}

void Rolling_Caculator::ScrollNum_Change() {
  syncing_ = true;
  ScrollNum->SetValueMax(tape_.ScrollMax());
  ScrollNum->SetValue(tape_.ScrollValue());
  syncing_ = false;
  for (int row = 0; row <= tape_.VisibleRows(); ++row) ShowRow(row);
}

void Rolling_Caculator::ShowRow(int row) {
  const Row& r = rows_[static_cast<std::size_t>(row)];
  const QString text = QString::fromStdString(tape_.RowText(row));
  if (r.Amount->text() != text) r.Amount->setText(text);
  r.Op->setText(QString(QChar(tape_.RowOperator(row))));
  Recolour(r.Amount);
}

void Rolling_Caculator::ShowResult() {
  TotalAmount->setText(QString::fromStdString(tape_.Result()));
}

void Rolling_Caculator::Recolour(QLineEdit* box) {
  QPalette palette = box->palette();
  const bool red = RollingTape::IsRed(box->text().toStdString());
  palette.setColor(QPalette::Text, red ? QColor(255, 0, 0) : QColor(0, 0, 0));
  box->setPalette(palette);
}

int Rolling_Caculator::RowOf(QObject* watched) const {
  for (int row = 0; row < RowCount(); ++row)
    if (rows_[static_cast<std::size_t>(row)].Amount == watched) return row;
  return -1;
}

bool Rolling_Caculator::RowKey(int row, QKeyEvent* key) {
  const int32_t scrollValue = tape_.ScrollValue();
  const int32_t scrollMax = tape_.ScrollMax();
  int focus = -1;
  if (!tape_.KeyDown(row, VirtualKeyOf(*key), focus)) {
    const int ascii = KeyAsciiOf(*key);
    // Keys that type nothing (arrows, Delete) edit the box; Tab moves the focus.
    if (ascii == 0 || key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) return false;
    const RollKeyOutcome outcome = tape_.KeyPress(row, ascii);
    if (outcome.Pass) return false;
    focus = outcome.FocusRow;
    ShowResult();
  }
  if (tape_.ScrollValue() != scrollValue || tape_.ScrollMax() != scrollMax) {
    ScrollNum_Change();
  } else {
    for (int r = 0; r <= tape_.VisibleRows(); ++r)
      Op(r)->setText(QString(QChar(tape_.RowOperator(r))));
  }
  if (focus >= 0) CalAmount(focus)->setFocus(Qt::OtherFocusReason);
  return true;
}

bool Rolling_Caculator::eventFilter(QObject* watched, QEvent* event) {
  const int row = RowOf(watched);
  if (row >= 0 && event->type() == QEvent::KeyPress)
    return RowKey(row, static_cast<QKeyEvent*>(event));
  if (row >= 0 && event->type() == QEvent::FocusOut) {
    // Only a move inside the window counts as leaving the box.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
      QLineEdit* box = CalAmount(row);
      const std::string text = box->text().toStdString();
      if (!text.empty()) box->setText(QString::fromStdString(tape_.LeftText(row, text)));
      Recolour(box);
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void Rolling_Caculator::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  Form_Resize();
}

void Rolling_Caculator::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (activated_) return;
  activated_ = true;
  CalAmount(0)->setFocus(Qt::OtherFocusReason);
}

void Rolling_Caculator::Clear_Total_Click() {
  tape_.Clear();
  ScrollNum_Change();
  ShowResult();
}

void Rolling_Caculator::C_m_Click() { SetClipboardText(tape_.CopyText()); }

void Rolling_Caculator::P_m_Click() {
  const RollPasteOutcome outcome = tape_.Paste(ClipboardText());
  ScrollNum_Change();
  ShowResult();
  if (outcome.LinesLeftOut > 0) ShowMessage(PasteLimitText(outcome), PromptIcon::Exclamation);
}

void Rolling_Caculator::SortNm_Click() {
  tape_.Sort();
  ScrollNum_Change();
  ShowResult();
}

void Rolling_Caculator::dp1_Click(int index) {
  if (QAction* item = MenuItem("dp1(" + QString::number(index) + ")")) item->setChecked(true);
  tape_.SetDecimals(static_cast<int16_t>(index));
  ScrollNum_Change();
}

void Rolling_Caculator::CalcFuntions_Click(int index) {
  if (QAction* item = MenuItem("CalcFuntions(" + QString::number(index) + ")"))
    item->setChecked(true);
  tape_.SetMode(static_cast<int16_t>(index));
  ShowResult();
}

void Rolling_Caculator::Op_Click(int row) {
  tape_.OpClick(row);
  ShowRow(row);
  ShowResult();
}

}  // namespace qv
