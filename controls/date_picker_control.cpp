#include "controls/date_picker_control.h"

#include <qdrawutil.h>

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QFrame>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QToolButton>
#include <QToolTip>
#include <algorithm>

#include "books/date_styles.h"
#include "books/session.h"
#include "controls/pending_edit_qt.h"
#include "platform/colors_qt.h"
#include "platform/key_codes.h"
#include "platform/key_codes_qt.h"
#include "platform/units.h"

namespace qv {

namespace {

// Design sizes in twips: the closed control and the open control (box and panel).
constexpr double kClosedWidth = 1520;
constexpr double kClosedHeight = 345;
constexpr double kOpenWidth = 4575;
constexpr double kOpenHeight = 2375;
// The width of the button beside the box, in pixels.
constexpr int kButtonWidth = 17;

QString ToQ(const std::string& text) { return QString::fromStdString(text); }

// A black triangle centred in `r`, pointing down or up.
void DrawTriangle(QPainter& p, const QRect& r, bool up, const QColor& color) {
  const int cx = r.center().x();
  const int cy = r.center().y();
  QPolygon triangle;
  if (up) {
    triangle << QPoint(cx - 4, cy + 2) << QPoint(cx + 4, cy + 2) << QPoint(cx, cy - 2);
  } else {
    triangle << QPoint(cx - 4, cy - 2) << QPoint(cx + 4, cy - 2) << QPoint(cx, cy + 2);
  }
  p.setPen(Qt::NoPen);
  p.setBrush(color);
  p.drawPolygon(triangle);
}

}  // namespace

// The date box: a line box that tells how wide it must be to show a text whole.
class DateTextBox final : public QLineEdit {
 public:
  explicit DateTextBox(QWidget* parent) : QLineEdit(parent) {}

  // The width at which a text of `textWidth` pixels shows whole, with the caret after it,
  // as the box's style frames it.
  int WidthForText(int textWidth) const {
    // The line box keeps 2 pixels free on either side of its text and 1 for the caret.
    constexpr int kInnerMargins = 2 * 2 + 1;
    const QFontMetrics metrics(font());
    const QMargins text = textMargins();
    const QMargins contents = contentsMargins();
    const int inner = textWidth + kInnerMargins + std::max(0, -metrics.minLeftBearing()) +
                      std::max(0, -metrics.minRightBearing()) + text.left() + text.right() +
                      contents.left() + contents.right();
    QStyleOptionFrame option;
    initStyleOption(&option);
    return style()
        ->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(inner, height()), this)
        .width();
  }
};

// The open/close button beside the box. It shows the closed picture (a raised face with a
// downward triangle) or, while the panel is open, the open picture (a sunken face with an
// upward triangle).
class CalanderButtonImage final : public QWidget {
 public:
  explicit CalanderButtonImage(CalanderForm* owner) : QWidget(owner), owner_(owner) {
    setToolTip(QStringLiteral("Show or Hide..."));
    setFocusPolicy(Qt::NoFocus);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    const bool open = owner_->IsOpen();
    qDrawWinButton(&p, rect(), palette(), open, &palette().brush(QPalette::Button));
    const QColor mark = isEnabled() ? palette().color(QPalette::ButtonText)
                                    : palette().color(QPalette::Disabled, QPalette::ButtonText);
    DrawTriangle(p, rect().adjusted(0, 0, open ? 1 : 0, open ? 1 : 0), open, mark);
  }
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() != Qt::LeftButton) return;
    pressed_ = true;
    // The control takes the focus as a whole, so the host sees the box focused while the
    // panel is open.
    owner_->DateX()->setFocus(Qt::MouseFocusReason);
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() != Qt::LeftButton || !pressed_) return;
    pressed_ = false;
    if (rect().contains(event->position().toPoint())) owner_->CalanderButtonClick();
  }

 private:
  CalanderForm* owner_;
  bool pressed_ = false;
};

// The open panel: month and year lists, step buttons, weekday headings and day cells. It
// is a popup window placed under the box; it paints the headings and cells itself.
class CalanderPanel final : public QFrame {
 public:
  explicit CalanderPanel(CalanderForm* owner) : QFrame(owner, Qt::Popup), owner_(owner) {
    setAttribute(Qt::WA_NoMouseReplay);
    setMouseTracking(true);
    cMonth_ = new QComboBox(this);
    cYear_ = new QComboBox(this);
    for (int i = 0; i < 2; ++i) {
      auto* b = new QToolButton(this);
      b->setArrowType(i == 0 ? Qt::LeftArrow : Qt::RightArrow);
      b->setFocusPolicy(Qt::NoFocus);
      mchange_[i] = b;
    }
    setFocusPolicy(Qt::StrongFocus);
  }

