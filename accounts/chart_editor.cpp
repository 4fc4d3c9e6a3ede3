#include "accounts/chart_editor.h"

#include <algorithm>
#include <unordered_map>

#include "books/entry_clipboard.h"
#include "books/module_procedures.h"
#include "books/print_header.h"
#include "platform/key_codes.h"
#include "platform/string_table.h"

namespace qv {

// ---- Folio texts.

std::string ChartFolioText(Folio folio, bool dashes, std::string_view decimalSymbol) {
  return PlainAmountText(folio, dashes ? std::string_view("-") : decimalSymbol);
}

FolioReading ReadChartFolio(std::string_view text, std::string_view decimalSymbol) {
  // The number stands before the first "/"; what follows it is not read.
  const std::string_view number = text.substr(0, text.find('/'));
  std::string plain;  // digits and at most one "."
  int points = 0;
  bool digits = false;
  bool wholeNonZero = false;
  std::size_t pos = 0;
  while (pos < number.size()) {
    const char c = number[pos];
    if (c >= '0' && c <= '9') {
      plain += c;
      digits = true;
      if (points == 0 && c != '0') wholeNonZero = true;
      ++pos;
    } else if (c == '-' || c == '.') {
      plain += '.';
      ++points;
      ++pos;
    } else if (!decimalSymbol.empty() && number.substr(pos).starts_with(decimalSymbol)) {
      plain += '.';
      ++points;
      pos += decimalSymbol.size();
    } else if (IsBlankChar(c)) {
      ++pos;
    } else {
      return {FolioTextKind::NotANumber, Folio()};
    }
  }
  if (!digits) {
    const bool blank = points == 0 && TrimText(text).empty();
    return {blank ? FolioTextKind::Empty : FolioTextKind::NotANumber, Folio()};
  }
  if (points > 1) return {FolioTextKind::Ambiguous, Folio()};
  const Folio value = ClipboardNumber(plain, ".");
  // ClipboardNumber gives 0 for a value out of range; a whole part that is not 0 cannot
  // round to 0 otherwise.
  if (value.IsZero() && wholeNonZero) return {FolioTextKind::TooLarge, Folio()};
  return {FolioTextKind::Number, value};
}

std::string RefusedFolioMessage(const FolioReading& reading, std::string_view text,
                                std::string_view keptFolio) {
  const std::string quoted = "\"" + std::string(text) + "\"";
  std::string why;
  switch (reading.Kind) {
    case FolioTextKind::Ambiguous:
      why = quoted +
            " has more than one decimal point, so the folio it stands for cannot be told. Type "
            "a sub-account with one point or dash, as 110.1 or 110-1.";
      break;
    case FolioTextKind::TooLarge: why = quoted + " is too large for a folio number."; break;
    default: why = quoted + " is not a folio number."; break;
  }
  return why + " The account keeps folio " + std::string(keptFolio) + ".";
}

std::string RefusedNameMessage(std::string_view keptName) {
  return "An account name is one line; a name with a line break was not stored. The account "
         "keeps the name \"" +
         std::string(keptName) + "\".";
}

// ---- Account types.

std::string AccountTypeCaption(int type) {
  static constexpr int kCaptionIds[kAccountTypeCount] = {240, 242, 241, 243, 0, 237, 238, 244, 245};
  if (type < 0 || type >= kAccountTypeCount) return {};
  if (type == kCostOfGoodsSold) return "COGS";
  return Str(kCaptionIds[type]);
}

// ---- The closing checks.

namespace {

std::string PairLine(const Books& books, int i, std::string_view decimalSymbol) {
  return "Account " +
         PlainAmountText(books.AccountFolios[static_cast<std::size_t>(i)], decimalSymbol) + "    " +
         books.AccountNames[static_cast<std::size_t>(i)] + "\r\n";
}

// The first pair (i, j) over 0..last where key(i) = key(j), j != i, and slot i has a name
// and a folio: i the lowest such index with a partner, j its lowest partner.
template <typename Key, typename KeyOf>
std::optional<std::pair<int, int>> FirstPair(const Books& books, int last, KeyOf keyOf) {
  // The two lowest indexes of every key.
  struct Lowest {
    int First = -1;
    int Second = -1;
  };
  std::unordered_map<Key, Lowest> lowest;
  lowest.reserve(static_cast<std::size_t>(last + 1));
  for (int k = 0; k <= last; ++k) {
    Lowest& l = lowest[keyOf(k)];
    if (l.First < 0)
      l.First = k;
    else if (l.Second < 0)
      l.Second = k;
  }
  for (int i = 0; i <= last; ++i) {
    const auto slot = static_cast<std::size_t>(i);
    if (books.AccountNames[slot].empty() || books.AccountFolios[slot].IsZero()) continue;
    const Lowest& l = lowest[keyOf(i)];
    const int j = l.First != i ? l.First : l.Second;
    if (j >= 0) return std::pair{i, j};
  }
  return std::nullopt;
}

}  // namespace

ChartCheck CheckChart(const Books& books, int pairLast, std::string_view decimalSymbol) {
  ChartCheck check;
  const int slots = ChartAccountCount(books);
  for (int i = 0; i < slots; ++i) {
    const auto slot = static_cast<std::size_t>(i);
    const bool named = !books.AccountNames[slot].empty();
    const Folio folio = books.AccountFolios[slot];
    ChartFault fault = ChartFault::None;
    if (named && folio.IsZero())
      fault = ChartFault::NoFolio;
    else if (!named && folio > Folio())
      fault = ChartFault::NoName;
    if (fault == ChartFault::None) continue;
    check.Fault = fault;
    check.Account = i;
    check.Message.Text =
        fault == ChartFault::NoFolio ? "An account has no Folio number" : "An account has no name";
    return check;
  }

  const int last = std::min(pairLast, static_cast<int>(books.AccountNames.size()) - 1);
  auto report = [&](ChartFault fault, std::pair<int, int> pair) {
    check.Fault = fault;
    check.Other = pair.first;
    check.Account = pair.second;
    check.Message.Text = std::string(fault == ChartFault::SameFolio
                                         ? "Two or More Accounts have the same Folio number"
                                         : "Two or More Accounts have the same name") +
                         "\r\n\r\n" + PairLine(books, pair.first, decimalSymbol) +
                         PairLine(books, pair.second, decimalSymbol);
    check.Message.Icon = PromptIcon::Critical;
    check.Message.Title = "Please Fix Now...";
    return check;
  };
  if (const auto pair = FirstPair<int64_t>(books, last, [&](int k) {
        return books.AccountFolios[static_cast<std::size_t>(k)].Raw();
      }))
    return report(ChartFault::SameFolio, *pair);
  if (const auto pair = FirstPair<std::string_view>(books, last, [&](int k) {
        return std::string_view(books.AccountNames[static_cast<std::size_t>(k)]);
      }))
    return report(ChartFault::SameName, *pair);
  return check;
}

// ---- The sample chart.

const std::vector<SampleAccount>& SampleChart() {
  static const std::vector<SampleAccount> chart = {
      {"Cash at Bank", 100, kCurrentAsset},
      {"Cash on Hand", 105, kCurrentAsset},
      {"Accounts Receivable", 110, kCurrentAsset},
      {"Allowance for Doubtful Debts", 115, kCurrentAsset},
      {"Inventory", 120, kCurrentAsset},
      {"Bills Receivable", 125, kCurrentAsset},
      {"Expenses Prepaid", 130, kCurrentAsset},
      {"Income Accrued", 135, kCurrentAsset},
      {"Investments", 150, kNonCurrentAsset},
      {"Land", 160, kNonCurrentAsset},
      {"Building", 162, kNonCurrentAsset},
      {"Accumulated Depreciation of Building", 164, kNonCurrentAsset},
      {"Plant and Equipment", 166, kNonCurrentAsset},
      {"Accumulated Depreciation of Building and Equipment", 168, kNonCurrentAsset},
      {"Motor Vehicles", 170, kNonCurrentAsset},
      {"Accumulated Depreciation of Motor Vehicles", 172, kNonCurrentAsset},
      {"Office Furniture & Fittings", 174, kNonCurrentAsset},
      {"Accumulated Depreciation of Furniture & Fittings", 176, kNonCurrentAsset},
      {"Goodwill", 178, kNonCurrentAsset},
      {"Patents", 180, kNonCurrentAsset},
      {"Trademarks", 182, kNonCurrentAsset},
      {"Bank Overdraft", 200, kCurrentLiability},
      {"Accounts Payable", 210, kCurrentLiability},
      {"Short Term Loan", 220, kCurrentLiability},
      {"Goods Tax Collected", 230, kCurrentLiability},
      {"Goods Tax Paid", 235, kCurrentLiability},
      {"Expenses Accrued", 240, kCurrentLiability},
      {"Income Received in Advance", 250, kCurrentLiability},
      {"Mortgage", 260, kNonCurrentLiability},
      {"Long Term Loan", 270, kNonCurrentLiability},
      {"Capital", 300, kCapital},
      {"Drawings", 310, kCapital},
      {"Sales", 400, kRevenue},
      {"Service Revenue", 410, kRevenue},
      {"Discound Received", 450, kRevenue},
      {"Rent Received", 455, kRevenue},
      {"Interest Received", 460, kRevenue},
      {"Commission Received", 465, kRevenue},
      {"Bad Debts Recovered", 470, kRevenue},
      {"Purchases", 500, kCostOfGoodsSold},
      {"Purchase Return", 505, kCostOfGoodsSold},
      {"Freight Inwards", 510, kCostOfGoodsSold},
      {"Customs Duty", 520, kCostOfGoodsSold},
      {"Transit Insurance", 530, kCostOfGoodsSold},
      {"Sales Wages", 600, kExpense},
      {"Advertising", 605, kExpense},
      {"Freight Outwards", 610, kExpense},
      {"Commision Paid", 615, kExpense},
      {"Depreciation of Non-Current Assets (Marketing)", 620, kExpense},
      {"Supplies", 640, kExpense},
      {"Office Wages", 700, kExpense},
      {"Electricity", 705, kExpense},
      {"General Expenses", 715, kExpense},
      {"Insurance", 720, kExpense},
      {"Motor Vehicle Expenses", 725, kExpense},
      {"Office Expenses", 730, kExpense},
      {"Photocopying", 735, kExpense},
      {"Postage", 740, kExpense},
      {"Rates and Taxes", 745, kExpense},
      {"Rent Office", 750, kExpense},
      {"Repairs and Maintenance", 755, kExpense},
      {"Stationery", 760, kExpense},
      {"Telephone", 765, kExpense},
      {"Depreciation of Non-Current Assets (Admin)", 770, kExpense},
      {"Loss on Disposal of Non-Current Assets", 775, kExpense},
      {"Discount Allowed", 800, kExpense},
      {"Interest Expense", 810, kExpense},
      {"Bad Debts", 820, kExpense},
      {"Doubtful Debts", 830, kExpense},
      {"Bank Charges", 840, kExpense},
      {"Balance b/f", 1, kOtherAccount},
  };
  return chart;
}

void ApplySampleChart(Books& books) {
  const std::vector<SampleAccount>& chart = SampleChart();
  const int last = static_cast<int>(chart.size()) - 1;
  books.ResizeChart(-1);
  books.ResizeChart(last);
  for (std::size_t i = 0; i < chart.size(); ++i) {
    books.AccountNames[i] = std::string(chart[i].Name);
    books.AccountFolios[i] = Folio::FromUnits(chart[i].Folio);
    books.AccountTypes[i] = chart[i].Type;
  }
  RaiseBooksStamp(books);
}

bool ChartHoldsMoreThanStart(const Books& books) {
  for (std::size_t i = 0; i < books.AccountNames.size(); ++i) {
    if (!books.AccountNotes[i].empty() || !books.AccountDetails[i].empty() ||
        !books.AccountExtras[i].empty())
      return true;
    const std::string& name = books.AccountNames[i];
    const Folio folio = books.AccountFolios[i];
    if (name.empty() && folio.IsZero()) continue;
    if (name == "Balance b/f" && folio == Folio::FromUnits(1) &&
        books.AccountTypes[i] == kOtherAccount)
      continue;
    return true;
  }
  return false;
}

// ---- The printed listing.

std::vector<ChartListingLine> ChartListing(const Books& books, std::string_view decimalSymbol) {
  std::vector<ChartListingLine> lines;
  const int slots = ChartAccountCount(books);
  lines.reserve(static_cast<std::size_t>(slots));
  for (int i = 0; i < slots; ++i) {
    const auto slot = static_cast<std::size_t>(i);
    const Folio folio = books.AccountFolios[slot];
    std::string folioText = PlainAmountText(folio, decimalSymbol);
    if (!folio.IsNegative()) folioText.insert(0, " ");
    lines.push_back({std::move(folioText), books.AccountNames[slot],
                     AccountTypeCaption(books.AccountTypes[slot])});
  }
  return lines;
}

void DrawChartListing(DrawingSurface& surface, const Books& books, std::string_view decimalSymbol) {
  constexpr double kNameX = 1100;
  constexpr double kTypeX = 6200;
  // Room kept between a name and its type.
  constexpr double kNameGap = 120;
  const std::vector<ChartListingLine> listing = ChartListing(books, decimalSymbol);
  surface.SetFontName(books.FontName);
  surface.SetFontCharset(books.FontCharset);
  // The name column holds the longest name where the page leaves room for the types beside
  // it; a name wider than the column goes on in further lines under it.
  double names = 0, types = 0;
  surface.SetFontBold(false);
  for (const ChartListingLine& l : listing) {
    names = std::max(names, surface.TextWidth(l.Name));
    types = std::max(types, surface.TextWidth(l.Type));
  }
  surface.SetFontBold(true);
  types = std::max(types, surface.TextWidth("Account Type"));
  double typeX = kNameX + names + kNameGap;
  if (surface.ScaleWidth() > 0) typeX = std::min(typeX, surface.ScaleWidth() - types);
  typeX = std::max(typeX, kTypeX);
  const double nameWidth = typeX - kNameGap - kNameX;
  auto line = [&](std::string_view folio, std::string_view name, std::string_view type) {
    surface.SetCurrentX(0);
    surface.PrintStay(folio);
    const std::vector<std::string> lines = WrappedLines(surface, name, nameWidth, true);
    surface.SetCurrentX(kNameX);
    surface.PrintStay(lines.front());
    surface.SetCurrentX(typeX);
    surface.Print(type);
    for (std::size_t k = 1; k < lines.size(); ++k) {
      surface.SetCurrentX(kNameX);
      surface.Print(lines[k]);
    }
  };
  surface.Print(books.BusinessName);
  surface.Print("");
  // On paper narrower than the listing the types are printed on pages of their own.
  surface.SetPageColumns({0, kNameX, typeX, typeX + types}, 2);
  line("Folio", "Account Name", "Account Type");
  surface.SetFontBold(false);
  surface.Print("");
  for (const ChartListingLine& l : listing) line(l.Folio, l.Name, l.Type);
}

// ---- Help cards.

HelpCard ChartHelp(ChartHelpTopic topic) {
  switch (topic) {
    case ChartHelpTopic::ChartOfAccounts:
      return {"Chart of Accounts",
              Paragraphs({
                  "Before any entry is recorded, a business plans its ledger: which accounts it "
                  "keeps and how they are numbered. That plan is the chart of accounts.",
                  "A chart of accounts is a numbered list of the titles of the ledger accounts, "
                  "arranged in the order in which they serve the business.",
                  "The most common arrangement of chart of accounts is in the order of Balance "
                  "Sheet accounts followed by Income Statement items.",
                  "REMEMBER : A knowledge of Accounting is needed to successfully setup an "
                  "accounting system, beginner should use the ‘Generate Accounts’ to create a "
                  "basic system ready to be used.",
                  "Setting Up Accounts",
                  "1st give the account a name.",
                  "2nd give the account a folio number.",
                  "3rd set the 'Account Type' for the account :",
                  "Revenue - All cash inflows, Income Statement.",
                  "Expenses - All cash outflows, Income Statement.",
                  "COGS - Cost of Good Sold, Income Statement.",
                  "Current Asset - Asset that is expected to be turned into cash within one "
                  "year: cash, accounts receivable, inventory, marketable securities and "
                  "prepaid expenses.",
                  "Non Current Asset - Asset that is not to be converted to cash within 12 "
                  "months of the balance sheet date.",
                  "Current Liability - Debt that is due within one year, such as accrued "
                  "salaries and accounts payable.",
                  "Non Current Liability - Debt not due to be paid within the next year. "
                  "opposite of current liabilities.",
                  "Capital / Equity - The assets less the liabilities: the part of the assets "
                  "that the owners own.",
                  "Other - maybe use for trading account or inserting starting balances, any "
                  "balances will only show in trial balance.",
                  "Notes and other account details can be attach to the account by using the "
                  "large text box...",
              })};
    case ChartHelpTopic::Details:
      return {"Account Details", "Add comments to each of the selected accounts."};
    case ChartHelpTopic::Folio:
      return {"Account-ID Settings",
              Paragraphs({"Each control account has an reference(Folio) number assigned to it "
                          "ranging from 1 to 999999999. This software will assign Account 1 as "
                          "the opening balance or balance brought forward from the last period. "
                          "These account numbers can be selected by the user or from selected "
                          "business standards..",
                          "Subsidiary Account can be created by using decimal points..",
                          "110    Accounts Receivable\r\n110.1 Accounts Receivable - "
                          "Peter\r\n110.2 Accounts Receivable - Paul\r\n110.3 Accounts "
                          "Receivable - Tom",
                          "All transactions in the Subsidiary Account will appear in the control "
                          "account."})};
    case ChartHelpTopic::Name:
      return {"Account Settings",
              Paragraphs({"The most common arrangement of the chart of accounts is in the order "
                          "of balance sheet accounts followed by income statements items.",
                          "Current Assets\r\nNon-Current Assets\r\nCurrent Liabilities\r\nNon-"
                          "Current Liabilities\r\nCapital\r\nRevenues\r\nCost of "
                          "Sales\r\nExpenses"})};
  }
  return {};
}

HelpCard AccountTypeHelp(int type) {
  switch (type) {
    case kCurrentAsset:
      return {"Current Assets",
              "Assets which are cash or convertible into cash within twelve months, or which "
              "will provide a benefit to the business within twelve months..."};
    case kCurrentLiability:
      return {"Current Liabilities", "Debts which have to be paid within twelve months..."};
    case kNonCurrentAsset:
      return {"Non-Current Assets",
              "Assets which will provide benefit to the business beyond twelve months..."};
    case kNonCurrentLiability:
      return {"Non-Current Liabilities",
              "Debt which are not due to be paid until after twelve months..."};
    case kCostOfGoodsSold:
      return {"Cost of Goods Sold",
              Paragraphs({"This is the cost of buying and getting trading goods into store and "
                          "ready for sale. When goods are sold, the cost is transferred from the "
                          "Inventory account to the Cost of Goods Sold...",
                          "For a retailer, the cost of goods sold is the price paid to the "
                          "supplier plus whatever it cost to get the goods into inventory. A book "
                          "bought for $80 with $5 shipping is carried at $85 in Inventory, and "
                          "the $85 moves to Cost of Goods Sold when the book is sold."})};
    case kRevenue:
      return {"Operating Revenue", "Revenues recieved from regular business activities..."};
    case kExpense: return {"Operating Expenses", "Incurred in earning the operating revenue..."};
    case kCapital:
      return {"Owner's Equity",
              "The value owed by the business to the owner of the business, The opening value of "
              "the owner's equity (Capital) plus net profit for the year less any withdrawals by "
              "the owner(Drawings)..."};
    case kOtherAccount:
      return {"Opening Balance",
              "The starting balances which are carried over or brought forward from the last "
              "period..."};
    default: return {};
  }
}

// ---- The editor.

ChartEditorModel::ChartEditorModel(Books& books, const LocaleInfo& locale)
    : books_(books), locale_(locale) {
  ClampSelection();
}

int ChartEditorModel::ScrollMax() const {
  return std::max(0, books_.LastAccountIndex - (kChartGridRows - 1));
}

void ChartEditorModel::SetTop(int top) { top_ = std::clamp(top, 0, ScrollMax()); }

std::string ChartEditorModel::FrameCaption() const {
  return std::to_string(top_ + 1) + " To " + std::to_string(top_ + kChartGridRows) + " :";
}

int ChartEditorModel::AccountOfRow(int row) const {
  if (row < 0 || row >= kChartGridRows) return -1;
  const int account = top_ + row;
  return HasSlot(account) ? account : -1;
}

ChartEditorModel::GridRow ChartEditorModel::Row(int row) const {
  GridRow view;
  view.Account = AccountOfRow(row);
  if (view.Account < 0) return view;
  const auto slot = static_cast<std::size_t>(view.Account);
  const Folio folio = books_.AccountFolios[slot];
  view.Name = books_.AccountNames[slot];
  view.FolioText = ChartFolioText(folio, FolioDashes(), locale_.DecimalSymbol);
  view.SubAccount = folio != TruncFolio(folio, 0);
  view.Marked = view.Account == marked_;
  return view;
}

void ChartEditorModel::SelectRow(int row) {
  const int account = AccountOfRow(row);
  if (account < 0) return;
  selectedRow_ = row;
  selected_ = account;
}

void ChartEditorModel::ClampSelection() {
  if (selected_ < 0) return;
  const int last = std::min(books_.LastAccountIndex, SlotCount() - 1);
  selected_ = std::clamp(selected_, 0, std::max(0, last));
  if (!HasSlot(selected_)) selected_ = -1;
}

std::string ChartEditorModel::SelectedNotes() const {
  return HasSlot(selected_) ? books_.AccountNotes[static_cast<std::size_t>(selected_)]
                            : std::string();
}

std::string ChartEditorModel::SelectedDetails() const {
  return HasSlot(selected_) ? books_.AccountDetails[static_cast<std::size_t>(selected_)]
                            : std::string();
}

int ChartEditorModel::SelectedType() const {
  return HasSlot(selected_) ? books_.AccountTypes[static_cast<std::size_t>(selected_)] : 0;
}

std::optional<std::string> ChartEditorModel::StoreName(int row, std::string_view text) {
  const int account = AccountOfRow(row);
  if (account < 0) return std::nullopt;
  std::string& name = books_.AccountNames[static_cast<std::size_t>(account)];
  if (text.find_first_of("\r\n") != std::string_view::npos) return RefusedNameMessage(name);
  selectedRow_ = row;
  if (name == text) return std::nullopt;
  name = std::string(text);
  RaiseBooksStamp(books_);
  return std::nullopt;
}

FolioReading ChartEditorModel::StoreFolio(int row, std::string_view text) {
  const FolioReading reading = ReadChartFolio(text, locale_.DecimalSymbol);
  const int account = AccountOfRow(row);
  if (account < 0 || !reading.Stores()) return reading;
  Folio& folio = books_.AccountFolios[static_cast<std::size_t>(account)];
  if (folio != reading.Value) {
    folio = reading.Value;
    RaiseBooksStamp(books_);
  }
  return reading;
}

std::optional<std::string> ChartEditorModel::FolioLeftMessage(int row,
                                                              std::string_view text) const {
  const FolioReading reading = ReadChartFolio(text, locale_.DecimalSymbol);
  const int account = AccountOfRow(row);
  if (account < 0 || reading.Stores()) return std::nullopt;
  return RefusedFolioMessage(reading, text,
                             ChartFolioText(books_.AccountFolios[static_cast<std::size_t>(account)],
                                            FolioDashes(), locale_.DecimalSymbol));
}

void ChartEditorModel::SetType(int type) {
  if (!HasSlot(selected_) || type < 0 || type >= kAccountTypeCount) return;
  uint8_t& stored = books_.AccountTypes[static_cast<std::size_t>(selected_)];
  if (stored == type) return;
  stored = static_cast<uint8_t>(type);
  RaiseBooksStamp(books_);
}

void ChartEditorModel::StoreNotes(std::string_view text) {
  if (HasSlot(selected_)) books_.AccountNotes[static_cast<std::size_t>(selected_)] = text;
}

void ChartEditorModel::StoreDetails(std::string_view text) {
  if (HasSlot(selected_))
    books_.AccountDetails[static_cast<std::size_t>(selected_)] = WithinBookTextLimit(text);
}

void ChartEditorModel::SetFolioDashes(bool on) {
  const int16_t value = on ? -1 : 0;
  if (books_.FolioDashes == value) return;
  books_.FolioDashes = value;
  RaiseBooksStamp(books_);
}

std::optional<std::string> ChartEditorModel::Insert() {
  if (books_.LastAccountIndex > kMaxInsertAccountIndex) return std::string(kAccountLimitText);
  if (!HasSlot(selected_)) return std::nullopt;
  const auto s = static_cast<std::size_t>(selected_);
  const Folio folio =
      CheckedAdd(books_.AccountFolios[s], Folio::FromUnits(2)).value_or(books_.AccountFolios[s]);
  const uint8_t type = books_.AccountTypes[s];
  const auto at = static_cast<std::ptrdiff_t>(s + 1);
  books_.AccountNames.insert(books_.AccountNames.begin() + at, std::string());
  books_.AccountFolios.insert(books_.AccountFolios.begin() + at, folio);
  books_.AccountTypes.insert(books_.AccountTypes.begin() + at, type);
  books_.AccountNotes.insert(books_.AccountNotes.begin() + at, std::string());
  books_.AccountDetails.insert(books_.AccountDetails.begin() + at, std::string());
  books_.AccountExtras.insert(books_.AccountExtras.begin() + at, std::string());
  books_.LastAccountIndex = SlotCount() - 1;
  if (selected_ + 1 == books_.LastAccountIndex) {
    selected_ = books_.LastAccountIndex;
    top_ = ScrollMax();
  }
  RaiseBooksStamp(books_);
  return std::nullopt;
}

bool ChartEditorModel::Delete() {
  if (books_.LastAccountIndex < 0 || SlotCount() == 0) return false;
  ClampSelection();
  if (selected_ < 0) return false;
  const int n = books_.LastAccountIndex - 1;
  // Slots selected..n take the next one's contents; the vacated slot n + 1 is left as a
  // free slot (its type and texts stay, as a copy of what moved down).
  for (int i = selected_; i <= n; ++i) {
    const auto to = static_cast<std::size_t>(i);
    books_.AccountNames[to] = books_.AccountNames[to + 1];
    books_.AccountFolios[to] = books_.AccountFolios[to + 1];
    books_.AccountTypes[to] = books_.AccountTypes[to + 1];
    books_.AccountNotes[to] = books_.AccountNotes[to + 1];
    books_.AccountDetails[to] = books_.AccountDetails[to + 1];
    books_.AccountExtras[to] = books_.AccountExtras[to + 1];
  }
  const auto vacated = static_cast<std::size_t>(n + 1);
  books_.AccountNames[vacated].clear();
  books_.AccountFolios[vacated] = Folio();
  if (n >= kMinLastAccountIndex)
    books_.ResizeChart(n);
  else
    books_.LastAccountIndex = n;
  ClampSelection();
  SetTop(top_);
  RaiseBooksStamp(books_);
  return true;
}

void ChartEditorModel::GenerateSampleChart() {
  ApplySampleChart(books_);
  selected_ = -1;
  marked_ = -1;
  SetTop(top_);
}

ChartCheck ChartEditorModel::Close() {
  marked_ = -1;
  const int pairLast = books_.LastAccountIndex;
  if (books_.LastAccountIndex <= kMinLastAccountIndex) {
    if (SlotCount() < kMinLastAccountIndex + 1)
      books_.ResizeChart(kMinLastAccountIndex);
    else
      books_.LastAccountIndex = kMinLastAccountIndex;
  }
  ChartCheck check = CheckChart(books_, pairLast, locale_.DecimalSymbol);
  if (!check.Passed()) marked_ = check.Account;
  return check;
}

ChartEditorModel::Move ChartEditorModel::EnterMove(int row) {
  Move move;
  if (row >= 0 && row < kChartGridRows - 1) move.Row = row + 1;
  return move;
}

ChartEditorModel::Move ChartEditorModel::ArrowMove(int row, int key) const {
  Move move;
  if (key == kKeyUp) {
    if (row >= 1)
      move.Row = row - 1;
    else if (top_ > 0)
      move = {0, -1, true};
  } else if (key == kKeyDown) {
    if (row <= kChartGridRows - 2)
      move.Row = row + 1;
    else if (top_ < books_.LastAccountIndex - (kChartGridRows - 1))
      move = {kChartGridRows - 1, 1, true};
  }
  return move;
}

// ---- Multi-line texts.

std::string ToBookLines(std::string_view boxText) {
  std::string out;
  out.reserve(boxText.size() + 8);
  for (std::size_t i = 0; i < boxText.size(); ++i) {
    const char c = boxText[i];
    if (c == '\r') {
      out += "\r\n";
      if (i + 1 < boxText.size() && boxText[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

std::string_view WithinBookTextLimit(std::string_view text) {
  std::size_t bytes = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    const bool lineBreak = text[i] == '\r' || text[i] == '\n';
    const std::size_t cost = lineBreak ? 2 : 1;
    if (bytes + cost > kMaxTextBytes) break;
    bytes += cost;
    i += text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
  }
  // Back to the start of a character that was cut.
  if (i < text.size())
    while (i > 0 && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) --i;
  return text.substr(0, i);
}

std::string ToBoxLines(std::string_view bookText) {
  std::string out;
  out.reserve(bookText.size());
  for (std::size_t i = 0; i < bookText.size(); ++i) {
    if (bookText[i] == '\r' && i + 1 < bookText.size() && bookText[i + 1] == '\n') continue;
    out += bookText[i] == '\r' ? '\n' : bookText[i];
  }
  return out;
}

}  // namespace qv
