#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QStringListModel>
#include <QStyle>
#include <algorithm>

#include "accounts/account_combo_qt.h"
#include "accounts/window_shortcuts_qt.h"
#include "app/application_window.h"
#include "controls/date_picker_control.h"
#include "controls/focus_marks_qt.h"
#include "controls/help_window.h"
#include "controls/pending_edit_qt.h"
#include "controls/vertical_scroll_control.h"
#include "controls/wheel_routing_qt.h"
#include "platform/colors_qt.h"
#include "platform/key_codes_qt.h"
#include "platform/placement_qt.h"
#include "platform/screen_fit_qt.h"
#include "platform/string_table.h"
#include "platform/units.h"

namespace qv {
namespace {

void Place(QWidget* w, const DesignRect& r) { PlaceTwips(w, r.Left, r.Top, r.Width, r.Height); }

void SetTextColor(QWidget* w, ColorValue color) {
  QPalette palette = w->palette();
  palette.setColor(QPalette::WindowText, ToQColor(color));
  palette.setColor(QPalette::Text, ToQColor(color));
  w->setPalette(palette);
}

void SetBaseColor(QWidget* w, ColorValue color) {
  QPalette palette = w->palette();
  palette.setColor(QPalette::Base, ToQColor(color));
  w->setPalette(palette);
}

QLabel* MakeLabel(QWidget* parent, int id, const DesignRect& r, Qt::Alignment alignment) {
  auto* label = new QLabel(parent);
  if (id != 0) label->setText(QString::fromStdString(Str(id)));
  label->setAlignment(alignment | Qt::AlignVCenter);
  Place(label, r);
  return label;
}

// Shows a typed text in upper case in its box, the caret where it was; returns that text.
QString ShowInUpperCase(QLineEdit* box, const QString& text) {
  const QString upper = text.toUpper();
  if (upper != text) {
    const int caret = std::min<int>(box->cursorPosition(), static_cast<int>(upper.size()));
    box->setText(upper);
    box->setCursorPosition(caret);
  }
  return upper;
}

// One box of a row, or null for a row that was never made.
template <class Box>
Box* RowBox(const std::vector<EntryRowWidgets>& rows, int row, Box* EntryRowWidgets::*box) {
  return row >= 0 && row < static_cast<int>(rows.size()) ? rows[static_cast<std::size_t>(row)].*box
                                                         : nullptr;
}

}  // namespace

// ---- Small widgets.

PictureImage::PictureImage(QWidget* parent) : QLabel(parent) {
  setFocusPolicy(Qt::NoFocus);
  ActsOnClick(this);  // a click runs a command without taking the focus
  setAlignment(Qt::AlignCenter);
}

void PictureImage::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    pressed_ = true;
    emit MouseDown();
  }
  event->accept();
}

void PictureImage::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const bool wasPressed = pressed_;
  pressed_ = false;
  emit MouseUp();
  if (wasPressed && rect().contains(event->position().toPoint())) emit Click();
  event->accept();
}

void PictureImage::SetKeyboardReachable() { setFocusPolicy(Qt::TabFocus); }

void PictureImage::keyPressEvent(QKeyEvent* event) {
  if (focusPolicy() != Qt::NoFocus && event->modifiers() == Qt::NoModifier &&
      (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return ||
       event->key() == Qt::Key_Enter)) {
    event->accept();
    emit Click();
    return;
  }
  QLabel::keyPressEvent(event);
}

void PictureImage::paintEvent(QPaintEvent* event) {
  QLabel::paintEvent(event);
  if (!hasFocus()) return;
  QPainter painter(this);
  DrawFocusMark(painter, rect(), palette().color(QPalette::WindowText));
}

ButtonBarStrip::ButtonBarStrip(QWidget* parent) : QWidget(parent) {}

void ButtonBarStrip::SetPicture(const QPixmap& picture) {
  picture_ = picture;
  update();
}

void ButtonBarStrip::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!picture_.isNull()) painter.drawPixmap(0, 0, picture_);
  // The etched dividers: a shadow line and a highlight line beside it.
  const QColor shadow = palette().color(QPalette::Dark);
  const QColor light = palette().color(QPalette::Light);
  for (int32_t x : kDividerPairs) {
    painter.setPen(shadow);
    painter.drawLine(Px(x), Px(kDividerTop), Px(x), Px(kDividerBottom));
    painter.setPen(light);
    painter.drawLine(Px(x + 15), Px(kDividerTop), Px(x + 15), Px(kDividerBottom));
  }
}

EntryFrame::EntryFrame(QWidget* parent) : QWidget(parent) { setAutoFillBackground(true); }

