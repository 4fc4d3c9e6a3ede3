#include "platform/prompts_qt.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QScreen>
#include <QTextBoundaryFinder>
#include <algorithm>

#include "platform/keyboard_return_qt.h"

namespace qv {

namespace {

// A window that a box can stand over.
bool Shown(const QWidget* window) {
  return window != nullptr && window->isVisible() && !window->isMinimized() &&
         !window->windowFlags().testFlag(Qt::Popup);
}

QMessageBox::StandardButton ButtonOf(PromptAnswer answer) {
  switch (answer) {
    case PromptAnswer::Ok: return QMessageBox::Ok;
    case PromptAnswer::Cancel: return QMessageBox::Cancel;
    case PromptAnswer::Yes: return QMessageBox::Yes;
    case PromptAnswer::No: return QMessageBox::No;
  }
  return QMessageBox::NoButton;
}

QMessageBox::StandardButtons ButtonsOf(PromptButtons buttons) {
  switch (buttons) {
    case PromptButtons::Ok: return QMessageBox::Ok;
    case PromptButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case PromptButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case PromptButtons::YesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

QMessageBox::Icon IconOf(PromptIcon icon) {
  switch (icon) {
    case PromptIcon::None: return QMessageBox::NoIcon;
    case PromptIcon::Information: return QMessageBox::Information;
    case PromptIcon::Question: return QMessageBox::Question;
    case PromptIcon::Exclamation: return QMessageBox::Warning;
    case PromptIcon::Critical: return QMessageBox::Critical;
  }
  return QMessageBox::NoIcon;
}

// The most characters a box's text runs without a place to break the line.
constexpr int kLongestUnbroken = 24;

// The text with an invisible break point (a zero-width space) after every kLongestUnbroken
// characters of a run that has no place to break the line (a long file name in a path), so
// that the box wraps it instead of cutting it off at its edge. Blanks, and the slashes and
// hyphens of a path, are such places already.
QString WithBreakPoints(const QString& text) {
  QString out;
  QTextBoundaryFinder lines(QTextBoundaryFinder::Line, text);
  qsizetype start = 0;
  for (qsizetype next = lines.toNextBoundary(); next != -1; next = lines.toNextBoundary()) {
    const QString run = text.mid(start, next - start);
    start = next;
    if (run.size() <= kLongestUnbroken) {
      out += run;
      continue;
    }
    // Whole characters only: a surrogate pair or an accent stays with its letter.
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, run);
    qsizetype from = 0;
    int count = 0;
    for (qsizetype at = characters.toNextBoundary(); at != -1 && at < run.size();
         at = characters.toNextBoundary()) {
      if (++count % kLongestUnbroken != 0) continue;
      out += run.mid(from, at - from) + QChar(0x200B);
      from = at;
    }
    out += run.mid(from);
  }
  return out;
}

// A text that would make the box taller than the screen at the width a box takes of itself
// (a path near the system's limit) is given the width it needs, as far as a message box
// grows: the screen's width less 480 pixels, at most 1000, or the whole width of a screen of
// at most 1024 pixels. The room left beside and below the text is for the icon, the margins,
// the title and the buttons.
void WidenForLongText(QMessageBox* box, const QWidget* parent) {
  constexpr int kRoomBeside = 100;
  constexpr int kRoomBelow = 200;
  auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
  const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
  if (label == nullptr || screen == nullptr) return;
  const QRect available = screen->availableGeometry();
  const int widest =
      (available.width() <= 1024 ? available.width() : std::min(available.width() - 480, 1000)) -
      kRoomBeside;
  const QFontMetrics metrics(label->font());
  const auto heightAt = [&](int width) {
    return metrics
        .boundingRect(QRect(0, 0, width, QWIDGETSIZE_MAX), Qt::TextWordWrap, label->text())
        .height();
  };
  int width = std::min(400, widest);
  if (heightAt(width) <= available.height() - kRoomBelow) return;
  while (width < widest && heightAt(width) > available.height() - kRoomBelow)
    width = std::min(widest, width + 50);
  label->setMinimumWidth(width);
}

}  // namespace

QMessageBox* MakeMessageBox(const PromptRequest& request, QWidget* parent) {
  auto* box = new QMessageBox(parent);
  box->setWindowTitle(QString::fromStdString(request.Caption()));
  // Texts are shown as they are: a name that looks like markup is not markup.
  box->setTextFormat(Qt::PlainText);
  box->setText(WithBreakPoints(QString::fromStdString(request.Text)));
  box->setIcon(IconOf(request.Icon));
  WidenForLongText(box, parent);
  box->setStandardButtons(ButtonsOf(request.Buttons));
  // The first button is the default (OK or Yes) unless the prompt names another it offers;
  // Escape gives the escape answer.
  const PromptAnswer first =
      request.Buttons == PromptButtons::YesNo || request.Buttons == PromptButtons::YesNoCancel
          ? PromptAnswer::Yes
          : PromptAnswer::Ok;
  box->setDefaultButton(ButtonOf(
      request.Default && Offers(request.Buttons, *request.Default) ? *request.Default : first));
  box->setEscapeButton(ButtonOf(EscapeAnswer(request.Buttons)));
  return box;
}

PromptAnswer AnswerOf(QMessageBox::StandardButton button, PromptButtons buttons) {
  PromptAnswer answer;
  switch (button) {
    case QMessageBox::Ok: answer = PromptAnswer::Ok; break;
    case QMessageBox::Cancel: answer = PromptAnswer::Cancel; break;
    case QMessageBox::Yes: answer = PromptAnswer::Yes; break;
    case QMessageBox::No: answer = PromptAnswer::No; break;
    default: return EscapeAnswer(buttons);
  }
  return Offers(buttons, answer) ? answer : EscapeAnswer(buttons);
}

// Keeps the window that took the user's last click or key, with the windows it belongs to,
// nearest first. It only looks: every event goes on as it came.
class QtPromptService::InputWatch final : public QObject {
 public:
  InputWatch() {
    if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(this);
  }

