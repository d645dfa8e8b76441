// An install or a restore stopped at every single step that changes the disk, either by an I/O error at
// that step or by the program dying there, must leave every changed game file backed up and recorded,
// and a repeated restore must bring the game folder back byte for byte.
#include <gtest/gtest.h>

#include <map>

#include "app/program.h"
#include "installs/install.h"
#include "installs/installs_support.h"
#include "installs/restore.h"
#include "installs/store.h"
#include "support/fakes.h"
#include "support/temp_folder.h"
#include "sys/encoding.h"
#include "sys/paths.h"
#include "sys/registry.h"

namespace {

using installs_testing::AgreeingUi;
using installs_testing::FailingFileSystem;
using installs_testing::Killed;
using testing_support::readBytes;
using testing_support::writeBytes;

// One program folder and game folder; an earlier installation "Old" holds one game file already.
class Sandbox {
 public:
  Sandbox() {
    registry = std::make_unique<sys::HiveFileRegistry>(temp / "hive.reg");
    testing_support::makeFolder(temp / "program");
    const char* files[] = {"models/player/gign/gign.mdl", "models/v_ak47.mdl", "sound/radio/go.wav", "maps/old.spr"};
    for (const char* relative : files) {
      const std::string path = temp / ("cstrike/" + std::string(relative));
      writeBytes(path, "original " + std::string(relative) + std::string(4096, '#'));
      game.push_back(path);
      original[path] = readBytes(path);
    }
    std::filesystem::permissions(sys::toPath(game[1]), std::filesystem::perms::owner_read);
    install(sys::realFileSystem(), "Old", {3});
  }

  std::unique_ptr<app::Program> program(sys::FileSystem& fs, app::Ui& ui) {
    auto p = std::make_unique<app::Program>(app::Services{ui, fs, *registry, shell, windows, clock, temp / "exe/"});
    p->settings.FilePath = temp / "program" + sys::kSep;
    p->settings.CSDir = temp / "cstrike";
    return p;
  }

  // Installs the game files of the given indexes (and game file 3 again, which "Old" holds) as name.
  void install(sys::FileSystem& fs, const std::string& name, std::initializer_list<int> which) {
    AgreeingUi ui(name);
    auto p = program(fs, ui);
    installs::ChosenFiles chosen;
    for (int i : which) {
      const std::string source = temp / ("new/" + sys::bareName(game[i]));
      writeBytes(source, "replacement " + sys::bareName(game[i]));
      chosen.add(source, game[i]);
    }
    installs::DialogView view;
    installs::Install(*p, chosen, "описание", view);
  }

  // Restores every listed installation, as often as needed.
  void restoreAll(sys::FileSystem& fs) {
    AgreeingUi ui;
    auto p = program(fs, ui);
    for (int round = 0; round < 3; ++round) {
      auto names = installs::openInstallationList(*p);
      if (names.empty()) return;
      while (!names.empty()) {
        const std::size_t before = names.size();
        installs::Restore(*p, names, 0);
        if (names.size() == before) names.erase(names.begin());  // kept for the next round
      }
    }
  }

  // Every game file that no longer holds its original is backed up (the original's bytes) by a listed
  // installation whose "files.dat" names it, and the register names it.
  // listedHaveFolders: an install never lists a name before its folder exists. (A restore removes the
  // folder before the name, as the page heals a listed name without a folder anyway.)
  void expectEveryChangeRecorded(const std::string& where, bool listedHaveFolders) {
    auto& fs = sys::realFileSystem();
    installs::Store store(fs, temp / "program" + sys::kSep);
    const auto names = store.openList();
    for (const auto& name : names) {
      if (listedHaveFolders) {
        EXPECT_TRUE(fs.isFolder(store.folder(name))) << where << ": listed without a folder: " << name;
      }
    }
    const auto registered = fs.canOpenForReading(store.registerPath()) ? fs.readLines(store.registerPath())
                                                                       : std::vector<std::string>{};
    for (const auto& path : game) {
      if (testing_support::bytesIfAny(path) == original[path]) continue;
      bool backedUp = false;
      for (const auto& name : names) {
        const std::string own = store.filesPath(name);
        if (!fs.canOpenForReading(own)) continue;
        const auto lines = fs.readLines(own);
        const std::string backup = store.backupPath(name, path);
        backedUp = backedUp || (std::find(lines.begin(), lines.end(), path) != lines.end() && fs.isFile(backup) &&
                                readBytes(backup) == original[path]);
      }
      EXPECT_TRUE(backedUp) << where << ": changed without a recorded backup: " << path;
      EXPECT_NE(std::find(registered.begin(), registered.end(), path), registered.end())
          << where << ": changed but not registered: " << path;
    }
  }

