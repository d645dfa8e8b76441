// The program killed outright (SIGKILL, as by a crash, the task manager or a power button) while it
// installs, restores or renames, at every disk-changing step and at random times: afterwards the store's
// healing pass leaves every original reachable from a listed installation and every installation name
// free or listed, and a fresh run restores every listed installation so that the game folder is again
// exactly what it was.
#include <gtest/gtest.h>

#ifndef _WIN32

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "installs/content_hash.h"
#include "installs/store.h"
#include "installs/switch.h"
#include "installs/sums.h"
#include "support/temp_folder.h"
#include "sys/filesystem.h"
#include "sys/paths.h"

extern char** environ;

namespace {

using testing_support::readBytes;
using testing_support::writeBytes;
namespace fs = std::filesystem;

// The game files: those installed, one held by an earlier installation, one that is read-only, and
// others that no installation touches.
const char* const kInstalled[] = {"models/player/gign/gign.mdl", "models/v_ak47.mdl", "sound/radio/go.wav",
                                  "sound/радио/привет.wav", "maps/old.spr"};
const char* const kUntouched[] = {"liblist.gam", "maps/de_dust.bsp", "models/player/gign/gign.bmp"};
constexpr int kHeldByOld = 4;
constexpr int kReadOnly = 1;

struct Outcome {
  bool killed = false;  // died of SIGKILL
  int exitCode = -1;
  std::string output;
};

// One root with a program folder and a game folder, and the driver started on it.
class Sandbox {
 public:
  Sandbox() {
    testing_support::makeFolder(temp / "program");
    for (const char* relative : kInstalled) {
      const std::string path = temp / ("cstrike/" + std::string(relative));
      writeBytes(path, "original " + std::string(relative) + std::string(3000, '#'));
      game.push_back(path);
      writeBytes(temp / ("new/" + sys::bareName(path)), "new " + std::string(relative) + std::string(5000, '*'));
    }
    std::vector<std::string> catalogue = game;
    for (const char* relative : kUntouched) {
      catalogue.push_back(temp / ("cstrike/" + std::string(relative)));
      writeBytes(catalogue.back(), relative);
    }
    sys::realFileSystem().writeLines(programFolder() + "fileslist.dat", catalogue);
    fs::permissions(sys::toPath(game[kReadOnly]), fs::perms::owner_read);
    before = snapshot();
    EXPECT_EQ(drive({"install", "Old", game[kHeldByOld]}).exitCode, 0);
  }

  // Runs the driver to its end, or to its death at the given step (0: none), with the faults of the disk
  // given (the driver's VARNIKIT_ variables).
  Outcome drive(const std::vector<std::string>& arguments, long killAt = 0, bool torn = false,
                const std::vector<std::string>& faults = {}) {
    const pid_t pid = start(arguments, killAt, torn, faults);
    return finish(pid);
  }

  pid_t start(const std::vector<std::string>& arguments, long killAt = 0, bool torn = false,
              const std::vector<std::string>& faults = {}) {
    std::vector<std::string> words = {KILL_DRIVER_PATH, temp.path()};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry) {
      const std::string variable = *entry;
      if (variable.rfind("VARNIKIT_", 0) != 0) environment.push_back(variable);
    }
    environment.insert(environment.end(), faults.begin(), faults.end());
    if (killAt > 0) environment.push_back("VARNIKIT_KILL_AT=" + std::to_string(killAt));
    if (torn) environment.push_back("VARNIKIT_KILL_TORN=1");
    std::vector<char*> envp;
    for (auto& variable : environment) envp.push_back(variable.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const std::string log = temp / "driver.log";
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    const int error = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    EXPECT_EQ(error, 0) << "cannot start " << argv[0];
    return pid;
  }

  Outcome finish(pid_t pid) {
    Outcome outcome;
    int status = 0;
    if (pid > 0 && waitpid(pid, &status, 0) == pid) {
      outcome.killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
      outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    outcome.output = testing_support::fileExists(temp / "driver.log") ? readBytes(temp / "driver.log") : "";
    return outcome;
  }

  std::vector<std::string> installArguments(const std::string& name) {
    std::vector<std::string> arguments = {"install", name};
    arguments.insert(arguments.end(), game.begin(), game.end());
    return arguments;
  }

  // Every file below the game folder with its bytes.
  std::map<std::string, std::string> snapshot() {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(sys::toPath(temp / "cstrike"))) {
      if (entry.is_regular_file()) files[sys::fromPath(entry.path())] = readBytes(sys::fromPath(entry.path()));
    }
    return files;
  }

