#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>

#include "app/program.h"
#include "catalogue/descriptions.h"
#include "support/program_fixture.h"
#include "sys/error.h"

namespace {

using testing_support::fileExists;
using testing_support::ProgramFixture;
using testing_support::readBytes;
using testing_support::writeBytes;

class StartUp : public ProgramFixture {};

TEST_F(StartUp, EmptyHiveGivesTheDefaultsAndCreatesTheDataFiles) {
  program->startUp();
  const auto& s = program->settings;
  EXPECT_EQ(s.ListUpdate, "2");
  EXPECT_EQ(s.AddFilesType, "2");
  EXPECT_EQ(s.FilePath, temp / "exe" + sys::kSep);
  EXPECT_EQ(s.CSDir, "");
  EXPECT_EQ(s.FilesListDate, "");
  EXPECT_FALSE(registry->readValues(app::kProgramKey, {"CSDir"})) << "defaults stay in memory";

  std::string thirtyEmpty;
  for (int i = 0; i < 30; ++i) thirtyEmpty += "empty\r\n";
  EXPECT_EQ(readBytes(temp / "exe/runmenu.dat"), thirtyEmpty);
  EXPECT_TRUE(testing_support::folderExists(temp / "exe/utilities"));
  EXPECT_EQ(readBytes(temp / "exe/utilities.dat"), "");
  for (const auto& entry : program->runMenu) EXPECT_EQ(entry.name, "empty");
  EXPECT_TRUE(program->ListUpdatePending);
  EXPECT_EQ(app::mainWindowCaption(), "Varnikit 1.0    |    build: 1374");
}

// A program folder without descriptions gets the kinds of the game's files at start-up, in the file's own
// format; a descriptions file that is there, even empty, or one the settings name elsewhere, is the user's.
TEST_F(StartUp, DescriptionsAreWrittenOnlyWhereThereAreNone) {
  const std::string file = programFolder() + "filesinfo.dat", elsewhere = temp / "own.dat";
  writeBytes(elsewhere, ".mdl\r\nмоё\r\n");
  const struct {
    std::optional<std::string> before;
    std::string storedPath;
  } kept[] = {{"", ""}, {".wav\r\nрация\r\n", file}, {std::nullopt, elsewhere}};
  for (const auto& c : kept) {
    std::filesystem::remove(sys::toPath(file));
    if (c.before) writeBytes(file, *c.before);
    registry->writeValues(app::kProgramKey, {{"FilePath", programFolder()}, {"FilesInfoDir", c.storedPath}});
    program->startUp();
    EXPECT_EQ(fileExists(file) ? std::optional(readBytes(file)) : std::nullopt, c.before) << c.storedPath;
  }
  std::filesystem::remove(sys::toPath(file));
  registry->writeValues(app::kProgramKey, {{"FilePath", programFolder()}, {"FilesInfoDir", ""}});
  program->startUp();
  const std::string bytes = readBytes(file);
  EXPECT_TRUE(bytes.starts_with(".mdl\r\n\xCC\xEE\xE4\xE5\xEB\xFC\r\n.spr\r\n"));  // "Модель" in cp1251
  const auto descriptions = catalogue::readDescriptions(fs, file);
  EXPECT_EQ(descriptions.describe(gameFolder() + "/maps/de_dust.bsp"), "Карта");
  EXPECT_EQ(descriptions.describe(gameFolder() + "/liblist.gam"), "Описание мода");
  // Two lines a record, each ended by CR LF.
  std::size_t crLf = 0;
  for (auto at = bytes.find("\r\n"); at != std::string::npos; at = bytes.find("\r\n", at + 2)) ++crLf;
  EXPECT_EQ(crLf, 2 * descriptions.records().size());
  EXPECT_EQ(static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')), crLf);
}

TEST_F(StartUp, KeyWithSomeValuesKeepsThemAndDefaultsTheRest) {
  registry->writeValues(app::kProgramKey, {{"CSDir", gameFolder()}, {"FilePath", programFolder()}});
  program->startUp();
  EXPECT_EQ(program->settings.CSDir, gameFolder());
  EXPECT_EQ(program->settings.FilePath, programFolder()) << "a stored folder wins over the executable's";
  EXPECT_EQ(program->settings.ListUpdate, "2");
  EXPECT_EQ(program->settings.RunParam, "");
  EXPECT_TRUE(fileExists(programFolder() + "runmenu.dat"));
  EXPECT_FALSE(fileExists(temp / "exe/runmenu.dat"));
}

TEST_F(StartUp, ShortRunMenuFileFillsOnlyTheFieldsItHas) {
  configure();
  writeBytes(programFolder() + "runmenu.dat", "Counter-Strike\r\n/games/hl\r\n-game cstrike\r\nSecond\n");
  registry->writeValues(app::kProgramKey, program->settings.values());
  program->startUp();
  EXPECT_EQ(program->runMenu[0].name, "Counter-Strike");
  EXPECT_EQ(program->runMenu[0].parameters, "-game cstrike");
  EXPECT_EQ(program->runMenu[1].name, "Second");
  EXPECT_EQ(program->runMenu[1].path, "") << "fields past the end keep their earlier (empty) value";
  EXPECT_EQ(program->runMenu[9].name, "");
}

TEST_F(StartUp, UtilitiesFileWithElevenPairsFillsOnlyTenSlots) {
  configure();
  std::string pairs;
  for (int i = 1; i <= 11; ++i) pairs += "Tool" + std::to_string(i) + "\r\n/u/t" + std::to_string(i) + "\r\n";
  writeBytes(programFolder() + "utilities.dat", pairs);
  program->LoadUtilList();
  EXPECT_EQ(program->utilities[0].name, "Tool1");
  EXPECT_EQ(program->utilities[9].name, "Tool10");
  EXPECT_EQ(program->utilities[9].path, "/u/t10");
}

TEST_F(StartUp, UtilitiesAtCloseSkipFreeSlots) {
  configure();
  program->LoadUtilList();
  program->utilities[0] = {"One", "/u/one"};
  program->utilities[2] = {"Three", "/u/three"};
  program->utilities[3] = {"NoPath", "empty"};
  program->saveUtilitiesAtClose();
  EXPECT_EQ(readBytes(programFolder() + "utilities.dat"), "One\r\n/u/one\r\nThree\r\n/u/three\r\n");
}

TEST_F(StartUp, AStartUpStoppedBeforeTheUtilityListLeavesTheListAtClose) {
  configure();
  program->WriteRegistry();
  const std::string list = "Tool\r\n/u/tool\r\n";
  writeBytes(programFolder() + "utilities.dat", list);
  testing_support::makeFolder(programFolder() + "runmenu.dat");  // read before the utility list
  EXPECT_THROW(program->startUp(), sys::IoError);
  program->saveUtilitiesAtClose();
  EXPECT_EQ(readBytes(programFolder() + "utilities.dat"), list) << "the free slots in memory were never the list";

  // Read later (the menu refresh): from then on the close writes the table as it stands.
  program->LoadUtilList();
  program->utilities[1] = {"Two", "/u/two"};
  program->saveUtilitiesAtClose();
  EXPECT_EQ(readBytes(programFolder() + "utilities.dat"), list + "Two\r\n/u/two\r\n");
}

class Registry : public ProgramFixture {};

TEST_F(Registry, WriteThenReadKeepsEveryFieldEmptyOnesIncluded) {
  configure();
  program->settings.RunParam = "";
  program->settings.CSFile = "/игры/hl";
  const app::Settings before = program->settings;
  program->WriteRegistry();
  program->settings = app::Settings{};
  program->ReadRegistry();
  EXPECT_EQ(program->settings, before);
}

TEST_F(Registry, ClearThenReadLeavesMemoryAsItWas) {
  configure();
  program->WriteRegistry();
  const app::Settings before = program->settings;
  program->ClearRegistry();
  program->ReadRegistry();
  EXPECT_EQ(program->settings, before);
  EXPECT_FALSE(registry->readValues(app::kProgramKey, {"CSDir"}));
}

class ErrorLog : public ProgramFixture {};

TEST_F(ErrorLog, OneLinePerErrorWithTheLogTextPreferred) {
  configure();
  ui.expectError("Файлы не найдены!!!").expectError("Только сообщение");
  program->ErrorMsg("Файлы не найдены!!!", "Папки с файлами для восстановления не существует");
  program->ErrorMsg("Только сообщение", "");
  EXPECT_EQ(ui.icons.front(), app::Icon::Error);
  EXPECT_EQ(readBytes(programFolder() + "errors.txt"),
            "07.03.2003 14:05:09: \xCF\xE0\xEF\xEA\xE8 \xF1 \xF4\xE0\xE9\xEB\xE0\xEC\xE8 \xE4\xEB\xFF "
            "\xE2\xEE\xF1\xF1\xF2\xE0\xED\xEE\xE2\xEB\xE5\xED\xE8\xFF \xED\xE5 \xF1\xF3\xF9\xE5\xF1\xF2\xE2\xF3\xE5\xF2\r\n"
            "07.03.2003 14:05:09: \xD2\xEE\xEB\xFC\xEA\xEE \xF1\xEE\xEE\xE1\xF9\xE5\xED\xE8\xE5\r\n");
}

TEST_F(ErrorLog, OpeningTheLogUsesTheShellOrSaysItIsMissing) {
  configure();
  ui.expectError("Log не найден");
  program->Log1Click();
  EXPECT_TRUE(shell.calls.empty());
  writeBytes(programFolder() + "errors.txt", "x\r\n");
  program->Log1Click();
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].file, programFolder() + "errors.txt");
}

TEST_F(ErrorLog, StatusBusyTwoIsNotBusy) {
  program->Status("x", 1);
  EXPECT_TRUE(ui.busy);
  EXPECT_FALSE(ui.mainWindowEnabled);
  program->Status("y", 2);
  EXPECT_FALSE(ui.busy);
  EXPECT_TRUE(ui.mainWindowEnabled);
  EXPECT_EQ(ui.statusText, "y");
}

}  // namespace