  QComboBox* CMonth() const { return cMonth_; }
  QComboBox* Cyear() const { return cYear_; }
  QToolButton* Mchange(int index) const { return mchange_[index == 0 ? 0 : 1]; }
  const DatePanelLayout& Layout() const { return layout_; }

 protected:
  void resizeEvent(QResizeEvent*) override {
    layout_ = LayOutDatePanel(width(), height());
    auto place = [](QWidget* w, const PixelRect& r) {
      w->setGeometry(r.Left, r.Top, r.Width, r.Height);
    };
    place(mchange_[0], layout_.PreviousMonth);
    place(cMonth_, layout_.MonthList);
    place(mchange_[1], layout_.NextMonth);
    place(cYear_, layout_.YearList);
  }

  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    const QPalette pal = palette();
    const QColor face = ToQColor(kDayCellBackColor, pal);
    p.fillRect(rect(), face);

    const DatePickerModel& model = owner_->Model();
    QFont plain = font();
    QFont marked = plain;
    marked.setBold(true);
    p.setPen(pal.color(QPalette::WindowText));
    for (int c = 0; c < 7; ++c) {
      const PixelRect& r = layout_.Headings[static_cast<size_t>(c)];
      p.setFont(c == model.MarkedHeading() ? marked : plain);
      const std::string_view heading = kWeekdayHeadings[static_cast<size_t>(c)];
      p.drawText(QRect(r.Left, r.Top, r.Width, r.Height), Qt::AlignCenter,
                 QString::fromLatin1(heading.data(), static_cast<qsizetype>(heading.size())));
    }

    p.setFont(plain);
    const QBrush faceBrush(face);
    for (int i = 0; i < kDayCellCount; ++i) {
      const DayCell& cell = model.Cells()[static_cast<size_t>(i)];
      if (!cell.Visible) continue;
      const PixelRect& r = layout_.Cells[static_cast<size_t>(i)];
      const QRect box(r.Left, r.Top, r.Width, r.Height);
      qDrawWinButton(&p, box, pal, false, &faceBrush);
      p.setPen(ToQColor(ColorValueOf(cell.Color), pal));
      p.drawText(box, Qt::AlignCenter, QString::number(cell.Day));
    }
    qDrawWinPanel(&p, rect(), pal, false);
  }

  void mousePressEvent(QMouseEvent* event) override {
    const QPoint pos = event->position().toPoint();
    if (!rect().contains(pos)) {
      // A press outside closes the panel. On the button it is the button's own close,
      // which writes the box and raises Click; elsewhere it closes quietly.
      const QWidget* button = owner_->CalanderButton();
      const QPoint onButton = button->mapFromGlobal(event->globalPosition().toPoint());
      if (button->rect().contains(onButton)) {
        owner_->CalanderButtonClick();
      } else {
        owner_->WLoss();
      }
      return;
    }
    pressedCell_ = event->button() == Qt::LeftButton ? DayCellAt(layout_, pos.x(), pos.y()) : -1;
  }

  void mouseReleaseEvent(QMouseEvent* event) override {
    const QPoint pos = event->position().toPoint();
    const int cell = DayCellAt(layout_, pos.x(), pos.y());
    const int pressed = pressedCell_;
    pressedCell_ = -1;
    if (event->button() == Qt::LeftButton && cell >= 0 && cell == pressed) {
      owner_->DayCellClicked(cell);
    }
  }

  void mouseDoubleClickEvent(QMouseEvent* event) override {
    const QPoint pos = event->position().toPoint();
    const int cell = DayCellAt(layout_, pos.x(), pos.y());
    if (event->button() == Qt::LeftButton && cell >= 0 &&
        owner_->Model().Cells()[static_cast<size_t>(cell)].Visible) {
      owner_->DayCellDoubleClicked();
    }
  }

  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Escape) {
      owner_->WLoss();
      return;
    }
    QFrame::keyPressEvent(event);
  }

  bool event(QEvent* event) override {
    if (event->type() == QEvent::ToolTip) {
      auto* help = static_cast<QHelpEvent*>(event);
      const int cell = DayCellAt(layout_, help->pos().x(), help->pos().y());
      const std::string tip = owner_->Model().CellToolTip(cell, owner_->locale_);
      if (tip.empty()) {
        QToolTip::hideText();
        event->ignore();
      } else {
        QToolTip::showText(help->globalPos(), ToQ(tip), this);
      }
      return true;
    }
    return QFrame::event(event);
  }

  void hideEvent(QHideEvent* event) override {
    QFrame::hideEvent(event);
    owner_->PanelHidden();
  }

 private:
  CalanderForm* owner_;
  QComboBox* cMonth_ = nullptr;
  QComboBox* cYear_ = nullptr;
  QToolButton* mchange_[2] = {nullptr, nullptr};
  DatePanelLayout layout_ = LayOutDatePanel(0, 0);
  int pressedCell_ = -1;
};