  // What must hold wherever the program died: every game file that does not hold its original is
  // recorded by a listed installation whose folder keeps the original's bytes, and is registered; every
  // register line belongs to a listed installation.
  // Every listed installation's "sums.dat" pairs up with its "files.dat" (each original hash is its
  // backup's), or is out of step and unused: the installation restores as one without sums.
  void expectSumsInStep(const std::string& where) {
    auto& files = sys::realFileSystem();
    installs::Store store(files, programFolder());
    if (!files.canOpenForReading(store.listPath())) return;
    for (const auto& name : files.readLines(store.listPath())) {
      if (name.empty() || !files.canOpenForReading(store.filesPath(name))) continue;
      const auto paths = files.readLines(store.filesPath(name));
      const auto sums = installs::readSums(files, store.sumsPath(name), paths.size());
      if (!sums) continue;
      ++installationsWithSums;
      for (std::size_t i = 0; i < paths.size(); ++i) {
        const std::string backup = store.backupPath(name, paths[i]);
        if (!files.isFile(backup)) continue;
        EXPECT_EQ(installs::fileContentHash(files, backup), (*sums)[i].original)
            << where << ": the sums of " << name << " name another original for " << paths[i];
      }
    }
  }
  int installationsWithSums = 0;

  // And every installation that is off keeps its pack's file of each path it records, as the pack has it.
  void expectNothingLost(const std::string& where) {
    auto& files = sys::realFileSystem();
    installs::Store store(files, programFolder());
    const auto names = files.canOpenForReading(store.listPath()) ? files.readLines(store.listPath())
                                                                 : std::vector<std::string>{};
    std::vector<std::string> listedPaths;
    for (const auto& name : names) {
      if (name.empty() || !files.canOpenForReading(store.filesPath(name))) continue;
      const bool off = store.isOff(name);
      for (const auto& path : files.readLines(store.filesPath(name))) {
        if (off) {
          const std::string pack = store.packPath(name, path);
          EXPECT_TRUE(files.isFile(pack) && readBytes(pack) == readBytes(temp / ("new/" + sys::bareName(path))))
              << where << ": " << name << " is off without its pack's file of " << path;
          continue;
        }
        listedPaths.push_back(path);
        listedBy[path].push_back(name);
      }
    }
    const auto registered = files.canOpenForReading(store.registerPath()) ? files.readLines(store.registerPath())
                                                                          : std::vector<std::string>{};
    for (const auto& line : registered) {
      EXPECT_NE(std::find(listedPaths.begin(), listedPaths.end(), line), listedPaths.end())
          << where << ": a register line no listed installation holds: " << line;
    }
    for (const auto& path : game) {
      if (testing_support::bytesIfAny(path) == before[path]) continue;
      int backedUp = 0;
      for (const auto& name : listedBy[path]) {
        const std::string backup = store.backupPath(name, path);
        backedUp += files.isFile(backup) && readBytes(backup) == before[path] ? 1 : 0;
      }
      EXPECT_EQ(backedUp, 1) << where << ": changed, and its original is not in exactly one installation: " << path;
      EXPECT_NE(std::find(registered.begin(), registered.end(), path), registered.end())
          << where << ": changed but not registered: " << path;
    }
    listedBy.clear();
  }

  // What one healing pass did.
  struct Healed {
    int relisted = 0, removed = 0, leftAlone = 0, dropped = 0;
  };
  Healed heal(const std::string& where) {
    const Outcome outcome = drive({"heal"});
    EXPECT_EQ(outcome.exitCode, 0) << where << ": healing ended with\n" << outcome.output;
    Healed healed;
    const auto at = outcome.output.find("healed ");
    EXPECT_NE(at, std::string::npos) << where << outcome.output;
    if (at == std::string::npos) return healed;
    std::sscanf(outcome.output.c_str() + at, "healed relisted %d removed %d left %d dropped %d", &healed.relisted,
                &healed.removed, &healed.leftAlone, &healed.dropped);
    return healed;
  }

  std::vector<std::string> storeFolders() {
    std::vector<std::string> folders;
    for (const auto& entry : fs::directory_iterator(sys::toPath(programFolder() + "files"))) {
      if (entry.is_directory()) folders.push_back(sys::fromPath(entry.path().filename()));
    }
    return folders;
  }

