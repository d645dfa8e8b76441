#include <gtest/gtest.h>

#include "sys/encoding.h"
#include "sys/error.h"
#include "sys/filesystem.h"
#include "support/temp_folder.h"

#ifdef _WIN32
#include <windows.h>

#include "sys/paths.h"
#else
#include <iconv.h>
#endif

namespace {

using testing_support::TempFolder;

// The system's own converter, to check our table against the full code page: iconv on Linux, where 0x98
// is unassigned, and MultiByteToWideChar on Windows, which gives 0x98 as U+0098 just as our table does.
std::optional<std::string> systemFromCp1251(unsigned char byte) {
  char in[1] = {static_cast<char>(byte)};
#ifdef _WIN32
  wchar_t out[4] = {};
  const int length = MultiByteToWideChar(1251, MB_ERR_INVALID_CHARS, in, 1, out, 4);
  if (length <= 0) return std::nullopt;
  return sys::fromWide(std::wstring_view(out, static_cast<std::size_t>(length)));
#else
  iconv_t cd = iconv_open("UTF-8", "CP1251");
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  char out[8] = {};
  char* inPtr = in;
  char* outPtr = out;
  size_t inLeft = 1, outLeft = sizeof out;
  const size_t result = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (result == static_cast<size_t>(-1)) return std::nullopt;
  return std::string(out, sizeof out - outLeft);
#endif
}

TEST(Cp1251, EveryByteAgreesWithTheSystemCodePage) {
  int compared = 0;
  for (int byte = 0; byte < 256; ++byte) {
    const std::string ours = sys::fromCp1251(std::string(1, static_cast<char>(byte)));
    const auto system = systemFromCp1251(static_cast<unsigned char>(byte));
    if (!system) {
      EXPECT_EQ(byte, 0x98) << "only 0x98 is unassigned in the code page";
      continue;
    }
    EXPECT_EQ(ours, *system) << "byte " << byte;
    ++compared;
  }
  EXPECT_GE(compared, 255);
}

TEST(Cp1251, EveryByteSurvivesARoundTrip) {
  for (int byte = 0; byte < 256; ++byte) {
    const std::string bytes(1, static_cast<char>(byte));
    const auto back = sys::toCp1251(sys::fromCp1251(bytes));
    ASSERT_TRUE(back.has_value()) << byte;
    EXPECT_EQ(*back, bytes) << byte;
  }
}

TEST(LineEncoding, CyrillicIsWrittenInCp1251AndOtherScriptsInUtf8) {
  EXPECT_EQ(sys::encodeLine("Привет"), "\xCF\xF0\xE8\xE2\xE5\xF2");
  EXPECT_EQ(sys::encodeLine("Ёлка №1"), "\xA8\xEB\xEA\xE0 \xB9" "1");
  EXPECT_EQ(sys::encodeLine("plain"), "plain");
  // é and 模 have no place in cp1251: the line stays UTF-8, nothing becomes '?'.
  EXPECT_EQ(sys::encodeLine("/home/zoé/模型.mdl"), "/home/zoé/模型.mdl");
  EXPECT_EQ(sys::encodeLine("Привет é"), "Привет é");
}

TEST(LineEncoding, Cp1251BytesThatLookLikeUtf8AreWrittenAsUtf8) {
  // "ВЁ" in cp1251 is C2 A8, valid UTF-8 for "¨"; "ЗЃ" is C7 81, valid UTF-8 for "ǁ". Written in cp1251 they
  // would come back as other text.
  for (const char* text : {"ВЁ", "ЗЃ", "a ВЁ b"}) {
    EXPECT_EQ(sys::decodeLine(sys::encodeLine(text)), text);
  }
  EXPECT_EQ(sys::encodeLine("ВЁ"), "ВЁ");
  EXPECT_EQ(sys::encodeLine("Жёлтый"), "\xC6\xB8\xEB\xF2\xFB\xE9") << "ordinary text stays cp1251";
}

TEST(LineEncoding, ReaderTellsUtf8FromCp1251) {
  EXPECT_EQ(sys::decodeLine("\xCF\xF0\xE8\xE2\xE5\xF2"), "Привет");
  EXPECT_EQ(sys::decodeLine("/home/zoé/模型.mdl"), "/home/zoé/模型.mdl");
  EXPECT_EQ(sys::decodeLine("ascii only"), "ascii only");
}

TEST(LineEncoding, AsciiCaseFoldingLeavesCyrillicAlone) {
  EXPECT_EQ(sys::upperAscii("gign.mdl"), "GIGN.MDL");
  EXPECT_EQ(sys::upperAscii("модель.wav"), "модель.WAV");
  EXPECT_TRUE(sys::equalsIgnoringAsciiCase("C:\\Games\\GIGN.mdl", "c:\\games\\gign.MDL"));
  EXPECT_FALSE(sys::equalsIgnoringAsciiCase("Модель", "модель"));
}

TEST(TextFiles, LinesAreWrittenWithCrLfAndReadWithEitherEnding) {
  TempFolder temp;
  sys::FileSystem& fs = sys::realFileSystem();
  const std::string file = temp / "lines.dat";
  fs.writeLines(file, {"Установка", "", "C:\\x y"});
  EXPECT_EQ(testing_support::readBytes(file), "\xD3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE0\r\n\r\nC:\\x y\r\n");
  EXPECT_EQ(fs.readLines(file), (std::vector<std::string>{"Установка", "", "C:\\x y"}));

  testing_support::writeBytes(file, "one\ntwo\r\nthree");
  EXPECT_EQ(fs.readLines(file), (std::vector<std::string>{"one", "two", "three"}));
}

TEST(TextFiles, AppendCreatesTheFileAndKeepsEarlierLines) {
  TempFolder temp;
  sys::FileSystem& fs = sys::realFileSystem();
  const std::string file = temp / "log.txt";
  fs.appendLine(file, "first");
  fs.appendLine(file, "второй");
  EXPECT_EQ(testing_support::readBytes(file), "first\r\n\xE2\xF2\xEE\xF0\xEE\xE9\r\n");
}

TEST(TextFiles, WholeTextKeepsItsLineBreaksAsCrLf) {
  TempFolder temp;
  sys::FileSystem& fs = sys::realFileSystem();
  const std::string file = temp / "info.dat";
  fs.writeText(file, "Модели\nвторая строка");
  EXPECT_EQ(testing_support::readBytes(file), "\xCC\xEE\xE4\xE5\xEB\xE8\r\n\xE2\xF2\xEE\xF0\xE0\xFF \xF1\xF2\xF0\xEE\xEA\xE0");
  fs.writeText(file, "");
  EXPECT_EQ(testing_support::readBytes(file), "");
}

TEST(TextFiles, ReadingAMissingFileThrowsTheSystemsError) {
  TempFolder temp;
  EXPECT_THROW(sys::realFileSystem().readLines(temp / "missing.dat"), sys::IoError);
}

TEST(Cp866, UpperHalfIsTheDosCyrillicPage) {
  std::string upper;
  for (int b = 0x80; b <= 0xFF; ++b) upper += static_cast<char>(b);
  EXPECT_EQ(sys::fromCp866(upper),
            "АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдежзийклмноп░▒▓│┤╡╢╖╕╣║╗╝╜╛┐└┴┬├─┼╞╟╚╔╩╦╠═╬╧╨╤╥╙╘╒╓╫╪┘┌█▄▌▐▀"
            "рстуфхцчшщъыьэюяЁёЄєЇїЎў°∙·√№¤■\u00A0");
  EXPECT_EQ(sys::fromCp866("plain"), "plain");
}

}  // namespace
