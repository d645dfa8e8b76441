#include <gtest/gtest.h>

#include <random>

#include "catalogue/descriptions.h"
#include "catalogue/files_list.h"
#include "support/fakes.h"
#include "support/temp_folder.h"
#include "sys/encoding.h"
#include "sys/error.h"
#include "sys/filesystem.h"
#include "sys/paths.h"

namespace {

using testing_support::readBytes;
using testing_support::writeBytes;

TEST(DescriptionRule, KeysMatchAnywhereInThePathFoldingOnlyAsciiLetters) {
  const catalogue::Descriptions d({".wav", "A", ".WAV", "B", ".mdl", "Model", "", "never", ".модель", "Ru"});
  const struct {
    const char* path;
    std::optional<std::string> description;
  } cases[] = {
      {"C:\\cs\\sound\\a.wav", "A / B"},      // .wav then .WAV, in file order
      {"/cs/sound/radio/go.wav.bak", "A / B"},  // anywhere, not only at the end
      {"/cs/x.wavs/readme.txt", "A / B"},       // even in a folder's name
      {"/cs/x.MDL", "Model"},
      {"/cs/x.txt", std::nullopt},              // no key applies; the empty key never does
      {"/cs/x.модель", "Ru"},
      {"/cs/x.МОДЕЛЬ", std::nullopt},           // Cyrillic letters only as they are
      {"/cs/x.Модель", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(d.describe(c.path), c.description) << c.path;
}

TEST(DescriptionRule, EmptyTextsStillJoinAndOddLastKeyIsIgnored) {
  EXPECT_EQ(catalogue::Descriptions({".wav", "", ".wav", "B"}).describe("/a.wav"), " / B");
  const catalogue::Descriptions odd({".wav", "A", ".mdl"});
  EXPECT_EQ(odd.records().size(), 1u);
  EXPECT_EQ(odd.describe("/x.mdl"), std::nullopt);
  EXPECT_EQ(odd.describe("/x.wav"), "A");
}

class DescriptionsFile : public ::testing::Test {
 protected:
  testing_support::TempFolder temp;
  sys::FileSystem& fs = sys::realFileSystem();
  std::string file = temp / "filesinfo.dat";
};

TEST_F(DescriptionsFile, AppendedRecordsAreJoinedInOrderInCp1251) {
  catalogue::appendDescription(fs, file, ".wav", "звук");
  catalogue::appendDescription(fs, file, ".wav", "B");
  EXPECT_EQ(readBytes(file), ".wav\r\n\xE7\xE2\xF3\xEA\r\n.wav\r\nB\r\n");
  EXPECT_EQ(catalogue::readDescriptions(fs, file).describe("/sound/go.wav"), "звук / B");
}

TEST_F(DescriptionsFile, EachLineOfARecordReadsBackAsItWasWritten) {
  // "ВЁ" in cp1251 is C2 A8, which a reader would take for UTF-8 "¨"; beside a key that is plain cp1251.
  catalogue::appendDescription(fs, file, ".модель", "ВЁ");
  const auto records = catalogue::readDescriptions(fs, file).records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].key, ".модель");
  EXPECT_EQ(records[0].text, "ВЁ");
}

TEST_F(DescriptionsFile, AppendKeepsRecordsAlignedInAHandEditedFile) {
  writeBytes(file, ".wav\r\nA\r\n.mdl");  // a key without its text and without a line end
  catalogue::appendDescription(fs, file, ".bsp", "Карта\r\nвторая строка");
  const auto d = catalogue::readDescriptions(fs, file);
  ASSERT_EQ(d.records().size(), 3u);
  EXPECT_EQ(d.records()[1].key, ".mdl");
  EXPECT_EQ(d.records()[1].text, "");
  EXPECT_EQ(d.records()[2].key, ".bsp");
  EXPECT_EQ(d.records()[2].text, "Карта  вторая строка");
  EXPECT_EQ(d.describe("/maps/de_dust.bsp"), "Карта  вторая строка");
}

TEST_F(DescriptionsFile, AnEditReplacesOnlyTheRecordsOfExactlyThatKey) {
  const struct {
    const char* before;
    const char* key;
    const char* text;
    const char* after;
  } cases[] = {
      // Every ".wav" record goes, the new one stands where the first stood; ".WAV" and others stay.
      {".wav\r\nA\r\n.WAV\r\nW\r\n.wav\r\nB\r\n.mdl\r\nM\r\n", ".wav", "Звуки",
       ".wav\r\n\xC7\xE2\xF3\xEA\xE8\r\n.WAV\r\nW\r\n.mdl\r\nM\r\n"},
      {".mdl\r\nM\r\n", ".wav", "S", ".mdl\r\nM\r\n.wav\r\nS\r\n"},          // no record yet: at the end
      {"", ".wav", "S", ".wav\r\nS\r\n"},                                         // an empty file
      {".mdl\r\nM\r\n.wav", ".wav", "S", ".mdl\r\nM\r\n.wav\r\nS\r\n"},      // a key left without its text
      {".bsp\r\nK\r\n.mdl", ".bsp", "a\r\nb", ".bsp\r\na  b\r\n.mdl\r\n\r\n"},  // hand-edited, kept aligned
      {".wav\nA\n", ".wav", "", ".wav\r\n\r\n"},                                 // LF-only read, CR LF written
  };
  for (const auto& c : cases) {
    writeBytes(file, c.before);
    catalogue::replaceDescription(fs, file, c.key, c.text);
    EXPECT_EQ(readBytes(file), c.after) << c.before;
  }
  EXPECT_FALSE(testing_support::fileExists(file + ".new")) << "the temporary file is renamed over the old one";
}

TEST_F(DescriptionsFile, RepeatedEditsKeepOneDescription) {
  catalogue::replaceDescription(fs, file, ".wav", "Звук");  // a missing file is created
  catalogue::replaceDescription(fs, file, ".wav", "Звуки");
  catalogue::replaceDescription(fs, file, ".wav", "Звуки игры");
  EXPECT_EQ(catalogue::readDescriptions(fs, file).describe("/sound/go.wav"), "Звуки игры");
}

// A file system where a file exists but cannot be read, as a locked or forbidden file would.
class UnreadableFile final : public sys::FileSystem {
 public:
  std::string path;
  std::string readText(const std::string& p) override {
    if (p == path) throw sys::IoError("Permission denied");
    return sys::FileSystem::readText(p);
  }
};

TEST_F(DescriptionsFile, MissingFileIsCreatedEmptyButAnUnreadableOneIsNeverEmptied) {
  EXPECT_TRUE(catalogue::readOrCreateDescriptions(fs, file).records().empty());
  EXPECT_EQ(readBytes(file), "");

  writeBytes(file, ".wav\r\nA\r\n");
  UnreadableFile locked;
  locked.path = file;
  EXPECT_THROW(catalogue::readOrCreateDescriptions(locked, file), sys::IoError);
  EXPECT_EQ(readBytes(file), ".wav\r\nA\r\n");
}

class FilesListRead : public DescriptionsFile {
 protected:
  std::string list = temp / "fileslist.dat";
};

TEST_F(FilesListRead, RowsAreNumberedNamedAndDescribed) {
  const std::string s = sys::kSep;
  const std::string wav = s + "cs" + s + "sound" + s + "go.wav";
  const std::string middle = s + "cs" + s + "x.wav.bak";
  const std::string other = s + "cs" + s + "maps" + s + "de_dust.bsp";
  writeBytes(list, wav + "\r\n" + middle + "\r\n" + other + "\r\n");
  writeBytes(file, ".wav\r\nЗвук\r\n");
  const auto rows = catalogue::FilesList::read(fs, list, file);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows.number(0), "1");
  EXPECT_EQ(rows.number(2), "3");
  EXPECT_EQ(rows.name(0), "go.wav");
  EXPECT_EQ(rows.path(0), wav);
  EXPECT_EQ(rows.description(0), "Звук");
  EXPECT_EQ(rows.description(1), "Звук");
  EXPECT_EQ(rows.description(2), "информации нет");
}

