#pragma once

#include <stdexcept>
#include <string>

namespace sys {

// A file operation that failed. what() is the system's own error text, shown to the user as it is.
class IoError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The system's text for the last error of the calling thread (errno, or GetLastError on Windows).
std::string lastErrorText();

}  // namespace sys
