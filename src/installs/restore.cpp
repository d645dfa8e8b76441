#include "installs/restore.h"

#include <algorithm>

#include "app/program.h"
#include "installs/changes.h"
#include "installs/ftf.h"
#include "installs/game_path.h"
#include "installs/heal.h"
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

bool listedByAnother(Store& store, const std::vector<std::string>& names, const std::string& name,
                     const std::string& gamePath) {
  auto& fs = store.fs();
  for (const auto& other : names) {
    if (other == name || !isValidInstallationName(other)) continue;
    const std::string own = store.filesPath(other);
    if (!fs.canOpenForReading(own)) continue;
    for (const auto& line : fs.readLines(own)) {
      if (sys::equalsIgnoringAsciiCase(line, gamePath)) return true;
    }
  }
  return false;
}

// Whether the game file holds the first bytes of the backup and nothing else: a copy of the original that
// an earlier run of this restore began and did not finish.
bool holdsTheStartOf(sys::FileSystem& fs, const std::string& gamePath, const std::string& backup) {
  const auto gameSize = fs.fileSize(gamePath);
  const auto backupSize = fs.fileSize(backup);
  if (!gameSize || !backupSize || *gameSize > *backupSize) return false;
  try {
    std::string game;
    fs.readBytes(gamePath, [&](std::string_view chunk) { game.append(chunk); });
    std::size_t offset = 0;
    bool same = true;
    fs.readBytes(backup, [&](std::string_view chunk) {
      if (!same || offset >= game.size()) return;
      const std::size_t count = std::min(chunk.size(), game.size() - offset);
      same = chunk.substr(0, count) == std::string_view(game).substr(offset, count);
      offset += count;
    });
    return same && offset == game.size();
  } catch (const sys::IoError&) {
    return false;
  }
}

enum class PutBack { Restored, RestoredBefore, NotRestored, Keep };

// Copies one original back over its game file and checks it there. A game file that no longer holds what
// the installation put there (when it recorded its sums) was changed since, by a game update most
// likely: the person decides whether the original goes back over it or is kept aside (Keep). Whatever
// is not put back for a reason of its own is said in an error box and the log, and stays as it was.
PutBack putBack(app::Program& program, Store& store, const std::vector<std::string>& names, const std::string& name,
                const std::string& gamePath, const FileSums* sums, ChangeCheck& changes) {
  auto& fs = program.fs();
  const std::string& gameFolder = program.settings.CSDir;
  switch (checkGamePath(fs, gameFolder, gamePath)) {
    case GamePathFault::None: break;
    case GamePathFault::OutsideGameFolder:
      program.ErrorMsg(texts::notRestoredOutside(gamePath, gameFolder), "");
      return PutBack::NotRestored;
    case GamePathFault::ThroughLink:
      program.ErrorMsg(texts::notRestoredLinked(gamePath), "");
      return PutBack::NotRestored;
  }
  const std::string backup = store.backupPath(name, gamePath);
  if (!fs.isFile(backup)) {
    // Restored before and the run cut off before "files.dat" was rewritten: nothing to do.
    if (!store.isInstalled(gamePath) || listedByAnother(store, names, name, gamePath)) return PutBack::RestoredBefore;
    // Lost by other hands, or out of reach for now: the game file keeps what it holds, and its record
    // stays for a later restore.
    program.ErrorMsg(texts::missingBackup(gamePath), "");
    return PutBack::NotRestored;
  }
  if (sums) {
    const auto now = changes.hash(fs, gamePath);
    // A file that cannot be read is not known to be changed, nor known not to be.
    if (now && now->empty()) {
      program.ErrorMsg(texts::unreadableGameFile(gamePath), "");
      return PutBack::NotRestored;
    }
    // Holding the original already, or the start of it, is no change: a restore cut off during or after
    // its copy is being repeated.
    if (now && *now != sums->installed && *now != sums->original && !holdsTheStartOf(fs, gamePath, backup) &&
        !app::askAttention(program.ui(), texts::changedAfterInstall(sys::bareName(gamePath), store.keptFolder()))) {
      return PutBack::Keep;
    }
  }
  FTF(program, backup, gamePath);
  return fs.sameContent(backup, gamePath) ? PutBack::Restored : PutBack::NotRestored;
}

