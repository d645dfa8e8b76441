// A data file that is there but cannot be read (no permission, locked by another program) is reported,
// never taken for missing and written over: the error log, the run menu, the utility list, the register
// of installed files, the hive.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "installs/store.h"
#include "launchers/run_menu.h"
#include "launchers/utility_table.h"
#include "support/temp_folder.h"
#include "support/unprivileged.h"
#include "sys/error.h"
#include "sys/filesystem.h"
#include "sys/paths.h"
#include "sys/registry.h"

namespace {

using testing_support::readBytes;
using testing_support::TempFolder;
using testing_support::writeBytes;
namespace stdfs = std::filesystem;

// How the operation ended in the child process.
enum Outcome : int { Reported = 0, WentThrough = 1, OtherError = 2 };

int outcomeOf(const std::function<void()>& operation) {
  try {
    operation();
  } catch (const sys::IoError&) {
    return Reported;
  } catch (...) {
    return OtherError;
  }
  return WentThrough;
}

TEST(UnreadableFiles, AreReportedAndKeptByteForByte) {
#ifdef _WIN32
  GTEST_SKIP() << "takes the read permission away from a user; on Windows a locked file is the same case "
                  "(LockedFileIsReportedAndKept in the Windows tests)";
#endif
  TempFolder temp;
  const std::string folder = temp / "program";
  testing_support::makeFolder(folder);
  // Anyone may write in the folder and to the file, nobody but root may read it: the code that took
  // "cannot read" for "missing" would go ahead and write a fresh file.
  stdfs::permissions(sys::toPath(folder), stdfs::perms::all);
  const std::string sep = sys::kSep;
  sys::FileSystem& fs = sys::realFileSystem();
  struct Case {
    const char* what;
    std::string file;
    std::string bytes;
    std::function<void()> operation;
  };
  const std::string hive = folder + sep + "HKEY_CURRENT_USER.reg";
  const Case cases[] = {
      {"errors.txt", folder + sep + "errors.txt", "07.03.2003 14:05:09: earlier\r\n",
       [&] { fs.appendLine(folder + sep + "errors.txt", "new line"); }},
      {"runmenu.dat", folder + sep + "runmenu.dat", "Game\r\n/games/hl\r\n-game cstrike\r\n",
       [&] {
         launchers::RunMenuTable table;
         launchers::readRunMenu(fs, folder + sep + "runmenu.dat", table);
       }},
      {"utilities.dat", folder + sep + "utilities.dat", "Tool\r\n/u/tool\r\n",
       [&] {
         launchers::UtilityTable table;
         launchers::loadUtilList(fs, folder + sep, table);
       }},
      {"files.dat, the register", folder + sep + "files" + sep + "files.dat", "/games/cstrike/models/gign.mdl\r\n",
       [&] { installs::Store(fs, folder + sep).removeFromRegister({"/games/cstrike/sound/a.wav"}); }},
      {"hive, written", hive, "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Varnikit]\n\"CSDir\"=\"/games/cstrike\"\n",
       [&] { sys::HiveFileRegistry(hive).writeValues("\\Software\\Varnikit", {{"ListUpdate", "2"}}); }},
      {"hive, key deleted", hive, "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Varnikit]\n\"CSDir\"=\"x\"\n",
       [&] { sys::HiveFileRegistry(hive).deleteKey("\\Software\\Varnikit"); }},
  };
  for (const auto& c : cases) {
    writeBytes(c.file, c.bytes);
    stdfs::permissions(sys::toPath(sys::parentFolder(c.file)), stdfs::perms::all);
    stdfs::permissions(sys::toPath(c.file), stdfs::perms::owner_write | stdfs::perms::group_write |
                                                stdfs::perms::others_write);
    const auto outcome = testing_support::runUnprivileged([&] { return outcomeOf(c.operation); });
    ASSERT_TRUE(outcome) << "no child process";
    if (*outcome == 125) GTEST_SKIP() << "the user cannot be changed here";
    EXPECT_EQ(*outcome, Reported) << c.what << " (1: went through, 2: another error, 126: threw, >128: killed)";
    EXPECT_EQ(readBytes(c.file), c.bytes) << c.what;
    stdfs::remove(sys::toPath(c.file));
  }
}

TEST(UnreadableFiles, AFolderWhereTheFileBelongsIsReportedWithTheSystemsText) {
  TempFolder temp;
  const std::string file = temp / "errors.txt";
  testing_support::makeFolder(file);
  sys::FileSystem& fs = sys::realFileSystem();
  EXPECT_FALSE(fs.existsForReading(temp / "missing.txt"));
  try {
    fs.existsForReading(file);
    ADD_FAILURE() << "a folder is no file to read";
  } catch (const sys::IoError& error) {
    EXPECT_NE(std::string(error.what()).find(file), std::string::npos) << error.what();
  }
  sys::HiveFileRegistry hive(file);
  EXPECT_THROW(hive.readValues("\\Software\\Varnikit", {"CSDir"}), sys::IoError);
  EXPECT_TRUE(testing_support::folderExists(file));
}

}  // namespace