void EntryFrame::paintEvent(QPaintEvent*) {
  // Two outlines 10 twips apart: the 3-D highlight, then the button shadow, etched.
  QPainter painter(this);
  const int w = width();
  const int h = height();
  painter.setPen(palette().color(QPalette::Light));
  painter.drawRect(QRect(QPoint(1, 1), QPoint(w - 1, h - 1)));
  painter.setPen(palette().color(QPalette::Dark));
  painter.drawRect(QRect(QPoint(0, 0), QPoint(w - 2, h - 2)));
}

namespace {

// The window's client area, which lays its controls out again whenever it is resized: it
// follows the window through the scroll area that holds it, and only after the window's own
// resize when the window first shows.
class ClientArea final : public QWidget {
 public:
  explicit ClientArea(std::function<void()> resized) : resized_(std::move(resized)) {}

 protected:
  void resizeEvent(QResizeEvent*) override { resized_(); }

 private:
  std::function<void()> resized_;
};

}  // namespace

// ---- The window.

TAcount::TAcount(Application& app)
    : app_(app),
      screen_(app.TheBooks(), app.Locale()),
      fields_(screen_, app.TheClock()),
      commands_(screen_, app.TheClock()) {
  setObjectName("TAcount");
  QFont font("Arial");
  font.setPointSizeF(9);
  setFont(font);
  EndProgram = [] { QCoreApplication::exit(0); };
  BuildControls();
  BuildMenus();
  BuildToolbar();
  ConnectCommands();
  WireEntryFields();
  ConnectEntryCommands();
  SetMinimumWindowSize();
  connect(qApp, &QGuiApplication::commitDataRequest, this, &TAcount::AskBeforeSessionEnds);
}

TAcount::~TAcount() {
  // The controls go first, and tell this window nothing more as they go (a box that has the
  // focus reports losing it while it is half destroyed).
  for (QObject* control : client_->findChildren<QObject*>()) {
    control->removeEventFilter(this);
    QObject::disconnect(control, nullptr, this, nullptr);
  }
  delete client_;
  client_ = nullptr;
}

QLabel* TAcount::GL(int index) const {
  const auto it = labels_.find(index);
  return it == labels_.end() ? nullptr : it->second;
}

