#pragma once
// The entry clipboard on the system clipboard: the main window's Copy Entry and Paste Entry
// commands call these. The text and the paste rules are books/entry_clipboard.h.

#include <optional>

#include "books/entry_clipboard.h"

namespace qv {

// Replaces the clipboard's content with the entry's text, as plain text.
void CopyEntryToClipboard(const Books& books, EntryRange entry);

// Pastes the clipboard's plain text as a new entry at the journal's end (PasteEntry); nothing
// when the clipboard holds no entry text or the paste is refused.
std::optional<PastedEntry> PasteEntryFromClipboard(Books& books, const LocaleInfo& locale,
                                                   DaySerial today);

}  // namespace qv
