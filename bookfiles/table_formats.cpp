#include "bookfiles/table_formats.h"

#include <algorithm>

#include "bookfiles/csv_file.h"
#include "platform/utf8.h"

namespace qv {
namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
// What a spreadsheet takes for "the rest is text".
constexpr char kTextMark = '\'';
// Twips per character of a column's width in the RTF table.
constexpr int kRtfTwipsPerCharacter = 120;

// Walks the code points of a text; a malformed byte reads as U+FFFD. A run of ASCII
// characters that `plain` lets through as they are goes to `out` whole.
template <class Plain, class F>
void ForEachCodePoint(std::string_view text, std::string& out, Plain plain, F f) {
  for (std::size_t at = 0; at < text.size();) {
    std::size_t end = at;
    while (end < text.size() && plain(static_cast<unsigned char>(text[end]))) ++end;
    if (end > at) {
      out.append(text.substr(at, end - at));
      at = end;
      continue;
    }
    const Utf8Char c = DecodeUtf8At(text, at);
    f(c.CodePoint < 0 ? 0xFFFD : c.CodePoint);
    at += c.Length;
  }
}

// Calls `line` for each part of a text split at its line breaks (CR LF, LF or CR), and
// `lineBreak` between the parts.
template <class Line, class Break>
void ForEachLine(std::string_view text, Line line, Break lineBreak) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    line(text.substr(start, i - start));
    lineBreak();
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  line(text.substr(start));
}

// Collects the writer's output and hands it to the sink in pieces. Each writer hands on
// its last piece itself with Flush: the sink may throw (a file that stopped taking bytes), so
// it is never called from the destructor, which also runs while such an exception unwinds.
class Output {
 public:
  explicit Output(const TextSink& sink) : sink_(sink) {}
  std::string& Text() { return buffer_; }
  void Spill() {
    if (buffer_.size() >= kChunk) Flush();
  }
  void Flush() {
    if (!buffer_.empty() && sink_) sink_(buffer_);
    buffer_.clear();
  }

 private:
  static constexpr std::size_t kChunk = 1 << 16;
  const TextSink& sink_;
  std::string buffer_;
};

// Runs `row` for every row of the table, reporting progress.
template <class F>
void ForEachRow(const TableDocument& table, const ProgressFn& progress, Output& out, F row) {
  TableRow cells;
  ProgressTicker ticker(progress, table.RowCount);
  for (int64_t r = 0; r < table.RowCount; ++r) {
    table.Row(r, cells);
    row(cells);
    out.Spill();
    ticker.At(r + 1);
  }
}

// ---- Plain text.

void AppendPlainRow(std::string& out, const std::vector<std::string>& cells, int indented = -1) {
  for (std::size_t c = 0; c < cells.size(); ++c) {
    if (c > 0) out.push_back('\t');
    if (static_cast<int>(c) == indented) out += "    ";
    AppendPlainCell(out, cells[c]);
  }
  out += kCrLf;
}

std::vector<std::string> Headings(const TableDocument& table) {
  std::vector<std::string> headings;
  for (const TableColumn& column : table.Columns) headings.push_back(column.Heading);
  return headings;
}

// ---- RTF.

const char* RtfAlignment(CellAlign align) {
  switch (align) {
    case CellAlign::kRight: return "\\qr";
    case CellAlign::kCentre: return "\\qc";
    case CellAlign::kLeft: break;
  }
  return "\\ql";
}

void AppendRtfRow(std::string& out, const TableDocument& table,
                  const std::vector<std::string>& cells, bool bold, int indented = -1) {
  out += "\\trowd\\trgaph60";
  int right = 0;
  for (const TableColumn& column : table.Columns) {
    right += (column.Width > 0 ? column.Width : 1) * kRtfTwipsPerCharacter;
    out += "\\cellx" + std::to_string(right);
  }
  out += kCrLf;
  for (std::size_t c = 0; c < table.Columns.size(); ++c) {
    out += "\\pard\\intbl";
    out += RtfAlignment(table.Columns[c].Align);
    if (static_cast<int>(c) == indented) out += "\\li240";
    out += bold ? "\\b " : " ";
    AppendRtfText(out, c < cells.size() ? cells[c] : std::string());
    out += bold ? "\\b0\\cell" : "\\cell";
    out += kCrLf;
  }
  out += "\\row";
  out += kCrLf;
}

// ---- HTML.

const char* HtmlAlignment(CellAlign align) {
  switch (align) {
    case CellAlign::kRight: return "right";
    case CellAlign::kCentre: return "center";
    case CellAlign::kLeft: break;
  }
  return "left";
}