void TAcount::BuildControls() {
  client_ = new ClientArea([this] { Form_Resize(); });
  client_->setObjectName("client");
  // The controls fill the window; only a window kept smaller than their minimum (on a work
  // area smaller than it) scrolls them, and then to the control that takes the focus.
  constexpr int kFocusMargin = 50;
  auto* scroller = new QScrollArea(this);
  scroller->setObjectName("clientScroller");
  scroller->setFrameShape(QFrame::NoFrame);
  scroller->setFocusPolicy(Qt::NoFocus);
  scroller->setWidgetResizable(true);
  scroller->setWidget(client_);
  setCentralWidget(scroller);
  // (Tied to the client area, the connection ends as the window's destructor deletes it.)
  connect(qApp, &QApplication::focusChanged, client_, [this, scroller](QWidget*, QWidget* now) {
    if (now == nullptr || !client_->isAncestorOf(now)) return;
    // The whole control and a margin about it for its label (of a box, Qt would show only
    // its text cursor).
    const QRect at(now->mapTo(client_, QPoint(0, 0)), now->size());
    scroller->ensureVisible(at.center().x(), at.center().y(), at.width() / 2 + kFocusMargin,
                            at.height() / 2 + kFocusMargin);
  });

  ButtonBar = new ButtonBarStrip(client_);
  ButtonBar->setObjectName("ButtonBar");
  Place(ButtonBar, design::ButtonBar);

  PNPage[0] = new QPushButton(ButtonBar);
  PNPage[0]->setObjectName("PNPage0");
  PNPage[0]->setIcon(QIcon(":/icons/previous.png"));
  PNPage[0]->setIconSize(QSize(15, 15));
  PNPage[0]->setToolTip(tips::kPrevious);
  Place(PNPage[0], design::PNPagePrevious);
  PNPage[1] = new QPushButton(ButtonBar);
  PNPage[1]->setObjectName("PNPage1");
  PNPage[1]->setIcon(QIcon(":/icons/next.png"));
  PNPage[1]->setIconSize(QSize(15, 15));
  PNPage[1]->setToolTip(tips::kNext);
  Place(PNPage[1], design::PNPageNext);
  // Tab reaches them (after the go-to box) and Space presses them; a click leaves the focus
  // in the entry.
  for (QPushButton* b : PNPage) b->setFocusPolicy(Qt::TabFocus);

  Command1 = new QPushButton(QString::fromStdString(Str(153)), ButtonBar);
  Command1->setObjectName("Command1");
  Command1->setToolTip(tips::kNewEntry);
  Command1->setStyleSheet(
      "QPushButton { color: white; font-weight: bold; background-color: #2f5f8f;"
      " border: 1px solid #1f3f5f; border-radius: 3px; }"
      "QPushButton:pressed { background-color: #1f4468; }"
      // The style's own focus mark is not drawn under a style sheet: the border shows it.
      "QPushButton:focus { border: 2px solid #ffcc33; }");
  Place(Command1, design::Command1);

  Text1 = new QLineEdit(client_);
  Text1->setObjectName("Text1");
  Text1->setToolTip(tips::kGoTo);
  Text1->setMaxLength(kEntryNumberBoxLength);
  QFont goToFont("Arial");
  goToFont.setPointSizeF(9.75);
  goToFont.setBold(true);
  Text1->setFont(goToFont);
  SetBaseColor(Text1, design::kGoToBackground);
  Place(Text1, design::Text1);
  Text1->raise();

  ScrollAcc = new PelVerticalScroll(kMainScrollAccSettings, client_);
  ScrollAcc->setObjectName("ScrollAcc");
  ScrollAcc->setToolTip(tips::kJournalEntries);
  Place(ScrollAcc, design::ScrollAcc);

  xFrame1 = new EntryFrame(client_);
  xFrame1->setObjectName("xFrame1");
  Place(xFrame1, design::XFrame1);

  labels_[2] = MakeLabel(xFrame1, 149, design::NoLabel, Qt::AlignRight);
  labels_[3] = MakeLabel(xFrame1, 148, design::DateLabel, Qt::AlignRight);
  SetTextColor(labels_[2], design::kLabelBlue);
  SetTextColor(labels_[3], design::kLabelBlue);

  JournalID = new QLineEdit(xFrame1);
  JournalID->setObjectName("JournalID");
  JournalID->setMaxLength(kEntryNumberBoxLength);
  JournalID->setToolTip(tips::kEntryNumber);
  Place(JournalID, design::JournalID);

  Datetext = new CalanderForm(app_.Locale(), app_.TheClock(), xFrame1);
  Datetext->setObjectName("Datetext");
  Datetext->SetSession(&app_.TheSession());
  Place(Datetext, design::Datetext);

  Rr = new QCheckBox(QString::fromStdString(Str(147)), xFrame1);
  Rr->setObjectName("Rr");
  Rr->setToolTip(tips::kReconcile);
  Place(Rr, design::Rr);

  eBox = new QWidget(xFrame1);
  eBox->setObjectName("eBox");
  Place(eBox, design::EBox);

  EScroll = new PelVerticalScroll(kMainEScrollSettings, xFrame1);
  EScroll->setObjectName("EScroll");
  Place(EScroll, design::EScroll);
  EScroll->hide();

  labels_[4] = MakeLabel(eBox, 150, design::DebitLabel, Qt::AlignRight);
  labels_[8] = MakeLabel(eBox, 0, design::DebitSign, Qt::AlignLeft);
  labels_[5] = MakeLabel(eBox, 151, design::CreditLabel, Qt::AlignRight);
  labels_[9] = MakeLabel(eBox, 0, design::CreditSign, Qt::AlignLeft);
  labels_[6] = MakeLabel(eBox, 152, design::NotesLabel, Qt::AlignRight);
  SetTextColor(labels_[5], design::kLabelRed);
  SetTextColor(labels_[9], design::kLabelRed);
  SetTextColor(labels_[6], design::kLabelBlue);

  CompoundEntry[1] = new PictureImage(eBox);
  CompoundEntry[1]->setObjectName("CompoundEntry1");
  CompoundEntry[2] = new PictureImage(eBox);
  CompoundEntry[2]->setObjectName("CompoundEntry2");
  for (int i : {1, 2}) {
    CompoundEntry[i]->setPixmap(QPixmap(":/icons/add_line.png"));
    CompoundEntry[i]->setToolTip(tips::kCompound);
  }
  Place(CompoundEntry[1], design::DebitCompound);
  Place(CompoundEntry[2], design::CreditCompound);
  CalcCompound = new PictureImage(eBox);
  CalcCompound->setObjectName("CalcCompound");
  CalcCompound->setPixmap(QPixmap(":/icons/sum.png"));
  CalcCompound->setToolTip(tips::kCalcCompound);
  Place(CalcCompound, design::CalcCompound);
  CalcCompound->hide();

  AccNote = new QLineEdit(eBox);
  AccNote->setObjectName("AccNote");
  AccNote->setToolTip(tips::kNotes);
  {
    QFont bold = AccNote->font();
    bold.setBold(true);
    AccNote->setFont(bold);
    SetBaseColor(AccNote, SystemColorValue(kInfoBackgroundColor));
  }
  Place(AccNote, design::AccNote);

  labels_[7] = MakeLabel(client_, 0, design::StatusLine, Qt::AlignRight);
  labels_[7]->setObjectName("StatusLine");

  accountNames_ = new QStringListModel(this);
  EnsureRows(kMaxRowsPerSide);

  // Events.
  connect(ScrollAcc, &ScrollBarControl::Change, this, &TAcount::ScrollAcc_Change);
  connect(ScrollAcc, &PelVerticalScroll::KeyDown, this, &TAcount::ScrollAccKeyDown,
          Qt::DirectConnection);
  connect(EScroll, &ScrollBarControl::Change, this, &TAcount::EScroll_Change);
  // The wheel over the rows moves them as the row bar's arrows do.
  WheelMovesBar(eBox, EScroll);
  connect(PNPage[0], &QPushButton::clicked, this, [this] { PNPage_Click(0); });
  connect(PNPage[1], &QPushButton::clicked, this, [this] { PNPage_Click(1); });
  connect(Text1, &QLineEdit::returnPressed, this, &TAcount::GoToEntry);
  connect(Text1, &QLineEdit::textEdited, this,
          [this](const QString& text) { ShowInUpperCase(Text1, text); });
  connect(JournalID, &QLineEdit::textEdited, this, &TAcount::JournalIDEdited);
  for (QObject* o : {static_cast<QObject*>(Text1), static_cast<QObject*>(JournalID),
                     static_cast<QObject*>(AccNote), static_cast<QObject*>(Datetext->DateX()),
                     static_cast<QObject*>(CompoundEntry[1]),
                     static_cast<QObject*>(CompoundEntry[2]), static_cast<QObject*>(CalcCompound)})
    o->installEventFilter(this);
}

