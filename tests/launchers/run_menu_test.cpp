#include <gtest/gtest.h>

#include "launchers/run_menu.h"
#include "support/program_fixture.h"

namespace {

using testing_support::fileExists;
using testing_support::makeFolder;
using testing_support::ProgramFixture;
using testing_support::readBytes;
using testing_support::writeBytes;

std::string thirtyEmptyLines() {
  std::string bytes;
  for (int i = 0; i < 30; ++i) bytes += "empty\r\n";
  return bytes;
}

class RunMenuFile : public ProgramFixture {
 protected:
  std::string file() { return programFolder() + "runmenu.dat"; }
  void fill(const std::string& text) {
    for (auto& entry : table) entry = {text, text, text};
  }
  launchers::RunMenuTable table;
};

TEST_F(RunMenuFile, MissingFileIsCreatedWithThirtyEmptyLines) {
  fill("old");
  launchers::readRunMenu(fs, file(), table);
  EXPECT_EQ(readBytes(file()), thirtyEmptyLines());
  for (const auto& entry : table) {
    EXPECT_EQ(entry.name, "empty");
    EXPECT_EQ(entry.path, "empty");
    EXPECT_EQ(entry.parameters, "empty");
  }
}

TEST_F(RunMenuFile, FieldsPastTheEndOfAShortFileKeepTheirValues) {
  struct Case {
    std::string bytes;
    int fieldsRead;
  };
  const Case cases[] = {
      {"", 0},
      {"CS\r\n", 1},
      {"CS\r\n/games/hl\r\n-game cstrike\r\nSecond\n", 4},  // LF alone ends a line too
      {"CS\r\n/games/hl\r\n-game cstrike\r\nSecond", 4},    // and so does the end of the file
  };
  for (const auto& c : cases) {
    fill("kept");
    writeBytes(file(), c.bytes);
    launchers::readRunMenu(fs, file(), table);
    for (int i = 0; i < 30; ++i) {
      const auto& entry = table[static_cast<std::size_t>(i / 3)];
      const std::string& field = i % 3 == 0 ? entry.name : i % 3 == 1 ? entry.path : entry.parameters;
      if (i >= c.fieldsRead) {
        EXPECT_EQ(field, "kept") << "field " << i << " of \"" << c.bytes << "\"";
      }
    }
    EXPECT_EQ(readBytes(file()), c.bytes) << "an existing file is only read";
  }
  EXPECT_EQ(table[0].name, "CS");
  EXPECT_EQ(table[0].parameters, "-game cstrike");
  EXPECT_EQ(table[1].name, "Second");
}

TEST_F(RunMenuFile, LinesAfterTheThirtiethAreNotRead) {
  std::string bytes;
  for (int i = 1; i <= 33; ++i) bytes += "line" + std::to_string(i) + "\r\n";
  writeBytes(file(), bytes);
  launchers::readRunMenu(fs, file(), table);
  EXPECT_EQ(table[0].name, "line1");
  EXPECT_EQ(table[9].parameters, "line30");
}

TEST_F(RunMenuFile, WritingGivesThirtyLinesInCp1251WithFreeEntriesAndEmptyFields) {
  fill("empty");
  table[1] = {"Контра", "C:\\Games\\hl.exe", ""};
  table[9] = {"Last", "/x", "-a \"b c\""};
  launchers::writeRunMenu(fs, file(), table);
  std::string expected = "empty\r\nempty\r\nempty\r\n"
                         "\xCA\xEE\xED\xF2\xF0\xE0\r\nC:\\Games\\hl.exe\r\n\r\n";
  for (int i = 0; i < 7; ++i) expected += "empty\r\nempty\r\nempty\r\n";
  expected += "Last\r\n/x\r\n-a \"b c\"\r\n";
  EXPECT_EQ(readBytes(file()), expected);

  launchers::RunMenuTable back;
  launchers::readRunMenu(fs, file(), back);
  EXPECT_EQ(back[1].name, "Контра");
  EXPECT_EQ(back[1].parameters, "");
  EXPECT_EQ(back[9].parameters, "-a \"b c\"");
}

class RunMenuStart : public ProgramFixture {
 protected:
  RunMenuStart() { configure(); }
  std::vector<std::string> log() {
    const std::string file = programFolder() + "errors.txt";
    return fileExists(file) ? fs.readLines(file) : std::vector<std::string>{};
  }
};

TEST_F(RunMenuStart, FromTheMenuAFileStartsAndAMissingOneIsReportedAndNotStarted) {
  const std::string program1 = temp / "apps/hl";
  writeBytes(program1, "binary");
  makeFolder(temp / "apps/folder");
  struct Case {
    std::string path;
    std::string parameters;
    bool reported;
    std::string workFolder;
    std::string passed = parameters;
  };
  const Case cases[] = {
      {program1, "-game cstrike  -dev \"a b\"", false, temp / "apps" + sys::kSep},
      {program1, "empty", false, temp / "apps" + sys::kSep, ""},    // the marker alone is no parameter
      {program1, " empty", false, temp / "apps" + sys::kSep},       // anything else is passed as it is
      {"empty", "empty", true, ""},                                  // a name with the path "empty"
      {"notepad", "", true, ""},                                     // the shell would search PATH for it
      {temp / "apps/folder", "", true, temp / "apps" + sys::kSep},   // a folder is no file
      {"", "", true, ""},
  };
  for (const auto& c : cases) {
    program->runMenu[3] = {"Item", c.path, c.parameters};
    shell.calls.clear();
    if (c.reported) ui.expectError("Файл \"" + c.path + "\" не найден");
    std::vector<std::string> expectedLog = log();
    if (c.reported) expectedLog.push_back("07.03.2003 14:05:09: Файл для запуска из меню \"Запуск\" не найден");
    launchers::startRunMenuEntry(*program, 4);
    ui.verifyAllAnswered();
    EXPECT_EQ(log(), expectedLog);
    if (c.reported) {
      EXPECT_TRUE(shell.calls.empty()) << c.path << ": reported, so never handed to the shell";
      continue;
    }
    ASSERT_EQ(shell.calls.size(), 1u) << c.path;
    EXPECT_EQ(shell.calls[0].file, c.path);
    EXPECT_EQ(shell.calls[0].params, c.passed) << c.parameters;
    EXPECT_EQ(shell.calls[0].workFolder, c.workFolder) << "the file's folder with its trailing separator";
    EXPECT_EQ(shell.calls[0].show, sys::ShowCommand::Show);
  }
}

TEST_F(RunMenuStart, FromTheEditorOnlyAnExistingFileOfASelectedRowStarts) {
  const std::string file = temp / "apps/run me";
  writeBytes(file, "binary");
  makeFolder(temp / "apps/folder");
  struct Case {
    bool rowSelected;
    std::string path;
    bool reported;
    bool started;
  };
  const Case cases[] = {
      {true, file, false, true},
      {false, file, false, false},
      {true, temp / "apps/folder", true, false},
      {true, temp / "apps/missing", true, false},
      {true, "", true, false},
      {false, "", true, false},
  };
  for (const auto& c : cases) {
    shell.calls.clear();
    if (c.reported) ui.expectError("Файл \"" + c.path + "\" не найден");
    launchers::startFromEditor(*program, c.rowSelected, c.path, "-x 'y'");
    ui.verifyAllAnswered();
    ASSERT_EQ(shell.calls.size(), c.started ? 1u : 0u) << c.path;
    if (c.started) {
      EXPECT_EQ(shell.calls[0].params, "-x 'y'");
      EXPECT_EQ(shell.calls[0].workFolder, temp / "apps" + sys::kSep);
    }
  }
  shell.calls.clear();
  launchers::startFromEditor(*program, true, file, "empty");
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].params, "") << "the marker alone passes no parameters";
  EXPECT_FALSE(fileExists(programFolder() + "errors.txt")) << "the editor's report is not logged";
}

TEST(RunMenuBrowse, OneFilterForAnyFile) {
  const app::FileRequest request = launchers::anyFileRequest();
  ASSERT_EQ(request.filters.size(), 1u);
  EXPECT_EQ(request.filters[0].first, "любой файл");
  EXPECT_EQ(request.filters[0].second, sys::kSeparator == '\\' ? "*.*" : "*");
  EXPECT_FALSE(request.multiple);
}

}  // namespace
