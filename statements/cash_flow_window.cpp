#include "statements/cash_flow_window.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>
#include <QWheelEvent>
#include <algorithm>
#include <cctype>
#include <cmath>

#include "accounts/account_combo_qt.h"
#include "books/entry_fields.h"
#include "books/entry_screen.h"
#include "books/module_procedures.h"
#include "controls/email_file_qt.h"
#include "controls/horizontal_scroll_control.h"
#include "controls/print_document_qt.h"
#include "controls/vertical_scroll_control.h"
#include "platform/clipboard_qt.h"
#include "platform/colors_qt.h"
#include "platform/prompts.h"
#include "platform/screen_pointer.h"
#include "platform/string_table.h"
#include "platform/units.h"
#include "statements/statement_frame.h"
#include "statements/statement_outputs.h"
#include "statements/statement_texts.h"

namespace qv {

namespace {

enum : int {
  kLabelAccounts = 156,
  kLabelPrint = 157,
  kLabelCopy = 158,
  kLabelExport = 159,
  kLabelRevenueName = 237,
  kLabelExpenseName = 238,
  kLabelMonthly = 246,
  kLabelNoAccount = 291,
  kLabelSend = 319,
};

constexpr ColorValue kStripe = 0xF0F0F0;
constexpr double kBandHeight = 450;  // twips
constexpr double kBoxTop = 60, kBoxHeight = 330;
constexpr int kBarPixels = 17;
constexpr double kBodyPoints = 9;

bool Busy() { return TheScreenPointer().Shape() == PointerShape::Busy; }

}  // namespace

// The statement's drawing area: the stripes, then the lines and columns in view at the
// scroll offsets; the mouse goes to the window.
class CashFlowCanvas : public QWidget {
 public:
  CashFlowCanvas(CashFlow& window, QWidget* parent) : QWidget(parent), window_(window) {
    setMouseTracking(true);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    const CashFlowDrawing& d = window_.drawing_;
    const double h = d.Columns.LineHeight;
    const double left = window_.OffsetX(), top = window_.OffsetY();
    const double viewWidth = PixelsToTwips(width()), viewHeight = PixelsToTwips(height());
    if (h >= 1) {
      // Stripes from the statement's top, the first grey, each one line high.
      for (auto k = static_cast<int64_t>(top / h); k * h < top + viewHeight; ++k) {
        if (k % 2 != 0) continue;
        painter.fillRect(
            QRect(QPoint(0, Px(k * h - top)), QPoint(width(), Px((k + 1) * h - top) - 1)),
            ToQColor(kStripe));
      }
    }
    const StatementDrawing& drawing = d.Drawing;
    const auto [first, end] = drawing.LinesWithin(top, top + viewHeight);
    visible_.clear();
    for (std::size_t i = first; i < end; ++i) {
      const DrawnLine& line = drawing.Lines[i];
      for (std::size_t op = line.FirstOp; op < line.EndOp; ++op) {
        const DrawOp& o = drawing.Ops[op];
        if (const auto* text = std::get_if<TextOp>(&o);
            text != nullptr && (text->X + text->Width < left || text->X > left + viewWidth))
          continue;
        visible_.push_back(o);
      }
    }
    painter.translate(-Px(left), -Px(top));
    ReplayOnPainter(painter, visible_, ReplayOptions{kTwipsPerPixelAt96Dpi, {}});
  }
  void mouseMoveEvent(QMouseEvent* event) override { window_.CanvasMouseMove(YOf(event)); }
  void mouseReleaseEvent(QMouseEvent* event) override {
    window_.CanvasMouseRelease(event->button(), YOf(event));
  }
  void wheelEvent(QWheelEvent* event) override {
    const int steps = event->angleDelta().y() / 120;
    if (steps != 0) window_.VScroll1->SetValue(window_.VScroll1->Value() - steps * Tw(3 * 16));
    event->accept();
  }

 private:
  // The pointer's height in twips from the canvas's top.
  static double YOf(const QMouseEvent* event) { return PixelsToTwips(event->position().y()); }

