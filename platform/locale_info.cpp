#include "platform/locale_info.h"

namespace qv {

LocaleInfo UsEnglishLocale() { return LocaleInfo{}; }

}  // namespace qv
