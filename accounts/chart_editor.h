#pragma once
// The chart-of-accounts editor without its window: the fourteen grid rows in view, the
// selected account, the edits that write the chart at once (names, folios, types, notes,
// details), inserting and deleting accounts, the sample chart, the closing checks and the
// printed listing.
//
// Every edit goes straight into the book's six chart lists; there is no OK or Cancel. The
// only gate is the closing check, which refuses to close while two accounts share a folio or
// a name, or an account lacks its name or its folio. An edit that changes what other windows
// show of an account (its name, folio or type, or which account stands at an index) raises
// the book's change stamp.
//
// Folios are shown with the locale's decimal symbol ("-" in its place when the book shows
// folios with dashes) and read back with "-", "." and the locale's symbol all taken as the
// decimal point, so that no sub-account folio is cut or changed on any machine. A typed
// folio that is not one number (letters, two decimal points) is not guessed: it is refused
// and the account keeps its folio.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "books/books.h"
#include "controls/help_mode.h"
#include "platform/drawing_surface.h"
#include "platform/locale_info.h"
#include "platform/prompts.h"

namespace qv {

// Rows of the grid.
inline constexpr int kChartGridRows = 14;

// ---- Folio texts.

// A folio as a grid box shows it: the plain number with the locale's decimal symbol, or "-"
// in its place when `dashes` ("110", "110.1", "110-1"); folio 0 is "0".
std::string ChartFolioText(Folio folio, bool dashes, std::string_view decimalSymbol);

// What a folio box's text reads as.
enum class FolioTextKind {
  Number,      // Value holds the folio
  Empty,       // nothing but blanks: folio 0
  NotANumber,  // no digits, or a character no folio holds
  Ambiguous,   // more than one decimal point: which one is meant cannot be told
  TooLarge,    // beyond the range of a folio
};
struct FolioReading {
  FolioTextKind Kind = FolioTextKind::Empty;
  Folio Value;
  bool Stores() const { return Kind == FolioTextKind::Number || Kind == FolioTextKind::Empty; }
  bool operator==(const FolioReading&) const = default;
};

// Reads a folio box's text. "-", "." and `decimalSymbol` are decimal points; blanks are
// skipped wherever they stand; the number ends at the first "/" ("110/2" reads 110); the
// value is rounded to four decimals. "110-1", "110.1" and (on a "," locale) "110,1" read
// 110.1; "-5" reads 0.5.
FolioReading ReadChartFolio(std::string_view text, std::string_view decimalSymbol);

// The message for a folio text that is not stored; the account keeps `keptFolio` (shown as
// the grid shows it).
std::string RefusedFolioMessage(const FolioReading& reading, std::string_view text,
                                std::string_view keptFolio);

// The message for a typed name that holds a line break; the account keeps its name.
std::string RefusedNameMessage(std::string_view keptName);

// ---- Account types.

// The caption of a type's option (type 4 is "COGS"); "" for a code outside 0 to 8.
std::string AccountTypeCaption(int type);

// ---- The closing checks.

enum class ChartFault { None, NoFolio, NoName, SameFolio, SameName };
struct ChartCheck {
  ChartFault Fault = ChartFault::None;
  int Account = -1;  // the account marked in red (the second of a pair)
  int Other = -1;    // the first account of a pair
  PromptRequest Message;
  bool Passed() const { return Fault == ChartFault::None; }
};

// Checks the chart as it stands, stopping at the first fault: slots 0..LastAccountIndex for
// a name without folio or a folio without name, then indexes 0..`pairLast` for two accounts
// with one folio, then for two accounts with one name (exact, case counts). Only a slot
// with a name and a folio is looked at as the first of a pair; the pair reported is the
// lowest such index that has a partner, with its lowest partner. Runs in linear time.
ChartCheck CheckChart(const Books& books, int pairLast, std::string_view decimalSymbol);

// ---- The sample chart of a small trading business.

struct SampleAccount {
  std::string_view Name;
  int Folio;
  AccountType Type;
};
// The 71 sample accounts in slot order.
const std::vector<SampleAccount>& SampleChart();
// Replaces the whole chart with the sample chart: slots 0 to 70, notes, details and extras
// empty. The journal is not touched.
void ApplySampleChart(Books& books);
// True when the chart holds anything beyond the chart of a new book: an account other than
// "Balance b/f" with folio 1, or any notes, details or extras.
bool ChartHoldsMoreThanStart(const Books& books);
// The question asked before such a chart is replaced by the sample chart.
inline constexpr const char* kSampleChartQuestion =
    "Replace the whole chart of accounts with the sample chart? Every account's name, folio, "
    "type, notes and details will be replaced; posting lines keep their folios.";

// ---- The printed listing.

struct ChartListingLine {
  std::string Folio;  // a leading blank stands for the sign (" 110")
  std::string Name;
  std::string Type;  // the type option's caption
};
std::vector<ChartListingLine> ChartListing(const Books& books, std::string_view decimalSymbol);

// Draws the listing from the top, as tall as it needs (the printing service lays it out on
// pages; the heading is not repeated): the business name and an empty line in bold, the
// heading ("Folio" at the left margin, "Account Name" at 1100 twips, "Account Type" at 6200)
// and an empty line, then one line per chart slot 0..LastAccountIndex, free slots too.
// The types stand further right when the longest name needs it and the page's width leaves
// room; a name still wider than its column is broken into lines under its first.
void DrawChartListing(DrawingSurface& surface, const Books& books, std::string_view decimalSymbol);

// ---- Help cards.

enum class ChartHelpTopic { ChartOfAccounts, Details, Folio, Name };
HelpCard ChartHelp(ChartHelpTopic topic);
// The card of a type option (0 to 8).
HelpCard AccountTypeHelp(int type);

// ---- The editor.

inline constexpr const char* kAccountLimitText = "Account Limit has be reached...";

class ChartEditorModel {
 public:
  ChartEditorModel(Books& books, const LocaleInfo& locale);