  // No folder below the store blocks a name that the page does not show.
  void expectEveryNameFreeOrListed(const std::string& where) {
    if (!testing_support::folderExists(programFolder() + "files")) return;
    auto& files = sys::realFileSystem();
    const std::string list = programFolder() + "files" + sys::kSep + "list.dat";
    const auto names = files.canOpenForReading(list) ? files.readLines(list) : std::vector<std::string>{};
    for (const auto& folder : storeFolders()) {
      EXPECT_NE(std::find(names.begin(), names.end(), folder), names.end())
          << where << ": an installation folder the list does not name: " << folder;
    }
  }

  // A fresh run restores everything (a second one where the first could not); then the game folder is
  // as it was, the list and the register are empty, and a healing pass frees every name still taken.
  // Returns the installation folders the restore left over, before that pass.
  std::vector<std::string> restoreAndCheck(const std::string& where, int* freed = nullptr) {
    Outcome outcome = drive({"restore-all"});
    if (outcome.exitCode == 3) outcome = drive({"restore-all"});
    EXPECT_EQ(outcome.exitCode, 0) << where << ": restore ended with\n" << outcome.output;
    // Nothing changed the game files but the program: a restore that asks about a change made after the
    // install took a copy it cut off itself for one.
    EXPECT_EQ(outcome.output.find("изменён после установки"), std::string::npos) << where << outcome.output;
    EXPECT_TRUE(snapshot() == before) << where << ": the game folder is not what it was\n" << outcome.output;
    const std::string list = programFolder() + "files" + sys::kSep + "list.dat";
    const std::string reg = programFolder() + "files" + sys::kSep + "files.dat";
    EXPECT_EQ(readBytes(list), "") << where;
    EXPECT_EQ(testing_support::fileExists(reg) ? readBytes(reg) : "", "") << where;
    const std::vector<std::string> leftOver = storeFolders();
    if (!leftOver.empty()) {
      const Healed healed = heal(where + ", after the restore");
      if (freed) *freed += healed.removed;
      EXPECT_EQ(storeFolders(), std::vector<std::string>{}) << where << ": names still taken after healing";
    }
    return leftOver;
  }

  // With an installation folder left over that no list names, the program still installs and restores.
  void expectStillUsable(const std::string& where) {
    Outcome installed = drive(installArguments("Ещё раз"));
    EXPECT_EQ(installed.exitCode, 0) << where << installed.output;
    for (std::size_t i = 0; i < game.size(); ++i) {
      EXPECT_EQ(readBytes(game[i]), readBytes(temp / ("new/" + sys::bareName(game[i])))) << where << game[i];
    }
    const auto left = restoreAndCheck(where + ", installed again");
    EXPECT_EQ(std::count(left.begin(), left.end(), "Ещё раз"), 0) << where;
  }

  // An install of every game file right after healing may take only the files no listed installation
  // holds: whatever it takes, the restore after it must still give the game folder back as it was.
  void probeInstall(const std::string& where) {
    const Outcome probe = drive(installArguments("Проба"));
    EXPECT_EQ(probe.exitCode, 0) << where << ", installing again after healing\n" << probe.output;
  }

  std::string programFolder() const { return temp / "program" + sys::kSep; }

