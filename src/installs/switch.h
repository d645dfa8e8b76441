#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "installs/changes.h"

namespace app {
class Program;
}

// Installations kept as a library: one that is switched off has its originals back in the game and its
// pack's files in its own folder ("pack"), its game paths out of the register, and stays listed; one that
// is switched on again goes back into the game by the install's rules. Files change place by a rename
// wherever the store and the game share a volume, by a checked copy otherwise.
namespace installs {

enum class SwitchResult {
  Switched,   // the installation is off (or on) now
  Unchanged,  // refused (and said why) or declined: it is as it was
};

// "Отключить" on names[index]: each file is judged as a restore judges it first, and any fault leaves
// the installation as it is. A game file changed after the install is asked about as a restore asks
// (the original goes back over it, or is kept aside); either way that file leaves the installation, whose
// pack no longer has it. Every other game file moves into the pack folder and its original back into
// the game; the paths leave the register and "off.dat" is written. With changes, the page's record of
// files hashed already. Throws sys::IoError.
SwitchResult SwitchOff(app::Program& program, const std::vector<std::string>& names, std::size_t index,
                       ChangeCheck* changes = nullptr);

// "Включить" on names[index]: every game path must lie in the game folder, have its game file and its
// pack file. A path another installation holds now is asked about ("Файл … уже заменён установкой «…».
// Отключить её и продолжить?"): Yes switches that one off first, No leaves everything as it was. Then
// the paths are registered, each game file as it is now becomes the backup (an original the game
// updated meanwhile is the one kept) and the pack's file takes its place. The time of the installation
// stays. Throws sys::IoError.
SwitchResult SwitchOn(app::Program& program, const std::vector<std::string>& names, std::size_t index);

// Carries what the program was stopped in the middle of (the installation's "moves.dat") to its end: a
// switch off or on is finished; a restore is left for the next restore to go on with. False when nothing
// was done. Throws sys::IoError.
bool finishMoves(app::Program& program, const std::string& name);

// The other installations of names that record a game path of names[index], in list order.
std::vector<std::string> sharingInstallations(app::Program& program, const std::vector<std::string>& names,
                                              std::size_t index);

}  // namespace installs
