#include "controls/print_setup_model.h"
#include <gtest/gtest.h>
#include "platform/prompts.h"
#include "tests/controls/fake_printer_port.h"

namespace qv {
namespace {

using testing::FakePrinterPort;

class PrintSetupModelTest : public ::testing::Test {
 protected:
  PrintSetupModelTest() : scope_(prompts_) {
    port_.Add("Office", {1, 5, 9});
    port_.Add("Label", {9, 11});
    port_.Current = "Office";
    port_.Paper = 5;
  }
  std::vector<std::string> Asked() const { return prompts_.Texts(); }
  ScriptedPrompts prompts_;
  ScopedPromptService scope_;
  FakePrinterPort port_;
  PrintSetupModel model_{port_};
};

TEST_F(PrintSetupModelTest, ListsThePrinterPapersAndKeepsThemApartPerPrinter) {
  model_.Open();
  EXPECT_EQ(model_.Printers(), (std::vector<std::string>{"Office", "Label", "PDF file..."}));
  EXPECT_EQ(model_.PrinterText(), "Office");
  EXPECT_EQ(
      model_.PaperNames(),
      (std::vector<std::string>{"Letter, 8½ x 11 in.", "Legal, 8½ x 14 in.", "A4, 210 x 297 mm"}));
  // The size the printer had is chosen; the first opening turns to portrait.
  EXPECT_EQ(std::tuple(model_.PaperRow(), port_.Paper, port_.Orientation_),
            std::tuple(1, 5, kPortrait));
  // Another printer lists only its own sizes; the old size is not among them, so the first
  // row is chosen and set.
  model_.ChoosePrinter("Label");
  EXPECT_EQ(model_.PaperCodes(), (std::vector<int>{9, 11}));
  EXPECT_EQ(std::pair(model_.PaperRow(), port_.Paper), std::pair(0, 9));
  model_.ChoosePrinter("PDF file...");
  EXPECT_EQ(std::pair(model_.PaperCodes().size(), model_.PaperRow()), std::pair(size_t{41}, 4))
      << "every size, Legal chosen again";
  model_.ChoosePrinter("Gone");
  EXPECT_EQ(Asked(), std::vector<std::string>{"Can not set Gone"});
  EXPECT_EQ(model_.PrinterText(), "PDF file...");
}

TEST_F(PrintSetupModelTest, LaterOpeningsKeepTheChoicesWithoutANewProbeAndRefusalsAreTold) {
  model_.Open();
  model_.ChooseOrientation(2);
  model_.ChooseQuality(1);
  model_.ChooseColor(1);
  model_.SetDuplex(true);
  model_.SetCopiesText("3");
  EXPECT_EQ(model_.Accept(), 3);
  const int probes = port_.PaperSets;
  model_.Open();
  EXPECT_EQ(std::tuple(port_.PaperSets, port_.Orientation_, port_.Quality, port_.TwoSided),
            std::tuple(probes, kLandscape, -1, true));
  EXPECT_EQ(std::tuple(model_.OrientationMarker(), model_.QualityMarker(), model_.ColorMarker()),
            std::tuple(2, 1, 1));
  EXPECT_EQ(model_.CopiesText(), "3");
  EXPECT_EQ(model_.Copies(), 0);  // nothing accepted yet in this opening
  model_.SetDuplex(false);
  EXPECT_TRUE(!port_.TwoSided && Asked().empty());
  // Refused settings are told, and printing goes on.
  port_.Papers["Office"].erase(5);
  model_.ChoosePaper(1);
  port_.FailSettings = true;
  model_.SetCopiesText("4");
  EXPECT_EQ(model_.Accept(), 4);
  EXPECT_EQ(Asked(),
            (std::vector<std::string>{"Printer does not support this paper size",
                                      "Printer Problem, check printer, paper and cables"}));
}

TEST_F(PrintSetupModelTest, WithNoPrinterItOpensOnThePdfEntryWithoutAMessage) {
  FakePrinterPort bare;
  bare.Current = "";
  PrintSetupModel model(bare);
  model.Open();
  EXPECT_EQ(model.Printers(), std::vector<std::string>{"PDF file..."});
  EXPECT_EQ(model.PrinterText() + "|" + bare.Current, "PDF file...|PDF file...");
  EXPECT_TRUE(model.NoPrinterFound());
  EXPECT_EQ(model.PaperCodes().size(), 41u) << "the PDF file's paper sizes";
  model.Open();
  model_.Open();  // over installed printers
  EXPECT_EQ(Asked(), std::vector<std::string>{});
  EXPECT_FALSE(model_.NoPrinterFound());
  // Only when not even a PDF file can be written is there trouble, told once.
  FakePrinterPort none;
  none.Current = "";
  none.NoPdf = true;
  PrintSetupModel stuck(none);
  stuck.Open();
  EXPECT_EQ(Asked(), std::vector<std::string>{"Printer Trouble"});
  EXPECT_EQ(prompts_.History()[0].Request.Caption(), "");
}

TEST_F(PrintSetupModelTest, TextSizeAndCopiesAreReadSafely) {
  const std::pair<const char*, double> scales[] = {{"100%", 1.0}, {"85%", 0.85}, {"5%", 0.2},
                                                   {"", 0.2},     {"250", 2.5},  {"99999%", 10.0}};
  for (auto [text, scale] : scales) EXPECT_DOUBLE_EQ(PrintScaleOfText(text), scale) << text;
  const std::pair<const char*, int> copies[] = {{"1", 1},    {"0", 0},       {"", 0},
                                                {"many", 0}, {"-3", 0},      {"2.5", 2},
                                                {"3.5", 4},  {"30000", 999}, {"1e9", 999}};
  for (auto [text, count] : copies) EXPECT_EQ(CopiesOfText(text), count) << text;
  model_.Open();
  model_.SetTextSize("5%");
  model_.TextSizeLeft();
  EXPECT_EQ(model_.TextSize(), "20%");
  model_.SetTextSize("7");  // accepted without leaving the box: the floor still holds
  model_.SetCopiesText("2");
  EXPECT_EQ(model_.Accept(), 2);
  EXPECT_EQ(model_.TextSize(), "20%");
  EXPECT_DOUBLE_EQ(model_.PrintScale(), 0.2);
  model_.Cancel();
  EXPECT_EQ(model_.Copies(), 0);
}

}  // namespace
}  // namespace qv
