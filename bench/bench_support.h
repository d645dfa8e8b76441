#pragma once

// Stand-ins shared by the benchmarks that drive the core without windows.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "app/ui.h"
#include "sys/filesystem.h"
#include "sys/paths.h"
#include "sys/shell.h"

namespace bench {

class NoShell : public sys::Shell {
 public:
  void open(const std::string&, const std::string&, const std::string&, sys::ShowCommand) override {}
};

class NoWindows : public sys::WindowFinder {
 public:
  bool exists(const std::string&) override { return false; }
  bool raise(const std::string&) override { return false; }
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
  std::optional<std::string> chooseFolder(const std::string&, const std::string&, const std::string&) override {
    return folder;
  }
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

// The file list's data for the grid benchmarks: a catalogue of lines paths below game, 1 to 5 folders
// deep, and records descriptions (the usual kinds described again and again, many rarer keys that match
// little or nothing), as fileslist.dat and filesinfo.dat in the program folder. The same for every run.
inline void writeGridData(const std::filesystem::path& program, const std::string& game, int lines, int records) {
  std::mt19937 random(1374);
  const char* folders[] = {"models", "player", "sound", "weapons", "maps", "sprites", "gfx", "radio", "events", "env"};
  const char* extensions[] = {".mdl", ".wav", ".spr", ".bsp", ".txt", ".wad", ".res", ".tga", ".sc", ".dll"};
  std::vector<std::string> catalogue;
  catalogue.reserve(static_cast<std::size_t>(lines));
  for (int i = 0; i < lines; ++i) {
    std::string path = game;
    const int depth = 1 + static_cast<int>(random() % 5);
    for (int d = 0; d < depth; ++d) path += sys::kSep + std::string(folders[random() % 10]);
    path += sys::kSep + ("file" + std::to_string(i) + extensions[random() % 10]);
    catalogue.push_back(std::move(path));
  }
  std::vector<std::string> descriptions;
  for (int r = 0; r < records; ++r) {
    descriptions.push_back(r < 40 ? extensions[r % 10] : ".x" + std::to_string(r));
    descriptions.push_back("Описание номер " + std::to_string(r));
  }
  sys::realFileSystem().writeLines(sys::fromPath(program / "fileslist.dat"), catalogue);
  sys::realFileSystem().writeLines(sys::fromPath(program / "filesinfo.dat"), descriptions);
}

inline double secondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

inline double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// A command of the system timed after a sync, so what earlier runs wrote is not counted in it.
inline double timeCommand(const std::string& command) {
  std::system("sync");
  const auto start = std::chrono::steady_clock::now();
  if (std::system(command.c_str()) != 0) std::fprintf(stderr, "failed: %s\n", command.c_str());
  return secondsSince(start);
}

// A file of size random bytes.
inline void writeRandomFile(const std::string& path, std::mt19937& random, std::size_t size) {
  std::string bytes(size, '\0');
  for (auto& b : bytes) b = static_cast<char>(random());
  std::FILE* out = std::fopen(path.c_str(), "wb");
  std::fwrite(bytes.data(), 1, bytes.size(), out);
  std::fclose(out);
}

}  // namespace bench
