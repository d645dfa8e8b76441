#include <gtest/gtest.h>

#include "service/console_presenter.h"
#include "service/variables.h"
#include "support/program_fixture.h"
#include "sys/error.h"

namespace {

using testing_support::ProgramFixture;

// The console's controls as plain values, and what was asked of the window, in order.
class RecordingConsoleWindow : public service::ConsoleView {
 public:
  void setCommandText(const std::string& text) override { commandLine = text; }
  std::string commandText() override { return commandLine; }
  void focusCommandLine() override { events.push_back("focus"); }
  void addLine(const std::string& line) override { lines.push_back(line); }
  void clearLines() override { lines.clear(); }
  void closeWindow() override { events.push_back("close console"); }
  void rerunStartUp() override {
    events.push_back("start-up");
    if (failStartUp) throw sys::IoError("start-up failed");
  }
  void closeMainWindow() override { events.push_back("close main window"); }

  std::string commandLine;
  std::vector<std::string> lines;
  std::vector<std::string> events;
  bool failStartUp = false;
};

class ConsolePresenter : public ProgramFixture {
 protected:
  ConsolePresenter() { configure(); }
  void enter(const std::string& line) {
    view.commandLine = line;
    console.Edit1KeyDown(service::kEnterKey);
  }
  RecordingConsoleWindow view;
  service::ConsolePresenter console{*program, view};
};

TEST_F(ConsolePresenter, CapitalsOfBothAlphabetsBecomeLowerCase) {
  const struct {
    std::string typed;
    std::string kept;
  } cases[] = {
      {"READREG", "readreg"},
      {"ДАТА Ёж", "дата ёж"},
      {"АБВГДЕЖЗИЙКЛМНОП", "абвгдежзийклмноп"},
      {"РСТУФХЦЧШЩЪЫЬЭЮЯ", "рстуфхцчшщъыьэюя"},
      {"Date1 \"x\" ЇЎ", "date1 \"x\" їў"},
      {"уже строчные", "уже строчные"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(service::lowerCaseCommand(c.typed), c.kept) << c.typed;
    view.commandLine = c.typed;
    console.Edit1Change(c.typed);
    EXPECT_EQ(view.commandLine, c.kept) << c.typed;
  }
}

TEST_F(ConsolePresenter, EachShowingStartsEmptyOverAHeldMainWindow) {
  view.commandLine = "half typ";
  view.lines = {"old"};
  console.FormShow();
  EXPECT_EQ(view.commandLine, "");
  EXPECT_TRUE(view.lines.empty());
  EXPECT_EQ(view.events, std::vector<std::string>{"focus"});
  EXPECT_FALSE(ui.mainWindowEnabled);
  EXPECT_EQ(ui.statusText, "командная строка...");
  console.FormClose();
  EXPECT_TRUE(ui.mainWindowEnabled);
  EXPECT_EQ(ui.statusText, "");
}

// Only Enter runs the line; the line is emptied after every command, a failed one too.
TEST_F(ConsolePresenter, EnterRunsTheLineAndEmptiesItOnEveryWayOut) {
  view.commandLine = "date";
  console.Edit1KeyDown(65);
  EXPECT_TRUE(view.lines.empty());
  EXPECT_EQ(view.commandLine, "date");

  enter("date");
  EXPECT_EQ(view.lines, std::vector<std::string>{"07.03.2003"});
  EXPECT_EQ(view.commandLine, "");
  ui.expectMessage("Информация", "07.03.2003");
  enter("showmsg");

  view.failStartUp = true;
  view.commandLine = "oncreate";
  EXPECT_THROW(console.Edit1KeyDown(service::kEnterKey), sys::IoError);
  EXPECT_EQ(view.commandLine, "");
  EXPECT_EQ(view.events, (std::vector<std::string>{"close console", "start-up"}));
}

// "showmsg" shows the last line the list holds now, and nothing once "clear" has emptied it.
TEST_F(ConsolePresenter, TheListAsTheCommandsSeeItFollowsClearAndEachShowing) {
  enter("time");
  enter("clear");
  EXPECT_TRUE(view.lines.empty());
  enter("showmsg");  // nothing to show: a box would fail the script
  enter("filedir");
  console.FormShow();
  enter("showmsg");
  EXPECT_TRUE(console.lines().empty());
  enter("nonsense");
  ui.expectMessage("Информация", "Имя команды указано неправильно");
  enter("showmessage");
}

TEST_F(ConsolePresenter, VarAddsItsLineThenShowsTheSettingsInMemory) {
  program->settings.CSFile = "/games/hl";
  ui.expectMessage("Основные переменные", service::variablesText(program->settings)).onNextMessage([&] {
    EXPECT_EQ(view.lines, std::vector<std::string>{"Вывод переменных"});
  });
  enter("var");
  EXPECT_EQ(ui.icons.back(), app::Icon::None);
  enter("exit");
  EXPECT_EQ(view.events.back(), "close main window");
}

}  // namespace
