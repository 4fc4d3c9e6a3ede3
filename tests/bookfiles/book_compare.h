#pragma once
// Helpers of the book-file tests. FirstDifference names the first field in which two books
// differ, so that a failed round trip says where instead of printing a million lines.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "bookfiles/book_files.h"
#include "books/books.h"
#include "books/module_procedures.h"

namespace qv::testing {

using ::testing::HasSubstr;

inline constexpr DaySerial kToday = 46000;  // the day the tests read files on

struct CompareParts {
  bool passwords = true;          // FilePassword and AdminPassword
  bool settingsAndGroups = true;  // every setting, the group names and the groups
  bool accountExtras = true;      // AccountExtras
};

inline std::string LineText(const PostingLine& l) {
  return std::to_string(l.LineDate) + "/" + std::to_string(l.Side) + "/" +
         std::to_string(l.LineFolio.Raw()) + "/" + std::to_string(l.Amount.Raw()) + "/" +
         std::to_string(l.Reconciled) + "/'" + l.Notes + "'";
}

inline std::string FirstDifference(const Books& a, const Books& b, CompareParts parts = {}) {
  const std::vector<PostingLine>&x = a.PostingLines, &y = b.PostingLines;
  if (x.size() != y.size())
    return "posting lines " + std::to_string(x.size()) + " vs " + std::to_string(y.size());
  for (std::size_t i = 0; i < x.size(); ++i)
    if (!(x[i] == y[i]))
      return "posting line " + std::to_string(i) + ": " + LineText(x[i]) + " vs " + LineText(y[i]);
  auto chart = [](const Books& x) {
    return std::tie(x.EntryNumbers, x.LastAccountIndex, x.AccountNames, x.AccountFolios,
                    x.AccountTypes, x.AccountNotes, x.AccountDetails);
  };
  if (chart(a) != chart(b)) return "entry numbers or chart";
  if (parts.accountExtras && a.AccountExtras != b.AccountExtras) return "AccountExtras";
  if (parts.passwords &&
      std::tie(a.FilePassword, a.AdminPassword) != std::tie(b.FilePassword, b.AdminPassword))
    return "passwords";
  if (!parts.settingsAndGroups) return "";
  if (a.PreparedGroups != b.PreparedGroups) return "prepared groups";
  auto settings = [](const Books& x) {
    return std::tie(x.GroupNames, x.EntryCounter, x.AutoTrackingNumbers, x.FolioDashes,
                    x.DateStyleIndex, x.JournalDecimals, x.LedgerDecimals, x.TrialDecimals,
                    x.IncomeDecimals, x.BalanceSheetDecimals, x.BusinessName, x.BusinessAddress,
                    x.FontName, x.FontCharset, x.ReservedLong, x.ReservedInteger);
  };
  return settings(a) == settings(b) ? "" : "group names or settings";
}

// Every field, the working list and the change stamp too: "the books are unchanged".
inline std::string FirstChange(const Books& before, const Books& after) {
  if (auto d = FirstDifference(before, after); !d.empty()) return d;
  if (before.PreparedEntryBuffer != after.PreparedEntryBuffer) return "PreparedEntryBuffer";
  if (before.BooksStamp != after.BooksStamp) return "BooksStamp";
  return "";
}

// Reads bytes that must be refused as a malformed file; returns the message.
inline std::string Refusal(std::string_view bytes, BookFileType type) {
  const BookReadResult read = ParseBook(bytes, type, kToday);
  EXPECT_FALSE(read.Ok());
  EXPECT_FALSE(read.Book.has_value());
  EXPECT_EQ(read.ErrorCode, kErrDataMismatch);
  return read.Message;
}

// The text with the first occurrence of `from` replaced.
inline std::string Edited(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

}  // namespace qv::testing
