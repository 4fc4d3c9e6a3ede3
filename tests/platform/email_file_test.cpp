#include "platform/email_file.h"
#include <gtest/gtest.h>
#include <filesystem>
#include "tests/support/eml_python.h"
#include "tests/support/scratch_folder.h"

namespace qv {
namespace {

namespace fs = std::filesystem;
using testing::ScratchFolder;

TEST(EmailFile, HoldsTheHeaderLinesAndTheBodyWithoutNul) {
  const std::string body("<p>Caf\xC3\xA9\0 &amp; co</p>", 22);
  EXPECT_EQ(EmailFileText("Acme, Customer (INV1)", "Quorvel", body),
            "Reply-To: \r\nTo: \r\nFrom: \r\nSubject: Acme, Customer (INV1)\r\nDate: \r\n"
            "X-Mailer: \r\nMIME-Version: 1.0\r\nX-Unsent: 1\r\nX-MimeOLE: Produced By Quorvel\r\n"
            "Content-Type: text/html; charset=utf-8\r\n\r\n<p>Caf\xC3\xA9 &amp; co</p>\r\n");
  // A line break in the subject or the title cannot add a header line.
  const std::string text = EmailFileText("Acme\r\nBcc: x@y", "Quorvel\n/home/u", "");
  EXPECT_NE(text.find("Subject: Acme  Bcc: x@y\r\n"), std::string::npos);
  EXPECT_NE(text.find("Produced By Quorvel /home/u\r\n"), std::string::npos);
  EXPECT_EQ(text.find("\r\nBcc"), std::string::npos);
}

TEST(EmailFile, PythonsMailParserReadsTheSubjectSendersAndHtmlBody) {
  if (!testing::PythonAvailable()) GTEST_SKIP() << testing::kNoPython;
  const std::string path = testing::TestOutputPath("email_file_example.eml");
  fs::remove(path);
  const std::string body = "<html><body><b>Caf\xC3\xA9 \xE2\x82\xAC 5</b></body></html>";
  const std::string text = EmailFileText("Caf\xC3\xA9 Ltd, Customer (INV1)", "Quorvel", body);
  const fs::path folder = fs::path(path).parent_path();
  const EmailFileWrite written = SaveEmailFile("email_file_example", text, folder.string());
  ASSERT_EQ(written.Error, 0);
  fs::rename(written.Path, path);
  const auto fields = testing::ParseEmlWithPython(path);
  ASSERT_FALSE(fields.empty());
  EXPECT_EQ(fields.at("Subject"), "Caf\xC3\xA9 Ltd, Customer (INV1)");
  for (const char* sender : {"From", "To", "Reply-To", "Date"}) EXPECT_EQ(fields.at(sender), "");
  EXPECT_EQ(fields.at("X-Unsent"), "1");
  EXPECT_EQ(fields.at("Content-Type"), "text/html");
  EXPECT_EQ(fields.at("charset"), "utf-8");
  EXPECT_EQ(fields.at("body"), body + "\r\n");
  EXPECT_EQ(fields.at("defects"), "0");
}

TEST(EmailFile, TakesTheFirstNameItMayReplaceAndNeverFollowsALink) {
  ScratchFolder folder;
  const EmailFileWrite first = SaveEmailFile("Invoice", "one", folder.Path());
  ASSERT_EQ(first.Error, 0);
  EXPECT_EQ(first.Path, folder.Path("Invoice0.eml"));
  // The user's own earlier message is replaced, under the same name.
  EXPECT_EQ(SaveEmailFile("Invoice", "two", folder.Path()).Path, first.Path);
  EXPECT_EQ(ScratchFolder::Read(first.Path), "two");
  // A name that cannot be replaced moves on to the next number.
  fs::remove(first.Path);
  folder.File("Invoice0.eml/held", "a folder in the way");
  EXPECT_EQ(SaveEmailFile("Invoice", "three", folder.Path()).Path, folder.Path("Invoice1.eml"));
  // A link planted under the name is replaced; the file it points at keeps its contents.
  const std::string victim = folder.File("victim.txt", "precious");
  fs::create_symlink(victim, folder.Path("Statement0.eml"));
  const EmailFileWrite linked = SaveEmailFile("Statement", "message", folder.Path());
  EXPECT_EQ(linked.Path, folder.Path("Statement0.eml"));
  EXPECT_FALSE(fs::is_symlink(linked.Path));
  EXPECT_EQ(ScratchFolder::Read(victim), "precious");
  EXPECT_EQ(ScratchFolder::Read(linked.Path), "message");
  EXPECT_EQ(folder.EntryCount(), 4u);  // no temporary file left behind
}

TEST(EmailFile, AFolderThatCannotTakeItIsAnErrorAndLeavesNothing) {
  ScratchFolder folder;
  EXPECT_EQ(SaveEmailFile("Invoice", "x", folder.Path("missing")).Error, ENOENT);
  const std::string plain = folder.File("plain.txt");
  EXPECT_EQ(SaveEmailFile("Invoice", "x", plain).Error, ENOTDIR);
  EXPECT_EQ(folder.EntryCount(), 1u);
}

}  // namespace
}  // namespace qv
