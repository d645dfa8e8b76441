#pragma once

#include <string>

#include "installs/check.h"
#include "installs/dialog_view.h"

namespace app {
class Program;
}

namespace installs {

enum class InstallResult {
  NotStarted,  // empty list, no name, an unusable or taken name: nothing was written
  Installed,   // the installation exists; every file was installed, refused or reported
};

// "&Установить": asks for a name, creates the installation (folder, "info.dat", "time.dat", its line in
// "list.dat") and then, in list order: refuses a game file that is installed already (or chosen twice),
// whose name an installation folder needs itself, or whose path holds a line break; backs each original
// up (FTF) and checks that the backup holds the original's bytes (by content hash); forces the backups
// to the disk; records the game paths in the installation's "files.dat" and the register, and forces
// those to the disk; and only then copies the new files over the game files (FTF). A run cut off at any point
// leaves every changed game file backed up and recorded. Last, the content hashes of each original and of
// each new file as it landed go to "sums.dat". Each file leaves chosen once handled. Throws
// sys::IoError; when the installation could not be created, nothing of it is left.
InstallResult Install(app::Program& program, ChosenFiles& chosen, const std::string& description, DialogView& view);

// The last question of an install: "Установка завершена. Запустить Counter-Strike?"; on Yes the game
// launcher CSFile starts with RunParam in its own folder, or "Файл для запуска игры не указан".
void offerGameStart(app::Program& program);

}  // namespace installs
