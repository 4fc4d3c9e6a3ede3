#include "books/entry_clipboard_qt.h"

#include "platform/clipboard_qt.h"

namespace qv {

void CopyEntryToClipboard(const Books& books, EntryRange entry) {
  SetClipboardText(WriteEntryClipboardText(books, entry));
}

std::optional<PastedEntry> PasteEntryFromClipboard(Books& books, const LocaleInfo& locale,
                                                   DaySerial today) {
  return PasteEntry(books, ClipboardText(), locale, today);
}

}  // namespace qv
