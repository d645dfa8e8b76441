#include <gtest/gtest.h>

#include "installs/archive.h"
#include "installs/check.h"
#include "installs/dialog.h"
#include "installs/installs_support.h"
#include "installs/texts.h"
#include "sys/encoding.h"
#include "support/program_fixture.h"

namespace {

using installs::AddMode;
using testing_support::ProgramFixture;
using testing_support::writeBytes;

using installs_testing::RecordingView;

class Checking : public ProgramFixture {
 protected:
  void SetUp() override { configure(); }
  void catalogue(const std::vector<std::string>& lines) { fs.writeLines(program->settings.FilesListDir, lines); }
  std::string newFile(const std::string& relative) {
    const std::string path = temp / ("new/" + relative);
    writeBytes(path, "new " + relative);
    return path;
  }
  installs::ChosenFiles chosen;
  installs::FileSearch search;
  installs::UnpackFolders unpacked;
  RecordingView view;
};

TEST_F(Checking, FirstCatalogueLineOfTheBareNameWinsAsciiCaseFolded) {
  const std::string g = gameFolder();
  catalogue({g + "/models/player/gign/gign.mdl", g + "/models/gign.mdl", g + "/sound/go.wav", g + "/sound/Я.wav"});
  std::vector<std::string> candidates = {newFile("GIGN.MDL"), newFile("x/go.wav"), newFile("none.mdl"),
                                         newFile("я.wav"), newFile("Я.wav")};
  installs::CheckFiles(*program, candidates, chosen, view);
  EXPECT_EQ(chosen.sources(), (std::vector<std::string>{temp / "new/GIGN.MDL", temp / "new/x/go.wav", temp / "new/Я.wav"}));
  EXPECT_EQ(chosen.destinations(),
            (std::vector<std::string>{g + "/models/player/gign/gign.mdl", g + "/sound/go.wav", g + "/sound/Я.wav"}));
  EXPECT_TRUE(candidates.empty());
  EXPECT_EQ(view.maximum, 5);
  EXPECT_EQ(view.positions, (std::vector<int>{1, 2, 3, 4, 5, 0}));
}

TEST_F(Checking, ReadmeAndBspAnywhereInThePathAreNeverAccepted) {
  const std::string g = gameFolder();
  catalogue({g + "/readme.txt", g + "/maps/de_dust.bsp", g + "/models/a.mdl", g + "/b.txt"});
  std::vector<std::string> candidates = {newFile("README.txt"), newFile("de_dust.BSP"), newFile("maps.bsp.old/a.mdl"),
                                         newFile("ok/b.txt")};
  installs::CheckFiles(*program, candidates, chosen, view);
  EXPECT_EQ(chosen.sources(), (std::vector<std::string>{temp / "new/ok/b.txt"}));
}

TEST_F(Checking, AboveFiveHundredAsksAndNoLeavesTheListAsItWas) {
  std::vector<std::string> lines, names;
  for (int i = 0; i < 501; ++i) {
    lines.push_back(gameFolder() + "/a" + std::to_string(i) + ".mdl");
    names.push_back(temp / ("new/a" + std::to_string(i) + ".mdl"));
  }
  catalogue(lines);
  for (const std::size_t count : {500u, 501u}) {
    std::vector<std::string> candidates(names.begin(), names.begin() + static_cast<std::ptrdiff_t>(count));
    if (count == 501) ui.expectAttention(installs::texts::manyCandidatesQuestion(501), app::Answer::No);
    installs::CheckFiles(*program, candidates, chosen, view);
    EXPECT_TRUE(candidates.empty());
    EXPECT_EQ(chosen.size(), 500u) << count;
  }
  EXPECT_EQ(installs::texts::manyCandidatesQuestion(501),
            "Найдено 501 файлов!\r\nПроверка может занять много времени.\r\nВы уверены, что хотите продолжить?");
}

TEST_F(Checking, MissingCatalogueIsReportedAndTheCandidatesStay) {
  std::vector<std::string> candidates = {newFile("a.mdl")};
  ui.expectError(installs::texts::kCatalogueMissing);
  installs::CheckFiles(*program, candidates, chosen, view);
  EXPECT_EQ(candidates.size(), 1u);
  EXPECT_TRUE(chosen.empty());
  EXPECT_NE(testing_support::readBytes(programFolder() + "errors.txt")
                .find(sys::encodeLine(installs::texts::kCatalogueMissingLog)),
            std::string::npos);
}

TEST_F(Checking, FolderModesTakeTheFolderOwnFilesFirstAndModeTwoNoSubFolders) {
  const std::string g = gameFolder();
  catalogue({g + "/top.mdl", g + "/deep.mdl", g + "/deeper.mdl"});
  newFile("pack/sub/deep.mdl");
  newFile("pack/sub/inner/deeper.mdl");
  newFile("pack/top.mdl");
  ui.expectFolder("Обзор папок", temp / "new/pack");
  installs::AddFiles(*program, AddMode::Folder, chosen, search, unpacked, view);
  EXPECT_EQ(chosen.sources(), (std::vector<std::string>{temp / "new/pack/top.mdl"}));
  ui.expectFolder("Обзор папок", temp / "new/pack");
  ui.expectAttention(installs::texts::skippedRepeats(1));  // top.mdl is in the list already
  installs::AddFiles(*program, AddMode::FolderTree, chosen, search, unpacked, view);
  EXPECT_EQ(chosen.sources(), (std::vector<std::string>{temp / "new/pack/top.mdl", temp / "new/pack/sub/deep.mdl",
                                                        temp / "new/pack/sub/inner/deeper.mdl"}));
  EXPECT_EQ(view.working, (std::vector<bool>{true, false, true, false}));
  EXPECT_EQ(view.statuses.back(), "");
}

TEST_F(Checking, AGameFileAlreadyInTheListIsSkippedWithOneBoxPerAdd) {
  const std::string g = gameFolder();
  catalogue({g + "/models/a.mdl", g + "/sound/b.wav", g + "/sound/c.wav"});
  newFile("pack/a.mdl");    // the folder's own files come first
  newFile("pack/y/A.MDL");  // the same game file under the name in another case
  newFile("pack/y/b.wav");
  newFile("pack/z/a.mdl");
  const struct {
    std::size_t removeFirst;  // files taken off the list before the add
    std::size_t skipped;
    std::vector<std::string> sources;
  } adds[] = {
      {0, 2, {temp / "new/pack/a.mdl", temp / "new/pack/y/b.wav"}},  // repeats inside one add
      {0, 4, {temp / "new/pack/a.mdl", temp / "new/pack/y/b.wav"}},  // the same folder again
      {1, 3, {temp / "new/pack/y/b.wav", temp / "new/pack/a.mdl"}},  // a removed file can come back
  };
  for (const auto& add : adds) {
    for (std::size_t k = 0; k < add.removeFirst; ++k) chosen.removeFirst();
    ui.expectFolder("Обзор папок", temp / "new/pack");
    ui.expectAttention("Пропущено файлов, уже добавленных в список: " + std::to_string(add.skipped));
    installs::AddFiles(*program, AddMode::FolderTree, chosen, search, unpacked, view);
    ui.verifyAllAnswered();
    EXPECT_EQ(chosen.sources(), add.sources);
    EXPECT_EQ(chosen.destinations().size(), chosen.sources().size());
  }
  // An add that skips nothing says nothing; one that only skips does not claim that nothing was found.
  chosen.clear();
  ui.expectFiles("", {newFile("c.wav")});
  installs::AddFiles(*program, AddMode::Files, chosen, search, unpacked, view);
  ui.expectFiles("", {temp / "new/c.wav"});
  ui.expectAttention(installs::texts::skippedRepeats(1));
  installs::AddFiles(*program, AddMode::Files, chosen, search, unpacked, view);
  EXPECT_EQ(chosen.size(), 1u);
}

TEST_F(Checking, SearchStopsPastTwentyThousandWithOneMessage) {
  const std::string root = temp / "many";
  for (int folder = 0; folder < 3; ++folder) {
    testing_support::makeFolder(root + "/f" + std::to_string(folder) + "/inner");
    writeBytes(root + "/f" + std::to_string(folder) + "/inner/x.mdl", "x");
  }
  std::vector<std::string> list(installs::kSearchLimit - 1, "placeholder");
  ui.expectAttention(installs::texts::kSearchStopped);
  installs::FileSearch guard;
  guard.FindFiles(*program, root, "*.*", list, true);
  EXPECT_EQ(list.size(), installs::kSearchLimit) << "one folder is entered, then the search stops";
  ui.verifyAllAnswered();
  list.resize(10);
  guard.FindFiles(*program, root, "*.*", list, true);  // the next search starts afresh
  EXPECT_EQ(list.size(), 13u);
}

TEST_F(Checking, FileModeCancelAndAFolderThatIsNoFolderAddNothingSilently) {
  ui.expectFiles("", {});
  installs::AddFiles(*program, AddMode::Files, chosen, search, unpacked, view);
  ASSERT_EQ(ui.fileRequests.size(), 1u);
  EXPECT_TRUE(ui.fileRequests[0].multiple);
  EXPECT_EQ(ui.fileRequests[0].filters, (std::vector<std::pair<std::string, std::string>>{{"все файлы", "*.*"}}));
  ui.expectFolder("Обзор папок", temp / "not-there");
  installs::AddFiles(*program, AddMode::Folder, chosen, search, unpacked, view);
  // An add that finds nothing says so.
  catalogue({gameFolder() + "/a.mdl"});
  ui.expectFiles("", {newFile("b.mdl")});
  ui.expectAttention(installs::texts::kNoFilesFound);
  installs::AddFiles(*program, AddMode::Files, chosen, search, unpacked, view);
  EXPECT_TRUE(chosen.empty());
}

TEST_F(Checking, RemoveAndClearKeepBothListsInStep) {
  for (int i = 0; i < 5; ++i) chosen.add("s" + std::to_string(i), "d" + std::to_string(i));
  installs::removeSelected(*program, chosen, 2);
  EXPECT_EQ(chosen.sources(), (std::vector<std::string>{"s0", "s1", "s3", "s4"}));
  EXPECT_EQ(chosen.destinations(), (std::vector<std::string>{"d0", "d1", "d3", "d4"}));
  ui.expectError("Файл не выделен");
  installs::removeSelected(*program, chosen, std::nullopt);
  installs::clearAll(*program, chosen);
  EXPECT_TRUE(chosen.destinations().empty());
  ui.expectError("Список пуст");
  installs::clearAll(*program, chosen);
}

TEST_F(Checking, InformationJoinsEveryMatchingRecordOfTheNewFilesPath) {
  chosen.add(temp / "new/gign.mdl", gameFolder() + "/gign.mdl");
  ui.expectError("Укажите файл");
  installs::showFileInformation(*program, chosen, std::nullopt);
  ui.expectError(installs::texts::kDescriptionsMissing);
  installs::showFileInformation(*program, chosen, 0);
  EXPECT_FALSE(testing_support::fileExists(program->settings.FilesInfoDir)) << "not created here";
  fs.writeLines(program->settings.FilesInfoDir, {".mdl", "A", ".wav", "W", ".MDL", "B"});
  ui.expectMessage("Установка", "Файл: gign.mdl\r\nИнформация: A / B");
  installs::showFileInformation(*program, chosen, 0);
  chosen.add(temp / "new/x.spr", gameFolder() + "/x.spr");
  ui.expectAttention("Информации нет");
  installs::showFileInformation(*program, chosen, 1);
  chosen.clear();
  ui.expectError("Список файлов пуст");
  installs::showFileInformation(*program, chosen, 0);
}

TEST_F(Checking, DefaultModeIsStoredAtOnce) {
  installs::setDefaultMode(*program, AddMode::Files);
  EXPECT_EQ(program->settings.AddFilesType, "1");
  EXPECT_EQ(registry->readValues(app::kProgramKey, {"AddFilesType"})->at(0), "1");
  EXPECT_EQ(installs::modeOf("3"), AddMode::FolderTree);
  // "4", from an archive, only where archives are read.
  EXPECT_EQ(installs::modeOf("4"),
            installs::archivesSupported() ? std::optional(AddMode::Archive) : std::nullopt);
  EXPECT_EQ(installs::modeOf("5"), std::nullopt);
}

TEST(Masks, StarDotStarTakesEveryNameAndOthersMatchAsWildcards) {
  EXPECT_TRUE(installs::matchesMask("noext", "*.*"));
  EXPECT_TRUE(installs::matchesMask("GIGN.MDL", "*.mdl"));
  EXPECT_FALSE(installs::matchesMask("gign.wav", "*.mdl"));
  EXPECT_TRUE(installs::matchesMask("v_ak47.mdl", "v_??47.*"));
}

}  // namespace
