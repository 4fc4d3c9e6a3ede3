#include "app/application_messages.h"

#include "books/module_procedures.h"
#include "platform/prompts.h"
#include "platform/screen_pointer.h"

namespace qv {

void ShowFileError(int code, std::string_view detail) {
  TheScreenPointer().Set(PointerShape::Normal);
  std::string text = FileErrorText(code);
  if (!detail.empty()) {
    text += "\n\n";
    text += detail;
  }
  ShowMessage(text);
}

std::string MissingBookText(std::string_view path) {
  return "The book file \"" + std::string(path) +
         "\" does not exist. The book that is open was kept.";
}

}  // namespace qv
