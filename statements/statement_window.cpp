#include "statements/statement_window.h"

#include <QApplication>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QStatusBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "books/date_styles.h"
#include "books/module_procedures.h"
#include "controls/date_picker_control.h"
#include "controls/email_file_qt.h"
#include "controls/file_dialog.h"
#include "controls/print_document_qt.h"
#include "controls/vertical_scroll_control.h"
#include "platform/clipboard_qt.h"
#include "platform/colors_qt.h"
#include "platform/prompts.h"
#include "platform/screen_pointer.h"
#include "platform/string_table.h"
#include "platform/units.h"
#include "statements/statement_dates.h"
#include "statements/statement_frame.h"
#include "statements/statement_lines.h"

namespace qv {

namespace {

constexpr ColorValue kSecondCopyBackground = 0xC0FFFF;  // light yellow
constexpr ColorValue kMarginBandColor = 0xEFEFEF;
constexpr double kBandHeight = 450;  // twips
constexpr double kButtonTop = 30, kButtonSize = 375;
constexpr double kButtonLefts[3] = {90, 510, 930};
constexpr double kDateBoxTop = 60, kDateBoxHeight = 330;
constexpr int kBarWidthPixels = 17;
constexpr int kLabelFile = 110, kLabelAccounts = 156, kLabelPrint = 157, kLabelCopy = 158,
              kLabelExport = 159, kLabelIncludeSubAccounts = 160;

bool Busy() { return TheScreenPointer().Shape() == PointerShape::Busy; }

}  // namespace

void ExportStatementFile(
    QWidget* owner, const StatementContext& context, const FileDialogRequest& request,
    const ExportFileChooser& choose,
    const std::function<TableFileResult(const std::string& path, const std::string& type)>& write) {
  const std::string path = ChooseFile(owner, *context.TheSession, request, choose);
  if (path.empty()) return;
  const std::string stem = NameWithoutExtension(path);
  const std::string type = stem.size() < path.size() ? path.substr(stem.size() + 1) : "";
  const TableFileResult result = write(path, type);
  if (!result.Ok()) {
    if (context.ShowFileError) context.ShowFileError(result.ErrorCode, result.Message);
  } else if (!result.Notice.empty()) {
    ShowMessage(result.Notice, PromptIcon::Information);
  }
}

QWidget* BuildStatementCentral(QMainWindow& window, bool secondCopy) {
  auto* central = new QWidget(&window);
  QPalette palette = central->palette();
  const QColor background = secondCopy ? ToQColor(kSecondCopyBackground) : Qt::white;
  palette.setColor(QPalette::Base, background);
  palette.setColor(QPalette::Window, background);
  central->setPalette(palette);
  central->setAutoFillBackground(true);
  window.setCentralWidget(central);
  central->installEventFilter(&window);
  return central;
}

StatementBand::StatementBand(const Session& session, QWidget* parent)
    : QWidget(parent), session_(session) {}

void StatementBand::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Window));
  const auto& fade = session_.FadeColors;
  for (int i = 1; i < static_cast<int>(fade.size()) && i < height() - 1; ++i) {
    if (fade[static_cast<std::size_t>(i)] == 0) continue;
    painter.setPen(ToQColor(fade[static_cast<std::size_t>(i)]));
    painter.drawLine(0, i, width(), i);
  }
  painter.setPen(Qt::black);
  painter.drawLine(0, height() - 1, width(), height() - 1);
}

