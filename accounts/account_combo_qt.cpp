#include "accounts/account_combo_qt.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "books/entry_fields.h"

namespace qv {
namespace {

// Code points in the first `units` UTF-16 units of the text, and back.
std::size_t PointsOf(const QString& text, int units) {
  return static_cast<std::size_t>(text.left(units).toUcs4().size());
}
int UnitsAt(const QString& text, std::size_t points) {
  int units = 0;
  for (std::size_t k = 0; k < points && units < text.size(); ++k)
    units += text.at(units).isHighSurrogate() && units + 1 < text.size() ? 2 : 1;
  return units;
}

}  // namespace

void MakeAccountCombo(QComboBox* combo) {
  combo->setEditable(true);
  combo->setInsertPolicy(QComboBox::NoInsert);
  combo->setCompleter(nullptr);
}

void ShowComboName(QComboBox* combo, const QString& name) {
  const QSignalBlocker block(combo);
  const int item =
      name.isEmpty() ? -1 : combo->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
  combo->setCurrentIndex(item);
  combo->setEditText(name);
}

bool AccountComboKeyPress(QComboBox* combo, const std::vector<std::string>& names,
                          const QKeyEvent& key) {
  const QString typed = key.text();
  if (typed.isEmpty() || key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab) return false;
  if (typed.front().unicode() < 0x20 && typed != "\b" && typed != "\r") return false;
  QLineEdit* edit = combo->lineEdit();
  if (edit == nullptr) return false;
  const QString text = edit->text();
  const bool selected = edit->hasSelectedText();
  const int start = selected ? edit->selectionStart() : edit->cursorPosition();
  const int length = selected ? static_cast<int>(edit->selectedText().size()) : 0;
  const TypeAheadResult found =
      ComboTypeAhead(names, text.toStdString(), PointsOf(text, start),
                     PointsOf(text.mid(start), length), typed.toStdString());
  if (found.KeyPasses) return false;
  if (!found.Found) return true;
  const QString name = QString::fromStdString(found.Text);
  ShowComboName(combo, name);
  const int from = UnitsAt(name, found.SelectionStart);
  const int to = UnitsAt(name, found.SelectionStart + found.SelectionLength);
  edit->setSelection(from, to - from);
  return true;
}

}  // namespace qv
