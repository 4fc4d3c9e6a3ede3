#include "accounts/chart_editor.h"

#include <gtest/gtest.h>

#include "platform/key_codes.h"
#include "platform/text_metrics.h"
#include "tests/support/book_builder.h"

namespace qv {
namespace {

using testing::BookWithChart;
using testing::Money;

// A chart of `count` accounts: "Account k" with folio 1000 + 10k, type k % 9.
Books ChartOf(int count) {
  Books books = BookWithChart({});
  books.ResizeChart(count - 1);
  for (int k = 0; k < count; ++k) {
    const auto i = static_cast<std::size_t>(k);
    books.AccountNames[i] = "Account " + std::to_string(k);
    books.AccountFolios[i] = Folio::FromUnits(1000 + 10 * k);
    books.AccountTypes[i] = static_cast<uint8_t>(k % 9);
  }
  return books;
}

TEST(ChartFolioTest, TextsReadAsTheFolioTheyShowAndRedrawingNeverCutsOne) {
  auto read = [](const char* text, const char* decimal) {
    const FolioReading r = ReadChartFolio(text, decimal);
    return std::pair(r.Kind, r.Value);
  };
  const std::pair<const char*, double> numbers[] = {
      {"110-1", 110.1}, {"110.1", 110.1}, {"-5", 0.5}, {"110/2", 110}, {" 1 10 ", 110},
  };
  for (const auto& [text, value] : numbers)
    EXPECT_EQ(read(text, "."), std::pair(FolioTextKind::Number, Money(value))) << text;
  for (const char* text : {"110,1", "110.1", "110-1"})
    EXPECT_EQ(read(text, ","), std::pair(FolioTextKind::Number, Money(110.1))) << text;
  const std::pair<const char*, FolioTextKind> refused[] = {
      {"", FolioTextKind::Empty},
      {"  ", FolioTextKind::Empty},
      {"-", FolioTextKind::NotANumber},
      {"/5", FolioTextKind::NotANumber},
      {"11a", FolioTextKind::NotANumber},
      {"110.1.2", FolioTextKind::Ambiguous},
      {"99999999999999999", FolioTextKind::TooLarge},
  };
  for (const auto& [text, kind] : refused)
    EXPECT_EQ(read(text, "."), std::pair(kind, Folio())) << text;
  EXPECT_EQ(read("1.100,5", ","), std::pair(FolioTextKind::Ambiguous, Folio()));
  EXPECT_EQ(ChartFolioText(Money(110.1), true, ","), "110-1");
  EXPECT_EQ(ChartFolioText(Money(110.1), false, ","), "110,1");
  EXPECT_EQ(ChartFolioText(Folio(), false, "."), "0");
  // A sub-account typed with dashes is stored, shown, and never cut by redrawing.
  LocaleInfo comma = UsEnglishLocale();
  comma.DecimalSymbol = ",";
  comma.GroupSymbol = ".";
  Books books = BookWithChart({{"Receivable", 110, 0}, {"Peter", 110.2, 0}});
  ChartEditorModel editor(books, comma);
  editor.SetFolioDashes(true);
  const int32_t stamp = books.BooksStamp;
  EXPECT_TRUE(editor.StoreFolio(1, "110-1").Stores());
  EXPECT_EQ(books.AccountFolios[1], Money(110.1));
  EXPECT_NE(books.BooksStamp, stamp);
  EXPECT_EQ(editor.Row(1).FolioText, "110-1");
  EXPECT_TRUE(editor.Row(1).SubAccount && !editor.Row(0).SubAccount);
  // Every folio shown, typed back as shown, with dashes on and off, stays as it was.
  for (const bool dashes : {true, false}) {
    editor.SetFolioDashes(dashes);
    for (int row = 0; row < kChartGridRows; ++row)
      editor.StoreFolio(row, editor.Row(row).FolioText);
  }
  // A text that is no single number leaves the folio, with a message naming it.
  EXPECT_EQ(editor.StoreFolio(2, "110,2,1").Kind, FolioTextKind::Ambiguous);
  EXPECT_EQ(std::pair(books.AccountFolios[1], books.AccountFolios[2]),
            std::pair(Money(110.1), Money(110.2)));
  EXPECT_EQ(*editor.FolioLeftMessage(2, "110,2,1"),
            "\"110,2,1\" has more than one decimal point, so the folio it stands for cannot be "
            "told. Type a sub-account with one point or dash, as 110.1 or 110-1. The account "
            "keeps folio 110,2.");
  EXPECT_FALSE(editor.FolioLeftMessage(2, "110").has_value());
}

TEST(ChartEditorTest, ANameWithALineBreakIsRefusedAndEditsLandInTheShownAccount) {
  Books books = ChartOf(20);
  ChartEditorModel editor(books, UsEnglishLocale());
  EXPECT_TRUE(editor.StoreName(2, "Two\nLines").has_value());
  EXPECT_EQ(books.AccountNames[2], "Account 2");
  editor.SetTop(5);
  editor.SelectRow(3);
  EXPECT_EQ(editor.SelectedAccount(), 8);
  editor.SetType(kExpense);
  editor.StoreNotes("n8");
  editor.StoreDetails("line1\r\nline2");
  EXPECT_FALSE(editor.StoreName(3, "Eight").has_value());
  EXPECT_EQ(std::tuple(books.AccountNames[8], books.AccountTypes[8], books.AccountNotes[8]),
            std::tuple("Eight", kExpense, "n8"));
  EXPECT_EQ(ToBoxLines(books.AccountDetails[8]), "line1\nline2");
  EXPECT_EQ(ToBookLines("a\nb\r\nc"), "a\r\nb\r\nc");
}

TEST(ChartEditorTest, InsertAfterTheLastAccountTakesFolioPlusTwoAndStopsAtTheLimit) {
  Books books = ChartOf(71);
  ChartEditorModel editor(books, UsEnglishLocale());
  editor.SetTop(editor.ScrollMax());
  editor.SelectRow(kChartGridRows - 1);
  ASSERT_EQ(editor.SelectedAccount(), 70);
  EXPECT_FALSE(editor.Insert().has_value());
  EXPECT_EQ(books.LastAccountIndex, 71);
  EXPECT_EQ(std::tuple(books.AccountFolios[71], books.AccountTypes[71], books.AccountNames[71]),
            std::tuple(Folio::FromUnits(1000 + 700 + 2), books.AccountTypes[70], ""));
  EXPECT_EQ(std::tuple(editor.SelectedAccount(), editor.Top(), editor.ScrollMax()),
            std::tuple(71, 58, 58));
  // In the middle the new account goes after the selected one; the rest move down.
  editor.SetTop(0);
  editor.SelectRow(2);
  editor.Insert();
  EXPECT_EQ(books.AccountFolios[3], Folio::FromUnits(1022));
  EXPECT_EQ(books.AccountNames[3] + "|" + books.AccountNames[4], "|Account 3");
  // Insert stops at the account limit.
  Books full = ChartOf(32001);  // LastAccountIndex 32000
  ChartEditorModel fullEditor(full, UsEnglishLocale());
  EXPECT_FALSE(fullEditor.Insert().has_value());
  EXPECT_EQ(full.LastAccountIndex, 32001);
  const Books before = full;
  EXPECT_EQ(fullEditor.Insert(), std::string("Account Limit has be reached..."));
  EXPECT_EQ(std::tie(full.LastAccountIndex, full.AccountNames, full.AccountFolios),
            std::tie(before.LastAccountIndex, before.AccountNames, before.AccountFolios));
}

TEST(ChartEditorTest, ArrowsMoveBetweenRowsAndScrollAtTheEdges) {
  Books books = ChartOf(20);
  ChartEditorModel editor(books, UsEnglishLocale());
  EXPECT_EQ(ChartEditorModel::EnterMove(3).Row, 4);
  EXPECT_EQ(ChartEditorModel::EnterMove(13).Row, -1);
  EXPECT_EQ(editor.ArrowMove(5, kKeyUp).Row, 4);
  EXPECT_EQ(editor.ArrowMove(0, kKeyUp).Row, -1);  // at the top already
  const ChartEditorModel::Move down = editor.ArrowMove(13, kKeyDown);
  EXPECT_EQ(down.ScrollBy, 1);
  EXPECT_TRUE(down.Reselect);
  editor.SetTop(editor.ScrollMax());
  EXPECT_EQ(editor.ArrowMove(13, kKeyDown).Row, -1);
  EXPECT_EQ(editor.ArrowMove(0, kKeyUp).ScrollBy, -1);
  EXPECT_EQ(editor.FrameCaption(), "7 To 20 :");
}

TEST(ChartEditorTest, DeletingKeepsFourteenSlotsAndNeverLeavesTheSelectionOutside) {
  Books books = ChartOf(14);
  books.AccountNotes[13] = "last notes";
  ChartEditorModel editor(books, UsEnglishLocale());
  editor.SelectRow(13);
  ASSERT_TRUE(editor.Delete());
  EXPECT_EQ(std::tuple(books.LastAccountIndex, books.AccountNames.size(), books.AccountNames[13]),
            std::tuple(12, 14u, ""));
  // The selection is on the account now last, and its own texts are what the boxes show.
  EXPECT_EQ(std::pair(editor.SelectedAccount(), editor.SelectedNotes()),
            std::pair(12, std::string()));
  editor.StoreNotes("twelve");
  EXPECT_EQ(books.AccountNotes[12], "twelve");
  for (int k = 0; k < 13; ++k) EXPECT_TRUE(editor.Delete()) << k;
  EXPECT_FALSE(editor.Delete());  // the fifteenth deletion in a row is ignored
  EXPECT_EQ(books.LastAccountIndex, -1);
  EXPECT_TRUE(editor.Close().Passed() && books.LastAccountIndex == 13);
  Books fifteen = ChartOf(15);
  ChartEditorModel other(fifteen, UsEnglishLocale());
  other.SelectRow(4);
  other.Delete();
  EXPECT_EQ(
      std::tuple(fifteen.AccountNames.size(), fifteen.AccountNames[4], other.SelectedAccount()),
      std::tuple(14u, "Account 5", 4));
}

TEST(ChartEditorTest, ClosingReportsTheFirstFaultAndMarksItsAccount) {
  Books books = ChartOf(60);
  books.AccountFolios[30] = Folio::FromUnits(300);
  books.AccountFolios[45] = Folio::FromUnits(300);
  ChartEditorModel editor(books, UsEnglishLocale());
  ChartCheck check = editor.Close();
  EXPECT_EQ(check.Fault, ChartFault::SameFolio);
  EXPECT_EQ(check.Message.Text,
            "Two or More Accounts have the same Folio number\r\n\r\nAccount 300    Account "
            "30\r\nAccount 300    Account 45\r\n");
  EXPECT_EQ(std::tuple(check.Message.Caption(), check.Message.Icon, editor.MarkedAccount()),
            std::tuple("Please Fix Now...", PromptIcon::Critical, 45));
  editor.SetTop(40);
  EXPECT_TRUE(editor.Row(5).Marked);

  // A name without folio comes before any pair; then names, exact and case-sensitive.
  books.AccountFolios[45] = Folio::FromUnits(999);
  books.AccountNames[50] = "Account 7";
  books.AccountNames[55] = "account 9";
  books.AccountFolios[58] = Folio();
  check = editor.Close();
  EXPECT_EQ(std::tuple(check.Fault, check.Message.Text, check.Message.Caption()),
            std::tuple(ChartFault::NoFolio, "An account has no Folio number", "Quorvel"));
  books.AccountFolios[58] = Folio::FromUnits(58000);
  check = editor.Close();
  EXPECT_EQ(std::tuple(check.Fault, check.Other, check.Account),
            std::tuple(ChartFault::SameName, 7, 50));
  books.AccountNames[50] = "";
  EXPECT_EQ(editor.Close().Message.Text, "An account has no name");
  books.AccountFolios[50] = books.AccountFolios[51] = Folio();  // free slots are no pair
  books.AccountNames[51] = "";
  books.AccountNames[52] = "   ";  // blanks pass the checks
  EXPECT_TRUE(editor.Close().Passed());
  EXPECT_EQ(editor.MarkedAccount(), -1);
}

TEST(SampleChartTest, ReplacesTheChartAndAsksOnlyWhenItHoldsMoreThanTheStart) {
  Books books = BookWithChart({});
  EXPECT_FALSE(ChartHoldsMoreThanStart(books));
  books.AccountNotes[3] = "kept?";
  EXPECT_TRUE(ChartHoldsMoreThanStart(books));
  ChartEditorModel editor(books, UsEnglishLocale());
  editor.SetTop(0);
  editor.GenerateSampleChart();
  editor.GenerateSampleChart();
  EXPECT_EQ(books.LastAccountIndex, 70);
  EXPECT_EQ(std::tuple(books.AccountNames[0], books.AccountFolios[0], books.AccountNames[70],
                       books.AccountFolios[70], books.AccountTypes[70]),
            std::tuple("Cash at Bank", Folio::FromUnits(100), "Balance b/f", Folio::FromUnits(1),
                       kOtherAccount));
  EXPECT_EQ(std::tuple(books.AccountNames[47], books.AccountTypes[39], books.AccountNotes[3]),
            std::tuple("Commision Paid", kCostOfGoodsSold, ""));
  // No account is selected, so no old texts reach a new account (the window test too).
  EXPECT_EQ(std::pair(editor.ScrollMax(), editor.SelectedAccount()), std::pair(57, -1));
  EXPECT_TRUE(editor.Close().Passed());
  EXPECT_TRUE(ChartHoldsMoreThanStart(books));
}

TEST(ChartListingTest, DrawsTheHeadingAndEverySlotInItsColumns) {
  Books books = BookWithChart({{"Cash", 110, 0}, {"Stock", 500, 4}, {"Peter", 110.1, 0}});
  books.BusinessName = "Harbor Cafe";
  FixedTextMetrics metrics;
  DrawingSurface surface(metrics);
  DrawChartListing(surface, books, ".");
  const std::vector<TextOp> texts = surface.Texts();
  ASSERT_GE(texts.size(), 2u);
  EXPECT_EQ(texts[0].Text + "|" + texts[1].Text, "Harbor Cafe|Folio");
  EXPECT_TRUE(texts[0].Font.Bold);
  EXPECT_GT(texts[1].Y, texts[0].Y + texts[0].Height);  // an empty line between
  auto at = [&](std::string_view text) { return surface.FindText(text); };
  ASSERT_TRUE(at(" 500") && at("Stock") && at("COGS") && at(" 110.1"));
  EXPECT_EQ(std::tuple(at("Account Name")->X, at("Account Type")->X, at(" 500")->X, at("Stock")->X,
                       at("COGS")->X),
            std::tuple(1100, 6200, 0, 1100, 6200));
  EXPECT_TRUE(at("Account Type")->Font.Bold && !at(" 500")->Font.Bold);
  EXPECT_EQ(at("Stock")->Y, at(" 500")->Y);
  // One folio per slot, free slots too, each with a leading blank for the sign.
  EXPECT_EQ(std::count_if(texts.begin(), texts.end(),
                          [](const TextOp& t) { return t.X == 0 && t.Text.starts_with(' '); }),
            14);
}

// A name of 147 characters, and one of a single word wider than the name column.
const std::string kLongName =
    "Cash at Bank, Main Operating Account of the Harbour Street Branch, Held for Daily "
    "Receipts, Supplier Payments, Wages, Rent and Other Costs of Shops";
const std::string kLongWord = "Sundry" + std::string(90, 'x');

// The listing on a surface `width` twips wide (0: no page): no text is drawn over another
// or past the width, and each long name stands whole in the name column, in lines under its
// first, which holds the folio and the type.
void ExpectNamesWholeAndApart(double width) {
  ASSERT_EQ(kLongName.size(), 147u);
  Books books = BookWithChart({{"Cash", 110, 0}, {"Stock", 500, 4}});
  books.AccountNames[1] = kLongName;
  books.AccountNames[2] = kLongWord;
  FixedTextMetrics metrics;
  DrawingSurface surface(metrics);
  surface.SetExtent(SurfaceExtent{width, 0, width, 0});
  DrawChartListing(surface, books, ".");
  const std::vector<TextOp> texts = surface.Texts();
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const TextOp& a = texts[i];
    EXPECT_TRUE(width == 0 || a.X + a.Width <= width) << a.Text;
    for (std::size_t j = i + 1; j < texts.size(); ++j) {
      const TextOp& b = texts[j];
      const bool across = a.X < b.X + b.Width && b.X < a.X + a.Width;
      const bool down = a.Y < b.Y + b.Height && b.Y < a.Y + a.Height;
      EXPECT_FALSE(across && down) << a.Text << " | " << b.Text;
    }
  }
  for (const std::string& name : {kLongName, kLongWord}) {
    const auto first = std::find_if(texts.begin(), texts.end(), [&](const TextOp& t) {
      return t.X == 1100 && name.starts_with(t.Text);
    });
    ASSERT_NE(first, texts.end()) << name;
    // The lines up to the next slot's folio, the blanks where a line was broken dropped.
    std::string whole = first->Text;
    double y = first->Y + first->Height;
    for (auto t = first + 1; t != texts.end() && t->X != 0; ++t) {
      if (t->Y < y) continue;  // the type beside the first line
      EXPECT_EQ(std::pair(t->X, t->Y), std::pair(1100.0, y)) << t->Text;
      whole += (name == kLongName ? " " : "") + t->Text;
      y += t->Height;
    }
    EXPECT_EQ(whole, name);
    const TextOp* type = surface.FindText(name == kLongName ? "Current Asset" : "COGS");
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(type->Y, first->Y);
  }
}

TEST(ChartListingTest, ALongNameIsWrappedInItsColumnAndNoTextIsDrawnOverAnother) {
  for (const double width : {11505.6, 7992.0, 0.0}) {
    SCOPED_TRACE(width);
    ExpectNamesWholeAndApart(width);
  }
}

}  // namespace
}  // namespace qv
