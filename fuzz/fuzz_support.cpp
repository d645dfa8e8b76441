#include "fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fuzz {

const std::string& scratchFolder() {
  static const std::string folder = [] {
    const std::string path = (std::filesystem::is_directory("/dev/shm") ? "/dev/shm/varnikit-fuzz-" : "/tmp/varnikit-fuzz-") + std::to_string(getpid()) + "/";
    std::filesystem::create_directories(path);
    return path;
  }();
  return folder;
}

std::string writeInput(const std::string& name, const std::uint8_t* data, std::size_t size) {
  const std::string path = scratchFolder() + name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return path;
}

sys::FileSystem& fileSystem() {
  class NoSync final : public sys::FileSystem {
   public:
    void syncFile(const std::string&) override {}
  };
  static NoSync instance;
  return instance;
}

Stage& stage() {
  static Stage instance;
  return instance;
}

namespace {

class QuietUi final : public app::Ui {
 public:
  app::Answer messageBox(const std::string&, const std::string&, app::Icon, app::Buttons buttons) override {
    ++stage().boxes;
    return buttons == app::Buttons::YesNo ? app::Answer::Yes : app::Answer::Ok;
  }
  std::optional<std::string> inputBox(const std::string&, const std::string&, const std::string&) override {
    return stage().inputAnswer;
  }
  std::vector<std::string> chooseFiles(const app::FileRequest&) override {
    if (stage().chosenFile.empty()) return {};
    return {stage().chosenFile};
  }
  std::optional<std::string> chooseFolder(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  void processEvents() override {}
  void setStatusText(const std::string&) override {}
  void setBusy(bool) override {}
  void setMainWindowEnabled(bool) override {}
  void focusMainWindow() override {}
};

class StageShell final : public sys::Shell {
 public:
  void open(const std::string& file, const std::string& params, const std::string&, sys::ShowCommand) override {
    if (stage().shellOpen) stage().shellOpen(file, params);
  }
};

class NoWindows final : public sys::WindowFinder {
 public:
  bool exists(const std::string&) override { return false; }
  bool raise(const std::string&) override { return false; }
};

class FixedClock final : public sys::Clock {
 public:
  sys::DateTime now() override { return {{2003, 3, 7}, 14, 5, 9}; }
};

}  // namespace

app::Program& program() {
  static QuietUi ui;
  static StageShell shell;
  static NoWindows windows;
  static FixedClock clock;
  static sys::HiveFileRegistry registry(scratchFolder() + "hive.reg");
  static app::Program instance(app::Services{ui, fileSystem(), registry, shell, windows, clock, scratchFolder()});
  instance.settings = app::Settings{};
  instance.settings.FilePath = scratchFolder();
  instance.runMenu = {};
  instance.utilities = {};
  stage().boxes = 0;
  return instance;
}

bool staysBelow(const std::string& path, const std::string& folder) {
  if (path.compare(0, folder.size(), folder) != 0) return false;
  const std::filesystem::path rest(path.substr(folder.size()));
  for (const auto& part : rest) {
    if (part == ".." || part.is_absolute()) return false;
  }
  return true;
}

std::vector<std::string> scratchEntries() {
  std::vector<std::string> entries;
  std::error_code error;
  for (auto it = std::filesystem::recursive_directory_iterator(scratchFolder(), error);
       !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
    entries.push_back(it->path().string().substr(scratchFolder().size()));
  }
  return entries;
}

void clearScratch() {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(scratchFolder(), error)) {
    std::filesystem::remove_all(entry.path(), error);
  }
}

void fail(const char* what) {
  std::fprintf(stderr, "fuzz property broken: %s\n", what);
  std::abort();
}

}  // namespace fuzz
