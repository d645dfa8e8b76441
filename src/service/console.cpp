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

std::string lowerCaseCommand(std::string_view text) {
  std::string lower;
  lower.reserve(text.size());
  for (std::size_t k = 0; k < text.size(); ++k) {
    const auto byte = static_cast<unsigned char>(text[k]);
    if (byte >= 'A' && byte <= 'Z') {
      lower += static_cast<char>(byte + 32);
      continue;
    }
    // Cyrillic capitals in UTF-8: А..П (D0 90..9F) become а..п (D0 B0..BF), Р..Я (D0 A0..AF) become
    // р..я (D1 80..8F), and Ѐ..Џ with Ё among them (D0 80..8F) become ѐ..џ (D1 90..9F).
    if (byte == 0xD0 && k + 1 < text.size()) {
      const auto next = static_cast<unsigned char>(text[k + 1]);
      if (next >= 0x90 && next <= 0x9F) {
        lower += static_cast<char>(0xD0);
        lower += static_cast<char>(next + 0x20);
        ++k;
        continue;
      }
      if (next >= 0xA0 && next <= 0xAF) {
        lower += static_cast<char>(0xD1);
        lower += static_cast<char>(next - 0x20);
        ++k;
        continue;
      }
      if (next >= 0x80 && next <= 0x8F) {
        lower += static_cast<char>(0xD1);
        lower += static_cast<char>(next + 0x10);
        ++k;
        continue;
      }
    }
    lower += text[k];
  }
  return lower;
}

std::vector<std::string> commandWords() {
  std::vector<std::string> words;
  for (const Command& command : commands()) {
    for (std::string_view word : command.words) words.emplace_back(word);
  }
  return words;
}

}  // namespace service
