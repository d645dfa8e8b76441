#include "installs/switch.h"

#include <algorithm>
#include <set>

#include "app/program.h"
#include "installs/content_hash.h"
#include "installs/game_path.h"
#include "installs/names.h"
#include "installs/put_back.h"
#include "installs/store.h"
#include "installs/sums.h"
#include "installs/texts.h"
#include "sys/clock.h"
#include "sys/encoding.h"
#include "sys/error.h"
#include "sys/paths.h"

namespace installs {
namespace {

[[noreturn]] void moveFailed(const std::string& from, const std::string& to) {
  throw sys::IoError(texts::moveFailed(from, to));
}

// One game file switched off: the pack's file from the game into the pack folder, then the original from
// its backup back into the game. Each step is judged by what stands where, so a run cut off anywhere goes
// on from there; a copy between volumes may have left its source behind, which goes once it is seen to be
// the same bytes as where it went.
void moveOff(sys::FileSystem& fs, Store& store, const std::string& name, const std::string& gamePath) {
  const std::string backup = store.backupPath(name, gamePath);
  const std::string pack = store.packPath(name, gamePath);
  if (!fs.isFile(backup)) return;
  if (fs.isFile(pack) && fs.isFile(gamePath)) {
    if (fs.sameContent(backup, gamePath)) {  // the original's copy back is whole: its source goes
      fs.removeFile(backup);
      return;
    }
    if (fs.sameContent(pack, gamePath)) fs.removeFile(gamePath);  // the pack file's copy is whole
  }
  if (!fs.isFile(pack) && fs.isFile(gamePath) && !relocate(fs, gamePath, pack)) moveFailed(gamePath, pack);
  if (!relocate(fs, backup, gamePath)) moveFailed(backup, gamePath);
}

// One game file switched on: the game's file as it is now becomes the backup, then the pack's file takes
// its place. Judged by what stands where, like moveOff.
void moveOn(sys::FileSystem& fs, Store& store, const std::string& name, const std::string& gamePath) {
  const std::string backup = store.backupPath(name, gamePath);
  const std::string pack = store.packPath(name, gamePath);
  if (!fs.isFile(pack)) return;
  if (fs.isFile(backup) && fs.isFile(gamePath)) {
    if (fs.sameContent(pack, gamePath)) {  // the pack file's copy into the game is whole: its source goes
      fs.removeFile(pack);
      return;
    }
    if (fs.sameContent(backup, gamePath)) fs.removeFile(gamePath);  // the original's copy is whole
  }
  if (!fs.isFile(backup) && !relocate(fs, gamePath, backup)) moveFailed(gamePath, backup);
  if (!relocate(fs, pack, gamePath)) moveFailed(pack, gamePath);
}

// What a copy between volumes cut off leaves beside its target (relocate's temporary names).
void removeCopiesCutOff(sys::FileSystem& fs, Store& store, const std::string& name, const std::string& gamePath) {
  for (const auto& target : {gamePath, store.backupPath(name, gamePath), store.packPath(name, gamePath)}) {
    fs.removeFile(target + ".part");
  }
}

std::string stampText(const std::optional<sys::FileStamp>& stamp) {
  return stamp ? std::to_string(stamp->size) + " " + std::to_string(stamp->modified) : std::string();
}

// "off.dat": when it was switched off, then per game path the size and write time of the original as it
// lies in the game again, so switching on knows which originals the game changed meanwhile.
void writeOffRecord(app::Program& program, Store& store, const std::string& name, const std::vector<std::string>& files) {
  auto& fs = program.fs();
  std::vector<std::string> lines = {sys::dateTime(program.services().clock.now())};
  for (const auto& gamePath : files) lines.push_back(stampText(fs.stamp(gamePath)));
  fs.writeLines(store.offPath(name), lines, true);
}

// The sums of originals that are not the ones backed up at the install (the game changed them while the
// installation was off) are worked out afresh; the pack's files did not change.
void refreshOriginalSums(sys::FileSystem& fs, Store& store, const std::string& name, const std::vector<std::string>& files) {
  if (!Store::usesSums(files)) return;
  auto sums = readSums(fs, store.sumsPath(name), files.size());
  if (!sums) return;
  const auto off = fs.isFile(store.offPath(name)) ? fs.readLines(store.offPath(name)) : std::vector<std::string>{};
  bool changed = false;
  try {
    for (std::size_t i = 0; i < files.size(); ++i) {
      const std::string backup = store.backupPath(name, files[i]);
      if (i + 1 < off.size() && !off[i + 1].empty() && stampText(fs.stamp(backup)) == off[i + 1]) continue;
      (*sums)[i].original = fileContentHash(fs, backup);
      changed = true;
    }
  } catch (const sys::IoError&) {
    fs.removeFile(store.sumsPath(name));  // an installation without sums restores as before
    return;
  }
  if (changed) writeSums(fs, store.sumsPath(name), *sums);
}

void finishOff(app::Program& program, Store& store, const std::string& name, const std::vector<std::string>& files) {
  auto& fs = program.fs();
  fs.createFolder(store.packFolder(name));
  for (const auto& gamePath : files) {
    moveOff(fs, store, name, gamePath);
    removeCopiesCutOff(fs, store, name, gamePath);
    program.ui().processEvents();
  }
  store.removeFromRegister(files);
  if (!store.isOff(name)) writeOffRecord(program, store, name, files);
  store.endMoves(name);
}

void finishOn(app::Program& program, Store& store, const std::string& name, const std::vector<std::string>& files) {
  auto& fs = program.fs();
  std::set<std::string> registered;
  if (fs.existsForReading(store.registerPath())) {
    for (const auto& line : fs.readLines(store.registerPath())) registered.insert(sys::upperAscii(line));
  }
  std::vector<std::string> missing;
  for (const auto& gamePath : files) {
    if (registered.insert(sys::upperAscii(gamePath)).second) missing.push_back(gamePath);
  }
  if (!missing.empty()) {
    fs.appendLines(store.registerPath(), missing);
    fs.syncFile(store.registerPath());
  }
  for (const auto& gamePath : files) {
    moveOn(fs, store, name, gamePath);
    removeCopiesCutOff(fs, store, name, gamePath);
    program.ui().processEvents();
  }
  refreshOriginalSums(fs, store, name, files);
  fs.removeFile(store.offPath(name));
  fs.removeFolderIfEmpty(store.packFolder(name));
  store.endMoves(name);
}

bool usable(app::Program& program, Store& store, const std::string& name) {
  if (isValidInstallationName(name) && program.fs().isFolder(store.folder(name)) &&
      program.fs().isFile(store.filesPath(name))) {
    return true;
  }
  app::showError(program.ui(), texts::kFilesNotFound);
  return false;
}

// The installation of names other than name that is on and records gamePath, or nothing.
std::optional<std::size_t> holderOf(Store& store, const std::vector<std::string>& names, const std::string& name,
                                    const std::string& gamePath) {
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i] == name || !isValidInstallationName(names[i]) || store.isOff(names[i])) continue;
    const auto files = store.recordedFiles(names[i]);
    if (std::any_of(files.begin(), files.end(),
                    [&](const std::string& line) { return sys::equalsIgnoringAsciiCase(line, gamePath); })) {
      return i;
    }
  }
  return std::nullopt;
}

}  // namespace

