#include <gtest/gtest.h>

#include "service/console.h"
#include "service/variables.h"
#include "support/program_fixture.h"

namespace {

using testing_support::fileExists;
using testing_support::ProgramFixture;
using testing_support::writeBytes;

// The console window as a list of lines and a record of everything asked of it, in order.
class RecordingConsole : public service::ConsoleHost {
 public:
  void addLine(const std::string& line) override {
    lines.push_back(line);
    events.push_back("line: " + line);
  }
  void clearLines() override {
    lines.clear();
    events.push_back("clear");
  }
  std::optional<std::string> lastLine() const override {
    if (lines.empty()) return std::nullopt;
    return lines.back();
  }
  void showVariables() override { events.push_back("variables"); }
  void closeConsole() override { events.push_back("close console"); }
  void rerunStartUp() override { events.push_back("start-up"); }
  void closeMainWindow() override { events.push_back("close main window"); }

  std::vector<std::string> lines;
  std::vector<std::string> events;
};

class Console : public ProgramFixture {
 protected:
  Console() { configure(); }
  void run(const std::string& line) { service::runCommand(line, *program, console); }
  RecordingConsole console;
};

TEST_F(Console, EveryWordIsTriedInItsOrder) {
  EXPECT_EQ(service::commandWords(),
            (std::vector<std::string>{"showmsg", "showmessage", "readreg", "filedir", "getfiledir", "log", "writereg",
                                      "exit", "quit", "close", "var", "time", "date", "clear", "clearvar", "oncreate",
                                      "clearreg"}));
}

// What each command asks of the window and writes in the list, in order.
TEST_F(Console, EachCommandDoesItsEffectAndReportsInItsOrder) {
  const struct {
    std::string line;
    std::vector<std::string> events;
  } cases[] = {
      {"exit", {"close main window"}},
      {"quit", {"close main window"}},
      {"close", {"close main window"}},
      {"var", {"line: Вывод переменных", "variables"}},
      {"time", {"line: 14:05:09"}},
      {"date", {"line: 07.03.2003"}},
      {"clear", {"clear"}},
      {"oncreate", {"close console", "start-up", "line: Эмуляция запуска программы"}},
      {"", {}},
  };
  for (const auto& c : cases) {
    console.events.clear();
    run(c.line);
    EXPECT_EQ(console.events, c.events) << "\"" << c.line << "\"";
  }
}

TEST_F(Console, AnythingButAWholeWordIsUnknown) {
  for (const char* line : {" date", "date ", "Date", "DATE", "var x", "readreg;", "show msg", "exit!", "дата"}) {
    console.lines.clear();
    console.events.clear();
    run(line);
    EXPECT_EQ(console.lines, std::vector<std::string>{"Имя команды указано неправильно"}) << "\"" << line << "\"";
    EXPECT_EQ(console.events.size(), 1u) << "\"" << line << "\" ran something";
  }
}

TEST_F(Console, FileDirShowsTheFolderBetweenQuotesWithItsSeparator) {
  program->settings.FilePath = R"(C:\Tools\Manager\)";
  run("filedir");
  EXPECT_EQ(console.lines, std::vector<std::string>{R"(filedir='C:\Tools\Manager\')"});
}

TEST_F(Console, GetFileDirPutsTheExecutablesFolderBackInMemoryOnly) {
  program->WriteRegistry();
  program->settings.FilePath = "/somewhere/else/";
  run("getfiledir");
  const std::string exeFolder = temp / "exe" + sys::kSep;
  EXPECT_EQ(program->settings.FilePath, exeFolder);
  EXPECT_EQ(console.lines, std::vector<std::string>{"filedir='" + exeFolder + "'"});
  EXPECT_EQ((*registry->readValues(app::kProgramKey, {"FilePath"}))[0], programFolder()) << "not stored";
}

TEST_F(Console, ShowMsgShowsTheLastLineAndNothingOnAnEmptyList) {
  run("showmsg");
  EXPECT_TRUE(ui.prompts.empty());
  run("date");
  run("time");
  ui.expectMessage("Информация", "14:05:09");
  run("showmessage");
  EXPECT_EQ(console.lines.size(), 2u) << "showmsg adds no line";
}

TEST_F(Console, RegistryCommandsReadWriteAndDeleteTheKey) {
  run("writereg");
  EXPECT_EQ(*registry->readValues(app::kProgramKey, app::Settings::valueNames()),
            [&] {
              std::vector<std::string> v;
              for (const auto& [name, value] : program->settings.values()) v.push_back(value);
              return v;
            }());

  const app::Settings stored = program->settings;
  program->settings.CSDir = "changed in memory";
  program->settings.RunParam = "-console";
  run("readreg");
  EXPECT_EQ(program->settings, stored);

  run("clearreg");
  EXPECT_FALSE(registry->readValues(app::kProgramKey, {"CSDir"})) << "key deleted";
  EXPECT_EQ(program->settings, stored) << "memory untouched";

  run("readreg");  // no key: nothing changes
  EXPECT_EQ(program->settings, stored);
  EXPECT_EQ(console.lines, (std::vector<std::string>{"Переменные сохранены в реестре", "Переменные загружены из реестра",
                                                     "Данные из реестра удалены", "Переменные загружены из реестра"}));
}

TEST_F(Console, ClearVarEmptiesTheNineFieldsButNotTheRegistry) {
  program->settings.CSFile = "/games/hl";
  program->settings.RunParam = "-game cstrike";
  program->settings.FilesListDate = "01.03.2003";
  program->WriteRegistry();
  run("clearvar");
  EXPECT_EQ(program->settings, app::Settings{});
  EXPECT_EQ((*registry->readValues(app::kProgramKey, {"CSDir"}))[0], gameFolder());
  EXPECT_EQ(console.lines, std::vector<std::string>{"Значения переменных стёрты"});
  EXPECT_EQ(service::variablesText(program->settings),
            "FileDir: \"\"\r\nCSDir: \"\"\r\nCSFile: \"\"\r\nCSRunParam: \"\"\r\nFilesListDate: \"\"\r\n"
            "FilesListDir: \"\"\r\nFilesInfoDir: \"\"\r\nListUpdateType: \"\"\r\nAddFilesType: \"\"");
}

TEST_F(Console, LogOpensTheErrorLogOrSaysItIsMissingThenReports) {
  ui.expectError("Log не найден");
  run("log");
  EXPECT_TRUE(shell.calls.empty());
  EXPECT_EQ(console.lines, std::vector<std::string>{"Открытие log'а"});

  writeBytes(programFolder() + "errors.txt", "07.03.2003 14:05:09: something\r\n");
  run("log");
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].file, programFolder() + "errors.txt");
  EXPECT_EQ(console.lines.size(), 2u);
}

TEST_F(Console, ExitWritesNothingItself) {
  run("exit");
  EXPECT_FALSE(fileExists(programFolder() + "utilities.dat")) << "the main window's close handler writes it";
  EXPECT_TRUE(console.lines.empty());
}

}  // namespace
