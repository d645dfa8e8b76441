#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "installs/changes.h"
#include "installs/store.h"

namespace app {
class Program;
}

// The installations page's operations on the store: open the list, show, restore and rename one.
namespace installs {

// The installation list of the page, "files" and "list.dat" created when missing. Throws sys::IoError.
std::vector<std::string> openInstallationList(app::Program& program);

// What the page shows for a selected installation. Its folder and three files are created empty where
// missing. A listed name no installation may carry (an empty line, "..", a path) is never used as a
// folder: it shows as empty and nothing is created. With changes, counts the game files changed since the
// installation (by its "sums.dat"; none for an installation without one). Throws sys::IoError.
Installation showInstallation(app::Program& program, const std::string& name, ChangeCheck* changes = nullptr);

enum class RestoreResult {
  Restored,          // every original is back; the installation is gone from the store and the list
  Incomplete,        // some originals could not be put back: they stay backed up, recorded and listed
  FolderMissing,     // "Файлы не найдены!!!": no installation folder; the entry left the list
  ListMissing,       // "Файлы не найдены!!!": no "files.dat", nor records to give it back; the entry left
                     // the list, the folder stays
  UnknownFilesLeft,  // every original is back and the entry left the list, but the folder holds files it
                     // does not record: it stays, and that is said instead of success
  Deleted,           // an installation that was off (its originals in the game) went with its pack's files
  Declined,          // the person kept the installation that is off
};

// "Восстановить файлы" on names[index]. Per game path of the installation's "files.dat": a path that does
// not lie below the game folder, or leads through a link, is not written; a backup that is missing while
// the path is still registered by this installation is reported and the file stays recorded; a game
// file that cannot be read is not restored. When the game file no longer holds what was installed (nor
// the original), the person is asked whether the original goes back over it; on No the game's file
// stays and the original moves into the store's kept folder ("files/_kept", recorded in its "kept.dat").
// Otherwise the backup is copied back (FTF), and only when the game file then holds the backup's bytes
// is the path taken out of the register and the backup deleted. A backup that is missing while its path
// is no longer registered (or is registered by another installation) was restored before: it is passed
// over. The installation is dissolved only when every file came back or was kept; otherwise its
// "files.dat" keeps the paths not restored and "Не все файлы восстановлены. Повторите восстановление" is
// shown. A lost "files.dat" is given back from the register first (rebuildLostRecords). An installation
// that is off has nothing to put back: after its question it goes with its pack's files. names is the
// page's list: an entry that leaves it leaves "list.dat" too, and listChanged runs right then (before
// the closing box) with the outcome; when "list.dat" cannot be written, names stays as the file is.
// Throws sys::IoError.
RestoreResult Restore(app::Program& program, std::vector<std::string>& names, std::size_t index,
                      const std::function<void(RestoreResult)>& listChanged = {});

enum class RenameResult { Renamed, Unchanged, Refused };

// "Переименовать" on names[index]: asks for the new name (the old one pre-filled), checks it by the name
// rule, renames the folder and then writes the list with the new name in the old place. A folder that
// cannot be renamed leaves the list and "list.dat" as they were. Throws sys::IoError.
RenameResult Rename(app::Program& program, std::vector<std::string>& names, std::size_t index);

}  // namespace installs