CalanderForm::CalanderForm(const LocaleInfo& locale, const Clock& clock, QWidget* parent)
    : QWidget(parent), locale_(locale), clock_(clock), model_(clock) {
  dateX_ = new DateTextBox(this);
  dateX_->setObjectName("DateX");
  dateX_->installEventFilter(this);
  button_ = new CalanderButtonImage(this);
  setFocusProxy(dateX_);
  setFocusPolicy(Qt::StrongFocus);

  panel_ = new CalanderPanel(this);
  panel_->resize(TwipsToPixels(kOpenWidth), TwipsToPixels(kOpenHeight - kClosedHeight));
  for (int m = 0; m < 12; ++m)
    panel_->CMonth()->addItem(ToQ(locale_.MonthNames[static_cast<size_t>(m)]));
  panel_->CMonth()->installEventFilter(this);
  panel_->Cyear()->installEventFilter(this);
  connect(panel_->CMonth(), &QComboBox::activated, this, [this](int i) { MonthChosen(i); });
  connect(panel_->Cyear(), &QComboBox::activated, this, [this](int i) { YearChosen(i); });
  connect(panel_->Mchange(0), &QToolButton::clicked, this, [this] { MchangeClick(0); });
  connect(panel_->Mchange(1), &QToolButton::clicked, this, [this] { MchangeClick(1); });
  connect(dateX_, &QLineEdit::textChanged, this, [this] { emit Change(); });

  SyncLists();
  ApplyBoxLook();
  resize(sizeHint());
}

CalanderForm::~CalanderForm() = default;

QLineEdit* CalanderForm::DateX() const { return dateX_; }

QSize CalanderForm::sizeHint() const {
  return QSize(std::max(TwipsToPixels(kClosedWidth), minimumWidth()), TwipsToPixels(kClosedHeight));
}

void CalanderForm::SetDateStyle(int style) {
  if (style == dateStyle_) return;
  dateStyle_ = style;
  FitToDates();
}

void CalanderForm::FitToDates() {
  const QFontMetrics metrics(dateX_->font());
  // Digits are written as they are; the widest one stands for every digit.
  QChar widest = u'0';
  for (char16_t digit = u'1'; digit <= u'9'; ++digit)
    if (metrics.horizontalAdvance(QChar(digit)) > metrics.horizontalAdvance(widest))
      widest = QChar(digit);
  int textWidth = 0;
  for (const std::string& sample : DateWidthSamples(dateStyle_, locale_)) {
    QString text = ToQ(sample);
    for (QChar& c : text)
      if (c >= u'0' && c <= u'9') c = widest;
    textWidth = std::max(textWidth, metrics.horizontalAdvance(text));
  }
  setMinimumWidth(dateX_->WidthForText(textWidth) + kButtonWidth);
}

QWidget* CalanderForm::CalanderButton() const { return button_; }
QWidget* CalanderForm::Calender() const { return panel_; }
QComboBox* CalanderForm::CMonth() const { return panel_->CMonth(); }
QComboBox* CalanderForm::Cyear() const { return panel_->Cyear(); }
QAbstractButton* CalanderForm::Mchange(int index) const { return panel_->Mchange(index); }

bool CalanderForm::IsOpen() const { return panel_->isVisible(); }

bool CalanderForm::HasFocusWithin() const {
  if (IsOpen()) return true;
  const QWidget* focus = QApplication::focusWidget();
  return focus != nullptr && (focus == this || isAncestorOf(focus));
}

DaySerial CalanderForm::TheDate() {
  const DaySerial date = model_.TheDate();
  panel_->update();
  return date;
}

