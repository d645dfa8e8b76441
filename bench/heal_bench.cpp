// The store's healing pass, which runs whenever the installations page is filled, on a store in order
// (nothing to mend: the cost every filling pays) of 300 installations of 20 files each, beside `find`
// listing the same store and `cat` reading every list it reads, in the same run.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "app/program.h"
#include "bench_support.h"
#include "installs/heal.h"
#include "installs/store.h"
#include "sys/paths.h"
#include "sys/registry.h"

namespace {

using SilentUi = bench::UnattendedUi;

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double timeCommand(const std::string& command) {
  const auto start = std::chrono::steady_clock::now();
  if (std::system(command.c_str()) != 0) std::fprintf(stderr, "failed: %s\n", command.c_str());
  return bench::secondsSince(start);
}

}  // namespace

int main() {
  const auto root = std::filesystem::temp_directory_path() / ("varnikit-heal-bench-" + std::to_string(std::random_device{}()));
  const std::string base = sys::fromPath(root) + sys::kSep;
  std::filesystem::create_directories(root / "program");
  auto& fs = sys::realFileSystem();
  installs::Store store(fs, base + "program" + sys::kSep);
  constexpr int kInstallations = 300;
  constexpr int kFiles = 20;
  std::vector<std::string> names, registered;
  for (int i = 0; i < kInstallations; ++i) {
    const std::string name = "set " + std::to_string(i);
    store.createInstallationFolder(name);
    store.writeDescriptionAndTime(name, "", "07.03.2003 14:05:09");
    std::vector<std::string> own;
    for (int f = 0; f < kFiles; ++f) {
      const std::string game = base + "cstrike" + sys::kSep + "models" + sys::kSep + "m" + std::to_string(i) + "_" +
                               std::to_string(f) + ".mdl";
      own.push_back(game);
      fs.writeLines(store.backupPath(name, game), {std::string(1024, 'x')});
    }
    fs.writeLines(store.filesPath(name), own);
    registered.insert(registered.end(), own.begin(), own.end());
    names.push_back(name);
  }
  store.saveList(names);
  fs.writeLines(store.registerPath(), registered);

  SilentUi ui;
  bench::NoShell shell;
  bench::NoWindows windows;
  sys::HiveFileRegistry registry(base + "hive.reg");
  app::Program program(app::Services{ui, fs, registry, shell, windows, sys::systemClock(), base});
  program.settings.FilePath = base + "program" + sys::kSep;

  std::vector<double> heals, finds, cats;
  bool untouched = true;
  for (int round = 0; round < 5; ++round) {
    installs::HealNotes notes;
    const auto start = std::chrono::steady_clock::now();
    const auto report = installs::healStore(program, notes);
    heals.push_back(bench::secondsSince(start));
    untouched = untouched && report.relisted.empty() && report.removed.empty() && report.leftAlone.empty() &&
                report.droppedLines.empty() && report.keptLines.empty();
    const std::string files = "'" + base + "program/files'";
    finds.push_back(timeCommand("find " + files + " > /dev/null"));
    cats.push_back(timeCommand("cat " + files + "/list.dat " + files + "/files.dat " + files + "/*/files.dat > /dev/null"));
  }
  untouched = untouched && !fs.exists(program.errorLogPath()) && ui.boxes == 0;
  std::printf("Healing pass over a store in order: %d installations of %d files (median of 5)\n", kInstallations, kFiles);
  std::printf("  healing pass:                        %.4f s\n", median(heals));
  std::printf("  find over the store:                 %.4f s\n", median(finds));
  std::printf("  cat of list, register and own lists: %.4f s\n", median(cats));
  std::printf("  store left as it was, nothing logged: %s\n", untouched ? "yes" : "NO");
  std::filesystem::remove_all(root);
  return untouched ? 0 : 1;
}