void TAcount::EnsureRows(int count) {
  while (static_cast<int>(debitRows_.size()) < count) {
    const int row = static_cast<int>(debitRows_.size());
    debitRows_.push_back(MakeRow(kDebit, row));
    creditRows_.push_back(MakeRow(kCredit, row));
    WireEntryRow(kDebit, row);
    WireEntryRow(kCredit, row);
    emit EntryRowCreated(kDebit, row);
    emit EntryRowCreated(kCredit, row);
  }
}

EntryRowWidgets TAcount::MakeRow(int side, int row) {
  const bool debit = side == kDebit;
  const DesignRect& folioRect = debit ? design::DebitFolio : design::CreditFolio;
  const DesignRect& nameRect = debit ? design::DebitAccName : design::CreditAccName;
  const DesignRect& amountRect = debit ? design::DebitAmountText : design::CreditAmountText;
  const QString prefix = debit ? "Debit" : "Credit";
  EntryRowWidgets w;
  w.Folio = new QLineEdit(eBox);
  w.Folio->setObjectName(prefix + "Folio" + QString::number(row));
  w.Folio->setMaxLength(kFolioBoxLength);
  w.Folio->setToolTip(tips::kFolio);
  w.AccName = new QComboBox(eBox);
  w.AccName->setObjectName(prefix + "AccName" + QString::number(row));
  w.AccName->setEditable(true);
  w.AccName->setInsertPolicy(QComboBox::NoInsert);
  w.AccName->setModel(accountNames_);
  w.AccName->setToolTip(debit ? tips::kDebitAccount : tips::kCreditAccount);
  w.AmountText = new QLineEdit(eBox);
  w.AmountText->setObjectName(prefix + "AmountText" + QString::number(row));
  w.AmountText->setMaxLength(kAmountBoxLength);
  w.AmountText->setToolTip(debit ? tips::kDebitAmount : tips::kCreditAmount);
  if (!debit) {
    for (QWidget* box : {static_cast<QWidget*>(w.Folio), static_cast<QWidget*>(w.AccName),
                         static_cast<QWidget*>(w.AmountText)})
      SetBaseColor(box, design::kCreditRowTint);
    SetBaseColor(w.AccName->lineEdit(), design::kCreditRowTint);
  }
  const int32_t top = folioRect.Top;
  PlaceTwips(w.Folio, folioRect.Left, top, folioRect.Width, screen_.Metrics().RowHeight);
  const int32_t nameWidth = geometry_.NameWidth > 0 ? geometry_.NameWidth : nameRect.Width;
  PlaceTwips(w.AccName, nameRect.Left, top, nameWidth, screen_.Metrics().RowHeight);
  const int32_t amountLeft = geometry_.DebitAmountLeft > 0
                                 ? (debit ? geometry_.DebitAmountLeft : geometry_.CreditAmountLeft)
                                 : amountRect.Left;
  PlaceTwips(w.AmountText, amountLeft, top, amountRect.Width, screen_.Metrics().RowHeight);
  for (QObject* o : {static_cast<QObject*>(w.Folio), static_cast<QObject*>(w.AmountText)})
    o->installEventFilter(this);
  const bool shown = row == 0;
  w.Folio->setVisible(shown);
  w.AccName->setVisible(shown);
  w.AmountText->setVisible(shown);
  // Tab order: debit rows, then credit rows, then the notes and New Entry.
  return w;
}

