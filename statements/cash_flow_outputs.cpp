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
  kLabelTotal = 168,
};

constexpr std::string_view kCrLf = "\r\n";

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

std::string TableAddRow(std::string_view text, int shade, int align) {
  std::string cell = "<td bgcolor=\"";
  cell += shade == 0 ? "#F0F0F0" : "#FFFFFF";
  cell += "\" align=\"";
  cell += align == 0 ? "left" : align == 1 ? "center" : align == 2 ? "right" : "";
  cell += "\">";
  cell += text;
  cell += "</td>";
  return cell;
}

// ---- The text, line by line:
//   0 the title, 1 empty, 2 the headings, 3 empty, 4 the beginning balances, 5 "Inflows:",
//   the inflow rows, empty, the inflows' totals, empty, "Outflows:", the outflow rows,
//   empty, empty, the outflows' totals, the ending balances.

int CashFlowOutput::TextLineCount() const {
  return 14 + statement_.InflowCount() + statement_.OutflowCount();
}

void CashFlowOutput::TextLineAt(int index, TextLine& line) const {
  const CashFlowStatement& s = statement_;
  line.Cells.clear();
  line.TabAfterLast = true;
  auto cell = [&line](std::string_view text) {
    std::string plain;
    AppendPlainCell(plain, text);
    line.Cells.push_back(std::move(plain));
  };
  auto amount = [&](Amount value) {
    line.Cells.push_back(CashFlowAmountText(value, look_.Decimals, look_.Locale));
  };
  // The label, then the amounts of the shown columns, the total column included.
  auto amounts = [&](std::string_view label, const std::vector<Amount>& values) {
    cell(label);
    for (int p = first_; p <= s.TotalColumn; ++p) amount(values[static_cast<std::size_t>(p)]);
  };
  auto balances = [&](std::string_view label, bool after) {
    cell(label);
    for (int p = first_; p < s.TotalColumn; ++p)
      amount(after ? s.BalanceAfter(p) : s.BalanceBefore(p));
  };
  const int inflows = s.InflowCount(), outflows = s.OutflowCount();
  const int outflowStart = 10 + inflows;
  if (index == 0) {
    cell(Subject());
  } else if (index == 2) {
    cell("");
    for (int p = first_; p < s.TotalColumn; ++p) cell(PeriodOutputHeading(s, p, look_.Locale));
    if (ColumnCount() > 0) cell(Str(kLabelTotal));
    line.TabAfterLast = ColumnCount() == 0;
  } else if (index == 4) {
    balances(Str(kLabelBeginningBalance) + " ", false);
  } else if (index == 5) {
    cell(Str(kLabelInflows));
  } else if (index >= 6 && index < 6 + inflows) {
    const CashFlowRow& row = s.Inflows[static_cast<std::size_t>(index - 6)];
    amounts(row.Name, row.Amounts);
  } else if (index == 7 + inflows) {
    amounts(Str(kLabelTotalInflows) + " ", s.TotalInflows);
  } else if (index == 9 + inflows) {
    cell(Str(kLabelOutflows));
  } else if (index >= outflowStart && index < outflowStart + outflows) {
    const CashFlowRow& row = s.Outflows[static_cast<std::size_t>(index - outflowStart)];
    amounts(row.Name, row.Amounts);
  } else if (index == outflowStart + outflows + 2) {
    amounts(Str(kLabelTotalOutflows) + " ", s.TotalOutflows);
  } else if (index == outflowStart + outflows + 3) {
    balances(Str(kLabelEndingBalance) + " ", true);
  }
}

std::string CashFlowOutput::Ptable() const {
  std::string text;
  TextLine line;
  for (int k = 0; k < TextLineCount(); ++k) {
    TextLineAt(k, line);
    for (std::size_t c = 0; c < line.Cells.size(); ++c) {
      text += line.Cells[c];
      if (c + 1 < line.Cells.size() || line.TabAfterLast) text += '\t';
    }
    text += kCrLf;
  }
  return text;
}

TableDocument CashFlowOutput::CsvTable() const {
  TableDocument table;
  table.ShowHeadings = false;
  table.Columns.resize(1);
  // The records are the text's lines and the empty line the file adds after them.
  table.RowCount = TextLineCount() + 1;
  table.FillRow = [this, line = TextLine()](int64_t row, TableRow& out) mutable {
    if (row >= TextLineCount()) return;
    TextLineAt(static_cast<int>(row), line);
    out.Cells = line.Cells;
    // The TAB after the last cell is a comma: an empty last field.
    if (!line.Cells.empty() && line.TabAfterLast) out.Cells.emplace_back();
  };
  return table;
}

