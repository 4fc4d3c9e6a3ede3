#include "platform/email_file.h"
#include <gtest/gtest.h>
#include <chrono>
#include <filesystem>
#include <optional>
#include <tuple>
#include "tests/support/eml_python.h"
#include "tests/support/scoped_env.h"
#include "tests/support/scratch_folder.h"

namespace qv {
namespace {

namespace fs = std::filesystem;
using testing::ScratchFolder;

TEST(EmailFile, HoldsTheHeaderLinesAndTheBodyWithoutNul) {
  const std::string body("<p>Caf\xC3\xA9\0 &amp; co</p>", 22);
  const std::string text = EmailFileText("Acme, Customer (INV1)", "Quorvel", body);
  EXPECT_EQ(text.substr(0, text.find("\r\n\r\n") + 4),
            "Subject: Acme, Customer (INV1)\r\nX-Mailer: \r\nMIME-Version: 1.0\r\nX-Unsent: 1\r\n"
            "X-MimeOLE: Produced By Quorvel\r\nContent-Type: text/html; charset=utf-8\r\n"
            "Content-Transfer-Encoding: base64\r\n\r\n");
  EXPECT_EQ(text.substr(text.find("\r\n\r\n") + 4), "PHA+Q2Fmw6kgJmFtcDsgY288L3A+\r\n");
  EXPECT_EQ(testing::DecodedEmlBody(text), "<p>Caf\xC3\xA9 &amp; co</p>");
  // A line break in the subject or the program's name cannot add a header line.
  const std::string broken = EmailFileText("Acme\r\nBcc: x@y", "Quorvel\n/home/u", "");
  EXPECT_NE(broken.find("Subject: Acme  Bcc: x@y\r\n"), std::string::npos);
  EXPECT_NE(broken.find("Produced By Quorvel /home/u\r\n"), std::string::npos);
  EXPECT_EQ(broken.find("\r\nBcc"), std::string::npos);
  // Nothing is said of the sender, the addressee or the date: the mail program adds them.
  for (const char* field : {"From:", "To:", "Reply-To:", "Date:"})
    EXPECT_EQ(text.find(field), std::string::npos) << field;
}

// Header values are plain text where they can be and encoded words where they must be; every
// line keeps to 78 characters.
TEST(EmailFile, SubjectsBeyondAsciiOrTooLongAreEncodedOrFoldedAndNoLineIsLong) {
  EXPECT_EQ(EmailHeaderLine("Subject", "Acme, Trial Balance"), "Subject: Acme, Trial Balance");
  const std::string words(
      "Acme Hardware and Garden Supplies of the Northern Districts, Trial Balance as at "
      "31 March 2026");
  EXPECT_EQ(EmailHeaderLine("Subject", words),
            "Subject: Acme Hardware and Garden Supplies of the Northern Districts, Trial\r\n"
            " Balance as at 31 March 2026");
  EXPECT_EQ(EmailHeaderLine("Subject", "Caf\xC3\xA9"), "Subject: =?UTF-8?B?Q2Fmw6k=?=");
  // Texts a reader would not take as they stand: a leading blank, an encoded word's opening, a
  // control character, a word longer than a line, malformed UTF-8.
  for (const std::string& text : {std::string(" x"), std::string("=?x?="), std::string("a\tb"),
                                  std::string(90, 'w'), std::string("bad \xC3")})
    EXPECT_EQ(EmailHeaderLine("Subject", text).rfind("Subject: =?UTF-8?B?", 0), 0u) << text;
  std::string name;
  for (int i = 0; i < 120; ++i) name += "=Caf\xC3\xA9 \xC3\xBC\xE4\xB8\xAD\xE6\x96\x87 \"x\" ";
  const std::string text = EmailFileText(name + "\r\nBcc: x", "Quorvel", std::string(5000, 'p'));
  std::size_t lines = 0;
  for (std::size_t at = 0; at < text.size(); ++lines) {
    const std::size_t end = text.find("\r\n", at);
    ASSERT_NE(end, std::string::npos) << "every line ends with CR LF";
    EXPECT_LE(end - at, 78u) << text.substr(at, end - at);
    EXPECT_EQ(text.find_first_of("\r\n", at), end) << "no bare CR or LF";
    at = end + 2;
  }
  EXPECT_GT(lines, 100u);
  EXPECT_EQ(text.find("\nBcc"), std::string::npos);
}

TEST(EmailFile, PythonsStrictMailParserReadsTheSubjectAndTheHtmlPageAsWritten) {
  if (!testing::PythonAvailable()) GTEST_SKIP() << testing::kNoPython;
  ScratchFolder folder;
  const std::string body = "<html><body><b>Caf\xC3\xA9 \xE2\x82\xAC 5</b>\r\n" +
                           std::string(3000, 'x') + "</body></html>";
  std::string subject = "=Caf\xC3\xA9 \xC3\xBC\xE4\xB8\xAD \"Hostile\" & Co, Customer (INV1)";
  for (int i = 0; i < 40; ++i) subject += " more \xE2\x82\xAC text";
  const std::string plain =
      "Acme Hardware and Garden Supplies of the Northern Districts, Trial "
      "Balance as at 31 March 2026";
  for (const std::string& title : {subject, plain}) {
    const EmailFileWrite written =
        SaveEmailFile("Invoice", EmailFileText(title, "Quorvel", body), folder.Path());
    ASSERT_EQ(written.Error, 0);
    const auto fields = testing::ParseEmlStrictlyWithPython(written.Path);
    ASSERT_FALSE(fields.empty()) << "the strict policy refused the message";
    EXPECT_EQ(fields.at("Subject"), title);
    EXPECT_EQ(fields.at("html"), body);
    EXPECT_EQ(fields.at("defects"), "0");
    EXPECT_LE(std::stoi(fields.at("longest")), 78);
  }
  // The lenient parser of the other tests reads the same.
  const auto lenient = testing::ParseEmlWithPython(folder.Path("Invoice0.eml"));
  ASSERT_FALSE(lenient.empty());
  EXPECT_EQ(std::tie(lenient.at("Content-Type"), lenient.at("charset"), lenient.at("X-Unsent")),
            std::tie("text/html", "utf-8", "1"));
}

TEST(EmailFile, TakesTheFirstFreeNameAndNeverReplacesAFileOrFollowsALink) {
  ScratchFolder folder;
  const EmailFileWrite first = SaveEmailFile("Invoice", "one", folder.Path());
  ASSERT_EQ(first.Error, 0);
  EXPECT_EQ(first.Path, folder.Path("Invoice0.eml"));
  // Another message, from this book or another, takes a name of its own.
  EXPECT_EQ(SaveEmailFile("Invoice", "two", folder.Path()).Path, folder.Path("Invoice1.eml"));
  EXPECT_EQ(ScratchFolder::Read(first.Path), "one");
  // Whatever stands under a name keeps it: a folder, a link (and the file it points at).
  folder.File("Invoice2.eml/held", "a folder in the way");
  EXPECT_EQ(SaveEmailFile("Invoice", "three", folder.Path()).Path, folder.Path("Invoice3.eml"));
  const std::string victim = folder.File("victim.txt", "precious");
  fs::create_symlink(victim, folder.Path("Statement0.eml"));
  const EmailFileWrite linked = SaveEmailFile("Statement", "message", folder.Path());
  EXPECT_EQ(linked.Path, folder.Path("Statement1.eml"));
  EXPECT_TRUE(fs::is_symlink(folder.Path("Statement0.eml")));
  EXPECT_EQ(ScratchFolder::Read(victim), "precious");
  EXPECT_EQ(ScratchFolder::Read(linked.Path), "message");
  EXPECT_EQ(folder.EntryCount(), 7u);  // no temporary file left behind
}

// Messages go to a folder of the user's own, never to a shared one.
TEST(EmailFile, TheFolderIsTheUsersOwnAndKeepsOnlyRecentMessages) {
  ScratchFolder folder;
  const std::string runtime = folder.Folder("run");
  fs::permissions(runtime, fs::perms::owner_all);
  {
    testing::ScopedEnv run("XDG_RUNTIME_DIR", runtime);
    const EmailFileWrite own = EmailFolder();
    ASSERT_EQ(own.Error, 0);
    EXPECT_EQ(own.Path, runtime + "/quorvel");
    EXPECT_EQ(fs::status(own.Path).permissions() & fs::perms::all, fs::perms::owner_all);
  }
  // A runtime folder others may enter, or none: the cache folder, made as needed.
  fs::permissions(runtime, fs::perms::group_read | fs::perms::group_exec, fs::perm_options::add);
  const std::string cache = folder.Path("cache");
  for (const std::optional<std::string>& run :
       {std::optional(runtime), std::optional<std::string>()}) {
    testing::ScopedEnv runEnv("XDG_RUNTIME_DIR", run);
    testing::ScopedEnv cacheEnv("XDG_CACHE_HOME", cache);
    const EmailFileWrite cached = EmailFolder();
    ASSERT_EQ(cached.Error, 0);
    EXPECT_EQ(cached.Path, cache + "/quorvel/messages");
    EXPECT_EQ(fs::status(cached.Path).permissions() & fs::perms::all, fs::perms::owner_all);
  }
  // A link in the folder's place is not followed; without a home there is no folder.
  fs::remove_all(cache + "/quorvel");
  fs::create_symlink(folder.Folder("elsewhere"), cache + "/quorvel");
  {
    testing::ScopedEnv runEnv("XDG_RUNTIME_DIR", std::nullopt);
    testing::ScopedEnv cacheEnv("XDG_CACHE_HOME", cache);
    EXPECT_EQ(EmailFolder().Error, ENOTDIR);
    testing::ScopedEnv noCache("XDG_CACHE_HOME", std::nullopt);
    testing::ScopedEnv noHome("HOME", std::nullopt);
    EXPECT_NE(EmailFolder().Error, 0);
  }
  // Messages older than two weeks go when the folder is next used; others stay.
  const std::string messages = runtime + "/quorvel";
  const std::string old = folder.File("run/quorvel/Invoice0.eml", "old");
  const std::string recent = folder.File("run/quorvel/Invoice1.eml", "recent");
  const std::string other = folder.File("run/quorvel/notes.txt", "kept");
  for (const std::string& path : {old, other})
    fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::hours(24 * 15));
  fs::permissions(runtime, fs::perms::owner_all);
  testing::ScopedEnv run("XDG_RUNTIME_DIR", runtime);
  ASSERT_EQ(EmailFolder().Path, messages);
  EXPECT_EQ(std::tuple(fs::exists(old), fs::exists(recent), fs::exists(other)),
            std::tuple(false, true, true));
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
