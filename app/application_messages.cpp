#include "app/application_messages.h"

#include "books/module_procedures.h"
#include "platform/prompts.h"
#include "platform/screen_pointer.h"

namespace qv {

namespace {

void ShowFileMessage(std::string text, std::string_view detail) {
  TheScreenPointer().Set(PointerShape::Normal);
  if (!detail.empty()) {
    text += "\n\n";
    text += detail;
  }
  ShowMessage(text);
}

}  // namespace

void ShowFileError(int code, std::string_view detail) {
  ShowFileMessage(FileErrorText(code), detail);
}

void ShowReadError(int code, std::string_view detail) {
  const bool speaksOfWriting = code == kErrDiskFull || code == kErrPathAccess;
  ShowFileMessage(speaksOfWriting ? "The file could not be read." : FileErrorText(code), detail);
}

void ShowWriteError(int code, std::string_view detail) {
  if (HasFileErrorText(code))
    ShowFileMessage(FileErrorText(code), detail);
  else
    ShowFileMessage(detail.empty() ? "The file could not be written." : std::string(detail), {});
}

std::string MissingBookText(std::string_view path) {
  return "The book file \"" + std::string(path) +
         "\" does not exist. The book that is open was kept.";
}

}  // namespace qv
