#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "installs/install.h"
#include "installs/restore.h"
#include "installs/store.h"
#include "installs/texts.h"
#include "sys/encoding.h"
#include "installs/installs_support.h"
#include "support/program_fixture.h"

namespace {

using installs::InstallResult;
using testing_support::fileExists;
using testing_support::ProgramFixture;
using testing_support::readBytes;
using testing_support::writeBytes;
namespace texts = installs::texts;

class Installing : public ProgramFixture {
 protected:
  void SetUp() override {
    configure();
    gign = gameFile("models/player/gign/gign.mdl", "old gign");
    ak = gameFile("models/v_ak47.mdl", "old ak");
    go = gameFile("sound/radio/go.wav", "old go");
  }
  std::string newFile(const std::string& name) {
    const std::string path = temp / ("new/" + name);
    writeBytes(path, "new " + name);
    return path;
  }
  void choose(const std::string& gamePath) { chosen.add(newFile(sys::bareName(gamePath)), gamePath); }
  InstallResult install(const std::string& name, const std::string& description = "") {
    ui.expectInput("Внимание", "Введите название установки", name);
    return installs::Install(*program, chosen, description, view);
  }
  std::string store(const std::string& relative) {
    return programFolder() + "files" + sys::kSep + testing_support::native(relative);
  }