TEST_F(FilesListRead, LinesAreSplitAndDecodedAsEveryOtherListFileIs) {
  // The list finds its lines a word at a time; every way a break can fall must give what splitLines
  // gives, each line decoded on its own (cp1251 beside UTF-8).
  std::vector<std::string> files = {
      "a\r\nb\r\n", "a\nb", "a\n\nb\r\n\r\n", "\n", "1234567\n", "12345678\n\v\v\v\v\v\v\v\v\n", "\n\n\n\n\n\n\n\n\n",
      "a\r", "\r\n\r\n", "x\xc7\xe2\xf3\xea.wav\r\n\xd0\x97\xd0\xb2\xd1\x83\xd0\xba.wav\r\nplain\r\n"};
  std::mt19937 random(1374);
  const char alphabet[] = {'a', '\n', '\r', '\v', '\x0b', '\x8a', '\x0a', '.'};
  for (int i = 0; i < 50; ++i) {
    std::string bytes;
    for (std::size_t n = random() % 40; n > 0; --n) bytes += alphabet[random() % sizeof alphabet];
    files.push_back(bytes);
  }
  for (const auto& bytes : files) {
    writeBytes(list, bytes);
    const auto rows = catalogue::FilesList::read(fs, list, file);
    std::vector<std::string> got;
    for (std::size_t row = 0; row < rows.size(); ++row) got.emplace_back(rows.path(row));
    std::vector<std::string> expected;
    for (const auto& line : sys::splitLines(bytes)) expected.push_back(sys::decodeLine(line));
    EXPECT_EQ(got, expected) << testing::PrintToString(bytes);
  }
}

