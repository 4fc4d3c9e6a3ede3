#pragma once
// The multi-line boxes that feed a book text (an account's details, the business address)
// hold no more than a book file holds in one text (WithinBookTextLimit).

class QPlainTextEdit;

namespace qv {

// Called from the box's textChanged: when the box holds more than a book holds (after a
// paste, say), its text is cut to the longest start that fits, the cursor goes to its end,
// and the user is told once the edit is over. True when the text was cut; the box's
// textChanged has then already run again with the cut text.
bool HoldToBookTextLimit(QPlainTextEdit* box);

}  // namespace qv
