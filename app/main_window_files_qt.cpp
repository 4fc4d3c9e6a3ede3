// The main window's book commands: open, save, save as, insert entries, bring balances
// forward, carry accounts over. A book is replaced only by a complete, sound read, after
// every window that shows the old one has gone; reads and writes run under the wait screen.
// Only a book file (.acc) is the book's save target: the text, CSV and spreadsheet forms are
// copies, and a book opened from one of them is saved under a name asked for.

#include <QPushButton>
#include <filesystem>
#include <string>
#include <system_error>

#include "app/application_messages.h"
#include "app/application_window.h"
#include "app/main_window.h"
#include "bookfiles/book_files.h"
#include "bookfiles/book_notices.h"
#include "bookfiles/books_export.h"
#include "bookfiles/merge.h"
#include "bookfiles/rollover.h"
#include "controls/file_dialog.h"
#include "controls/vertical_scroll_control.h"
#include "controls/wait_screen_dialog.h"
#include "platform/file_stamp.h"
#include "platform/keyboard_return_qt.h"
#include "platform/prompts.h"
#include "platform/utf8.h"

namespace qv {
namespace {

// The book form of a path: its extension when that is one ("acc", "txt", "csv"), else
// "acc".
std::string BookTypeOfPath(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  if (!ext.empty()) ext.erase(0, 1);
  return BookFileTypeOf(ext) ? ToLowerText(ext) : "acc";
}

bool IsBookForm(const std::string& type) { return BookFileTypeOf(type).has_value(); }

// The form of a book chosen in the file dialog: the type chosen there when it is a book
// form, else the path's.
std::string ChosenBookType(const Session& session, const std::string& path) {
  return IsBookForm(session.ChosenFileType) ? session.ChosenFileType : BookTypeOfPath(path);
}

// True when something stands at the path, or when the path cannot be looked at: the reading
// then names the cause ("File name too long"). Otherwise the message that the book file does
// not exist is shown. Anything counts, a folder too: reading it then says why it is no book.
bool BookPathExists(const std::string& path) {
  std::error_code error;
  if (std::filesystem::exists(path, error) || error) return true;
  ShowMessage(MissingBookText(path));
  return false;
}

// The file now at `path`, when the user says that it may be replaced though something else
// wrote it since this program last read or wrote it (No is the default: nothing).
std::optional<FileStamp> MayReplaceChangedFile(const std::string& path) {
  const FileStamp now = FileIdentity(path);
  if (AskYesNoDefaultNo(ChangedOnDiskQuestion(path), PromptIcon::Exclamation) != PromptAnswer::Yes)
    return std::nullopt;
  return now;
}

// The file a save may write over at `path`, for the writer to compare with the disk once more
// before it replaces it: the book's own file as this program last read or wrote it, unless
// something else wrote it since (then MayReplaceChangedFile). Any other file that stands at
// the path was asked about when it was chosen: no stamp, whatever stands there is replaced.
std::optional<FileStamp> FileToWriteOver(const std::string& path, const Session& session) {
  const std::string& ownFile = session.LastFilePath;
  std::error_code error;
  if (ownFile.empty() || !std::filesystem::exists(path, error) ||
      !std::filesystem::equivalent(path, ownFile, error))
    return FileStamp{};
  if (!FileChangedSince(session.BookFileStamp, ownFile)) return session.BookFileStamp;
  return MayReplaceChangedFile(path);
}

}  // namespace

std::string TAcount::AskForBookFile(int captionId, int acceptCaptionId,
                                    const std::vector<std::string>& patterns,
                                    const std::string& defaultType,
                                    std::optional<std::string> proposedName) {
  FileDialogRequest request;
  if (proposedName) {
    // A save: only the book's own file is replaced without a question.
    request.presetName = *proposedName;
    request.nameGiven = true;
    request.writes = true;
    request.ownFile = app_.TheSession().LastFilePath;
  }
  request.defaultType = defaultType;
  request.patterns = patterns;
  request.captionId = captionId;
  request.acceptCaptionId = acceptCaptionId;
  return ChooseFile(this, app_.TheSession(), request, ChooseBookFile);
}

bool TAcount::PassAdminGate() {
  return qv::PassAdminGate(app_.TheBooks(), app_.TheSession(), app_.Prompt());
}

bool TAcount::LoadAccFile(int32_t flag) {
  if (ShowHelpCard(FileCommandHelp(FileCommand::Open))) return false;
  Session& session = app_.TheSession();
  Books& books = app_.TheBooks();
  std::string path;
  std::string type;
  if (flag == 0) {
    // Changes are dropped only on the user's word: No, the default, leaves everything as it
    // was.
    if (BooksChangedSinceSaved() &&
        AskYesNoDefaultNo(OpenWithoutSavingQuestion()) != PromptAnswer::Yes)
      return false;
    path = AskForBookFile(111, 285, {"*.acc", "*.txt", "*.csv"}, "acc");
    type = ChosenBookType(session, path);
  } else {
    path = session.ChosenFileName;
    type = BookTypeOfPath(path);
  }
  if (path.empty()) return false;
  if (!BookPathExists(path)) return false;
  // The text and CSV forms carry no password: the open book's admin password guards them.
  if (type != "acc" && !PassAdminGate()) return false;

  // The book file as it was before the reading, to tell later whether another wrote it.
  const FileStamp before = type == "acc" ? FileIdentity(path) : FileStamp{};
  std::optional<Books> read = ReadBookFile(path, type);
  if (!read) return false;
  // A book with a file password opens only with it; the books in memory stay as they are
  // until it was given.
  if (!PassFilePasswordGate(read->FilePassword, session, app_.Prompt())) {
    session.ChosenFileName.clear();
    return false;
  }
  app_.Windows().CloseForNewBook();
  ReplaceBooks(books, std::move(*read));
  read.reset();
  session.LastFilePath = type == "acc" ? path : std::string();
  session.ProposedFilePath.clear();
  session.BookFileStamp = type == "acc" ? StampAfterReading(before, path) : FileStamp{};
  SetTitleForBook(path);
  AfterBookReplaced();
  MarkBooksSaved();
  return true;
}

std::optional<Books> TAcount::ReadBookFile(const std::string& path, const std::string& type) {
  BookReadResult read;
  {
    WaitScreen wait(this, app_.TheSession(), app_.TheBooks().LastLineIndex());
    read = ReadBook(path, type, app_.TheClock().Today(), wait.PositionProgress());
  }
  if (!read.Ok()) {
    ShowReadError(read.ErrorCode, read.Message + " The book that is open was kept.");
    return std::nullopt;
  }
  return std::move(read.Book);
}

void TAcount::AfterBookReplaced() {
  app_.Windows().FollowNewBook();
  screen_.SetShownEntry(0, 0);
  RefillAccountLists();
  ScrollAcc->SetValueMax(app_.TheBooks().LastLineIndex());
  ScrollAcc->SetValue(0);
  TakeKeyboardBack();
}

void TAcount::TakeKeyboardBack() { GiveKeyboardTo(this, Command1); }

bool TAcount::SaveTo(const std::string& path, const std::string& type, FileStamp& stamp) {
  const Books& books = app_.TheBooks();
  BookSaveResult result;
  BooksSheetResult sheet;  // the spreadsheet's own report
  for (;;) {
    {
      WaitScreen wait(this, app_.TheSession(), books.LastLineIndex());
      if (type == "xls") {
        sheet = WriteBooksSheet(path, books, wait.PositionProgress());
        static_cast<BookFileResult&>(result) = sheet;
      } else {
        result = SaveBookFile(path, type, books, stamp, wait.PositionProgress());
      }
    }
    // Another copy replaced the file while this one wrote: asked as before the save.
    if (!result.ChangedOnDisk) break;
    std::optional<FileStamp> now = MayReplaceChangedFile(path);
    if (!now) return false;
    stamp = *now;
  }
  if (!result.Ok()) {
    ShowWriteError(result.ErrorCode, result.Message);
    return false;
  }
  if (!sheet.Notice.empty()) ShowMessage(sheet.Notice);
  stamp = result.Written;
  return true;
}

void TAcount::SaveFile_Click(int index) {
  if (ShowHelpCard(FileCommandHelp(index == 0 ? FileCommand::Save : FileCommand::SaveAs))) return;
  Session& session = app_.TheSession();
  std::string path;
  std::string type;
  // The name proposed is the open book's own, or the one a rolled-over book was read from
  // (none for a book without a book file), never that of a file last opened for another
  // purpose, such as inserting its entries.
  const std::string proposed =
      session.LastFilePath.empty() ? session.ProposedFilePath : session.LastFilePath;
  if (index == 0) {
    // Save writes the book file, asking for its name when the book has none.
    path = !session.LastFilePath.empty() ? session.LastFilePath
                                         : AskForBookFile(166, 165, {"*.acc"}, "acc", proposed);
    type = "acc";
  } else {
    path = AskForBookFile(166, 165, {"*.acc", "*.txt", "*.csv", "*.xls"}, "acc", proposed);
    type = session.ChosenFileType;
    if (type != "xls" && !IsBookForm(type)) type = BookTypeOfPath(path);
  }
  if (path.empty()) return;
  std::optional<FileStamp> stamp = FileToWriteOver(path, session);
  if (!stamp) return;
  app_.Windows().StoreBeforeSave();
  if (!SaveTo(path, type, *stamp)) return;
  // A copy in a lesser form says once what it leaves out.
  if (const std::string left = LeftOutOfCopyText(app_.TheBooks(), type, path); !left.empty())
    ShowMessage(left, PromptIcon::Information);
  // The other forms are copies: the book stays tied to its book file.
  if (type == "acc") {
    session.LastFilePath = path;
    session.ProposedFilePath.clear();
    session.BookFileStamp = *stamp;
    SetTitleForBook(path);
    MarkBooksSaved();
  }
}

void TAcount::InsertEntries_Click() {
  if (ShowHelpCard(FileCommandHelp(FileCommand::InsertEntries))) return;
  if (!PassAdminGate()) return;
  Session& session = app_.TheSession();
  Books& books = app_.TheBooks();
  const std::string path = AskForBookFile(283, 284, {"*.acc", "*.txt", "*.csv"}, "acc");
  if (path.empty()) return;
  if (!BookPathExists(path)) return;
  std::optional<Books> read = ReadBookFile(path, ChosenBookType(session, path));
  if (!read) return;
  // The other book's file password guards its entries; this book's own stays as it is.
  if (!PassFilePasswordGate(read->FilePassword, session, app_.Prompt())) return;
  MergeResult merged;
  {
    WaitScreen wait(this, session, books.LastLineIndex());
    merged = InsertEntries(books, *read);
  }
  read.reset();
  if (!merged.Ok()) {
    ShowFileError(merged.ErrorCode, "The entries of \"" + path + "\" were not inserted.");
    return;
  }
  ScrollAcc->SetValueMax(books.LastLineIndex());
  ScrollAcc->SetValue(screen_.CurrentLine());
  ShowMessage(InsertedEntriesReport(path, merged), PromptIcon::Information);
  TakeKeyboardBack();
}

void TAcount::RollOverBooks(bool carry) {
  if (ShowHelpCard(FileCommandHelp(carry ? FileCommand::CarriedOver : FileCommand::BroughtForward)))
    return;
  if (!PassAdminGate()) return;
  // An open chart editor closes first as the user's closing does, with its checks and
  // questions: a chart it finds at fault is not rolled over, and while it stays open the
  // roll-over does not run.
  if (QPointer<QWidget>& editor = app_.Windows().ConfigAccounts; editor && !editor->close()) return;
  Books& books = app_.TheBooks();
  // Folio 1 takes the other side of every opening entry, and so whatever the old journal
  // was out by: the user says first whether that is to be.
  if (const auto difference = JournalDifference(books); difference && !difference->IsZero()) {
    const Amount size = CheckedAbs(*difference).value_or(*difference);
    const std::string text = PlainAmountText(size, app_.Locale().DecimalSymbol);
    if (AskQuestion(UnbalancedRolloverQuestion(*difference, text), PromptButtons::YesNo) !=
        PromptAnswer::Yes)
      return;
  }
  app_.Windows().CloseForNewBook();
  RolloverResult result;
  {
    WaitScreen wait(this, app_.TheSession(), books.LastLineIndex());
    const DaySerial today = app_.TheClock().Today();
    result = carry ? CarryAccountsOver(books, today) : BringBalancesForward(books, today);
  }
  if (!result.Done) {
    ShowMessage(result.Problem);
    return;
  }
  // The new period is no longer the old one's file: the first save asks for a name, and
  // proposes that file's, which it then replaces only when the user says so.
  Session& session = app_.TheSession();
  if (!session.LastFilePath.empty()) session.ProposedFilePath = session.LastFilePath;
  session.LastFilePath.clear();
  session.BookFileStamp = FileStamp{};
  SetTitleForBook({});
  AfterBookReplaced();
}

void TAcount::Brought_Forward_Click() { RollOverBooks(false); }

void TAcount::BalBForword_Click() { RollOverBooks(true); }

}  // namespace qv