  testing_support::TempFolder temp;
  std::vector<std::string> game;
  std::map<std::string, std::string> before;
  std::map<std::string, std::vector<std::string>> listedBy;
};

struct Tally {
  long steps = 0;
  int points = 0;
  int killedRuns = 0;
  int relisted = 0;          // folders the healing pass after the kill listed again
  int freed = 0;             // names it freed (folders removed)
  int leftAlone = 0;
  int leftOverFolders = 0;   // kill points whose restore left an unlisted folder
  int freedAfterRestore = 0; // names the pass after that restore freed
  int withSums = 0;          // listed installations whose sums were checked after a kill
};

// One kill run: prepares, starts the operation, kills it (at a step, or after a delay), then checks.
using Prepare = void (*)(Sandbox&);
using Arguments = std::vector<std::string> (*)(Sandbox&);

// What an operation meets besides the kill: the driver's fault variables, and the exit code of a run that
// is not killed (0, or 3 when the faults leave an installation to be restored again, 4 for an I/O error).
struct Faults {
  std::vector<std::string> environment;
  int exitCode = 0;
};

// A delay of this length: the operation runs to its end, with its faults only.
constexpr std::chrono::microseconds kNoKill = std::chrono::microseconds::max();

void killOnce(Tally& tally, const std::string& operation, Prepare prepare, Arguments arguments, long killAt,
              bool torn, std::chrono::microseconds delay, const Faults& faults) {
  Sandbox sandbox;
  prepare(sandbox);
  std::string where = operation + (killAt > 0        ? " killed before step " + std::to_string(killAt)
                                   : delay == kNoKill ? std::string(" not killed")
                                                      : " killed after " + std::to_string(delay.count()) + " us");
  if (torn) where += " (a copy cut in half)";
  Outcome outcome;
  if (killAt > 0) {
    outcome = sandbox.drive(arguments(sandbox), killAt, torn, faults.environment);
    EXPECT_TRUE(outcome.killed) << where << ": the driver was not killed\n" << outcome.output;
  } else if (delay == kNoKill) {
    outcome = sandbox.drive(arguments(sandbox), 0, false, faults.environment);
    EXPECT_EQ(outcome.exitCode, faults.exitCode) << where << outcome.output;
  } else {
    const pid_t pid = sandbox.start(arguments(sandbox), 0, false, faults.environment);
    std::this_thread::sleep_for(delay);
    kill(pid, SIGKILL);
    outcome = sandbox.finish(pid);
  }
  ++tally.points;
  tally.killedRuns += outcome.killed ? 1 : 0;
  const Sandbox::Healed healed = sandbox.heal(where);
  tally.relisted += healed.relisted;
  tally.freed += healed.removed;
  tally.leftAlone += healed.leftAlone;
  EXPECT_EQ(healed.leftAlone, 0) << where;
  sandbox.expectEveryNameFreeOrListed(where);
  sandbox.expectNothingLost(where);
  sandbox.expectSumsInStep(where);
  tally.withSums += sandbox.installationsWithSums;
  sandbox.probeInstall(where);
  sandbox.expectNothingLost(where + ", installed again");
  const auto left = sandbox.restoreAndCheck(where, &tally.freedAfterRestore);
  if (!left.empty()) {
    ++tally.leftOverFolders;
    sandbox.expectStillUsable(where + " (left over: " + left.front() + ")");
  }
}

// An undisturbed run: how many disk-changing steps it takes, which of them are copies, how long it runs.
struct Measure {
  long steps = 0;
  std::vector<long> copies;
  std::chrono::microseconds took{};
};

Measure measure(Prepare prepare, Arguments arguments, const Faults& faults) {
  Sandbox sandbox;
  prepare(sandbox);
  const auto start = std::chrono::steady_clock::now();
  const Outcome outcome = sandbox.drive(arguments(sandbox), 0, false, faults.environment);
  Measure measured;
  measured.took = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
  EXPECT_EQ(outcome.exitCode, faults.exitCode) << outcome.output;
  std::istringstream lines(outcome.output);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("copy at step ", 0) == 0) measured.copies.push_back(std::stol(line.substr(13)));
    if (line.rfind("steps ", 0) == 0) measured.steps = std::stol(line.substr(6));
  }
  return measured;
}

Tally killEverywhere(const std::string& operation, Prepare prepare, Arguments arguments, int randomKills,
                     const Faults& faults = {}) {
  Tally tally;
  const Measure measured = measure(prepare, arguments, faults);
  tally.steps = measured.steps;
  if (!faults.environment.empty()) killOnce(tally, operation, prepare, arguments, 0, false, kNoKill, faults);
  for (long step = 1; step <= measured.steps; ++step) killOnce(tally, operation, prepare, arguments, step, false, {}, faults);
  // Every copy again, its target left half written.
  for (const long step : measured.copies) killOnce(tally, operation, prepare, arguments, step, true, {}, faults);
  std::mt19937 random(20030307);
  std::uniform_int_distribution<long> delay(0, measured.took.count() + measured.took.count() / 2);
  for (int i = 0; i < randomKills; ++i) {
    killOnce(tally, operation, prepare, arguments, 0, false, std::chrono::microseconds(delay(random)), faults);
  }
  std::printf("[ kill ] %s: %ld steps, %d kill points (%d runs died of the kill); healing after the kill: %d "
              "folders listed again, %d names freed, %d folders left alone; %d restores left an unlisted folder, "
              "healing freed %d names after them; %d listed installations with sums in step\n",
              operation.c_str(), measured.steps, tally.points, tally.killedRuns, tally.relisted, tally.freed,
              tally.leftAlone, tally.leftOverFolders, tally.freedAfterRestore, tally.withSums);
  return tally;
}

