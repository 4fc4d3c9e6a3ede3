#pragma once
// The system clipboard as the program uses it: plain text, and plain text together with the
// same content as rich text (RTF) for word processors. Texts are UTF-8; RTF is the bytes of
// an RTF document.

#include <QByteArray>
#include <string>

namespace qv {

// The RTF clipboard formats offered: "text/rtf" and, for programs that look for it under
// that name, "text/richtext".
inline constexpr const char* kRtfMimeType = "text/rtf";
inline constexpr const char* kRtfMimeTypeAlias = "text/richtext";

// Replaces the clipboard's content with the text.
void SetClipboardText(const std::string& text);
// Replaces the clipboard's content with an RTF document alone (no plain text).
void SetClipboardRtf(const std::string& rtf);
// Replaces the clipboard's content with the text and its RTF form, as one content.
void SetClipboardTextAndRtf(const std::string& text, const std::string& rtf);
// The same from the text's UTF-8 bytes: the clipboard keeps these very buffers, so that a
// large text is not copied on its way there.
void SetClipboardTextAndRtf(QByteArray text, QByteArray rtf);
// The clipboard's plain text ("" when it holds none).
std::string ClipboardText();
// The clipboard's RTF ("" when it holds none).
std::string ClipboardRtf();

}  // namespace qv