// The statement's drawing area: paints the lines in view at the scroll offset and passes
// the mouse to the window.
class StatementCanvas : public QWidget {
 public:
  StatementCanvas(StatementWindow& frame, QWidget* parent) : QWidget(parent), frame_(frame) {
    setMouseTracking(true);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    const StatementDrawing& d = frame_.drawing_;
    if (d.HasMarginBands) {
      const QColor band = ToQColor(kMarginBandColor);
      painter.fillRect(QRect(QPoint(0, 0), QPoint(Px(d.LeftBandEnd), height())), band);
      painter.fillRect(QRect(QPoint(Px(d.RightBandStart), 0), QPoint(width(), height())), band);
    }
    const int offset = Px(frame_.Offset());
    const auto [first, end] = d.LinesWithin(Tw(offset), Tw(offset + height()));
    visible_.clear();
    for (std::size_t i = first; i < end; ++i)
      visible_.insert(visible_.end(), d.Ops.begin() + static_cast<long>(d.Lines[i].FirstOp),
                      d.Ops.begin() + static_cast<long>(d.Lines[i].EndOp));
    painter.translate(0, -offset);
    ReplayOnPainter(painter, visible_, ReplayOptions{kTwipsPerPixelAt96Dpi, {}});
  }
  void mousePressEvent(QMouseEvent*) override { frame_.CanvasMousePress(); }
  void mouseMoveEvent(QMouseEvent* event) override { frame_.CanvasMouseMove(YOf(event)); }
  void mouseReleaseEvent(QMouseEvent* event) override {
    frame_.CanvasMouseRelease(event->button(), YOf(event));
  }
  void wheelEvent(QWheelEvent* event) override {
    const int steps = event->angleDelta().y() / 120;
    if (steps != 0) frame_.SetScrollValue(frame_.ScrollValue() - steps * Tw(3 * 16));
    event->accept();
  }

 private:
  // The pointer's height in twips from the canvas's top; outside the canvas, a value no row
  // band holds.
  double YOf(const QMouseEvent* event) const {
    const double y = event->position().y();
    if (y < 0 || y >= height()) return -1e12;
    return PixelsToTwips(y);
  }

  StatementWindow& frame_;
  std::vector<DrawOp> visible_;
};

StatementButton::StatementButton(const QString& picture, QWidget* parent) : QLabel(parent) {
  setPixmap(QPixmap(picture));
  setAlignment(Qt::AlignCenter);
}

void StatementButton::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit Pressed();
}

void StatementButton::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit Released();
}

StatementWindow::StatementWindow(const StatementContext& context, QWidget* parent)
    : QMainWindow(parent), context_(context) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowIcon(QIcon(":/icons/taccount.png"));
  setMinimumSize(Px(kStatementMinWidth), Px(kStatementMinHeight));
}

StatementWindow::~StatementWindow() = default;

