#include "installs/heal.h"

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <set>

#include "app/program.h"
#include "installs/names.h"
#include "installs/store.h"
#include "installs/sums.h"
#include "installs/switch.h"
#include "installs/texts.h"
#include "sys/clock.h"
#include "sys/encoding.h"
#include "sys/error.h"
#include "sys/paths.h"

namespace installs {
namespace {

bool contains(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

class Healer {
 public:
  Healer(app::Program& program, HealNotes& notes)
      : program_(program), fs_(program.fs()), store_(fs_, program.settings.FilePath), notes_(notes) {}

  HealReport run() {
    if (program_.settings.FilePath.empty() || !fs_.isFolder(store_.root())) return report_;
    attempt([&] { finishSwitches(); });
    attempt([&] { healFolders(); });
    // Lines are dropped on a full picture only: a folder that could not be listed again or read now
    // may own any of them.
    if (faults_ == 0) attempt([&] { healRegister(); });
    return report_;
  }

  bool rebuildOne(const std::string& name) {
    if (!isValidNewInstallationName(name)) return false;
    rebuildLostRecords(name, store_.installationFolders(), store_.openList());
    return fs_.isFile(store_.filesPath(name));
  }

 private:
  // A step the disk refuses ends that step only; the rest of the pass goes on.
  void attempt(const std::function<void()>& step) {
    try {
      step();
    } catch (const sys::IoError& error) {
      ++faults_;
      noteOnce(texts::healFailed(error.what()));
    }
  }

  // The line ErrorMsg writes, without its box: the person has nothing to decide.
  void log(const std::string& text) {
    try {
      fs_.appendLine(program_.errorLogPath(), sys::dateTime(program_.services().clock.now()) + ": " + text);
    } catch (const sys::IoError&) {
    }
  }

  // Findings that stay as they are would otherwise be written at every filling of the page.
  void noteOnce(const std::string& text) {
    if (notes_.insert(text).second) log(text);
  }

  // A switch off or on that the program was stopped in the middle of is carried to its end first.
  void finishSwitches() {
    for (const auto& folder : store_.installationFolders()) {
      if (!isValidNewInstallationName(folder)) continue;
      attempt([&] {
        if (finishMoves(program_, folder)) {
          report_.switchesFinished.push_back(folder);
          log(texts::healSwitchFinished(folder));
        }
      });
    }
  }

  void healFolders() {
    const std::vector<std::string> names = store_.openList();
    const std::vector<std::string> folders = store_.installationFolders();
    for (const auto& folder : folders) {
      if (isValidNewInstallationName(folder)) attempt([&] { rebuildLostRecords(folder, folders, names); });
    }
    std::vector<std::string> relist;
    for (const auto& folder : folders) {
      // "..", a name with a line break, "files.dat" as a folder (where the register belongs): none of
      // them is a folder the program made unlisted; it is not the healing's to list or to remove.
      if (!isValidNewInstallationName(folder) || isListed(folder, names, folders)) continue;
      attempt([&] {
        if (recordsFiles(folder)) {
          relist.push_back(folder);
        } else {
          clearOut(folder);
        }
      });
    }
    if (relist.empty()) return;
    std::vector<std::string> listed = names;
    listed.insert(listed.end(), relist.begin(), relist.end());
    store_.saveList(listed);
    for (const auto& folder : relist) {
      report_.relisted.push_back(folder);
      log(texts::healRelisted(folder));
    }
  }

  // Names match exactly. A listed name that reaches a folder the system lists under another spelling
  // (a system that ignores letter case) may be any unlisted folder of its length; each counts as listed.
  bool isListed(const std::string& folder, const std::vector<std::string>& names,
                const std::vector<std::string>& folders) {
    if (contains(names, folder)) return true;
    return std::any_of(names.begin(), names.end(), [&](const std::string& name) {
      return name.size() == folder.size() && !contains(folders, name) && isValidInstallationName(name) &&
             fs_.isFolder(store_.folder(name));
    });
  }

  // Throws sys::IoError when "files.dat" is there but cannot be read: then nobody can tell.
  bool recordsFiles(const std::string& folder) { return !store_.recordedFiles(folder).empty(); }

  // A folder that records nothing replaced no game file: the install stopped before its first record.
  // It goes when all it holds are the installation's own files and copies of game files as they are now.
  void clearOut(const std::string& folder) {
    const std::string path = store_.folder(folder);
    std::vector<std::string> files;
    bool other = false;
    fs_.enumerate(path, [&](const sys::DirEntry& entry) {
      if (entry.kind == sys::EntryKind::File) {
        files.push_back(entry.name);
      } else {
        other = true;
      }
    });
    other = other || std::any_of(files.begin(), files.end(), [&](const std::string& name) {
              return !Store::isReservedFileName(name) && !isCopyOfGameFile(path + sys::kSep + name);
            });
    if (other) {
      report_.leftAlone.push_back(folder);
      noteOnce(texts::healLeftAlone(folder));
      return;
    }
    for (const auto& name : files) fs_.removeFile(path + sys::kSep + name);
    if (!fs_.removeFolderIfEmpty(path)) {
      report_.leftAlone.push_back(folder);
      noteOnce(texts::healLeftAlone(folder));
      return;
    }
    report_.removed.push_back(folder);
    log(texts::healRemoved(folder));
  }

  // Whether a game file of the catalogue with the same bare name holds these bytes.
  bool isCopyOfGameFile(const std::string& file) {
    if (!catalogue_) loadCatalogue();
    const auto found = catalogue_->find(sys::upperAscii(sys::bareName(file)));
    if (found == catalogue_->end()) return false;
    return std::any_of(found->second.begin(), found->second.end(),
                       [&](const std::string& gamePath) { return isCopy(file, gamePath); });
  }

  // The same bytes, or the first bytes of them: a copy the program was stopped in the middle of.
  bool isCopy(const std::string& file, const std::string& gamePath) {
    if (fs_.sameContent(file, gamePath)) return true;
    const auto size = fs_.fileSize(file);
    const auto whole = fs_.fileSize(gamePath);
    if (!size || !whole || *size >= *whole) return false;
    const std::string part = fs_.readText(file);
    return fs_.readText(gamePath).compare(0, part.size(), part) == 0;
  }

  void loadCatalogue() {
    catalogue_.emplace();
    const std::string& path = program_.settings.FilesListDir;
    if (path.empty() || !fs_.canOpenForReading(path)) return;
    for (auto& line : fs_.readLines(path)) (*catalogue_)[sys::upperAscii(sys::bareName(line))].push_back(line);
  }

  // Every installation that may own register lines: each folder of the store, listed or not, and each
  // listed name (a system that ignores letter case may list a folder under another spelling).
  std::vector<std::string> owners(const std::vector<std::string>& folders, const std::vector<std::string>& names) {
    std::vector<std::string> all;
    for (const auto& name : folders) {
      if (isValidInstallationName(name) && !contains(all, name)) all.push_back(name);
    }
    for (const auto& name : names) {
      if (isValidInstallationName(name) && !contains(all, name)) all.push_back(name);
    }
    return all;
  }

  // The files of an installation folder that are not its own: the backups.
  std::vector<std::string> backupsIn(const std::string& folder) {
    std::vector<std::string> backups;
    fs_.enumerate(store_.folder(folder), [&](const sys::DirEntry& entry) {
      if (entry.kind == sys::EntryKind::File && !Store::isReservedFileName(entry.name)) backups.push_back(entry.name);
    });
    // "sums.dat" may be the backup of a game file of that name, kept by an earlier version.
    if (fs_.isFile(store_.sumsPath(folder)) && !isSumsRecord(store_.sumsPath(folder))) backups.push_back("sums.dat");
    return backups;
  }

  bool isSumsRecord(const std::string& path) {
    try {
      return readSums(fs_, path, fs_.readLines(path).size()).has_value();
    } catch (const sys::IoError&) {
      return false;
    }
  }

  // A folder whose "files.dat" is gone while it keeps backups: each backup takes the one register line of
  // its bare name that no other installation records. The lines go back in register order; hashes that
  // no longer pair with them are removed (the installation restores as one without sums).
  void rebuildLostRecords(const std::string& folder, const std::vector<std::string>& folders,
                          const std::vector<std::string>& names) {
    if (fs_.exists(store_.filesPath(folder))) return;
    const std::vector<std::string> backups = backupsIn(folder);
    if (backups.empty()) return;
    const std::vector<std::string> lines =
        fs_.existsForReading(store_.registerPath()) ? fs_.readLines(store_.registerPath()) : std::vector<std::string>{};
    std::set<std::string> recorded(claimed_);
    for (const auto& other : owners(folders, names)) {
      if (sys::equalsIgnoringAsciiCase(other, folder)) continue;
      for (const auto& line : store_.recordedFiles(other)) recorded.insert(sys::upperAscii(line));
    }
    std::set<std::string> matched;  // upper case
    std::vector<std::string> unmatched;
    for (const auto& backup : backups) {
      std::set<std::string> candidates;
      for (const auto& line : lines) {
        const std::string upper = sys::upperAscii(line);
        if (sys::equalsIgnoringAsciiCase(sys::bareName(line), backup) && !recorded.count(upper)) candidates.insert(upper);
      }
      if (candidates.size() == 1) {
        matched.insert(*candidates.begin());
      } else {
        unmatched.push_back(backup);
      }
    }
    const bool rebuilding = !matched.empty();
    if (rebuilding) {
      std::vector<std::string> records;
      for (const auto& line : lines) {
        const std::string upper = sys::upperAscii(line);
        if (matched.erase(upper) > 0) records.push_back(line);
      }
      const bool sumsIsABackup = !Store::usesSums(records);
      if (!sumsIsABackup) fs_.removeFile(store_.sumsPath(folder));
      fs_.writeLines(store_.filesPath(folder), records, true);
      for (const auto& line : records) claimed_.insert(sys::upperAscii(line));
      report_.rebuilt.push_back(folder);
      log(texts::healRebuilt(folder, records.size()));
    }
    // An unlisted folder that gave nothing back is the folder step's to judge, and reported there.
    if (!unmatched.empty() && (rebuilding || contains(names, folder))) {
      std::string list;
      for (const auto& bare : unmatched) list += (list.empty() ? "" : ", ") + bare;
      report_.unmatched.push_back(folder);
      noteOnce(texts::healUnmatchedBackups(folder, list));
    }
  }

  void healRegister() {
    const std::vector<std::string> lines =
        fs_.existsForReading(store_.registerPath()) ? fs_.readLines(store_.registerPath()) : std::vector<std::string>{};
    const std::vector<std::string> names = store_.openList();
    // A listed installation whose folder cannot be seen now may own any line: nothing is dropped.
    for (const auto& name : names) {
      if (isValidInstallationName(name) && !fs_.isFolder(store_.folder(name))) return;
    }
    // How often each game path is owned (a damaged register may hold a path twice). An installation that
    // is off holds none of its paths.
    std::map<std::string, int> owned;
    std::vector<std::pair<std::string, std::string>> records;  // (installation, game path)
    for (const auto& name : owners(store_.installationFolders(), names)) {
      if (store_.isOff(name)) continue;
      for (const auto& line : store_.recordedFiles(name)) {
        ++owned[sys::upperAscii(line)];
        records.emplace_back(name, line);
      }
    }
    registerLost(lines, records);
    std::vector<std::string> drop;
    for (const auto& line : lines) {
      int& count = owned[sys::upperAscii(line)];
      if (count > 0) {
        --count;
      } else if (equalsSomeBackup(line)) {
        report_.keptLines.push_back(line);
        noteOnce(texts::healLineKept(line));
      } else {
        drop.push_back(line);
      }
    }
    if (drop.empty()) return;
    store_.removeFromRegister(drop);
    for (const auto& line : drop) {
      report_.droppedLines.push_back(line);
      log(texts::healLineDropped(line));
    }
  }

  // A path an installation records and keeps the backup of, but which the register lost (a run cut off
  // between its two records): registered again, so that no other install takes it for an original.
  void registerLost(const std::vector<std::string>& lines, const std::vector<std::pair<std::string, std::string>>& records) {
    std::set<std::string> registered;
    for (const auto& line : lines) registered.insert(sys::upperAscii(line));
    std::vector<std::string> lost;
    for (const auto& [name, gamePath] : records) {
      if (!registered.insert(sys::upperAscii(gamePath)).second) continue;
      if (fs_.isFile(store_.backupPath(name, gamePath))) lost.push_back(gamePath);
    }
    if (lost.empty()) return;
    fs_.appendLines(store_.registerPath(), lost);
    fs_.syncFile(store_.registerPath());
    for (const auto& line : lost) {
      report_.registeredLines.push_back(line);
      log(texts::healLineRegistered(line));
    }
  }

  // Whether any installation folder, listed or not, keeps a backup with the game file's present bytes.
  bool equalsSomeBackup(const std::string& gamePath) {
    if (Store::isReservedFileName(sys::bareName(gamePath)) || !fs_.isFile(gamePath)) return false;
    for (const auto& folder : store_.installationFolders()) {
      if (!isValidInstallationName(folder)) continue;
      const std::string backup = store_.backupPath(folder, gamePath);
      if (fs_.isFile(backup) && fs_.sameContent(backup, gamePath)) return true;
    }
    return false;
  }

  app::Program& program_;
  sys::FileSystem& fs_;
  Store store_;
  HealNotes& notes_;
  HealReport report_;
  int faults_ = 0;
  std::set<std::string> claimed_;  // register lines (upper case) given to a rebuilt "files.dat" in this pass
  std::optional<std::map<std::string, std::vector<std::string>>> catalogue_;  // by upper-case bare name
};

}  // namespace

HealReport healStore(app::Program& program, HealNotes& notes) { return Healer(program, notes).run(); }

bool rebuildLostRecords(app::Program& program, const std::string& name) {
  HealNotes notes;
  return Healer(program, notes).rebuildOne(name);
}

}  // namespace installs