TEST_F(FilesListRead, NoCatalogueGivesNoRowsAndLeavesTheDescriptionsAlone) {
  EXPECT_TRUE(catalogue::FilesList::read(fs, list, file).empty());
  EXPECT_TRUE(catalogue::FilesList::read(fs, "", file).empty());
  EXPECT_FALSE(testing_support::fileExists(file));
  writeBytes(list, "/cs/a.wav\r\n");
  EXPECT_EQ(catalogue::FilesList::read(fs, list, file).description(0), "информации нет");
  EXPECT_TRUE(testing_support::fileExists(file)) << "created empty once there is a line to describe";
}

TEST_F(FilesListRead, UnreadableCatalogueIsAnError) {
  writeBytes(list, "/cs/a.wav\r\n");
  UnreadableFile locked;
  locked.path = list;
  EXPECT_THROW(catalogue::FilesList::read(locked, list, file), sys::IoError);
  EXPECT_EQ(readBytes(list), "/cs/a.wav\r\n");
}

TEST(LaunchFile, StartsInTheFilesOwnFolder) {
  testing_support::RecordingShell shell;
  const std::string s = sys::kSep;
  catalogue::launchFile(shell, s + "cs" + s + "models" + s + "readme.txt");
  catalogue::launchFile(shell, s + "autoexec.bat");
  catalogue::launchFile(shell, "");  // the empty row starts nothing
  ASSERT_EQ(shell.calls.size(), 2u);
  EXPECT_EQ(shell.calls[0].file, s + "cs" + s + "models" + s + "readme.txt");
  EXPECT_EQ(shell.calls[0].params, "");
  EXPECT_EQ(shell.calls[0].workFolder, s + "cs" + s + "models");
  EXPECT_EQ(shell.calls[0].show, sys::ShowCommand::Show);
  EXPECT_EQ(shell.calls[1].workFolder, s) << "a root keeps its separator";
}

}  // namespace
