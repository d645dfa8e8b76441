#include <gtest/gtest.h>

#include "environment.h"
#include "support/temp_folder.h"
#include "sys/registry.h"

namespace {

using testing_support::readBytes;
using testing_support::TempFolder;
using testing_support::writeBytes;

TEST(HiveFile, WritesARegeditExportWithEscapes) {
  TempFolder temp;
  sys::HiveFileRegistry hive(temp / "config/Varnikit/HKEY_CURRENT_USER.reg");
  ASSERT_TRUE(hive.writeValues("\\Software\\Varnikit", {{"CSDir", "C:\\Games\\\"cs\""}, {"CSFile", ""}}));
  EXPECT_EQ(readBytes(hive.path()),
            "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Varnikit]\n"
            "\"CSDir\"=\"C:\\\\Games\\\\\\\"cs\\\"\"\n\"CSFile\"=\"\"\n");
  const auto values = hive.readValues("\\Software\\Varnikit", {"CSDir", "CSFile", "Missing"});
  ASSERT_TRUE(values);
  EXPECT_EQ(*values, (std::vector<std::string>{"C:\\Games\\\"cs\"", "", ""}));
}

TEST(HiveFile, KeysAreFoundWhateverTheirAsciiCase) {
  TempFolder temp;
  sys::HiveFileRegistry hive(temp / "hive.reg");
  hive.writeValues("\\Software\\Varnikit", {{"CSDir", "/games/cstrike"}});
  const auto values = hive.readValues("\\SOFTWARE\\varnikit", {"csdir"});
  ASSERT_TRUE(values);
  EXPECT_EQ(values->at(0), "/games/cstrike");
}

TEST(HiveFile, MissingKeyOpensNothingAndDeleteTakesValuesAndSubkeys) {
  TempFolder temp;
  sys::HiveFileRegistry hive(temp / "hive.reg");
  EXPECT_FALSE(hive.readValues("\\Software\\Varnikit", {"CSDir"}));
  hive.deleteKey("\\Software\\Varnikit");  // deleting what is not there is no error
  hive.writeValues("\\Software\\Varnikit", {{"CSDir", "x"}});
  hive.writeValues("\\Software\\Varnikit\\Sub", {{"A", "y"}});
  hive.writeValues("\\Software\\Valve\\Half-Life", {{"InstallPath", "z"}});
  hive.deleteKey("\\software\\VARNIKIT");
  EXPECT_FALSE(hive.readValues("\\Software\\Varnikit", {"CSDir"}));
  EXPECT_FALSE(hive.readValues("\\Software\\Varnikit\\Sub", {"A"}));
  EXPECT_EQ(hive.readValues("\\Software\\Valve\\Half-Life", {"InstallPath"})->at(0), "z");
}

TEST(HiveFile, HandWrittenFileIsRead) {
  TempFolder temp;
  writeBytes(temp / "hive.reg",
             "REGEDIT4\r\n; a comment\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Valve\\Half-Life]\r\n"
             "\"InstallPath\"=\"/home/user/Half-Life\"\r\n\"Number\"=dword:00000001\r\n"
             "[HKEY_LOCAL_MACHINE\\Software\\Other]\r\n\"InstallPath\"=\"elsewhere\"\r\n");
  sys::HiveFileRegistry hive(temp / "hive.reg");
  const auto values = hive.readValues("\\SOFTWARE\\Valve\\Half-Life", {"InstallPath", "Number"});
  ASSERT_TRUE(values);
  EXPECT_EQ(*values, (std::vector<std::string>{"/home/user/Half-Life", ""}));
  EXPECT_FALSE(hive.readValues("\\Software\\Other", {"InstallPath"}));
}

TEST(HiveFile, ValuesThatAreNotStringsAreWrittenBackAsTheyStood) {
  TempFolder temp;
  const std::string dword = "\"Number\"=dword:0000002a";
  const std::string hex = "\"Blob\"=hex:01,02,03,\\\n  04,05";
  const std::string byDefault = "@=\"default text\"";
  const std::string expandable = "\"Path\"=hex(2):25,00,41,00,00,00";
  writeBytes(temp / "hive.reg",
             "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Varnikit]\r\n\"CSDir\"=\"/games\"\r\n" + dword +
                 "\r\n\"Blob\"=hex:01,02,03,\\\r\n  04,05\r\n" + byDefault + "\r\n\"ListUpdate\"=dword:00000002\r\n" +
                 "[HKEY_CURRENT_USER\\Software\\Other]\r\n" + expandable + "\r\n");
  sys::HiveFileRegistry hive(temp / "hive.reg");
  // A string written over a value of another type takes its place; the others stay as they were.
  ASSERT_TRUE(hive.writeValues("\\Software\\Varnikit", {{"CSFile", "/games/hl"}, {"listupdate", "3"}}));
  EXPECT_EQ(readBytes(hive.path()), "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Varnikit]\n\"CSDir\"=\"/games\"\n"
                                    "\"CSFile\"=\"/games/hl\"\n\"listupdate\"=\"3\"\n" +
                                        dword + "\n" + hex + "\n" + byDefault + "\n" +
                                        "\n[HKEY_CURRENT_USER\\Software\\Other]\n" + expandable + "\n");
  EXPECT_EQ(*hive.readValues("\\Software\\Varnikit", {"Number", "Blob", "ListUpdate", "CSDir"}),
            (std::vector<std::string>{"", "", "3", "/games"}));
}

TEST(HiveFile, CyrillicValuesRoundTrip) {
  TempFolder temp;
  sys::HiveFileRegistry hive(temp / "hive.reg");
  hive.writeValues("\\Software\\Varnikit", {{"CSDir", "/игры/cstrike"}});
  EXPECT_EQ(hive.readValues("\\Software\\Varnikit", {"CSDir"})->at(0), "/игры/cstrike");
}

TEST(HiveFile, LivesInTheUsersConfigFolder) {
#ifdef _WIN32
  GTEST_SKIP() << "the hive file keeps the settings on Linux; Windows keeps them in its registry";
#endif
  testing_support::EnvironmentVariable config("XDG_CONFIG_HOME");
  testing_support::EnvironmentVariable home("HOME");
  home.set("/home/игрок");
  config.set("/tmp/config");
  EXPECT_EQ(sys::defaultHivePath(), "/tmp/config/Varnikit/HKEY_CURRENT_USER.reg");
  config.set("");
  EXPECT_EQ(sys::defaultHivePath(), "/home/игрок/.config/Varnikit/HKEY_CURRENT_USER.reg");
  config.unset();
  EXPECT_EQ(sys::defaultHivePath(), "/home/игрок/.config/Varnikit/HKEY_CURRENT_USER.reg");
}

}  // namespace
