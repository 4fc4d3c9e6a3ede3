#pragma once
// The main window's design without the window: the menus with their captions and
// shortcuts, the picture toolbar and the command each button runs, the etched dividers,
// the design rectangles of the controls, and the layout that keeps the window usable at
// any size (Form_Resize). All measures are twips.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace qv {

// A design rectangle: left, top, width, height in twips within its container.
struct DesignRect {
  int32_t Left = 0, Top = 0, Width = 0, Height = 0;
  bool operator==(const DesignRect&) const = default;
};

// ---- Design rectangles of the main window's controls (containers in brackets).
namespace design {
inline constexpr int32_t kClientWidth = 10875;
inline constexpr DesignRect ButtonBar{0, 2, 11130, 455};       // window
inline constexpr DesignRect CalcButtonDown{90, 30, 375, 375};  // ButtonBar
// The previous and next buttons and New Entry stand side by side, New Entry ending at the
// right edge of the window's design width.
inline constexpr DesignRect PNPagePrevious{8325, 30, 585, 360};  // ButtonBar
inline constexpr DesignRect PNPageNext{8910, 30, 570, 360};      // ButtonBar
inline constexpr DesignRect Command1{9480, 30, 1395, 360};       // ButtonBar
inline constexpr DesignRect Text1{6615, 60, 1710, 330};          // window
inline constexpr DesignRect ScrollAcc{9225, 540, 450, 1995};     // window
inline constexpr DesignRect XFrame1{90, 495, 9240, 2130};        // window
inline constexpr DesignRect NoLabel{45, 180, 585, 225};          // GL(2), xFrame1
inline constexpr DesignRect JournalID{680, 135, 1605, 330};      // xFrame1
inline constexpr DesignRect DateLabel{2340, 180, 795, 225};      // GL(3), xFrame1
inline constexpr DesignRect Datetext{3180, 135, 1515, 345};      // xFrame1
inline constexpr DesignRect Rr{4800, 180, 2130, 225};            // xFrame1
inline constexpr DesignRect EScroll{8910, 495, 285, 960};        // xFrame1
inline constexpr DesignRect EBox{45, 540, 9020, 1230};           // xFrame1
inline constexpr DesignRect DebitLabel{90, 45, 525, 225};        // GL(4), eBox
inline constexpr DesignRect DebitFolio{630, 15, 1215, 345};      // row 0, eBox
inline constexpr DesignRect DebitAccName{1900, 15, 4395, 345};   // row 0, eBox
inline constexpr DesignRect DebitSign{6345, 45, 45, 225};        // GL(8), eBox
inline constexpr DesignRect DebitAmountText{6570, 15, 1515, 345};
inline constexpr DesignRect DebitCompound{8100, 45, 300, 330};  // CompoundEntry(1)
inline constexpr DesignRect CalcCompound{8415, 0, 210, 360};
inline constexpr DesignRect CreditLabel{90, 430, 1275, 225};  // GL(5)
inline constexpr DesignRect CreditFolio{1425, 410, 1215, 345};
inline constexpr DesignRect CreditAccName{2640, 410, 4230, 345};
inline constexpr DesignRect CreditSign{6930, 450, 45, 225};  // GL(9)
inline constexpr DesignRect CreditAmountText{7155, 410, 1515, 345};
inline constexpr DesignRect CreditCompound{8730, 405, 300, 330};  // CompoundEntry(2)
inline constexpr DesignRect NotesLabel{105, 840, 1260, 225};      // GL(6)
inline constexpr DesignRect AccNote{1425, 825, 7590, 330};
inline constexpr DesignRect StatusLine{7890, 2520, 45, 225};  // GL(7), window
// The gap between a right-aligned field label and its field.
inline constexpr int32_t kLabelGap = 40;
// Colours of the credit rows and the go-to box.
inline constexpr uint32_t kCreditRowTint = 0xF0F0FF;
inline constexpr uint32_t kGoToBackground = 0xFAFAFA;
inline constexpr uint32_t kLabelBlue = 0xFF0000;
inline constexpr uint32_t kLabelRed = 0x0000FF;
inline constexpr uint32_t kToolbarBottomLine = 0xC0C0C0;
}  // namespace design

// The window cannot be made smaller than this (outer measures, twips).
inline constexpr int32_t kMinWindowWidth = 9750;
inline constexpr int32_t kMinWindowHeight = 3600;
// The toolbar's margin at its left, kept too at the right of New Entry at the smallest width.
inline constexpr int32_t kToolbarMargin = 90;
// What the window frame (borders, title and menu bar) takes of the outer measures; the
// minimum inner area is the minimum outer one less this.
inline constexpr int32_t kFrameWidthAllowance = 120;
inline constexpr int32_t kFrameHeightAllowance = 765;

