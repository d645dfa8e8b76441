// Installs 500 files of 1 MiB and restores them again (backups forced to the disk, as the install does),
// beside `cp` copying the same 1,000 files (the 500 originals and the 500 new files) in the same run; the
// same again with content hashing taken out (a file system that hands the hash no bytes), and the look
// at an installation of 500 files that the installations page makes when one is selected.
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
#include "installs/changes.h"
#include "installs/install.h"
#include "installs/restore.h"
#include "sys/paths.h"
#include "sys/registry.h"
#include "sys/shell.h"

namespace {

// Names the installation and agrees to every box; anything but the restore's closing box is unexpected.
struct QuietUi : bench::UnattendedUi {
  QuietUi() { expectedBox = "Файлы восстановлены"; }
};
// The real file system, except that the content hashes read nothing: the install and restore without
// the cost of hashing, everything else the same.
class NoHashing : public sys::FileSystem {
 public:
  void readBytes(const std::string&, const std::function<void(std::string_view)>&) override {}
};

using bench::NoShell;
using bench::NoWindows;
using bench::secondsSince;

}  // namespace

int main() {
  const auto root = std::filesystem::temp_directory_path() / ("varnikit-install-bench-" + std::to_string(std::random_device{}()));
  const std::string base = sys::fromPath(root) + sys::kSep;
  for (const char* sub : {"program", "cstrike/models", "new", "pristine", "cp-originals", "cp-new"}) {
    std::filesystem::create_directories(root / sub);
  }
  constexpr int kFiles = 500;
  constexpr std::size_t kSize = 1 << 20;
  std::mt19937 random(1374);
  installs::ChosenFiles all;
  for (int i = 0; i < kFiles; ++i) {
    const std::string name = "model_" + std::to_string(i) + ".mdl";
    const std::string game = base + "cstrike/models/" + name;
    const std::string fresh = base + "new/" + name;
    bench::writeRandomFile(game, random, kSize);
    bench::writeRandomFile(fresh, random, kSize);
    sys::realFileSystem().copyFile(game, base + "pristine/" + name);
    all.add(fresh, game);
  }

  QuietUi ui;
  NoShell shell;
  NoWindows windows;
  sys::HiveFileRegistry registry(base + "hive.reg");
  app::Program program(app::Services{ui, sys::realFileSystem(), registry, shell, windows, sys::systemClock(), base});
  program.settings.FilePath = base + "program" + sys::kSep;
  program.settings.CSDir = base + "cstrike";

  NoHashing noHashing;
  app::Program unhashed(app::Services{ui, noHashing, registry, shell, windows, sys::systemClock(), base});
  unhashed.settings = program.settings;

  std::vector<double> installs, restores, copies, copiesSynced, floors, plainInstalls, plainRestores;
  std::vector<double> firstLooks, laterLooks;
  bool identical = true;
  for (int round = 0; round < 3; ++round) {
    ui.name = "bench" + std::to_string(round);
    std::system("sync");
    installs::ChosenFiles chosen = all;
    installs::DialogView view;
    auto start = std::chrono::steady_clock::now();
    installs::Install(program, chosen, "", view);
    installs.push_back(secondsSince(start));

    // The page's look when the installation is selected: the first one finds each game file with the size
    // and write time it landed with, a later one finds them as they were.
    installs::ChangeCheck changes;
    start = std::chrono::steady_clock::now();
    const auto seen = installs::showInstallation(program, ui.name, &changes);
    firstLooks.push_back(secondsSince(start));
    start = std::chrono::steady_clock::now();
    installs::showInstallation(program, ui.name, &changes);
    laterLooks.push_back(secondsSince(start));
    identical = identical && seen.files.size() == all.size() && seen.changedFiles == 0;

    std::system("sync");
    auto names = installs::openInstallationList(program);
    start = std::chrono::steady_clock::now();
    installs::Restore(program, names, 0);
    restores.push_back(secondsSince(start));
    identical = identical && names.empty();

    ui.name = "plain" + std::to_string(round);
    std::system("sync");
    chosen = all;
    start = std::chrono::steady_clock::now();
    installs::Install(unhashed, chosen, "", view);
    plainInstalls.push_back(secondsSince(start));
    std::system("sync");
    names = installs::openInstallationList(unhashed);
    start = std::chrono::steady_clock::now();
    installs::Restore(unhashed, names, 0);
    plainRestores.push_back(secondsSince(start));
    identical = identical && names.empty();
    identical = identical && names.empty();
    for (const auto& game : all.destinations()) {
      identical = identical && sys::realFileSystem().sameContent(game, base + "pristine/" + sys::bareName(game));
    }

    const std::string cp = "cp " + base + "cstrike/models/*.mdl " + base + "cp-originals/ && cp " + base + "new/*.mdl " +
                           base + "cp-new/";
    copies.push_back(bench::timeCommand(cp));
    copiesSynced.push_back(bench::timeCommand(cp + " && sync"));

    // What any install that keeps durable backups must do at least: copy each original aside and force
    // it to the disk, then copy each new file over the game file.
    std::system("sync");
    start = std::chrono::steady_clock::now();
    auto& fs = sys::realFileSystem();
    for (const auto& game : all.destinations()) fs.copyFile(game, base + "cp-originals/" + sys::bareName(game));
    for (const auto& game : all.destinations()) fs.syncFile(base + "cp-originals/" + sys::bareName(game));
    for (std::size_t i = 0; i < all.size(); ++i) fs.copyFile(all.sources()[i], base + "cp-new/" + sys::bareName(all.sources()[i]));
    floors.push_back(secondsSince(start));
  }

  const double installRestore = bench::median(installs) + bench::median(restores);
  std::printf("Install then restore of %d files of 1 MiB (median of 3 rounds)\n", kFiles);
  std::printf("  install:            %.2f s\n", bench::median(installs));
  std::printf("  restore:            %.2f s\n", bench::median(restores));
  std::printf("  together:           %.2f s\n", installRestore);
  std::printf("  cp of the 1000 files:          %.2f s   ratio %.2fx (target within 2x)\n", bench::median(copies),
              installRestore / bench::median(copies));
  std::printf("  cp of the 1000 files and sync: %.2f s   ratio %.2fx\n", bench::median(copiesSynced),
              installRestore / bench::median(copiesSynced));
  std::printf("  copies with the backups forced to the disk (no checks, no records): %.2f s\n", bench::median(floors));
  const double plain = bench::median(plainInstalls) + bench::median(plainRestores);
  std::printf("  without content hashing: install %.2f s, restore %.2f s, together %.2f s; hashing adds %.1f %% "
              "(target at most 10 %%)\n",
              bench::median(plainInstalls), bench::median(plainRestores), plain, 100.0 * (installRestore - plain) / plain);
  std::printf("  selecting the installation on the page: first look %.1f ms (reads no game file whose size and write time are as they landed), later looks %.2f ms "
              "(target under 50 ms)\n",
              1000 * bench::median(firstLooks), 1000 * bench::median(laterLooks));
  std::printf("  game files back byte for byte: %s; unexpected boxes: %d\n", identical ? "yes" : "NO", ui.unexpected);
  std::filesystem::remove_all(root);
  return identical && ui.unexpected == 0 ? 0 : 1;
}
