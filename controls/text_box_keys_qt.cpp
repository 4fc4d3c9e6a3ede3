#include "controls/text_box_keys_qt.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QVariant>
#include <QWidget>

#include "controls/application_filter_qt.h"

namespace qv {
namespace {

// Selects the whole text of a box that holds one; false for anything else (a list that
// cannot be typed in among them).
bool SelectWholeText(QObject* object) {
  if (auto* box = qobject_cast<QLineEdit*>(object)) {
    box->selectAll();
  } else if (auto* list = qobject_cast<QComboBox*>(object); list && list->lineEdit()) {
    list->lineEdit()->selectAll();
  } else if (auto* spin = qobject_cast<QAbstractSpinBox*>(object)) {
    spin->selectAll();
  } else if (auto* plain = qobject_cast<QPlainTextEdit*>(object)) {
    plain->selectAll();
  } else if (auto* rich = qobject_cast<QTextEdit*>(object)) {
    rich->selectAll();
  } else {
    return false;
  }
  return true;
}

// A box that takes typed characters, lists included (they choose by the letters typed).
bool TakesTypedText(const QObject* object) {
  return qobject_cast<const QLineEdit*>(object) != nullptr ||
         qobject_cast<const QComboBox*>(object) != nullptr ||
         qobject_cast<const QAbstractSpinBox*>(object) != nullptr ||
         qobject_cast<const QPlainTextEdit*>(object) != nullptr ||
         qobject_cast<const QTextEdit*>(object) != nullptr;
}

// The property that marks a box taking Ctrl+A itself.
constexpr const char* kOwnSelectAll = "qvOwnSelectAll";

bool IsSelectAll(const QKeyEvent& key) {
  return key.key() == Qt::Key_A && (key.modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier;
}

// Alt with a key that brings a printable character along (Alt alone, and Alt with the
// arrows or function keys, bring none).
bool TypesWithAlt(const QKeyEvent& key) {
  if (!(key.modifiers() & Qt::AltModifier)) return false;
  const QString text = key.text();
  return !text.isEmpty() && text.front().isPrint();
}

class TextBoxKeys final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // Every event of the program passes here: the cheap test of its type comes first.
    if (event->type() != QEvent::KeyPress) return false;
    const auto& key = *static_cast<const QKeyEvent*>(event);
    if (IsSelectAll(key))
      return !watched->property(kOwnSelectAll).toBool() && SelectWholeText(watched);
    // Handled here: neither the box nor a window's key filter sees the key.
    return TypesWithAlt(key) && TakesTypedText(watched);
  }
};

}  // namespace

void InstallTextBoxKeys(QApplication& app) {
  InstallApplicationFilter<TextBoxKeys>(app, "TextBoxKeys");
}

void LeaveSelectAllToBox(QWidget& box) { box.setProperty(kOwnSelectAll, true); }

}  // namespace qv
