#include "installs/install.h"

#include <algorithm>
#include <optional>

#include "app/program.h"
#include "installs/content_hash.h"
#include "installs/ftf.h"
#include "installs/game_path.h"
#include "installs/names.h"
#include "installs/store.h"
#include "installs/sums.h"
#include "installs/texts.h"
#include "sys/encoding.h"
#include "sys/error.h"
#include "sys/paths.h"

namespace installs {
namespace {

// The progress bar back at 0 and the status line empty on every way out of an install.
class ProgressScope {
 public:
  explicit ProgressScope(DialogView& view) : view_(view) {}
  ~ProgressScope() {
    view_.setProgress(0);
    view_.setStatus("");
  }
  ProgressScope(const ProgressScope&) = delete;
  ProgressScope& operator=(const ProgressScope&) = delete;

 private:
  DialogView& view_;
};

// The folder, "info.dat", "time.dat" and the line in "list.dat". When a step fails, what was made is
// taken away again, so no listed name lacks its folder and no unlisted folder blocks the name.
void createInstallation(app::Program& program, Store& store, const std::string& name, const std::string& description) {
  auto& fs = program.fs();
  const std::vector<std::string> before = store.openList();
  store.createInstallationFolder(name);
  try {
    store.writeDescriptionAndTime(name, description, sys::dateTime(program.services().clock.now()));
  } catch (const sys::IoError&) {
    fs.removeFile(store.infoPath(name));
    fs.removeFile(store.timePath(name));
    fs.removeFolderIfEmpty(store.folder(name));
    throw;
  }
  try {
    store.appendName(name);
    // On the disk before any original is copied, as the records are: a power cut must not leave backups
    // in a folder that no list names.
    fs.syncFile(store.listPath());
  } catch (const sys::IoError&) {
    try {
      store.saveList(before);  // no half-written line stays behind
    } catch (const sys::IoError&) {
    }
    fs.removeFile(store.infoPath(name));
    fs.removeFile(store.timePath(name));
    fs.removeFolderIfEmpty(store.folder(name));
    throw;
  }
}

// The content hash of a file, or nothing when it cannot be read.
std::optional<std::string> hashOf(sys::FileSystem& fs, const std::string& path) {
  try {
    return fileContentHash(fs, path);
  } catch (const sys::IoError&) {
    return std::nullopt;
  }
}

// Backs up the original of gamePath into the installation folder and checks the copy by content. The
// original's content hash, or nothing, with its message, for a file that is not to be installed.
std::optional<std::string> backUp(app::Program& program, Store& store, const std::string& name,
                                  const std::string& gamePath, const std::vector<std::string>& backedUp, bool& linked) {
  auto& fs = program.fs();
  auto& ui = program.ui();
  const std::string bare = sys::bareName(gamePath);
  // Its backup would take the place of the installation's own file, or its path cannot be one line of
  // "files.dat" (a line break in a name would record it as two paths, neither of which comes back).
  if (Store::isReservedFileName(bare) || gamePath.find_first_of("\r\n") != std::string::npos) {
    app::showAttention(ui, texts::reservedName(bare));
    return std::nullopt;
  }
  switch (checkGamePath(fs, program.settings.CSDir, gamePath)) {
    case GamePathFault::None: break;
    case GamePathFault::OutsideGameFolder:
      program.ErrorMsg(texts::outsideGameFolder(gamePath, program.settings.CSDir), "");
      return std::nullopt;
    case GamePathFault::ThroughLink:
      program.ErrorMsg(texts::linkedGameFile(gamePath), "");
      return std::nullopt;
  }
  // Installed before, or chosen twice in this list.
  const auto equal = [&](const std::string& other) { return sys::equalsIgnoringAsciiCase(other, gamePath); };
  if (std::any_of(backedUp.begin(), backedUp.end(), equal) || store.isInstalled(gamePath)) {
    app::showAttention(ui, texts::alreadyInstalled(bare));
    return std::nullopt;
  }
  const std::string backup = store.backupPath(name, gamePath);
  // Something holds the backup's place already: on a system that ignores letter case, the backup of a
  // game file whose name differs from this one only in case ("Ёлка.wav", "ёлка.wav"). It may be the only
  // copy of another original, so it is never written over.
  if (fs.exists(backup)) {
    app::showError(ui, texts::originalNotSaved(bare));
    return std::nullopt;
  }
  const auto originalSize = fs.fileSize(gamePath);
  // On one volume the backup is a second name of the original, and no byte is copied: the game file
  // gets its new bytes under a name of its own later (Install), so this one keeps the original's.
  linked = originalSize && fs.linkFile(gamePath, backup);
  if (linked) {
    fs.setNormal(backup);
  } else if (originalSize) {
    FTF(program, gamePath, backup);
  }
  // No overwrite without a true copy of the original: same size, then same content.
  std::string originalHash;  // empty: no true copy
  if (linked) {
    originalHash = hashOf(fs, gamePath).value_or("");
  } else if (originalSize && fs.isFile(backup) && fs.fileSize(backup) == originalSize) {
    const auto original = hashOf(fs, gamePath);
    if (original && hashOf(fs, backup) == original) originalHash = *original;
  }
  if (originalHash.empty()) {
    // A copy that differs is none; it is not kept (the place was free before, so whatever stands there
    // now was made for this install).
    if (originalSize) fs.removeFile(backup);
    app::showError(ui, texts::originalNotSaved(bare));
    return std::nullopt;
  }
  return originalHash;
}

// Gives a backup made as a second name of the game file bytes of its own: a checked copy under a
// temporary name that then takes the backup's. False when it could not.
bool separate(sys::FileSystem& fs, const std::string& backup, const std::string& gamePath) {
  const std::string part = backup + ".part";
  try {
    fs.copyFile(gamePath, part);
    if (fs.sameContent(part, gamePath) && fs.replaceFile(part, backup)) return true;
  } catch (const sys::IoError&) {
  }
  fs.removeFile(part);
  return false;
}

// The content hashes of each original and of the new file as it landed in the game folder, in "sums.dat"
// beside "files.dat", forced to the disk. Written once every new file is in place: a run cut off before
// leaves no sums, and the installation restores as one made before sums were kept, never taking a copy
// cut off halfway for a change made after the install. Nothing is written when a game file cannot be
// read now.
void recordSums(app::Program& program, Store& store, const std::string& name, const std::vector<std::string>& originals,
                const std::vector<std::string>& newFiles) {
  auto& fs = program.fs();
  std::vector<FileSums> sums;
  sums.reserve(newFiles.size());
  for (std::size_t i = 0; i < newFiles.size(); ++i) {
    const auto landed = fs.stamp(newFiles[i]);
    const auto installed = hashOf(fs, newFiles[i]);
    if (!installed) return;
    sums.push_back({originals[i], *installed, landed});
    program.ui().processEvents();
  }
  writeSums(fs, store.sumsPath(name), sums);
  fs.syncFile(store.sumsPath(name));
}

// Takes the entries that are done out of chosen on every way out, so an interrupted install leaves in
// the list exactly the files it did not get to.
class DoneEntries {
 public:
  DoneEntries(ChosenFiles& chosen, DialogView& view) : chosen_(chosen), view_(view), done_(chosen.size(), false) {}
  ~DoneEntries() {
    for (std::size_t i = done_.size(); i > 0; --i) {
      if (done_[i - 1]) chosen_.removeAt(i - 1);
    }
  }
  void finish(std::size_t index) {
    done_[index] = true;
    view_.setProgress(++count_);
  }
  DoneEntries(const DoneEntries&) = delete;
  DoneEntries& operator=(const DoneEntries&) = delete;

