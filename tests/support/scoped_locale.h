#pragma once
// The C library's locale (every category) set for a scope, as the program's own start sets
// it from the environment; the locale before comes back at the end.

#include <clocale>
#include <string>

namespace qv::testing {

class ScopedCLocale {
 public:
  explicit ScopedCLocale(const char* name) : old_(std::setlocale(LC_ALL, nullptr)) {
    ok_ = std::setlocale(LC_ALL, name) != nullptr;
  }
  ~ScopedCLocale() { std::setlocale(LC_ALL, old_.c_str()); }
  ScopedCLocale(const ScopedCLocale&) = delete;
  ScopedCLocale& operator=(const ScopedCLocale&) = delete;

  // False when the locale is not installed (nothing changed then).
  bool Ok() const { return ok_; }
  // The decimal point that printf and strtod use now.
  static std::string DecimalPoint() { return std::localeconv()->decimal_point; }

 private:
  std::string old_;
  bool ok_ = false;
};

}  // namespace qv::testing
