#pragma once
// An environment variable set, or unset, for a scope; what it held comes back at the end.

#include <cstdlib>
#include <optional>
#include <string>

namespace qv::testing {

class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
    if (const char* was = std::getenv(name)) old_ = was;
    Set(value);
  }
  ~ScopedEnv() { Set(old_); }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  void Set(const std::optional<std::string>& v) {
    v ? setenv(name_, v->c_str(), 1) : unsetenv(name_);
  }
  const char* name_;
  std::optional<std::string> old_;
};

}  // namespace qv::testing
