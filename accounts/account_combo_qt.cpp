#include "accounts/account_combo_qt.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QScreen>
#include <algorithm>

#include "books/entry_fields.h"

namespace qv {
namespace {

constexpr const char* kListName = "TypeAheadList";
// The list shows this many accounts at a time and scrolls for the others.
constexpr int kVisibleRows = 8;

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

// The list of accounts that opens below a box while the user types in it. It is a window
// that never takes the keyboard (the box keeps the focus and every key), and it closes when
// the box loses the focus, is hidden or its window is left.
class TypeAheadList final : public QListView {
 public:
  explicit TypeAheadList(QComboBox* combo) : QListView(combo), combo_(combo) {
    setObjectName(kListName);
    setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setUniformItemSizes(true);
    connect(this, &QListView::clicked, this, &TypeAheadList::Choose);
    combo->installEventFilter(this);
  }

  // Opens the list (or keeps it open) on the box's account.
  void Open() {
    // The box may have been given another list of accounts since.
    if (model() != combo_->model()) setModel(combo_->model());
    if (model() == nullptr || model()->rowCount() == 0) return;
    setFont(combo_->font());
    Place();
    const QModelIndex item = model()->index(combo_->currentIndex(), combo_->modelColumn());
    setCurrentIndex(item);
    if (!item.isValid()) clearSelection();
    if (!isVisible()) {
      show();
      if (window_ = combo_->window(); window_ != nullptr) window_->installEventFilter(this);
    }
    if (item.isValid()) scrollTo(item, QAbstractItemView::PositionAtTop);
    raise();
  }

  void Close() {
    if (window_ != nullptr) window_->removeEventFilter(this);
    window_ = nullptr;
    hide();
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!isVisible()) return false;
    switch (event->type()) {
      case QEvent::KeyPress: {
        if (watched != combo_) return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape) {
          Close();
          return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab ||
            key == Qt::Key_Backtab)
          Close();
        return false;
      }
      case QEvent::Move:
      case QEvent::Resize: Place(); return false;
      case QEvent::FocusOut:
      case QEvent::Hide:
      case QEvent::WindowDeactivate:
      case QEvent::WindowStateChange: Close(); return false;
      default: return false;
    }
  }

 private:
  // Below the box, as wide as it, or above it when the screen ends below.
  void Place() {
    const QRect box(combo_->mapToGlobal(QPoint(0, 0)), combo_->size());
    const int rows = std::min(model()->rowCount(), kVisibleRows);
    const int rowHeight = std::max(sizeHintForRow(0), fontMetrics().height());
    const int height = rows * rowHeight + 2 * frameWidth();
    int top = box.bottom() + 1;
    if (const QScreen* screen = combo_->screen()) {
      const QRect area = screen->availableGeometry();
      if (top + height > area.bottom() + 1 && box.top() - height >= area.top())
        top = box.top() - height;
    }
    setGeometry(box.left(), top, box.width(), height);
  }

  void Choose(const QModelIndex& item) {
    Close();
    if (!item.isValid()) return;
    combo_->setCurrentIndex(item.row());
    if (QLineEdit* edit = combo_->lineEdit()) edit->selectAll();
    emit combo_->activated(item.row());
  }

  QComboBox* combo_;
  QWidget* window_ = nullptr;
};

TypeAheadList* ListOf(const QComboBox* combo) {
  return combo->findChild<TypeAheadList*>(kListName, Qt::FindDirectChildrenOnly);
}

}  // namespace

void MakeAccountCombo(QComboBox* combo) {
  combo->setEditable(true);
  combo->setInsertPolicy(QComboBox::NoInsert);
  combo->setCompleter(nullptr);
  // Made now rather than on the first key: an event filter added while the box's key is
  // being handled would see that key again.
  if (ListOf(combo) == nullptr) new TypeAheadList(combo);
}

void ShowComboName(QComboBox* combo, const QString& name) {
  const QSignalBlocker block(combo);
  const int item =
      name.isEmpty() ? -1 : combo->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
  combo->setCurrentIndex(item);
  combo->setEditText(name);
}

TypeAheadOutcome AccountComboTypeAhead(QComboBox* combo, const std::vector<std::string>& names,
                                       const std::string& typed) {
  QLineEdit* edit = combo->lineEdit();
  // Ctrl+A selects the whole name, as in every box; it types nothing.
  if (edit == nullptr || typed == "\x01") return TypeAheadOutcome::Passes;
  TypeAheadList* list = ListOf(combo);
  const QString text = edit->text();
  const bool selected = edit->hasSelectedText();
  const int start = selected ? edit->selectionStart() : edit->cursorPosition();
  const int length = selected ? static_cast<int>(edit->selectedText().size()) : 0;
  const TypeAheadResult found = ComboTypeAhead(names, text.toStdString(), PointsOf(text, start),
                                               PointsOf(text.mid(start), length), typed);
  if (found.KeyPasses) {
    if (typed == "\r" && list != nullptr) list->Close();
    return TypeAheadOutcome::Passes;
  }
  if (found.Found) {
    const QString name = QString::fromStdString(found.Text);
    ShowComboName(combo, name);
    const int from = UnitsAt(name, found.SelectionStart);
    const int to = UnitsAt(name, found.SelectionStart + found.SelectionLength);
    edit->setSelection(from, to - from);
  }
  if (list != nullptr) list->Open();
  return found.Found ? TypeAheadOutcome::Shown : TypeAheadOutcome::Dropped;
}

bool AccountComboKeyPress(QComboBox* combo, const std::vector<std::string>& names,
                          const QKeyEvent& key) {
  const QString typed = key.text();
  if (typed.isEmpty() || key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab) return false;
  if (typed.front().unicode() < 0x20 && typed != "\b" && typed != "\r") return false;
  return AccountComboTypeAhead(combo, names, typed.toStdString()) != TypeAheadOutcome::Passes;
}

QListView* OpenTypeAheadList(const QComboBox* combo) {
  TypeAheadList* list = ListOf(combo);
  return list != nullptr && list->isVisible() ? list : nullptr;
}

}  // namespace qv
