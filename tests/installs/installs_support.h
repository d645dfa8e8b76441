#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/ui.h"
#include "installs/dialog_view.h"
#include "sys/error.h"
#include "sys/filesystem.h"
#include "support/temp_folder.h"

// Stand-ins for the installation tests: a file system that fails or dies at a chosen step, and a Ui
// that agrees to everything.
namespace installs_testing {

// The program was killed: thrown past every handler, so nothing after the step runs.
struct Killed {};

// Counts every operation that changes the disk. At step failAt it either fails that one operation the
// way the system would (IoErrorOnce), or the program dies there (Kill): the step does not happen (a copy
// leaves the first half of its bytes behind), Killed is thrown, and every later step dies too.
class FailingFileSystem : public sys::FileSystem {
 public:
  enum class Failure { None, IoErrorOnce, Kill };
  Failure failure = Failure::None;
  int failAt = 0;
  int steps = 0;
  std::vector<std::string> log;  // "operation path" of every step, for a failing test's message
  std::string refuseCopiesTo;    // every copy, link or move to this path fails, as onto a locked file
  std::string undeletable;       // and this one cannot be deleted (a file the running game holds, on Windows)

  void failAtStep(Failure how, int step) {
    failure = how;
    failAt = step;
    steps = 0;
    log.clear();
  }

  void copyFile(const std::string& from, const std::string& to) override {
    if (to == refuseCopiesTo) throw sys::IoError("injected: the file is locked");
    switch (step("copyFile", to)) {
      case Outcome::Fail: throw sys::IoError("injected copy failure");
      case Outcome::Die: {
        const std::string bytes = testing_support::readBytes(from);
        testing_support::writeBytes(to, bytes.substr(0, bytes.size() / 2));
        throw Killed{};
      }
      case Outcome::Go: FileSystem::copyFile(from, to);
    }
  }
  bool setNormal(const std::string& path) override {
    return go(step("setNormal", path)) && FileSystem::setNormal(path);
  }
  bool removeFile(const std::string& path) override {
    return path != undeletable && go(step("removeFile", path)) && FileSystem::removeFile(path);
  }
  void createFolder(const std::string& path) override {
    if (!go(step("createFolder", path))) throw sys::IoError("injected folder failure");
    FileSystem::createFolder(path);
  }
  bool renameFolder(const std::string& from, const std::string& to) override {
    return go(step("renameFolder", to)) && FileSystem::renameFolder(from, to);
  }
  bool removeFolderIfEmpty(const std::string& path) override {
    return go(step("removeFolder", path)) && FileSystem::removeFolderIfEmpty(path);
  }
  // Counted like every step; forcing the bytes to the disk is left out unless asked for, since the
  // tests stop the program, not the machine.
  bool realSync = false;
  void syncFile(const std::string& path) override {
    if (!go(step("syncFile", path))) throw sys::IoError("injected sync failure");
    if (realSync) FileSystem::syncFile(path);
  }
  void syncLinks(const std::vector<std::string>& paths) override {
    for (const auto& path : paths) syncFile(path);
  }
  void writeLines(const std::string& path, const std::vector<std::string>& lines, bool atomic) override {
    if (!go(step("writeLines", path))) throw sys::IoError("injected write failure");
    FileSystem::writeLines(path, lines, atomic);
  }
  void writeText(const std::string& path, const std::string& text) override {
    if (!go(step("writeText", path))) throw sys::IoError("injected write failure");
    FileSystem::writeText(path, text);
  }
  void createEmpty(const std::string& path) override {
    if (!go(step("createEmpty", path))) throw sys::IoError("injected create failure");
    FileSystem::createEmpty(path);
  }
  void appendLines(const std::string& path, const std::vector<std::string>& lines) override {
    if (!go(step("appendLine", path))) throw sys::IoError("injected append failure");
    FileSystem::appendLines(path, lines);
  }
  bool moveFile(const std::string& from, const std::string& to) override {
    return to != refuseCopiesTo && go(step("moveFile", to)) && FileSystem::moveFile(from, to);
  }
  bool replaceFile(const std::string& from, const std::string& to) override {
    return to != refuseCopiesTo && go(step("replaceFile", to)) && FileSystem::replaceFile(from, to);
  }
  bool linkFile(const std::string& from, const std::string& to) override {
    return to != refuseCopiesTo && go(step("linkFile", to)) && FileSystem::linkFile(from, to);
  }

 private:
  enum class Outcome { Go, Fail, Die };
  Outcome step(const char* operation, const std::string& path) {
    ++steps;
    log.push_back(std::string(operation) + " " + path);
    if (failure == Failure::Kill && steps >= failAt) return Outcome::Die;
    return failure == Failure::IoErrorOnce && steps == failAt ? Outcome::Fail : Outcome::Go;
  }
  // Go or Fail; a death never returns.
  static bool go(Outcome outcome) {
    if (outcome == Outcome::Die) throw Killed{};
    return outcome == Outcome::Go;
  }
};

// Records what the install dialog would show.
struct RecordingView : installs::DialogView {
  void setProgressMaximum(int value) override { maximum = value; }
  void setProgress(int value) override { positions.push_back(value); }
  void setStatus(const std::string& text) override { statuses.push_back(text); }
  void setWorking(bool value) override { working.push_back(value); }
  int maximum = -1;
  std::vector<int> positions;
  std::vector<std::string> statuses;
  std::vector<bool> working;
};

// Answers every prompt: the given name in input boxes, Yes to questions, OK to boxes; records them.
class AgreeingUi : public app::Ui {
 public:
  explicit AgreeingUi(std::string name = "Набор") : name_(std::move(name)) {}
  app::Answer messageBox(const std::string& caption, const std::string& text, app::Icon, app::Buttons buttons) override {
    messages.push_back(caption + ": " + text);
    return buttons == app::Buttons::YesNo ? app::Answer::Yes : app::Answer::Ok;
  }
  std::optional<std::string> inputBox(const std::string&, const std::string&, const std::string&) override {
    return name_;
  }
  std::vector<std::string> chooseFiles(const app::FileRequest&) override { return {}; }
  std::optional<std::string> chooseFolder(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  void processEvents() override {}
  void setStatusText(const std::string&) override {}
  void setBusy(bool isBusy) override { busy = isBusy; }
  void setMainWindowEnabled(bool) override {}
  void focusMainWindow() override {}

  std::vector<std::string> messages;
  bool busy = false;

 private:
  std::string name_;
};

}  // namespace installs_testing
