#include "service/console.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "service/texts.h"
#include "sys/clock.h"

namespace service {

namespace {

using Effect = void (*)(app::Program&, ConsoleHost&);

struct Command {
  std::vector<std::string_view> words;
  Effect run;
};

std::string fileDirLine(const app::Program& program) {
  return texts::kFileDirPrefix + program.settings.FilePath + texts::kFileDirSuffix;
}

// The order is the order the words are tried in. Most commands act first and then report; "var" reports
// before its box opens, and "oncreate" reports into the list of the console it has just hidden.
const std::vector<Command>& commands() {
  static const std::vector<Command> table = {
      {{"showmsg", "showmessage"},
       [](app::Program& program, ConsoleHost& host) {
         if (const auto last = host.lastLine()) app::showInformation(program.ui(), *last);
       }},
      {{"readreg"},
       [](app::Program& program, ConsoleHost& host) {
         program.ReadRegistry();
         host.addLine(texts::kRegistryRead);
       }},
      {{"filedir"}, [](app::Program& program, ConsoleHost& host) { host.addLine(fileDirLine(program)); }},
      {{"getfiledir"},
       [](app::Program& program, ConsoleHost& host) {
         // The same folder start-up falls back to when nothing is stored.
         program.settings.FilePath = program.defaultFilePath();
         host.addLine(fileDirLine(program));
       }},
      {{"log"},
       [](app::Program& program, ConsoleHost& host) {
         program.Log1Click();
         host.addLine(texts::kLogOpened);
       }},
      {{"writereg"},
       [](app::Program& program, ConsoleHost& host) {
         program.WriteRegistry();
         host.addLine(texts::kRegistryWritten);
       }},
      {{"exit", "quit", "close"}, [](app::Program&, ConsoleHost& host) { host.closeMainWindow(); }},
      {{"var"},
       [](app::Program&, ConsoleHost& host) {
         host.addLine(texts::kShowingVariables);
         host.showVariables();
       }},
      {{"time"},
       [](app::Program& program, ConsoleHost& host) {
         host.addLine(sys::longTime(program.services().clock.now()));
       }},
      {{"date"},
       [](app::Program& program, ConsoleHost& host) {
         host.addLine(sys::shortDate(program.services().clock.now().date));
       }},
      {{"clear"}, [](app::Program&, ConsoleHost& host) { host.clearLines(); }},
      {{"clearvar"},
       [](app::Program& program, ConsoleHost& host) {
         for (std::string* field : program.settings.fields()) field->clear();
         host.addLine(texts::kVariablesCleared);
       }},
      {{"oncreate"},
       [](app::Program&, ConsoleHost& host) {
         host.closeConsole();
         host.rerunStartUp();
         host.addLine(texts::kStartUpRerun);
       }},
      {{"clearreg"},
       [](app::Program& program, ConsoleHost& host) {
         program.ClearRegistry();
         host.addLine(texts::kRegistryCleared);
       }},
  };
  return table;
}

}  // namespace

void runCommand(const std::string& line, app::Program& program, ConsoleHost& host) {
  if (line.empty()) return;
  for (const Command& command : commands()) {
    if (std::find(command.words.begin(), command.words.end(), line) != command.words.end()) {
      command.run(program, host);
      return;
    }
  }
  host.addLine(texts::kUnknownCommand);
}

std::vector<std::string> commandWords() {
  std::vector<std::string> words;
  for (const Command& command : commands()) {
    for (std::string_view word : command.words) words.emplace_back(word);
  }
  return words;
}

}  // namespace service
