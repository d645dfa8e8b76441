#pragma once

#include <functional>
#include <string>
#include <vector>

#include "sys/clock.h"
#include "sys/program_lock.h"
#include "sys/shell.h"

namespace testing_support {

// Records every start instead of starting anything.
class RecordingShell : public sys::Shell {
 public:
  struct Call {
    std::string file;
    std::string params;
    std::string workFolder;
    sys::ShowCommand show;
  };
  void open(const std::string& file, const std::string& params, const std::string& workFolder,
            sys::ShowCommand show) override {
    calls.push_back(Call{file, params, workFolder, show});
    if (onOpen) onOpen(calls.back());
  }
  std::vector<Call> calls;
  std::function<void(const Call&)> onOpen;
};

// Knows the windows a test says exist.
class FakeWindowFinder : public sys::WindowFinder {
 public:
  bool exists(const std::string& title) override {
    ++lookups;
    if (onLookup) onLookup(title);
    for (const auto& window : windows) {
      if (window == title) return true;
    }
    return false;
  }
  bool raise(const std::string& title) override {
    raised.push_back(title);
    return exists(title);
  }
  std::vector<std::string> windows;
  std::vector<std::string> raised;
  int lookups = 0;
  std::function<void(const std::string&)> onLookup;
};

// Answers what the test sets and records the folders it was asked for.
class FakeProgramLock : public sys::ProgramLock {
 public:
  sys::LockResult take(const std::string& storeFolder) override {
    folders.push_back(storeFolder);
    return result;
  }
  sys::LockResult result = sys::LockResult::Taken;
  std::vector<std::string> folders;
};

// A clock that says what the test sets; its steady time moves only when told.
class FixedClock : public sys::Clock {
 public:
  explicit FixedClock(sys::DateTime time = {{2003, 3, 7}, 14, 5, 9}) : time(time) {}
  sys::DateTime now() override { return time; }
  std::chrono::steady_clock::time_point steadyNow() override { return steady; }
  void advance(std::chrono::milliseconds by) { steady += by; }
  sys::DateTime time;
  std::chrono::steady_clock::time_point steady{};
};

}  // namespace testing_support
