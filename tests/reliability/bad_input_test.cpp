// Bad input met end to end by install, rename and restore: each gets its box, nothing is written where
// it must not be, and no original is lost.
#include <gtest/gtest.h>

#include "catalogue/files_list.h"
#include "installs/check.h"
#include "installs/install.h"
#include "installs/installs_support.h"
#include "installs/restore.h"
#include "installs/texts.h"
#include "support/program_fixture.h"
#include "sys/paths.h"

namespace {

using installs::InstallResult;
using installs::RenameResult;
using installs::RestoreResult;
using testing_support::fileExists;
using testing_support::readBytes;
using testing_support::writeBytes;
namespace texts = installs::texts;

class BadInput : public testing_support::ProgramFixture {
 protected:
  void SetUp() override {
    configure();
    gign = gameFile("models/player/gign/gign.mdl", "old gign");
  }
  std::string choose(const std::string& gamePath) {
    const std::string source = temp / ("new/" + sys::bareName(gamePath));
    writeBytes(source, "new " + sys::bareName(gamePath));
    chosen.add(source, gamePath);
    return source;
  }
  std::string store(const std::string& relative) { return programFolder() + "files" + sys::kSep + relative; }
  std::vector<std::string> storeEntries() {
    std::vector<std::string> entries;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(sys::toPath(store(""))))
      entries.push_back(sys::fromPath(entry.path()));
    return entries;
  }

  std::string gign;
  installs::ChosenFiles chosen;
  installs_testing::RecordingView view;
};

// Every name the rule refuses, and one the disk refuses.
const std::string kBadNames[] = {"a\\b", "a/b", "a:b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b", "..", ".",
                                 "../up", "CON", "nul.txt", "   ", "name ", "line\nbreak", "list.dat",
                                 "LIST.DAT", "Files.Dat", "list.dat.new", "files.dat.new"};

TEST_F(BadInput, InstallationNamesTheRuleRefusesWriteNothingAtInstallAndAtRename) {
  choose(gign);
  ui.expectInput("Внимание", "Введите название установки", "Good");
  ASSERT_EQ(installs::Install(*program, chosen, "", view), InstallResult::Installed);
  const auto before = storeEntries();
  const std::string list = readBytes(store("list.dat"));
  for (const auto& name : kBadNames) {
    choose(gign);
    ui.expectInput("Внимание", "Введите название установки", name);
    ui.expectError(texts::kInvalidName);
    EXPECT_EQ(installs::Install(*program, chosen, "", view), InstallResult::NotStarted) << name;
    chosen.clear();
    auto names = installs::openInstallationList(*program);
    ui.expectInput("Varnikit", texts::kNewNamePrompt, name);
    ui.expectError(texts::kInvalidName);
    EXPECT_EQ(installs::Rename(*program, names, 0), RenameResult::Refused) << name;
    EXPECT_EQ(names, std::vector<std::string>{"Good"}) << name;
    EXPECT_EQ(storeEntries(), before) << name;
    EXPECT_EQ(readBytes(store("list.dat")), list) << name;
  }
  EXPECT_EQ(readBytes(gign), "new gign.mdl");
  // 300 characters pass the rule but no file system takes them as one name.
  const std::string longName(300, 'x');
  auto names = installs::openInstallationList(*program);
  ui.expectInput("Varnikit", texts::kNewNamePrompt, longName);
  ui.expectError(texts::kRenameFailed);
  EXPECT_EQ(installs::Rename(*program, names, 0), RenameResult::Refused);
  EXPECT_EQ(storeEntries(), before);
  ui.expectAttention(texts::kRestored);
  EXPECT_EQ(installs::Restore(*program, names, 0), RestoreResult::Restored);
  EXPECT_EQ(readBytes(gign), "old gign");
}

TEST_F(BadInput, AGameFileWithALineBreakInItsNameIsRefusedAndOthersGoOn) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows file names cannot hold a line break";
#endif
  // Its path could not be one line of "files.dat": recorded, it would come back as two paths and its
  // original would never be restored.
  const std::string broken = gameFile("models/bad\nname.mdl", "old broken");
  choose(broken), choose(gign);
  ui.expectInput("Внимание", "Введите название установки", "A");
  ui.expectAttention(texts::reservedName("bad\nname.mdl"));
  EXPECT_EQ(installs::Install(*program, chosen, "", view), InstallResult::Installed);
  EXPECT_EQ(readBytes(broken), "old broken");
  EXPECT_EQ(readBytes(store("A/files.dat")), gign + "\r\n");
  EXPECT_FALSE(fileExists(store("A/bad\nname.mdl")));
  auto names = installs::openInstallationList(*program);
  ui.expectAttention(texts::kRestored);
  EXPECT_EQ(installs::Restore(*program, names, 0), RestoreResult::Restored);
  EXPECT_EQ(readBytes(gign), "old gign");
  EXPECT_EQ(readBytes(broken), "old broken");
}

TEST_F(BadInput, APathCp1251CannotHoldIsRecordedAndComesBack) {
  const std::string game = gameFile("models/模型/é.mdl", "old foreign");
  choose(game);
  ui.expectInput("Внимание", "Введите название установки", "Чужие");
  ASSERT_EQ(installs::Install(*program, chosen, "", view), InstallResult::Installed);
  EXPECT_EQ(readBytes(game), "new é.mdl");
  EXPECT_EQ(readBytes(store("Чужие/files.dat")), game + "\r\n") << "kept as UTF-8, nothing turned into '?'";
  auto names = installs::openInstallationList(*program);
  EXPECT_EQ(names, std::vector<std::string>{"Чужие"});
  ui.expectAttention(texts::kRestored);
  EXPECT_EQ(installs::Restore(*program, names, 0), RestoreResult::Restored);
  EXPECT_EQ(readBytes(game), "old foreign");
  EXPECT_EQ(readBytes(store("files.dat")), "");
}

TEST_F(BadInput, ACatalogueLineOfAHundredThousandCharactersIsJustALine) {
  const std::string ak = gameFile("models/v_ak47.mdl", "old ak");
  const std::string huge = gameFolder() + sys::kSep + std::string(100000, 'x') + ".mdl";
  fs.writeLines(program->settings.FilesListDir, {gign, huge, ak});
  const auto rows = catalogue::FilesList::read(fs, program->settings.FilesListDir, program->settings.FilesInfoDir);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows.name(1).size(), 100004u);
  EXPECT_EQ(rows.path(2), ak);
  std::vector<std::string> candidates = {temp / "new/gign.mdl", temp / ("new/" + std::string(100000, 'x') + ".mdl"),
                                         temp / "new/v_ak47.mdl"};
  installs::CheckFiles(*program, candidates, chosen, view);
  EXPECT_EQ(chosen.destinations(), (std::vector<std::string>{gign, huge, ak}));
}

}  // namespace
