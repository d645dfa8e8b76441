#pragma once

#include <string>
#include <vector>

#include "installs/changes.h"
#include "installs/store.h"
#include "installs/sums.h"

namespace app {
class Program;
}

// The steps a restore and a switch-off share: judging one recorded game file before its original goes
// back, putting it back, keeping an original aside, and moving a file to a place of the store or the game.
namespace installs {

enum class Finding {
  Fault,           // not to be touched: said in an error box and the log already
  RestoredBefore,  // its original went back in an earlier run: nothing left to do
  Unchanged,       // holds what the installation put there (or nothing tells otherwise)
  Changed,         // no longer holds what the installation put there: the person decides
};

// What putting back the original of gamePath, recorded by the installation name, finds first: a path
// that lies outside the game folder or leads through a link, a missing backup (reported unless the path
// was restored before: not registered, or movedBack, a restore that moved originals back being resumed),
// a game file that cannot be read, or one changed after the install (by its sums).
Finding assess(app::Program& program, Store& store, const std::vector<std::string>& names, const std::string& name,
               const std::string& gamePath, const FileSums* sums, ChangeCheck& changes, bool movedBack = false);

// Whether an installation of names that is on, other than name, records gamePath.
bool heldByAnother(Store& store, const std::vector<std::string>& names, const std::string& name,
                   const std::string& gamePath);

// The restore's question about a changed game file: true for Yes (the original goes back over it).
bool originalGoesBack(app::Program& program, Store& store, const std::string& gamePath);

// FTF from the backup over the game file; true when the game file then holds the backup's bytes.
bool copyBack(app::Program& program, Store& store, const std::string& name, const std::string& gamePath);
// The backup back over the game file by a rename on one volume (the backup is the game file then), by
// copyBack otherwise. The caller has the installation's "moves.dat" say so first.
bool moveBack(app::Program& program, Store& store, const std::string& name, const std::string& gamePath);

// Moves the original of gamePath out of the installation into the kept folder, recorded there first (its
// name, the date and time, the game path), so no file ever lies there without its record. False when it
// could not be moved.
bool keepOriginal(app::Program& program, Store& store, const std::string& name, const std::string& gamePath);

// Whether the folder holds nothing but the installation's own files (the temporary names of their
// rewrites among them).
bool holdsOnlyOwnFiles(sys::FileSystem& fs, const std::string& folder);

// Gives the file at from the path to, where nothing may stand yet: by a rename on one volume, otherwise by
// a copy made beside to under a temporary name, checked, forced to the disk and renamed into place, after
// which from goes. Wherever it is cut off, the file is whole at from or at to (a temporary copy may be left
// beside to). False, with nothing changed, when neither works.
bool relocate(sys::FileSystem& fs, const std::string& from, const std::string& to);

}  // namespace installs
