#include "controls/help_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFont>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStyle>
#include <QWindow>

#include "controls/focus_marks_qt.h"
#include "platform/units.h"

namespace qv {

namespace {

// The window's design: its size in pixels, its top and its gap to the screen's right edge in
// twips.
constexpr int kWindowWidth = 320;
constexpr int kWindowHeight = 440;
constexpr double kDesignTopTwips = 1200;
constexpr double kRightGapTwips = 50;
constexpr int kPictureSize = 48;

QString DisplayText(const std::string& text) {
  // Paragraph breaks are CR LF pairs; the text box wants plain line feeds.
  QString shown = QString::fromStdString(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return shown;
}

// True when the picture shows anything: an image that could not be read (its plugin is
// missing, or the file is damaged) comes out null or wholly transparent.
bool ShowsSomething(const QPixmap& picture) {
  if (picture.isNull()) return false;
  const QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x)
      if (qAlpha(line[x]) != 0) return true;
  }
  return false;
}

// The program's ledger picture drawn in place of an image that cannot be shown: an open
// book with debit lines in green on the left page and credit lines in red on the right.
QPixmap DrawnPicture(int size) {
  QPixmap picture(size, size);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 32.0, size / 32.0);
  const QColor blue(0x3a, 0x5a, 0x80);
  painter.setPen(QPen(blue, 2));
  painter.setBrush(QColor(0xf4, 0xf1, 0xe6));
  painter.drawRoundedRect(QRectF(3, 4, 26, 24), 2, 2);
  painter.setPen(QPen(blue, 1.5));
  painter.drawLine(QLineF(16, 6, 16, 26));
  painter.drawLine(QLineF(6, 22, 26, 22));
  for (const auto& [color, left] :
       {std::pair{QColor(0x2e, 0x7d, 0x32), 6.0}, std::pair{QColor(0xc6, 0x28, 0x28), 19.0}}) {
    painter.setPen(QPen(color, 2));
    for (const double y : {11.0, 16.0}) painter.drawLine(QLineF(left, y, left + 7, y));
  }
  return picture;
}

HelpDesk* theDesk = nullptr;

void DeleteTheDesk() {
  delete theDesk;
  theDesk = nullptr;
}

// The text box: read only, so it shows no caret, yet it takes the keyboard (the arrow and page
// keys scroll it); the dotted mark inside its edge shows when it has the focus.
class HelpTextBox final : public QPlainTextEdit {
 public:
  using QPlainTextEdit::QPlainTextEdit;

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPlainTextEdit::paintEvent(event);
    if (!hasFocus()) return;
    QPainter painter(viewport());
    DrawFocusMark(painter, viewport()->rect(), palette().color(QPalette::Text));
  }
  void focusInEvent(QFocusEvent* event) override {
    QPlainTextEdit::focusInEvent(event);
    viewport()->update();
  }
  void focusOutEvent(QFocusEvent* event) override {
    QPlainTextEdit::focusOutEvent(event);
    viewport()->update();
  }
};

}  // namespace

HelpWindow::HelpWindow() : QWidget(nullptr, Qt::Tool) {
  setObjectName("HC");
  setAttribute(Qt::WA_DeleteOnClose, false);

  picture_ = new QLabel(this);
  picture_->setObjectName("Im");
  picture_->setFixedSize(kPictureSize, kPictureSize);
  picture_->setAlignment(Qt::AlignCenter);

  title_ = new QLabel(QString::fromUtf8(kHelpWindowTitle), this);
  title_->setObjectName("HelpLabel1");
  title_->setTextFormat(Qt::PlainText);
  title_->setWordWrap(true);
  QFont titleFont = title_->font();
  titleFont.setBold(true);
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
  title_->setFont(titleFont);

  text_ = new HelpTextBox(this);
  text_->setObjectName("HelpLabel2");
  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

  auto* layout = new QGridLayout(this);
  layout->addWidget(picture_, 0, 0);
  layout->addWidget(title_, 0, 1);
  layout->addWidget(text_, 1, 0, 1, 2);
  layout->setColumnStretch(1, 1);
  layout->setRowStretch(1, 1);
  resize(kWindowWidth, kWindowHeight);
  setWindowTitle(QString::fromUtf8(kHelpWindowCaption));
}

void HelpWindow::ShowState(const HelpMode::Window& state, const QIcon& aboutIcon) {
  setWindowTitle(QString::fromStdString(state.caption));
  title_->setText(QString::fromStdString(state.title));
  const QString text = DisplayText(state.text);
  if (text_->toPlainText() != text) text_->setPlainText(text);
  // The program's picture with the About text, the question mark with help cards; the drawn
  // picture when the image cannot be read.
  const QPixmap picture =
      (state.about ? aboutIcon : style()->standardIcon(QStyle::SP_MessageBoxQuestion))
          .pixmap(kPictureSize, kPictureSize);
  picture_->setPixmap(ShowsSomething(picture) ? picture : DrawnPicture(kPictureSize));
}

