#pragma once
// The user-interface texts, looked up by number. Only the English table exists; it is
// compiled in from resources/strings_en.tsv.

#include <string>

namespace qv {

// The text with the given id, or "" when the table has no such id.
const std::string& Str(int id);

}  // namespace qv
