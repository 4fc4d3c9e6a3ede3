#include "books/entry_screen.h"

#include <algorithm>
#include <cmath>

#include "books/date_styles.h"
#include "books/module_procedures.h"
#include "platform/key_codes.h"
#include "platform/string_table.h"
#include "platform/units.h"
#include "platform/utf8.h"

namespace qv {
namespace {

int32_t ScaledTwips(int32_t twips, double scale) {
  return static_cast<int32_t>(RoundHalfEven(twips * scale));
}

}  // namespace

EntryScreen::EntryScreen(Books& books, const LocaleInfo& locale) : books_(books), locale_(locale) {
  layout_.Debit.resize(1);
  layout_.Credit.resize(1);
}

void EntryScreen::SetScreenScale(double scale) {
  metrics_ = EntryRowMetrics{};
  metrics_.RowHeight = ScaledTwips(metrics_.RowHeight, scale);
}

void EntryScreen::ClampBounds() {
  const int32_t last = std::max(books_.LastLineIndex(), 0);
  entryFirstLine_ = std::clamp(entryFirstLine_, 0, last);
  entryLastLine_ = std::clamp(entryLastLine_, entryFirstLine_, last);
  currentLine_ = std::clamp(currentLine_, 0, last);
}

const EntryLayout& EntryScreen::ShowLine(int64_t value) {
  entryScrollOffset_ = 0;
  const int32_t last = books_.LastLineIndex();
  const auto line = static_cast<int32_t>(std::clamp<int64_t>(value, 0, std::max(last, 0)));
  const EntryRange range = EntryBounds(books_, line);
  entryFirstLine_ = range.First;
  entryLastLine_ = range.Last;
  currentLine_ = entryFirstLine_;
  return Arrange();
}

void EntryScreen::SetShownEntry(int32_t first, int32_t last) {
  entryFirstLine_ = first;
  entryLastLine_ = last;
  currentLine_ = first;
  ClampBounds();
}

const EntryLayout& EntryScreen::SetRowOffset(int32_t offset) {
  entryScrollOffset_ = offset;
  return Arrange();
}

const EntryLayout& EntryScreen::Arrange() {
  ClampBounds();
  EntryLayout layout;
  const int32_t start = metrics_.FirstRowTop - entryScrollOffset_;
  int32_t rowTop = start;
  layout.DebitLabelTop = start + 30;
  if (books_.LastLineIndex() >= 0) {
    layout.DateText =
        FormatDateStyle(books_.PostingLines[static_cast<std::size_t>(entryFirstLine_)].LineDate,
                        books_.DateStyleIndex, locale_);
  }

  auto addRow = [&](std::vector<EntryRowView>& rows, int32_t line) {
    EntryRowView row;
    row.Line = line;
    row.Top = rowTop;
    if (line >= 0) {
      const PostingLine& l = books_.PostingLines[static_cast<std::size_t>(line)];
      if (!l.LineFolio.IsZero()) {
        row.FolioText = FolioText(l.LineFolio);
        row.AccountName = AccountNameOfFolio(books_, l.LineFolio);
      }
      row.AmountText = AmountText(l.Amount);
    }
    rows.push_back(std::move(row));
    rowTop += metrics_.RowHeight + metrics_.RowGap;
  };

  if (books_.LastLineIndex() >= 0) {
    for (int32_t i = entryFirstLine_; i <= entryLastLine_; ++i) {
      const uint8_t side = books_.PostingLines[static_cast<std::size_t>(i)].Side;
      if (side == kDebit)
        addRow(layout.Debit, i);
      else if (side == kCredit)
        addRow(layout.Credit, i);
    }
  }
  lastDebitRow_ = static_cast<int32_t>(layout.Debit.size()) - 1;
  lastCreditRow_ = static_cast<int32_t>(layout.Credit.size()) - 1;
  // A side without lines still shows its first row, empty and standing for no line.
  if (layout.Debit.empty()) addRow(layout.Debit, -1);
  if (layout.Credit.empty()) addRow(layout.Credit, -1);

  const EntryRowView& lastDebit = layout.Debit.back();
  layout.DebitCompoundTop = lastDebit.Top;
  layout.CreditCompoundTop = layout.Credit.back().Top;
  layout.CreditLabelTop = lastDebit.Top + metrics_.RowHeight + 80;
  layout.CreditSignLabelTop = lastDebit.Top + metrics_.RowHeight + 100;
  layout.RowTop = rowTop;
  layout.NotesTop = rowTop;
  layout.NotesLabelTop = rowTop + 20;
  if (layout.Debit.size() == 1)
    layout.CalcCompound = CalcCompoundPlace::BesideDebit;
  else if (layout.Credit.size() == 1)
    layout.CalcCompound = CalcCompoundPlace::BesideCredit;
  layout_ = std::move(layout);
  return layout_;
}

int32_t EntryScreen::LineOfDebitRow(int row) const {
  if (row < 0 || row >= static_cast<int>(layout_.Debit.size())) return -1;
  return layout_.Debit[static_cast<std::size_t>(row)].Line;
}

int32_t EntryScreen::LineOfCreditRow(int row) const {
  if (row < 0 || row >= static_cast<int>(layout_.Credit.size())) return -1;
  return layout_.Credit[static_cast<std::size_t>(row)].Line;
}

std::string EntryScreen::EntryNumberText() const {
  if (books_.LastLineIndex() < 0) return {};
  return std::string(
      TrimText(books_.EntryNumbers[static_cast<std::size_t>(entryFirstLine_)].Text()));
}

std::string EntryScreen::NotesText() const {
  if (books_.LastLineIndex() < 0) return {};
  const std::string_view notes =
      TrimText(books_.PostingLines[static_cast<std::size_t>(entryLastLine_)].Notes);
  return notes == kNoNotes ? std::string() : std::string(notes);
}

bool EntryScreen::Reconciled() const {
  if (books_.LastLineIndex() < 0) return false;
  return books_.PostingLines[static_cast<std::size_t>(entryFirstLine_)].Reconciled == 1;
}

int32_t EntryScreen::EditFloorLine() const {
  return books_.AdminPassword.empty() ? 0 : books_.LastLineIndex() - 30;
}

bool EntryScreen::DebitCompoundShown() const {
  return entryLastLine_ == books_.LastLineIndex() && lastDebitRow_ + 1 < kMaxRowsPerSide;
}

bool EntryScreen::CreditCompoundShown() const {
  return entryLastLine_ == books_.LastLineIndex() && lastCreditRow_ + 1 < kMaxRowsPerSide;
}

std::string EntryScreen::StatusAmountText(Amount amount) const {
  return FormatAmount(amount, LocaleAmountStyle(2, locale_));
}

EntryStatus EntryScreen::SumEntry() {
  const SideTotals totals = SumSides(books_.PostingLines, entryFirstLine_, entryLastLine_);
  EntryStatus status;
  const auto& d = totals.Debit;
  const auto& c = totals.Credit;
  const auto difference = totals.Difference();
  if (!difference) {
    status.Text = "The totals of this entry are too large to add up.";
    status.Color = kRed;
    return status;
  }
  status.Text =
      Str(150) + " " + StatusAmountText(*d) + "     " + Str(151) + " " + StatusAmountText(*c);
  if (*d == *c) {
    status.Color = kBlack;
    status.CalcCompound = CalcCompoundChange::Hide;
    return status;
  }
  status.Text += "     " + Str(155) + " : " + StatusAmountText(*difference) + "  ";
  status.Color = kRed;
  const bool oneSideEmpty = (d->IsZero() && *c > Amount()) || (c->IsZero() && *d > Amount());
  const bool singleLineSide = layout_.Debit.size() < 2 || layout_.Credit.size() < 2;
  if (oneSideEmpty && singleLineSide) status.CalcCompound = CalcCompoundChange::Show;
  return status;
}

int64_t EntryScreen::EntryKeyTarget(int keyCode) const {
  if (keyCode == kKeyUp) return entryFirstLine_ > 0 ? entryFirstLine_ - 1 : entryFirstLine_;
  if (keyCode == kKeyDown)
    return int64_t{entryLastLine_} + 1 < books_.LastLineIndex() ? entryLastLine_ + 1
                                                                : entryFirstLine_;
  return currentLine_;
}

std::optional<int32_t> EntryScreen::FindEntryNumber(std::string_view text) const {
  const EntryNumber key(text);
  const auto& numbers = books_.EntryNumbers;
  const auto it = std::find(numbers.begin(), numbers.end(), key);
  if (it == numbers.end()) return std::nullopt;
  return static_cast<int32_t>(it - numbers.begin());
}

std::string EntryScreen::NotFoundText(std::string_view text) {
  std::string message = Str(286);
  const std::size_t mark = message.find('?');
  if (mark != std::string::npos) message.replace(mark, 1, text);
  return message;
}

bool EntryScreen::StoreEntryNumber(std::string_view text) {
  if (ReadOnly() || books_.LastLineIndex() < 0) return false;
  const EntryNumber number(text);
  for (int32_t i = entryFirstLine_; i <= entryLastLine_; ++i)
    books_.EntryNumbers[static_cast<std::size_t>(i)] = number;
  return true;
}

std::string EntryScreen::FolioText(Folio folio) const {
  if (folio.IsZero()) return {};
  const bool dashes = books_.FolioDashes != 0;
  return PlainAmountText(folio,
                         dashes ? std::string_view("-") : std::string_view(locale_.DecimalSymbol));
}

std::string EntryScreen::AmountText(Amount amount) const {
  if (amount.IsZero()) return {};
  return PlainAmountText(amount, locale_.DecimalSymbol);
}

std::vector<std::string> AccountListNames(const Books& books) {
  std::vector<std::string> names;
  const auto count = static_cast<std::size_t>(ChartAccountCount(books));
  for (std::size_t i = 0; i < count; ++i)
    if (!TrimText(books.AccountNames[i]).empty()) names.push_back(books.AccountNames[i]);
  return names;
}

RowScrollState RowScrollFor(int32_t contentBottom, int32_t boxHeight, int64_t wanted) {
  RowScrollState state;
  const int64_t overflow = int64_t{contentBottom} - boxHeight;
  if (overflow <= 0) return state;
  state.Visible = true;
  state.ValueMax = static_cast<int32_t>(std::min<int64_t>(overflow, INT32_MAX));
  state.Value = static_cast<int32_t>(std::clamp<int64_t>(wanted, 0, state.ValueMax));
  return state;
}

}  // namespace qv