  void expectGameAsBefore(const std::string& where) {
    for (const auto& path : game) EXPECT_EQ(readBytes(path), original[path]) << where << ": " << path;
    const std::string reg = temp / "program/files/files.dat";
    EXPECT_EQ(testing_support::fileExists(reg) ? readBytes(reg) : "", "") << where;
    EXPECT_EQ(readBytes(temp / "program/files/list.dat"), "") << where;
  }

  testing_support::TempFolder temp;
  std::unique_ptr<sys::HiveFileRegistry> registry;
  testing_support::RecordingShell shell;
  testing_support::FakeWindowFinder windows;
  testing_support::FixedClock clock;
  std::vector<std::string> game;
  std::map<std::string, std::string> original;
};

// How many disk-changing steps an undisturbed run takes.
template <typename Run>
int countSteps(Run run) {
  Sandbox sandbox;
  FailingFileSystem counting;
  run(sandbox, counting);
  return counting.steps;
}

std::string describe(FailingFileSystem::Failure how, int step, const FailingFileSystem& fs) {
  return std::string(how == FailingFileSystem::Failure::Kill ? "killed" : "I/O error") + " at step " +
         std::to_string(step) + " (" + (fs.log.empty() ? "" : fs.log.back()) + ")";
}

const auto installRun = [](Sandbox& sandbox, sys::FileSystem& fs) { sandbox.install(fs, "Новый", {0, 1, 2, 3}); };

TEST(CrashSafety, InstallStoppedAtEveryStepLeavesEveryChangeRestorable) {
  const int total = countSteps(installRun);
  ASSERT_GT(total, 20);
  for (const auto how : {FailingFileSystem::Failure::Kill, FailingFileSystem::Failure::IoErrorOnce}) {
    for (int step = 1; step <= total; ++step) {
      Sandbox sandbox;
      FailingFileSystem failing;
      failing.failAtStep(how, step);
      try {
        installRun(sandbox, failing);
      } catch (const Killed&) {
      } catch (const sys::IoError&) {
      }
      const std::string where = describe(how, step, failing);
      sandbox.expectEveryChangeRecorded(where, true);
      sandbox.restoreAll(sys::realFileSystem());
      sandbox.expectGameAsBefore(where);
    }
  }
}

TEST(CrashSafety, RestoreStoppedAtEveryStepCanBeRepeated) {
  const auto restoreRun = [](Sandbox& sandbox, sys::FileSystem& fs) {
    AgreeingUi ui;
    auto p = sandbox.program(fs, ui);
    auto names = installs::openInstallationList(*p);
    installs::Restore(*p, names, 1);  // "Новый"; "Old" stays
  };
  const auto prepared = [](Sandbox& sandbox) { installRun(sandbox, sys::realFileSystem()); };
  int total = 0;
  {
    Sandbox sandbox;
    prepared(sandbox);
    FailingFileSystem counting;
    restoreRun(sandbox, counting);
    total = counting.steps;
  }
  ASSERT_GT(total, 10);
  for (const auto how : {FailingFileSystem::Failure::Kill, FailingFileSystem::Failure::IoErrorOnce}) {
    for (int step = 1; step <= total; ++step) {
      Sandbox sandbox;
      prepared(sandbox);
      FailingFileSystem failing;
      failing.failAtStep(how, step);
      try {
        restoreRun(sandbox, failing);
      } catch (const Killed&) {
      } catch (const sys::IoError&) {
      }
      const std::string where = describe(how, step, failing);
      sandbox.expectEveryChangeRecorded(where, false);
      sandbox.restoreAll(sys::realFileSystem());
      sandbox.expectGameAsBefore(where);
    }
  }
}

}  // namespace
