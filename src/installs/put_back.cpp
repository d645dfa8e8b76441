#include "installs/put_back.h"

#include <algorithm>

#include "app/program.h"
#include "installs/ftf.h"
#include "installs/game_path.h"
#include "installs/names.h"
#include "installs/texts.h"
#include "sys/clock.h"
#include "sys/encoding.h"
#include "sys/error.h"
#include "sys/paths.h"

namespace installs {
namespace {

}  // namespace

bool heldByAnother(Store& store, const std::vector<std::string>& names, const std::string& name,
                   const std::string& gamePath) {
  auto& fs = store.fs();
  for (const auto& other : names) {
    if (other == name || !isValidInstallationName(other)) continue;
    const std::string own = store.filesPath(other);
    if (!fs.canOpenForReading(own) || store.isOff(other)) continue;
    for (const auto& line : fs.readLines(own)) {
      if (sys::equalsIgnoringAsciiCase(line, gamePath)) return true;
    }
  }
  return false;
}

namespace {

// Whether the game file holds the first bytes of the backup and nothing else: a copy of the original that
// an earlier run of a restore began and did not finish.
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

}  // namespace

Finding assess(app::Program& program, Store& store, const std::vector<std::string>& names, const std::string& name,
               const std::string& gamePath, const FileSums* sums, ChangeCheck& changes, bool movedBack) {
  auto& fs = program.fs();
  const std::string& gameFolder = program.settings.CSDir;
  switch (checkGamePath(fs, gameFolder, gamePath)) {
    case GamePathFault::None: break;
    case GamePathFault::OutsideGameFolder:
      program.ErrorMsg(texts::notRestoredOutside(gamePath, gameFolder), "");
      return Finding::Fault;
    case GamePathFault::ThroughLink:
      program.ErrorMsg(texts::notRestoredLinked(gamePath), "");
      return Finding::Fault;
  }
  const std::string backup = store.backupPath(name, gamePath);
  if (!fs.isFile(backup)) {
    // Restored before and the run cut off before "files.dat" was rewritten: nothing to do.
    if (movedBack || !store.isInstalled(gamePath) || heldByAnother(store, names, name, gamePath)) {
      return Finding::RestoredBefore;
    }
    // Lost by other hands, or out of reach for now: the game file keeps what it holds, and its record
    // stays for a later restore.
    program.ErrorMsg(texts::missingBackup(gamePath), "");
    return Finding::Fault;
  }
  if (!sums) return Finding::Unchanged;
  const auto now = changes.hash(fs, gamePath, sums);
  // A file that cannot be read is not known to be changed, nor known not to be.
  if (now && now->empty()) {
    program.ErrorMsg(texts::unreadableGameFile(gamePath), "");
    return Finding::Fault;
  }
  // Holding the original already, or the start of it, is no change: a restore cut off during or after
  // its copy is being repeated.
  const bool changed =
      now && *now != sums->installed && *now != sums->original && !holdsTheStartOf(fs, gamePath, backup);
  return changed ? Finding::Changed : Finding::Unchanged;
}

bool originalGoesBack(app::Program& program, Store& store, const std::string& gamePath) {
  return app::askAttention(program.ui(), texts::changedAfterInstall(sys::bareName(gamePath), store.keptFolder()));
}

bool copyBack(app::Program& program, Store& store, const std::string& name, const std::string& gamePath) {
  const std::string backup = store.backupPath(name, gamePath);
  // A backup that is still a second name of the game file (an install cut off before the game file got
  // its new bytes): the original is in the game already, and no copy may go onto itself.
  if (program.fs().sameFile(backup, gamePath)) return true;
  FTF(program, backup, gamePath);
  return program.fs().sameContent(backup, gamePath);
}

bool moveBack(app::Program& program, Store& store, const std::string& name, const std::string& gamePath) {
  auto& fs = program.fs();
  const std::string backup = store.backupPath(name, gamePath);
  if (fs.sameFile(backup, gamePath)) return true;
  fs.setNormal(gamePath);
  if (fs.replaceFile(backup, gamePath)) return true;
  return copyBack(program, store, name, gamePath);
}

bool keepOriginal(app::Program& program, Store& store, const std::string& name, const std::string& gamePath) {
  auto& fs = program.fs();
  fs.createFolder(store.keptFolder());
  const std::string kept = freeKeptName(fs, store, sys::bareName(gamePath));
  const std::string target = store.keptFolder() + sys::kSep + kept;
  fs.appendLines(store.keptRecordsPath(), {kept, sys::dateTime(program.services().clock.now()), gamePath});
  fs.syncFile(store.keptRecordsPath());
  if (!relocate(fs, store.backupPath(name, gamePath), target)) return false;
  program.logError(texts::keptAsIsLog(gamePath, target));
  return true;
}

bool holdsOnlyOwnFiles(sys::FileSystem& fs, const std::string& folder) {
  bool others = false;
  const bool listed = fs.enumerate(folder, [&](const sys::DirEntry& entry) {
    others = others || entry.kind != sys::EntryKind::File || !Store::isReservedFileName(entry.name);
  });
  return listed && !others;
}

bool relocate(sys::FileSystem& fs, const std::string& from, const std::string& to) {
  if (fs.moveFile(from, to)) return true;
  if (fs.exists(to) || !fs.isFile(from)) return false;
  // Another volume: a whole, checked copy first, under a name nothing reads.
  const std::string part = to + ".part";
  try {
    fs.removeFile(part);
    fs.copyFile(from, part);
    if (!fs.sameContent(from, part)) {
      fs.removeFile(part);
      return false;
    }
    fs.syncFile(part);
  } catch (const sys::IoError&) {
    fs.removeFile(part);
    return false;
  }
  if (!fs.moveFile(part, to)) {
    fs.removeFile(part);
    return false;
  }
  fs.removeFile(from);
  return true;
}

}  // namespace installs
