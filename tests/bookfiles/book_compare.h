#pragma once
// Helpers of the book-file tests. FirstDifference compares two books field by field and
// names the first difference, so that a failed round trip says where it went wrong instead
// of printing a million lines.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "bookfiles/book_files.h"
#include "books/books.h"
#include "books/module_procedures.h"

namespace qv::testing {

using ::testing::HasSubstr;

// The day the tests read files on.
inline constexpr DaySerial kToday = 46000;

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
  auto lines = [](const std::vector<PostingLine>& x, const std::vector<PostingLine>& y,
                  const std::string& what) -> std::string {
    if (x.size() != y.size())
      return what + " count " + std::to_string(x.size()) + " vs " + std::to_string(y.size());
    for (std::size_t i = 0; i < x.size(); ++i)
      if (!(x[i] == y[i]))
        return what + " " + std::to_string(i) + ": " + LineText(x[i]) + " vs " + LineText(y[i]);
    return "";
  };
  if (auto d = lines(a.PostingLines, b.PostingLines, "posting line"); !d.empty()) return d;
#define QV_SAME(field) \
  if (!(a.field == b.field)) return #field
  QV_SAME(EntryNumbers);
  QV_SAME(LastAccountIndex);
  QV_SAME(AccountNames);
  QV_SAME(AccountFolios);
  QV_SAME(AccountTypes);
  QV_SAME(AccountNotes);
  QV_SAME(AccountDetails);
  if (parts.accountExtras) QV_SAME(AccountExtras);
  if (parts.passwords) {
    QV_SAME(FilePassword);
    QV_SAME(AdminPassword);
  }
  if (parts.settingsAndGroups) {
    QV_SAME(GroupNames);
    for (int g = 0; g < kPreparedGroupCount; ++g) {
      const auto i = static_cast<std::size_t>(g);
      if (auto d = lines(a.PreparedGroups[i], b.PreparedGroups[i],
                         "group " + std::to_string(g) + " line");
          !d.empty())
        return d;
    }
    QV_SAME(EntryCounter);
    QV_SAME(AutoTrackingNumbers);
    QV_SAME(FolioDashes);
    QV_SAME(DateStyleIndex);
    QV_SAME(JournalDecimals);
    QV_SAME(LedgerDecimals);
    QV_SAME(TrialDecimals);
    QV_SAME(IncomeDecimals);
    QV_SAME(BalanceSheetDecimals);
    QV_SAME(BusinessName);
    QV_SAME(BusinessAddress);
    QV_SAME(FontName);
    QV_SAME(FontCharset);
    QV_SAME(ReservedLong);
    QV_SAME(ReservedInteger);
  }
#undef QV_SAME
  return "";
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
