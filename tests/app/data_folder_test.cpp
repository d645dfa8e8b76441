#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "app/one_program.h"
#include "app/program.h"
#include "support/program_fixture.h"
#include "sys/environment.h"

namespace {

namespace stdfs = std::filesystem;
using testing_support::EnvironmentVariable;
using testing_support::fileExists;
using testing_support::ProgramFixture;

// Every entry below folder, relative to it with '/', sorted.
std::vector<std::string> entriesBelow(const std::string& folder) {
  std::vector<std::string> entries;
  if (!stdfs::exists(sys::toPath(folder))) return entries;
  for (const auto& entry : stdfs::recursive_directory_iterator(sys::toPath(folder))) {
    entries.push_back(stdfs::relative(entry.path(), sys::toPath(folder)).generic_string());
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}

// A program installed where it cannot write (Linux: /usr/bin) keeps every data file in the per-user data
// folder, and writes nothing beside itself and nothing else in the user's home.
class InstalledProgram : public ProgramFixture {
 protected:
#ifdef _WIN32
  EnvironmentVariable data{"LOCALAPPDATA"};
#else
  EnvironmentVariable data{"XDG_DATA_HOME"};
#endif
  InstalledProgram() { data.set(temp / "data"); }

  void startFrom(const std::string& executableFolder) {
    installed = std::make_unique<app::Program>(
        app::Services{ui, fs, *registry, shell, windows, clock, executableFolder});
    installed->startUp();
    installed->saveUtilitiesAtClose();
  }
  std::unique_ptr<app::Program> installed;
  const std::vector<std::string> kDataFiles{"filesinfo.dat", "runmenu.dat", "utilities", "utilities.dat"};
};

TEST_F(InstalledProgram, InAFolderNobodyCanWriteKeepsItsDataFilesInThePerUserFolder) {
  // A folder that lies below a file: nobody, not even an administrator, can create anything in it.
  testing_support::writeBytes(temp / "usr", "a file, not a folder");
  startFrom(temp / "usr/bin" + sys::kSep);
  EXPECT_EQ(installed->settings.FilePath, temp / "data/Varnikit" + sys::kSep);
  EXPECT_EQ(entriesBelow(temp / "data/Varnikit"), kDataFiles);
  EXPECT_EQ(app::storeFolder(*registry, fs, temp / "usr/bin" + sys::kSep), installed->settings.FilePath)
      << "a second start looks for the lock where the first one keeps its store";
}

TEST_F(InstalledProgram, InAFolderWithoutWritePermissionWritesNothingBesideItself) {
  // As /usr/bin is to a user.
  const std::string bin = temp / "bin";
  testing_support::makeFolder(bin);
  const auto anyWrite = stdfs::perms::owner_write | stdfs::perms::group_write | stdfs::perms::others_write;
  stdfs::permissions(sys::toPath(bin), anyWrite, stdfs::perm_options::remove);
  const std::string probe = bin + sys::kSep + "probe";
  const bool binTakesFiles = std::ofstream(sys::toPath(probe)).is_open();
  stdfs::remove(sys::toPath(probe));
  if (binTakesFiles) {
    stdfs::permissions(sys::toPath(bin), stdfs::perms::owner_all, stdfs::perm_options::add);
    GTEST_SKIP() << "this account writes into a folder without write permission (an administrator's)";
  }
  startFrom(bin + sys::kSep);
  stdfs::permissions(sys::toPath(bin), stdfs::perms::owner_all, stdfs::perm_options::add);
  EXPECT_EQ(installed->settings.FilePath, temp / "data/Varnikit" + sys::kSep);
  EXPECT_EQ(entriesBelow(temp / "data/Varnikit"), kDataFiles);
  EXPECT_EQ(entriesBelow(bin), std::vector<std::string>{}) << "nothing beside the executable";
}

TEST_F(InstalledProgram, WithoutADataFolderSetUsesTheOneInsideHomeAndNothingElseThere) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows names the per-user data folder in LOCALAPPDATA alone";
#endif
  EnvironmentVariable home("HOME");
  data.unset();
  home.set(temp / "home");
  testing_support::makeFolder(temp / "home");
  testing_support::writeBytes(temp / "usr", "a file, not a folder");
  startFrom(temp / "usr/bin" + sys::kSep);
  EXPECT_EQ(installed->settings.FilePath, temp / "home/.local/share/Varnikit/");
  EXPECT_EQ(entriesBelow(temp / "home"),
            (std::vector<std::string>{".local", ".local/share", ".local/share/Varnikit",
                                      ".local/share/Varnikit/filesinfo.dat", ".local/share/Varnikit/runmenu.dat",
                                      ".local/share/Varnikit/utilities", ".local/share/Varnikit/utilities.dat"}));
}

}  // namespace
