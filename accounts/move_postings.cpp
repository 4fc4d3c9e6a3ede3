#include "accounts/move_postings.h"

#include "books/module_procedures.h"

namespace qv {

std::optional<MoveRequest> MoveRequestOf(const Books& books, std::string_view fromText,
                                         std::string_view toText) {
  if (fromText.empty() || toText.empty()) return std::nullopt;
  const Folio from = FolioOfAccount(books, fromText);
  const Folio to = FolioOfAccount(books, toText);
  if (from.IsZero() || to.IsZero()) return std::nullopt;
  return MoveRequest{from, to};
}

std::string MoveQuestionText(const MoveRequest& request, std::string_view decimalSymbol) {
  return "Move Account " + PlainAmountText(request.From, decimalSymbol) + " to " +
         PlainAmountText(request.To, decimalSymbol) + ", Are you sure ?";
}

int64_t MovePostings(Books& books, const MoveRequest& request) {
  if (request.From == request.To) return 0;
  int64_t moved = 0;
  for (PostingLine& line : books.PostingLines) {
    if (line.LineFolio != request.From) continue;
    line.LineFolio = request.To;
    ++moved;
  }
  if (moved > 0) RaiseBooksStamp(books);
  return moved;
}

std::string MovedPostingsText(int64_t moved, const MoveRequest& request,
                              std::string_view decimalSymbol) {
  const std::string from = PlainAmountText(request.From, decimalSymbol);
  const std::string to = PlainAmountText(request.To, decimalSymbol);
  if (request.From == request.To)
    return "Both accounts have folio " + from + "; no posting line was moved.";
  if (moved == 0) return "Account " + from + " has no posting line; none was moved.";
  return std::to_string(moved) + (moved == 1 ? " posting line was" : " posting lines were") +
         " moved from account " + from + " to account " + to + ".";
}

}  // namespace qv