void StatementWindow::BuildFrame(PelVerticalScroll* ownBar) {
  QWidget* central = BuildStatementCentral(*this, context_.SecondCopy);
  const QPalette palette = central->palette();

  band_ = new StatementBand(*context_.TheSession, central);
  band_->setObjectName("Band");
  canvas_ = new StatementCanvas(*this, central);
  canvas_->setObjectName("Canvas");
  canvas_->setPalette(palette);
  ownBar_ = ownBar;
  ownBar_->setParent(central);
  connect(ownBar_, &ScrollBarControl::Change, canvas_, qOverload<>(&QWidget::update));

  // The pictures: print, e-mail, copy, with the pressed face over the one held down.
  const char* pictures[3] = {":/icons/print.png", ":/icons/email.png", ":/icons/copy.png"};
  for (int i = 0; i < 3; ++i) {
    auto* button = new StatementButton(pictures[i], band_);
    button->setObjectName(QString("mButton(%1)").arg(i));
    button->setGeometry(Px(kButtonLefts[i]), Px(kButtonTop), Px(kButtonSize), Px(kButtonSize));
    buttons_[i] = button;
    connect(button, &StatementButton::Pressed, this, [this, button] {
      pressedFace_->move(button->pos());
      pressedFace_->show();
      pressedFace_->raise();
    });
    connect(button, &StatementButton::Released, this, [this, i] {
      pressedFace_->hide();
      ButtonCommand(i)->trigger();
    });
  }
  buttons_[0]->setToolTip(QString::fromStdString(Str(kLabelPrint)));
  buttons_[2]->setToolTip(QString::fromStdString(Str(kLabelCopy)));
  pressedFace_ = new QLabel(band_);
  pressedFace_->setObjectName("CalcButtonDown");
  pressedFace_->setPixmap(QPixmap(":/icons/pressed.png"));
  pressedFace_->setAttribute(Qt::WA_TransparentForMouseEvents);
  pressedFace_->resize(Px(kButtonSize), Px(kButtonSize));
  pressedFace_->hide();

  P = new QLabel(band_);
  P->setObjectName("P");
  QFont font = P->font();
  font.setFamily(QString::fromStdString(context_.TheBooks->FontName));
  P->setFont(font);

  // The menus.
  QMenu* file = menuBar()->addMenu(QString::fromStdString(Str(kLabelFile)));
  file->setObjectName("File");
  printItem_ = file->addAction(QString::fromStdString(Str(kLabelPrint)));
  printItem_->setObjectName("PrintToPrinter");
  copyItem_ = file->addAction(QString::fromStdString(Str(kLabelCopy)));
  copyItem_->setObjectName("Copy");
  file->addSeparator()->setObjectName("Sp1");
  exportItem_ = file->addAction(QString::fromStdString(Str(kLabelExport)));
  exportItem_->setObjectName("Save");
  connect(printItem_, &QAction::triggered, this, &StatementWindow::PrintStatement);
  connect(copyItem_, &QAction::triggered, this, &StatementWindow::CopyStatement);
  connect(exportItem_, &QAction::triggered, this, &StatementWindow::ExportStatement);
  accountsMenu_ = menuBar()->addMenu(QString::fromStdString(Str(kLabelAccounts)));
  accountsMenu_->setObjectName("Accounts");
  subAccounts_ = accountsMenu_->addAction(QString::fromStdString(Str(kLabelIncludeSubAccounts)));
  subAccounts_->setObjectName("SubAccounts");
  subAccounts_->setCheckable(true);
  connect(subAccounts_, &QAction::triggered, this, [this] { Recompute(); });

  emailItem_ = new QAction(this);
  emailItem_->setObjectName("Email");
  connect(emailItem_, &QAction::triggered, this, &StatementWindow::EmailStatement);

  // A picture shows with its command.
  for (int i = 0; i < 3; ++i) {
    buttons_[i]->setVisible(ButtonCommand(i)->isVisible());
    connect(ButtonCommand(i), &QAction::changed, buttons_[i],
            [this, i] { buttons_[i]->setVisible(ButtonCommand(i)->isVisible()); });
  }
  statusBar()->setSizeGripEnabled(true);
}

void StatementWindow::PlaceInBand(QWidget* widget, double left, double width) {
  widget->setParent(band_);
  widget->setGeometry(Px(left), Px(kDateBoxTop), Px(width), Px(kDateBoxHeight));
}

double StatementWindow::RightOf(const QWidget* widget) {
  return PixelsToTwips(widget->x() + widget->width());
}

CalanderForm* StatementWindow::AddDateBox(double left) {
  auto* box = new CalanderForm(context_.Locale, *context_.TheClock, band_);
  box->SetDateStyle(context_.TheBooks->DateStyleIndex);
  box->SetSession(context_.TheSession);
  box->SetFontName(QString::fromStdString(context_.TheBooks->FontName));
  box->SetFontCharset(context_.TheBooks->FontCharset);
  box->setGeometry(Px(left), Px(kDateBoxTop), box->sizeHint().width(), Px(kDateBoxHeight));
  connect(box, &CalanderForm::Click, this, [this] {
    if (TheSession().DatePicked != 1) return;
    TheSession().DatePicked = 0;
    DatePicked();
  });
  connect(
      box, &CalanderForm::KeyPress, this,
      [this](int16_t& keyAscii) {
        if (FilterDateBoxKey(keyAscii) == DateBoxKey::Commit) DateCommitted();
      },
      Qt::DirectConnection);
  return box;
}

bool StatementWindow::ReadDateBox(CalanderForm* box, DaySerial& date, std::string& problem) const {
  // After the book's date style changed, the box shows its date in the new style first.
  const int style = context_.TheBooks->DateStyleIndex;
  if (box->DateStyle() != style) {
    box->SetDateStyle(style);
    box->SetText(QString::fromStdString(DateText(date)));
  }
  std::string text = box->Text().toStdString();
  const std::string typed = text;
  const StatementDateRead read =
      ReadStatementDate(text, date, *context_.TheBooks, context_.Locale, Today());
  if (read.Kept) {
    box->SetText(QString::fromStdString(DateText(date)));
    problem = UnreadableDateText(typed, date, context_.Locale);
    return false;
  }
  date = read.Date;
  return true;
}

