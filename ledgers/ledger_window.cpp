#include "ledgers/ledger_window.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>
#include <optional>
#include <variant>

#include "accounts/account_combo_qt.h"
#include "bookfiles/table_clipboard_qt.h"
#include "bookfiles/table_files.h"
#include "bookfiles/table_formats.h"
#include "books/date_styles.h"
#include "books/entry_screen.h"
#include "books/module_procedures.h"
#include "books/print_header.h"
#include "controls/date_picker_control.h"
#include "controls/email_file_qt.h"
#include "controls/file_dialog.h"
#include "controls/horizontal_scroll_control.h"
#include "controls/print_document_qt.h"
#include "controls/vertical_scroll_control.h"
#include "controls/wait_screen_dialog.h"
#include "ledgers/ledger_drawing.h"
#include "ledgers/ledger_sheet_widget.h"
#include "platform/colors_qt.h"
#include "platform/prompts.h"
#include "platform/screen_fit_qt.h"
#include "platform/screen_pointer.h"
#include "platform/string_table.h"
#include "platform/utf8.h"

namespace qv {
namespace {

constexpr int kFileMenuId = 110;
constexpr int kPrintId = 157;
constexpr int kCopyId = 158;
constexpr int kExportId = 159;
constexpr int kSendId = 319;
constexpr int kSubAccountsId = 160;
constexpr int kSaveAsId = 166;
constexpr int kSaveId = 165;

// Journals longer than this show the busy pointer while they are built, and tables longer
// than this the wait screen while they are printed, copied, exported or mailed.
constexpr int32_t kLongJournalLines = 100000;
constexpr int64_t kLongTableRows = 20000;

// The pages of a print-out, drawn one at a time.
PageDrawing PagesOf(std::shared_ptr<SheetPrintout> printout) {
  return [printout = std::move(printout)](DrawingSurface& printer, int page) {
    return printout->DrawPage(printer, page);
  };
}

// The bar that scrolls the sheet across: its height, and its settings (in pixels).
constexpr int kAcrossBarPixels = 17;
constexpr ScrollBarSettings kAcrossBarSettings{
    .ValueMax = 0, .ValueLargeChange = 200, .ValueSmallChange = 20};

QString Q(const std::string& text) { return QString::fromStdString(text); }

// The file type of a path: its extension in lower case.
std::string TypeOfPath(const std::string& path) {
  const std::string stem = NameWithoutExtension(path);
  return stem.size() < path.size() ? ToLowerText(path.substr(stem.size() + 1)) : std::string();
}

}  // namespace

LedgerWindow::LedgerWindow(LedgerContext& context, const ScrollBarSettings& settings,
                           bool allAccounts, int captionId, QWidget* parent)
    : QWidget(parent, Qt::Window), context_(context), allAccounts_(allAccounts) {
  setAttribute(Qt::WA_DeleteOnClose);
  BuildWidgets(settings, captionId);
  ConnectTopBar();
  SetBackColor(kWhite);
  scroll_->SetBackColor(settings.BackColor);
  Form_Load();
}

LedgerWindow::~LedgerWindow() {
  // Closing the window moves the focus out of its boxes, which would rebuild a view whose
  // kind is already gone.
  for (QObject* child : findChildren<QObject*>())
    QObject::disconnect(child, nullptr, this, nullptr);
}

void LedgerWindow::BuildWidgets(const ScrollBarSettings& settings, int captionId) {
  setWindowTitle(Q(Str(captionId)));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 0, 6, 6);
  layout->setSpacing(4);

  menuBar_ = new QMenuBar(this);
  QMenu* file = menuBar_->addMenu(Q(Str(kFileMenuId)));
  const struct {
    const char* name;
    int id;
    void (LedgerWindow::*command)();
    QKeySequence keys;
  } items[] = {{"Print", kPrintId, &LedgerWindow::Print_Click, QKeySequence::Print},
               {"Copy", kCopyId, &LedgerWindow::Copy_Click, QKeySequence::Copy},
               {"Export", kExportId, &LedgerWindow::Export_Click, QKeySequence()},
               {"Send", kSendId, &LedgerWindow::Send_Click, QKeySequence()}};
  for (const auto& item : items) {
    QAction* action = file->addAction(Q(Str(item.id)));
    action->setObjectName(item.name);
    action->setShortcut(item.keys);
    connect(action, &QAction::triggered, this, item.command);
  }
  layout->setMenuBar(menuBar_);

