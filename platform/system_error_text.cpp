#include "platform/system_error_text.h"

#include <locale.h>
#include <string.h>

#include <cstring>

namespace qv {

std::string SystemErrorText(int error) {
  // The "C" locale is made once and kept for the run; strerror_l reads it and no other
  // thread's choice of locale.
  static const locale_t classic = newlocale(LC_ALL_MASK, "C", locale_t{});
  if (classic == locale_t{}) return std::strerror(error);
  return strerror_l(error, classic);
}

}  // namespace qv
