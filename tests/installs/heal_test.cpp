// The store left behind by a program stopped half-way, and the healing pass that puts it in order.
#include <gtest/gtest.h>

#include <algorithm>

#include "installs/heal.h"
#include "installs/install.h"
#include "installs/installs_support.h"
#include "installs/restore.h"
#include "installs/texts.h"
#include "support/program_fixture.h"
#include "sys/paths.h"

namespace {

using testing_support::fileExists;
using testing_support::folderExists;
using testing_support::readBytes;
using testing_support::writeBytes;
namespace texts = installs::texts;

// The disk as it may look for a moment: the rewrite of one file refused (another program holds it), the
// store folder that cannot be listed, or a folder that reads as missing.
class MomentaryFaults : public sys::FileSystem {
 public:
  std::string refusedRewrite, unlistable, hidden;
  void writeLines(const std::string& path, const std::vector<std::string>& lines, bool atomic) override {
    if (path == refusedRewrite) throw sys::IoError("injected: the file is in use by another program");
    FileSystem::writeLines(path, lines, atomic);
  }
  bool enumerate(const std::string& folder, const std::function<void(const sys::DirEntry&)>& visit) override {
    if (folder == unlistable) return false;
    return FileSystem::enumerate(folder, [&](const sys::DirEntry& entry) {
      if (folder + sys::kSep + entry.name != hidden) visit(entry);
    });
  }
  bool isFolder(const std::string& path) override { return path != hidden && FileSystem::isFolder(path); }
  bool exists(const std::string& path) override {
    return (hidden.empty() || path.rfind(hidden, 0) != 0) && FileSystem::exists(path);
  }
};

std::vector<std::string> sorted(std::vector<std::string> lines) {
  std::sort(lines.begin(), lines.end());
  return lines;
}

class Healing : public testing_support::ProgramFixture {
 protected:
  void SetUp() override {
    configure();
    gign = gameFile("models/gign.mdl", "old gign");
    go = gameFile("sound/go.wav", "old go");
    ak = gameFile("models/v_ak47.mdl", "old ak");
    fs.writeLines(program->settings.FilesListDir, {gign, go, ak});
    // One installation as the program makes it.
    installs::ChosenFiles chosen;
    writeBytes(temp / "new/gign.mdl", "new gign");
    chosen.add(temp / "new/gign.mdl", gign);
    installs_testing::AgreeingUi agreeing("Listed");
    app::Program quiet(app::Services{agreeing, fs, *registry, shell, windows, clock, temp / "exe" + sys::kSep});
    quiet.settings = program->settings;
    installs::DialogView view;
    installs::Install(quiet, chosen, "", view);
  }
  std::string store(const std::string& relative) {
    return programFolder() + "files" + sys::kSep + testing_support::native(relative);
  }
  // Installs "new <bare name>" over each game path as name, answering every box.
  std::vector<std::string> installAs(const std::string& name, const std::vector<std::string>& games) {
    installs::ChosenFiles chosen;
    for (const auto& game : games) {
      writeBytes(temp / ("new/" + sys::bareName(game)), "new " + sys::bareName(game));
      chosen.add(temp / ("new/" + sys::bareName(game)), game);
    }
    installs_testing::AgreeingUi agreeing(name);
    app::Program quiet(app::Services{agreeing, fs, *registry, shell, windows, clock, temp / "exe" + sys::kSep});
    quiet.settings = program->settings;
    installs::DialogView view;
    installs::Install(quiet, chosen, "", view);
    return agreeing.messages;
  }
  std::vector<std::string> log() {
    return fileExists(program->errorLogPath()) ? fs.readLines(program->errorLogPath()) : std::vector<std::string>{};
  }
  static std::string logged(const std::string& text) { return "07.03.2003 14:05:09: " + text; }

