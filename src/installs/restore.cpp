#include "installs/restore.h"

#include "app/program.h"
#include "installs/ftf.h"
#include "installs/names.h"
#include "installs/texts.h"
#include "sys/encoding.h"
#include "sys/error.h"

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

enum class PutBack { Restored, RestoredBefore, NotRestored };

// Copies one original back over its game file and checks it there.
PutBack putBack(app::Program& program, Store& store, const std::vector<std::string>& names, const std::string& name,
                const std::string& gamePath) {
  auto& fs = program.fs();
  const std::string backup = store.backupPath(name, gamePath);
  if (!fs.isFile(backup)) {
    // Restored before and the run cut off before "files.dat" was rewritten: nothing to do.
    if (!store.isInstalled(gamePath) || listedByAnother(store, names, name, gamePath)) return PutBack::RestoredBefore;
    // Lost by other hands: only the person can put an original back now.
    FTF(program, backup, gamePath);
    return PutBack::Restored;
  }
  FTF(program, backup, gamePath);
  return fs.sameContent(backup, gamePath) ? PutBack::Restored : PutBack::NotRestored;
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

Installation showInstallation(app::Program& program, const std::string& name) {
  if (!isValidInstallationName(name)) return {};
  Store store(program.fs(), program.settings.FilePath);
  store.ensureInstallation(name);
  return store.readInstallation(name);
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
  if (!fs.isFile(own)) {
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
  std::vector<std::string> restored;
  std::vector<std::string> notRestored;
  for (const auto& gamePath : fs.readLines(own)) {
    ui.processEvents();
    switch (putBack(program, store, names, name, gamePath)) {
      case PutBack::Restored: restored.push_back(gamePath); break;
      case PutBack::RestoredBefore: break;
      case PutBack::NotRestored: notRestored.push_back(gamePath); break;
    }
    ui.processEvents();
  }
  for (const auto& gamePath : restored) {
    if (fs.isFile(store.backupPath(name, gamePath))) fs.syncFile(gamePath);
  }
  store.removeFromRegister(restored);
  for (const auto& gamePath : restored) fs.removeFile(store.backupPath(name, gamePath));
  if (!notRestored.empty()) {
    fs.writeLines(own, notRestored, true);
    busy.end();
    app::showError(ui, texts::kNotAllRestored);
    return RestoreResult::Incomplete;
  }

  fs.removeFile(store.infoPath(name));
  fs.removeFile(store.timePath(name));
  fs.removeFile(own);
  fs.removeFolderIfEmpty(store.folder(name));
  busy.end();
  dropEntry(store, names, index, listChanged, RestoreResult::Restored);
  app::showAttention(ui, texts::kRestored);
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
