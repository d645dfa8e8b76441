#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/program.h"

namespace service {

// The console window as the interpreter sees it: its output list, and the few things only windows can do.
class ConsoleHost {
 public:
  virtual ~ConsoleHost() = default;
  // The output list: lines are added at the end.
  virtual void addLine(const std::string& line) = 0;
  virtual void clearLines() = 0;
  virtual std::optional<std::string> lastLine() const = 0;
  // The variables view, a box the person closes before the console goes on.
  virtual void showVariables() = 0;
  // Hides the console; the main window is usable again.
  virtual void closeConsole() = 0;
  // The main window's start-up once more: settings re-read, caption, run menu and utilities reloaded.
  virtual void rerunStartUp() = 0;
  // Closes the main window, which ends the program after its close handler.
  virtual void closeMainWindow() = 0;
};

// Runs one typed line. The words are matched whole and exactly (the window has already lower-cased the
// line): no arguments, no blanks around them. An unknown non-empty line says so in the list; an empty one
// does nothing. Throws sys::IoError where the command's file work fails.
void runCommand(const std::string& line, app::Program& program, ConsoleHost& host);

// The command line as it is kept: every capital letter, Latin and Cyrillic, in lower case.
std::string lowerCaseCommand(std::string_view text);

// The seventeen words, in the order they are tried.
std::vector<std::string> commandWords();

}  // namespace service
