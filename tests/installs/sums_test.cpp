#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "installs/changes.h"
#include "installs/content_hash.h"
#include "installs/install.h"
#include "installs/installs_support.h"
#include "installs/restore.h"
#include "installs/sums.h"
#include "installs/texts.h"
#include "sys/encoding.h"
#include "support/program_fixture.h"

namespace {

using installs::RestoreResult;
using testing_support::fileExists;
using testing_support::folderExists;
using testing_support::readBytes;
using testing_support::writeBytes;
namespace texts = installs::texts;

// Counts the files read in full, so a test can tell a look that hashed from one that did not.
class CountingReads : public sys::FileSystem {
 public:
  void readBytes(const std::string& path, const std::function<void(std::string_view)>& chunk) override {
    ++reads;
    FileSystem::readBytes(path, chunk);
  }
  int reads = 0;
};

class Sums : public testing_support::ProgramFixture {
 protected:
  void SetUp() override {
    configure();
    for (const char* relative : {"models/gign.mdl", "sound/go.wav", "sprites/radar.spr"}) {
      games.push_back(gameFile(relative, std::string("original ") + relative));
      originals.push_back(std::string("original ") + relative);
    }
  }
  void install(const std::string& name) {
    installs::ChosenFiles chosen;
    for (const auto& game : games) {
      const std::string source = temp / ("new/" + sys::bareName(game));
      writeBytes(source, "new " + sys::bareName(game));
      chosen.add(source, game);
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
  std::string errorLog() { return fileExists(programFolder() + "errors.txt") ? readBytes(programFolder() + "errors.txt") : ""; }

  std::vector<std::string> games;
  std::vector<std::string> originals;
  std::vector<std::string> names;
};

TEST(ContentHash, IsTheLibrarysXxh3Of128BitsInLowerCaseHex) {
  // The values xxhsum -H2 prints for the same bytes.
  EXPECT_EQ(installs::contentHash(""), "99aa06d3014798d86001c324468d497f");
  EXPECT_EQ(installs::contentHash("abc"), "06b05ab6733a618578af5f94892f3950");
  testing_support::TempFolder temp;
  const std::string big = temp / "big.bin";
  std::string bytes(3 * (1 << 20) + 17, '\0');  // more than one read of the file
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7919 % 251);
  writeBytes(big, bytes);
  EXPECT_EQ(installs::fileContentHash(sys::realFileSystem(), big), installs::contentHash(bytes));
  EXPECT_THROW(installs::fileContentHash(sys::realFileSystem(), temp / "missing"), sys::IoError);
}

TEST_F(Sums, InstallRecordsBothHashesPerLineOfFilesDatAndRestoreRemovesThem) {
  install("A");
  std::string expected;
  for (std::size_t i = 0; i < games.size(); ++i) {
    const auto landed = fs.stamp(games[i]);
    expected += installs::contentHash(originals[i]) + " " + installs::contentHash("new " + sys::bareName(games[i])) +
                " " + std::to_string(landed->size) + " " + std::to_string(landed->modified) + "\r\n";
  }
  EXPECT_EQ(readBytes(store("A/sums.dat")), expected);
  ui.expectAttention(texts::kRestored);
  EXPECT_EQ(installs::Restore(*program, names, 0), RestoreResult::Restored);
  EXPECT_FALSE(folderExists(store("A")));
}

// The same bytes written to a game file again, later: its write time tells nothing any more without a read.
void writeAgain(const std::string& path) {
  const auto when = std::filesystem::last_write_time(sys::toPath(path));
  writeBytes(path, readBytes(path));
  std::filesystem::last_write_time(sys::toPath(path), when + std::chrono::seconds(2));
}

// Fails reading one file, as a game file locked by the running game would.
class UnreadableFile : public sys::FileSystem {
 public:
  void readBytes(const std::string& path, const std::function<void(std::string_view)>& chunk) override {
    if (path == unreadable) throw sys::IoError("injected: the file is locked");
    FileSystem::readBytes(path, chunk);
  }
  std::string unreadable;
};

TEST_F(Sums, RestoreAsksOnlyForAChangedFileAndNoKeepsTheOriginalAside) {
  install("A");
  writeBytes(games[1], "updated by the game");
  const std::string kept = store("_kept");
  ui.expectAttention(texts::changedAfterInstall("go.wav", kept), app::Answer::No);
  ui.expectAttention(std::string(texts::kRestored) + "\r\n" + texts::keptOriginals(1, kept));
  EXPECT_EQ(installs::Restore(*program, names, 0), RestoreResult::Restored);
  EXPECT_EQ(readBytes(games[0]), "original models/gign.mdl");
  EXPECT_EQ(readBytes(games[1]), "updated by the game");
  EXPECT_EQ(readBytes(games[2]), "original sprites/radar.spr");
  EXPECT_EQ(readBytes(store("_kept/go.wav")), "original sound/go.wav") << "No never deletes the only copy";
  EXPECT_FALSE(folderExists(store("A")));
  EXPECT_EQ(readBytes(store("files.dat")), "");
  EXPECT_EQ(errorLog(), "07.03.2003 14:05:09: " + sys::encodeLine(texts::keptAsIsLog(games[1], store("_kept/go.wav"))) + "\r\n");

  // A second original of the same name takes a name of its own; Yes puts the original back.
  install("B");
  writeBytes(games[1], "updated again");
  writeBytes(games[2], "updated too");
  ui.expectAttention(texts::changedAfterInstall("go.wav", kept), app::Answer::No);
  ui.expectAttention(texts::changedAfterInstall("radar.spr", kept), app::Answer::Yes);
  ui.expectAttention(std::string(texts::kRestored) + "\r\n" + texts::keptOriginals(1, kept));
  EXPECT_EQ(installs::Restore(*program, names, 0), RestoreResult::Restored);
  EXPECT_EQ(readBytes(store("_kept/go (2).wav")), "updated by the game");  // the original of B
  EXPECT_EQ(readBytes(games[2]), "original sprites/radar.spr");
  EXPECT_EQ(readBytes(store("_kept/kept.dat")), "go.wav\r\n07.03.2003 14:05:09\r\n" + games[1] + "\r\ngo (2).wav\r\n" +
                                                  "07.03.2003 14:05:09\r\n" + games[1] + "\r\n");

  // A game file that cannot be read is not taken for changed: nothing of it is touched.
  install("C");
  writeAgain(games[1]);
  UnreadableFile locked;
  locked.unreadable = games[1];
  app::Program blocked(app::Services{ui, locked, *registry, shell, windows, clock, temp / "exe" + sys::kSep});
  blocked.settings = program->settings;
  ui.expectError(texts::unreadableGameFile(games[1]));
  ui.expectError(texts::kNotAllRestored);
  EXPECT_EQ(installs::Restore(blocked, names, 0), RestoreResult::Incomplete);
  EXPECT_EQ(readBytes(games[1]), "new go.wav");
  EXPECT_EQ(readBytes(store("C/go.wav")), "updated again");
  EXPECT_EQ(readBytes(store("C/files.dat")), games[1] + "\r\n");
  EXPECT_EQ(readBytes(store("files.dat")), games[1] + "\r\n");
}

TEST_F(Sums, MissingFilesOldInstallationsAndRecordsOutOfStepRestoreWithoutAsking) {
  const auto restoresQuietly = [&](const std::function<void()>& damage) {
    install("A");
    damage();
    ui.expectAttention(texts::kRestored);
    EXPECT_EQ(installs::Restore(*program, names, 0), RestoreResult::Restored);
    EXPECT_EQ(readBytes(games[1]), "original sound/go.wav");
  };
  restoresQuietly([&] { fs.removeFile(games[1]); });
  restoresQuietly([&] {
    writeBytes(games[1], "changed");
    fs.removeFile(store("A/sums.dat"));  // made before sums were kept
  });
  restoresQuietly([&] {
    writeBytes(games[1], "changed");
    const std::string sums = readBytes(store("A/sums.dat"));
    writeBytes(store("A/sums.dat"), sums.substr(0, sums.find('\n') + 1));  // cut off between the records
  });
  restoresQuietly([&] {
    writeBytes(games[1], "changed");
    writeBytes(store("A/sums.dat"), "a b\r\nc d\r\ne f\r\n");
  });
}

TEST_F(Sums, AnIncompleteRestoreKeepsTheSumsOfTheFilesStillToComeBack) {
  install("A");
  const std::string sums = readBytes(store("A/sums.dat"));
  const std::string secondLine = sums.substr(sums.find('\n') + 1, sums.find('\n', sums.find('\n') + 1) - sums.find('\n'));
  installs_testing::FailingFileSystem failing;
  failing.refuseCopiesTo = games[1];
  app::Program flaky(app::Services{ui, failing, *registry, shell, windows, clock, temp / "exe" + sys::kSep});
  flaky.settings = program->settings;
  ui.expectError(texts::copyFailed(store("A/go.wav"), games[1]));
  ui.expectAttention(texts::copyByHand(store("A/go.wav"), games[1]));
  ui.expectError(texts::kNotAllRestored);
  EXPECT_EQ(installs::Restore(flaky, names, 0), RestoreResult::Incomplete);
  EXPECT_EQ(readBytes(store("A/files.dat")), games[1] + "\r\n");
  EXPECT_EQ(readBytes(store("A/sums.dat")), secondLine);
  // The two records still pair up: a change made now is asked about.
  writeBytes(games[1], "changed");
  ui.expectAttention(texts::changedAfterInstall("go.wav", store("_kept")), app::Answer::Yes);
  ui.expectAttention(texts::kRestored);
  EXPECT_EQ(installs::Restore(*program, names, 0), RestoreResult::Restored);
  EXPECT_EQ(readBytes(games[1]), "original sound/go.wav");
}

TEST_F(Sums, TheSelectedInstallationCountsItsChangedFilesAndReadsOnlyWhatChanged) {
  install("A");
  CountingReads counting;
  app::Program looking(app::Services{ui, counting, *registry, shell, windows, clock, temp / "exe" + sys::kSep});
  looking.settings = program->settings;
  installs::ChangeCheck changes;
  // Each game file still has the size and write time its new file landed with: nothing is read.
  EXPECT_EQ(installs::showInstallation(looking, "A", &changes).changedFiles, 0u);
  EXPECT_EQ(counting.reads, 0);
  writeBytes(games[0], "a game update, longer than before");
  writeAgain(games[1]);  // read, and not changed
  fs.removeFile(games[2]);  // missing: put back without asking, not counted
  EXPECT_EQ(installs::showInstallation(looking, "A", &changes).changedFiles, 1u);
  EXPECT_EQ(counting.reads, 2);
  EXPECT_EQ(installs::showInstallation(looking, "A", &changes).changedFiles, 1u);
  EXPECT_EQ(counting.reads, 2) << "a look again reads nothing";
  EXPECT_EQ(texts::changedFilesStatus(1), "Изменено после установки файлов: 1");
}

TEST_F(Sums, ABackupIsCheckedByContentAndSumsDatIsAStoreName) {
  // The person "copied by hand" something else while the wait box was open: of another size, or of the
  // same size with other bytes. Neither is a backup.
  for (const std::string handCopy : {"short", "original models/gigX.mdl"}) {
    SCOPED_TRACE(handCopy);
    installs_testing::FailingFileSystem failing;
    app::Program flaky(app::Services{ui, failing, *registry, shell, windows, clock, temp / "exe" + sys::kSep});
    flaky.settings = program->settings;
    const std::string backup = store("A/gign.mdl");
    failing.refuseCopiesTo = backup;
    installs::ChosenFiles chosen;
    writeBytes(temp / "new/gign.mdl", "new gign");
    chosen.add(temp / "new/gign.mdl", games[0]);
    ui.expectInput("Внимание", "Введите название установки", "A");
    ui.expectError(texts::copyFailed(games[0], backup));
    ui.expectAttention(texts::copyByHand(games[0], backup)).onNextMessage([&] { writeBytes(backup, handCopy); });
    ui.expectError(texts::originalNotSaved("gign.mdl"));
    installs::DialogView view;
    installs::Install(flaky, chosen, "", view);
    EXPECT_EQ(readBytes(games[0]), "original models/gign.mdl");
    EXPECT_FALSE(fileExists(backup));
    EXPECT_FALSE(fileExists(store("A/files.dat")));
    fs.removeFile(store("A/info.dat"));
    fs.removeFile(store("A/time.dat"));
    fs.removeFolderIfEmpty(store("A"));
    writeBytes(store("list.dat"), "");
  }
  EXPECT_TRUE(installs::Store::isReservedFileName("SUMS.DAT"));
}

}  // namespace
