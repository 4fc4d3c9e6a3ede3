#pragma once
// The main window's commands that open the calculators (Edit menu and toolbar buttons 10
// to 12): every Running Calculator and Payroll Calculator command opens a new, independent
// window, kept in its window list; Depreciation Calculator shows the one depreciation
// window, made on first use. With help mode on, the running and depreciation calculators
// show their help and open all the same; the payroll command only shows its help.

namespace qv {

class TAcount;

// Connects the three menu items of the main window to their commands.
void ConnectCalculatorCommands(TAcount& main);

void Rolling_Calculator_Menu_Click(TAcount& main);
void Depreciation_Menu_Click(TAcount& main);
void PayCalc_Click(TAcount& main);

}  // namespace qv
