#include <gtest/gtest.h>

#include <filesystem>

#include "installs/install.h"
#include "installs/installs_support.h"
#include "installs/restore.h"
#include "installs/texts.h"
#include "sys/encoding.h"
#include "support/program_fixture.h"

namespace {

using installs::RenameResult;
using installs::RestoreResult;
using testing_support::fileExists;
using testing_support::folderExists;
using testing_support::readBytes;
using testing_support::writeBytes;
namespace texts = installs::texts;

class Restoring : public testing_support::ProgramFixture {
 protected:
  void SetUp() override {
    configure();
    for (const char* relative : {"models/gign.mdl", "models/v_ak47.mdl", "sound/go.wav", "sprites/radar.spr"}) {
      paths.push_back(gameFile(relative, std::string("original ") + relative + std::string(3000, '.')));
    }
    before = snapshot();
  }
  std::map<std::string, std::string> snapshot() {
    std::map<std::string, std::string> bytes;
    for (const auto& path : paths) bytes[path] = readBytes(path);
    return bytes;
  }
  // Installs the given game files (by index) as name; the new files are "new <bare name>".
  void installAs(const std::string& name, std::initializer_list<int> which) {
    installs::ChosenFiles chosen;
    for (int i : which) {
      const std::string source = temp / ("new/" + sys::bareName(paths[i]));
      writeBytes(source, "new " + sys::bareName(paths[i]));
      chosen.add(source, paths[i]);
    }
    installs_testing::AgreeingUi agreeing(name);
    app::Program quiet(app::Services{agreeing, fs, *registry, shell, windows, clock, temp / "exe" + sys::kSep});
    quiet.settings = program->settings;
    installs::DialogView view;
    ASSERT_EQ(installs::Install(quiet, chosen, "описание " + name, view), installs::InstallResult::Installed);
    names = installs::openInstallationList(*program);
  }
  std::string store(const std::string& relative) {
    return programFolder() + "files" + sys::kSep + testing_support::native(relative);
  }
  std::string registerText() { return readBytes(store("files.dat")); }

