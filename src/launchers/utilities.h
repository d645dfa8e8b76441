#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "app/ui.h"

namespace app {
class Program;
}

// Plug-in utilities: the install handshake, removal and starting one from the Utilities menu.
//
// The protocol, from the utility's side: started with the one argument "setup" it writes "setup.dat"
// (line 1 its name, line 2 the name of its folder under "utilities") beside its own program file; started
// with "varnikit" it shows a top-level window titled exactly with its name for as long as it works.
namespace launchers {

inline constexpr const char* kSetupFile = "setup.dat";
inline constexpr const char* kSetupArgument = "setup";
inline constexpr const char* kRunArgument = "varnikit";
// How long a utility has to answer the handshake, and to show its window after a start.
inline constexpr std::chrono::milliseconds kUtilityTimeout{15000};

// What the utilities manager shows: its list of names, its own status line, its enabled state.
class UtilityManagerView {
 public:
  virtual ~UtilityManagerView() = default;
  virtual int count() = 0;
  // The text of the selected row, or nothing when no row is selected.
  virtual std::optional<std::string> selectedName() = 0;
  virtual void addName(const std::string& name) = 0;
  // Takes the selected row out and leaves no row selected.
  virtual void removeSelectedName() = 0;
  virtual void setStatusText(const std::string& text) = 0;
  virtual void setEnabled(bool enabled) = 0;
};

struct Handshake {
  std::string name;    // line 1: the slot's name and the title of the utility's window
  std::string folder;  // line 2: its folder under "utilities"
};

// Why a handshake cannot be accepted (a text for the error log naming the bad line), or nothing when it
// can. The folder must be one plain folder name that Windows can hold (no trailing dot or blank, no
// device name such as "CON" or "com1.txt"), so no utility can make the program write outside
// "utilities"; the name must not be empty, the word that marks a free slot, nor the title of one of
// this program's own windows.
std::optional<std::string> handshakeFault(const Handshake& handshake);

// The file request of the manager's "&Добавить": "exe" files on Windows; every file elsewhere, where
// programs carry no extension.
app::FileRequest utilityFileRequest();

// The manager's "&Добавить": picks a program, starts it with "setup", waits up to limit for its
// "setup.dat", copies the program into its own folder under "utilities" and fills the first free slot.
// A name already installed (letter case aside) or a folder that exists is refused; success is reported
// only once the program file is in its folder. The manager is disabled while it waits and enabled again
// on every way out. Throws sys::IoError.
void installUtility(app::Program& program, UtilityManagerView& manager, std::chrono::milliseconds limit);

// The manager's "&Удалить" and its Delete key: every slot named as the selected row is cleared and its
// program file deleted (with its folder when that is left empty) when it lies below the program's
// "utilities" folder; no other file is ever deleted. Afterwards no row is selected. Throws sys::IoError.
void removeUtility(app::Program& program, UtilityManagerView& manager);

// RunUtil: starts the utility of slot 1..10 with "varnikit", waits up to limit for its window, then keeps
// the main window disabled (busy) until the window is gone, and gives the main window back enabled and
// focused. The main window is never left disabled, also when an error ends the wait. Throws sys::IoError.
void RunUtil(app::Program& program, int slot, std::chrono::milliseconds limit);

}  // namespace launchers