bool finishMoves(app::Program& program, const std::string& name) {
  Store store(program.fs(), program.settings.FilePath);
  if (!isValidInstallationName(name)) return false;
  const std::string what = store.journal(name);
  const auto files = store.recordedFiles(name);
  if (what == moving::kOff) {
    finishOff(program, store, name, files);
  } else if (what == moving::kOn) {
    finishOn(program, store, name, files);
  } else {
    return false;  // nothing, or a restore: the next restore goes on with it
  }
  return true;
}

SwitchResult SwitchOff(app::Program& program, const std::vector<std::string>& names, std::size_t index,
                       ChangeCheck* changes) {
  auto& fs = program.fs();
  const std::string name = names.at(index);
  Store store(fs, program.settings.FilePath);
  if (!usable(program, store, name)) return SwitchResult::Unchanged;
  finishMoves(program, name);
  if (store.isOff(name)) return SwitchResult::Switched;
  app::BusyScope busy(program, texts::kSwitchingOff);
  if (!fs.existsForReading(store.registerPath())) fs.createEmpty(store.registerPath());
  const std::vector<std::string> files = fs.readLines(store.filesPath(name));
  const auto sums = Store::usesSums(files) ? readSums(fs, store.sumsPath(name), files.size()) : std::nullopt;
  ChangeCheck local;
  ChangeCheck& seen = changes ? *changes : local;

  // Every file is judged before any moves: a fault leaves the installation on, as it is.
  std::vector<Finding> findings;
  const bool restoring = store.journal(name) == moving::kRestore;  // a restore cut off: its moves stand
  for (std::size_t i = 0; i < files.size(); ++i) {
    findings.push_back(assess(program, store, names, name, files[i], sums ? &(*sums)[i] : nullptr, seen, restoring));
    if (findings.back() == Finding::Fault) return SwitchResult::Unchanged;
  }
  // A file the game no longer holds as installed leaves the installation as a restore lets it go.
  std::vector<std::string> leaving, copied, kept, moving;
  std::vector<FileSums> movingSums;
  for (std::size_t i = 0; i < files.size(); ++i) {
    const std::string& gamePath = files[i];
    if (findings[i] == Finding::RestoredBefore) {
      leaving.push_back(gamePath);
    } else if (findings[i] == Finding::Changed || !fs.isFile(gamePath) ||
               fs.sameFile(store.backupPath(name, gamePath), gamePath)) {
      // Changed, gone, or never replaced (an install cut off while its backup was still a second name
      // of the game file): the pack has no file of its own for it.
      if (findings[i] == Finding::Changed && !originalGoesBack(program, store, gamePath)) {
        kept.push_back(gamePath);
      } else if (copyBack(program, store, name, gamePath)) {
        copied.push_back(gamePath);
      } else {
        return SwitchResult::Unchanged;  // FTF said why; what went back so far is back, and stays recorded
      }
      leaving.push_back(gamePath);
    } else {
      moving.push_back(gamePath);
      if (sums) movingSums.push_back((*sums)[i]);
    }
  }
  if (!leaving.empty()) {
    std::vector<std::string> done = copied;
    done.insert(done.end(), kept.begin(), kept.end());
    store.removeFromRegister(done);
    for (const auto& gamePath : copied) fs.removeFile(store.backupPath(name, gamePath));
    for (const auto& gamePath : kept) {
      if (!keepOriginal(program, store, name, gamePath)) {
        fs.appendLine(store.registerPath(), gamePath);  // still its backup: still the installation's
        return SwitchResult::Unchanged;
      }
    }
    // The hashes first, as a restore writes them, then the paths that stay.
    if (sums) {
      writeSums(fs, store.sumsPath(name), movingSums);
    } else if (Store::usesSums(files)) {
      fs.removeFile(store.sumsPath(name));
    }
    fs.writeLines(store.filesPath(name), moving, true);
  }

  store.beginMoves(name, moving::kOff);
  finishOff(program, store, name, moving);
  return SwitchResult::Switched;
}