  auto* bar = new QHBoxLayout;
  tReportAcc = new QComboBox(this);
  tReportAcc->setObjectName("tReportAcc");
  // Type-ahead: a typed character shows the first account that begins with the text typed
  // so far and opens the list of accounts below the box.
  MakeAccountCombo(tReportAcc);
  tReportAcc->setMinimumContentsLength(24);
  tReportAcc->installEventFilter(this);
  tReportAcc->lineEdit()->installEventFilter(this);
  bar->addWidget(tReportAcc, 1);
  SubAccounts = new QCheckBox(Q(Str(kSubAccountsId)), this);
  SubAccounts->setObjectName("SubAccounts");
  SubAccounts->setChecked(true);
  bar->addWidget(SubAccounts);
  const char* labels[] = {"From", "To"};
  for (int i = 0; i < 2; ++i) {
    bar->addWidget(new QLabel(labels[i], this));
    auto* picker = new CalanderForm(context_.Locale, context_.TheClock, this);
    picker->setObjectName(QString("DateSearch%1").arg(i));
    picker->SetSession(&context_.TheSession);
    dateSearch_[static_cast<std::size_t>(i)] = picker;
    bar->addWidget(picker);
  }
  layout->addLayout(bar);

  auto* body = new QHBoxLayout;
  body->setSpacing(0);
  auto* column = new QVBoxLayout;
  column->setSpacing(0);
  sheet_ = new LedgerSheetWidget(this);
  sheet_->setObjectName("Sheet");
  column->addWidget(sheet_, 1);
  across_ = new RealhScroll(kAcrossBarSettings, this);
  across_->setObjectName("AcrossBar");
  across_->setFixedHeight(kAcrossBarPixels);
  across_->hide();
  column->addWidget(across_);
  body->addLayout(column, 1);
  scroll_ = new PelVerticalScroll(settings, this);
  scroll_->setObjectName("ScrollBar");
  body->addWidget(scroll_);
  layout->addLayout(body, 1);
  resize(760, 460);
}

void LedgerWindow::ConnectTopBar() {
  connect(tReportAcc, &QComboBox::activated, this, [this](int) { Rebuild(); });
  connect(tReportAcc->lineEdit(), &QLineEdit::returnPressed, this, [this] { Rebuild(); });
  connect(tReportAcc->lineEdit(), &QLineEdit::editingFinished, this, [this] {
    // Leaving the box with an account that is not the one shown rebuilds the view.
    if (tReportAcc->lineEdit()->isModified()) {
      tReportAcc->lineEdit()->setModified(false);
      Rebuild();
    }
  });
  connect(SubAccounts, &QCheckBox::toggled, this, [this] { Rebuild(); });
  for (CalanderForm* picker : dateSearch_) {
    // A picked day acts only when the picker says it picked one.
    connect(picker, &CalanderForm::Click, this, [this] {
      if (context_.TheSession.DatePicked != 1) return;
      context_.TheSession.DatePicked = 0;
      Rebuild();
    });
    connect(picker, &CalanderForm::LostFocus, this, [this] { Rebuild(); });
    connect(
        picker, &CalanderForm::KeyDown, this,
        [this](int16_t& key, int16_t&) {
          if (key == 13) Rebuild();
        },
        Qt::DirectConnection);
  }
  connect(scroll_, &ScrollBarControl::Change, this,
          [this] { sheet_->SetFirstRow(scroll_->Value()); });
  connect(across_, &ScrollBarControl::Change, this,
          [this] { sheet_->SetOffsetX(across_->Value()); });
  connect(sheet_, &LedgerSheetWidget::ScrollRequested, this, &LedgerWindow::ScrollTo);
  connect(sheet_, &LedgerSheetWidget::LayoutChanged, this, &LedgerWindow::UpdateScrollRange);
  connect(sheet_, &LedgerSheetWidget::LineClicked, this, [this](int32_t line) {
    if (context_.ShowPostingLine) context_.ShowPostingLine(line, BringsMainForward());
  });
}