std::string CashFlowOutput::WebTable() const {
  const CashFlowStatement& s = statement_;
  auto escaped = [](std::string_view text) {
    std::string out;
    AppendHtmlText(out, text, false);
    return out;
  };
  auto bold = [&escaped](std::string_view text) { return "<b>" + escaped(text) + "</b>"; };
  auto amount = [&](Amount value) {
    return escaped(CashFlowAmountText(value, look_.Decimals, look_.Locale));
  };
  const bool columns = ColumnCount() > 0;
  std::string html = "<html><body><br><br>";
  html += "<table cellspacing=\"0\" cellpadding=\"0\" Style=\"font-size:11pt; border:none; width:" +
          std::to_string(pageWidthPixels_) + "\">";
  std::string row;
  auto add = [&row](std::string_view text, int shade, int align) {
    row += TableAddRow(text, shade, align);
  };
  auto end = [&html, &row] {
    html += "<tr>" + row + "</tr>";
    row.clear();
  };
  int t = 0;  // the shade of the rows from the inflows on, switching after each
  auto endAndSwitch = [&] {
    end();
    t = 1 - t;
  };
  // The amounts of the shown columns, the total column included.
  auto amounts = [&](const std::vector<Amount>& values, int shade, bool inBold) {
    for (int p = first_; p <= s.TotalColumn; ++p) {
      const std::string text = amount(values[static_cast<std::size_t>(p)]);
      add(inBold ? "<b>" + text + "</b>" : text, shade, 2);
    }
  };
  auto fillers = [&](std::string_view text, int shade) {
    for (int p = first_; p <= s.TotalColumn; ++p) add(text, shade, 2);
  };

  add(bold(Subject()), 1, 0);
  end();
  add("", 1, 1);
  for (int p = first_; p < s.TotalColumn; ++p)
    add(bold(PeriodOutputHeading(s, p, look_.Locale)), 1, 2);
  if (columns) add(bold(Str(kLabelTotal)), 1, 1);
  end();
  add(bold(Str(kLabelBeginningBalance)), 0, 0);
  for (int p = first_; p < s.TotalColumn; ++p)
    add("<b>" + amount(s.BalanceBefore(p)) + "</b>", 0, 2);
  if (columns) add("", 0, 2);
  end();
  add(bold(Str(kLabelInflows)), 1, 0);
  end();
  auto accountRows = [&](const std::vector<CashFlowRow>& rows) {
    for (const CashFlowRow& r : rows) {
      add("&nbsp;&nbsp;" + escaped(r.Name), t, 0);
      amounts(r.Amounts, t, false);
      endAndSwitch();
    }
  };
  accountRows(s.Inflows);
  add(bold(Str(kLabelTotalInflows)), t, 0);
  amounts(s.TotalInflows, 0, true);
  endAndSwitch();
  add("&nbsp;", t, 1);
  fillers("", t);
  endAndSwitch();
  add(bold(Str(kLabelOutflows)), t, 0);
  fillers("", t);
  endAndSwitch();
  accountRows(s.Outflows);
  add(bold(Str(kLabelTotalOutflows)), t, 0);
  amounts(s.TotalOutflows, t, false);
  endAndSwitch();
  add("&nbsp;", t, 0);
  fillers(" ", t);
  endAndSwitch();
  add("<b>&nbsp;&nbsp;" + escaped(Str(kLabelEndingBalance)) + "</b>", t, 0);
  for (int p = first_; p < s.TotalColumn; ++p)
    add("<b>" + amount(s.BalanceAfter(p)) + "</b>", t, 2);
  end();
  html += "</table></body>";
  return html;
}

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
  request.writes = true;
  return request;
}

TableFileResult CashFlowOutput::Export(const std::string& path, std::string_view type) const {
  // A statement that could not be computed has no rows: it is not written as an empty one.
  if (statement_.Status != CashFlowStatus::kOk) {
    TableFileResult result;
    result.ErrorCode = kErrDataMismatch;
    result.Message = CashFlowProblemText(statement_) + " \"" + path + "\" was not written.";
    return result;
  }
  if (type == "csv") return WriteTableFile(path, "csv", CsvTable());
  if (type == "htm") return WriteDocumentFile(path, WebTable() + std::string(kCrLf));
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
