#include "calculators/rolling_tape.h"

#include <algorithm>

#include "books/entry_clipboard.h"
#include "platform/key_codes.h"
#include "platform/utf8.h"

namespace qv {

int RollRowsThatFit(int innerHeight, int rowHeight) {
  if (rowHeight <= 0) return 0;
  // Rows 0..v, the result box below them and a bottom margin of the top one.
  const int rows = (innerHeight - 2 * kRollTopMargin) / rowHeight - 1;
  return std::max(0, rows - 1);
}

std::string PasteLimitText(const RollPasteOutcome& outcome) {
  return "Only the first " + std::to_string(outcome.LinesRead) +
         " lines were pasted: the calculator takes no more. The other " +
         std::to_string(outcome.LinesLeftOut) + " lines were left out.";
}

RollingTape::RollingTape(const LocaleInfo& locale)
    : symbols_{locale.GroupSymbol, locale.DecimalSymbol.empty() ? "." : locale.DecimalSymbol} {
  Clear();
}

void RollingTape::UpdateScrollMax() {
  const auto size = static_cast<int32_t>(list_.RollValues.size());
  scrollMax_ = std::max(0, size - 1 - visibleRows_);
  scrollValue_ = std::clamp(scrollValue_, 0, scrollMax_);
}

void RollingTape::SetVisibleRows(int visibleRows) {
  visibleRows_ = std::max(0, visibleRows);
  const auto rows = static_cast<std::size_t>(visibleRows_) + 1;
  if (list_.RollValues.size() < rows) {
    list_.RollValues.resize(rows);
    list_.RollOps.resize(rows, kRollPlus);
  }
  UpdateScrollMax();
}

void RollingTape::SetScrollValue(int32_t value) { scrollValue_ = std::clamp(value, 0, scrollMax_); }

std::string RollingTape::RowText(int row) const {
  const RollValue& value = list_.RollValues[Element(row)];
  if (value.IsNumber() && value.Value.IsZero()) return {};
  return list_.ValueText(value, symbols_);
}

char RollingTape::RowOperator(int row) const { return list_.RollOps[Element(row)]; }

bool RollingTape::IsRed(std::string_view text) { return text.find('(') != std::string_view::npos; }

void RollingTape::Clear() {
  const auto rows = static_cast<std::size_t>(visibleRows_) + 1;
  list_.RollValues.assign(rows, RollValue::Zero());
  list_.RollOps.assign(rows, kRollPlus);
  scrollValue_ = 0;
  scrollMax_ = 0;
  result_.clear();
}

std::string RollingTape::WithoutGrouping(std::string_view text) const {
  std::string out(text);
  if (symbols_.Grouping.empty()) return out;
  for (std::size_t pos = out.find(symbols_.Grouping); pos != std::string::npos;
       pos = out.find(symbols_.Grouping, pos))
    out.erase(pos, symbols_.Grouping.size());
  return out;
}

void RollingTape::StoreTyped(int row, std::string_view text) {
  RollValue& value = list_.RollValues[Element(row)];
  if (text.empty()) {
    value = RollValue::Zero();
  } else {
    value = RollValue::Read(ReadDecimalText(WithoutGrouping(text), symbols_.Decimal), text);
  }
  MailCalc();
}

std::string RollingTape::LeftText(int row, std::string_view text) const {
  if (text.empty()) return {};
  return list_.ValueText(list_.RollValues[Element(row)], symbols_);
}

void RollingTape::Append(char op) {
  list_.RollValues.emplace_back();
  list_.RollOps.push_back(op);
  UpdateScrollMax();
}

RollKeyOutcome RollingTape::ChooseOperator(int row, char op) {
  if (row < visibleRows_) {
    list_.RollOps[Element(row + 1)] = op;
    return {false, row + 1};
  }
  // The bottom row: the next element scrolls up into it.
  if (scrollValue_ < scrollMax_) {
    list_.RollOps[Element(row + 1)] = op;
  } else {
    Append(op);
  }
  scrollValue_ += 1;
  return {};
}

RollKeyOutcome RollingTape::MoveDown(int row) {
  if (row < visibleRows_) return {false, row + 1};
  if (scrollValue_ == scrollMax_) Append(RowOperator(row));
  scrollValue_ += 1;
  return {};
}

RollKeyOutcome RollingTape::KeyPress(int row, int keyAscii) {
  if (keyAscii == kCharBackspace || keyAscii == 'H' || keyAscii == 'I') return {true};
  if (keyAscii == kCharCopy || keyAscii == kCharPaste || (keyAscii >= '0' && keyAscii <= '9'))
    return {true};
  std::string typed;
  if (keyAscii > 0) AppendUtf8(typed, keyAscii);
  if (!typed.empty() && (typed == symbols_.Grouping || typed == symbols_.Decimal)) return {true};
  RollKeyOutcome outcome;
  switch (keyAscii) {
    case kCharEnter: outcome = MoveDown(row); break;
    case '*': outcome = ChooseOperator(row, 'x'); break;
    case '+':
    case '-':
    case '/': outcome = ChooseOperator(row, static_cast<char>(keyAscii)); break;
    default: return {};
  }
  MailCalc();
  return outcome;
}

bool RollingTape::KeyDown(int row, int keyCode, int& focusRow) {
  focusRow = -1;
  if (keyCode == kKeyUp) {
    if (row == 0) {
      SetScrollValue(scrollValue_ - 1);
    } else {
      focusRow = row - 1;
    }
    return true;
  }
  if (keyCode == kKeyDown) {
    if (row >= visibleRows_) {
      SetScrollValue(scrollValue_ + 1);
    } else {
      focusRow = row + 1;
    }
    return true;
  }
  return false;
}

void RollingTape::OpClick(int row) {
  char& op = list_.RollOps[Element(row)];
  op = NextRollOperator(op);
  MailCalc();
}

void RollingTape::SetMode(int16_t mode) {
  list_.RollMode = mode;
  MailCalc();
}

void RollingTape::SetDecimals(int16_t decimals) { list_.RollDecimals = decimals; }

void RollingTape::Sort() {
  int32_t count = 0;
  Selectionsort(list_.RollValues, count);
  MailCalc();
}

std::string RollingTape::CopyText() const {
  std::string text;
  for (std::size_t i = 0; i < list_.RollValues.size(); ++i) {
    if (i > 0) text += "\r\n";
    const RollValue& value = list_.RollValues[i];
    if (value.IsNumber()) {
      text += PlainDecimalText(value.Value, symbols_.Decimal);
    } else {
      text += value.Text;
    }
    const char op = list_.RollOps[i];
    if (op != kRollPlus && IsRollOperator(op)) {
      text += '\t';
      text += op;
    }
  }
  return text;
}

namespace {

// The text cut into lines at CR LF or LF.
std::vector<std::string_view> LinesOf(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find('\n', start);
    std::string_view line = text.substr(start, end == std::string_view::npos ? end : end - start);
    if (end != std::string_view::npos && line.ends_with('\r')) line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) return lines;
    start = end + 1;
  }
}

}  // namespace