QLineEdit* TAcount::DebitFolio(int row) const {
  return RowBox(debitRows_, row, &EntryRowWidgets::Folio);
}
QComboBox* TAcount::DebitAccName(int row) const {
  return RowBox(debitRows_, row, &EntryRowWidgets::AccName);
}
QLineEdit* TAcount::DebitAmountText(int row) const {
  return RowBox(debitRows_, row, &EntryRowWidgets::AmountText);
}
QLineEdit* TAcount::CreditFolio(int row) const {
  return RowBox(creditRows_, row, &EntryRowWidgets::Folio);
}
QComboBox* TAcount::CreditAccName(int row) const {
  return RowBox(creditRows_, row, &EntryRowWidgets::AccName);
}
QLineEdit* TAcount::CreditAmountText(int row) const {
  return RowBox(creditRows_, row, &EntryRowWidgets::AmountText);
}

// ---- The entry display.

void TAcount::ScrollAcc_Change() {
  CompoundEntry[1]->hide();
  CompoundEntry[2]->hide();
  CalcCompound->hide();
  unknownFolioText_.clear();
  SetStatus(QString(), kBlack);
  const EntryLayout& layout = screen_.ShowLine(ScrollAcc->Value());
  Text1->setText(QString::fromStdString(screen_.EntryNumberText()));
  ShowLayout(layout);
  Rr->setChecked(screen_.Reconciled());
  JournalID->setText(QString::fromStdString(screen_.EntryNumberText()));
  AccNote->setText(QString::fromStdString(screen_.NotesText()));
  ApplyReadOnly(screen_.ReadOnly());
  // The rows start at the top again: the row bar's value goes back to 0 with the offset.
  ApplyRowScroll(RowScrollFor(screen_.ContentBottom(), geometry_.BoxHeight, 0));
  CalcCompound->hide();
  CompoundEntry[1]->setVisible(screen_.DebitCompoundShown());
  CompoundEntry[2]->setVisible(screen_.CreditCompoundShown());
}

void TAcount::DrCrArrange() { ShowLayout(screen_.Arrange()); }

void TAcount::ShowLayout(const EntryLayout& layout) {
  const int needed = static_cast<int>(std::max(layout.Debit.size(), layout.Credit.size()));
  EnsureRows(needed);
  // Rows shown before and not now are hidden and emptied; row 0 of each side stays.
  auto showSide = [this](std::vector<EntryRowWidgets>& rows, const std::vector<EntryRowView>& views,
                         int& shown) {
    const int count = static_cast<int>(views.size());
    for (int k = 0; k < std::max(shown, count); ++k) {
      const auto row = static_cast<std::size_t>(k);
      ShowRow(rows[row], k < count ? views[row] : EntryRowView{}, k < count);
    }
    shown = count;
  };
  showSide(debitRows_, layout.Debit, shownDebitRows_);
  showSide(creditRows_, layout.Credit, shownCreditRows_);
  if (layout.CalcCompound != CalcCompoundPlace::Keep) {
    calcCompoundBeside_ = layout.CalcCompound;
    // A read-only entry offers no sum: it would write the amounts.
    CalcCompound->setVisible(!screen_.ReadOnly());
  }
  PlaceLayout(layout);
  Datetext->SetDateStyle(app_.TheBooks().DateStyleIndex);
  PlaceReconcileBox();
  Datetext->SetText(QString::fromStdString(layout.DateText));
  ShowEntryDateInPicker();
}

void TAcount::PlaceLayout(const EntryLayout& layout) {
  auto setTop = [](QWidget* w, int32_t top) { w->move(w->x(), Px(top)); };
  auto placeSide = [&setTop](std::vector<EntryRowWidgets>& rows,
                             const std::vector<EntryRowView>& views) {
    for (std::size_t k = 0; k < views.size() && k < rows.size(); ++k)
      for (QWidget* box :
           {static_cast<QWidget*>(rows[k].Folio), static_cast<QWidget*>(rows[k].AccName),
            static_cast<QWidget*>(rows[k].AmountText)})
        setTop(box, views[k].Top);
  };
  placeSide(debitRows_, layout.Debit);
  placeSide(creditRows_, layout.Credit);
  setTop(GL(4), layout.DebitLabelTop);
  setTop(GL(8), layout.DebitLabelTop);
  setTop(GL(5), layout.CreditLabelTop);
  setTop(GL(9), layout.CreditSignLabelTop);
  setTop(AccNote, layout.NotesTop);
  setTop(GL(6), layout.NotesLabelTop);
  setTop(CompoundEntry[1], layout.DebitCompoundTop);
  setTop(CompoundEntry[2], layout.CreditCompoundTop);
  MoveCalcCompound();
}