  CashFlow& window_;
  std::vector<DrawOp> visible_;
};

CashFlow::CashFlow(const StatementContext& context, QWidget* parent)
    : QMainWindow(parent), context_(context) {
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName("CashFlow");
  setWindowIcon(QIcon(":/icons/taccount.png"));
  setMinimumSize(Px(5000), Px(2500));

  QWidget* central = BuildStatementCentral(*this, context_.SecondCopy);
  const QPalette palette = central->palette();

  band_ = new StatementBand(*context_.TheSession, central);
  band_->setObjectName("Band");
  canvas_ = new CashFlowCanvas(*this, central);
  canvas_->setObjectName("Canvas");
  canvas_->setPalette(palette);
  VScroll1 = new PelVerticalScroll(kCashFlowVScroll1Settings, central);
  VScroll1->setObjectName("VScroll1");
  HScroll1 = new RealhScroll(kCashFlowHScroll1Settings, central);
  HScroll1->setObjectName("HScroll1");
  for (ScrollBarControl* bar :
       {static_cast<ScrollBarControl*>(VScroll1), static_cast<ScrollBarControl*>(HScroll1)})
    connect(bar, &ScrollBarControl::Change, canvas_, qOverload<>(&QWidget::update));
  BuildBand();
  BuildMenus();
  statusBar()->setSizeGripEnabled(true);
  resize(Px(11000), Px(6500));

  Form_Cash_Flow(std::nullopt);
  Form_Resize();
}

CashFlow::~CashFlow() = default;

QString CashFlow::StartText() {
  return QString::fromStdString(Str(kLabelRevenueName) + " / " + Str(kLabelExpenseName));
}

void CashFlow::BuildBand() {
  const QFont font(QString::fromStdString(context_.TheBooks->FontName));
  auto place = [this, &font](QWidget* box, const char* name, double left, double width) {
    box->setParent(band_);
    box->setObjectName(name);
    box->setFont(font);
    box->setGeometry(Px(left), Px(kBoxTop), Px(width), Px(kBoxHeight));
    box->installEventFilter(this);
  };
  DateTerm = new QComboBox;
  for (int id = kLabelMonthly; id < kLabelMonthly + 4; ++id)
    DateTerm->addItem(QString::fromStdString(Str(id)));
  place(DateTerm, "DateTerm", 90, 1500);
  connect(DateTerm, &QComboBox::activated, this, [this](int) { DateTerm_Click(); });

  tReportAcc = new QComboBox;
  MakeAccountCombo(tReportAcc);
  accountNames_ = AccountListNames(*context_.TheBooks);
  for (const std::string& name : accountNames_) tReportAcc->addItem(QString::fromStdString(name));
  tReportAcc->setEditText(StartText());
  place(tReportAcc, "tReportAcc", 1680, 3300);
  tReportAcc->lineEdit()->installEventFilter(this);
  connect(tReportAcc, &QComboBox::activated, this, [this](int) { tReportAcc_Click(); });
  connect(tReportAcc->lineEdit(), &QLineEdit::returnPressed, this, [this] { tReportAcc_Click(); });

  FolioChoiceTx = new QLineEdit;
  place(FolioChoiceTx, "FolioChoiceTx", 5070, 1000);

  SmSelect = new QComboBox;
  place(SmSelect, "SmSelect", 6160, 1500);
  connect(SmSelect, &QComboBox::activated, this, [this](int) { SmSelect_Click(); });
}

void CashFlow::BuildMenus() {
  OpFile = menuBar()->addMenu(QString::fromStdString(Str(kLabelAccounts)));
  OpFile->setObjectName("OpFile");
  auto item = [this](const char* name, int label, void (CashFlow::*command)()) {
    QAction* action = OpFile->addAction(QString::fromStdString(Str(label)));
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, command);
    return action;
  };
  SaveB = item("SaveB", kLabelCopy, &CashFlow::SaveB_Click);
  PrintCash = item("PrintCash", kLabelPrint, &CashFlow::PrintCash_Click);
  EmalSt = item("EmalSt", kLabelSend, &CashFlow::EmalSt_Click);
  SaveA = item("SaveA", kLabelExport, &CashFlow::SaveA_Click);
  // The read-out line of the row under the pointer.
  mA = menuBar()->addAction(QString());
  mA->setObjectName("mA");
  mA->setEnabled(false);
}

StatementLook CashFlow::Look() const {
  const Books& books = *context_.TheBooks;
  StatementLook look = StatementLookOf(books, context_.Locale, books.BalanceSheetDecimals);
  FontSpec body;
  body.Name = books.FontName;
  body.Size = kBodyPoints;
  look.WidestName = WidestAccountName(books, screenMetrics_, body);
  look.ScreenTwipsPerPixel = kTwipsPerPixelAt96Dpi;
  return look;
}

