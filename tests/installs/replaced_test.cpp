// Which installation replaced a game file, as the file list marks it.
#include <gtest/gtest.h>

#include "installs/replaced.h"
#include "support/temp_folder.h"
#include "sys/paths.h"

namespace {

TEST(ReplacedFiles, EveryListedRecordCountsCaseIgnoredAsTheRegisterAndUnlistedOnesAddNothing) {
  testing_support::TempFolder temp;
  sys::FileSystem fs;
  installs::Store store(fs, temp / "prog" + sys::kSep);
  fs.createFolder(temp / "prog");
  EXPECT_EQ(installs::ReplacedFiles::read(store).size(), 0u);  // no store yet: nothing, and nothing made
  EXPECT_FALSE(fs.exists(store.root()));

  store.openList();
  for (const char* name : {"Skins", "Звуки", "Stray"}) store.ensureInstallation(name);
  store.saveList({"Skins", "Звуки"});
  store.recordInstalledFile("Skins", "C:\\cs\\models\\gign.mdl");
  store.recordInstalledFile("Звуки", "C:\\cs\\sound\\go.wav");
  store.recordInstalledFile("Stray", "C:\\cs\\sound\\stray.wav");  // its folder is not listed

  const auto replaced = installs::ReplacedFiles::read(store);
  ASSERT_NE(replaced.installationOf("C:\\CS\\MODELS\\GIGN.MDL"), nullptr);
  EXPECT_EQ(*replaced.installationOf("C:\\CS\\MODELS\\GIGN.MDL"), "Skins");
  ASSERT_NE(replaced.installationOf("C:\\cs\\sound\\go.wav"), nullptr);
  EXPECT_EQ(*replaced.installationOf("C:\\cs\\sound\\go.wav"), "Звуки");
  EXPECT_EQ(replaced.installationOf("C:\\cs\\sound\\stray.wav"), nullptr);
  EXPECT_EQ(replaced.installationOf("C:\\cs\\models\\gign.mdl.bak"), nullptr);
  EXPECT_EQ(replaced.size(), 2u);
}

}  // namespace
