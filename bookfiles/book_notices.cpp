#include "bookfiles/book_notices.h"

#include <vector>

#include "platform/utf8.h"

namespace qv {
namespace {

std::string Quoted(std::string_view path) { return "\"" + std::string(path) + "\""; }

// "a", "a and b", "a, b and c".
std::string Listed(const std::vector<std::string>& items) {
  std::string text;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) text += i + 1 == items.size() ? " and " : ", ";
    text += items[i];
  }
  return text;
}

bool HoldsPreparedEntries(const Books& books) {
  for (int g = 0; g < kPreparedGroupCount; ++g) {
    const auto i = static_cast<std::size_t>(g);
    if (!books.GroupNames[i].TrimmedText().empty()) return true;
    if (books.PreparedGroups[i] != EmptyPreparedEntry()) return true;
  }
  return false;
}

}  // namespace

std::string InsertedEntriesReport(std::string_view path, const MergeResult& merged) {
  const int32_t n = merged.EntriesInserted;
  std::string text = std::to_string(n) + (n == 1 ? " entry was" : " entries were") +
                     " inserted from " + Quoted(path) + ".";
  const auto texts = [](const std::vector<Folio>& list) {
    std::vector<std::string> folios;
    for (const Folio folio : list) folios.push_back(PlainAmountText(folio));
    return folios;
  };
  if (!merged.FoliosNotInChart.empty()) {
    const std::vector<std::string> folios = texts(merged.FoliosNotInChart);
    const bool one = folios.size() == 1;
    text += std::string(" Their postings use ") + (one ? "folio " : "folios ") + Listed(folios) +
            ", which this chart of accounts does not have: those postings show no account and " +
            "stay out of the statements until " + (one ? "an account is" : "accounts are") +
            " given " + (one ? "that folio" : "those folios") + " in Account Settings.";
  }
  if (!merged.SubFoliosWithoutAccount.empty()) {
    const std::vector<std::string> folios = texts(merged.SubFoliosWithoutAccount);
    const bool one = folios.size() == 1;
    text += std::string(" Postings to ") + (one ? "folio " : "folios ") + Listed(folios) +
            " show no account, since this chart has no such sub-account; the statements count " +
            (one ? "them in its main account." : "them in their main accounts.");
  }
  return text;
}

std::string LeftOutOfCopyText(const Books& books, std::string_view type, std::string_view path) {
  const std::string form = ToLowerText(type);
  const bool hasPasswords = !books.FilePassword.empty() || !books.AdminPassword.empty();
  std::vector<std::string> left;
  if (form == "csv" || form == "xls") {
    left.push_back("settings");
    if (!books.BusinessName.empty() || !books.BusinessAddress.empty())
      left.push_back("business name and address");
    if (HoldsPreparedEntries(books)) left.push_back("prepared entry groups");
    if (hasPasswords) left.push_back("passwords");
  } else if (form == "txt") {
    if (hasPasswords) left.push_back("passwords");
  }
  if (left.empty()) return {};
  std::string list;
  for (const std::string& item : left) list += (list.empty() ? "" : "; ") + item;
  return "The copy in " + Quoted(path) +
         " leaves out these parts of the book, which only the book file (.acc) keeps: " + list +
         ".";
}

std::string OpenWithoutSavingQuestion() {
  return "The books have changed since they were saved. Open another book without saving them ?";
}

std::string ChangedOnDiskQuestion(std::string_view path) {
  return Quoted(path) +
         " was changed by another program since it was opened here. Replace it with the books "
         "shown here ?";
}

}  // namespace qv
