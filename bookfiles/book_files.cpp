#include "bookfiles/book_files.h"

#include <cerrno>
#include <new>
#include <utility>

#include "bookfiles/acc_file.h"
#include "bookfiles/csv_file.h"
#include "bookfiles/text_file.h"
#include "books/module_procedures.h"
#include "platform/file_io.h"
#include "platform/system_error_text.h"
#include "platform/utf8.h"

namespace qv {
namespace {

// Thrown out of a writer when the file below it failed, so that a large book is not
// formatted to the end for nothing.
struct WriteStopped {};

void Write(const Books& books, BookFileType type, const BookOutput::Consumer& consumer,
           const ProgressFn& progress) {
  switch (type) {
    case BookFileType::kAcc: WriteAccBook(books, consumer, progress); break;
    case BookFileType::kTxt: WriteTextBook(books, consumer, progress); break;
    case BookFileType::kCsv: WriteCsvBook(books, consumer, progress); break;
  }
}

std::string SystemError(const char* doing, const std::string& path, int err) {
  return std::string(doing) + " \"" + path + "\" failed: " + SystemErrorText(err) + ".";
}

BookReadResult UnknownType(std::string_view type) {
  return DataMismatch("\"" + std::string(type) +
                      "\" is not a type of book file; the types are acc, txt and csv.");
}

}  // namespace

std::optional<BookFileType> BookFileTypeOf(std::string_view type) {
  const std::string lower = ToLowerText(type);
  if (lower == "acc") return BookFileType::kAcc;
  if (lower == "txt") return BookFileType::kTxt;
  if (lower == "csv") return BookFileType::kCsv;
  return std::nullopt;
}

BookReadResult ParseBook(std::string_view bytes, BookFileType type, DaySerial today,
                         const ProgressFn& progress) {
  ByteSource source(bytes);
  switch (type) {
    case BookFileType::kAcc: return ReadAccBook(source, today, progress);
    case BookFileType::kTxt: return ReadTextBook(source, today, progress);
    case BookFileType::kCsv: return ReadCsvBook(source, today, progress);
  }
  return DataMismatch("Unknown type of book file.");
}

std::string FormatBook(const Books& books, BookFileType type) {
  std::string out;
  Write(books, type, [&](std::string_view piece) { out.append(piece); }, {});
  return out;
}

uint64_t BookDigest(const Books& books) {
  // FNV-1a over the bytes the book file would hold, as the writer hands them out.
  uint64_t digest = 14695981039346656037ull;
  WriteAccBook(books, [&digest](std::string_view piece) {
    for (const char c : piece) {
      digest ^= static_cast<unsigned char>(c);
      digest *= 1099511628211ull;
    }
  });
  return digest;
}

BookReadResult ReadBook(const std::string& path, std::string_view type, DaySerial today,
                        const ProgressFn& progress) {
  const auto fileType = BookFileTypeOf(type);
  if (!fileType) return UnknownType(type);
  const std::string quoted = "\"" + path + "\"";
  FileReader file;
  if (const int err = file.Open(path, kMaxBookFileBytes)) {
    switch (file.Kind()) {
      case FileKind::kFolder: return DataMismatch(quoted + " is a folder, not a book file.");
      case FileKind::kPipe:
        return DataMismatch(quoted + " is a named pipe, not a book file; it was not read.");
      case FileKind::kDevice:
        return DataMismatch(quoted + " is a device, not a book file; it was not read.");
      case FileKind::kSocket:
      case FileKind::kOther:
        return DataMismatch(quoted + " is not an ordinary file; it was not read.");
      case FileKind::kNone:
      case FileKind::kRegular: break;
    }
    if (err == EFBIG)
      return DataMismatch(quoted +
                          " is larger than 4 GiB, more than any book file; it was not read.");
    BookReadResult result;
    result.ErrorCode = FileErrorCodeFromErrno(err);
    result.Message = SystemError("Reading", path, err);
    return result;
  }
  BookReadResult result;
  try {
    ByteSource source(file);
    switch (*fileType) {
      case BookFileType::kAcc: result = ReadAccBook(source, today, progress); break;
      case BookFileType::kTxt: result = ReadTextBook(source, today, progress); break;
      case BookFileType::kCsv: result = ReadCsvBook(source, today, progress); break;
    }
  } catch (const SourceReadError& failure) {
    result = BookReadResult{};
    result.ErrorCode = FileErrorCodeFromErrno(failure.error);
    result.Message = SystemError("Reading", path, failure.error);
    return result;
  } catch (const std::bad_alloc&) {
    result = BookReadResult{};
    result.ErrorCode = kErrOutOfMemory;
    result.Message = "There is not enough memory to read " + quoted + "; it was not read.";
    return result;
  }
  if (!result.Ok()) result.Message = quoted + ": " + result.Message;
  return result;
}

namespace {

// Writes the book; with `expected`, as SaveBookFile.
BookSaveResult WriteBookFile(const std::string& path, std::string_view type, const Books& books,
                             const FileStamp* expected, const ProgressFn& progress) {
  const auto fileType = BookFileTypeOf(type);
  if (!fileType) return {UnknownType(type)};
  BookSaveResult result;
  // A book that a reader would refuse is not written: the old file stays.
  if (auto overlong = OverlongBookText(books, *fileType != BookFileType::kCsv,
                                       *fileType == BookFileType::kAcc)) {
    result.ErrorCode = kErrDataMismatch;
    result.Message = "\"" + path + "\" was not written: " + *overlong;
    return result;
  }
  AtomicFileWriter writer(path);
  if (expected != nullptr) writer.ReplaceOnlyUnchanged(*expected);
  int err = writer.Open();
  if (err == 0) {
    try {
      Write(
          books, *fileType,
          [&](std::string_view piece) {
            writer.Write(piece);
            if (writer.Error() != 0) throw WriteStopped{};
          },
          progress);
    } catch (const WriteStopped&) {
    } catch (const std::bad_alloc&) {
      writer.Discard();
      return {WriteFailure(path, ENOMEM)};
    }
    err = writer.Commit();
  }
  if (err == kTargetChanged) {
    result.ChangedOnDisk = true;
    result.ErrorCode = kErrDataMismatch;
    result.Message = "\"" + path + "\" was changed by another program; it was not written.";
    return result;
  }
  if (err != 0) return {WriteFailure(path, err)};
  result.Written = writer.Written();
  return result;
}

}  // namespace

BookFileResult WriteBook(const std::string& path, std::string_view type, const Books& books,
                         const ProgressFn& progress) {
  return WriteBookFile(path, type, books, nullptr, progress);
}

BookSaveResult SaveBookFile(const std::string& path, std::string_view type, const Books& books,
                            const FileStamp& expected, const ProgressFn& progress) {
  return WriteBookFile(path, type, books, &expected, progress);
}

void ReplaceBooks(Books& books, Books&& read) {
  read.BooksStamp = books.BooksStamp;
  RaiseBooksStamp(read);
  books = std::move(read);
}

BookFileResult OpenBookInto(Books& books, const std::string& path, std::string_view type,
                            DaySerial today, const ProgressFn& progress) {
  BookReadResult read = ReadBook(path, type, today, progress);
  if (read.Ok()) ReplaceBooks(books, std::move(*read.Book));
  return BookFileResult{read.ErrorCode, std::move(read.Message)};
}

}  // namespace qv
