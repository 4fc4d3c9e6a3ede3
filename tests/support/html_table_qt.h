#pragma once
// Reads the first table of an HTML page back for tests, as Qt's HTML reader (a browser's
// rules, not XML's) understands it.

#include <QChar>
#include <QString>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <string>
#include <vector>

namespace qv::testing {

// The rows of the page's first table, each cell's text with its non-breaking spaces as
// blanks and trimmed; no rows when the page has no table.
inline std::vector<std::vector<std::string>> HtmlTableRows(const std::string& html) {
  QTextDocument document;
  document.setHtml(QString::fromStdString(html));
  std::vector<std::vector<std::string>> rows;
  for (QTextFrame* frame : document.rootFrame()->childFrames()) {
    auto* table = qobject_cast<QTextTable*>(frame);
    if (table == nullptr) continue;
    for (int r = 0; r < table->rows(); ++r) {
      std::vector<std::string> row;
      for (int c = 0; c < table->columns(); ++c) {
        const QTextTableCell cell = table->cellAt(r, c);
        QTextCursor cursor = cell.firstCursorPosition();
        cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
        row.push_back(cursor.selectedText().replace(QChar(0xA0), ' ').trimmed().toStdString());
      }
      rows.push_back(row);
    }
    break;
  }
  return rows;
}

}  // namespace qv::testing
