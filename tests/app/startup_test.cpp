#include "app/startup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/application_messages.h"
#include "platform/prompts.h"
#include "platform/screen_pointer.h"

namespace qv {
namespace {

TEST(Startup, FadeColorsStepHalfATonePerRowAndStopAtZero) {
  const auto fade = ComputeFadeColors(0xF0F0F0);
  EXPECT_EQ(fade[0], 0u);
  const int expected[] = {240, 239, 238, 238, 238};
  for (int i = 1; i <= 5; ++i)
    EXPECT_EQ(RgbOf(fade[static_cast<std::size_t>(i)]).g, expected[i - 1]);
  EXPECT_EQ(RgbOf(fade[30]), (Rgb{225, 225, 225}));
  // Channels keep their own values: 0xBBGGRR.
  EXPECT_EQ(RgbOf(ComputeFadeColors(0x102030)[2]), (Rgb{0x2F, 0x1F, 0x0F}));
  // A dark background holds at 0 instead of going below it.
  const auto dark = ComputeFadeColors(0x050A00);
  EXPECT_EQ(RgbOf(dark[30]), (Rgb{0, 0, 0}));
  EXPECT_EQ(RgbOf(dark[12]), (Rgb{0, 4, 0}));
}

TEST(Startup, ExampleBooksAreTheAccFilesOfTheFirstFolderThatHasAny) {
  namespace fs = std::filesystem;
  const fs::path base = fs::temp_directory_path() / ("qv-examples-" + std::to_string(::getpid()));
  fs::remove_all(base);
  fs::create_directories(base / "empty");
  fs::create_directories(base / "books" / "folder.acc");
  for (const char* name : {"b.acc", "A.ACC", "notes.txt", "R&D.acc"})
    std::ofstream(base / "books" / name) << "x";
  const auto books = ListExampleBooks(
      {(base / "missing").string(), (base / "empty").string(), (base / "books").string()});
  ASSERT_EQ(books.size(), 3u);
  EXPECT_EQ(books[0].FileName, "A.ACC");
  EXPECT_EQ(books[1].FileName, "R&D.acc");
  EXPECT_EQ(books[2].FileName, "b.acc");
  EXPECT_EQ(books[2].Path, (base / "books" / "b.acc").string());
  EXPECT_TRUE(ListExampleBooks({(base / "empty").string()}).empty());
  fs::remove_all(base);

  EXPECT_EQ(MenuCaptionOf("R&D.acc"), "R&&D.acc");
  EXPECT_EQ(MenuCaptionOf("Plain.acc"), "Plain.acc");
}

TEST(Startup, TheCommandLineNamesOneBookWithoutItsQuotes) {
  EXPECT_EQ(CommandLineBookPath({"quorvel"}), "");
  EXPECT_EQ(CommandLineBookPath({"quorvel", "\"/home/u/my books/a.acc\""}),
            "/home/u/my books/a.acc");
  EXPECT_EQ(CommandLineBookPath({"quorvel", "/home/u/my", "books/a.acc"}),
            "/home/u/my books/a.acc");
  // Quotes inside the path are part of its name; only those around the whole path go.
  EXPECT_EQ(CommandLineBookPath({"quorvel", "/books/my \"best\" book.acc"}),
            "/books/my \"best\" book.acc");
  EXPECT_EQ(CommandLineBookPath({"quorvel", "\"/books/my \"best\" book.acc\""}),
            "/books/my \"best\" book.acc");
  EXPECT_EQ(CommandLineBookPath({"quorvel", "\"/books/x\"y.acc"}), "\"/books/x\"y.acc");
  EXPECT_EQ(CommandLineBookPath({"quorvel", "\""}), "\"");
}

TEST(Startup, SavedMeasuresThatCannotBeReadAreIgnored) {
  EXPECT_EQ(ParseSavedMeasure("10875"), 10875.0);
  EXPECT_EQ(ParseSavedMeasure(" 12000.5 "), 12000.5);
  for (const char* bad : {"", "abc", "12x", "nan", "inf", "-5", "0", "1e9"})
    EXPECT_EQ(ParseSavedMeasure(bad), std::nullopt) << bad;
  EXPECT_EQ(SavedMeasureText(10875), "10875");
  EXPECT_EQ(ParseSavedMeasure(SavedMeasureText(12345.5)), 12345.5);
}

TEST(Startup, TheHeightFitsTheEntryFrame) { EXPECT_EQ(FittedInnerHeight(495, 2130), 2705); }

TEST(FileErrors, TheReportNamesTheFailureEndsTheBusyPointerAndAddsTheDetail) {
  ScriptedPrompts prompts;
  prompts.Then(PromptAnswer::Ok);
  ScopedPromptService scope(prompts);
  TheScreenPointer().Set(PointerShape::Help);
  ShowFileError(61, "Writing \"/x/a.acc\" failed.");
  EXPECT_EQ(TheScreenPointer().Shape(), PointerShape::Normal);
  ASSERT_EQ(prompts.History().size(), 1u);
  EXPECT_EQ(prompts.History()[0].Request.Text,
            "The current drive is full\n\nWriting \"/x/a.acc\" failed.");
  EXPECT_EQ(prompts.History()[0].Request.Buttons, PromptButtons::Ok);
}

}  // namespace
}  // namespace qv
