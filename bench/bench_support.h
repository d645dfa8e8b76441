#pragma once

// Stand-ins shared by the benchmarks that drive the core without windows.
#include <chrono>
#include <string>

#include "sys/shell.h"

namespace bench {

class NoShell : public sys::Shell {
 public:
  void open(const std::string&, const std::string&, const std::string&, sys::ShowCommand) override {}
};

class NoWindows : public sys::WindowFinder {
 public:
  bool exists(const std::string&) override { return false; }
};

inline double secondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace bench
