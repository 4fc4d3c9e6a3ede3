#include "statements/cash_flow_outputs.h"

#include "bookfiles/excel_file.h"
#include "bookfiles/table_formats.h"
#include "books/module_procedures.h"
#include "platform/string_table.h"

namespace qv {

namespace {

enum : int {
  kSaveId = 165,
  kSaveAsId = 166,
};

// The sheet's fonts, in the order they are added: plain, bold, underlined, bold italic.
enum SheetFont : int { kPlainFont = 0, kBoldFont = 1 };
constexpr int kNameColumnChars = 62;    // 500 pixels at 15 twips a pixel
constexpr int kAmountColumnChars = 15;  // 120 pixels

}  // namespace

CashFlowOutput::CashFlowOutput(const CashFlowStatement& statement, StatementLook look,
                               int firstPeriodShown, std::string caption, int pageWidthPixels)
    : statement_(statement),
      look_(std::move(look)),
      first_(firstPeriodShown),
      caption_(std::move(caption)),
      pageWidthPixels_(pageWidthPixels) {}

int CashFlowOutput::ColumnCount() const {
  return statement_.TotalColumn >= first_ ? statement_.TotalColumn - first_ + 1 : 0;
}

std::string CashFlowOutput::Subject() const { return look_.BusinessName + " " + caption_; }

TableDocument CashFlowOutput::Table() const {
  TableDocument table;
  table.Title = {Subject()};
  table.Columns.push_back(TableColumn{"", CellAlign::kLeft, 40});
  for (int p = first_; p <= statement_.TotalColumn; ++p)
    table.Columns.push_back(
        TableColumn{PeriodOutputHeading(statement_, p, look_.Locale), CellAlign::kRight, 14});
  table.Page.WidthPixels = pageWidthPixels_;
  table.Page.FontPoints = 11;
  table.Page.CellPadding = 0;
  const int inflows = statement_.InflowCount(), outflows = statement_.OutflowCount();
  table.RowCount = statement_.TotalColumn > 0 ? 8 + inflows + outflows : 0;
  table.FillRow = [this, inflows](int64_t row, TableRow& out) {
    const CashFlowStatement& s = statement_;
    const auto r = static_cast<int>(row);
    auto amounts = [&](const std::vector<Amount>& values, int last) {
      for (int p = first_; p <= last; ++p)
        out.Cells[static_cast<std::size_t>(p - first_) + 1] =
            CashFlowAmountText(values[static_cast<std::size_t>(p)], look_.Decimals, look_.Locale);
    };
    auto account = [&](const CashFlowRow& account, int index) {
      out.Cells[0] = account.Name;
      out.Shaded = index % 2 == 0;
      amounts(account.Amounts, s.TotalColumn);
    };
    auto label = [&](int id) {
      out.Cells[0] = Str(id);
      out.Bold = true;
    };
    const int outflowStart = 5 + inflows;
    const int end = static_cast<int>(8 + inflows + s.OutflowCount());
    if (r == 0) {
      label(kLabelBeginningBalance);
      for (int p = first_; p < s.TotalColumn; ++p)
        out.Cells[static_cast<std::size_t>(p - first_) + 1] =
            CashFlowAmountText(s.BalanceBefore(p), look_.Decimals, look_.Locale);
    } else if (r == 1) {
      label(kLabelInflows);
    } else if (r < 2 + inflows) {
      account(s.Inflows[static_cast<std::size_t>(r - 2)], r - 2);
    } else if (r == 2 + inflows) {
      label(kLabelTotalInflows);
      amounts(s.TotalInflows, s.TotalColumn);
    } else if (r == 4 + inflows) {
      label(kLabelOutflows);
    } else if (r >= outflowStart && r < end - 3) {
      account(s.Outflows[static_cast<std::size_t>(r - outflowStart)], r - outflowStart);
    } else if (r == end - 3) {
      label(kLabelTotalOutflows);
      amounts(s.TotalOutflows, s.TotalColumn);
    } else if (r == end - 1) {
      label(kLabelEndingBalance);
      for (int p = first_; p < s.TotalColumn; ++p)
        out.Cells[static_cast<std::size_t>(p - first_) + 1] =
            CashFlowAmountText(s.BalanceAfter(p), look_.Decimals, look_.Locale);
    }
  };
  return table;
}

std::string CashFlowOutput::Text() const { return TableText(Table()); }

std::string CashFlowOutput::Html() const { return TableHtml(Table()); }

SheetDocument CashFlowOutput::Sheet() const {
  SheetDocument sheet;
  sheet.FontName = look_.FontName;
  sheet.FontPoints = 9;
  sheet.FontAttributes = {0, kExcelBold, kExcelUnderline, kExcelBold + kExcelItalic};
  const int columns = ColumnCount() + 1;
  sheet.ColumnWidths.assign(static_cast<std::size_t>(columns), kAmountColumnChars);
  sheet.ColumnWidths[0] = kNameColumnChars;
  sheet.Header = sheet.Footer = look_.BusinessName;
  const int inflows = statement_.InflowCount(), outflows = statement_.OutflowCount();
  sheet.RowCount = statement_.TotalColumn > 0 ? 11 + inflows + outflows : 0;
  sheet.FillRow = [this, columns, inflows, outflows](int64_t row, std::vector<SheetCell>& out) {
    const CashFlowStatement& s = statement_;
    auto cell = [&out](int column, std::string text, int align, int font = kBoldFont) {
      out.push_back(SheetCell{column, std::move(text), font, align, true});
    };
    auto empties = [&](int from) {
      for (int c = from; c <= columns; ++c) cell(c, "", kExcelLeft);
    };
    auto amount = [&](int p, Amount value, int font = kBoldFont) {
      cell(p - first_ + 2, CashFlowAmountText(value, look_.Decimals, look_.Locale), kExcelRight,
           font);
    };
    auto line = [&](int id, const std::vector<Amount>& values) {
      cell(1, Str(id), kExcelLeft);
      for (int p = first_; p <= s.TotalColumn; ++p) amount(p, values[static_cast<std::size_t>(p)]);
    };
    auto balances = [&](int id, bool after) {
      cell(1, Str(id), kExcelLeft);
      for (int p = first_; p < s.TotalColumn; ++p)
        amount(p, after ? s.BalanceAfter(p) : s.BalanceBefore(p));
    };
    auto account = [&](const CashFlowRow& r) {
      cell(1, r.Name + "  ", kExcelLeft, kPlainFont);
      for (int p = first_; p <= s.TotalColumn; ++p)
        amount(p, r.Amounts[static_cast<std::size_t>(p)], kPlainFont);
    };
    const auto r = static_cast<int>(row);
    const int outflowRow = 9 + inflows;  // the first outflow row
    if (r == 1 || r == 7 + inflows || r == outflowRow + outflows + 1) {
      empties(1);
    } else if (r == 2) {
      cell(1, Subject(), kExcelLeft);
      empties(2);
    } else if (r == 3) {
      for (int p = first_; p <= s.TotalColumn; ++p)
        cell(p - first_ + 2, PeriodOutputHeading(s, p, look_.Locale), kExcelCentre);
    } else if (r == 4) {
      balances(kLabelBeginningBalance, false);
    } else if (r == 5) {
      cell(1, Str(kLabelInflows), kExcelLeft);
      empties(2);
    } else if (r < 6 + inflows) {
      account(s.Inflows[static_cast<std::size_t>(r - 6)]);
    } else if (r == 6 + inflows) {
      line(kLabelTotalInflows, s.TotalInflows);
    } else if (r == 8 + inflows) {
      cell(1, Str(kLabelOutflows), kExcelLeft);
      empties(2);
    } else if (r < outflowRow + outflows) {
      account(s.Outflows[static_cast<std::size_t>(r - outflowRow)]);
    } else if (r == outflowRow + outflows) {
      line(kLabelTotalOutflows, s.TotalOutflows);
    } else {
      balances(kLabelEndingBalance, true);
    }
  };
  return sheet;
}

FileDialogRequest CashFlowOutput::ExportRequest() const {
  FileDialogRequest request;
  request.defaultType = "xls";
  request.patterns = {"*.xls", "*.csv", "*.htm"};
  request.captionId = kSaveAsId;
  request.acceptCaptionId = kSaveId;
  return request;
}

TableFileResult CashFlowOutput::Export(const std::string& path, std::string_view type) const {
  if (type == "csv" || type == "htm") return WriteTableFile(path, type, Table());
  TableFileResult result;
  if (type != "xls") {
    result.ErrorCode = kErrDataMismatch;
    result.Message =
        "The comparative statement cannot be written as \"" + std::string(type) + "\".";
    return result;
  }
  if (ColumnCount() + 1 > kExcelMaxColumns) {
    result.ErrorCode = kErrDataMismatch;
    result.Message = "An Excel 2.1 sheet holds 256 columns, and this statement shows " +
                     std::to_string(ColumnCount() + 1) +
                     ", so no sheet was written. Choose a later first period or a longer period, "
                     "or export it as CSV.";
    return result;
  }
  return WriteSheetDocument(path, Sheet());
}

}  // namespace qv
