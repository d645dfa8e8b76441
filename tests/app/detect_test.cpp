#include <gtest/gtest.h>

#include "app/detect.h"
#include "support/temp_folder.h"
#include "sys/paths.h"

namespace {

using testing_support::makeFolder;
using testing_support::writeBytes;

// A fake machine: a hive, a home folder and game folders, all below one temporary folder.
class Detection : public ::testing::Test {
 protected:
  Detection() : registry(temp / "hive.reg") { makeFolder(home()); }
  std::string home() const { return temp / "home"; }
  std::string base() const { return temp / "Half-Life"; }
  void storeInstallPath(const std::string& path) { registry.writeValues(app::kGameKey, {{"InstallPath", path}}); }
  std::string launcher(const std::string& folder) const { return folder + sys::kSep + app::launcherNames().front(); }
  void makeGame(const std::string& folder, bool withFolder, bool withLauncher) {
    makeFolder(folder);
    if (withFolder) makeFolder(folder + sys::kSep + "cstrike");
    if (withLauncher) writeBytes(launcher(folder), "#!/bin/sh\n");
  }
  app::DetectedGame detect() { return app::detectGame(registry, fs, home()); }

  testing_support::TempFolder temp;
  sys::HiveFileRegistry registry;
  sys::FileSystem& fs = sys::realFileSystem();
};

TEST_F(Detection, FromTheGameKeyWithTheFourReports) {
  const struct {
    bool folder, launcher;
    const char* report;
  } cases[] = {
      {false, false, "Информация не найдена"},
      {false, true, "Папка игры не найдена"},
      {true, false, "Файл для запуска игры не найден"},
      {true, true, "Информация найдена"},
  };
  for (const auto& c : cases) {
    const std::string folder = temp / (std::string("HL") + (c.folder ? "1" : "0") + (c.launcher ? "1" : "0"));
    makeGame(folder, c.folder, c.launcher);
    storeInstallPath(folder);
    const auto found = detect();
    EXPECT_EQ(found.folder, c.folder ? folder + sys::kSep + "cstrike" : "") << c.report;
    EXPECT_EQ(found.launcher, c.launcher ? launcher(folder) : "") << c.report;
    EXPECT_EQ(app::detectionReport(found), c.report);
  }
}

TEST_F(Detection, NoKeyOrAnEmptyPathFindsNothing) {
  EXPECT_EQ(app::detectionReport(detect()), "Информация не найдена");
  storeInstallPath("");
  const auto found = detect();
  EXPECT_EQ(found.folder, "");
  EXPECT_EQ(found.launcher, "");
}

TEST_F(Detection, TrailingSeparatorOfTheStoredPathIsNotDoubled) {
  makeGame(base(), true, true);
  storeInstallPath(base() + sys::kSep);
  EXPECT_EQ(detect().folder, base() + sys::kSep + "cstrike");
}

#ifndef _WIN32
TEST(LauncherNames, NativeLinuxGameStartsThroughItsScriptFirst) {
  EXPECT_EQ(app::launcherNames(), (std::vector<std::string>{"hl.sh", "hl_linux"}));
  EXPECT_TRUE(app::launcherFilters().empty()) << "a launcher here has no .exe";
}

class SteamDetection : public Detection {
 protected:
  // A Steam folder below home whose libraryfolders.vdf names the given libraries.
  void makeSteam(const std::string& steamRoot, const std::vector<std::string>& libraries) {
    std::string vdf = "\"libraryfolders\"\n{\n";
    for (std::size_t i = 0; i < libraries.size(); ++i) {
      vdf += "\t\"" + std::to_string(i) + "\"\n\t{\n\t\t\"path\"\t\t\"" + libraries[i] +
             "\"\n\t\t\"label\"\t\t\"\"\n\t\t\"apps\"\n\t\t{\n\t\t\t\"70\"\t\t\"123\"\n\t\t}\n\t}\n";
    }
    vdf += "}\n";
    writeBytes(home() + "/" + steamRoot + "/steamapps/libraryfolders.vdf", vdf);
  }
  std::string halfLife(const std::string& library) { return library + "/steamapps/common/Half-Life"; }
};

TEST_F(SteamDetection, NativeInstallInASecondLibraryIsFound) {
  const std::string library = temp / "games/SteamLibrary";
  makeSteam(".local/share/Steam", {home() + "/.local/share/Steam", library});
  makeGame(halfLife(library), true, true);
  const auto found = detect();
  EXPECT_EQ(found.folder, halfLife(library) + "/cstrike");
  EXPECT_EQ(found.launcher, halfLife(library) + "/hl.sh");
  EXPECT_EQ(app::detectionReport(found), "Информация найдена");
}

TEST_F(SteamDetection, SteamFolderItselfCountsAndTheBareLauncherServesWithoutTheScript) {
  makeSteam(".steam/steam", {});
  const std::string game = halfLife(home() + "/.steam/steam");
  makeGame(game, true, false);
  writeBytes(game + "/hl_linux", "");
  const auto found = detect();
  EXPECT_EQ(found.folder, game + "/cstrike");
  EXPECT_EQ(found.launcher, game + "/hl_linux");
}

TEST_F(SteamDetection, GameKeyWinsWhenItNamesAFolder) {
  makeGame(base(), true, false);
  storeInstallPath(base());
  const std::string library = temp / "lib";
  makeSteam(".steam/steam", {library});
  makeGame(halfLife(library), true, true);
  const auto found = detect();
  EXPECT_EQ(found.folder, base() + "/cstrike");
  EXPECT_EQ(found.launcher, "") << "the key's own game, as the key names it";
}

TEST_F(SteamDetection, LibraryWithoutTheGameFolderStillLendsItsLauncher) {
  const std::string library = temp / "lib";
  makeSteam(".steam/steam", {library});
  makeGame(halfLife(library), false, true);
  const auto found = detect();
  EXPECT_EQ(found.folder, "");
  EXPECT_EQ(found.launcher, halfLife(library) + "/hl.sh");
  EXPECT_EQ(app::detectionReport(found), "Папка игры не найдена");
}

TEST(LibraryFolders, BothFormsEscapesAndCommentsAreRead) {
  const std::string current =
      "\"libraryfolders\"\n{\n\t\"contentstatsid\"\t\"-123\"\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"/home/u/.local/share/Steam\"\n"
      "\t\t\"apps\"\n\t\t{\n\t\t\t\"10\"\t\t\"5\"\n\t\t}\n\t}\n\t\"1\"\n\t{\n\t\t\"path\"\t\t\"/mnt/My \\\"Games\\\"\"\n\t}\n}\n";
  EXPECT_EQ(app::parseLibraryFolders(current),
            (std::vector<std::string>{"/home/u/.local/share/Steam", "/mnt/My \"Games\""}));
  const std::string older =
      "// written by Steam\n\"LibraryFolders\"\n{\n\t\"TimeNextStatsReport\"\t\t\"1600000000\"\n"
      "\t\"ContentStatsID\"\t\t\"-1\"\n\t\"1\"\t\t\"/media/disk/SteamLibrary/\"\n}\n";
  EXPECT_EQ(app::parseLibraryFolders(older), (std::vector<std::string>{"/media/disk/SteamLibrary"}));
  EXPECT_TRUE(app::parseLibraryFolders("").empty());
  EXPECT_TRUE(app::parseLibraryFolders("\"libraryfolders\" { \"0\" { \"path\"").empty()) << "cut-off text";
}
#endif

TEST(GameFieldsCheck, FolderFirstThenALauncherWhenGiven) {
  testing_support::TempFolder temp;
  auto& fs = sys::realFileSystem();
  const std::string folder = temp / "cstrike";
  const std::string launcher = temp / "hl.exe";
  makeFolder(folder);
  writeBytes(launcher, "");
  const struct {
    std::string folder, launcher;
    app::FieldCheck result;
  } cases[] = {
      {folder, "", app::FieldCheck::Correct},
      {folder, launcher, app::FieldCheck::Correct},
      {folder, temp / "nothing.exe", app::FieldCheck::LauncherInvalid},
      {folder, folder, app::FieldCheck::LauncherInvalid},
      {"", "", app::FieldCheck::FolderInvalid},
      {launcher, launcher, app::FieldCheck::FolderInvalid},
      {temp / "nowhere", temp / "nothing.exe", app::FieldCheck::FolderInvalid},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(app::checkGameFields(fs, c.folder, c.launcher), c.result) << c.folder << " | " << c.launcher;
  }
}

}  // namespace