  // ---- The grid.
  // The scroll range is 0..ScrollMax(); Top() is the chart index of row 0.
  int ScrollMax() const;
  int Top() const { return top_; }
  // Moves the grid; the value is kept within the range.
  void SetTop(int top);
  // "1 To 14 :" for the first view.
  std::string FrameCaption() const;

  struct GridRow {
    int Account = -1;  // -1: the row stands for no slot
    std::string Name;
    std::string FolioText;
    bool SubAccount = false;  // the folio has a fraction: the name is indented
    bool Marked = false;      // the account the closing checks found at fault
  };
  GridRow Row(int row) const;
  // The chart index that a row stands for, or -1 when it stands for no slot.
  int AccountOfRow(int row) const;

  // ---- The selection: the account that the type options and the two note boxes act on.
  // -1 when none is selected (after the sample chart replaced the chart).
  int SelectedAccount() const { return selected_; }
  int SelectedRow() const { return selectedRow_; }
  // A row's box got the focus: its account is selected.
  void SelectRow(int row);
  // The texts and type of the selected account ("" and type 0 when none).
  std::string SelectedNotes() const;
  std::string SelectedDetails() const;  // lines separated by CR LF
  int SelectedType() const;

  // ---- Edits, written at once.
  // The name typed in a row. A name with a line break is refused: the message is returned
  // and the account keeps its name.
  std::optional<std::string> StoreName(int row, std::string_view text);
  // The folio typed in a row: stored when it reads as a folio (an empty box stores 0);
  // otherwise the account keeps its folio. Returns the reading.
  FolioReading StoreFolio(int row, std::string_view text);
  // The message for a row whose box was left holding `text`, which did not store; nothing
  // when the text stores.
  std::optional<std::string> FolioLeftMessage(int row, std::string_view text) const;
  void SetType(int type);
  void StoreNotes(std::string_view text);
  // Lines separated by CR LF; a text longer than a book holds is cut (WithinBookTextLimit).
  void StoreDetails(std::string_view text);
  bool FolioDashes() const { return books_.FolioDashes == -1; }
  void SetFolioDashes(bool on);

  // ---- Commands.
  // Inserts an empty account after the selected one (folio + 2, the same type). Nothing
  // when the chart is full: the limit message is returned.
  std::optional<std::string> Insert();
  // Deletes the selected account; ignored when the chart has no account left. The selection
  // stays on the index, which then names the account that moved into the deleted one's
  // place (or the last account).
  bool Delete();
  // Replaces the chart with the sample chart; no account is selected afterwards.
  void GenerateSampleChart();

  // ---- Closing.
  // Clears the mark, raises a chart of fewer than 14 slots to 14, and checks the chart. A
  // fault marks its account.
  ChartCheck Close();
  int MarkedAccount() const { return marked_; }

  // ---- Keyboard navigation of the grid.
  struct Move {
    int Row = -1;           // the row to put the focus in, or -1 to stay
    int ScrollBy = 0;       // the grid moves by this many accounts first
    bool Reselect = false;  // the same row is selected again after the grid moved
  };
  // Enter in a row: the same column of the next row (none from the last row).
  static Move EnterMove(int row);
  // Up (38) or Down (40) released in a row.
  Move ArrowMove(int row, int key) const;

  const Books& TheBooks() const { return books_; }

 private:
  int SlotCount() const { return static_cast<int>(books_.AccountNames.size()); }
  bool HasSlot(int account) const { return account >= 0 && account < SlotCount(); }
  void ClampSelection();

  Books& books_;
  LocaleInfo locale_;
  int top_ = 0;
  int selected_ = 0;
  int selectedRow_ = 0;
  int marked_ = -1;
};

// Texts of a multi-line box: the book keeps CR LF between lines, the boxes LF.
std::string ToBookLines(std::string_view boxText);
std::string ToBoxLines(std::string_view bookText);
// The longest start of a box's text (or of a book text) whose book form holds at most
// kMaxTextBytes bytes, a line break counting two, ending on a whole character: what a box
// that feeds a book text may hold. The whole text when it fits.
std::string_view WithinBookTextLimit(std::string_view text);
// What a box says when a text was cut to that length.
inline constexpr std::string_view kBookTextCutMessage =
    "The text is longer than a book can hold in one text (1,048,576 bytes, a line break "
    "counting two), so it was cut to that length.";

}  // namespace qv
