#pragma once

#include <cstdlib>
#include <optional>
#include <string>

#ifdef _WIN32
#include <windows.h>

#include "sys/paths.h"
#endif

namespace testing_support {

// One variable of the test process's environment, put back as it was at the end.
class EnvironmentVariable {
 public:
  explicit EnvironmentVariable(std::string name) : name_(std::move(name)) { saved_ = get(); }
  ~EnvironmentVariable() { saved_ ? set(*saved_) : unset(); }
  EnvironmentVariable(const EnvironmentVariable&) = delete;
  EnvironmentVariable& operator=(const EnvironmentVariable&) = delete;

#ifdef _WIN32
  void set(const std::string& value) { SetEnvironmentVariableW(sys::toWide(name_).c_str(), sys::toWide(value).c_str()); }
  void unset() { SetEnvironmentVariableW(sys::toWide(name_).c_str(), nullptr); }
  std::optional<std::string> get() const {
    const std::wstring name = sys::toWide(name_);
    const DWORD length = GetEnvironmentVariableW(name.c_str(), nullptr, 0);
    if (length == 0) return std::nullopt;
    std::wstring value(length, L'\0');
    value.resize(GetEnvironmentVariableW(name.c_str(), value.data(), length));
    return sys::fromWide(value);
  }
#else
  void set(const std::string& value) { setenv(name_.c_str(), value.c_str(), 1); }
  void unset() { unsetenv(name_.c_str()); }
  std::optional<std::string> get() const {
    const char* value = std::getenv(name_.c_str());
    return value ? std::optional<std::string>(value) : std::nullopt;
  }
#endif

 private:
  std::string name_;
  std::optional<std::string> saved_;
};

}  // namespace testing_support
