#include "installs/heal.h"

#include <algorithm>
#include <functional>
#include <map>
#include <optional>

#include "app/program.h"
#include "installs/names.h"
#include "installs/store.h"
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
    attempt([&] { healFolders(); });
    attempt([&] { healRegister(); });
    return report_;
  }

 private:
  // A step the disk refuses ends that step only; the rest of the pass goes on.
  void attempt(const std::function<void()>& step) {
    try {
      step();
    } catch (const sys::IoError& error) {
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

  void healFolders() {
    const std::vector<std::string> names = store_.openList();
    const std::vector<std::string> folders = store_.installationFolders();
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

  void healRegister() {
    if (!fs_.exists(store_.registerPath())) return;
    const std::vector<std::string> lines = fs_.readLines(store_.registerPath());
    // How often each game path is owned (a damaged register may hold a path twice).
    std::map<std::string, int> owned;
    for (const auto& name : store_.openList()) {
      if (!isValidInstallationName(name) || !fs_.isFolder(store_.folder(name))) continue;
      for (const auto& line : store_.recordedFiles(name)) ++owned[sys::upperAscii(line)];
    }
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
  std::optional<std::map<std::string, std::vector<std::string>>> catalogue_;  // by upper-case bare name
};

}  // namespace

HealReport healStore(app::Program& program, HealNotes& notes) { return Healer(program, notes).run(); }

}  // namespace installs