// True for the characters that XML 1.0 allows in a document.
bool XmlAllows(int32_t c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
         (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

void AppendHtmlCells(std::string& out, const TableDocument& table,
                     const std::vector<std::string>& cells, const char* tag, bool bold,
                     int indented = -1, bool shaded = false) {
  out += shaded ? "<tr style=\"background-color:#E0E0E0\">" : "<tr>";
  for (std::size_t c = 0; c < table.Columns.size(); ++c) {
    out += "<";
    out += tag;
    out += " align=\"";
    out += HtmlAlignment(table.Columns[c].Align);
    out += static_cast<int>(c) == indented ? "\" style=\"padding-left:2em\">" : "\">";
    if (bold) out += "<b>";
    AppendHtmlText(out, c < cells.size() ? cells[c] : std::string());
    if (bold) out += "</b>";
    out += "</";
    out += tag;
    out += ">";
  }
  out += "</tr>";
  out += kCrLf;
}

}  // namespace

void AppendPlainText(std::string& out, std::string_view text) {
  const std::string clean = IsValidUtf8(text) ? std::string(text) : SanitizeUtf8(text);
  for (char c : clean) out.push_back(c == '\t' || c == '\r' || c == '\n' ? ' ' : c);
}

bool ReadsAsFormula(std::string_view cell) {
  if (cell.empty()) return false;
  switch (cell.front()) {
    case '=':
    case '@':
    case '\t':
    case '\r': return true;
    case '+':
    case '-': break;
    default: return false;
  }
  // A signed figure is a number to the spreadsheet, never a formula: digits with the decimal
  // and grouping symbols, which are ASCII punctuation or blanks or characters beyond ASCII.
  bool digits = false;
  for (const char ch : cell.substr(1)) {
    const auto c = static_cast<unsigned char>(ch);
    if (c >= '0' && c <= '9')
      digits = true;
    else if (c < 0x80 && c != '.' && c != ',' && c != ' ' && c != '\'')
      return true;
  }
  return !digits;
}

void AppendPlainCell(std::string& out, std::string_view cell) {
  if (ReadsAsFormula(cell)) out.push_back(kTextMark);
  AppendPlainText(out, cell);
}

void AppendRtfText(std::string& out, std::string_view text) {
  ForEachLine(
      text,
      [&](std::string_view line) {
        const auto plain = [](unsigned char c) {
          return c >= 0x20 && c < 0x80 && c != '\\' && c != '{' && c != '}';
        };
        ForEachCodePoint(line, out, plain, [&](int32_t c) {
          if (c == '\\' || c == '{' || c == '}') {
            out.push_back('\\');
            out.push_back(static_cast<char>(c));
          } else if (c == '\t') {
            out += "\\tab ";
          } else if (c < 0x20) {
            // Other control characters have no place in the text.
          } else if (c < 0x80) {
            out.push_back(static_cast<char>(c));
          } else {
            // \uN takes a signed 16-bit UTF-16 unit; "?" is what a reader without Unicode
            // shows (\uc1 says one such character follows).
            auto unit = [&](int32_t u) {
              out += "\\u" + std::to_string(u >= 0x8000 ? u - 0x10000 : u) + "?";
            };
            if (c > 0xFFFF) {
              unit(0xD800 + ((c - 0x10000) >> 10));
              unit(0xDC00 + ((c - 0x10000) & 0x3FF));
            } else {
              unit(c);
            }
          }
        });
      },
      [&] { out += "\\line "; });
}

void AppendHtmlText(std::string& out, std::string_view text, bool breaks) {
  ForEachLine(
      text,
      [&](std::string_view line) {
        const auto plain = [](unsigned char c) {
          return c >= 0x20 && c < 0x80 && c != '&' && c != '<' && c != '>' && c != '"' && c != '\'';
        };
        ForEachCodePoint(line, out, plain, [&](int32_t c) {
          switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&#39;"; break;
            default:
              if (XmlAllows(c)) AppendUtf8(out, c);
          }
        });
      },
      [&] { out += breaks ? "<br/>" : " "; });
}

void WriteTableText(const TableDocument& table, const TextSink& sink, const ProgressFn& progress) {
  Output out(sink);
  for (const std::string& line : table.Title) {
    AppendPlainCell(out.Text(), line);
    out.Text() += kCrLf;
  }
  if (!table.Title.empty()) out.Text() += kCrLf;
  if (table.ShowHeadings) AppendPlainRow(out.Text(), Headings(table));
  ForEachRow(table, progress, out,
             [&](const TableRow& row) { AppendPlainRow(out.Text(), row.Cells, row.IndentedCell); });
  out.Flush();
}

void WriteTableCsv(const TableDocument& table, const TextSink& sink, const ProgressFn& progress) {
  Output out(sink);
  out.Text() += kUtf8ByteOrderMark;
  std::string field;
  auto record = [&](const std::vector<std::string>& cells) {
    for (std::size_t c = 0; c < cells.size(); ++c) {
      if (c > 0) out.Text().push_back(',');
      field.clear();
      if (ReadsAsFormula(cells[c])) field.push_back(kTextMark);
      field += IsValidUtf8(cells[c]) ? cells[c] : SanitizeUtf8(cells[c]);
      AppendCsvField(out.Text(), field);
    }
    out.Text() += kCrLf;
  };
  if (table.ShowHeadings) record(Headings(table));
  ForEachRow(table, progress, out, [&](const TableRow& row) { record(row.Cells); });
  out.Flush();
}

