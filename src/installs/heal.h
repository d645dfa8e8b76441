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
};

// What the healing step has written to "errors.txt" in this run, so each finding is written once.
using HealNotes = std::set<std::string>;

// One healing pass over the store below FilePath:
// - a folder below "files" that "list.dat" does not name and whose "files.dat" records game paths is
//   listed again (its "time.dat" as it is), so the person sees it and can restore it;
// - such a folder that records nothing and holds only the installation's own files and copies of game
//   files of the catalogue with the same name, byte for byte or cut off part-way (no original was ever
//   overwritten: a game file is recorded before it is), is removed, which frees its name; any other
//   unlisted folder is left alone;
// - a register line that no listed installation owns is dropped when its game file equals no backup in
//   any installation folder, and kept otherwise.
// Each finding is one line in "errors.txt". Healing never stops the page: a step the disk refuses is
// logged (where it can be) and left for the next pass.
HealReport healStore(app::Program& program, HealNotes& notes);

}  // namespace installs
