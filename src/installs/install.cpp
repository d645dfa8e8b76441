#include "installs/install.h"

#include "app/program.h"
#include "installs/ftf.h"
#include "installs/names.h"
#include "installs/store.h"
#include "installs/texts.h"
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

void installFile(app::Program& program, Store& store, const std::string& name, const std::string& source,
                 const std::string& gamePath) {
  auto& fs = program.fs();
  auto& ui = program.ui();
  const std::string bare = sys::bareName(gamePath);
  // Its backup would take the place of the installation's own file.
  if (Store::isReservedFileName(bare)) {
    app::showAttention(ui, texts::reservedName(bare));
    return;
  }
  if (store.isInstalled(gamePath)) {
    app::showAttention(ui, texts::alreadyInstalled(bare));
    return;
  }
  const std::string backup = store.backupPath(name, gamePath);
  const auto originalSize = fs.fileSize(gamePath);
  if (originalSize) FTF(program, gamePath, backup);
  if (!originalSize || !fs.isFile(backup) || fs.fileSize(backup) != originalSize) {
    // No overwrite without a copy of the original. A copy of another size is none; it is not kept.
    if (originalSize) fs.removeFile(backup);
    app::showError(ui, texts::originalNotSaved(bare));
    return;
  }
  fs.syncFile(backup);
  store.recordInstalledFile(name, gamePath);
  FTF(program, source, gamePath);
}

}  // namespace

InstallResult Install(app::Program& program, ChosenFiles& chosen, const std::string& description, DialogView& view) {
  auto& ui = program.ui();
  if (chosen.empty()) {
    app::showError(ui, texts::kListEmpty);
    return InstallResult::NotStarted;
  }
  const auto name = ui.inputBox(app::kAttentionCaption, texts::kNamePrompt, "");
  if (!name || name->empty()) return InstallResult::NotStarted;
  if (!isValidInstallationName(*name)) {
    app::showError(ui, texts::kInvalidName);
    return InstallResult::NotStarted;
  }
  Store store(program.fs(), program.settings.FilePath);
  if (store.nameTaken(*name)) {
    app::showError(ui, texts::kNameExists);
    return InstallResult::NotStarted;
  }

  WorkingScope working(view);
  ProgressScope progress(view);
  view.setStatus(texts::kInstallStatus);
  createInstallation(program, store, *name, description);
  view.setProgressMaximum(static_cast<int>(chosen.size()));
  int done = 0;
  while (!chosen.empty()) {
    ui.processEvents();
    installFile(program, store, *name, chosen.sources().front(), chosen.destinations().front());
    view.setProgress(++done);
    ui.processEvents();
    chosen.removeFirst();
  }
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
