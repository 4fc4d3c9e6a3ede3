#include "bench/book_generator.h"

#include <algorithm>
#include <string>

namespace qv {
namespace {

// A small, fast, deterministic generator (SplitMix64).
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<uint64_t>(n)); }

 private:
  uint64_t state_;
};

const char* const kWords[] = {"Cash",  "Bank",    "Sales",  "Stock",    "Rent",   "Wages",
                              "Loan",  "Capital", "Motor",  "Fixtures", "Debtor", "Creditor",
                              "Power", "Phone",   "Travel", "Repairs"};
const char* const kWideWords[] = {"Caisse", "Bürobedarf", "Café", "Gehälter", "Ünterhalt",
                                  "Δάνειο", "Касса",      "売上", "Rücklage", "Señal"};

}  // namespace

Books GenerateBook(const GeneratorOptions& options) {
  Random random(options.seed);
  Books books = NewBooks(options.firstDate);
  const int accounts = options.accounts < 1 ? 1 : options.accounts;
  books.ResizeChart(accounts < kMinLastAccountIndex ? kMinLastAccountIndex : accounts);

  // Folios 100, 101, ... with every eighth account a sub-account of the one before it.
  std::vector<Folio> folios;
  int64_t main = 100;
  for (int i = 1; i <= accounts; ++i) {
    Folio folio;
    if (options.subAccounts && i % 8 == 0 && i > 1) {
      folio = Folio::FromRaw(main * 10000 + 1000 * (1 + i % 9));
    } else {
      ++main;
      folio = Folio::FromUnits(main);
    }
    const std::size_t s = static_cast<std::size_t>(i);
    std::string name = options.nonAscii && i % 3 == 0 ? kWideWords[i % 10] : kWords[i % 16];
    name += " " + std::to_string(i);
    books.AccountNames[s] = name;
    books.AccountFolios[s] = folio;
    books.AccountTypes[s] = static_cast<uint8_t>(i % kAccountTypeCount);
    if (options.fillSettings) {
      books.AccountNotes[s] = "Notes of " + name;
      books.AccountDetails[s] = "Street " + std::to_string(i) + "\r\nTown";
      books.AccountExtras[s] = i % 2 ? "x" : "";
    }
    folios.push_back(folio);
  }

  const int64_t target = options.lines < 2 ? 2 : options.lines;
  books.PostingLines.clear();
  books.EntryNumbers.clear();
  books.PostingLines.reserve(static_cast<std::size_t>(target));
  books.EntryNumbers.reserve(static_cast<std::size_t>(target));
  int64_t entry = 0;
  DaySerial date = options.firstDate;
  while (static_cast<int64_t>(books.PostingLines.size()) < target) {
    const int64_t left = target - static_cast<int64_t>(books.PostingLines.size());
    int debits = 1, credits = 1;
    if (random.Below(5) == 0) {  // one entry in five is compound
      debits = 1 + random.Below(4);
      credits = 1 + random.Below(3);
    }
    if (debits + credits > left) {
      debits = static_cast<int>(left / 2);
      credits = static_cast<int>(left - debits);
    } else if (left - (debits + credits) == 1) {
      ++credits;  // never leave a single line over: an entry needs two
    }
    ++entry;
    if (entry % std::max(1, options.entriesPerDay) == 0) ++date;
    const EntryNumber number(std::to_string(entry));
    const uint8_t reconciled = random.Below(3) == 0 ? 1 : 0;
    // Amounts in whole cents; the credits share the debit total so entries balance.
    int64_t total = 0;
    for (int k = 0; k < debits + credits; ++k) {
      PostingLine line;
      line.LineDate = date;
      line.Side = k < debits ? kDebit : kCredit;
      line.Reconciled = reconciled;
      line.LineFolio = folios[static_cast<std::size_t>(random.Below(accounts))];
      int64_t cents;
      if (k < debits) {
        cents = 100 + static_cast<int64_t>(random.Next() % 5000000);
        total += cents;
      } else {
        const int c = k - debits;
        cents = c + 1 < credits ? total / credits : total - (total / credits) * c;
      }
      line.Amount = Amount::FromRaw(cents * 100);
      books.AppendLine(line, number);
    }
    std::string notes = "_";
    if (random.Below(2) == 0)
      notes =
          (options.nonAscii && entry % 5 == 0 ? "Reçu n° " : "Invoice ") + std::to_string(entry);
    books.PostingLines.back().Notes = notes;
  }
  books.EntryCounter = static_cast<int32_t>(entry + 1);

  if (options.fillSettings) {
    books.AutoTrackingNumbers = 0;
    books.FolioDashes = -1;
    books.DateStyleIndex = 4;
    books.JournalDecimals = 3;
    books.LedgerDecimals = 1;
    books.TrialDecimals = 2;
    books.IncomeDecimals = 3;
    books.BalanceSheetDecimals = 1;
    books.BusinessName = options.nonAscii ? "Müller & Søn Ltd" : "Sample Trading Ltd";
    books.BusinessAddress = "1 High Street\r\nMarket Town\r\nAB1 2CD";
    books.FilePassword = "open sesame";
    books.AdminPassword = "root";
    books.FontName = "DejaVu Sans";
    books.FontCharset = 161;
    books.ReservedLong = 123456;
    books.ReservedInteger = -7;
    for (int g = 0; g < kPreparedGroupCount; ++g) {
      auto& group = books.PreparedGroups[static_cast<std::size_t>(g)];
      group = EmptyPreparedEntry();
      group[0].LineFolio = folios[static_cast<std::size_t>(g % accounts)];
      group[0].Amount = Amount::FromUnits(10 + g);
      group[1].LineFolio = folios[static_cast<std::size_t>((g + 1) % accounts)];
      group[1].Amount = Amount::FromUnits(10 + g);
      group[1].Notes = "Monthly " + std::to_string(g + 1);
      books.GroupNames[static_cast<std::size_t>(g)] =
          (options.nonAscii ? "Gruppe Nº " : "Group ") + std::to_string(g + 1);
    }
  }
  return books;
}

std::vector<int32_t> UnbalanceEntries(Books& books, int count) {
  std::vector<int32_t> firsts{0};  // the first line of each entry
  const auto n = static_cast<int32_t>(books.PostingLines.size());
  for (int32_t i = 0; i + 1 < n; ++i)
    if (EndsEntry(books.PostingLines[static_cast<std::size_t>(i)].Notes)) firsts.push_back(i + 1);
  std::vector<int32_t> chosen;
  const auto entries = static_cast<int64_t>(firsts.size());
  for (int k = 1; k <= count; ++k) {
    const auto e = static_cast<std::size_t>(k * entries / (count + 1));
    const int32_t last = e + 1 < firsts.size() ? firsts[e + 1] - 1 : n - 1;
    PostingLine& line = books.PostingLines[static_cast<std::size_t>(last)];
    line.Amount = Amount::FromRaw(line.Amount.Raw() + 100 * k);
    chosen.push_back(firsts[e]);
  }
  return chosen;
}

}  // namespace qv