void CashFlow::Form_Cash_Flow(std::optional<Folio> folio) {
  {
    BusyPointer busy;
    statement_ =
        ComputeCashFlow(*context_.TheBooks, {CashFlowTermAt(DateTerm->currentIndex()), folio});
  }
  firstPeriodShown_ = 1;
  SmSelect->clear();
  for (int p = 1; p < statement_.TotalColumn; ++p)
    SmSelect->addItem(QString::fromStdString(PeriodListItem(statement_, p, context_.Locale)));
  statusBar()->showMessage(QString::fromStdString(CashFlowProblemText(statement_)));
  drawing_ = LayOutCashFlow(statement_, Look(), screenMetrics_, firstPeriodShown_);
}

void CashFlow::Form_Resize() {
  ApplyScrollRanges();
  canvas_->update();
}

void CashFlow::ApplyScrollRanges() {
  const double viewWidth = PixelsToTwips(canvas_->width());
  const double viewHeight = PixelsToTwips(canvas_->height());
  const int vMax = ScrollMaxFor(drawing_.Drawing.DrawnHeight, viewHeight);
  const int hMax = ScrollMaxFor(drawing_.DrawnWidth, viewWidth);
  for (auto [bar, max, page] :
       {std::tuple<ScrollBarControl*, int, double>{VScroll1, vMax, viewHeight},
        {HScroll1, hMax, viewWidth}}) {
    bar->SetValueMax(max);
    // Lowering the range does not bring the value into it by itself.
    bar->SetValue(std::clamp(bar->Value(), 0, max));
    bar->SetValueLargeChange(std::max(1, static_cast<int>(page)));
    bar->setEnabled(max > 0);
  }
}

int CashFlow::OffsetX() const { return std::max(0, HScroll1->Value()); }
int CashFlow::OffsetY() const { return std::max(0, VScroll1->Value()); }

QWidget* CashFlow::Canvas() const { return canvas_; }

QString CashFlow::StatusText() const { return statusBar()->currentMessage(); }

void CashFlow::DateTerm_Click() {
  if (tReportAcc->currentText() == StartText())
    Form_Cash_Flow(std::nullopt);
  else
    Form_Cash_Flow(chosenFolio_);
  Form_Resize();
}

void CashFlow::tReportAcc_Click() {
  const std::string name = tReportAcc->currentText().toStdString();
  std::optional<Folio> folio;
  if (tReportAcc->currentText() != StartText()) {
    const Folio found = FolioOfAccount(*context_.TheBooks, name);
    if (found.IsZero()) {
      ShowMessage(Str(kLabelNoAccount));
      return;
    }
    folio = found;
    FolioChoiceTx->setText(QString::fromStdString(context_.TheBooks->FolioDashes != 0
                                                      ? PlainAmountText(found, "-")
                                                      : ShortFolioText(found, context_.Locale)));
  }
  chosenFolio_ = folio;
  Form_Cash_Flow(folio);
  VScroll1->SetValue(0);
  HScroll1->SetValue(0);
  Form_Resize();
}

void CashFlow::SmSelect_Click() {
  firstPeriodShown_ = FirstPeriodShownOf(statement_, SmSelect->currentIndex());
  drawing_ = LayOutCashFlow(statement_, Look(), screenMetrics_, firstPeriodShown_);
  Form_Resize();
}

void CashFlow::FolioChoiceEntered() {
  const Folio folio = ReadFolioText(FolioChoiceTx->text().toStdString(), context_.Locale);
  const std::string name = AccountNameOfFolio(*context_.TheBooks, folio);
  if (name.empty()) {
    ShowMessage(Str(kLabelNoAccount));
    return;
  }
  tReportAcc->setEditText(QString::fromStdString(name));
  tReportAcc_Click();
}

bool CashFlow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == centralWidget() && event->type() == QEvent::Resize) PlaceParts();
  if (event->type() != QEvent::KeyPress) return QMainWindow::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  const QString text = key->text();
  if (watched == DateTerm || watched == SmSelect) {
    // The lists choose with the arrows and the mouse; typed characters do nothing.
    return !text.isEmpty() && text.front().isPrint();
  }
  if (watched == tReportAcc || watched == tReportAcc->lineEdit()) {
    // Type-ahead: a typed character shows the first account that begins with the text
    // typed so far and opens the list of accounts; Backspace and Enter reach the box.
    return AccountComboKeyPress(tReportAcc, accountNames_, *key);
  }
  if (watched == FolioChoiceTx) {
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      FolioChoiceEntered();
      return true;
    }
    // Arrows, Home, End, Delete; Tab moves on to the next control.
    if (text.isEmpty() || key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) return false;
    const char16_t c = text.front().unicode();
    // Backspace, "-", ".", "/" and the digits reach the box; every other key is dropped.
    return !(c == 8 || (c >= 45 && c <= 57));
  }
  return QMainWindow::eventFilter(watched, event);
}

