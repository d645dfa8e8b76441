#pragma once

#include <memory>
#include <string>
#include <vector>

#include "service/console.h"

namespace app {
class Program;
}

namespace service {

// The console window "Командная строка" as its presenter sees it.
class ConsoleView {
 public:
  virtual ~ConsoleView() = default;
  virtual void setCommandText(const std::string& text) = 0;
  virtual std::string commandText() = 0;
  virtual void focusCommandLine() = 0;
  // The output list: a line at the end (scrolled into view), or no lines at all.
  virtual void addLine(const std::string& line) = 0;
  virtual void clearLines() = 0;
  virtual void closeWindow() = 0;
  // The main window's start-up once more: settings re-read, caption, run menu and utilities reloaded.
  virtual void rerunStartUp() = 0;
  // Closes the main window, which ends the program after its close handler.
  virtual void closeMainWindow() = 0;
};

// The key code of Enter, as the command line's key event passes it.
inline constexpr int kEnterKey = 13;

// What the console does: the command line in lower case, Enter runs it, the list shows what the commands
// report. The main window's "&Командная строка" shows the window; the binding calls FormShow at each
// showing and FormClose at every way of closing.
class ConsolePresenter {
 public:
  ConsolePresenter(app::Program& program, ConsoleView& view);
  ~ConsolePresenter();
  ConsolePresenter(const ConsolePresenter&) = delete;
  ConsolePresenter& operator=(const ConsolePresenter&) = delete;

  void FormShow();
  void FormClose();
  // The command line changed (typed or pasted): capitals become lower case.
  void Edit1Change(const std::string& text);
  // Enter runs the line and empties it, also when the command fails (throws sys::IoError then); every
  // other key is typing.
  void Edit1KeyDown(int key);

  const std::vector<std::string>& lines() const { return lines_; }

 private:
  class Host;

  app::Program& program_;
  ConsoleView& view_;
  std::unique_ptr<Host> host_;
  std::vector<std::string> lines_;
};

}  // namespace service
