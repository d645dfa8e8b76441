// The program's data files move between machines (a program folder copied from Windows to Linux and
// back), so both builds must write the same bytes and read each other's. Both compare their own output
// with the same committed files under tests/fixtures, which were made with the code page's reference
// table, not with this program.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "sys/filesystem.h"
#include "sys/paths.h"

namespace {

using testing_support::readBytes;
using testing_support::TempFolder;

std::string fixture(const std::string& name) {
  return sys::executableFolder() + "fixtures" + sys::kSep + "cp1251" + sys::kSep + name;
}

const std::vector<std::string> kLines = {
    "Модели игроков",
    "C:\\Games\\Half-Life\\cstrike\\models\\player\\gign\\gign.mdl",
    "",
    "Ёжик №5 — «кавычки» € ‰ ™",
    "/home/zoé/模型.mdl",  // no place in cp1251: this line stays UTF-8
    "ASCII only; Z:\\path with spaces\\file.wav",
    "щ Щ ъ Ъ я Я ё ї Ї ґ Ґ",
};

TEST(TextExchange, LinesWrittenHereAreTheCommittedBytes) {
  TempFolder temp;
  sys::FileSystem& fs = sys::realFileSystem();
  const std::string expected = readBytes(fixture("lines.dat"));
  ASSERT_FALSE(expected.empty());

  fs.writeLines(temp / "plain.dat", kLines);
  EXPECT_EQ(readBytes(temp / "plain.dat"), expected);
  fs.writeLines(temp / "atomic.dat", kLines, true);
  EXPECT_EQ(readBytes(temp / "atomic.dat"), expected);
  for (const auto& line : kLines) fs.appendLine(temp / "appended.dat", line);
  EXPECT_EQ(readBytes(temp / "appended.dat"), expected);
  {
    auto sink = fs.createLineSink(temp / "sink.dat");
    for (const auto& line : kLines) sink->write(line);
    sink->close();
  }
  EXPECT_EQ(readBytes(temp / "sink.dat"), expected);
}

TEST(TextExchange, CommittedLinesReadBackAsWritten) {
  EXPECT_EQ(sys::realFileSystem().readLines(fixture("lines.dat")), kLines);
}

TEST(TextExchange, WholeTextKeepsItsBreaksBothWays) {
  TempFolder temp;
  sys::FileSystem& fs = sys::realFileSystem();
  const std::string expected = readBytes(fixture("text.dat"));
  fs.writeText(temp / "info.dat", "Описание набора\nвторая строка\r\nтретья");
  EXPECT_EQ(readBytes(temp / "info.dat"), expected);
  EXPECT_EQ(fs.readLines(fixture("text.dat")), (std::vector<std::string>{"Описание набора", "вторая строка", "третья"}));
  EXPECT_EQ(fs.readText(fixture("text.dat")), expected) << "the raw text keeps CR LF";
}

}  // namespace