SwitchResult SwitchOn(app::Program& program, const std::vector<std::string>& names, std::size_t index) {
  auto& fs = program.fs();
  const std::string name = names.at(index);
  Store store(fs, program.settings.FilePath);
  if (!usable(program, store, name)) return SwitchResult::Unchanged;
  finishMoves(program, name);
  if (!store.isOff(name)) return SwitchResult::Switched;
  const std::vector<std::string> files = fs.readLines(store.filesPath(name));
  const std::string& gameFolder = program.settings.CSDir;
  for (const auto& gamePath : files) {
    std::string fault;
    switch (checkGamePath(fs, gameFolder, gamePath)) {
      case GamePathFault::None: break;
      case GamePathFault::OutsideGameFolder: fault = texts::outsideGameFolder(gamePath, gameFolder); break;
      case GamePathFault::ThroughLink: fault = texts::linkedGameFile(gamePath); break;
    }
    if (fault.empty() && !fs.isFile(store.packPath(name, gamePath))) fault = texts::packFileMissing(gamePath);
    if (fault.empty() && !fs.isFile(gamePath)) fault = texts::gameFileMissing(gamePath);
    if (!fault.empty()) {
      program.ErrorMsg(fault, "");
      return SwitchResult::Unchanged;
    }
  }
  // A game file another installation holds now: that one goes off first, or nothing happens.
  for (const auto& gamePath : files) {
    if (!store.isInstalled(gamePath)) continue;
    const auto holder = holderOf(store, names, name, gamePath);
    if (!holder) {
      program.ErrorMsg(texts::alreadyInstalled(sys::bareName(gamePath)), "");
      return SwitchResult::Unchanged;
    }
    if (!app::askAttention(program.ui(), texts::heldByAnother(sys::bareName(gamePath), names[*holder])) ||
        SwitchOff(program, names, *holder) != SwitchResult::Switched) {
      return SwitchResult::Unchanged;
    }
  }
  app::BusyScope busy(program, texts::kSwitchingOn);
  store.beginMoves(name, moving::kOn);
  finishOn(program, store, name, files);
  return SwitchResult::Switched;
}

std::vector<std::string> sharingInstallations(app::Program& program, const std::vector<std::string>& names,
                                              std::size_t index) {
  Store store(program.fs(), program.settings.FilePath);
  const std::string& name = names.at(index);
  std::set<std::string> own;
  if (isValidInstallationName(name)) {
    for (const auto& line : store.recordedFiles(name)) own.insert(sys::upperAscii(line));
  }
  std::vector<std::string> sharing;
  for (const auto& other : names) {
    if (other == name || !isValidInstallationName(other) || own.empty()) continue;
    const auto files = store.recordedFiles(other);
    if (std::any_of(files.begin(), files.end(), [&](const std::string& line) { return own.count(sys::upperAscii(line)) > 0; })) {
      sharing.push_back(other);
    }
  }
  return sharing;
}

}  // namespace installs
