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
  EXPECT_EQ(model_.PaperRow(), 1);  // the size the printer had
  EXPECT_EQ(port_.Paper, 5);
  EXPECT_EQ(port_.Orientation_, kPortrait);  // the first opening turns to portrait

  // Another printer lists only its own sizes; the old size is not among them, so the first
  // row is chosen and set.
  model_.ChoosePrinter("Label");
  EXPECT_EQ(model_.PaperCodes(), (std::vector<int>{9, 11}));
  EXPECT_EQ(model_.PaperRow(), 0);
  EXPECT_EQ(port_.Paper, 9);
  model_.ChoosePrinter("PDF file...");
  EXPECT_EQ(model_.PaperCodes().size(), 41u);
  EXPECT_EQ(model_.PaperRow(), 4);  // Legal again
  model_.ChoosePrinter("Gone");
  EXPECT_EQ(Asked(), std::vector<std::string>{"Can not set Gone"});
  EXPECT_EQ(model_.PrinterText(), "PDF file...");
}

TEST_F(PrintSetupModelTest, LaterOpeningsKeepTheChoicesWithoutANewProbe) {
  model_.Open();
  model_.ChooseOrientation(2);
  model_.ChooseQuality(1);
  model_.ChooseColor(1);
  model_.SetDuplex(true);
  model_.SetCopiesText("3");
  EXPECT_EQ(model_.Accept(), 3);
  const int probes = port_.PaperSets;
  model_.Open();
  EXPECT_EQ(port_.PaperSets, probes);
  EXPECT_EQ(port_.Orientation_, kLandscape);
  EXPECT_EQ(model_.OrientationMarker(), 2);
  EXPECT_EQ(model_.QualityMarker(), 1);
  EXPECT_EQ(port_.Quality, -1);
  EXPECT_EQ(model_.ColorMarker(), 1);
  EXPECT_TRUE(port_.TwoSided);
  EXPECT_EQ(model_.CopiesText(), "3");
  EXPECT_EQ(model_.Copies(), 0);  // nothing accepted yet in this opening
  model_.SetDuplex(false);
  EXPECT_FALSE(port_.TwoSided);
  EXPECT_TRUE(Asked().empty());
}

TEST_F(PrintSetupModelTest, WithNoPrinterItOpensOnThePdfEntryWithOneMessage) {
  FakePrinterPort bare;
  bare.Current = "";
  PrintSetupModel model(bare);
  model.Open();
  EXPECT_EQ(model.Printers(), std::vector<std::string>{"PDF file..."});
  EXPECT_EQ(model.PrinterText(), "PDF file...");
  EXPECT_EQ(bare.Current, "PDF file...");
  model.Open();
  EXPECT_EQ(Asked(), std::vector<std::string>{"Printer Trouble"});
  EXPECT_EQ(prompts_.History()[0].Request.Caption(), "");
}

TEST_F(PrintSetupModelTest, TextSizeAndCopiesAreReadSafely) {
  struct Case {
    const char* text;
    double scale;
  };
  for (const Case& c : {Case{"100%", 1.0}, Case{"85%", 0.85}, Case{"5%", 0.2}, Case{"", 0.2},
                        Case{"250", 2.5}, Case{"99999%", 10.0}})
    EXPECT_DOUBLE_EQ(PrintScaleOfText(c.text), c.scale) << c.text;
  struct Copies {
    const char* text;
    int16_t copies;
  };
  for (const Copies& c :
       {Copies{"1", 1}, Copies{"0", 0}, Copies{"", 0}, Copies{"many", 0}, Copies{"-3", 0},
        Copies{"2.5", 2}, Copies{"3.5", 4}, Copies{"30000", 999}, Copies{"1e9", 999}})
    EXPECT_EQ(CopiesOfText(c.text), c.copies) << c.text;

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

TEST_F(PrintSetupModelTest, RefusedSettingsAreToldAndPrintGoesOn) {
  model_.Open();
  port_.Papers["Office"].erase(5);
  model_.ChoosePaper(1);
  port_.FailSettings = true;
  model_.SetCopiesText("4");
  EXPECT_EQ(model_.Accept(), 4);
  EXPECT_EQ(Asked(),
            (std::vector<std::string>{"Printer does not support this paper size",
                                      "Printer Problem, check printer, paper and cables"}));
}

}  // namespace
}  // namespace qv