QAction* LedgerWindow::MenuItem(const QString& name) const {
  return menuBar_->findChild<QAction*>(name);
}

const LedgerSheet& LedgerWindow::Sheet() const { return sheet_->Sheet(); }

void LedgerWindow::Form_Load() {
  const Books& books = context_.TheBooks;
  const QString typed = tReportAcc->currentText();
  QStringList names;
  if (allAccounts_) names.push_back(kAllAccountsText);
  for (const std::string& name : AccountListNames(books)) names.push_back(Q(name));
  accountNames_.clear();
  for (const QString& name : names) accountNames_.push_back(name.toStdString());
  tReportAcc->clear();
  tReportAcc->addItems(names);
  tReportAcc->setEditText(typed.isEmpty() && allAccounts_ ? QString(kAllAccountsText) : typed);
  const LedgerDates dates = DefaultLedgerDates(books);
  const DaySerial first = books.PostingLines.empty() ? context_.TheClock.Today() : dates.First;
  const DaySerial last = books.PostingLines.empty() ? context_.TheClock.Today() : dates.Last;
  for (CalanderForm* picker : dateSearch_) picker->SetDateStyle(books.DateStyleIndex);
  dateSearch_[0]->SetText(Q(FormatDateStyle(first, books.DateStyleIndex, context_.Locale)));
  dateSearch_[1]->SetText(Q(FormatDateStyle(last, books.DateStyleIndex, context_.Locale)));
}

void LedgerWindow::tReportAcc_Click() { Rebuild(); }

bool LedgerWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress ||
      (watched != tReportAcc && watched != tReportAcc->lineEdit()))
    return QWidget::eventFilter(watched, event);
  const QString before = tReportAcc->currentText();
  if (!AccountComboKeyPress(tReportAcc, accountNames_, *static_cast<QKeyEvent*>(event)))
    return false;
  // An account shown by typing is the user's change: leaving the box shows its view.
  if (tReportAcc->currentText() != before) tReportAcc->lineEdit()->setModified(true);
  return true;
}

void LedgerWindow::Rebuild(bool keepPosition) {
  if (building_) return;
  building_ = true;
  const Books& books = context_.TheBooks;
  // A name written in other letters (pasted, or left by Backspace) means the account.
  if (const int item = tReportAcc->findText(tReportAcc->currentText(), Qt::MatchFixedString);
      item >= 0 && tReportAcc->itemText(item) != tReportAcc->currentText())
    tReportAcc->setEditText(tReportAcc->itemText(item));
  LedgerInputs inputs;
  inputs.AccountText = tReportAcc->currentText().toStdString();
  inputs.WithSubAccounts = SubAccounts->isChecked();
  inputs.FromText = DateSearch(0)->Text().toStdString();
  inputs.ToText = DateSearch(1)->Text().toStdString();
  inputs.AllowAllAccounts = allAccounts_;
  inputs.HideReconciled = HideReconciled;
  const auto read = ReadLedgerInputs(books, inputs, context_.Locale, context_.TheClock.Today());
  builtStamp_ = books.BooksStamp;
  if (const auto* message = std::get_if<std::string>(&read)) {
    ShowSheet(MessageSheet(*message));
  } else {
    std::optional<BusyPointer> busy;
    if (books.LastLineIndex() > kLongJournalLines) busy.emplace();
    ShowSheet(BuildSheet(std::get<LedgerOptions>(read)));
  }
  if (!keepPosition) ScrollTo(0);
  built_ = true;
  building_ = false;
}

void LedgerWindow::ShowSheet(LedgerSheet sheet) {
  sheet_->SetSheet(std::move(sheet));
  UpdateScrollRange();
}

void LedgerWindow::UpdateScrollRange() {
  const int64_t last =
      std::min<int64_t>(sheet_->LastFirstRow(), std::numeric_limits<int32_t>::max());
  scroll_->SetValueMax(static_cast<int>(last));
  scroll_->SetValue(static_cast<int>(std::min(sheet_->FirstRow(), last)));
  scroll_->Refresh();
  const int hidden = sheet_->HiddenWidth();
  across_->SetValueMax(hidden);
  across_->SetValue(std::clamp(across_->Value(), 0, hidden));
  across_->SetValueLargeChange(std::max(1, sheet_->width()));
  across_->setVisible(hidden > 0);
  across_->Refresh();
}