  // The first of the windows still shown.
  QWidget* CommandWindow() const {
    for (const QPointer<QWidget>& window : chain_)
      if (Shown(window)) return window;
    return nullptr;
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick:
      case QEvent::KeyPress:
      case QEvent::ShortcutOverride:  // a key that runs a menu's shortcut comes only as this
        if (watched->isWidgetType()) Follow(static_cast<QWidget*>(watched));
        break;
      case QEvent::Close:  // the window's close box, which the window system handles
        if (event->spontaneous() && watched->isWidgetType()) Follow(static_cast<QWidget*>(watched));
        break;
      default: break;
    }
    return false;
  }

 private:
  void Follow(QWidget* widget) {
    // The same window as before: nothing to do, as for most keys and clicks.
    if (!chain_.empty() && chain_.front() == widget->window()) return;
    chain_.clear();
    // A popup's or a dialog's parent leads to the window it belongs to.
    for (QWidget* window = widget->window(); window != nullptr;
         window = window->parentWidget() ? window->parentWidget()->window() : nullptr)
      chain_.emplace_back(window);
  }

  std::vector<QPointer<QWidget>> chain_;
};

QtPromptService::QtPromptService() : watch_(std::make_unique<InputWatch>()) {}

QtPromptService::~QtPromptService() = default;

QWidget* QtPromptService::BoxParent() const {
  if (QWidget* window = watch_->CommandWindow()) return window;
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  if (QWidget* active = QApplication::activeWindow()) return active;
  // A box without a parent would be placed by the window system wherever it likes, with
  // nothing to say which window it belongs to.
  return Shown(owner_) ? owner_.data() : nullptr;
}

PromptAnswer QtPromptService::Ask(const PromptRequest& request) {
  QWidget* parent = BoxParent();
  // The box may outlive its parent's closing during the nested event loop.
  QPointer<QMessageBox> box = MakeMessageBox(request, parent);
  const int result = RunModal(*box);
  const PromptAnswer answer =
      AnswerOf(static_cast<QMessageBox::StandardButton>(result), request.Buttons);
  delete box.data();
  return answer;
}

}  // namespace qv
