// Installations kept as a library: switched off and on again, sharing game files, and taken away.
#include <gtest/gtest.h>

#include <filesystem>

#include "installs/install.h"
#include "installs/installs_support.h"
#include "installs/replaced.h"
#include "installs/restore.h"
#include "installs/switch.h"
#include "installs/texts.h"
#include "support/program_fixture.h"

namespace {

using installs::RestoreResult;
using installs::SwitchResult;
using testing_support::fileExists;
using testing_support::folderExists;
using testing_support::readBytes;
using testing_support::writeBytes;
namespace texts = installs::texts;

// Counts the copies the file system makes, so a test can tell a switch that moved from one that copied.
class CountingCopies : public sys::FileSystem {
 public:
  void copyFile(const std::string& from, const std::string& to) override {
    ++copies;
    FileSystem::copyFile(from, to);
  }
  int copies = 0;
};

class Switching : public testing_support::ProgramFixture {
 protected:
  void SetUp() override {
    configure();
    for (const char* relative : {"models/gign.mdl", "sound/go.wav", "models/v_ak47.mdl"}) {
      paths.push_back(gameFile(relative, std::string("original ") + relative));
    }
    before = snapshot();
  }
  std::map<std::string, std::string> snapshot() {
    std::map<std::string, std::string> bytes;
    for (const auto& path : paths) bytes[path] = readBytes(path);
    return bytes;
  }
  // Installs "NAME's <bare name>" over the game files of the given indexes.
  void installAs(const std::string& name, std::initializer_list<int> which) {
    installs::ChosenFiles chosen;
    for (int i : which) {
      const std::string source = temp / ("new/" + name + "/" + sys::bareName(paths[i]));
      writeBytes(source, name + "'s " + sys::bareName(paths[i]));
      chosen.add(source, paths[i]);
    }
    installs_testing::AgreeingUi agreeing(name);
    app::Program quiet(app::Services{agreeing, fs, *registry, shell, windows, clock, temp / "exe" + sys::kSep});
    quiet.settings = program->settings;
    installs::DialogView view;
    ASSERT_EQ(installs::Install(quiet, chosen, "", view), installs::InstallResult::Installed);
    names = installs::openInstallationList(*program);
  }
  std::string store(const std::string& relative) {
    return programFolder() + "files" + sys::kSep + testing_support::native(relative);
  }
  std::string registerText() { return readBytes(store("files.dat")); }
  std::string replacedBy(int i) {
    installs::Store s(fs, programFolder());
    const auto replaced = installs::ReplacedFiles::read(s);
    const std::string* by = replaced.installationOf(paths[i]);
    return by ? *by : "";
  }

