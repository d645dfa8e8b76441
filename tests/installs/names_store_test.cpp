#include <gtest/gtest.h>

#include "installs/names.h"
#include "installs/store.h"
#include "sys/error.h"
#include "support/temp_folder.h"
#include "sys/encoding.h"
#include "sys/paths.h"

namespace {

using testing_support::readBytes;
using testing_support::TempFolder;
using testing_support::writeBytes;

TEST(InstallationNames, RuleIsTheSameOnEverySystem) {
  const struct {
    const char* name;
    bool valid;
  } cases[] = {
      {"Скины 2003", true}, {"a.b", true}, {".hidden", true}, {"CONSOLE", true}, {"COM0", true}, {"LPT10", true},
      {"", false}, {".", false}, {"..", false}, {"name.", false}, {"name ", false}, {" ", false},
      {"a\\b", false}, {"a/b", false}, {"../up", false}, {"C:", false}, {"a*", false}, {"a?", false},
      {"\"q\"", false}, {"<a>", false}, {"a|b", false}, {"tab\there", false}, {"line\r\nbreak", false},
      {"del\x7f", false}, {"c1\xC2\x85", false},
      {"CON", false}, {"con", false}, {"Nul.txt", false}, {"aux .dat", false}, {"PRN", false},
      {"COM1", false}, {"com9.x", false}, {"LPT1", false}, {"lpt9", false}, {"COM\xC2\xB9", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(installs::isValidInstallationName(c.name), c.valid) << c.name;
    EXPECT_EQ(installs::isValidNewInstallationName(c.name), c.valid) << c.name;
  }
  // The store folder's own files and their rewrites' temporary names, ASCII case ignored everywhere: no
  // new installation takes one, an old one of that name is still an installation.
  for (const char* name : {"list.dat", "LIST.DAT", "Files.Dat", "list.dat.new", "FILES.DAT.NEW"}) {
    EXPECT_FALSE(installs::isValidNewInstallationName(name)) << name;
    EXPECT_TRUE(installs::isValidInstallationName(name)) << name;
  }
  for (const char* name : {"info.dat", "list.dat.old", "files"}) EXPECT_TRUE(installs::isValidNewInstallationName(name));
}

class Store : public ::testing::Test {
 protected:
  TempFolder temp;
  sys::FileSystem& fs = sys::realFileSystem();
  std::string filePath = temp / "program" + sys::kSep;
  installs::Store store{fs, filePath};
  void SetUp() override { testing_support::makeFolder(filePath); }
};

TEST_F(Store, OpenListCreatesTheStoreAndAppendsAreCp1251WithCrLf) {
  EXPECT_TRUE(store.openList().empty());
  EXPECT_TRUE(testing_support::folderExists(filePath + "files"));
  EXPECT_EQ(readBytes(filePath + "files" + sys::kSep + "list.dat"), "");
  store.appendName("Скины");
  store.appendName("second");
  EXPECT_EQ(readBytes(store.listPath()), "\xD1\xEA\xE8\xED\xFB\r\nsecond\r\n");
  EXPECT_EQ(store.openList(), (std::vector<std::string>{"Скины", "second"}));
  store.saveList({"second"});
  EXPECT_EQ(readBytes(store.listPath()), "second\r\n");
}

TEST_F(Store, DescriptionKeepsItsLinesAndAnEmptyOneIsZeroBytes) {
  store.createInstallationFolder("A");
  store.writeDescriptionAndTime("A", "Модели\nвторая строка\n", "07.03.2003 14:05:09");
  EXPECT_EQ(readBytes(store.infoPath("A")), "\xCC\xEE\xE4\xE5\xEB\xE8\r\n\xE2\xF2\xEE\xF0\xE0\xFF \xF1\xF2\xF0\xEE\xEA\xE0\r\n");
  EXPECT_EQ(readBytes(store.timePath("A")), "07.03.2003 14:05:09\r\n");
  store.ensureInstallation("A");
  EXPECT_EQ(store.readInstallation("A").description, "Модели\nвторая строка\n");
  store.writeDescriptionAndTime("A", "", "07.03.2003 14:05:09");
  EXPECT_EQ(readBytes(store.infoPath("A")), "");
}

TEST_F(Store, RegisterFoldsOnlyAsciiAndRemovesTheFirstEqualLineOnly) {
  store.openList();
  EXPECT_FALSE(store.isInstalled("/cs/a.mdl"));
  EXPECT_EQ(readBytes(store.registerPath()), "");  // created empty by the search
  writeBytes(store.registerPath(), "/cs/A.MDL\r\n/cs/\xDF.wav\r\n/cs/b\r\n/cs/a.mdl\r\n");
  EXPECT_TRUE(store.isInstalled("/CS/a.mdl"));
  EXPECT_TRUE(store.isInstalled("/cs/Я.wav"));
  EXPECT_FALSE(store.isInstalled("/cs/я.wav"));     // Cyrillic letters keep their case
  EXPECT_FALSE(store.isInstalled("/cs/a.md"));      // whole lines only
  EXPECT_EQ(store.removeFromRegister({"/cs/a.mdl", "/cs/none"}), 1u);
  EXPECT_EQ(readBytes(store.registerPath()), "/cs/\xDF.wav\r\n/cs/b\r\n/cs/a.mdl\r\n");
  EXPECT_EQ(store.removeFromRegister({"/CS/B", "/cs/a.mdl"}), 2u);
  EXPECT_EQ(readBytes(store.registerPath()), "/cs/\xDF.wav\r\n");
}

TEST_F(Store, EnsureInstallationHealsAMissingFolderAndKeepsWhatIsThere) {
  store.openList();
  store.ensureInstallation("gone");
  for (const auto& path : {store.infoPath("gone"), store.timePath("gone"), store.filesPath("gone")}) {
    EXPECT_EQ(readBytes(path), "");
  }
  const auto empty = store.readInstallation("gone");
  EXPECT_TRUE(empty.files.empty());
  EXPECT_EQ(empty.time, "");
  writeBytes(store.filesPath("gone"), "/cs/a\r\n/cs/b\r\n");
  writeBytes(store.timePath("gone"), "08.01.2003 10:00:00\r\nextra\r\n");
  store.ensureInstallation("gone");
  const auto kept = store.readInstallation("gone");
  EXPECT_EQ(kept.files, (std::vector<std::string>{"/cs/a", "/cs/b"}));
  EXPECT_EQ(kept.time, "08.01.2003 10:00:00");
}

// A disk that fills up half-way through the register's append.
class FullAtTheRegister : public sys::FileSystem {
 public:
  std::string registerPath;
  void appendBytes(const std::string& path, std::string_view bytes) override {
    FileSystem::appendBytes(path, path == registerPath ? bytes.substr(0, bytes.size() / 2) : bytes);
    if (path == registerPath) throw sys::IoError("No space left on device");
  }
};

TEST_F(Store, ARecordOnARegisterEndedByHandStartsItsOwnLineAndAFullDiskLeavesNoHalfOfIt) {
  store.openList();
  store.createInstallationFolder("A");
  writeBytes(store.registerPath(), "/cs/gign.mdl");  // its last line break lost
  store.recordInstalledFile("A", "/cs/go.wav");
  EXPECT_EQ(readBytes(store.registerPath()), "/cs/gign.mdl\r\n/cs/go.wav\r\n");
  EXPECT_TRUE(store.isInstalled("/cs/gign.mdl"));

  FullAtTheRegister full;
  full.registerPath = store.registerPath();
  installs::Store onFullDisk(full, filePath);
  EXPECT_THROW(onFullDisk.recordInstalledFile("A", "/cs/v_ak47.mdl"), sys::IoError);
  EXPECT_EQ(readBytes(store.registerPath()), "/cs/gign.mdl\r\n/cs/go.wav\r\n");
  EXPECT_EQ(readBytes(store.filesPath("A")), "/cs/go.wav\r\n");
}

TEST_F(Store, ReservedFileNamesIgnoreAsciiCase) {
  for (const char* name : {"info.dat", "TIME.DAT", "Files.Dat", "files.dat.NEW"}) {
    EXPECT_TRUE(installs::Store::isReservedFileName(name)) << name;
  }
  for (const char* name : {"list.dat", "files.dat.bak", "gign.mdl"}) EXPECT_FALSE(installs::Store::isReservedFileName(name));
}

}  // namespace
