#include "app/main_window_layout.h"

#include <algorithm>

namespace qv {
namespace {

int32_t NotNegative(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, 0, INT32_MAX));
}

constexpr MenuItemSpec kMenu[] = {
    {"Filemenu", 110, "", 0},
    {"LoadFile", 111, "Ctrl+O"},
    {"Sep1", 0, "", 1, true},
    {"SaveFile(0)", 112, "Ctrl+S"},
    {"SaveFile(1)", 113, ""},
    {"Sep2", 0, "", 1, true},
    {"Invoice", 114, ""},
    {"Sep3", 0, "", 1, true},
    {"InsertEntries", 115, ""},
    {"Sep4", 0, "", 1, true},
    {"Exitit", 116, "Ctrl+Q"},

    {"EditAccountsItems", 117, "", 0},
    {"NewEntryMenu", 118, "Ctrl+N"},
    {"CopyTheEntry", 119, "Ctrl+W"},
    {"PageTheEntry", 120, "Ctrl+E"},
    {"EnTryDic", 138, ""},
    {"SpacerDummy", 0, "", 1, true},
    {"Delete_Entree", 121, ""},
    {"ArUshore", 122, "Ctrl+D", 2},
    {"SepA", 0, "", 1, true},
    {"SearchMenu(0)", 123, "Ctrl+F"},
    {"SearchMenu(1)", 124, "Ctrl+G"},
    {"SearchMenu(2)", 0, "", 1, true},
    {"SearchMenu(3)", 308, ""},
    {"SearchMenu(4)", 304, ""},
    {"SearchMenu(5)", 0, "", 1, true},
    {"ReplaceAccountsMenu", 125, ""},
    {"Rolling_Calculator_Menu", 126, ""},
    {"PayCalc", 295, ""},
    {"Depreciation_Menu", 127, ""},

    {"AReport", 128, "", 0},
    {"ShowJournals", 129, "F1"},
    {"Stage1", 0, "", 1, true},
    {"ShowTaccount", 130, "F2"},
    {"Rb_MenuItem", 131, "F3"},
    {"Sage5", 0, "", 1, true},
    {"Renc", 132, ""},
    {"RA1(0)", 129, "Ctrl+J", 2},
    {"RA1(1)", 0, "", 2, true},
    {"RA1(2)", 130, "Ctrl+T", 2},
    {"RA1(3)", 131, "Ctrl+R", 2},
    {"Stage2", 0, "", 1, true},
    {"TrialBalance", 133, "F4"},
    {"Stag3", 0, "", 1, true},
    {"IncomeStatement", 134, "F5"},
    {"CashFlowMenu", 135, "F6"},
    {"Stage3", 0, "", 1, true},
    {"Show_Balance", 136, "F7"},

    {"EditA", 137, "", 0},
    {"EditAccounts", 139, ""},
    {"Axcse", 0, "", 1, true},
    {"COAccs", 140, ""},
    {"BalBForword", 122, "", 2},
    {"BForward", 272, ""},
    {"Brought_Forward", 122, "", 2},
    {"SpaBlank", 0, "", 1, true},
    {"SoftwareSettings", 141, ""},

    {"HelpContents", 142, "", 0},
    {"HelpSelect", 143, ""},
    {"Samples(0)", 0, "", 1, true, true},
    {"HelpSpacer", 0, "", 1, true},
    {"AboutMenu", 144, ""},
};

constexpr ToolbarButtonSpec kToolbar[] = {
    {0, 90, 111, "LoadFile", "open"},
    {1, 510, 112, "SaveFile(0)", "save"},
    {13, 945, 0, "EmailInvoice", "email"},
    {2, 1440, 119, "CopyTheEntry", "copy"},
    {3, 1845, 120, "PageTheEntry", "paste"},
    {4, 2340, 130, "ShowTaccount", "taccount"},
    {5, 2745, 131, "Rb_MenuItem", "running_balance"},
    {6, 3255, 133, "TrialBalance", "trial_balance"},
    {7, 3780, 134, "IncomeStatement", "income_statement"},
    {8, 4185, 136, "Show_Balance", "balance_sheet"},
    {9, 4710, 138, "EnTryDic", "prepared_entries"},
    {10, 5220, 126, "Rolling_Calculator_Menu", "running_calculator"},
    {11, 5625, 127, "Depreciation_Menu", "depreciation"},
    {12, 6030, 295, "PayCalc", "payroll"},
};

}  // namespace

MainWindowGeometry ResizeGeometry(int32_t scaleWidth, int32_t scaleHeight, int32_t outerWidth,
                                  int32_t statusWidth) {
  // Gaps between the frame and the journal bar, inside the frame at the row bar's sides.
  constexpr int64_t kBarGap = 30;
  constexpr int64_t kFrameBorder = 45;
  const int64_t w = scaleWidth;
  const int64_t h = scaleHeight;
  MainWindowGeometry g;
  g.ScrollAccLeft = NotNegative(w - 500);
  g.FrameWidth = NotNegative(int64_t{g.ScrollAccLeft} - design::XFrame1.Left - kBarGap);
  g.EScrollLeft = NotNegative(int64_t{g.FrameWidth} - kFrameBorder - design::EScroll.Width);
  g.BoxWidth = NotNegative(int64_t{g.EScrollLeft} - design::EBox.Left - kBarGap / 2);
  g.ButtonBarWidth = NotNegative(outerWidth);
  // The row box's contents keep their design distances from the box's right edge.
  const int64_t content = int64_t{g.BoxWidth} + 600;
  g.NameWidth = NotNegative(content - 5680);
  g.DebitAmountLeft = NotNegative(content - 3560);
  g.CreditAmountLeft = NotNegative(content - 2800);
  g.DebitSignLeft = NotNegative(int64_t{design::DebitAccName.Left} + g.NameWidth + 20);
  g.CreditSignLeft = NotNegative(int64_t{design::CreditAccName.Left} + g.NameWidth + 20);
  g.NotesWidth = NotNegative(content - 2390);
  g.FrameHeight = NotNegative(h - 800);
  g.StatusTop = NotNegative(h - 240);
  g.ScrollAccHeight = NotNegative(h - 920);
  g.EScrollHeight = NotNegative(h - 1820);
  g.BoxHeight = NotNegative(int64_t{g.FrameHeight} - 560);
  g.StatusLeft = StatusLineLeft(scaleWidth, statusWidth);
  g.DebitCompoundLeft = NotNegative(int64_t{g.DebitAmountLeft} + design::DebitAmountText.Width);
  g.CreditCompoundLeft = NotNegative(int64_t{g.CreditAmountLeft} + design::CreditAmountText.Width);
  return g;
}

int32_t InnerHeightForRowBox(int32_t boxHeight) { return boxHeight + 800 + 560; }

int32_t StatusLineLeft(int32_t scaleWidth, int32_t statusWidth) {
  return NotNegative(int64_t{scaleWidth} - (int64_t{statusWidth} + 550));
}

std::span<const MenuItemSpec> MainMenuItems() { return kMenu; }

std::span<const ToolbarButtonSpec> ToolbarButtons() { return kToolbar; }

std::string_view ToolbarCommand(int index) {
  for (const ToolbarButtonSpec& b : kToolbar)
    if (b.Index == index) return b.Command;
  return {};
}

}  // namespace qv