  std::string gign, ak, go;
  installs::ChosenFiles chosen;
  installs_testing::RecordingView view;
};

TEST_F(Installing, ThreeFilesAreBackedUpRecordedInOrderAndReplaced) {
  writeBytes(store("files.dat"), "/earlier/path.mdl\r\n");
  choose(gign), choose(ak), choose(go);
  EXPECT_EQ(install("Скины", "Модели\nи звук"), InstallResult::Installed);
  EXPECT_TRUE(chosen.empty());
  EXPECT_EQ(readBytes(store("list.dat")), "\xD1\xEA\xE8\xED\xFB\r\n");
  const std::string folder = "Скины" + sys::kSep;
  EXPECT_EQ(readBytes(store(folder + "files.dat")), gign + "\r\n" + ak + "\r\n" + go + "\r\n");
  EXPECT_EQ(readBytes(store("files.dat")), "/earlier/path.mdl\r\n" + gign + "\r\n" + ak + "\r\n" + go + "\r\n");
  EXPECT_EQ(readBytes(store(folder + "info.dat")), "\xCC\xEE\xE4\xE5\xEB\xE8\r\n\xE8 \xE7\xE2\xF3\xEA");
  EXPECT_EQ(readBytes(store(folder + "time.dat")), "07.03.2003 14:05:09\r\n");
  EXPECT_EQ(readBytes(store(folder + "gign.mdl")), "old gign");
  EXPECT_EQ(readBytes(store(folder + "v_ak47.mdl")), "old ak");
  EXPECT_EQ(readBytes(store(folder + "go.wav")), "old go");
  EXPECT_EQ(readBytes(gign), "new gign.mdl");
  EXPECT_EQ(readBytes(ak), "new v_ak47.mdl");
  EXPECT_EQ(readBytes(go), "new go.wav");
  EXPECT_EQ(view.maximum, 3);
  EXPECT_EQ(view.positions, (std::vector<int>{1, 2, 3, 0}));
  EXPECT_EQ(view.statuses, (std::vector<std::string>{"установка файлов...", ""}));
  EXPECT_EQ(view.working, (std::vector<bool>{true, false}));
}

TEST_F(Installing, AFileChosenTwiceIsInstalledOnceAndTheFirstCopyStays) {
  choose(gign);
  chosen.add(temp / "other/gign.mdl", gign);
  writeBytes(temp / "other/gign.mdl", "second gign");
  ui.expectInput("Внимание", "Введите название установки", "A");
  ui.expectAttention("Файл \"gign.mdl\" уже установлен");
  installs::Install(*program, chosen, "", view);
  EXPECT_EQ(readBytes(gign), "new gign.mdl");
  EXPECT_EQ(readBytes(store("A/gign.mdl")), "old gign");
  EXPECT_EQ(readBytes(store("A/files.dat")), gign + "\r\n");
}

TEST_F(Installing, ASecondInstallationCannotTouchAFileOfTheFirst) {
  choose(gign);
  install("A");
  chosen.add(temp / "other/gign.mdl", gign);
  writeBytes(temp / "other/gign.mdl", "second gign");
  choose(ak);
  ui.expectInput("Внимание", "Введите название установки", "B");
  ui.expectAttention("Файл \"gign.mdl\" уже установлен");
  installs::Install(*program, chosen, "", view);
  EXPECT_EQ(readBytes(store("A/gign.mdl")), "old gign");
  EXPECT_FALSE(fileExists(store("B/gign.mdl")));
  EXPECT_EQ(readBytes(gign), "new gign.mdl");
  EXPECT_EQ(readBytes(store("B/files.dat")), ak + "\r\n");
  EXPECT_EQ(readBytes(store("files.dat")), gign + "\r\n" + ak + "\r\n");
  EXPECT_EQ(readBytes(store("list.dat")), "A\r\nB\r\n");
}

TEST_F(Installing, ReadOnlyGameFileIsReplacedAndEndsWritable) {
  namespace stdfs = std::filesystem;
  stdfs::permissions(sys::toPath(gign), stdfs::perms::owner_read | stdfs::perms::group_read);
  choose(gign);
  install("A");
  EXPECT_EQ(readBytes(gign), "new gign.mdl");
  for (const auto& path : {gign, store("A/gign.mdl")}) {
    EXPECT_NE(stdfs::status(sys::toPath(path)).permissions() & stdfs::perms::owner_write, stdfs::perms::none) << path;
  }
}

TEST_F(Installing, NoListNoNameBadNameOrTakenNameWritesNothing) {
  ui.expectError("Список файлов пуст");
  EXPECT_EQ(installs::Install(*program, chosen, "", view), InstallResult::NotStarted);
  choose(gign);
  ui.expectInput("Внимание", "Введите название установки", std::nullopt);
  EXPECT_EQ(installs::Install(*program, chosen, "", view), InstallResult::NotStarted);
  EXPECT_EQ(install(""), InstallResult::NotStarted);
  // "files.dat" on a fresh store would become a folder where the register belongs.
  for (const char* bad : {"../outside", "a/b", "CON", "name.", "x:y", "files.dat", "LIST.DAT"}) {
    ui.expectInput("Внимание", "Введите название установки", bad);
    ui.expectError(texts::kInvalidName);
    EXPECT_EQ(installs::Install(*program, chosen, "", view), InstallResult::NotStarted) << bad;
  }
  EXPECT_FALSE(testing_support::folderExists(programFolder() + "files"));
  EXPECT_FALSE(fileExists(temp / "program/outside"));
  testing_support::makeFolder(store("Taken"));
  ui.expectInput("Внимание", "Введите название установки", "Taken");
  ui.expectError(texts::kNameExists);
  EXPECT_EQ(installs::Install(*program, chosen, "", view), InstallResult::NotStarted);
  EXPECT_FALSE(fileExists(store("list.dat")));
  EXPECT_EQ(readBytes(gign), "old gign");
  EXPECT_EQ(chosen.size(), 1u);
}

// A file system that ignores letter case in names, as Windows does.
class CaseBlindFileSystem : public sys::FileSystem {
 public:
  bool exists(const std::string& path) override {
    const std::string parent = sys::parentFolder(path);
    bool found = false;
    enumerate(parent, [&](const sys::DirEntry& entry) {
      found = found || sys::equalsIgnoringAsciiCase(entry.name, sys::bareName(path));
    });
    return found;
  }
};

TEST_F(Installing, NamesDifferingOnlyInCaseCollideWhereTheSystemIgnoresCase) {
  CaseBlindFileSystem caseBlind;
  app::Program windowsLike(app::Services{ui, caseBlind, *registry, shell, windows, clock, temp / "exe" + sys::kSep});
  windowsLike.settings = program->settings;
  testing_support::makeFolder(store("Skins"));
  choose(gign);
  ui.expectInput("Внимание", "Введите название установки", "SKINS");
  ui.expectError(texts::kNameExists);
  EXPECT_EQ(installs::Install(windowsLike, chosen, "", view), InstallResult::NotStarted);
}

TEST_F(Installing, ABackupThatCannotBeMadeLeavesTheGameFileUntouched) {
  installs_testing::FailingFileSystem failing;
  app::Program flaky(app::Services{ui, failing, *registry, shell, windows, clock, temp / "exe" + sys::kSep});
  flaky.settings = program->settings;
  const std::string backup = store("A/gign.mdl");
  failing.refuseCopiesTo = backup;
  choose(gign), choose(ak);
  ui.expectInput("Внимание", "Введите название установки", "A");
  ui.expectError(texts::copyFailed(gign, backup));
  ui.expectAttention(texts::copyByHand(gign, backup));
  ui.expectError("Файл \"gign.mdl\" не установлен: не удалось сохранить оригинал");
  EXPECT_EQ(installs::Install(flaky, chosen, "", view), InstallResult::Installed);
  EXPECT_EQ(readBytes(gign), "old gign");
  EXPECT_FALSE(fileExists(backup));
  EXPECT_EQ(readBytes(store("A/files.dat")), ak + "\r\n") << "the other files go on";
  EXPECT_EQ(readBytes(store("files.dat")), ak + "\r\n");
  EXPECT_EQ(readBytes(ak), "new v_ak47.mdl");
  ASSERT_EQ(shell.calls.size(), 2u) << "both folders opened for the copy by hand";
  EXPECT_EQ(shell.calls[1].file, store("A") + sys::kSep);
}

TEST_F(Installing, ABackupOfAnotherSizeIsNoBackup) {
  // The person "copied by hand" something else while the wait box was open.
  installs_testing::FailingFileSystem failing;
  app::Program flaky(app::Services{ui, failing, *registry, shell, windows, clock, temp / "exe" + sys::kSep});
  flaky.settings = program->settings;
  const std::string backup = store("A/gign.mdl");
  failing.refuseCopiesTo = backup;
  choose(gign);
  ui.expectInput("Внимание", "Введите название установки", "A");
  ui.expectError(texts::copyFailed(gign, backup));
  ui.expectAttention(texts::copyByHand(gign, backup)).onNextMessage([&] { writeBytes(backup, "short"); });
  ui.expectError(texts::originalNotSaved("gign.mdl"));
  installs::Install(flaky, chosen, "", view);
  EXPECT_EQ(readBytes(gign), "old gign");
  EXPECT_FALSE(fileExists(backup));
  EXPECT_FALSE(fileExists(store("A/files.dat")));
}

// Below the store, names that differ only in the case of "Ё" are one name, as they are on Windows (which
// ignores the case of every letter); elsewhere, and for every other name, the real file system.
class CaseBlindStore : public sys::FileSystem {
 public:
  explicit CaseBlindStore(std::string root) : root_(std::move(root)) {}
  bool exists(const std::string& path) override { return FileSystem::exists(fold(path)); }
  bool isFile(const std::string& path) override { return FileSystem::isFile(fold(path)); }
  std::optional<std::uintmax_t> fileSize(const std::string& path) override { return FileSystem::fileSize(fold(path)); }
  void copyFile(const std::string& from, const std::string& to) override { FileSystem::copyFile(fold(from), fold(to)); }
  bool linkFile(const std::string& from, const std::string& to) override {
    return !exists(to) && FileSystem::linkFile(fold(from), fold(to));
  }
  bool setNormal(const std::string& path) override { return FileSystem::setNormal(fold(path)); }
  bool removeFile(const std::string& path) override { return FileSystem::removeFile(fold(path)); }
  void syncFile(const std::string& path) override { FileSystem::syncFile(fold(path)); }
  void syncLinks(const std::vector<std::string>& paths) override {
    for (const auto& path : paths) FileSystem::syncLinks({fold(path)});
  }
  bool sameContent(const std::string& a, const std::string& b) override { return FileSystem::sameContent(fold(a), fold(b)); }
  void readBytes(const std::string& path, const std::function<void(std::string_view)>& chunk) override {
    FileSystem::readBytes(fold(path), chunk);
  }

