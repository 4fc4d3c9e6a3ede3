#include "statements/trial_balance_layout.h"

#include <algorithm>

#include "platform/string_table.h"
#include "statements/statement_dates.h"
#include "statements/statement_texts.h"

namespace qv {

namespace {

constexpr ColorValue kHeadingFill = 0xE0E0E0;
constexpr ColorValue kShading = 0xF0F0F0;
constexpr ColorValue kBroughtForwardColor = 0x0000FF;  // red
constexpr int kLabelAccounts = 156, kLabelDebit = 162, kLabelCredit = 163, kLabelTotals = 164;
// Room kept between the texts of two columns, in twips at scale 1.
constexpr double kTrialGap = 120;

// The trial balance's columns: the margin, the account column (folio and name), the debit
// and the credit column, and where the names start.
struct TrialColumns {
  double M = 0, N = 0, D = 0, C = 0;
  double NameLeft = 0;
};

// The shares of the width the columns take; a column whose texts need more room takes it,
// so that no text runs into the next, and the trial balance then stands wider than the
// surface.
TrialColumns MeasureTrialColumns(DrawingSurface& s, const TrialBalance& tb,
                                 const StatementLook& look, double pixel) {
  const double width = s.ScaleWidth();
  TrialColumns columns;
  columns.M = width * 2 / 100;
  columns.N = width * 58 / 100;
  columns.D = columns.C = width * 18 / 100;
  columns.NameLeft = columns.N / 5;
  const FontSpec kept = s.Font();
  const double gap = s.Scaled(kTrialGap);
  double folios = 0, names = 0, amounts = 0;
  s.SetFontBold(false);
  for (const TrialBalanceRow& row : tb.Rows) {
    if (!row.Shown()) continue;
    folios =
        std::max(folios, s.TextWidth(TrialFolioText(row.RowFolio, look.FolioDashes, look.Locale)));
    names = std::max(names, s.TextWidth(row.Name));
    amounts =
        std::max(amounts, s.TextWidth(TrialAmountText(row.Balance, look.Decimals, look.Locale)));
  }
  s.SetFontBold(true);
  for (const Amount total : {tb.DebitTotal, tb.CreditTotal})
    amounts = std::max(amounts, s.TextWidth(TrialAmountText(total, look.Decimals, look.Locale)));
  const double headings =
      std::max(s.TextWidth(Str(kLabelDebit)), s.TextWidth(Str(kLabelCredit))) + columns.M;
  const double accounts = std::max(columns.M + s.TextWidth(Str(kLabelAccounts)),
                                   20 * pixel + s.TextWidth(Str(kLabelTotals)));
  s.SetFont(kept);
  columns.NameLeft = std::max(columns.NameLeft, columns.M + folios + gap);
  columns.N = std::max({columns.N, columns.NameLeft + names + gap, accounts + gap});
  columns.D = columns.C = std::max({columns.D, amounts + gap, headings + gap});
  return columns;
}

}  // namespace

StatementDrawing DrawTrialBalance(DrawingSurface& s, const TrialBalance& tb,
                                  const StatementLook& look) {
  StatementPen pen(s);
  const double pixel = look.ScreenTwipsPerPixel;
  s.SetFontTransparent(true);
  s.SetFontName(look.FontName);
  s.SetFontCharset(look.FontCharset);
  s.SetFontSizeScaled(10);
  s.SetFontBold(true);
  s.Print("");
  s.SetFontSizeScaled(12);
  s.Print("");
  s.Print("");
  pen.Centred(look.BusinessName);
  s.SetFontSizeScaled(10);
  s.Print("");
  s.SetFontUnderline(true);
  pen.Centred(TrialBalanceTitle(tb.TrialDate, look.Locale));
  s.SetFontUnderline(false);
  s.Print("");

  // The column headings: grey boxes, each a margin narrower than its column. The columns
  // stand from the top of the boxes; on paper too narrow for them all they are printed in
  // bands, the accounts on every band.
  const TrialColumns columns = MeasureTrialColumns(s, tb, look, pixel);
  const double m = columns.M, n = columns.N, d = columns.D, c = columns.C;
  const double y0 = s.CurrentY();
  const double boxTop = y0 - 4 * pixel, boxBottom = y0 + s.Scaled(300);
  s.SetCurrentY(boxTop);
  s.SetPageColumns({0, n, n + d, n + d + c}, 1);
  s.SetCurrentY(y0);
  pen.BeginLine(boxTop);
  s.BeginPageHeading();
  s.SetFillStyle(kFillSolid);
  s.SetFillColor(kHeadingFill);
  s.Box(m, boxTop, n, boxBottom, kBlack);
  s.Box(m + n, boxTop, n + d, boxBottom, kBlack);
  s.Box(n + d + m, boxTop, n + d + c, boxBottom, kBlack);
  s.SetFillStyle(kFillTransparent);
  s.SetCurrentY(y0);
  const std::string accounts = Str(kLabelAccounts), debit = Str(kLabelDebit),
                    credit = Str(kLabelCredit);
  s.SetCurrentX(m + (n - s.TextWidth(accounts)) / 2);
  s.PrintStay(accounts);
  s.SetCurrentX(n + m / 2 + (d - s.TextWidth(debit)) / 2);
  s.PrintStay(debit);
  s.SetCurrentX(n + d + m / 2 + (c - s.TextWidth(credit)) / 2);
  s.Print(credit);
  s.Print("");
  s.EndPageHeading();
  pen.EndLine(true);
  s.SetFontBold(false);

  // The rows with a balance; rows of 0 neither show nor change the shading.
  bool shade = true;
  for (const TrialBalanceRow& row : tb.Rows) {
    if (!row.Shown()) continue;
    pen.BeginLine();
    const std::string amount = TrialAmountText(row.Balance, look.Decimals, look.Locale);
    if (shade) {
      // The stripe is as high as the row: the amount ends the line, moving down by its
      // height in the row's font (already scaled to the text size).
      const double top = s.CurrentY();
      s.FilledBox(m, top, n + d + c, top + s.TextHeight(amount), kShading);
      s.SetCurrentY(top);
    }
    shade = !shade;
    s.SetForeColor(row.IsBroughtForward() ? kBroughtForwardColor : kBlack);
    s.SetCurrentX(m);
    s.PrintStay(TrialFolioText(row.RowFolio, look.FolioDashes, look.Locale));
    s.SetCurrentX(columns.NameLeft);
    s.PrintStay(row.Name);
    s.SetCurrentX((row.IsDebit() ? n + d : n + d + c) - s.TextWidth(amount));
    s.Print(amount);
    s.SetForeColor(kBlack);
    pen.EndLine();
    pen.MarkRow(row.RowFolio);
  }

  s.Print("");
  s.SetFontBold(true);
  pen.BeginLine();
  s.SetCurrentX(20 * pixel);
  s.PrintStay(Str(kLabelTotals));
  const std::string debitTotal = TrialAmountText(tb.DebitTotal, look.Decimals, look.Locale);
  const std::string creditTotal = TrialAmountText(tb.CreditTotal, look.Decimals, look.Locale);
  s.SetCurrentX(n + d - s.TextWidth(debitTotal));
  s.PrintStay(debitTotal);
  s.SetCurrentX(n + d + c - s.TextWidth(creditTotal));
  s.Print(creditTotal);
  pen.EndLine();
  return pen.Finish(400);
}

StatementDrawing LayOutTrialBalance(const TrialBalance& tb, const StatementLook& look,
                                    const TextMetrics& metrics, double width, double printScale) {
  return RecordStatement(metrics, width, printScale,
                         [&](DrawingSurface& s) { return DrawTrialBalance(s, tb, look); });
}

}  // namespace qv
