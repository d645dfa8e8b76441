// Faults of the disk and of the game folder during an install or a restore: the person sees a box that
// says what happened, no original is lost, and the program installs and restores again afterwards.
// (A backup copy that fails, a copy back that fails and a read-only game file are in the installs tests.)
#include <gtest/gtest.h>

#include <filesystem>

#include "installs/install.h"
#include "installs/installs_support.h"
#include "installs/restore.h"
#include "installs/store.h"
#include "installs/texts.h"
#include "support/program_fixture.h"
#include "sys/paths.h"

namespace {

using installs::InstallResult;
using installs::RestoreResult;
using installs_testing::AgreeingUi;
using testing_support::fileExists;
using testing_support::readBytes;
using testing_support::writeBytes;
namespace texts = installs::texts;

// A disk that fills up: the first `room` writes go through, every later one fails the way the system
// says it ("No space left on device"), until the disk is freed. Folders, removals and renames still work
// (they take no room worth speaking of).
class FullDisk : public sys::FileSystem {
 public:
  long room = -1;  // writes left before the disk is full; -1: never full
  long writes = 0;

  void copyFile(const std::string& from, const std::string& to) override {
    // A copy onto a full disk leaves what fitted: nothing.
    if (!write(to)) {
      writeBytes(to, "");
      full(to);
    }
    FileSystem::copyFile(from, to);
  }
  void writeLines(const std::string& path, const std::vector<std::string>& lines, bool atomic) override {
    if (!write(path)) full(path);
    FileSystem::writeLines(path, lines, atomic);
  }
  void writeText(const std::string& path, const std::string& text) override {
    if (!write(path)) full(path);
    FileSystem::writeText(path, text);
  }
  void createEmpty(const std::string& path) override {
    if (!write(path)) full(path);
    FileSystem::createEmpty(path);
  }
  void appendLines(const std::string& path, const std::vector<std::string>& lines) override {
    if (!write(path)) full(path);
    FileSystem::appendLines(path, lines);
  }
  // A disk without hard links (FAT, say): every backup is a copy that needs room.
  bool linkFile(const std::string&, const std::string&) override { return false; }
  void syncFile(const std::string& path) override {
    if (room >= 0 && writes >= room) full(path);  // the delayed writes find no room either
  }

 private:
  bool write(const std::string&) {
    if (room >= 0 && writes >= room) return false;
    ++writes;
    return true;
  }
  [[noreturn]] static void full(const std::string& path) { throw sys::IoError("No space left on device: " + path); }
};

class Faults : public testing_support::ProgramFixture {
 protected:
  void SetUp() override {
    configure();
    gign = gameFile("models/player/gign/gign.mdl", "old gign");
    ak = gameFile("models/v_ak47.mdl", "old ak");
  }
  std::string newFile(const std::string& gamePath) {
    const std::string path = temp / ("new/" + sys::bareName(gamePath));
    writeBytes(path, "new " + sys::bareName(gamePath));
    return path;
  }
  void choose(const std::string& gamePath) { chosen.add(newFile(gamePath), gamePath); }
  std::string store(const std::string& relative) {
    return programFolder() + "files" + sys::kSep + testing_support::native(relative);
  }
  std::unique_ptr<app::Program> programOn(sys::FileSystem& files, app::Ui& with) {
    auto p = std::make_unique<app::Program>(app::Services{with, files, *registry, shell, windows, clock,
                                                          temp / "exe" + sys::kSep});
    p->settings = program->settings;
    return p;
  }
  // The program still works: a fresh install of both files under another name, and its restore.
  void expectInstallAndRestoreWork(const std::string& where) {
    AgreeingUi agreeing("Проверка");
    auto p = programOn(fs, agreeing);
    installs::ChosenFiles again;
    again.add(newFile(gign), gign);
    again.add(newFile(ak), ak);
    EXPECT_EQ(installs::Install(*p, again, "", view), InstallResult::Installed) << where;
    EXPECT_EQ(readBytes(gign), "new gign.mdl") << where;
    EXPECT_EQ(readBytes(ak), "new v_ak47.mdl") << where;
    auto names = installs::openInstallationList(*p);
    ASSERT_FALSE(names.empty()) << where;
    EXPECT_EQ(installs::Restore(*p, names, names.size() - 1), RestoreResult::Restored) << where;
    EXPECT_EQ(readBytes(gign), "old gign") << where;
    EXPECT_EQ(readBytes(ak), "old ak") << where;
  }
  // Restores every listed installation with nothing in the way, as often as needed.
  void restoreEverything(const std::string& where) {
    AgreeingUi agreeing;
    auto p = programOn(fs, agreeing);
    for (int round = 0; round < 2; ++round) {
      auto names = installs::openInstallationList(*p);
      for (std::size_t i = 0; i < names.size();) {
        if (installs::Restore(*p, names, i) == RestoreResult::Incomplete) ++i;
      }
    }
    EXPECT_TRUE(installs::openInstallationList(*p).empty()) << where;
    EXPECT_EQ(readBytes(gign), "old gign") << where;
    EXPECT_EQ(readBytes(ak), "old ak") << where;
  }

