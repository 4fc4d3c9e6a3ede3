#pragma once
// Moving the postings of one account to another: every journal line whose folio is exactly
// the first account's folio gets the second account's folio. The chart is not changed, nor
// any other field of a line; sub-accounts are not included (110.1 stays when 110 moves).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "books/books.h"

namespace qv {

// The two folios of a move.
struct MoveRequest {
  Folio From;
  Folio To;
  bool operator==(const MoveRequest&) const = default;
};

// The folios of the accounts named by the two texts (the first account of each name), or
// nothing when a text is empty or names no account: then nothing is to be asked or moved.
std::optional<MoveRequest> MoveRequestOf(const Books& books, std::string_view fromText,
                                         std::string_view toText);

// "Move Account 110 to 200, Are you sure ?", folios in the plain form with the locale's
// decimal symbol.
std::string MoveQuestionText(const MoveRequest& request, std::string_view decimalSymbol);

// Gives every line whose folio equals From exactly the folio To, and returns how many lines
// changed. The change stamp rises when any did.
int64_t MovePostings(Books& books, const MoveRequest& request);

// What the user is told after a move.
std::string MovedPostingsText(int64_t moved, const MoveRequest& request,
                              std::string_view decimalSymbol);

}  // namespace qv