void TAcount::PlaceReconcileBox() {
  const int gap = Px(design::Rr.Left - (design::Datetext.Left + design::Datetext.Width));
  Rr->move(std::max(Px(design::Rr.Left), Datetext->x() + Datetext->width() + gap), Rr->y());
}

void TAcount::ShowEntryDateInPicker() {
  const Books& books = app_.TheBooks();
  if (books.LastLineIndex() >= 0)
    Datetext->SetTheDate(
        books.PostingLines[static_cast<std::size_t>(screen_.EntryFirstLine())].LineDate);
}

void TAcount::ShowRow(EntryRowWidgets& w, const EntryRowView& view, bool visible) {
  w.Folio->setText(QString::fromStdString(view.FolioText));
  ShowComboName(w.AccName, QString::fromStdString(view.AccountName));
  w.AmountText->setText(QString::fromStdString(view.AmountText));
  w.Folio->setVisible(visible);
  w.AccName->setVisible(visible);
  w.AmountText->setVisible(visible);
}

void TAcount::MoveCalcCompound() {
  const PictureImage* beside =
      calcCompoundBeside_ == CalcCompoundPlace::BesideCredit ? CompoundEntry[2] : CompoundEntry[1];
  CalcCompound->move(beside->x() + beside->width() + Px(30), beside->y());
}

void TAcount::ApplyReadOnly(bool readOnly) {
  const bool enabled = !readOnly;
  Datetext->SetEnabled(enabled);
  JournalID->setEnabled(enabled);
  AccNote->setEnabled(enabled);
  CalcCompound->setEnabled(enabled);
  for (auto* rows : {&debitRows_, &creditRows_})
    for (EntryRowWidgets& w : *rows) {
      w.Folio->setEnabled(enabled);
      w.AccName->setEnabled(enabled);
      w.AmountText->setEnabled(enabled);
    }
}

void TAcount::SumEntry() { ApplyEntryStatus(screen_.SumEntry()); }

void TAcount::ApplyEntryStatus(const EntryStatus& status) {
  if (!FolioMessageStands()) SetStatus(QString::fromStdString(status.Text), status.Color);
  if (status.CalcCompound == CalcCompoundChange::Hide) CalcCompound->hide();
  if (status.CalcCompound == CalcCompoundChange::Show && !screen_.ReadOnly()) CalcCompound->show();
}

void TAcount::SetStatus(const QString& text, ColorValue color) {
  QLabel* status = GL(7);
  status->setText(text);
  statusColor_ = color;
  SetTextColor(status, color);
  PlaceStatusLine();
}

void TAcount::PlaceStatusLine() {
  QLabel* status = GL(7);
  const int width = std::max(status->sizeHint().width(), Px(design::StatusLine.Width));
  status->resize(width, Px(design::StatusLine.Height));
  status->move(Px(StatusLineLeft(InnerWidthTwips(), Tw(width))), Px(geometry_.StatusTop));
}

void TAcount::ApplyRowScroll(const RowScrollState& state) {
  // Setting the bar moves no rows by itself: they are moved below, once.
  const bool wasSilent = rowScrollSilent_;
  rowScrollSilent_ = true;
  EScroll->SetValueMax(state.ValueMax);
  EScroll->SetValue(state.Value);
  rowScrollSilent_ = wasSilent;
  if (screen_.EntryScrollOffset() != state.Value) PlaceLayout(screen_.SetRowOffset(state.Value));
  EScroll->setVisible(state.Visible);
  if (state.Visible) EScroll->Refresh();
}

void TAcount::EScroll_Change() {
  if (rowScrollSilent_) return;
  PlaceLayout(screen_.SetRowOffset(EScroll->Value()));
}

void TAcount::ScrollIntoView(const QWidget* box) {
  if (!loaded_) return;
  const int top = box->mapTo(eBox, QPoint(0, 0)).y();
  const int below = top + box->height() - eBox->height();
  int64_t wanted = screen_.EntryScrollOffset();
  if (top < 0)
    wanted += Tw(top) - 15;
  else if (below > 0)
    wanted += Tw(below) + 15;
  else
    return;
  ApplyRowScroll(RowScrollFor(screen_.ContentBottom(), geometry_.BoxHeight, wanted));
}

