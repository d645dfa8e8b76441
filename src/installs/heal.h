#pragma once

#include <set>
#include <string>
#include <vector>

namespace app {
class Program;
}

// The store mending itself after the program was stopped half-way (a crash, a kill, a power cut): run
// whenever the installations page is filled, so at start-up too.
namespace installs {

struct HealReport {
  std::vector<std::string> relisted;      // unlisted folders that record files: listed again, at the end
  std::vector<std::string> removed;       // unlisted folders of nothing but copies of game files: gone
  std::vector<std::string> leftAlone;     // unlisted folders holding anything else: kept as they are
  std::vector<std::string> droppedLines;  // register lines no listed installation owns, matching no backup
  std::vector<std::string> keptLines;     // such lines whose game file equals some backup: kept
  std::vector<std::string> registeredLines;  // paths an installation records and backs up, lost by the register
  std::vector<std::string> rebuilt;       // folders whose lost "files.dat" was given back from the register
  std::vector<std::string> unmatched;     // folders keeping backups that no register line accounts for
  std::vector<std::string> switchesFinished;  // folders whose switch off or on was cut off and is done now
};

// What the healing step has written to "errors.txt" in this run, so each finding is written once.
using HealNotes = std::set<std::string>;

// One healing pass over the store below FilePath:
// - a switch off or on that was cut off half-way ("moves.dat") is carried to its end (finishMoves);
// - a folder below "files" that "list.dat" does not name and whose "files.dat" records game paths is
//   listed again (its "time.dat" as it is), so the person sees it and can restore it;
// - such a folder that records nothing and holds only the installation's own files and copies of game
//   files of the catalogue with the same name, byte for byte or cut off part-way (no original was ever
//   overwritten: a game file is recorded before it is), is removed, which frees its name; any other
//   unlisted folder is left alone;
// - an installation folder that lost its "files.dat" but keeps backups gets it back from the register:
//   each backup takes the one register line of its bare name that no other installation records (what
//   matches no line, or several, stays and is reported); this comes first, so such a folder is listed
//   again like any other that records files;
// - a path that an installation that is on records and keeps the backup of, but that the register
//   lacks (a run cut off between the two records), is registered again;
// - a register line that no installation folder owns, listed or not, is dropped when its game file
//   equals no backup in any installation folder, and kept otherwise. Lines are dropped only after the
//   folder steps went through without a fault, on a store whose every folder could be read: a line is
//   never taken for nobody's because its owner could not be seen.
// Each finding is one line in "errors.txt". Healing never stops the page: a step the disk refuses is
// logged (where it can be) and left for the next pass.
HealReport healStore(app::Program& program, HealNotes& notes);

// The rebuilding of a lost "files.dat" above, for the one installation name (the restore's first step
// when it finds none). True when the installation has a "files.dat" again. Throws sys::IoError.
bool rebuildLostRecords(app::Program& program, const std::string& name);

}  // namespace installs
