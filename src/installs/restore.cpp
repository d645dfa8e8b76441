#include "installs/restore.h"

#include <algorithm>

#include "app/program.h"
#include "installs/changes.h"
#include "installs/heal.h"
#include "installs/put_back.h"
#include "installs/switch.h"
#include "installs/names.h"
#include "installs/sums.h"
#include "installs/texts.h"
#include "sys/encoding.h"
#include "sys/error.h"
#include "sys/paths.h"

namespace installs {
namespace {

// The busy state of a restore, ended at a chosen point or on the way out.
class RestoreBusy {
 public:
  explicit RestoreBusy(app::Program& program) : program_(program) { program_.Status(texts::kRestoring, 1); }
  ~RestoreBusy() { end(); }
  void end() {
    if (active_) program_.Status("", 0);
    active_ = false;
  }
  RestoreBusy(const RestoreBusy&) = delete;
  RestoreBusy& operator=(const RestoreBusy&) = delete;

 private:
  app::Program& program_;
  bool active_ = true;
};

// names changes only once "list.dat" has: when the list cannot be written, names stays what the
// file says.
void dropEntry(Store& store, std::vector<std::string>& names, std::size_t index,
               const std::function<void(RestoreResult)>& listChanged, RestoreResult result) {
  std::vector<std::string> remaining = names;
  remaining.erase(remaining.begin() + static_cast<std::ptrdiff_t>(index));
  store.saveList(remaining);
  names = std::move(remaining);
  if (listChanged) listChanged(result);
}

// The installation's own files go, "files.dat" the last (while it stands, the installation does), and
// the folder when nothing else is left in it. Whether nothing else was.
bool dissolve(sys::FileSystem& fs, Store& store, const std::string& name) {
  fs.removeFolderIfEmpty(store.packFolder(name));  // left by a switch cut off before its first move
  for (const auto& ownFile : Store::ownFileNames()) {
    if (ownFile == "files.dat") continue;
    fs.removeFile(store.folder(name) + sys::kSep + ownFile);
    fs.removeFile(store.folder(name) + sys::kSep + ownFile + ".new");
  }
  const bool onlyOwn = holdsOnlyOwnFiles(fs, store.folder(name));
  fs.removeFile(store.filesPath(name));
  fs.removeFile(store.filesPath(name) + ".new");
  fs.removeFolderIfEmpty(store.folder(name));
  return onlyOwn;
}

// An installation that is off: its originals are in the game already; its pack's files and records go.
RestoreResult deleteOff(app::Program& program, Store& store, std::vector<std::string>& names, std::size_t index,
                        const std::function<void(RestoreResult)>& listChanged) {
  auto& fs = program.fs();
  const std::string name = names[index];
  if (!app::askAttention(program.ui(), texts::deleteOffQuestion(name))) return RestoreResult::Declined;
  fs.removeTree(store.packFolder(name));
  const bool onlyOwn = dissolve(fs, store, name);
  const RestoreResult result = onlyOwn ? RestoreResult::Deleted : RestoreResult::UnknownFilesLeft;
  dropEntry(store, names, index, listChanged, result);
  if (onlyOwn) {
    app::showAttention(program.ui(), texts::kOffDeleted);
  } else {
    program.ErrorMsg(texts::unknownFilesLeft(store.folder(name)), "");
  }
  return result;
}

}  // namespace

std::vector<std::string> openInstallationList(app::Program& program) {
  return Store(program.fs(), program.settings.FilePath).openList();
}

Installation showInstallation(app::Program& program, const std::string& name, ChangeCheck* changes) {
  if (!isValidInstallationName(name)) return {};
  Store store(program.fs(), program.settings.FilePath);
  store.ensureInstallation(name);
  Installation installation = store.readInstallation(name);
  if (changes && Store::usesSums(installation.files)) {
    const auto sums = readSums(program.fs(), store.sumsPath(name), installation.files.size());
    installation.changedFiles = changes->countChanged(program.fs(), installation.files, sums);
  }
  return installation;
}

RestoreResult Restore(app::Program& program, std::vector<std::string>& names, std::size_t index,
                      const std::function<void(RestoreResult)>& listChanged) {
  auto& fs = program.fs();
  auto& ui = program.ui();
  const std::string name = names.at(index);
  Store store(fs, program.settings.FilePath);
  RestoreBusy busy(program);

  // A name no installation may carry has no folder of its own (an empty line would name the store).
  if (!isValidInstallationName(name) || !fs.isFolder(store.folder(name))) {
    program.ErrorMsg(texts::kFilesNotFound, texts::kFolderMissingLog);
    busy.end();
    dropEntry(store, names, index, listChanged, RestoreResult::FolderMissing);
    return RestoreResult::FolderMissing;
  }
  finishMoves(program, name);
  if (store.isOff(name)) {
    busy.end();
    return deleteOff(program, store, names, index, listChanged);
  }
  const std::string own = store.filesPath(name);
  // A lost "files.dat" is first given back from the register, as healing does, so the backups it
  // named come back with the rest.
  if (!fs.isFile(own) && !rebuildLostRecords(program, name)) {
    fs.removeFile(store.infoPath(name));
    fs.removeFile(store.timePath(name));
    program.ErrorMsg(texts::kFilesNotFound, texts::kFilesDatMissingLog);
    busy.end();
    dropEntry(store, names, index, listChanged, RestoreResult::ListMissing);
    return RestoreResult::ListMissing;
  }

  // Every original goes back and is checked there and forced to the disk; only then do the paths
  // leave the register and the backups go. A run cut off anywhere can be repeated.
  if (!fs.existsForReading(store.registerPath())) fs.createEmpty(store.registerPath());
  const std::vector<std::string> files = fs.readLines(own);
  const bool withSums = Store::usesSums(files);
  const auto sums = withSums ? readSums(fs, store.sumsPath(name), files.size()) : std::nullopt;
  ChangeCheck changes;
  // Originals go back by renames: once the first has, a missing backup of this installation means one
  // that went back (in this run, or in one cut off), never one lost.
  const bool resuming = store.journal(name) == moving::kRestore;
  if (!files.empty()) store.beginMoves(name, moving::kRestore);
  std::vector<std::string> copied;  // back in place
  std::vector<std::string> movedBefore;  // back in place by the run cut off
  std::vector<std::size_t> kept;    // the game's file stays, the original goes aside as the person chose
  std::vector<std::string> notRestored;
  std::vector<FileSums> notRestoredSums;
  for (std::size_t i = 0; i < files.size(); ++i) {
    const std::string& gamePath = files[i];
    ui.processEvents();
    bool back = false;
    switch (assess(program, store, names, name, gamePath, sums ? &(*sums)[i] : nullptr, changes, resuming)) {
      case Finding::RestoredBefore:
        // Moved back by the run being resumed: its register line may still stand.
        if (resuming && !heldByAnother(store, names, name, gamePath)) movedBefore.push_back(gamePath);
        continue;
      case Finding::Fault: break;
      case Finding::Changed:
        if (!originalGoesBack(program, store, gamePath)) {
          kept.push_back(i);
          continue;
        }
        [[fallthrough]];
      case Finding::Unchanged: back = moveBack(program, store, name, gamePath); break;
    }
    if (back) {
      copied.push_back(gamePath);
    } else {
      notRestored.push_back(gamePath);
      if (sums) notRestoredSums.push_back((*sums)[i]);
    }
    ui.processEvents();
  }
  for (const auto& gamePath : copied) {
    if (fs.isFile(store.backupPath(name, gamePath))) fs.syncFile(gamePath);
  }
  std::vector<std::string> done = copied;
  done.insert(done.end(), movedBefore.begin(), movedBefore.end());
  for (const std::size_t i : kept) done.push_back(files[i]);
  store.removeFromRegister(done);
  for (const auto& gamePath : copied) fs.removeFile(store.backupPath(name, gamePath));
  std::size_t keptCount = 0;
  for (const std::size_t i : kept) {
    if (keepOriginal(program, store, name, files[i])) {
      ++keptCount;
      continue;
    }
    // Still in the installation's folder: it stays the installation's, registered again.
    fs.appendLine(store.registerPath(), files[i]);
    notRestored.push_back(files[i]);
    notRestoredSums.push_back((*sums)[i]);  // a file is kept only where sums told it changed
  }
  const std::string keptNote = keptCount == 0 ? std::string() : "\r\n" + texts::keptOriginals(keptCount, store.keptFolder());
  if (!notRestored.empty()) {
    // The hashes first, so that a run cut off between the two leaves them out of step (and unused)
    // rather than paired with the wrong paths. Without sums, "sums.dat" may be a backup: left alone.
    if (sums) {
      writeSums(fs, store.sumsPath(name), notRestoredSums);
    } else if (withSums) {
      fs.removeFile(store.sumsPath(name));
    }
    fs.writeLines(own, notRestored, true);
    store.endMoves(name);
    busy.end();
    app::showError(ui, texts::kNotAllRestored + keptNote);
    return RestoreResult::Incomplete;
  }

  const bool onlyOwn = dissolve(fs, store, name);
  busy.end();
  if (!onlyOwn) {
    // Every original is back, so the entry goes; what the folder holds besides stays for the person.
    dropEntry(store, names, index, listChanged, RestoreResult::UnknownFilesLeft);
    program.ErrorMsg(texts::unknownFilesLeft(store.folder(name)) + keptNote, texts::unknownFilesLeft(store.folder(name)));
    return RestoreResult::UnknownFilesLeft;
  }
  dropEntry(store, names, index, listChanged, RestoreResult::Restored);
  app::showAttention(ui, texts::kRestored + keptNote);
  return RestoreResult::Restored;
}

RenameResult Rename(app::Program& program, std::vector<std::string>& names, std::size_t index) {
  auto& ui = program.ui();
  const std::string old = names.at(index);
  const auto answer = ui.inputBox(app::kApplicationTitle, texts::kNewNamePrompt, old);
  if (!answer) return RenameResult::Unchanged;  // cancelled: everything stays as it was
  if (answer->empty()) {
    app::showError(ui, texts::kNameRequired);
    return RenameResult::Refused;
  }
  if (*answer == old) return RenameResult::Unchanged;
  if (!isValidNewInstallationName(*answer)) {
    app::showError(ui, texts::kInvalidName);
    return RenameResult::Refused;
  }
  Store store(program.fs(), program.settings.FilePath);
  if (!isValidInstallationName(old) || !store.renameInstallation(old, *answer)) {
    app::showError(ui, texts::kRenameFailed);
    return RenameResult::Refused;
  }
  std::vector<std::string> renamed = names;
  renamed[index] = *answer;
  try {
    store.saveList(renamed);
  } catch (const sys::IoError&) {
    store.renameInstallation(*answer, old);  // the list still names the old folder
    throw;
  }
  names = std::move(renamed);
  return RenameResult::Renamed;
}

}  // namespace installs