 private:
  std::string fold(const std::string& path) const {
    if (path.rfind(root_, 0) != 0) return path;
    std::string folded = path;
    for (auto at = folded.find("Ё", root_.size()); at != std::string::npos; at = folded.find("Ё", at)) {
      folded.replace(at, std::string("Ё").size(), "ё");
    }
    return folded;
  }
  std::string root_;
};

TEST_F(Installing, ABackupIsNeverWrittenOverAnother) {
  const std::string upper = gameFile("sound/a/Ёлка.wav", "first original");
  const std::string lower = gameFile("sound/b/ёлка.wav", "the second original");
  CaseBlindStore caseBlind(store(""));
  app::Program windowsLike(app::Services{ui, caseBlind, *registry, shell, windows, clock, temp / "exe" + sys::kSep});
  windowsLike.settings = program->settings;
  // The new files in folders of their own: on Windows the two names are one in any folder.
  for (const auto& game : {upper, lower}) {
    const std::string source = temp / ("new/" + std::to_string(chosen.size()) + "/" + sys::bareName(game));
    writeBytes(source, "new " + sys::bareName(game));
    chosen.add(source, game);
  }
  ui.expectInput("Внимание", "Введите название установки", "A");
  ui.expectError(texts::originalNotSaved("ёлка.wav"));
  EXPECT_EQ(installs::Install(windowsLike, chosen, "", view), InstallResult::Installed);
  EXPECT_EQ(readBytes(store("A/ёлка.wav")), "first original") << "the one place of both backups";
  EXPECT_EQ(readBytes(upper), "new Ёлка.wav");
  EXPECT_EQ(readBytes(lower), "the second original") << "refused: its original has nowhere to go";
  EXPECT_EQ(fs.readLines(store("A/files.dat")), std::vector<std::string>{upper});
  auto names = installs::openInstallationList(windowsLike);
  ui.expectAttention(texts::kRestored);
  EXPECT_EQ(installs::Restore(windowsLike, names, 0), installs::RestoreResult::Restored);
  EXPECT_EQ(readBytes(upper), "first original");
  EXPECT_EQ(readBytes(lower), "the second original");
}

TEST_F(Installing, AGameFileNamedLikeAStoreFileIsRefused) {
  const std::string info = gameFile("info.dat", "game info");
  chosen.add(newFile("info.dat"), info);
  choose(go);
  ui.expectInput("Внимание", "Введите название установки", "A");
  ui.expectAttention("Файл \"info.dat\" не может быть установлен");
  installs::Install(*program, chosen, "описание", view);
  EXPECT_EQ(readBytes(info), "game info");
  EXPECT_EQ(readBytes(store("A/info.dat")), "\xEE\xEF\xE8\xF1\xE0\xED\xE8\xE5");
  EXPECT_EQ(readBytes(store("A/files.dat")), go + "\r\n");
}

TEST_F(Installing, NothingIsWrittenOutsideTheGameFolderNorThroughALink) {
  // A catalogue left from a game folder the player has moved from, a path that climbs out, and on Linux
  // a game file or a folder that is a link to somewhere else.
  const std::string elsewhere = temp / "elsewhere";
  writeBytes(elsewhere + sys::kSep + "v_ak47.mdl", "not a game file");
  writeBytes(elsewhere + sys::kSep + "sub" + sys::kSep + "go.wav", "not a game file");
  struct Case {
    std::string gamePath;
    std::string message;
  };
  std::vector<Case> cases = {
      {temp / "old-game/cstrike/models/v_ak47.mdl", texts::outsideGameFolder(temp / "old-game/cstrike/models/v_ak47.mdl", gameFolder())},
      {gameFolder() + testing_support::native("/models/../../../elsewhere/v_ak47.mdl"), ""},
  };
  cases[1].message = texts::outsideGameFolder(cases[1].gamePath, gameFolder());
  writeBytes(temp / "old-game/cstrike/models/v_ak47.mdl", "old game's ak");
#ifndef _WIN32
  std::filesystem::create_symlink(sys::toPath(elsewhere + "/v_ak47.mdl"), sys::toPath(gameFolder() + "/models/link.mdl"));
  std::filesystem::create_directory_symlink(sys::toPath(elsewhere + "/sub"), sys::toPath(gameFolder() + "/sound/linked"));
  cases.push_back({gameFolder() + "/models/link.mdl", texts::linkedGameFile(gameFolder() + "/models/link.mdl")});
  cases.push_back({gameFolder() + "/sound/linked/go.wav", texts::linkedGameFile(gameFolder() + "/sound/linked/go.wav")});
  cases.push_back({gameFolder() + "/sound/linked/../go.wav", texts::linkedGameFile(gameFolder() + "/sound/linked/../go.wav")});
#endif
  for (const auto& c : cases) chosen.add(newFile("any.mdl"), c.gamePath);
  choose(go);
  ui.expectInput("Внимание", "Введите название установки", "A");
  for (const auto& c : cases) ui.expectError(c.message);
  installs::Install(*program, chosen, "", view);
  EXPECT_EQ(readBytes(store("A/files.dat")), go + "\r\n") << "the others are left out";
  EXPECT_EQ(readBytes(temp / "old-game/cstrike/models/v_ak47.mdl"), "old game's ak");
  EXPECT_EQ(readBytes(elsewhere + sys::kSep + "v_ak47.mdl"), "not a game file");
  EXPECT_EQ(readBytes(elsewhere + sys::kSep + "sub" + sys::kSep + "go.wav"), "not a game file");
  EXPECT_EQ(readBytes(go), "new go.wav");
  const std::string log = readBytes(programFolder() + "errors.txt");
  for (const auto& c : cases) EXPECT_NE(log.find(sys::encodeLine(c.message)), std::string::npos) << c.gamePath;

  // A hand-edited record that names such a path is not restored over it either: it stays recorded.
  auto names = installs::openInstallationList(*program);
  writeBytes(store("A/files.dat"), go + "\r\n" + cases[0].gamePath + "\r\n");
  writeBytes(store("files.dat"), go + "\r\n" + cases[0].gamePath + "\r\n");
  writeBytes(store("A/v_ak47.mdl"), "a backup");
  ui.expectError(texts::notRestoredOutside(cases[0].gamePath, gameFolder()));
  ui.expectError(texts::kNotAllRestored);
  EXPECT_EQ(installs::Restore(*program, names, 0), installs::RestoreResult::Incomplete);
  EXPECT_EQ(readBytes(go), "old go");
  EXPECT_EQ(readBytes(temp / "old-game/cstrike/models/v_ak47.mdl"), "old game's ak");
  EXPECT_EQ(readBytes(store("A/files.dat")), cases[0].gamePath + "\r\n");
  EXPECT_EQ(readBytes(store("A/v_ak47.mdl")), "a backup");
}

TEST_F(Installing, AStoreThatCannotBeWrittenLeavesNoListedNameWithoutItsFolder) {
  installs_testing::FailingFileSystem failing;
  installs_testing::AgreeingUi agreeing("A");
  app::Program flaky(app::Services{agreeing, failing, *registry, shell, windows, clock, temp / "exe" + sys::kSep});
  flaky.settings = program->settings;
  choose(gign);
  const installs::ChosenFiles original = chosen;
  installs::Install(flaky, chosen, "", view);
  // Every step up to the name's line in "list.dat" fails once, in turn.
  const auto listed = std::find(failing.log.begin(), failing.log.end(), "appendLine " + store("list.dat"));
  ASSERT_NE(listed, failing.log.end());
  const int creationSteps = static_cast<int>(listed - failing.log.begin()) + 1;
  for (int step = 1; step <= creationSteps; ++step) {
    std::filesystem::remove_all(sys::toPath(store("")));
    writeBytes(gign, "old gign");
    chosen = original;
    failing.failAtStep(installs_testing::FailingFileSystem::Failure::IoErrorOnce, step);
    EXPECT_THROW(installs::Install(flaky, chosen, "", view), sys::IoError);
    const std::string failed = failing.log[static_cast<std::size_t>(step) - 1];
    EXPECT_FALSE(testing_support::folderExists(store("A"))) << failed;
    EXPECT_EQ(fileExists(store("list.dat")) ? readBytes(store("list.dat")) : "", "") << failed;
    EXPECT_EQ(readBytes(gign), "old gign") << failed;
  }
}

TEST_F(Installing, YesStartsTheLauncherInItsOwnFolder) {
  program->settings.RunParam = "-game cstrike";
  program->settings.CSFile = temp / "Half-Life/hl.exe";
  ui.expectAttention(texts::kStartGameQuestion, app::Answer::Yes);
  ui.expectError(texts::kNoLauncher);
  installs::offerGameStart(*program);
  writeBytes(program->settings.CSFile, "exe");
  ui.expectAttention(texts::kStartGameQuestion, app::Answer::No);
  installs::offerGameStart(*program);
  EXPECT_TRUE(shell.calls.empty());
  ui.expectAttention(texts::kStartGameQuestion, app::Answer::Yes);
  installs::offerGameStart(*program);
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].file, temp / "Half-Life/hl.exe");
  EXPECT_EQ(shell.calls[0].params, "-game cstrike");
  EXPECT_EQ(shell.calls[0].workFolder, temp / "Half-Life");
  EXPECT_EQ(shell.calls[0].show, sys::ShowCommand::Normal);
}

}  // namespace