// ---- Form_Resize: the positions and sizes that follow the window's inner size. The entry
// frame ends before the journal scroll bar, the row scroll bar stands inside the frame at
// its right, and the row box ends before the row scroll bar: its rows, labels, images and
// notes are laid out for the box's width, so nothing of them lies under either bar.
struct MainWindowGeometry {
  int32_t ScrollAccLeft = 0, ScrollAccHeight = 0;
  int32_t FrameWidth = 0, FrameHeight = 0;
  int32_t BoxWidth = 0, BoxHeight = 0;
  int32_t ButtonBarWidth = 0;
  int32_t NameWidth = 0;  // DebitAccName and CreditAccName, every row
  int32_t DebitAmountLeft = 0, CreditAmountLeft = 0;
  int32_t DebitSignLeft = 0, CreditSignLeft = 0;  // GL(8), GL(9)
  int32_t NotesWidth = 0;
  int32_t StatusTop = 0, StatusLeft = 0;
  int32_t EScrollHeight = 0, EScrollLeft = 0;
  int32_t DebitCompoundLeft = 0, CreditCompoundLeft = 0;
  bool operator==(const MainWindowGeometry&) const = default;
};
// `scaleWidth` and `scaleHeight` are the inner measures, `outerWidth` the outer width (the
// toolbar strip spans it), `statusWidth` the status line's width at that moment. No size
// comes out negative.
MainWindowGeometry ResizeGeometry(int32_t scaleWidth, int32_t scaleHeight, int32_t outerWidth,
                                  int32_t statusWidth);

// The status line's left edge for its width: the line ends 550 twips from the inner right
// edge, whatever its text, and never starts left of 0.
int32_t StatusLineLeft(int32_t scaleWidth, int32_t statusWidth);

// The inner height at which the row box is `boxHeight` high (the inverse of the box's
// height rule).
int32_t InnerHeightForRowBox(int32_t boxHeight);

// ---- The menus. Each item: its control name, its caption (a string id, or a literal for
// captions that are not in the string table), its shortcut, its depth (0 a menu of the bar,
// 1 an item, 2 an item of a submenu) and whether it is a separator or starts hidden.
struct MenuItemSpec {
  std::string_view Name;
  int CaptionId = 0;  // 0: a separator, or an item whose caption is set at start-up
  std::string_view Shortcut;
  int Depth = 1;
  bool Separator = false;
  bool Hidden = false;
};
std::span<const MenuItemSpec> MainMenuItems();

// ---- The picture toolbar (CalcButton), in left-to-right order.
struct ToolbarButtonSpec {
  int Index = 0;
  int32_t DesignLeft = 0;
  int ToolTipId = 0;         // 0: no tool tip
  std::string_view Command;  // the menu item whose command the button runs
  std::string_view Picture;  // the picture's resource name
};
std::span<const ToolbarButtonSpec> ToolbarButtons();
inline constexpr int32_t kToolbarButtonTop = 30;
inline constexpr int32_t kToolbarButtonSize = 375;
// The command of the toolbar button with that index; "" for an unknown index.
std::string_view ToolbarCommand(int index);

// The etched dividers (Ln): pairs of vertical lines from y 45 to 420, the left of each pair
// in the button-shadow colour, the right in the 3-D highlight colour.
inline constexpr std::array<int32_t, 6> kDividerPairs = {1365, 2265, 3180, 3690, 4635, 5130};
inline constexpr int32_t kDividerTop = 45;
inline constexpr int32_t kDividerBottom = 420;

// Tool tips that are literals of the window, not string-table texts.
namespace tips {
inline constexpr const char* kPrevious = "Pervious Entry...";
inline constexpr const char* kNext = "Next Entry...";
inline constexpr const char* kNewEntry = "Record Transaction...";
inline constexpr const char* kGoTo = "Go to Entry...";
inline constexpr const char* kJournalEntries = "Journal Entries...";
inline constexpr const char* kEntryNumber = "Entry Tracking Number, Double click to search...";
inline constexpr const char* kReconcile = "Reconcile this Journal Entry for Reconciliation...";
inline constexpr const char* kFolio = "Account Number (Folio)...";
inline constexpr const char* kDebitAccount = "Select Account to Debit...";
inline constexpr const char* kCreditAccount = "Select Account to Credit...";
inline constexpr const char* kDebitAmount = "Amount to Debit...";
inline constexpr const char* kCreditAmount = "Amount to Credit...";
inline constexpr const char* kCompound = "Compound Entry...";
inline constexpr const char* kCalcCompound = "Sum compound entry...";
inline constexpr const char* kNotes = "Details of Transaction, Double Click to Search...";
}  // namespace tips

// Maximum lengths of the boxes.
inline constexpr int kEntryNumberBoxLength = 14;
inline constexpr int kFolioBoxLength = 9;
inline constexpr int kAmountBoxLength = 14;

}  // namespace qv