void HelpWindow::Place(QWidget* near) {
  QScreen* screen = near != nullptr ? near->screen() : nullptr;
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();
  const int frameExtra = frameGeometry().width() - width();
  const int left = area.x() + area.width() - (width() + frameExtra + TwipsToPixels(kRightGapTwips));
  move(left, area.y() + TwipsToPixels(kDesignTopTwips));
}

QString HelpWindow::Title() const { return title_->text(); }

QString HelpWindow::Text() const { return text_->toPlainText(); }

void HelpWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  emit closedByUser();
}

HelpDesk::HelpDesk(ScreenPointer& pointer, QObject* parent) : QObject(parent), mode_(pointer) {}

HelpDesk::~HelpDesk() {
  if (window_) {
    window_->disconnect(this);
    delete window_.data();
  }
}

void HelpDesk::SetMainItem(QAction* helpContents) {
  mainItem_ = helpContents;
  if (mainItem_) {
    mainItem_->setCheckable(true);
    mainItem_->setChecked(mode_.Checked(kMainHelpSwitch));
  }
}

void HelpDesk::ToggleFromMain(QWidget* owner) {
  mode_.Toggle(kMainHelpSwitch);
  // Switching on loads the window afresh: it is placed and shown again.
  if (mode_.Checked(kMainHelpSwitch) && window_) window_->hide();
  Sync(owner);
}

void HelpDesk::ToggleFromItem(QAction* item, QWidget* owner, const HelpCard& card) {
  if (item == nullptr) return;
  if (!items_.contains(item)) {
    const HelpSwitch id = mode_.AddSwitch();
    items_.insert(item, id);
    item->setCheckable(true);
    connect(item, &QObject::destroyed, this, [this, item] {
      mode_.RemoveSwitch(items_.value(item));
      items_.remove(item);
    });
  }
  const HelpSwitch id = items_.value(item);
  mode_.Toggle(id, card);
  if (mode_.Checked(id) && window_) window_->hide();
  Sync(owner);
}

bool HelpDesk::ShowCard(const HelpCard& card) {
  if (!mode_.ShowCard(card)) return false;
  Sync(nullptr);
  return true;
}

void HelpDesk::ShowAbout(QWidget* owner, const QIcon& icon) {
  aboutIcon_ = icon;
  mode_.ShowAbout();
  Sync(owner);
  // Unlike a help card, About is opened to be read and closed: it takes the keyboard, so
  // that Alt+F4 closes it rather than the window behind it.
  if (window_ && window_->isVisible()) {
    window_->raise();
    window_->activateWindow();
  }
}

HelpWindow* HelpDesk::Window() const {
  return mode_.HelpWindow().loaded ? window_.data() : nullptr;
}

void HelpDesk::Sync(QWidget* owner) {
  const HelpMode::Window& state = mode_.HelpWindow();
  if (!state.loaded) {
    if (window_) window_->hide();
  } else {
    if (!window_) {
      window_ = new HelpWindow();
      connect(window_, &HelpWindow::closedByUser, this, &HelpDesk::OnWindowClosed);
      // Should the window go away by other means, help mode must not stay on without it.
      connect(window_, &QObject::destroyed, this, [this] {
        window_ = nullptr;
        if (mode_.HelpWindow().loaded) OnWindowClosed();
      });
    }
    window_->ShowState(state, aboutIcon_);
    if (state.shown && !window_->isVisible()) {
      // The owner is only the transient parent: the window outlives it.
      window_->winId();
      QWidget* top = owner != nullptr ? owner->window() : nullptr;
      if (QWindow* handle = window_->windowHandle())
        handle->setTransientParent(top != nullptr ? top->windowHandle() : nullptr);
      window_->Place(top);
      window_->show();
      window_->raise();
    } else if (!state.shown && window_->isVisible()) {
      window_->hide();
    }
  }
  if (mainItem_) mainItem_->setChecked(mode_.Checked(kMainHelpSwitch));
  for (auto it = items_.cbegin(); it != items_.cend(); ++it)
    it.key()->setChecked(mode_.Checked(it.value()));
}

void HelpDesk::OnWindowClosed() {
  mode_.Unload();
  Sync(nullptr);
}

HelpDesk& TheHelpDesk() {
  if (theDesk == nullptr) {
    theDesk = new HelpDesk();
    // Deleted as the application closes down, while its windows still exist.
    qAddPostRoutine(DeleteTheDesk);
  }
  return *theDesk;
}

}  // namespace qv
