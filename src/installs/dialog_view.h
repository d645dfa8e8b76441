#pragma once

#include <string>

namespace installs {

// What the install dialog shows while the core works for it: its progress bar, its own status line, and
// whether it takes input. The window implements it; the core and its tests may leave any of it out.
class DialogView {
 public:
  virtual ~DialogView() = default;
  virtual void setProgressMaximum(int) {}
  virtual void setProgress(int) {}
  virtual void setStatus(const std::string&) {}
  // False while an add or an install runs: the dialog takes no input.
  virtual void setWorking(bool) {}
};

// setWorking(true) for as long as it lives, setWorking(false) on every way out.
class WorkingScope {
 public:
  explicit WorkingScope(DialogView& view) : view_(view) { view_.setWorking(true); }
  ~WorkingScope() { view_.setWorking(false); }
  WorkingScope(const WorkingScope&) = delete;
  WorkingScope& operator=(const WorkingScope&) = delete;

 private:
  DialogView& view_;
};

}  // namespace installs