void StatementWindow::DatePicked() { Recompute(); }

void StatementWindow::DateCommitted() { Recompute(false); }

std::string StatementWindow::DateText(DaySerial date) const {
  return FormatDateStyle(date, context_.TheBooks->DateStyleIndex, context_.Locale);
}

StatementLook StatementWindow::LookFor(int decimals) const {
  StatementLook look = StatementLookOf(*context_.TheBooks, context_.Locale, decimals);
  look.WidestName = widestName_;
  look.ScreenTwipsPerPixel = kTwipsPerPixelAt96Dpi;
  return look;
}

void StatementWindow::Recompute(bool toTop) {
  std::string problem;
  const bool datesRead = ReadDates(problem);
  bool computedWhole = true;
  {
    BusyPointer busy;
    computedWhole = Compute();
  }
  FontSpec body;
  body.Name = context_.TheBooks->FontName;
  body.Size = 10;
  widestName_ = WidestAccountName(*context_.TheBooks, screenMetrics_, body);
  computed_ = true;
  booksReplaced_ = false;
  computedStamp_ = context_.TheBooks->BooksStamp;
  computedLines_ = static_cast<int64_t>(context_.TheBooks->PostingLines.size());
  if (!computedWhole) problem = StatementOverflowMessage();
  statusBar()->showMessage(datesRead && computedWhole ? QString()
                                                      : QString::fromStdString(problem));
  ShowRatios();
  Relayout();
  if (toTop) SetScrollValue(0);
}

void StatementWindow::BooksReplaced() { booksReplaced_ = true; }

bool StatementWindow::CatchUpWithBooks() {
  if (!computed_) return false;
  const Books& books = *context_.TheBooks;
  if (!booksReplaced_ && books.BooksStamp == computedStamp_ &&
      static_cast<int64_t>(books.PostingLines.size()) == computedLines_)
    return false;
  if (booksReplaced_) SetDefaultDates();
  Recompute(booksReplaced_);
  return true;
}

void StatementWindow::Relayout() {
  layoutWidth_ = -1;
  Redraw();
}

void StatementWindow::Redraw() {
  // A window not shown yet lays out when it gets its size.
  if (canvas_ == nullptr || !isVisible() || !computed_) return;
  if (canvas_->width() != layoutWidth_) {
    drawing_ = RecordStatement(screenMetrics_, PixelsToTwips(canvas_->width()), 1.0,
                               [this](DrawingSurface& surface) { return Draw(surface); });
    layoutWidth_ = canvas_->width();
  }
  ApplyScrollRange();
  canvas_->update();
}

void StatementWindow::ApplyScrollRange() {
  const int max = ScrollMaxFor(drawing_.DrawnHeight, PixelsToTwips(canvas_->height()));
  ownBar_->SetValueMax(max);
  if (max == 0) ownBar_->SetValue(0);
  // The range change alone does not bring the value into it.
  if (ownBar_->Value() > max) ownBar_->SetValue(max);
  ownBar_->setVisible(max > 0);
  ownBar_->SetValueLargeChange(std::max(1, static_cast<int>(PixelsToTwips(canvas_->height()))));
}

double StatementWindow::Offset() const { return ScrollValue(); }

int StatementWindow::ScrollValue() const { return ownBar_->Value(); }

void StatementWindow::SetScrollValue(int value) { ownBar_->SetValue(value); }

int StatementWindow::ScrollMax() const { return ownBar_->ValueMax(); }

bool StatementWindow::ScrollShown() const { return !ownBar_->isHidden(); }

QWidget* StatementWindow::Canvas() const { return canvas_; }

QString StatementWindow::StatusText() const { return statusBar()->currentMessage(); }

StatementButton* StatementWindow::Button(int index) const {
  return index >= 0 && index < 3 ? buttons_[index] : nullptr;
}

bool StatementWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == centralWidget() && event->type() == QEvent::Resize) PlaceParts();
  return QMainWindow::eventFilter(watched, event);
}

