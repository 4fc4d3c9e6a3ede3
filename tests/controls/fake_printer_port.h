#pragma once
// A printer port for tests: printers by name, each accepting a set of paper codes, with the
// settings the print set-up writes kept in plain members.

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>
#include "controls/print_setup_model.h"

namespace qv::testing {

class FakePrinterPort final : public PrinterPort {
 public:
  // Each printer with the paper codes it accepts; the PDF entry accepts all.
  std::map<std::string, std::set<int>> Papers;
  std::vector<std::string> Order;  // the installed printers, in the system's order
  std::string Current = kPdfFileEntry;
  int Paper = 9;
  int Orientation_ = kLandscape;
  int Quality = -4;
  int Color = kColor;
  bool TwoSided = false;
  bool FailSettings = false;  // every setting but the paper is refused
  bool NoPdf = false;         // the PDF entry cannot be chosen
  int PaperSets = 0;          // the paper sizes tried, to see a probe

  void Add(const std::string& name, std::set<int> codes) {
    Order.push_back(name);
    Papers[name] = std::move(codes);
  }
  std::vector<std::string> InstalledPrinters() override { return Order; }
  std::string CurrentPrinter() override { return Current; }
  bool SelectPrinter(const std::string& name) override {
    return (name == kPdfFileEntry ? !NoPdf : Papers.count(name) > 0) && (Current = name, true);
  }
  bool SetPaperSize(int code) override {
    ++PaperSets;
    return (Current == kPdfFileEntry || Papers[Current].count(code)) && (Paper = code, true);
  }
  int PaperSize() override { return Paper; }
  bool SetOrientation(int o) override { return !FailSettings && (Orientation_ = o, true); }
  int Orientation() override { return Orientation_; }
  bool SetPrintQuality(int quality) override { return !FailSettings && (Quality = quality, true); }
  int PrintQuality() override { return Quality; }
  bool SetColorMode(int mode) override { return Color = mode, true; }
  int ColorMode() override { return Color; }
  bool SetDuplex(bool twoSided) override { return TwoSided = twoSided, true; }
};

}  // namespace qv::testing
