#include "platform/clipboard_qt.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <utility>

namespace qv {

namespace {
QClipboard* Clipboard() { return QGuiApplication::clipboard(); }
}  // namespace

void SetClipboardText(const std::string& text) {
  if (QClipboard* clipboard = Clipboard()) clipboard->setText(QString::fromStdString(text));
}

namespace {
void SetClipboardData(const std::string* text, const std::string& rtf) {
  QClipboard* clipboard = Clipboard();
  if (!clipboard) return;
  auto* data = new QMimeData;
  if (text) data->setText(QString::fromStdString(*text));
  const QByteArray bytes = QByteArray::fromStdString(rtf);
  data->setData(QString::fromLatin1(kRtfMimeType), bytes);
  data->setData(QString::fromLatin1(kRtfMimeTypeAlias), bytes);
  clipboard->setMimeData(data);  // the clipboard takes ownership
}
}  // namespace

void SetClipboardRtf(const std::string& rtf) { SetClipboardData(nullptr, rtf); }

void SetClipboardTextAndRtf(QByteArray text, QByteArray rtf) {
  QClipboard* clipboard = Clipboard();
  if (!clipboard) return;
  auto* data = new QMimeData;
  // Plain text given as bytes is read as UTF-8, here and by the programs it is pasted into.
  data->setData(QStringLiteral("text/plain"), std::move(text));
  data->setData(QString::fromLatin1(kRtfMimeType), rtf);
  data->setData(QString::fromLatin1(kRtfMimeTypeAlias), std::move(rtf));
  clipboard->setMimeData(data);  // the clipboard takes ownership
}

void SetClipboardTextAndRtf(const std::string& text, const std::string& rtf) {
  SetClipboardData(&text, rtf);
}

std::string ClipboardText() {
  const QClipboard* clipboard = Clipboard();
  return clipboard ? clipboard->text().toStdString() : std::string();
}

std::string ClipboardRtf() {
  const QClipboard* clipboard = Clipboard();
  const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
  if (!data) return {};
  for (const char* type : {kRtfMimeType, kRtfMimeTypeAlias})
    if (data->hasFormat(QString::fromLatin1(type)))
      return data->data(QString::fromLatin1(type)).toStdString();
  return {};
}

}  // namespace qv
