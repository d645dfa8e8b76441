#include <gtest/gtest.h>

#include "environment.h"
#include "sys/clock.h"
#include "sys/paths.h"

namespace {

std::string n(const std::string& s) {
  std::string out = s;
  for (char& c : out) {
    if (c == '/') c = sys::kSeparator;
  }
  return out;
}

TEST(Paths, BareNameFolderAndExtension) {
  EXPECT_EQ(sys::bareName(n("/g/models/player/gign/gign.mdl")), "gign.mdl");
  EXPECT_EQ(sys::bareName("gign.mdl"), "gign.mdl");
  EXPECT_EQ(sys::folderWithSeparator(n("/g/hl.exe")), n("/g/"));
  EXPECT_EQ(sys::folderWithSeparator("hl.exe"), "");
  EXPECT_EQ(sys::extension(n("/g/sound/go.wav")), ".wav");
  EXPECT_EQ(sys::extension(n("/g/maps.old/readme")), "");
  EXPECT_EQ(sys::extension(n("/g/a.tar.gz")), ".gz");
  EXPECT_EQ(sys::withoutTrailingSeparators(n("/g/cstrike//")), n("/g/cstrike"));
  EXPECT_EQ(sys::parentFolder(n("/g/x.exe")), n("/g"));
}

TEST(Paths, APathLiesInsideAFolderByItsTextWithDotsResolved) {
#ifdef _WIN32
  const bool windows = true;
  const std::string drive = "C:";
#else
  const bool windows = false;
  const std::string drive;
#endif
  const auto p = [&](const std::string& path) { return drive + n(path); };
  const std::string game = p("/g/cstrike");
  const struct {
    std::string path;
    bool inside;
  } cases[] = {
      {p("/g/cstrike/models/gign.mdl"), true},
      {p("/g/cstrike/./models/../gign.mdl"), true},
      {p("/g/cstrike"), false},  // the folder itself
      {p("/g/cstrike/"), false},
      {p("/g/cstrike2/gign.mdl"), false},
      {p("/g/cstrike/../valve/gign.mdl"), false},
      {p("/g/cstrike/models/../../gign.mdl"), false},
      {p("/g/cstrikE/models/gign.mdl"), windows},  // letter case as the system's names have it
      {p("/g/cstrike/models/gign.mdl:hidden"), !windows},  // a stream of the file on Windows
      {p("/old/cstrike/models/gign.mdl"), false},
      {"cstrike/models/gign.mdl", false},  // not absolute
      {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(sys::liesInside(c.path, game), c.inside) << c.path;
  EXPECT_TRUE(sys::liesInside(p("/g/cstrike/x.wav"), p("/g/cstrike/")));
  EXPECT_FALSE(sys::liesInside(p("/g/cstrike/x.wav"), ""));
  if (windows) {
    EXPECT_TRUE(sys::liesInside("c:\\G\\CSTRIKE\\models/x.mdl", game)) << "either slash, either case of the drive";
    EXPECT_TRUE(sys::liesInside("C:\\Игры\\Cstrike\\x.mdl", "C:\\игры\\cstrike")) << "Cyrillic case too";
    EXPECT_FALSE(sys::liesInside("D:\\g\\cstrike\\x.mdl", game));
  }
}

#ifdef _WIN32
TEST(Paths, WindowsColonEndsAFolderPart) {
  EXPECT_EQ(sys::bareName("C:gign.mdl"), "gign.mdl");
  EXPECT_EQ(sys::folderWithSeparator("C:gign.mdl"), "C:");
  EXPECT_EQ(sys::parentFolder("C:\\hl.exe"), "C:\\");
  EXPECT_EQ(sys::withoutTrailingSeparators("C:\\"), "C:");
}

TEST(Paths, WindowsPathsWithDrivesBothSlashesAndShares) {
  struct Case {
    const char* path;
    const char* bare;
    const char* folder;
    const char* extension;
  };
  for (const Case& c : {
           Case{"C:\\Games\\cstrike\\models\\gign.mdl", "gign.mdl", "C:\\Games\\cstrike\\models\\", ".mdl"},
           Case{"C:/Games/cstrike/sound/go.wav", "go.wav", "C:/Games/cstrike/sound/", ".wav"},
           Case{"D:\\Игры\\Модели.old\\readme", "readme", "D:\\Игры\\Модели.old\\", ""},
           Case{"\\\\server\\share\\a.b.mdl", "a.b.mdl", "\\\\server\\share\\", ".mdl"},
           Case{"C:x.wav", "x.wav", "C:", ".wav"},
           Case{"x.wav", "x.wav", "", ".wav"},
       }) {
    EXPECT_EQ(sys::bareName(c.path), c.bare) << c.path;
    EXPECT_EQ(sys::folderWithSeparator(c.path), c.folder) << c.path;
    EXPECT_EQ(sys::extension(c.path), c.extension) << c.path;
  }
  EXPECT_EQ(sys::withTrailingSeparator("C:\\Games"), "C:\\Games\\");
  EXPECT_EQ(sys::withTrailingSeparator("C:/Games/"), "C:/Games/");
  EXPECT_EQ(sys::withoutTrailingSeparators("C:\\Games\\/"), "C:\\Games");
}

// Text that is not valid in one encoding becomes U+FFFD in the other instead of stopping the program:
// a file name with a lone surrogate can lie in a game folder.
TEST(Paths, WideTextConversionNeverThrows) {
  EXPECT_EQ(sys::toWide("C:\\Игры\\模型"), L"C:\\Игры\\模型");
  EXPECT_EQ(sys::fromWide(L"C:\\Игры\\模型"), "C:\\Игры\\模型");
  EXPECT_EQ(sys::fromWide(std::wstring{L'a', wchar_t(0xD800), L'b'}), "a\xEF\xBF\xBD" "b");
  EXPECT_EQ(sys::toWide("a\xFF" "b"), (std::wstring{L'a', wchar_t(0xFFFD), L'b'}));
  EXPECT_EQ(sys::fromPath(sys::toPath("C:\\Игры")), "C:\\Игры");
  EXPECT_NO_THROW(sys::toPath("bad \xC0 name"));
}
#endif

TEST(Paths, PosixNamesMayHoldColonsAndRootKeepsItsSlash) {
#ifdef _WIN32
  GTEST_SKIP() << "a colon is part of a Linux name; on Windows it ends a folder part (WindowsColonEndsAFolderPart)";
#endif
  EXPECT_EQ(sys::bareName("/g/C:gign.mdl"), "C:gign.mdl");
  EXPECT_EQ(sys::parentFolder("/hl"), "/");
}

// Where the program keeps its data when its own folder cannot take them, and whose home that is.
TEST(Paths, UserFoldersComeFromTheEnvironment) {
#ifdef _WIN32
  testing_support::EnvironmentVariable data("LOCALAPPDATA");
  testing_support::EnvironmentVariable home("USERPROFILE");
  data.set("C:\\Users\\Игрок\\AppData\\Local");
  home.set("C:\\Users\\Игрок");
  EXPECT_EQ(sys::userDataFolder(), "C:\\Users\\Игрок\\AppData\\Local\\Varnikit\\");
  EXPECT_EQ(sys::homeFolder(), "C:\\Users\\Игрок");
  data.unset();
  EXPECT_EQ(sys::userDataFolder(), "");
#else
  testing_support::EnvironmentVariable data("XDG_DATA_HOME");
  testing_support::EnvironmentVariable home("HOME");
  data.set("/data/игрок/");
  home.set("/home/игрок");
  EXPECT_EQ(sys::userDataFolder(), "/data/игрок/Varnikit/");
  EXPECT_EQ(sys::homeFolder(), "/home/игрок");
  data.unset();
  EXPECT_EQ(sys::userDataFolder(), "/home/игрок/.local/share/Varnikit/");
  home.unset();
  EXPECT_EQ(sys::userDataFolder(), "");
#endif
}

TEST(Dates, ShortDateAndLongTimeFormats) {
  const sys::DateTime t{{2003, 3, 7}, 14, 5, 9};
  EXPECT_EQ(sys::shortDate(t.date), "07.03.2003");
  EXPECT_EQ(sys::longTime(t), "14:05:09");
  EXPECT_EQ(sys::dateTime(t), "07.03.2003 14:05:09");
}

TEST(Dates, ParsingAcceptsExactlyTheShortForm) {
  EXPECT_EQ(sys::parseShortDate("08.01.2003"), (sys::Date{2003, 1, 8}));
  EXPECT_EQ(sys::parseShortDate("29.02.2004"), (sys::Date{2004, 2, 29}));
  for (const char* bad : {"", "8.1.2003", "29.02.2003", "32.01.2003", "01.13.2003", "2003-01-08", "08.01.2003 ",
                          "aa.bb.cccc", "неизвестно"}) {
    EXPECT_FALSE(sys::parseShortDate(bad).has_value()) << bad;
  }
}

TEST(Dates, AddingDaysCrossesMonthsYearsAndLeapDays) {
  EXPECT_EQ(sys::addDays({2003, 1, 8}, 31), (sys::Date{2003, 2, 8}));
  EXPECT_EQ(sys::addDays({2003, 12, 20}, 31), (sys::Date{2004, 1, 20}));
  EXPECT_EQ(sys::addDays({2004, 2, 28}, 1), (sys::Date{2004, 2, 29}));
  EXPECT_EQ(sys::addDays({2003, 3, 1}, -1), (sys::Date{2003, 2, 28}));
}

}  // namespace