void CalanderForm::SetTheDate(DaySerial date) {
  model_.SetTheDate(date);
  SyncLists();
  panel_->update();
}

void CalanderForm::CalcDate(int day, int month, int year, bool noDraw) {
  model_.CalcDate(day, month, year, noDraw);
  SyncLists();
  panel_->update();
}

QString CalanderForm::Text() const { return dateX_->text(); }
void CalanderForm::SetText(const QString& text) {
  dateX_->setText(text);
  dateX_->setCursorPosition(0);
}

void CalanderForm::SetBackColor(ColorValue color) {
  settings_.BackColor = color;
  ApplyBoxLook();
}
void CalanderForm::SetForeColor(ColorValue color) {
  settings_.ForeColor = color;
  ApplyBoxLook();
}
void CalanderForm::SetFontItalic(bool italic) {
  settings_.FontItalic = italic;
  ApplyBoxLook();
}
void CalanderForm::SetFontBold(bool bold) {
  settings_.FontBold = bold;
  ApplyBoxLook();
}
void CalanderForm::SetFontSize(double points) {
  if (!IsUsableFontSize(points)) return;
  settings_.FontSize = points;
  ApplyBoxLook();
}
void CalanderForm::SetFontName(const QString& name) {
  settings_.FontName = name.toStdString();
  ApplyBoxLook();
}
void CalanderForm::SetDateToolTipText(const QString& text) {
  settings_.DateToolTipText = text.toStdString();
  dateX_->setToolTip(text);
}

DatePickerSettings CalanderForm::Settings() const {
  DatePickerSettings s = settings_;
  s.Text = dateX_->text().toStdString();
  s.Enabled = isEnabled();
  return s;
}

void CalanderForm::ApplySettings(const DatePickerSettings& settings) {
  settings_ = settings;
  dateX_->setToolTip(ToQ(settings_.DateToolTipText));
  SetText(ToQ(settings_.Text));
  setEnabled(settings_.Enabled);
  ApplyBoxLook();
}

void CalanderForm::ApplyBoxLook() {
  QFont f(ToQ(settings_.FontName));
  f.setPointSizeF(settings_.FontSize);
  f.setBold(settings_.FontBold);
  f.setItalic(settings_.FontItalic);
  dateX_->setFont(f);
  // The colours hold while the box takes input; a disabled box looks like any other
  // disabled box.
  QPalette pal = dateX_->palette();
  const QPalette app = QApplication::palette();
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
    pal.setColor(group, QPalette::Base, ToQColor(settings_.BackColor, app));
    pal.setColor(group, QPalette::Text, ToQColor(settings_.ForeColor, app));
  }
  dateX_->setPalette(pal);
  FitToDates();
}

void CalanderForm::WLoss() {
  if (panel_->isVisible()) panel_->hide();
}

void CalanderForm::Refresh() {
  update();
  button_->update();
  panel_->update();
}

void CalanderForm::PlaceParts() {
  const int buttonWidth = std::min(kButtonWidth, width());
  dateX_->setGeometry(0, 0, width() - buttonWidth, height());
  button_->setGeometry(width() - buttonWidth, 0, buttonWidth, height());
}

void CalanderForm::resizeEvent(QResizeEvent*) { PlaceParts(); }

void CalanderForm::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange && !isEnabled()) WLoss();
  QWidget::changeEvent(event);
}

// The panel is a window of its own; it must not outlive the box on screen.
void CalanderForm::hideEvent(QHideEvent* event) {
  WLoss();
  QWidget::hideEvent(event);
}

void CalanderForm::SyncLists() {
  QComboBox* years = panel_->Cyear();
  if (model_.FirstYear() != listFirstYear_ || model_.LastYear() != listLastYear_) {
    listFirstYear_ = model_.FirstYear();
    listLastYear_ = model_.LastYear();
    QStringList items;
    items.reserve(listLastYear_ - listFirstYear_ + 1);
    for (int y = listFirstYear_; y <= listLastYear_; ++y) items << QString::number(y);
    years->clear();
    years->addItems(items);
  }
  panel_->CMonth()->setCurrentIndex(model_.ShownMonth() - 1);
  years->setCurrentIndex(model_.ShownYear() - listFirstYear_);
}

void CalanderForm::WriteBox(DaySerial date) {
  SetText(ToQ(FormatDateStyle(date, dateStyle_, locale_)));
}