void LedgerWindow::FitWidthToSheet() {
  const int wanted = sheet_->FullWidthPixels() + (width() - sheet_->width());
  if (wanted > width()) resize(std::min(wanted, RoomOf(this).width()), height());
}

void LedgerWindow::ScrollTo(int64_t firstRow) {
  const int64_t last =
      std::min<int64_t>(sheet_->LastFirstRow(), std::numeric_limits<int32_t>::max());
  scroll_->SetValue(static_cast<int>(std::clamp<int64_t>(firstRow, 0, last)));
}

void LedgerWindow::SetBackColor(ColorValue color) {
  backColor_ = color;
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, ToQColor(color));
  setPalette(palette);
  setAutoFillBackground(true);
  sheet_->SetBackColor(color);
  scroll_->SetBackColor(color);
}

void LedgerWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!built_) {
    Rebuild();
    FitWidthToSheet();
  }
}

void LedgerWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && built_ &&
      builtStamp_ != context_.TheBooks.BooksStamp)
    Rebuild(true);
}

void LedgerWindow::RunSheetJob(const std::function<void(const ProgressFn& progress)>& job) {
  std::optional<WaitScreen> wait;
  if (Sheet().Table.RowCount > kLongTableRows)
    wait.emplace(this, context_.TheSession, Sheet().Table.RowCount);
  job(wait ? wait->PositionProgress() : ProgressFn());
}

void LedgerWindow::Copy_Click() {
  const LedgerSheet& sheet = Sheet();
  if (!sheet.HasRows()) return;
  RunSheetJob([&](const ProgressFn& progress) { CopyTableToClipboard(sheet.Table, progress); });
}

void LedgerWindow::Export_Click() {
  const LedgerSheet& sheet = Sheet();
  if (!sheet.HasRows()) return;
  FileDialogRequest request{"xls", {"*.xls", "*.csv", "*.rtf", "*.htm"}, kSaveAsId, kSaveId, ""};
  request.writes = true;
  const std::string path = ChooseFile(this, context_.TheSession, request, ChooseExportFile);
  if (path.empty()) return;
  TableFileResult result;
  RunSheetJob([&](const ProgressFn& progress) {
    result =
        WriteTableFile(path, TypeOfPath(path), sheet.Table, context_.TheBooks.FontName, progress);
  });
  if (!result.Ok()) {
    if (context_.ShowFileError) context_.ShowFileError(result.ErrorCode, result.Message);
  } else if (!result.Notice.empty()) {
    ShowMessage(result.Notice, PromptIcon::Information);
  }
}

std::shared_ptr<SheetPrintout> LedgerWindow::Printout() const {
  // The print-out keeps a copy of the sheet, and with it the view, for as long as it needs.
  std::function<void(DrawingSurface&)> header;
  if (PrintsBusinessHeader())
    header = [&books = context_.TheBooks](DrawingSurface& printer) { PrintHeader(printer, books); };
  return std::make_shared<SheetPrintout>(Sheet(), std::move(header));
}

std::function<bool(DrawingSurface& printer, int page)> LedgerWindow::PrintDrawing() const {
  return PagesOf(Printout());
}

void LedgerWindow::Print_Click() {
  if (!Sheet().HasRows()) return;
  const std::shared_ptr<SheetPrintout> printout = Printout();
  LongDocument document{PagesOf(printout), {}};
  // A long sheet prints under the wait screen, its bar following the rows printed.
  if (Sheet().Table.RowCount > kLongTableRows)
    document.Position = [printout] {
      return DocumentPosition{printout->RowsDrawn(), printout->RowCount()};
    };
  PrintDocument(this, context_.TheSession, document);
}

void LedgerWindow::Send_Click() {
  const LedgerSheet& sheet = Sheet();
  if (!sheet.HasRows()) return;
  const std::string subject = sheet.Table.Title.empty() ? std::string() : sheet.Table.Title.front();
  RunSheetJob([&](const ProgressFn& progress) {
    std::string html;
    WriteTableHtml(
        sheet.Table, [&html](std::string_view piece) { html += piece; }, progress);
    WriteEmailFile(MailBaseName(), html, subject);
  });
}

}  // namespace qv