void StatementWindow::PlaceParts() {
  QWidget* central = centralWidget();
  const int width = central->width(), height = central->height();
  const int bandHeight = Px(kBandHeight);
  band_->setGeometry(0, 0, width, bandHeight);
  const int barWidth = kBarWidthPixels;
  canvas_->setGeometry(0, bandHeight, std::max(0, width - barWidth),
                       std::max(0, height - bandHeight));
  ownBar_->setGeometry(width - barWidth, bandHeight, barWidth, std::max(0, height - bandHeight));
  ownBar_->Refresh();
  Redraw();
}

void StatementWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  Redraw();
}

void StatementWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) CatchUpWithBooks();
}

void StatementWindow::SetReadOutColor(const QColor& color) {
  QPalette palette = P->palette();
  palette.setColor(QPalette::WindowText, color);
  P->setPalette(palette);
}

void StatementWindow::CanvasMousePress() {
  SetReadOutColor(Qt::black);
  TheSession().MouseDownFlag = 1;
  // A click on a window whose rows are out of date acts on nothing.
  if (CatchUpWithBooks()) TheSession().MouseDownFlag = 0;
}

void StatementWindow::CanvasMouseMove(double y) {
  TheSession().MouseDownFlag = 0;
  if (Busy()) return;
  const int row = RowAt(drawing_.Rows, y + Offset(), kHoverBand);
  if (row < 0) {
    canvas_->unsetCursor();
    P->setText(QString());
    return;
  }
  canvas_->setCursor(Qt::WhatsThisCursor);
  P->setText(QString::fromStdString(RowReadOut(
      drawing_.Rows[static_cast<std::size_t>(row)].RowFolio, TheBooks(), context_.Locale)));
}

void StatementWindow::CanvasMouseRelease(Qt::MouseButton button, double y) {
  if (Busy()) return;
  SetReadOutColor(palette().color(QPalette::Dark));
  if (TheSession().MouseDownFlag != 1) return;
  TheSession().MouseDownFlag = 0;
  if (button != Qt::LeftButton && button != Qt::RightButton) return;
  const int row = RowAt(drawing_.Rows, y + Offset(), kClickBand);
  if (row < 0 || !context_.OpenLedger) return;
  const Folio folio = drawing_.Rows[static_cast<std::size_t>(row)].RowFolio;
  context_.OpenLedger(button == Qt::LeftButton ? LedgerLink::RunningBalance : LedgerLink::TAccount,
                      AccountNameOfFolio(TheBooks(), folio), LedgerEndDate());
}

bool StatementWindow::RefusedTooLarge(const StatementOutput& output, std::string_view notDone) {
  if (!output.Failed()) return false;
  ShowMessage(StatementOutput::TooLargeMessage(notDone));
  return true;
}

void StatementWindow::PrintStatement() {
  if (RefusedTooLarge(Output(), "so it was not printed.")) return;
  PrintDocument(this, TheSession(), [this](DrawingSurface& printer) { Draw(printer); });
}

void StatementWindow::EmailStatement() {
  const StatementOutput output = Output();
  if (RefusedTooLarge(output, "so no message was written.")) return;
  WriteEmailFile(EmailBaseName(), output.Html(), EmailSubject());
}

void StatementWindow::CopyStatement() {
  const StatementOutput output = Output();
  if (RefusedTooLarge(output, "so it was not copied.")) return;
  if (output.HasText())
    SetClipboardTextAndRtf(output.Text(), output.Rtf());
  else
    SetClipboardRtf(output.Rtf());
}

void StatementWindow::ExportStatement() {
  const StatementOutput output = Output();
  if (RefusedTooLarge(output, "so it was not exported.")) return;
  ExportStatementFile(this, context_, output.ExportRequest(), ChooseExportFile,
                      [&](const std::string& path, const std::string& type) {
                        // The rich text and the tabbed text go on the clipboard too, as Copy
                        // leaves them.
                        if (type == "rtf" || type == "csv") CopyStatement();
                        return output.Export(path, type);
                      });
}

QAction* StatementWindow::ButtonCommand(int index) const {
  return index == 0 ? printItem_ : index == 1 ? emailItem_ : copyItem_;
}

}  // namespace qv