void nothingBefore(Sandbox&) {}
void installedBefore(Sandbox& sandbox) { EXPECT_EQ(sandbox.drive(sandbox.installArguments("Новый")).exitCode, 0); }
std::vector<std::string> installNew(Sandbox& sandbox) { return sandbox.installArguments("Новый"); }
std::vector<std::string> restoreAll(Sandbox&) { return {"restore-all"}; }
std::vector<std::string> renameNew(Sandbox&) { return {"rename", "Новый", "Другой"}; }

TEST(KillTest, InstallKilledAnywhereIsUndoneByAFreshRestore) {
  const Tally tally = killEverywhere("install", nothingBefore, installNew, 20);
  EXPECT_GT(tally.steps, 10);
  EXPECT_GE(tally.points, 50);
  EXPECT_GT(tally.freed, 0) << "a kill before the name is listed leaves a folder that blocks it";
}

TEST(KillTest, RestoreKilledAnywhereIsFinishedByAFreshRestore) {
  const Tally tally = killEverywhere("restore", installedBefore, restoreAll, 20);
  EXPECT_GT(tally.steps, 10);
  EXPECT_GE(tally.points, 50);
}

// An installation whose line "list.dat" lost (the line of a power cut), healed by a pass that cannot
// rewrite "list.dat".
void installedAndUnlisted(Sandbox& sandbox) {
  installedBefore(sandbox);
  sandbox.drive({"unlist", "Новый"});
}
std::vector<std::string> heal(Sandbox&) { return {"heal"}; }

TEST(KillTest, FaultsOfTheDiskWithKillsAnywhereLoseNoOriginal) {
  const Tally listRefused = killEverywhere("healing while list.dat is held", installedAndUnlisted, heal, 5,
                                           {{"VARNIKIT_FAIL_LIST_REWRITE=1"}, 0});
  EXPECT_GT(listRefused.relisted, 0) << "the healing after the fault lists the installation again";
  // "Новый" records its four files (the fifth is held by "Old") in one append to the register.
  killEverywhere("install with the disk full half-way through its register append", nothingBefore, installNew, 0,
                 {{"VARNIKIT_FULL_AT=1"}, 4});
  killEverywhere("restore with a backup out of reach", installedBefore, restoreAll, 10, {{"VARNIKIT_HIDE=go.wav"}, 3});
}

void installedAndOff(Sandbox& sandbox) {
  installedBefore(sandbox);
  EXPECT_EQ(sandbox.drive({"switch-off", "Новый"}).exitCode, 0);
}
std::vector<std::string> switchOff(Sandbox&) { return {"switch-off", "Новый"}; }
std::vector<std::string> switchOn(Sandbox&) { return {"switch-on", "Новый"}; }

TEST(KillTest, SwitchesKilledAnywhereAreFinishedByHealing) {
  const Tally off = killEverywhere("switch off", installedBefore, switchOff, 10);
  const Tally on = killEverywhere("switch on", installedAndOff, switchOn, 10);
  EXPECT_GT(off.steps, 8);
  EXPECT_GT(on.steps, 8);
}

TEST(KillTest, BetweenTwoVolumesFilesChangePlaceByCopiesThatSurviveAKillAnywhere) {
  const Faults twoVolumes{{"VARNIKIT_TWO_VOLUMES=1"}, 0};
  const Tally install = killEverywhere("install across volumes", nothingBefore, installNew, 5, twoVolumes);
  const Tally off = killEverywhere("switch off across volumes", installedBefore, switchOff, 5, twoVolumes);
  const Tally on = killEverywhere("switch on across volumes", installedAndOff, switchOn, 5, twoVolumes);
  const Tally restore = killEverywhere("restore across volumes", installedBefore, restoreAll, 5, twoVolumes);
  EXPECT_GT(off.steps, 30) << "every file copied, checked and forced to the disk";
  EXPECT_GT(install.steps + on.steps + restore.steps, 100);
}

TEST(KillTest, RenameKilledAnywhereLosesNoInstallation) {
  const Tally tally = killEverywhere("rename", installedBefore, renameNew, 5);
  EXPECT_GE(tally.steps, 2);
  EXPECT_GT(tally.relisted, 0) << "a kill between the folder's rename and the list's leaves it unlisted";
}

}  // namespace

#else

TEST(KillTest, InstallAndRestoreKilledAnywhere) {
  GTEST_SKIP() << "kills a separate process with SIGKILL: Linux only (Windows has no such signal)";
}

#endif

