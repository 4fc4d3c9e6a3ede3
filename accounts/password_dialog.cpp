#include "accounts/password_dialog.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <functional>
#include <utility>

#include "controls/text_box_keys_qt.h"
#include "controls/wait_screen_model.h"
#include "platform/colors_qt.h"
#include "platform/key_codes.h"
#include "platform/key_codes_qt.h"
#include "platform/keyboard_return_qt.h"
#include "platform/placement_qt.h"
#include "platform/string_table.h"
#include "platform/units.h"

namespace qv {

namespace {

// The design, in twips.
constexpr int kWindowWidth = 4500;
constexpr int kWindowHeight = 1950;
// The band across the top: 30 lines running through the gradient and 30 back, one pixel
// each.
constexpr int kBandLines = 60;

// The password box. Every key press that reaches it is reported once the box has handled
// it, so that the lockout sees whether that key got the password accepted: by its character
// code, or for a character beyond those codes by its Unicode value; each character that an
// input method hands in counts as a key of its own. Enter and Escape reach it like any key
// but do nothing in it; they never reach the window's own handling (default button,
// closing). Ctrl+A selects the whole text here, as in every box, and counts like any key:
// the program's shared rule for it leaves the key to this box.
class MaskedPasswordBox final : public QLineEdit {
 public:
  MaskedPasswordBox(QWidget* parent, std::function<void(int)> keyHandled)
      : QLineEdit(parent), keyHandled_(std::move(keyHandled)) {
    LeaveSelectAllToBox(*this);
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    int code = KeyAsciiOf(*event);
    if (code == 0) code = static_cast<int>(TypedCharacterOf(*event));
    if (code == kCharEnter || code == kCharEscape)
      event->accept();
    else
      QLineEdit::keyPressEvent(event);
    keyHandled_(code);
  }

  void inputMethodEvent(QInputMethodEvent* event) override {
    const QString committed = event->commitString();
    QLineEdit::inputMethodEvent(event);
    for (const char32_t c : committed.toUcs4()) keyHandled_(static_cast<int>(c));
  }

 private:
  std::function<void(int)> keyHandled_;
};

}  // namespace

PasswordDialog::PasswordDialog(PasswordPromptModel& model, const Books& books,
                               const Session& session, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint),
      model_(model),
      session_(session) {
  setObjectName("Passit");
  setWindowTitle(QString::fromStdString(Str(184)));
  QFont font = this->font();
  font.setFamily("Arial");
  font.setBold(true);
  setFont(font);

  const double scale = session.ScreenScale;
  label_ = new QLabel(QString::fromStdString(Str(185)), this);
  label_->setObjectName("Label1");
  PlaceTwips(label_, 240, 300, 4020, 300, scale);

  box_ = new MaskedPasswordBox(this, [this](int code) { OnKeyHandled(code); });
  box_->setObjectName("Text1");
  box_->setEchoMode(QLineEdit::Password);
  box_->setStyleSheet("QLineEdit { lineedit-password-character: 42; }");
  box_->setMaxLength(kPasswordMaxLength);
  QFont boxFont = box_->font();
  boxFont.setFamily(QString::fromStdString(books.FontName));
  box_->setFont(boxFont);
  PlaceTwips(box_, 240, 900, 4020, 345, scale);
  connect(box_, &QLineEdit::textChanged, this, &PasswordDialog::OnTextChanged);

  exit_ = new QPushButton(QString::fromStdString(Str(116)), this);
  exit_->setObjectName("Command1");
  exit_->setAutoDefault(false);
  exit_->setDefault(false);
  PlaceTwips(exit_, 3180, 1440, 1080, 375, scale);
  connect(exit_, &QPushButton::clicked, this, &PasswordDialog::reject);

  setFixedSize(TwipsToPixels(kWindowWidth, scale), TwipsToPixels(kWindowHeight, scale));
  box_->setFocus();
}

bool PasswordDialog::Ask(const std::string& wanted) {
  model_.Begin(wanted);
  exited_ = false;
  RunModal(*this);
  return model_.Accepted();
}

void PasswordDialog::reject() {
  exited_ = true;
  QDialog::reject();
}

void PasswordDialog::showEvent(QShowEvent* event) {
  // Each showing starts with an empty box.
  box_->clear();
  box_->setFocus();
  QDialog::showEvent(event);
}

void PasswordDialog::paintEvent(QPaintEvent* event) {
  if (!FadeColorsSet(session_.FadeColors)) {
    QDialog::paintEvent(event);
    return;
  }
  QPainter painter(this);
  for (int y = 1; y <= kBandLines; ++y) {
    painter.setPen(ToQColor(FadeSequenceColor(session_.FadeColors, y - 1)));
    painter.drawLine(0, y, width(), y);
  }
}

void PasswordDialog::keyPressEvent(QKeyEvent* event) {
  // Escape does not leave the prompt; only "Exit" does.
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void PasswordDialog::OnTextChanged(const QString& text) {
  if (model_.TextChanged(text.toStdString())) accept();
}

void PasswordDialog::OnKeyHandled(int characterCode) {
  if (model_.KeyPressed(characterCode)) reject();
}

PasswordDialogPrompt::PasswordDialogPrompt(PasswordPromptModel& model, const Books& books,
                                           const Session& session, QWidget* owner)
    : model_(model), books_(books), session_(session), owner_(owner) {}

PasswordDialogPrompt::~PasswordDialogPrompt() { delete dialog_.data(); }

void PasswordDialogPrompt::Ask(const std::string& wanted, Session& session) {
  if (!dialog_) dialog_ = new PasswordDialog(model_, books_, session_, owner_);
  const bool accepted = dialog_->Ask(wanted);
  if (accepted) {
    session.LoginPassword = model_.AcceptedPassword();
  } else if (dialog_ && dialog_->WasExited()) {
    delete dialog_.data();
  }
}

}  // namespace qv
