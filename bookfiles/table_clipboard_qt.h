#pragma once
// A table (bookfiles/table_document.h) put on the clipboard as the views' Copy command hands
// it on: its plain text together with its RTF (bookfiles/table_formats.h). Both are written
// straight into the buffers the clipboard keeps, so that a table of a million rows takes no
// memory beyond its two texts.

#include "bookfiles/book_format.h"
#include "bookfiles/table_document.h"

namespace qv {

// Replaces the clipboard's content with the table's text and RTF. `progress` is told how far
// the two are written, the text being the first half of the way.
void CopyTableToClipboard(const TableDocument& table, const ProgressFn& progress = {});

}  // namespace qv