  std::vector<std::string> paths;
  std::map<std::string, std::string> before;
  std::vector<std::string> names;
};

TEST_F(Switching, TwoPacksSharingAFileTakeTurnsAndBothRestoreToTheOriginals) {
  installAs("A", {0, 1});
  EXPECT_EQ(installs::SwitchOff(*program, names, 0), SwitchResult::Switched);
  EXPECT_EQ(snapshot(), before);
  EXPECT_EQ(readBytes(store("A/pack/gign.mdl")), "A's gign.mdl");
  EXPECT_EQ(readBytes(store("A/pack/go.wav")), "A's go.wav");
  EXPECT_FALSE(fileExists(store("A/gign.mdl")));
  EXPECT_EQ(registerText(), "");
  EXPECT_EQ(readBytes(store("A/files.dat")), paths[0] + "\r\n" + paths[1] + "\r\n") << "it keeps its records";
  EXPECT_EQ(fs.readLines(store("A/off.dat")).front(), "07.03.2003 14:05:09");
  EXPECT_EQ(replacedBy(0), "") << "the file list no longer marks its rows";

  installAs("B", {0, 2});  // gign.mdl is free while A is off
  EXPECT_EQ(replacedBy(0), "B");
  ui.expectAttention(texts::heldByAnother("gign.mdl", "B"), app::Answer::Yes);
  EXPECT_EQ(installs::SwitchOn(*program, names, 0), SwitchResult::Switched);
  EXPECT_EQ(readBytes(paths[0]), "A's gign.mdl");
  EXPECT_EQ(readBytes(paths[1]), "A's go.wav");
  EXPECT_EQ(readBytes(paths[2]), before[paths[2]]);
  EXPECT_EQ(readBytes(store("B/pack/v_ak47.mdl")), "B's v_ak47.mdl");
  EXPECT_EQ(readBytes(store("A/gign.mdl")), before[paths[0]]) << "backed up afresh";
  EXPECT_EQ(readBytes(store("A/time.dat")), "07.03.2003 14:05:09\r\n");

  ui.expectAttention(texts::heldByAnother("gign.mdl", "A"), app::Answer::Yes);
  EXPECT_EQ(installs::SwitchOn(*program, names, 1), SwitchResult::Switched);
  EXPECT_EQ(readBytes(paths[0]), "B's gign.mdl");
  EXPECT_EQ(readBytes(paths[1]), before[paths[1]]);
  EXPECT_EQ(readBytes(paths[2]), "B's v_ak47.mdl");
  EXPECT_EQ(installs::sharingInstallations(*program, names, 0), std::vector<std::string>{"B"});

  // No leaves both as they are.
  ui.expectAttention(texts::heldByAnother("gign.mdl", "B"), app::Answer::No);
  EXPECT_EQ(installs::SwitchOn(*program, names, 0), SwitchResult::Unchanged);
  EXPECT_EQ(readBytes(paths[0]), "B's gign.mdl");

  ui.expectAttention(texts::deleteOffQuestion("A"), app::Answer::Yes);
  ui.expectAttention(texts::kOffDeleted);
  EXPECT_EQ(installs::Restore(*program, names, 0), RestoreResult::Deleted);
  EXPECT_FALSE(folderExists(store("A")));
  ui.expectAttention(texts::kRestored);
  EXPECT_EQ(installs::Restore(*program, names, 0), RestoreResult::Restored);
  EXPECT_EQ(snapshot(), before);
  EXPECT_EQ(registerText(), "");
  EXPECT_EQ(readBytes(store("list.dat")), "");
}

TEST_F(Switching, AGameUpdateWhileOffIsTheOriginalBackedUpAtSwitchOnAndAChangedFileIsAskedAbout) {
  installAs("A", {0, 1});
  installs::SwitchOff(*program, names, 0);
  writeBytes(paths[1], "go.wav of a game update");
  installs::SwitchOn(*program, names, 0);
  EXPECT_EQ(readBytes(store("A/go.wav")), "go.wav of a game update");
  // Its sums were worked out afresh: the restore asks nothing and puts the update back.
  ui.expectAttention(texts::kRestored);
  EXPECT_EQ(installs::Restore(*program, names, 0), RestoreResult::Restored);
  EXPECT_EQ(readBytes(paths[1]), "go.wav of a game update");

  // The game changes a file while the pack is on: switching off asks as a restore does; on No the
  // game's file stays, the original goes aside, and the file leaves the pack.
  installAs("B", {0, 1});
  writeBytes(paths[0], "gign.mdl of a game update");
  ui.expectAttention(texts::changedAfterInstall("gign.mdl", store("_kept")), app::Answer::No);
  EXPECT_EQ(installs::SwitchOff(*program, names, 0), SwitchResult::Switched);
  EXPECT_EQ(readBytes(paths[0]), "gign.mdl of a game update");
  EXPECT_EQ(readBytes(store("_kept/gign.mdl")), before[paths[0]]);
  EXPECT_EQ(readBytes(store("B/files.dat")), paths[1] + "\r\n");
  EXPECT_EQ(readBytes(paths[1]), "go.wav of a game update");
  EXPECT_EQ(registerText(), "");
}

TEST_F(Switching, ASwitchMovesFilesOnOneVolumeAndCopiesThemToAnother) {
  installAs("A", {0, 1, 2});
  CountingCopies counting;
  app::Program moving(app::Services{ui, counting, *registry, shell, windows, clock, temp / "exe" + sys::kSep});
  moving.settings = program->settings;
  installs::SwitchOff(moving, names, 0);
  installs::SwitchOn(moving, names, 0);
  EXPECT_EQ(counting.copies, 0) << "one volume: every file changes place by a rename";

#ifndef _WIN32
  // The game on another file system (a tmpfs): the same switch by checked copies, with the same outcome.
  const std::string shm = "/dev/shm";
  const auto here = fs.folderIdentity(temp.path());
  const auto there = fs.folderIdentity(shm);
  if (!there || !here || here->volume == there->volume) GTEST_SKIP() << "no second file system at " << shm;
  testing_support::TempFolder other(shm);
  moving.settings.CSDir = other / "cstrike";
  program->settings.CSDir = moving.settings.CSDir;
  paths = {moving.settings.CSDir + "/models/gign.mdl"};
  writeBytes(paths[0], "original on another disk");
  installAs("B", {0});
  EXPECT_EQ(installs::SwitchOff(moving, names, 1), SwitchResult::Switched);
  EXPECT_EQ(readBytes(paths[0]), "original on another disk");
  EXPECT_EQ(readBytes(store("B/pack/gign.mdl")), "B's gign.mdl");
  EXPECT_EQ(installs::SwitchOn(moving, names, 1), SwitchResult::Switched);
  EXPECT_EQ(readBytes(paths[0]), "B's gign.mdl");
  EXPECT_EQ(readBytes(store("B/gign.mdl")), "original on another disk");
  EXPECT_EQ(counting.copies, 4);
  EXPECT_FALSE(fileExists(store("B/pack/gign.mdl.part")));
#endif
}

TEST_F(Switching, AFileAnInstallCutOffNeverReplacedLeavesThePackInsteadOfGoingIntoIt) {
  installAs("A", {0, 1});
  // Cut off with gign.mdl's backup still a second name of the game file, which holds the original.
  fs.removeFile(paths[0]);
  fs.copyFile(store("A/gign.mdl"), paths[0]);
  fs.removeFile(store("A/gign.mdl"));
  ASSERT_TRUE(fs.linkFile(paths[0], store("A/gign.mdl")));
  EXPECT_EQ(installs::SwitchOff(*program, names, 0), SwitchResult::Switched);
  EXPECT_EQ(snapshot(), before);
  EXPECT_FALSE(fileExists(store("A/pack/gign.mdl")));
  EXPECT_EQ(readBytes(store("A/files.dat")), paths[1] + "\r\n");
}

// What an earlier version sees of an installation that is off: "off.dat" means nothing to it and stays.
class EarlierVersion : public sys::FileSystem {
 public:
  bool isFile(const std::string& path) override { return !isNew(path) && FileSystem::isFile(path); }
  bool removeFile(const std::string& path) override { return !isNew(path) && FileSystem::removeFile(path); }
  bool removeTree(const std::string&) override { return false; }

 private:
  static bool isNew(const std::string& path) { return sys::bareName(path) == "off.dat"; }
};

TEST_F(Switching, AnEarlierVersionRestoringAnInstallationThatIsOffFindsNoBackupsAndKeepsEverything) {
  installAs("A", {0, 1});
  installs::SwitchOff(*program, names, 0);
  EarlierVersion earlier;
  app::Program older(app::Services{ui, earlier, *registry, shell, windows, clock, temp / "exe" + sys::kSep});
  older.settings = program->settings;
  ui.expectError(texts::unknownFilesLeft(store("A")));
  EXPECT_NE(installs::Restore(older, names, 0), RestoreResult::Restored);
  EXPECT_EQ(snapshot(), before);
  EXPECT_EQ(readBytes(store("A/pack/gign.mdl")), "A's gign.mdl");
  EXPECT_EQ(readBytes(store("A/pack/go.wav")), "A's go.wav");
}

}  // namespace