void CashFlow::PlaceParts() {
  QWidget* central = centralWidget();
  const int width = central->width(), height = central->height();
  const int bandHeight = Px(kBandHeight);
  band_->setGeometry(0, 0, width, bandHeight);
  const int canvasWidth = std::max(0, width - kBarPixels);
  const int canvasHeight = std::max(0, height - bandHeight - kBarPixels);
  canvas_->setGeometry(0, bandHeight, canvasWidth, canvasHeight);
  VScroll1->setGeometry(canvasWidth, bandHeight, kBarPixels, canvasHeight);
  HScroll1->setGeometry(0, bandHeight + canvasHeight, canvasWidth, kBarPixels);
  VScroll1->Refresh();
  HScroll1->Refresh();
  Form_Resize();
}

void CashFlow::CanvasMouseMove(double y) {
  if (Busy() || y == lastMouseY_) return;
  lastMouseY_ = y;
  const int row = RowAt(drawing_.Drawing.Rows, y + OffsetY(), kHoverBand);
  if (row < 0) {
    canvas_->unsetCursor();
    mA->setText(QString());
    return;
  }
  canvas_->setCursor(Qt::WhatsThisCursor);
  mA->setText(QString::fromStdString(
      RowReadOut(drawing_.Drawing.Rows[static_cast<std::size_t>(row)].RowFolio, *context_.TheBooks,
                 context_.Locale)));
}

void CashFlow::CanvasMouseRelease(Qt::MouseButton button, double y) {
  if (Busy() || mA->text().isEmpty()) return;
  if (button != Qt::LeftButton && button != Qt::RightButton) return;
  const int row = RowAt(drawing_.Drawing.Rows, y + OffsetY(), kClickBand);
  if (row < 0 || !context_.OpenLedger) return;
  const Folio folio = drawing_.Drawing.Rows[static_cast<std::size_t>(row)].RowFolio;
  // The ledgers keep their own dates.
  context_.OpenLedger(button == Qt::LeftButton ? LedgerLink::RunningBalance : LedgerLink::TAccount,
                      AccountNameOfFolio(*context_.TheBooks, folio), std::string());
}

bool CashFlow::Refused(std::string_view notDone) const {
  if (statement_.Status == CashFlowStatus::kOk) return false;
  if (statement_.Status == CashFlowStatus::kOverflow) {
    ShowMessage(StatementOutput::TooLargeMessage(notDone));
  } else {
    // "so it was not copied." follows the problem's own sentence as "It was not copied."
    std::string sentence(notDone.substr(notDone.starts_with("so ") ? 3 : 0));
    if (!sentence.empty()) sentence[0] = static_cast<char>(std::toupper(sentence[0]));
    ShowMessage(CashFlowProblemText(statement_) + " " + sentence);
  }
  return true;
}

void CashFlow::PrintCash_Click() {
  if (Refused("so it was not printed.")) return;
  const StatementLook look = Look();
  PrintDocument(this, *context_.TheSession, [this, &look](DrawingSurface& printer) {
    PrintCashFlow(printer, statement_, look, firstPeriodShown_);
  });
}

CashFlowOutput CashFlow::Output() const {
  const Books& books = *context_.TheBooks;
  return CashFlowOutput(
      statement_, StatementLookOf(books, context_.Locale, books.BalanceSheetDecimals),
      firstPeriodShown_, windowTitle().toStdString(), width() + Px(HScroll1->ValueMax()));
}

void CashFlow::SaveB_Click() {
  if (Refused("so it was not copied.")) return;
  SetClipboardText(Output().Ptable());
}

void CashFlow::EmalSt_Click() {
  if (Refused("so no message was written.")) return;
  const CashFlowOutput output = Output();
  // The message file is named like the income statement's.
  WriteEmailFile("IncomeStatement", output.WebTable(), output.Subject());
}

void CashFlow::SaveA_Click() {
  if (Refused("so it was not exported.")) return;
  const CashFlowOutput output = Output();
  ExportStatementFile(this, context_, output.ExportRequest(), ChooseExportFile,
                      [&output](const std::string& path, const std::string& type) {
                        return output.Export(path, type);
                      });
}

}  // namespace qv