// The name an original takes in the kept folder: its bare name, or "name (2).ext" and so on when taken.
std::string freeKeptName(sys::FileSystem& fs, const Store& store, const std::string& bare) {
  const std::string folder = store.keptFolder() + sys::kSep;
  if (!fs.exists(folder + bare)) return bare;
  const std::string ext = sys::extension(bare);
  const std::string stem = bare.substr(0, bare.size() - ext.size());
  for (int n = 2;; ++n) {
    const std::string candidate = stem + " (" + std::to_string(n) + ")" + ext;
    if (!fs.exists(folder + candidate)) return candidate;
  }
}

// Moves the original of gamePath out of the installation into the kept folder, recorded there first
// (its name, the date and time, the game path), so no file ever lies there without its record. False
// when it could not be moved.
bool keepOriginal(app::Program& program, Store& store, const std::string& name, const std::string& gamePath) {
  auto& fs = program.fs();
  fs.createFolder(store.keptFolder());
  const std::string kept = freeKeptName(fs, store, sys::bareName(gamePath));
  const std::string target = store.keptFolder() + sys::kSep + kept;
  fs.appendLines(store.keptRecordsPath(), {kept, sys::dateTime(program.services().clock.now()), gamePath});
  fs.syncFile(store.keptRecordsPath());
  if (!fs.moveFile(store.backupPath(name, gamePath), target)) return false;
  program.logError(texts::keptAsIsLog(gamePath, target));
  return true;
}

// What the own files leave behind in an installation's folder: whatever it holds besides them, the
// temporary names of their rewrites included.
bool holdsOnlyOwnFiles(sys::FileSystem& fs, const std::string& folder) {
  bool others = false;
  const bool listed = fs.enumerate(folder, [&](const sys::DirEntry& entry) {
    others = others || entry.kind != sys::EntryKind::File || !Store::isReservedFileName(entry.name);
  });
  return listed && !others;
}

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
  std::vector<std::string> copied;  // back in place
  std::vector<std::size_t> kept;    // the game's file stays, the original goes aside as the person chose
  std::vector<std::string> notRestored;
  std::vector<FileSums> notRestoredSums;
  for (std::size_t i = 0; i < files.size(); ++i) {
    const std::string& gamePath = files[i];
    ui.processEvents();
    switch (putBack(program, store, names, name, gamePath, sums ? &(*sums)[i] : nullptr, changes)) {
      case PutBack::Restored: copied.push_back(gamePath); break;
      case PutBack::Keep: kept.push_back(i); break;
      case PutBack::RestoredBefore: break;
      case PutBack::NotRestored:
        notRestored.push_back(gamePath);
        if (sums) notRestoredSums.push_back((*sums)[i]);
        break;
    }
    ui.processEvents();
  }
  for (const auto& gamePath : copied) {
    if (fs.isFile(store.backupPath(name, gamePath))) fs.syncFile(gamePath);
  }
  std::vector<std::string> done = copied;
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
    busy.end();
    app::showError(ui, texts::kNotAllRestored + keptNote);
    return RestoreResult::Incomplete;
  }

  for (const auto& ownFile : Store::ownFileNames()) {
    if (ownFile == "files.dat") continue;  // the last to go: while it stands, the installation does
    fs.removeFile(store.folder(name) + sys::kSep + ownFile);
    fs.removeFile(store.folder(name) + sys::kSep + ownFile + ".new");
  }
  const bool onlyOwn = holdsOnlyOwnFiles(fs, store.folder(name));
  fs.removeFile(own);
  fs.removeFile(own + ".new");
  fs.removeFolderIfEmpty(store.folder(name));
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