RollPasteOutcome RollingTape::Paste(std::string_view text) {
  Clear();
  RollPasteOutcome outcome;
  // Element i of the paste; the list grows by one element for each past the rows.
  auto take = [&](std::size_t i) {
    if (scrollMax_ > kRollPasteScrollLimit) return false;
    if (i >= list_.RollValues.size()) Append(kRollPlus);
    ++outcome.LinesRead;
    return true;
  };
  if (const auto entry = ReadEntryClipboardText(text, symbols_.Decimal)) {
    for (std::size_t i = 0; i < entry->size(); ++i) {
      if (!take(i)) {
        outcome.LinesLeftOut = static_cast<int32_t>(entry->size() - i);
        break;
      }
      const ClipboardRow& row = (*entry)[i];
      list_.RollValues[i] = RollValue::Of(Decimal::FromAmount(row.Amount));
      list_.RollOps[i] = row.Side == kDebit ? '+' : '-';
    }
  } else {
    const std::vector<std::string_view> lines = LinesOf(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (!take(i)) {
        outcome.LinesLeftOut = static_cast<int32_t>(lines.size() - i);
        break;
      }
      const std::string_view line = lines[i];
      const std::size_t tab = line.find('\t');
      const std::string_view field = line.substr(0, tab);
      DecimalText read = ReadDecimalText(WithoutGrouping(field), symbols_.Decimal);
      if (read.Kind == DecimalTextKind::Unreadable) read = LeadingDecimal(field);
      list_.RollValues[i] = RollValue::Read(read, field);
      const std::string_view op = tab == std::string_view::npos ? "" : line.substr(tab + 1);
      list_.RollOps[i] = op.size() == 1 && IsRollOperator(op[0]) ? op[0] : kRollPlus;
    }
  }
  MailCalc();
  return outcome;
}

void RollingTape::MailCalc() { result_ = list_.MailCalc(symbols_); }

}  // namespace qv