int32_t TAcount::InnerWidthTwips() const { return Tw(client_->width()); }
int32_t TAcount::InnerHeightTwips() const { return Tw(client_->height()); }

void TAcount::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  // Kept narrower than its controls (on a work area narrower than they are), the window is
  // made taller by the scroll bar below them where there is room, lest they scroll up and
  // down as well.
  if (width() < client_->minimumWidth()) {
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, centralWidget());
    const int tall = std::min(menuBar()->sizeHint().height() + client_->minimumHeight() + bar,
                              RoomOf(this).height());
    if (tall > minimumHeight()) setMinimumHeight(tall);
  }
  Form_Resize();
}

void TAcount::SetMinimumWindowSize() {
  // The toolbar's buttons keep their design places, so the window is never narrower than
  // New Entry's right edge and the toolbar's margin.
  const int newEntryRight = Command1->mapTo(client_, QPoint(Command1->width(), 0)).x();
  const int innerWidth =
      std::max(Px(kMinWindowWidth - kFrameWidthAllowance), newEntryRight + Px(kToolbarMargin));
  client_->setMinimumSize(innerWidth, Px(kMinWindowHeight - kFrameHeightAllowance));
  setMinimumSize(innerWidth, menuBar()->sizeHint().height() + client_->minimumHeight());
}

void TAcount::Form_Resize() {
  if (isMinimized()) return;
  // A window made smaller than the minimum (by a window system that does not keep the
  // window's size hints, or by none) is set back to it; that resize lays it out.
  if (width() < minimumWidth() || height() < minimumHeight()) {
    resize(std::max(width(), minimumWidth()), std::max(height(), minimumHeight()));
  }
  geometry_ =
      ResizeGeometry(InnerWidthTwips(), InnerHeightTwips(), Tw(width()), Tw(GL(7)->width()));
  const MainWindowGeometry& g = geometry_;
  ScrollAcc->setGeometry(Px(g.ScrollAccLeft), ScrollAcc->y(), ScrollAcc->width(),
                         Px(g.ScrollAccHeight));
  ScrollAcc->Refresh();
  xFrame1->resize(Px(g.FrameWidth), Px(g.FrameHeight));
  eBox->resize(Px(g.BoxWidth), Px(g.BoxHeight));
  ButtonBar->resize(std::max(Px(g.ButtonBarWidth), ButtonBar->width()), ButtonBar->height());
  // The currency sign stands beside the account list, or ends just before the amount box
  // where it would run into it; the list then ends before the sign.
  for (auto* rows : {&debitRows_, &creditRows_}) {
    const bool debit = rows == &debitRows_;
    QLabel* sign = GL(debit ? 8 : 9);
    const int amountLeft = Px(debit ? g.DebitAmountLeft : g.CreditAmountLeft);
    const int signLeft =
        std::min(Px(debit ? g.DebitSignLeft : g.CreditSignLeft), amountLeft - sign->width() - 1);
    sign->move(signLeft, sign->y());
    for (EntryRowWidgets& w : *rows) {
      w.AccName->resize(std::min(Px(g.NameWidth), signLeft - w.AccName->x() - 1),
                        w.AccName->height());
      w.AmountText->move(amountLeft, w.AmountText->y());
    }
  }
  AccNote->resize(Px(g.NotesWidth), AccNote->height());
  EScroll->setGeometry(Px(g.EScrollLeft), EScroll->y(), EScroll->width(), Px(g.EScrollHeight));
  PlaceStatusLine();
  CompoundEntry[2]->move(Px(g.CreditCompoundLeft), CompoundEntry[2]->y());
  CompoundEntry[1]->move(Px(g.DebitCompoundLeft), CompoundEntry[1]->y());
  MoveCalcCompound();
  if (!loaded_) return;
  ApplyRowScroll(RowScrollFor(screen_.ContentBottom(), g.BoxHeight, screen_.EntryScrollOffset()));
}

void TAcount::RefillAccountLists() {
  QStringList names;
  for (const std::string& name : AccountListNames(app_.TheBooks()))
    names.push_back(QString::fromStdString(name));
  accountNames_->setStringList(names);
  // A new list clears the boxes' texts: the shown entry is written again.
  if (loaded_) DrCrArrange();
}

// ---- Navigation.