void WriteTableRtf(const TableDocument& table, const TextSink& sink, const ProgressFn& progress) {
  Output out(sink);
  std::string& text = out.Text();
  text += "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}";
  text += kCrLf;
  text += "\\viewkind4\\uc1\\pard\\f0\\fs20";
  text += kCrLf;
  for (std::size_t i = 0; i < table.Title.size(); ++i) {
    text += i == 0 ? "\\pard\\b\\fs28 " : "\\pard\\fs20 ";
    AppendRtfText(text, table.Title[i]);
    text += i == 0 ? "\\b0\\fs20\\par" : "\\par";
    text += kCrLf;
  }
  if (!table.Title.empty()) {
    text += "\\pard\\par";
    text += kCrLf;
  }
  if (table.ShowHeadings) AppendRtfRow(text, table, Headings(table), true);
  ForEachRow(table, progress, out, [&](const TableRow& row) {
    AppendRtfRow(out.Text(), table, row.Cells, row.Bold, row.IndentedCell);
  });
  out.Text() += "\\pard\\par";
  out.Text() += kCrLf;
  out.Text() += "}";
  out.Flush();
}

void WriteTableHtml(const TableDocument& table, const TextSink& sink, const ProgressFn& progress) {
  Output out(sink);
  std::string& text = out.Text();
  const TablePage& page = table.Page;
  const std::string fontSize = "font-size:" + std::to_string(page.FontPoints) + "pt";
  const std::string width =
      page.WidthPixels > 0 ? "; width:" + std::to_string(page.WidthPixels) + "px" : "";
  text += "<!DOCTYPE html>";
  text += kCrLf;
  text += "<html xmlns=\"http://www.w3.org/1999/xhtml\"><head><meta charset=\"utf-8\"/><title>";
  if (!table.Title.empty()) AppendHtmlText(text, table.Title.front(), false);
  text += "</title></head>";
  text += kCrLf;
  text += "<body style=\"font-family:Arial; " + fontSize + "\">";
  text += kCrLf;
  if (!table.Title.empty() && page.CentredTitle) {
    text += "<br/><br/><p align=\"center\" style=\"" + fontSize + width + "\"><b>";
    for (std::size_t i = 0; i < table.Title.size(); ++i) {
      if (i > 0) text += "<br/><br/>";
      AppendHtmlText(text, table.Title[i]);
    }
    text += "</b></p>";
    text += kCrLf;
  } else if (!table.Title.empty()) {
    text += "<p>";
    for (std::size_t i = 0; i < table.Title.size(); ++i) {
      if (i > 0) text += "<br/>";
      if (i == 0) text += "<b style=\"font-size:14pt\">";
      AppendHtmlText(text, table.Title[i]);
      if (i == 0) text += "</b>";
    }
    text += "</p>";
    text += kCrLf;
  }
  int totalWidth = 0;
  for (const TableColumn& column : table.Columns) totalWidth += column.Width > 0 ? column.Width : 1;
  text += "<table cellspacing=\"0\" cellpadding=\"" + std::to_string(page.CellPadding) +
          "\" style=\"" + fontSize + "; border:none" + width + "\">";
  text += kCrLf;
  text += "<colgroup>";
  for (const TableColumn& column : table.Columns)
    text += "<col width=\"" +
            std::to_string((column.Width > 0 ? column.Width : 1) * 100 / std::max(totalWidth, 1)) +
            "%\"/>";
  text += "</colgroup>";
  text += kCrLf;
  if (table.ShowHeadings) AppendHtmlCells(text, table, Headings(table), "th", false);
  ForEachRow(table, progress, out, [&](const TableRow& row) {
    AppendHtmlCells(out.Text(), table, row.Cells, "td", row.Bold, row.IndentedCell, row.Shaded);
  });
  out.Text() += "</table></body></html>";
  out.Text() += kCrLf;
  out.Flush();
}

namespace {

std::string Collect(void (*writer)(const TableDocument&, const TextSink&, const ProgressFn&),
                    const TableDocument& table) {
  std::string all;
  writer(table, [&](std::string_view piece) { all += piece; }, {});
  return all;
}

}  // namespace

std::string TableText(const TableDocument& table) { return Collect(WriteTableText, table); }
std::string TableCsv(const TableDocument& table) { return Collect(WriteTableCsv, table); }
std::string TableRtf(const TableDocument& table) { return Collect(WriteTableRtf, table); }
std::string TableHtml(const TableDocument& table) { return Collect(WriteTableHtml, table); }

}  // namespace qv
