#pragma once
// Compares two books field by field and names the first difference, so that a failed
// round trip says where it went wrong instead of printing a million lines.

#include <string>

#include "books/books.h"

namespace qv::testing {

struct CompareParts {
  bool passwords = true;           // FilePassword and AdminPassword
  bool settingsAndGroups = true;   // every setting, the group names and the groups
  bool accountExtras = true;       // AccountExtras
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
  if (a.EntryNumbers != b.EntryNumbers) {
    if (a.EntryNumbers.size() != b.EntryNumbers.size()) return "entry number count";
    for (std::size_t i = 0; i < a.EntryNumbers.size(); ++i)
      if (!(a.EntryNumbers[i] == b.EntryNumbers[i]))
        return "entry number " + std::to_string(i) + ": '" + a.EntryNumbers[i].Text() +
               "' vs '" + b.EntryNumbers[i].Text() + "'";
  }
  if (a.LastAccountIndex != b.LastAccountIndex)
    return "LastAccountIndex " + std::to_string(a.LastAccountIndex) + " vs " +
           std::to_string(b.LastAccountIndex);
  if (a.AccountNames != b.AccountNames) return "AccountNames";
  if (a.AccountFolios != b.AccountFolios) return "AccountFolios";
  if (a.AccountTypes != b.AccountTypes) return "AccountTypes";
  if (a.AccountNotes != b.AccountNotes) return "AccountNotes";
  if (a.AccountDetails != b.AccountDetails) return "AccountDetails";
  if (parts.accountExtras && a.AccountExtras != b.AccountExtras) return "AccountExtras";
  if (parts.passwords) {
    if (a.FilePassword != b.FilePassword) return "FilePassword";
    if (a.AdminPassword != b.AdminPassword) return "AdminPassword";
  }
  if (parts.settingsAndGroups) {
    for (int g = 0; g < kPreparedGroupCount; ++g) {
      const auto i = static_cast<std::size_t>(g);
      if (!(a.GroupNames[i] == b.GroupNames[i])) return "GroupNames " + std::to_string(g);
      if (auto d = lines(a.PreparedGroups[i], b.PreparedGroups[i],
                         "group " + std::to_string(g) + " line");
          !d.empty())
        return d;
    }
#define QV_SAME(field) \
  if (a.field != b.field) return #field;
    QV_SAME(EntryCounter)
    QV_SAME(AutoTrackingNumbers)
    QV_SAME(FolioDashes)
    QV_SAME(DateStyleIndex)
    QV_SAME(JournalDecimals)
    QV_SAME(LedgerDecimals)
    QV_SAME(TrialDecimals)
    QV_SAME(IncomeDecimals)
    QV_SAME(BalanceSheetDecimals)
    QV_SAME(BusinessName)
    QV_SAME(BusinessAddress)
    QV_SAME(FontName)
    QV_SAME(FontCharset)
    QV_SAME(ReservedLong)
    QV_SAME(ReservedInteger)
#undef QV_SAME
  }
  return "";
}

// Every field, the working list and the change stamp too: "the books are unchanged".
inline std::string FirstChange(const Books& before, const Books& after) {
  if (auto d = FirstDifference(before, after); !d.empty()) return d;
  if (before.PreparedEntryBuffer != after.PreparedEntryBuffer) return "PreparedEntryBuffer";
  if (before.BooksStamp != after.BooksStamp) return "BooksStamp";
  return "";
}

}  // namespace qv::testing