  std::vector<std::string> paths;
  std::map<std::string, std::string> before;
  std::vector<std::string> names;
};

TEST_F(Restoring, ThreeFilesComeBackAndOnlyTheirRegisterLinesGo) {
  installAs("A", {0, 1, 2});
  installAs("B", {3});
  int changes = 0;
  ui.expectAttention(texts::kRestored);
  EXPECT_EQ(installs::Restore(*program, names, 0, [&](RestoreResult) { ++changes; }), RestoreResult::Restored);
  EXPECT_EQ(snapshot(), [&] { auto b = before; b[paths[3]] = "new radar.spr"; return b; }());
  EXPECT_EQ(registerText(), paths[3] + "\r\n");
  EXPECT_FALSE(folderExists(store("A")));
  EXPECT_EQ(names, (std::vector<std::string>{"B"}));
  EXPECT_EQ(readBytes(store("list.dat")), "B\r\n");
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(ui.busy);
  EXPECT_EQ(ui.statusHistory.front(), texts::kRestoring);
  ui.expectAttention(texts::kRestored);
  installs::Restore(*program, names, 0);
  EXPECT_EQ(snapshot(), before);
  EXPECT_EQ(registerText(), "");
  EXPECT_EQ(readBytes(store("list.dat")), "");
}

TEST_F(Restoring, AMissingFolderOrFilesListTakesTheEntryOffWithItsMessage) {
  installAs("A", {0});
  installAs("B", {1});
  installAs("C", {2});
  std::filesystem::remove_all(sys::toPath(store("A")));
  ui.expectError(texts::kFilesNotFound);
  EXPECT_EQ(installs::Restore(*program, names, 0), RestoreResult::FolderMissing);
  EXPECT_EQ(readBytes(store("list.dat")), "B\r\nC\r\n");
  EXPECT_NE(readBytes(programFolder() + "errors.txt").find(sys::encodeLine(texts::kFolderMissingLog)), std::string::npos);
  // A lost "files.dat" comes back from the register first, and the restore goes on.
  std::filesystem::remove(sys::toPath(store("B/files.dat")));
  ui.expectAttention(texts::kRestored);
  EXPECT_EQ(installs::Restore(*program, names, 0), RestoreResult::Restored);
  EXPECT_EQ(readBytes(paths[1]), before[paths[1]]);
  EXPECT_NE(readBytes(programFolder() + "errors.txt").find(sys::encodeLine(texts::healRebuilt("B", 1))), std::string::npos);
  // Without its register line as well, nothing tells where the backup belongs: it stays.
  std::filesystem::remove(sys::toPath(store("C/files.dat")));
  writeBytes(store("files.dat"), "");
  ui.expectError(texts::kFilesNotFound);
  EXPECT_EQ(installs::Restore(*program, names, 0), RestoreResult::ListMissing);
  EXPECT_EQ(readBytes(store("list.dat")), "");
  EXPECT_TRUE(fileExists(store("C/go.wav"))) << "the folder and its backups stay";
  EXPECT_FALSE(fileExists(store("C/info.dat")));
  EXPECT_NE(readBytes(programFolder() + "errors.txt").find(sys::encodeLine(texts::kFilesDatMissingLog)), std::string::npos);
  EXPECT_FALSE(ui.busy);
}

TEST_F(Restoring, ACopyBackThatFailsKeepsTheOnlyCopyAndARetryFinishes) {
  installAs("A", {0, 1});
  installs_testing::FailingFileSystem failing;
  failing.refuseCopiesTo = paths[1];
  app::Program flaky(app::Services{ui, failing, *registry, shell, windows, clock, temp / "exe" + sys::kSep});
  flaky.settings = program->settings;
  const std::string backup = store("A/v_ak47.mdl");
  ui.expectError(texts::copyFailed(backup, paths[1]));
  ui.expectAttention(texts::copyByHand(backup, paths[1]));
  ui.expectError(texts::kNotAllRestored);
  EXPECT_EQ(installs::Restore(flaky, names, 0), RestoreResult::Incomplete);
  EXPECT_EQ(readBytes(paths[0]), before[paths[0]]);
  EXPECT_EQ(readBytes(backup), before[paths[1]]);
  EXPECT_EQ(readBytes(store("A/files.dat")), paths[1] + "\r\n");
  EXPECT_EQ(registerText(), paths[1] + "\r\n");
  EXPECT_EQ(names, (std::vector<std::string>{"A"}));
  EXPECT_EQ(readBytes(store("list.dat")), "A\r\n");
  EXPECT_TRUE(fileExists(store("A/info.dat"))) << "the description of a kept installation stays";
  ui.expectAttention(texts::kRestored);
  EXPECT_EQ(installs::Restore(*program, names, 0), RestoreResult::Restored);
  EXPECT_EQ(snapshot(), before);
  EXPECT_FALSE(folderExists(store("A")));
}

TEST_F(Restoring, WithoutARegisterEveryBackupStillGoesBack) {
  installAs("A", {0, 2});
  std::filesystem::remove(sys::toPath(store("files.dat")));
  ui.expectAttention(texts::kRestored);
  EXPECT_EQ(installs::Restore(*program, names, 0), RestoreResult::Restored);
  EXPECT_EQ(snapshot(), before);
  EXPECT_EQ(registerText(), "") << "made anew, empty";
}

TEST_F(Restoring, AMissingBackupIsNotRestoredAndItsRecordsStayUntilItIsBack) {
  installAs("A", {0, 1});
  const std::string backup = readBytes(store("A/gign.mdl"));
  std::filesystem::remove(sys::toPath(store("A/gign.mdl")));
  ui.expectError(texts::missingBackup(paths[0]));
  ui.expectError(texts::kNotAllRestored);
  EXPECT_EQ(installs::Restore(*program, names, 0), RestoreResult::Incomplete);
  EXPECT_EQ(readBytes(paths[0]), "new gign.mdl") << "the game keeps what it holds";
  EXPECT_EQ(readBytes(paths[1]), before[paths[1]]);
  EXPECT_EQ(registerText(), paths[0] + "\r\n");
  EXPECT_EQ(readBytes(store("A/files.dat")), paths[0] + "\r\n");
  EXPECT_EQ(names, std::vector<std::string>{"A"});
  EXPECT_NE(readBytes(programFolder() + "errors.txt").find(sys::encodeLine(texts::missingBackup(paths[0]))), std::string::npos);
  writeBytes(store("A/gign.mdl"), backup);  // back from wherever it was
  ui.expectAttention(texts::kRestored);
  EXPECT_EQ(installs::Restore(*program, names, 0), RestoreResult::Restored);
  EXPECT_EQ(snapshot(), before);
}

TEST_F(Restoring, ABackupNamedSumsDatFromAnEarlierVersionIsRestoredNotTakenForHashes) {
  // Made before "sums.dat" was a name of the store: the game's own sums.dat was backed up under it.
  const std::string sums = gameFile("sums.dat", "a pack's sums");
  writeBytes(store("list.dat"), "Old\r\n");
  writeBytes(store("Old/files.dat"), paths[0] + "\r\n" + sums + "\r\n");
  writeBytes(store("files.dat"), paths[0] + "\r\n" + sums + "\r\n");
  writeBytes(store("Old/sums.dat"), "the game's sums");
  writeBytes(store("Old/gign.mdl"), before[paths[0]]);
  writeBytes(paths[0], "a pack's gign");
  names = installs::openInstallationList(*program);
  installs_testing::FailingFileSystem failing;
  failing.refuseCopiesTo = sums;
  app::Program flaky(app::Services{ui, failing, *registry, shell, windows, clock, temp / "exe" + sys::kSep});
  flaky.settings = program->settings;
  ui.expectError(texts::copyFailed(store("Old/sums.dat"), sums));
  ui.expectAttention(texts::copyByHand(store("Old/sums.dat"), sums));
  ui.expectError(texts::kNotAllRestored);
  EXPECT_EQ(installs::Restore(flaky, names, 0), RestoreResult::Incomplete);
  EXPECT_EQ(readBytes(store("Old/sums.dat")), "the game's sums") << "the only copy of the game's file";
  ui.expectAttention(texts::kRestored);
  EXPECT_EQ(installs::Restore(*program, names, 0), RestoreResult::Restored);
  EXPECT_EQ(readBytes(sums), "the game's sums");
  EXPECT_EQ(readBytes(paths[0]), before[paths[0]]);
  EXPECT_FALSE(folderExists(store("Old")));
}

TEST_F(Restoring, AnEntryThatNamesNoInstallationFolderNeverReachesTheStoreItself) {
  installAs("A", {0});
  // A hand-edited list with an empty line and a path: neither may be taken for a folder.
  writeBytes(store("list.dat"), "\r\n..\r\nA\r\n");
  names = installs::openInstallationList(*program);
  ASSERT_EQ(names.size(), 3u);
  EXPECT_TRUE(installs::showInstallation(*program, "").files.empty());
  for (int i = 0; i < 2; ++i) {
    ui.expectError(texts::kFilesNotFound);
    EXPECT_EQ(installs::Restore(*program, names, 0), RestoreResult::FolderMissing);
  }
  EXPECT_EQ(registerText(), paths[0] + "\r\n") << "the register is untouched";
  EXPECT_EQ(readBytes(store("A/gign.mdl")), before[paths[0]]);
  EXPECT_EQ(readBytes(store("list.dat")), "A\r\n");
}

TEST_F(Restoring, RenamedInstallationKeepsItsPlaceAndRestoresUnderTheNewName) {
  installAs("A", {0});
  installAs("B", {1});
  ui.expectInput("Varnikit", "Укажите новое имя", "Новое");
  EXPECT_EQ(installs::Rename(*program, names, 0), RenameResult::Renamed);
  EXPECT_EQ(ui.inputDefaults.back(), "A");
  EXPECT_EQ(names, (std::vector<std::string>{"Новое", "B"}));
  EXPECT_EQ(readBytes(store("list.dat")), "\xCD\xEE\xE2\xEE\xE5\r\nB\r\n");
  EXPECT_FALSE(folderExists(store("A")));
  ui.expectAttention(texts::kRestored);
  EXPECT_EQ(installs::Restore(*program, names, 0), RestoreResult::Restored);
  EXPECT_EQ(readBytes(paths[0]), before[paths[0]]);
}

TEST_F(Restoring, RenameRefusalsLeaveFolderAndListAsTheyWere) {
  installAs("A", {0});
  installAs("B", {1});
  const struct {
    std::optional<std::string> answer;
    const char* message;  // nullptr: nothing is said
    RenameResult result;
  } cases[] = {
      {std::nullopt, nullptr, RenameResult::Unchanged},
      {"A", nullptr, RenameResult::Unchanged},
      {"", texts::kNameRequired, RenameResult::Refused},
      {"../A", texts::kInvalidName, RenameResult::Refused},
      {"LPT1", texts::kInvalidName, RenameResult::Refused},
      {"B", texts::kRenameFailed, RenameResult::Refused},
  };
  for (const auto& c : cases) {
    ui.expectInput("Varnikit", "Укажите новое имя", c.answer);
    if (c.message) ui.expectError(c.message);
    EXPECT_EQ(installs::Rename(*program, names, 0), c.result) << c.answer.value_or("(cancel)");
    EXPECT_EQ(names, (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(readBytes(store("list.dat")), "A\r\nB\r\n");
    EXPECT_TRUE(fileExists(store("A/gign.mdl")));
  }
}

}  // namespace
