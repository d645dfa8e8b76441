// An installation of 500 files of 1 MiB switched off and on again, installed and restored, on one volume,
// beside `cp` + `sync` of the same 500 files in the same run: the reference every move-based step is
// measured against.
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
#include "installs/install.h"
#include "installs/restore.h"
#include "installs/switch.h"
#include "sys/paths.h"
#include "sys/registry.h"

using bench::secondsSince;

int main() {
  const auto root = std::filesystem::temp_directory_path() / ("varnikit-switch-bench-" + std::to_string(std::random_device{}()));
  const std::string base = sys::fromPath(root) + sys::kSep;
  for (const char* sub : {"program", "cstrike/models", "new", "pristine", "cp-new"}) std::filesystem::create_directories(root / sub);
  constexpr int kFiles = 500;
  constexpr std::size_t kSize = 1 << 20;
  std::mt19937 random(1374);
  installs::ChosenFiles all;
  for (int i = 0; i < kFiles; ++i) {
    const std::string name = "model_" + std::to_string(i) + ".mdl";
    bench::writeRandomFile(base + "cstrike/models/" + name, random, kSize);
    bench::writeRandomFile(base + "new/" + name, random, kSize);
    sys::realFileSystem().copyFile(base + "cstrike/models/" + name, base + "pristine/" + name);
    all.add(base + "new/" + name, base + "cstrike/models/" + name);
  }

  bench::UnattendedUi ui;
  bench::NoShell shell;
  bench::NoWindows windows;
  sys::HiveFileRegistry registry(base + "hive.reg");
  app::Program program(app::Services{ui, sys::realFileSystem(), registry, shell, windows, sys::systemClock(), base});
  program.settings.FilePath = base + "program" + sys::kSep;
  program.settings.CSDir = base + "cstrike";

  std::vector<double> copies, installs, offs, ons, restores;
  bool identical = true, switched = true;
  for (int round = 0; round < 3; ++round) {
    copies.push_back(bench::timeCommand("cp " + base + "new/*.mdl " + base + "cp-new/ && sync"));

    ui.name = "bench" + std::to_string(round);
    installs::ChosenFiles chosen = all;
    installs::DialogView view;
    std::system("sync");
    auto start = std::chrono::steady_clock::now();
    installs::Install(program, chosen, "", view);
    std::system("sync");
    installs.push_back(secondsSince(start));

    auto names = installs::openInstallationList(program);
    std::system("sync");
    start = std::chrono::steady_clock::now();
    switched = installs::SwitchOff(program, names, 0) == installs::SwitchResult::Switched && switched;
    offs.push_back(secondsSince(start));
    start = std::chrono::steady_clock::now();
    switched = installs::SwitchOn(program, names, 0) == installs::SwitchResult::Switched && switched;
    ons.push_back(secondsSince(start));

    std::system("sync");
    start = std::chrono::steady_clock::now();
    installs::Restore(program, names, 0);
    restores.push_back(secondsSince(start));
    for (const auto& game : all.destinations()) {
      identical = identical && sys::realFileSystem().sameContent(game, base + "pristine/" + sys::bareName(game));
    }
  }

  const double cp = bench::median(copies);
  std::printf("%d files of 1 MiB on one volume (median of 3 rounds); cp + sync of the %d new files: %.3f s\n", kFiles,
              kFiles, cp);
  std::printf("  switch off:          %.4f s\n", bench::median(offs));
  std::printf("  switch on:           %.4f s\n", bench::median(ons));
  std::printf("  off and on again:    %.4f s   %.3fx of cp + sync (target under 0.05x)\n", bench::median(offs) + bench::median(ons),
              (bench::median(offs) + bench::median(ons)) / cp);
  std::printf("  install (and sync):  %.3f s   %.2fx of cp + sync (target under 1.2x)\n", bench::median(installs),
              bench::median(installs) / cp);
  std::printf("  restore:             %.4f s   %.3fx of cp + sync (target under 0.1x)\n", bench::median(restores),
              bench::median(restores) / cp);
  std::printf("  every switch done: %s; game files back byte for byte: %s; boxes: %d\n", switched ? "yes" : "NO",
              identical ? "yes" : "NO", ui.boxes);
  std::filesystem::remove_all(root);
  return identical && switched ? 0 : 1;
}
