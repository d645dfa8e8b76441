#pragma once

// Stand-ins shared by the benchmarks that drive the core without windows.
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/ui.h"
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

// A Ui nobody sits at: boxes are counted and answered Yes (OK for a box without a question), the input
// box gives name, the choosers give what the benchmark set. Every box but the ones expected is an
// unexpected one, printed and counted.
class UnattendedUi : public app::Ui {
 public:
  app::Answer messageBox(const std::string& caption, const std::string& text, app::Icon, app::Buttons buttons) override {
    ++boxes;
    if (!expectedBox.empty() && text != expectedBox) {
      ++unexpected;
      std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    }
    return buttons == app::Buttons::YesNo ? app::Answer::Yes : app::Answer::Ok;
  }
  std::optional<std::string> inputBox(const std::string&, const std::string&, const std::string&) override {
    if (name.empty()) return std::nullopt;
    return name;
  }
  std::vector<std::string> chooseFiles(const app::FileRequest&) override { return files; }
  std::optional<std::string> chooseFolder(const std::string&, const std::string&) override { return folder; }
  void processEvents() override {}
  void setStatusText(const std::string&) override {}
  void setBusy(bool) override {}
  void setMainWindowEnabled(bool) override {}
  void focusMainWindow() override {}

  std::string name;                    // the installation name typed
  std::vector<std::string> files;      // what the file chooser gives
  std::optional<std::string> folder;   // what the folder chooser gives
  std::string expectedBox;             // the one box text that is not unexpected (empty: every box is fine)
  int boxes = 0;
  int unexpected = 0;
};

inline double secondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace bench