void CalanderForm::CalanderButtonClick() {
  if (IsOpen()) {
    panel_->hide();
    WriteBox(model_.TheDate());
    emit Click();
  } else if (isEnabled()) {
    Open();
  }
}

void CalanderForm::Open() {
  std::string text = dateX_->text().toStdString();
  const DaySerial typed = ParseDateStyle(text, dateStyle_, locale_, clock_.Today());
  if (typed == kZeroDate) {
    const DaySerial today = clock_.Today();
    model_.SetTheDate(today);
    WriteBox(today);
  } else {
    model_.SetTheDate(typed);
  }
  SyncLists();

  QPoint at = mapToGlobal(QPoint(0, height()));
  if (const QScreen* s = screen()) {
    const QRect avail = s->availableGeometry();
    if (at.x() + panel_->width() > avail.right())
      at.setX(std::max(avail.left(), avail.right() - panel_->width()));
    if (at.y() + panel_->height() > avail.bottom())
      at.setY(mapToGlobal(QPoint(0, 0)).y() - panel_->height());
  }
  panel_->move(at);
  panel_->show();
  button_->update();
}

void CalanderForm::PanelHidden() { button_->update(); }

void CalanderForm::DayCellClicked(int k) {
  if (!model_.PickCell(k)) return;
  if (session_ != nullptr) session_->DatePicked = 1;
  WriteBox(model_.TheDate());
  panel_->update();
  CalanderButtonClick();
}

void CalanderForm::DayCellDoubleClicked() {
  if (IsOpen()) CalanderButtonClick();
}

void CalanderForm::ShowChosenDate() {
  SyncLists();
  WriteBox(model_.TheDate());
  panel_->update();
}

void CalanderForm::MchangeClick(int index) {
  if (!model_.StepMonth(index)) return;
  ShowChosenDate();
  panel_->CMonth()->setFocus(Qt::OtherFocusReason);
}

void CalanderForm::MonthChosen(int index) {
  model_.ChooseMonth(index + 1);
  ShowChosenDate();
}

void CalanderForm::YearChosen(int index) {
  model_.ChooseYear(listFirstYear_ + index);
  ShowChosenDate();
}

bool CalanderForm::HandleBoxKey(QKeyEvent* event) {
  const int16_t code = VirtualKeyOf(*event);
  if (code != 0) {
    int16_t keyCode = code;
    int16_t shift = ShiftMaskOf(event->modifiers());
    emit KeyDown(keyCode, shift);
    if (keyCode == 0) return true;
  }
  // Tab and Shift+Tab type no character, whatever text a platform sends with them: they only
  // move the focus, so a host's filter of typed characters cannot keep the focus in the box.
  const bool tab = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
  const int16_t ascii = tab ? 0 : KeyAsciiOf(*event);
  if (ascii != 0) {
    int16_t keyAscii = ascii;
    emit KeyPress(keyAscii);
    if (keyAscii == 0) return true;
    if (keyAscii != ascii && keyAscii >= 32) {
      dateX_->insert(QString(QChar(static_cast<char16_t>(keyAscii))));
      return true;
    }
  }
  return false;
}

bool CalanderForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == dateX_) {
    switch (event->type()) {
      case QEvent::KeyPress: return HandleBoxKey(static_cast<QKeyEvent*>(event));
      case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        const int16_t code = VirtualKeyOf(*key);
        if (key->isAutoRepeat() || code == 0) return false;
        int16_t keyCode = code;
        int16_t shift = ShiftMaskOf(key->modifiers());
        emit KeyUp(keyCode, shift);
        return keyCode == 0;
      }
      case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton) return false;
        if (skipNextRelease_) {
          skipNextRelease_ = false;
        } else if (dateX_->rect().contains(mouse->position().toPoint())) {
          emit Click();
        }
        return false;
      }
      case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
          skipNextRelease_ = true;
          emit DblClick();
        }
        return false;
      case QEvent::FocusOut: {
        if (LeftWithinWindow(dateX_, *static_cast<QFocusEvent*>(event)) && !HasFocusWithin()) {
          emit LostFocus();
        }
        return false;
      }
      default: return false;
    }
  }
  if ((watched == panel_->CMonth() || watched == panel_->Cyear()) &&
      event->type() == QEvent::KeyPress) {
    // The lists are for choosing only: every typed character is dropped.
    const int16_t ascii = KeyAsciiOf(*static_cast<QKeyEvent*>(event));
    return ascii == kCharBackspace || ascii == kCharEnter || ascii >= 32;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace qv