 private:
  ChosenFiles& chosen_;
  DialogView& view_;
  std::vector<bool> done_;
  int count_ = 0;
};

}  // namespace

InstallResult Install(app::Program& program, ChosenFiles& chosen, const std::string& description, DialogView& view) {
  auto& ui = program.ui();
  auto& fs = program.fs();
  if (chosen.empty()) {
    app::showError(ui, texts::kListEmpty);
    return InstallResult::NotStarted;
  }
  const auto name = ui.inputBox(app::kAttentionCaption, texts::kNamePrompt, "");
  if (!name || name->empty()) return InstallResult::NotStarted;
  if (!isValidNewInstallationName(*name)) {
    app::showError(ui, texts::kInvalidName);
    return InstallResult::NotStarted;
  }
  Store store(fs, program.settings.FilePath);
  if (store.nameTaken(*name)) {
    app::showError(ui, texts::kNameExists);
    return InstallResult::NotStarted;
  }

  WorkingScope working(view);
  ProgressScope progress(view);
  view.setStatus(texts::kInstallStatus);
  createInstallation(program, store, *name, description);
  view.setProgressMaximum(static_cast<int>(chosen.size()));
  // A copy of the list: chosen itself only loses the entries that are done.
  const std::vector<std::string> sources = chosen.sources();
  const std::vector<std::string> games = chosen.destinations();
  DoneEntries done(chosen, view);

  // Every original is copied into the installation folder first, and forced to the disk; only then are
  // the game paths recorded (so no record ever points at a backup that is not on the disk), and the
  // records forced to the disk too; only then is any game file overwritten. Wherever the run stops, each
  // changed game file has its backup on the disk and is recorded, and a restore puts it back.
  std::vector<std::size_t> accepted;
  std::vector<std::string> acceptedGames;
  std::vector<std::string> acceptedSources;
  std::vector<std::string> originalHashes;
  std::vector<bool> linkedBackups;
  for (std::size_t i = 0; i < games.size(); ++i) {
    ui.processEvents();
    bool linked = false;
    if (auto originalHash = backUp(program, store, *name, games[i], acceptedGames, linked)) {
      linkedBackups.push_back(linked);
      accepted.push_back(i);
      acceptedGames.push_back(games[i]);
      acceptedSources.push_back(sources[i]);
      originalHashes.push_back(std::move(*originalHash));
    } else {
      done.finish(i);
    }
    ui.processEvents();
  }
  std::vector<std::string> linkedPaths;
  for (std::size_t k = 0; k < acceptedGames.size(); ++k) {
    const std::string backup = store.backupPath(*name, acceptedGames[k]);
    if (linkedBackups[k]) {
      linkedPaths.push_back(backup);
    } else {
      fs.syncFile(backup);
    }
    ui.processEvents();
  }
  fs.syncLinks(linkedPaths);
  store.recordInstalledFiles(*name, acceptedGames);
  if (!acceptedGames.empty()) {
    fs.syncFile(store.filesPath(*name));
    fs.syncFile(store.registerPath());
  }
  for (std::size_t k = 0; k < accepted.size(); ++k) {
    const std::size_t i = accepted[k];
    ui.processEvents();
    // A backup that is a second name of the game file must not take the new bytes with it: the game's
    // name goes first (the original lives on under the backup's), then the new file takes it.
    if (linkedBackups[k]) {
      fs.setNormal(games[i]);
      // A game file the system will not let go (held open by the running game, on Windows): the backup
      // gets bytes of its own instead; failing that, this file is not installed.
      if (!fs.removeFile(games[i]) && !separate(fs, store.backupPath(*name, games[i]), games[i])) {
        app::showError(ui, texts::originalNotSaved(sys::bareName(games[i])));
        done.finish(i);
        continue;
      }
    }
    FTF(program, sources[i], games[i]);
    done.finish(i);
    ui.processEvents();
  }
  if (!acceptedGames.empty()) recordSums(program, store, *name, originalHashes, acceptedGames);
  return InstallResult::Installed;
}

void offerGameStart(app::Program& program) {
  auto& ui = program.ui();
  if (!app::askAttention(ui, texts::kStartGameQuestion)) return;
  const std::string& launcher = program.settings.CSFile;
  if (!program.fs().isFile(launcher)) {
    app::showError(ui, texts::kNoLauncher);
    return;
  }
  program.services().shell.open(launcher, program.settings.RunParam, sys::parentFolder(launcher),
                                sys::ShowCommand::Normal);
}

}  // namespace installs
