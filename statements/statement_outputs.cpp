#include "statements/statement_outputs.h"

#include <memory>
#include <utility>
#include <vector>

#include "bookfiles/excel_file.h"
#include "bookfiles/table_formats.h"
#include "books/date_styles.h"
#include "books/module_procedures.h"
#include "platform/string_table.h"
#include "platform/utf8.h"
#include "statements/statement_dates.h"
#include "statements/statement_texts.h"

namespace qv {

namespace {

enum : int {
  kCaptionTrialBalance = 154,
  kLabelAccounts = 156,
  kLabelDebit = 162,
  kLabelCredit = 163,
  kLabelTotals = 164,
  kSaveId = 165,
  kSaveAsId = 166,
  kLabelTotal = 168,
  kLabelIncomeStatementEnding = 205,
};

constexpr std::string_view kCrLf = "\r\n";

// ---- Rich text: a fixed-pitch table of padded cells.

constexpr int kAmountWidth = 12;

// The fixed-pitch statement document, line by line.
class RtfStatement {
 public:
  // The font table, the generator group with the business name in 14-point Arial, and an
  // empty line.
  RtfStatement(std::string_view generator, std::string_view businessName) {
    out_ +=
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang3081{\\fonttbl{\\f0\\fswiss\\fcharset0 "
        "Arial;}{\\f1\\fmodern\\fprq1\\fcharset0 Courier New;}}";
    out_ += kCrLf;
    out_ += "{\\*\\generator ";
    out_ += generator;
    out_ += ";}\\viewkind4\\uc1\\pard\\f0\\fs28 ";
    AppendRtfText(out_, businessName);
    End("\\par");
    End("\\par");
  }
  std::string& Text() { return out_; }
  // Ends the line with `tail` and CR LF.
  void End(std::string_view tail) {
    out_ += tail;
    out_ += kCrLf;
  }
  // A label as it stands.
  void Label(std::string_view text) { AppendRtfText(out_, text); }
  // The text padded with blanks or cut to `width` characters.
  void NameCell(std::string_view text, int width) {
    std::string clean;
    AppendPlainText(clean, text);
    for (char& c : clean)
      if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    AppendRtfText(out_, FitToLength(clean, static_cast<std::size_t>(width)));
  }
  // The amount right-aligned in 12 characters, an amount of exactly 12 filling the cell.
  // A longer amount keeps every character, after one blank that keeps it apart from the
  // cell before it.
  void AmountCell(std::string_view amount) {
    const std::size_t length = Utf8Length(amount);
    out_.append(length <= kAmountWidth ? kAmountWidth - length : 1, ' ');
    AppendRtfText(out_, amount);
  }
  // A bold line: the label in a cell of `width` and the amount.
  void BoldLine(std::string_view label, int width, std::string_view amount) {
    out_ += "\\b ";
    NameCell(label, width);
    AmountCell(amount);
    End("\\b0\\par");
  }
  std::string Finish() {
    out_ += "}";
    return std::move(out_);
  }

 private:
  std::string out_;
};

// ---- The trial balance's rows as text: a debit row (name, amount), a credit row (name,
// "", amount), then an empty row and the totals.

using TextRow = std::vector<std::string>;

bool HasTotals(const TrialBalance& tb) {
  return !tb.DebitTotal.IsZero() || !tb.CreditTotal.IsZero();
}

std::vector<TextRow> TrialTextRows(const TrialBalance& tb, const StatementLook& look) {
  std::vector<TextRow> rows;
  for (const TrialBalanceRow& row : tb.Rows) {
    if (!row.Shown()) continue;
    const std::string amount = TrialAmountText(row.Balance, look.Decimals, look.Locale);
    if (row.IsDebit())
      rows.push_back({row.Name, amount});
    else
      rows.push_back({row.Name, "", amount});
  }
  if (HasTotals(tb)) {
    rows.push_back({"", "", ""});
    rows.push_back({Str(kLabelTotal), TrialAmountText(tb.DebitTotal, look.Decimals, look.Locale),
                    TrialAmountText(tb.CreditTotal, look.Decimals, look.Locale)});
  }
  return rows;
}

// ---- Tables whose rows are made once and handed out by index.

TableDocument TableOf(std::vector<std::string> title, std::vector<TableColumn> columns,
                      std::vector<TableRow> rows) {
  TableDocument table;
  table.Title = std::move(title);
  table.Columns = std::move(columns);
  table.ShowHeadings = false;
  table.RowCount = static_cast<int64_t>(rows.size());
  auto shared = std::make_shared<const std::vector<TableRow>>(std::move(rows));
  table.FillRow = [shared](int64_t row, TableRow& out) {
    out = (*shared)[static_cast<std::size_t>(row)];
  };
  return table;
}

TableRow RowOf(std::vector<std::string> cells, bool bold = false, bool shaded = false) {
  TableRow row;
  row.Cells = std::move(cells);
  row.Bold = bold;
  row.Shaded = shaded;
  return row;
}

// The statement page: the title lines centred and bold over a table 800 pixels wide.
void SetStatementPage(TableDocument& table) {
  table.Page.CentredTitle = true;
  table.Page.WidthPixels = 800;
  table.Page.FontPoints = 12;
  table.Page.CellPadding = 0;
}

// The first and the second section of the income statement and the balance sheet.
bool IsFirstSection(StatementSection section) {
  return section == StatementSection::kRevenue || section == StatementSection::kCurrentAssets;
}
bool IsSecondSection(StatementSection section) {
  return section == StatementSection::kCostOfGoodsSold ||
         section == StatementSection::kCurrentLiabilities;
}

// ---- The sheet.

enum SheetFont : int { kPlainFont = 0, kBoldFont = 1 };
constexpr int kNameColumnChars = 62;    // 500 pixels at 15 twips a pixel
constexpr int kAmountColumnChars = 12;  // 100 pixels

SheetDocument SheetFrame(const StatementLook& look, int amountColumns) {
  SheetDocument sheet;
  sheet.FontName = look.FontName;
  sheet.FontPoints = 9;
  sheet.FontAttributes = {0, kExcelBold, kExcelUnderline, kExcelBold + kExcelItalic};
  sheet.ColumnWidths.assign(static_cast<std::size_t>(amountColumns) + 1, kAmountColumnChars);
  sheet.ColumnWidths[0] = kNameColumnChars;
  sheet.Header = sheet.Footer = look.BusinessName;
  return sheet;
}

using SheetRow = std::vector<SheetCell>;

SheetDocument SheetOf(SheetDocument sheet, std::vector<SheetRow> rows) {
  sheet.RowCount = static_cast<int64_t>(rows.size());
  auto shared = std::make_shared<const std::vector<SheetRow>>(std::move(rows));
  sheet.FillRow = [shared](int64_t row, std::vector<SheetCell>& out) {
    out = (*shared)[static_cast<std::size_t>(row - 1)];
  };
  return sheet;
}

// The income statement's and the balance sheet's rows: rows 1 to 5 (the business name and
// the title, in bold; rows 1 to 3 locked), then the statement's lines as heading, item,
// subtotal and result rows with empty rows between the groups.
std::vector<SheetRow> LinesSheetRows(const std::string& businessName, const std::string& title,
                                     const std::vector<StatementLine>& lines,
                                     const StatementLook& look) {
  constexpr int G = kExcelGeneral, L = kExcelLeft, R = kExcelRight;
  std::vector<SheetRow> rows;
  int font = kBoldFont;
  auto row = [&](std::initializer_list<std::pair<std::string, int>> cells, bool locked = false) {
    SheetRow out;
    int col = 1;
    for (const auto& [text, align] : cells) out.push_back({col++, text, font, align, locked});
    rows.push_back(std::move(out));
  };
  row({{"", G}, {"", G}, {"", G}, {"", G}}, true);
  row({{businessName, G}, {"", G}, {"", G}, {"", G}}, true);
  row({{"", G}, {"", G}, {"", G}, {"", G}}, true);
  row({{title, L}, {"", L}, {"", L}, {"", L}});
  row({{"", L}, {"", L}, {"", L}, {"", L}});

  // One empty row always follows the first section's place; every later group but the
  // second section starts with an empty row of its own.
  bool firstGap = false;
  auto blank = [&] { row({{"", L}, {"", L}, {"", L}, {"", L}}); };
  auto afterFirst = [&] {
    if (!firstGap) blank();
    firstGap = true;
  };
  for (const StatementLine& line : lines) {
    const std::string amount = StatementAmountText(line.Value, look.Decimals, look.Locale);
    switch (line.LineKind) {
      case StatementLine::Kind::kHeading:
        if (!IsFirstSection(line.Section)) afterFirst();
        if (!IsFirstSection(line.Section) && !IsSecondSection(line.Section)) blank();
        font = kBoldFont;
        if (line.Section == StatementSection::kCapital)
          row({{Str(line.LabelId), L}});
        else
          row({{Str(line.LabelId), L}, {"", L}, {"", L}, {"", L}});
        font = kPlainFont;
        break;
      case StatementLine::Kind::kAccount:
      case StatementLine::Kind::kProfit:
        row({{line.LabelId ? Str(line.LabelId) : line.Name, L}, {amount, R}, {"", R}, {"", R}});
        break;
      case StatementLine::Kind::kSubtotal: {
        const bool rightGap = line.Section == StatementSection::kNonCurrentLiabilities ||
                              line.Section == StatementSection::kCapital;
        font = kBoldFont;
        row({{Str(line.LabelId), L}, {"", rightGap ? R : L}, {amount, R}, {"", R}});
        font = kPlainFont;
        break;
      }
      case StatementLine::Kind::kTotal:
        afterFirst();
        blank();
        font = kBoldFont;
        row({{Str(line.LabelId), L}, {"", L}, {"", L}, {amount, R}});
        font = kPlainFont;
        break;
    }
  }
  afterFirst();
  return rows;
}

// ---- The HTML rows of the income statement and the balance sheet: a label column and
// three amount columns (account rows, section balances, results).

std::vector<TableColumn> LinesColumns() {
  return {{"", CellAlign::kLeft, 70},
          {"", CellAlign::kRight, 10},
          {"", CellAlign::kRight, 10},
          {"", CellAlign::kRight, 10}};
}

}  // namespace

StatementOutput::StatementOutput(const TrialBalance& tb, StatementLook look)
    : tb_(&tb), look_(std::move(look)) {}

StatementOutput::StatementOutput(const IncomeStatement& statement, StatementLook look)
    : income_(&statement), look_(std::move(look)) {}

StatementOutput::StatementOutput(const BalanceSheet& sheet, BalanceSheetLayout layout,
                                 StatementLook look)
    : sheet_(&sheet), layout_(layout), look_(std::move(look)) {}

std::string StatementOutput::Rtf() const {
  const int decimals = look_.Decimals;
  const LocaleInfo& locale = look_.Locale;
  if (tb_) {
    RtfStatement rtf("Quorvel 4", look_.BusinessName);
    rtf.Label(Str(kCaptionTrialBalance));
    rtf.End("\\par");
    rtf.End("\\fs24\\par");
    rtf.Text() += "\\b\\f1 Account\\tab\\tab\\tab\\tab\\tab\\tab\\tab ";
    rtf.Label(Str(kLabelDebit));
    rtf.Text() += "\\tab ";
    rtf.Label(Str(kLabelCredit));
    rtf.End("\\b0\\par");
    rtf.End("\\par");
    for (const TrialBalanceRow& row : tb_->Rows) {
      if (!row.Shown()) continue;
      rtf.NameCell(row.Name, row.IsDebit() ? 32 : 44);
      rtf.AmountCell(TrialAmountText(row.Balance, decimals, locale));
      rtf.End("\\par");
    }
    if (HasTotals(*tb_)) {
      rtf.End("\\par");
      rtf.Text() += "\\b ";
      rtf.NameCell(Str(kLabelTotals), 32);
      rtf.AmountCell(TrialAmountText(tb_->DebitTotal, decimals, locale));
      rtf.AmountCell(TrialAmountText(tb_->CreditTotal, decimals, locale));
      rtf.End("\\b0\\f0\\fs20\\par");
    }
    return rtf.Finish();
  }

  RtfStatement rtf("Quorvel 5.0", look_.BusinessName);
  std::vector<StatementLine> lines;
  if (income_) {
    rtf.Label(Str(kLabelIncomeStatementEnding) + " " +
              LongDateText(income_->Period.IncomeToDate, locale, true));
    rtf.End("\\par");
    rtf.End("\\fs24\\par");
    rtf.End("\\b\\f1 \\b0\\par");
    lines = IncomeStatementLines(*income_);
  } else {
    rtf.Label(BalanceSheetTitle(sheet_->SheetDate, locale));
    rtf.End("\\par");
    rtf.End("\\fs24\\par");
    rtf.End("\\b\\f1 \\b0");
    lines = BalanceSheetLines(*sheet_, layout_);
  }
  // The income statement leaves an empty line after each heading and before each balance;
  // the balance sheet's rows are narrower, and its grand totals of the United States layout
  // stand in a fourth column.
  const bool income = income_ != nullptr;
  const int rowWidth = income ? 32 : 30;
  const int totalWidth = !income && layout_ == BalanceSheetLayout::kUnitedStates ? 58 : 44;
  for (const StatementLine& line : lines) {
    const std::string amount = StatementAmountText(line.Value, decimals, locale);
    switch (line.LineKind) {
      case StatementLine::Kind::kHeading:
        if (!IsFirstSection(line.Section)) rtf.End("\\par");
        rtf.Text() += "\\b ";
        rtf.Label(Str(line.LabelId));
        rtf.End("\\b0\\par");
        if (income) rtf.End("\\par");
        break;
      case StatementLine::Kind::kAccount:
      case StatementLine::Kind::kProfit:
        rtf.NameCell(line.LabelId ? Str(line.LabelId) : line.Name, rowWidth);
        rtf.AmountCell(amount);
        rtf.End("\\par");
        break;
      case StatementLine::Kind::kSubtotal:
        if (income) rtf.End("\\par");
        rtf.BoldLine(Str(line.LabelId), 44, amount);
        break;
      case StatementLine::Kind::kTotal:
        rtf.End("\\par");
        rtf.BoldLine(Str(line.LabelId), income ? 44 : totalWidth, amount);
        break;
    }
  }
  return rtf.Finish();
}

std::string StatementOutput::Text() const {
  if (!tb_) return {};
  std::string text;
  for (const TextRow& row : TrialTextRows(*tb_, look_)) {
    for (std::size_t c = 0; c < row.size(); ++c) {
      if (c > 0) text += '\t';
      AppendPlainCell(text, row[c]);
    }
    text += kCrLf;
  }
  return text;
}

TableDocument StatementOutput::CsvTable() const {
  std::vector<TableRow> rows;
  if (tb_)
    for (TextRow& cells : TrialTextRows(*tb_, look_)) {
      cells.resize(3);
      rows.push_back(RowOf(std::move(cells)));
    }
  return TableOf({},
                 {{Str(kLabelAccounts), CellAlign::kLeft, 40},
                  {Str(kLabelDebit), CellAlign::kRight, 14},
                  {Str(kLabelCredit), CellAlign::kRight, 14}},
                 std::move(rows));
}

TableDocument StatementOutput::Page() const {
  const int decimals = look_.Decimals;
  const LocaleInfo& locale = look_.Locale;
  std::vector<TableRow> rows;
  TableDocument table;
  if (tb_) {
    rows.push_back(
        RowOf({Str(kLabelAccounts), "", Str(kLabelDebit), Str(kLabelCredit)}, /*bold=*/true));
    rows.push_back(RowOf({"", "", "", ""}));
    bool shaded = false;
    for (const TrialBalanceRow& row : tb_->Rows) {
      if (!row.Shown()) continue;
      shaded = !shaded;
      const std::string amount = TrialAmountText(row.Balance, decimals, locale);
      rows.push_back(RowOf({ShortFolioText(row.RowFolio, locale), row.Name,
                            row.IsDebit() ? amount : "", row.IsDebit() ? "" : amount},
                           false, shaded));
    }
    if (HasTotals(*tb_)) {
      rows.push_back(RowOf({"", "", "", ""}));
      rows.push_back(
          RowOf({"", Str(kLabelTotal), TrialAmountText(tb_->DebitTotal, decimals, locale),
                 TrialAmountText(tb_->CreditTotal, decimals, locale)},
                true));
    }
    table = TableOf({look_.BusinessName, TrialBalanceTitle(tb_->TrialDate, locale)},
                    {{"", CellAlign::kLeft, 10},
                     {"", CellAlign::kLeft, 54},
                     {"", CellAlign::kRight, 18},
                     {"", CellAlign::kRight, 18}},
                    std::move(rows));
  } else {
    const bool income = income_ != nullptr;
    const bool us = !income && layout_ == BalanceSheetLayout::kUnitedStates;
    for (const StatementLine& line :
         income ? IncomeStatementLines(*income_) : BalanceSheetLines(*sheet_, layout_)) {
      const std::string amount = StatementAmountText(line.Value, decimals, locale);
      const std::string label = line.LabelId ? Str(line.LabelId) : line.Name;
      switch (line.LineKind) {
        case StatementLine::Kind::kHeading:
          // The income statement parts its sections with empty rows, the balance sheet with
          // a line break at the top of each heading after the first.
          if (income && !IsFirstSection(line.Section)) rows.push_back(RowOf({"", "", "", ""}));
          rows.push_back(RowOf(
              {(income || IsFirstSection(line.Section) ? "" : "\n") + label, "", "", ""}, true));
          break;
        case StatementLine::Kind::kAccount:
        case StatementLine::Kind::kProfit: rows.push_back(RowOf({label, amount, "", ""})); break;
        case StatementLine::Kind::kSubtotal:
          rows.push_back(RowOf({label, "", amount, ""}, true));
          break;
        case StatementLine::Kind::kTotal:
          if (income) rows.push_back(RowOf({"", "", "", ""}));
          rows.push_back(RowOf({(us ? "\n" : "") + label, "", "", amount}, true));
          break;
      }
    }
    std::vector<std::string> title;
    if (income)
      title = {look_.BusinessName, IncomeStatementTitle(),
               IncomePeriodText(income_->Period.IncomeFromDate, income_->Period.IncomeToDate,
                                locale, " To ")};
    else
      title = {look_.BusinessName, BalanceSheetTitle(sheet_->SheetDate, locale)};
    table = TableOf(std::move(title), LinesColumns(), std::move(rows));
  }
  SetStatementPage(table);
  return table;
}

std::string StatementOutput::Html() const { return TableHtml(Page()); }

SheetDocument StatementOutput::Sheet() const {
  const LocaleInfo& locale = look_.Locale;
  if (income_) {
    const IncomePeriod& period = income_->Period;
    const std::string title =
        IncomeStatementTitle() + " " +
        IncomePeriodText(period.IncomeFromDate, period.IncomeToDate, locale, " To ");
    return SheetOf(SheetFrame(look_, 3), LinesSheetRows(look_.BusinessName, title,
                                                        IncomeStatementLines(*income_), look_));
  }
  if (sheet_)
    return SheetOf(
        SheetFrame(look_, 3),
        LinesSheetRows(look_.BusinessName, BalanceSheetTitle(sheet_->SheetDate, locale),
                       BalanceSheetLines(*sheet_, BalanceSheetLayout::kStandard), look_));

  // The trial balance: rows 1 to 6 (the business name, the title and the column headings,
  // in bold), then row 7 + k for the chart row k, which stays empty while its balance is 0,
  // and the totals after the last of them.
  constexpr int L = kExcelLeft, C = kExcelCentre, R = kExcelRight;
  constexpr int kFirstRow = 7;
  SheetDocument sheet = SheetFrame(look_, 2);
  const TrialBalance& tb = *tb_;
  sheet.RowCount = kFirstRow + tb.RowCount();
  sheet.FillRow = [&tb, look = look_, title = TrialBalanceTitle(tb.TrialDate, locale)](
                      int64_t row, std::vector<SheetCell>& out) {
    auto cell = [&](int col, std::string text, int align, int font, bool locked) {
      out.push_back({col, std::move(text), font, align, locked});
    };
    auto amounts = [&](const std::string& debit, const std::string& credit, int font) {
      cell(2, debit, R, font, row <= 3);
      cell(3, credit, R, font, row <= 3);
    };
    if (row < kFirstRow) {
      const bool locked = row <= 3;
      if (row == 6) {
        cell(1, Str(kLabelAccounts), C, kBoldFont, false);
        cell(2, Str(kLabelDebit), C, kBoldFont, false);
        cell(3, Str(kLabelCredit), C, kBoldFont, false);
        return;
      }
      cell(1, row == 2 ? look.BusinessName : row == 4 ? title : "", L, kBoldFont, locked);
      amounts("", "", kBoldFont);
      if (row == 1) cell(4, "", R, kBoldFont, true);
      return;
    }
    const auto k = static_cast<std::size_t>(row - kFirstRow);
    if (k < tb.Rows.size()) {
      const TrialBalanceRow& account = tb.Rows[k];
      if (!account.Shown()) return;
      const std::string amount = TrialAmountText(account.Balance, look.Decimals, look.Locale);
      cell(1, account.Name, L, kPlainFont, false);
      amounts(account.IsDebit() ? amount : "", account.IsDebit() ? "" : amount, kPlainFont);
    } else if (HasTotals(tb)) {
      cell(1, Str(kLabelTotal), L, kPlainFont, false);
      amounts(TrialAmountText(tb.DebitTotal, look.Decimals, look.Locale),
              TrialAmountText(tb.CreditTotal, look.Decimals, look.Locale), kPlainFont);
    }
  };
  return sheet;
}

FileDialogRequest StatementOutput::ExportRequest() const {
  FileDialogRequest request;
  request.captionId = kSaveAsId;
  request.acceptCaptionId = kSaveId;
  request.writes = true;
  request.defaultType = "xls";
  if (tb_)
    request.patterns = {"*.xls", "*.csv", "*.rtf", "*.htm"};
  else if (income_)
    request.patterns = {"*.xls", "*.rtf", "*.htm"};
  else if (layout_ == BalanceSheetLayout::kStandard)
    request.patterns = {"*.rtf", "*.xls", "*.htm"};
  else {
    // No sheet or page of the United States layout.
    request.defaultType = "rtf";
    request.patterns = {"*.rtf"};
  }
  return request;
}

bool StatementOutput::Failed() const {
  return (tb_ != nullptr && tb_->Failed()) || (income_ != nullptr && income_->Failed()) ||
         (sheet_ != nullptr && sheet_->Failed());
}

std::string StatementOutput::TooLargeMessage(std::string_view notDone) {
  return "The amounts of this statement are too large to add up, " + std::string(notDone);
}

TableFileResult StatementOutput::Export(const std::string& path, std::string_view type) const {
  if (Failed()) {
    TableFileResult result;
    result.ErrorCode = kErrDataMismatch;
    result.Message = TooLargeMessage("so \"" + path + "\" was not written.");
    return result;
  }
  bool offered = false;
  for (const std::string& pattern : ExportRequest().patterns)
    offered = offered || FileTypeOfPattern(pattern) == type;
  if (!offered) {
    TableFileResult result;
    result.ErrorCode = kErrDataMismatch;
    result.Message = "This statement cannot be written as \"" + std::string(type) + "\".";
    return result;
  }
  if (type == "rtf") return WriteDocumentFile(path, Rtf());
  if (type == "csv") return WriteTableFile(path, "csv", CsvTable());
  if (type == "htm") return WriteTableFile(path, "htm", Page());
  return WriteSheetDocument(path, Sheet());
}

}  // namespace qv
