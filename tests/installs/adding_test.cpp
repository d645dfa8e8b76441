// The rules for the paths of archive entries, for what is dropped on the install dialog's list, and the unpack
// folder's removal.
#include <gtest/gtest.h>

#include "installs/archive.h"
#include "installs/dialog.h"
#include "installs/installs_support.h"
#include "installs/texts.h"
#include "support/program_fixture.h"

namespace {

TEST(EntryPaths, OnlyPathsThatStayBelowTheFolderOnEverySystemAreKept) {
  const std::pair<const char*, std::optional<std::string>> cases[] = {
      {"models/player/gign/gign.mdl", "models/player/gign/gign.mdl"},
      {"./sound/go.wav", "sound/go.wav"},
      {"models\\v_ak47.mdl", "models/v_ak47.mdl"},
      {"модели/гигн.mdl", "модели/гигн.mdl"},
      {"a/./b.mdl", "a/b.mdl"},
      {"../../evil.mdl", std::nullopt},
      {"models/../../evil.mdl", std::nullopt},
      {"..\\evil.mdl", std::nullopt},
      {"/etc/evil.mdl", std::nullopt},
      {"\\evil.mdl", std::nullopt},
      {"C:/evil.mdl", std::nullopt},
      {"C:evil.mdl", std::nullopt},
      {"a/b:stream.mdl", std::nullopt},
      {"line\nbreak.mdl", std::nullopt},
      {"line\rbreak.mdl", std::nullopt},
      {"a//b.mdl", std::nullopt},
      {"folder/", std::nullopt},
      {"models/con.mdl", std::nullopt},
      {"models/dot.", std::nullopt},
      {"what?.mdl", std::nullopt},
      {"", std::nullopt},
      {".", std::nullopt},
  };
  for (const auto& [name, expected] : cases) EXPECT_EQ(installs::safeEntryPath(name), expected) << name;
  EXPECT_TRUE(installs::safeEntryPath(std::string(255, 'a')));
  EXPECT_FALSE(installs::safeEntryPath("x/" + std::string(256, 'a')));
}

TEST(EntryPaths, ArchivesAreKnownByTheEndOfTheirNamesAsThisBuildReadsThem) {
  // Every kind where libarchive reads them; zip alone where the program's own zip reader does.
  const std::string patterns = " " + std::string(installs::archivePatterns()) + " ";
  const auto reads = [&](const std::string& pattern) { return patterns.find(" " + pattern + " ") != std::string::npos; };
  EXPECT_EQ(reads("*.zip"), installs::archivesSupported());
  for (const auto& [name, pattern] : {std::pair{"pack.zip", "*.zip"}, {"PACK.ZIP", "*.zip"}, {"a.7z", "*.7z"},
                                      {"a.rar", "*.rar"}, {"a.tar", "*.tar"}, {"a.tar.gz", "*.tar.gz"},
                                      {"a.TGZ", "*.tgz"}, {"a.tar.xz", "*.tar.xz"}, {"/x/y.b/a.zip", "*.zip"}}) {
    EXPECT_EQ(installs::hasArchiveExtension(name), reads(pattern)) << name;
  }
  for (const char* name : {"gign.mdl", "zip", ".zip", "a.gz", "a.xz", "a.zip.mdl", "a.zip/b.mdl"}) {
    EXPECT_FALSE(installs::hasArchiveExtension(name)) << name;
  }
}

// The unpack folder goes with everything in it; a link put into it goes (where the system can take it), never
// what it leads to.
TEST(UnpackFolder, GoesWithTheLinksInItButNotWithWhatTheyLeadTo) {
  using namespace testing_support;
  TempFolder temp;
  writeBytes(temp / "mine/models/gign.mdl", "mine");
  writeBytes(temp / "unpacked.tmp/1/models/a.mdl", "a");
  if (!makeFolderLink(temp / "unpacked.tmp/1/models/linked", temp / "mine") ||
      !makeFolderLink(temp / "unpacked.tmp/2", temp / "mine")) {
    GTEST_SKIP() << "no link to a folder can be made here";
  }
  installs::UnpackFolders::remove(sys::realFileSystem(), temp / "unpacked.tmp/2" + sys::kSep);  // as create names it
  installs::removeLeftoverUnpackFolder(sys::realFileSystem(), temp.path());
  EXPECT_EQ(readBytes(temp / "mine/models/gign.mdl"), "mine");
  EXPECT_FALSE(fileExists(temp / "unpacked.tmp/1/models/a.mdl"));
#ifndef _WIN32  // Wine cannot take a Unix link to a folder away: RemoveDirectoryW follows it, finds it not empty
  EXPECT_FALSE(folderExists(temp / "unpacked.tmp"));
#endif
}

class Dropping : public testing_support::ProgramFixture {
 protected:
  void SetUp() override { configure(); }
  installs::ChosenFiles chosen;
  installs::FileSearch search;
  installs::UnpackFolders unpacked;
  installs_testing::RecordingView view;
};

TEST_F(Dropping, WithoutACatalogueOneDropReportsItOnceAndAddsNothing) {
  testing_support::writeBytes(temp / "a/gign.mdl", "a");
  testing_support::writeBytes(temp / "b/go.wav", "b");
  ui.expectError(installs::texts::kCatalogueMissing);
  ui.expectAttention(installs::texts::kNoFilesFound);
  installs::AddDropped(*program, {temp / "a/gign.mdl", temp / "b"}, chosen, search, unpacked, view);
  EXPECT_TRUE(chosen.empty());
  EXPECT_EQ(view.working, (std::vector<bool>{true, false}));
}

TEST_F(Dropping, AFolderIsSearchedWithItsSubFoldersAndAFileIsTakenAsItIs) {
  const std::string game = gameFile("models/gign.mdl");
  const std::string other = gameFile("models/sas.mdl");
  fs.writeLines(program->settings.FilesListDir, {game, other});
  testing_support::writeBytes(temp / "pack/deep/er/gign.mdl", "deep");
  testing_support::writeBytes(temp / "one/SAS.MDL", "one");
  installs::AddDropped(*program, {temp / "pack", temp / "one/SAS.MDL"}, chosen, search, unpacked, view);
  EXPECT_EQ(chosen.sources(), (std::vector<std::string>{temp / "pack/deep/er/gign.mdl", temp / "one/SAS.MDL"}));
  EXPECT_EQ(chosen.destinations(), (std::vector<std::string>{game, other}));

  // Dropped again, with a file that repeats one of them: one box for the whole drop, nothing added.
  testing_support::writeBytes(temp / "two/gign.mdl", "two");
  ui.expectAttention(installs::texts::skippedRepeats(3));
  installs::AddDropped(*program, {temp / "pack", temp / "two/gign.mdl", temp / "one/SAS.MDL"}, chosen, search,
                       unpacked, view);
  EXPECT_EQ(chosen.size(), 2u);
  EXPECT_EQ(installs::droppedAs(fs, temp / "one/SAS.MDL"), installs::Dropped::File);
}

}  // namespace