  std::string gign, ak;
  installs::ChosenFiles chosen;
  installs_testing::RecordingView view;
};

TEST_F(Faults, ANewFileThatCannotBeCopiedLeavesTheOriginalBackedUpAndRestorable) {
  installs_testing::FailingFileSystem locked;
  locked.refuseCopiesTo = gign;  // the game holds the file open
  locked.undeletable = gign;
  auto flaky = programOn(locked, ui);
  choose(gign), choose(ak);
  const std::string source = temp / "new/gign.mdl";
  ui.expectInput("Внимание", "Введите название установки", "A");
  ui.expectError(texts::copyFailed(source, gign));
  ui.expectAttention(texts::copyByHand(source, gign));
  EXPECT_EQ(installs::Install(*flaky, chosen, "", view), InstallResult::Installed);
  EXPECT_EQ(readBytes(gign), "old gign");
  EXPECT_EQ(readBytes(ak), "new v_ak47.mdl") << "the other file goes on";
  EXPECT_EQ(readBytes(store("A/gign.mdl")), "old gign");
  EXPECT_EQ(readBytes(store("files.dat")), gign + "\r\n" + ak + "\r\n");
  auto names = installs::openInstallationList(*program);
  ui.expectAttention(texts::kRestored);
  EXPECT_EQ(installs::Restore(*program, names, 0), RestoreResult::Restored);
  EXPECT_EQ(readBytes(gign), "old gign");
  EXPECT_EQ(readBytes(ak), "old ak");
  expectInstallAndRestoreWork("after a refused copy");
}

TEST_F(Faults, AGameFileDeletedAfterTheScanIsNotInstalledAndTheOthersAre) {
  choose(gign), choose(ak);
  std::filesystem::remove(sys::toPath(gign));  // listed by the catalogue, gone since
  ui.expectInput("Внимание", "Введите название установки", "A");
  ui.expectError(texts::originalNotSaved("gign.mdl"));
  EXPECT_EQ(installs::Install(*program, chosen, "", view), InstallResult::Installed);
  EXPECT_FALSE(fileExists(gign)) << "no file appears where the player had none";
  EXPECT_EQ(readBytes(store("files.dat")), ak + "\r\n");
  EXPECT_EQ(readBytes(store("A/files.dat")), ak + "\r\n");
  auto names = installs::openInstallationList(*program);
  ui.expectAttention(texts::kRestored);
  EXPECT_EQ(installs::Restore(*program, names, 0), RestoreResult::Restored);
  EXPECT_EQ(readBytes(ak), "old ak");
  writeBytes(gign, "old gign");
  expectInstallAndRestoreWork("after a deleted game file");
}

TEST_F(Faults, AStoreBelowAFileStopsTheInstallWithTheSystemsTextAndTouchesNothing) {
  // Works as root too: no permission is involved, a folder on the way is a file.
  writeBytes(temp / "blocked", "a file, not a folder");
  program->settings.FilePath = temp / "blocked" + sys::kSep;
  choose(gign);
  ui.expectInput("Внимание", "Введите название установки", "A");
  try {
    installs::Install(*program, chosen, "", view);
    ADD_FAILURE() << "the install went on without its store";
  } catch (const sys::IoError& error) {
#ifndef _WIN32
    EXPECT_EQ(std::string(error.what()), "Not a directory: " + temp / "blocked" + sys::kSep + "files");
#endif
  }
  EXPECT_EQ(readBytes(gign), "old gign");
  EXPECT_EQ(readBytes(temp / "blocked"), "a file, not a folder");
  EXPECT_EQ(chosen.size(), 1u) << "the file stays in the dialog's list for another try";
  program->settings.FilePath = programFolder();
  expectInstallAndRestoreWork("after a blocked store");
}

TEST_F(Faults, AFullDiskAtTheFirstBackupShowsTheCopyBoxesAndReplacesNothing) {
  FullDisk disk;
  auto p = programOn(disk, ui);
  choose(gign), choose(ak);
  // Room for the store's own files: the empty list, "info.dat", "time.dat", the name in "list.dat" and
  // the empty register; the first backup finds the disk full.
  disk.room = 5;
  const std::string first = store("A/gign.mdl");
  const std::string second = store("A/v_ak47.mdl");
  ui.expectInput("Внимание", "Введите название установки", "A");
  ui.expectError(texts::copyFailed(gign, first));
  // The error log finds no room either: the install stops there with the system's text (the windows
  // show it), before any game file is touched.
  try {
    installs::Install(*p, chosen, "", view);
    ADD_FAILURE() << "the install went on past a full disk";
  } catch (const sys::IoError& error) {
    EXPECT_EQ(std::string(error.what()), "No space left on device: " + programFolder() + "errors.txt");
  }
  EXPECT_EQ(readBytes(gign), "old gign");
  EXPECT_EQ(readBytes(ak), "old ak");
  EXPECT_FALSE(fileExists(second));
  EXPECT_FALSE(fileExists(store("A/files.dat"))) << "nothing is recorded that has no backup";
  EXPECT_EQ(readBytes(store("list.dat")), "A\r\n");
  ui.verifyAllAnswered();
  restoreEverything("after the full disk");
  expectInstallAndRestoreWork("after the full disk");
}

TEST_F(Faults, ADiskFillingAtAnyWriteLosesNoOriginal) {
  // How many writes an undisturbed install takes.
  long total = 0;
  {
    FullDisk counting;
    AgreeingUi agreeing("A");
    auto p = programOn(counting, agreeing);
    choose(gign), choose(ak);
    installs::Install(*p, chosen, "", view);
    total = counting.writes;
    restoreEverything("after counting");
  }
  ASSERT_GT(total, 8);
  for (long room = 0; room < total; ++room) {
    const std::string where = "disk full after " + std::to_string(room) + " writes";
    FullDisk disk;
    disk.room = room;
    AgreeingUi agreeing("A");
    auto p = programOn(disk, agreeing);
    chosen.clear();
    choose(gign), choose(ak);
    try {
      installs::Install(*p, chosen, "", view);
    } catch (const sys::IoError& error) {
      EXPECT_EQ(std::string(error.what()).rfind("No space left on device: ", 0), 0u) << where << error.what();
    }
    // Every box the person saw is one of the copy boxes; a game file is replaced only with its backup.
    for (const auto& message : agreeing.messages) {
      EXPECT_TRUE(message.rfind("Ошибка: Не могу скопировать файл", 0) == 0 || message.rfind("Внимание: ", 0) == 0 ||
                  message.rfind("Ошибка: Файл \"", 0) == 0)
          << where << ": " << message;
    }
    for (const auto& [path, original] : {std::pair{gign, "old gign"}, std::pair{ak, "old ak"}}) {
      if (readBytes(path) != original) {
        EXPECT_EQ(readBytes(store("A/" + sys::bareName(path))), original) << where << ": " << path;
      }
    }
    restoreEverything(where);  // the disk is freed
    std::filesystem::remove_all(sys::toPath(store("A")));  // a folder left without its list entry
    expectInstallAndRestoreWork(where);
  }
}

TEST_F(Faults, ADiskFillingAtAnyWriteOfARestoreKeepsEveryBackup) {
  {
    AgreeingUi agreeing("A");
    auto p = programOn(fs, agreeing);
    choose(gign), choose(ak);
    ASSERT_EQ(installs::Install(*p, chosen, "", view), InstallResult::Installed);
  }
  const std::string saved = temp / "saved";
  // Without a trailing separator: the C++ library of MinGW cannot copy a folder named with one.
  const std::string storeFolder = programFolder() + "files";
  std::filesystem::copy(sys::toPath(storeFolder), sys::toPath(saved), std::filesystem::copy_options::recursive);
  long total = -1;  // the writes of an undisturbed restore, counted in the first round
  for (long room = -1; room == -1 || room < total; ++room) {
    const std::string where = "restore with the disk full after " + std::to_string(room) + " writes";
    std::filesystem::remove_all(sys::toPath(storeFolder));
    std::filesystem::copy(sys::toPath(saved), sys::toPath(storeFolder), std::filesystem::copy_options::recursive);
    writeBytes(gign, "new gign.mdl");
    writeBytes(ak, "new v_ak47.mdl");
    FullDisk disk;
    disk.room = room;
    AgreeingUi agreeing;
    auto p = programOn(disk, agreeing);
    auto names = installs::openInstallationList(*p);
    try {
      installs::Restore(*p, names, 0);
    } catch (const sys::IoError& error) {
      EXPECT_EQ(std::string(error.what()).rfind("No space left on device: ", 0), 0u) << where << error.what();
    }
    if (room == -1) {
      total = disk.writes;
      EXPECT_GE(total, 2) << "the register and the list are written";
    }
    for (const auto& [path, original] : {std::pair{gign, "old gign"}, std::pair{ak, "old ak"}}) {
      if (readBytes(path) != original) {
        EXPECT_EQ(readBytes(store("A/" + sys::bareName(path))), original) << where << ": " << path;
      }
    }
    restoreEverything(where);
  }
  expectInstallAndRestoreWork("after restores on a full disk");
}

}  // namespace