void TAcount::EntryKeyNavigation(int16_t& keyCode, int16_t) {
  switch (keyCode) {
    case kKeyUp:
    case kKeyDown:
      ScrollAcc->SetValue(ScrollValueOf(screen_.EntryKeyTarget(keyCode)));
      keyCode = 0;
      break;
    case kKeyPageUp:
    case kKeyPageDown:
      if (JournalID->isEnabled()) JournalID->setFocus();
      keyCode = 0;
      break;
    default: break;
  }
}

void TAcount::ScrollAccKeyDown(int16_t& keyCode, int16_t&) {
  if (keyCode == kKeyUp) {
    ScrollAcc->SetValue(ScrollValueOf(screen_.PreviousEntryTarget()));
    keyCode = 0;
  } else if (keyCode == kKeyDown) {
    ScrollAcc->SetValue(ScrollValueOf(screen_.NextEntryTarget()));
    keyCode = 0;
  }
}

void TAcount::Text1KeyDown(int16_t& keyCode) {
  int16_t shift = 0;
  ScrollAccKeyDown(keyCode, shift);
}

void TAcount::keyPressEvent(QKeyEvent* event) {
  // Keys that no control took: Up and Down show the entry before and after, as on the
  // journal scroll bar.
  const int16_t pressed = VirtualKeyOf(*event);
  int16_t key = pressed;
  int16_t shift = 0;
  ScrollAccKeyDown(key, shift);
  if (key != pressed) {
    event->accept();
    return;
  }
  QMainWindow::keyPressEvent(event);
}

void TAcount::PNPage_Click(int index) {
  ScrollAcc->SetValue(
      ScrollValueOf(index == 0 ? screen_.PreviousEntryTarget() : screen_.NextEntryTarget()));
  if (JournalID->isEnabled()) JournalID->setFocus();
}

void TAcount::GoToEntry() {
  const QString text = Text1->text();
  const std::optional<int32_t> line = screen_.FindEntryNumber(text.toStdString());
  if (!line) {
    SetStatus(QString::fromStdString(EntryScreen::NotFoundText(text.toStdString())), kBlack);
    return;
  }
  screen_.SetShownEntry(*line, *line);
  ScrollAcc->SetValue(*line);
}

void TAcount::JournalIDEdited(const QString& text) {
  screen_.StoreEntryNumber(ShowInUpperCase(JournalID, text).toStdString());
}

bool TAcount::ShowHelpCard(const HelpCard& card) { return TheHelpDesk().ShowCard(card); }

bool TAcount::ShowHelpCard(EntryHelpTopic topic) { return ShowHelpCard(EntryHelp(topic)); }

void TAcount::JournalID_Click() { ShowHelpCard(EntryHelpTopic::EntryNumber); }

void TAcount::JournalID_DblClick() {
  app_.TheSession().SearchMode = kSearchEntryNumber;
  if (app_.Windows().ShowFindEntry) app_.Windows().ShowFindEntry();
}

void TAcount::Text1_Click() { ShowHelpCard(EntryHelpTopic::GoToReference); }

bool TAcount::eventFilter(QObject* watched, QEvent* event) {
  // The box is not asked to keep a menu's shortcut for its own binding (on X11 a text box
  // takes Ctrl+E as the end of its line): the menu item runs.
  if (event->type() == QEvent::ShortcutOverride) return LeaveKeyToWindowShortcut(this, event);
  if (watched == Datetext->DateX()) return false;  // the date box has handlers of its own
  if (event->type() == QEvent::FocusIn && watched->isWidgetType() &&
      eBox->isAncestorOf(static_cast<QWidget*>(watched)))
    ScrollIntoView(static_cast<QWidget*>(watched));
  if (EntryFieldEvent(watched, event)) return true;
  // The account lists keep their own keys: Up and Down choose in the list.
  if (const auto it = rowOf_.find(watched);
      it != rowOf_.end() && it->second.Field == RowField::Name)
    return QMainWindow::eventFilter(watched, event);
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    int16_t code = VirtualKeyOf(*key);
    const int16_t pressed = code;
    if (watched == Text1) {
      Text1KeyDown(code);
    } else if (code == kKeyUp || code == kKeyDown || code == kKeyPageUp || code == kKeyPageDown) {
      EntryKeyNavigation(code, ShiftMaskOf(key->modifiers()));
    }
    if (code == 0 && pressed != 0) return true;
  } else if (event->type() == QEvent::MouseButtonPress) {
    if (watched == Text1) {
      Text1->clear();
      Text1_Click();
    } else if (watched == JournalID) {
      JournalID_Click();
    }
  } else if (event->type() == QEvent::MouseButtonDblClick && watched == JournalID) {
    JournalID_DblClick();
  } else if (event->type() == QEvent::FocusIn && watched == Text1) {
    if (Text1->cursorPosition() == 0) Text1->selectAll();
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace qv