  installs::HealNotes notes;
  std::string gign, go, ak;
};

TEST_F(Healing, UnlistedFoldersAreListedAgainRemovedOrLeftAloneByWhatTheyHold) {
  // Renamed, cut off before the list was written: it replaced go.wav.
  writeBytes(go, "new go");
  writeBytes(store("Renamed/go.wav"), "old go");
  writeBytes(store("Renamed/files.dat"), go + "\r\n");
  writeBytes(store("Renamed/time.dat"), "01.02.2003 10:00:00\r\n");
  writeBytes(store("files.dat"), readBytes(store("files.dat")) + go + "\r\n");
  // Installs cut off before their first record: copies of game files as they are, or nothing at all.
  writeBytes(store("Cut/info.dat"), "описание");
  writeBytes(store("Cut/time.dat"), "01.02.2003 10:00:00\r\n");
  writeBytes(store("Cut/v_ak47.mdl"), "old ak");
  writeBytes(store("Cut/files.dat"), "");
  writeBytes(store("Torn/v_ak47.mdl"), "old");  // its copy cut off part-way
  testing_support::makeFolder(store("Empty"));
  // Folders that hold something no game file is: nobody can tell what they are.
  writeBytes(store("Strange/readme.txt"), "notes");
  writeBytes(store("Stale/v_ak47.mdl"), "some other ak");

  const auto report = installs::healStore(*program, notes);
  EXPECT_EQ(report.relisted, std::vector<std::string>{"Renamed"});
  EXPECT_EQ(sorted(report.removed), (std::vector<std::string>{"Cut", "Empty", "Torn"}));
  EXPECT_EQ(sorted(report.leftAlone), (std::vector<std::string>{"Stale", "Strange"}));
  EXPECT_EQ(readBytes(store("list.dat")), "Listed\r\nRenamed\r\n");
  EXPECT_EQ(readBytes(store("Renamed/time.dat")), "01.02.2003 10:00:00\r\n");
  EXPECT_FALSE(folderExists(store("Cut")));
  EXPECT_FALSE(folderExists(store("Empty")));
  EXPECT_FALSE(folderExists(store("Torn")));
  EXPECT_EQ(readBytes(store("Strange/readme.txt")), "notes");
  EXPECT_EQ(readBytes(store("Stale/v_ak47.mdl")), "some other ak");
  EXPECT_EQ(readBytes(ak), "old ak");
  const std::vector<std::string> once = {
      logged(texts::healRelisted("Renamed")), logged(texts::healRemoved("Cut")),
      logged(texts::healRemoved("Empty")),    logged(texts::healRemoved("Torn")),
      logged(texts::healLeftAlone("Strange")),
      logged(texts::healLeftAlone("Stale"))};
  EXPECT_EQ(sorted(log()), sorted(once));

  // A second pass finds only what it left alone, and says nothing more about it.
  const auto again = installs::healStore(*program, notes);
  EXPECT_TRUE(again.relisted.empty() && again.removed.empty());
  EXPECT_EQ(again.leftAlone.size(), 2u);
  EXPECT_EQ(log().size(), once.size());

  // The listed-again installation restores like any other.
  auto names = installs::openInstallationList(*program);
  ui.expectAttention(texts::kRestored);
  EXPECT_EQ(installs::Restore(*program, names, 1), installs::RestoreResult::Restored);
  EXPECT_EQ(readBytes(go), "old go");
  EXPECT_EQ(readBytes(store("files.dat")), gign + "\r\n");
}

TEST_F(Healing, RegisterLinesNoInstallationOwnsGoUnlessTheGameFileEqualsABackup) {
  // go.wav: nobody's, and no backup holds it. gign.mdl a second time: "Listed" owns it once. v_ak47.mdl:
  // nobody's, but a folder left alone keeps a copy equal to the game file.
  writeBytes(store("files.dat"), gign + "\r\n" + go + "\r\n" + gign + "\r\n" + ak + "\r\n");
  writeBytes(store("Kept/v_ak47.mdl"), "old ak");
  writeBytes(store("Kept/readme.txt"), "notes");
  writeBytes(store("Kept/files.dat"), "");  // records nothing: not a lost "files.dat"

  const auto report = installs::healStore(*program, notes);
  EXPECT_EQ(report.droppedLines, (std::vector<std::string>{go, gign}));
  EXPECT_EQ(report.keptLines, std::vector<std::string>{ak});
  EXPECT_EQ(readBytes(store("files.dat")), gign + "\r\n" + ak + "\r\n");
  EXPECT_EQ(sorted(log()), sorted({logged(texts::healLineDropped(go)), logged(texts::healLineDropped(gign)),
                                   logged(texts::healLineKept(ak)), logged(texts::healLeftAlone("Kept"))}));
  installs::healStore(*program, notes);
  EXPECT_EQ(readBytes(store("files.dat")), gign + "\r\n" + ak + "\r\n");
  EXPECT_EQ(log().size(), 4u) << "reported once";
}

TEST_F(Healing, AStoreItCannotReadOrWriteIsLeftAsItIs) {
  // A folder where "list.dat" belongs: nothing can be listed again, and nothing is lost for it.
  writeBytes(store("Renamed/go.wav"), "old go");
  writeBytes(store("Renamed/files.dat"), go + "\r\n");
  std::filesystem::remove(sys::toPath(store("list.dat")));
  testing_support::makeFolder(store("list.dat"));
  const auto report = installs::healStore(*program, notes);
  EXPECT_TRUE(report.relisted.empty() && report.removed.empty());
  EXPECT_EQ(readBytes(store("Renamed/go.wav")), "old go");
  ASSERT_EQ(log().size(), 1u);
  EXPECT_NE(log()[0].find("Порядок в хранилище установок не восстановлен: "), std::string::npos) << log()[0];
}

TEST_F(Healing, RegisterLinesAreDroppedOnlyOnAFullPictureOfTheirOwners) {
  // "Lost" replaced go.wav and then lost its line in "list.dat" (a power cut): its register line must
  // survive a pass that cannot see the whole store, so that no later install takes its original.
  const struct {
    const char* fault;
    void (*inject)(MomentaryFaults&, const std::string& root);
  } cases[] = {
      {"the rewrite of list.dat is refused", [](MomentaryFaults& f, const std::string& root) { f.refusedRewrite = root + sys::kSep + "list.dat"; }},
      {"the store folder cannot be listed", [](MomentaryFaults& f, const std::string& root) { f.unlistable = root; }},
      {"a listed folder reads as missing", [](MomentaryFaults& f, const std::string& root) { f.hidden = root + sys::kSep + "Listed"; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fault);
    installAs("Lost", {go});
    writeBytes(store("list.dat"), "Listed\r\n");
    const std::string registered = readBytes(store("files.dat"));
    MomentaryFaults faulty;
    c.inject(faulty, store("").substr(0, store("").size() - 1));
    app::Program flaky(app::Services{ui, faulty, *registry, shell, windows, clock, temp / "exe" + sys::kSep});
    flaky.settings = program->settings;
    installs::HealNotes once;
    EXPECT_TRUE(installs::healStore(flaky, once).droppedLines.empty());
    EXPECT_EQ(readBytes(store("files.dat")), registered);

    installs::healStore(*program, notes);
    EXPECT_EQ(readBytes(store("list.dat")), "Listed\r\nLost\r\n");
    EXPECT_EQ(installAs("Another", {go}), std::vector<std::string>{"Внимание: " + texts::alreadyInstalled("go.wav")});
    auto names = installs::openInstallationList(*program);
    ui.expectAttention(texts::kRestored);
    installs::Restore(*program, names, 1);
    EXPECT_EQ(readBytes(go), "old go");
    ui.expectError(texts::kFilesNotFound);
    installs::Restore(*program, names, 1);  // "Another", which holds nothing
    EXPECT_EQ(names, std::vector<std::string>{"Listed"});
    installs::healStore(*program, notes);
  }
}

TEST_F(Healing, ALostFilesDatComesBackFromTheRegisterAndWhatMatchesNothingStays) {
  installAs("A", {go, ak});
  // Another installation records a v_ak47.mdl of its own: that line is not A's to take.
  const std::string otherAk = temp / "game/cstrike/other/v_ak47.mdl";
  writeBytes(store("Other/files.dat"), otherAk + "\r\n");
  writeBytes(store("Other/v_ak47.mdl"), "other ak");
  writeBytes(store("files.dat"), readBytes(store("files.dat")) + otherAk + "\r\n");
  writeBytes(store("list.dat"), "Listed\r\nA\r\nOther\r\n");
  fs.removeFile(store("A/files.dat"));
  writeBytes(store("A/stray.wav"), "nobody knows");

  // Looking at it makes no installation of nothing out of it.
  EXPECT_TRUE(installs::showInstallation(*program, "A").files.empty());
  EXPECT_FALSE(fileExists(store("A/files.dat")));

  const auto report = installs::healStore(*program, notes);
  EXPECT_EQ(report.rebuilt, std::vector<std::string>{"A"});
  EXPECT_EQ(report.unmatched, std::vector<std::string>{"A"});
  EXPECT_TRUE(report.droppedLines.empty());
  EXPECT_EQ(readBytes(store("A/files.dat")), go + "\r\n" + ak + "\r\n");
  EXPECT_FALSE(fileExists(store("A/sums.dat"))) << "hashes that no longer pair with the lines";
  EXPECT_EQ(sorted(log()), sorted({logged(texts::healRebuilt("A", 2)), logged(texts::healUnmatchedBackups("A", "stray.wav"))}));

  // Every original comes back; the file it does not know keeps the restore from calling that success.
  auto names = installs::openInstallationList(*program);
  ui.expectError(texts::unknownFilesLeft(store("A")));
  EXPECT_EQ(installs::Restore(*program, names, 1), installs::RestoreResult::UnknownFilesLeft);
  EXPECT_EQ(readBytes(go), "old go");
  EXPECT_EQ(readBytes(ak), "old ak");
  EXPECT_EQ(readBytes(store("A/stray.wav")), "nobody knows");
  EXPECT_EQ(names, (std::vector<std::string>{"Listed", "Other"}));
}

}  // namespace
