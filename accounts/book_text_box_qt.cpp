#include "accounts/book_text_box_qt.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <string>

#include "accounts/chart_editor.h"
#include "platform/prompts.h"

namespace qv {

bool HoldToBookTextLimit(QPlainTextEdit* box) {
  // A character of the box is at most three bytes of UTF-8, a line break two.
  if (static_cast<std::size_t>(box->document()->characterCount()) <= kMaxTextBytes / 3)
    return false;
  const std::string text = box->toPlainText().toStdString();
  const std::string_view kept = WithinBookTextLimit(text);
  if (kept.size() == text.size()) return false;
  box->setPlainText(QString::fromUtf8(kept.data(), static_cast<qsizetype>(kept.size())));
  box->moveCursor(QTextCursor::End);
  // Not while the box is still taking the paste in.
  QTimer::singleShot(0, box, [] { ShowMessage(std::string(kBookTextCutMessage)); });
  return true;
}

}  // namespace qv
