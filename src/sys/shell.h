#pragma once

#include <memory>
#include <string>
#include <vector>

// Starting files, programs, folders and addresses the way the desktop's shell does. Never waits.
namespace sys {

enum class ShowCommand { Hide = 0, Normal = 1, Show = 5 };

class Shell {
 public:
  virtual ~Shell() = default;
  // Opens file with its default action; params and workFolder may be empty. The result is not reported.
  virtual void open(const std::string& file, const std::string& params, const std::string& workFolder,
                    ShowCommand show) = 0;
};

// Windows: ShellExecuteW. Elsewhere: an executable file is started detached with params split as a shell
// would split them; anything else goes to xdg-open.
std::unique_ptr<Shell> systemShell();

// params split into words as a POSIX shell would split them (quotes and backslashes honoured).
std::vector<std::string> splitParams(const std::string& params);

// Looking up a top-level window by its exact title (FindWindow).
class WindowFinder {
 public:
  virtual ~WindowFinder() = default;
  virtual bool exists(const std::string& title) = 0;
  // Brings the window with the title to the front, restored when it is minimised; false when there is
  // none. The window may belong to another program.
  virtual bool raise(const std::string& title) = 0;
};

// Windows: FindWindowW; raised with SetForegroundWindow (on its open dialog, when it has one). X11: the
// root window's children and their frames, by _NET_WM_NAME or WM_NAME; raised by asking the window
// manager (_NET_ACTIVE_WINDOW) and by restacking it, for a display without one. Without an X display
// nothing is ever found.
std::unique_ptr<WindowFinder> systemWindowFinder();

void sleepMs(int milliseconds);

}  // namespace sys
