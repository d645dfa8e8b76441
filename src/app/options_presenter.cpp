#include "app/options_presenter.h"

#include "app/detect.h"
#include "app/options_texts.h"
#include "catalogue/scan.h"
#include "sys/paths.h"
#include "sys/shell.h"

namespace app {

namespace texts = options_texts;
using Field = OptionsView::Field;

bool OptionsPresenter::gameFolderIsValid() {
  const std::string& folder = program_.settings.CSDir;
  return !folder.empty() && program_.fs().isFolder(folder);
}

std::optional<std::string> OptionsPresenter::confirmGameFolder(const std::string& folder) {
  if (confirmedFolders_.count(folder)) return folder;
  const GameFolderLook look = lookAtGameFolder(program_.fs(), folder);
  if (look.isGame) return folder;
  Ui& ui = program_.ui();
  if (!look.gameInside.empty()) {
    // The game folder is offered; "Нет" keeps the one chosen.
    if (askAttention(ui, texts::gameFolderInsideQuestion(folder, look.gameInside))) return look.gameInside;
  } else if (!askAttention(ui, texts::notGameFolderQuestion(folder))) {
    view_.focusField(Field::Folder);
    return std::nullopt;
  }
  confirmedFolders_.insert(folder);
  return folder;
}

void OptionsPresenter::FormShow() {
  confirmedFolders_.clear();
  program_.ui().setMainWindowEnabled(false);
  if (!gameFolderIsValid()) showAttention(program_.ui(), texts::kNoFolderAtShow);
  program_.ReadRegistry();
  const Settings& settings = program_.settings;
  view_.setFieldText(Field::Folder, settings.CSDir);
  view_.setFieldText(Field::Launcher, settings.CSFile);
  view_.setFieldText(Field::Params, settings.RunParam);
  view_.setRefreshHint(texts::kLastUpdate + settings.FilesListDate);
  // Any other stored value leaves the choice as it was.
  for (const char* choice : {"1", "2", "3", "4"}) {
    if (settings.ListUpdate == choice) view_.setUpdateChoice(choice);
  }
  program_.ui().setStatusText(texts::kStatusOpen);
  view_.setLastUpdateText(settings.FilesListDate.empty() ? std::string(texts::kUnknownDate)
                                                         : settings.FilesListDate);
  view_.setRefreshEnabled(gameFolderIsValid());
}

void OptionsPresenter::FormHide() {
  if (gameFolderIsValid()) program_.ui().setMainWindowEnabled(true);
  program_.ui().setStatusText("");
}

void OptionsPresenter::FormClose() {
  if (gameFolderIsValid()) return;
  showError(program_.ui(), texts::kFolderInvalid);
  view_.closeProgram();
}

void OptionsPresenter::Button1Click() {
  std::string folder = sys::withoutTrailingSeparators(view_.fieldText(Field::Folder));
  // A folder that is not there is stored as typed and ends the program at the close, as ever.
  if (!folder.empty() && program_.fs().isFolder(folder)) {
    const auto confirmed = confirmGameFolder(folder);
    if (!confirmed) return;
    if (*confirmed != folder) view_.setFieldText(Field::Folder, *confirmed);
    folder = *confirmed;
  }
  Settings& settings = program_.settings;
  settings.CSDir = folder;
  settings.CSFile = view_.fieldText(Field::Launcher);
  settings.RunParam = view_.fieldText(Field::Params);
  const std::string choice = view_.updateChoice();
  if (!choice.empty()) settings.ListUpdate = choice;
  program_.WriteRegistry();
  view_.closeWindow();
}

void OptionsPresenter::Button3Click() { view_.closeWindow(); }

void OptionsPresenter::Button2Click() {
  if (program_.settings.CSDir.empty()) {
    showError(program_.ui(), texts::kRefreshWithoutFolder);
    return;
  }
  // This scan stands for the activation step's: no second scan, no "needs a scan" notice before it.
  struct Hold {
    OptionsView& view;
    explicit Hold(OptionsView& v) : view(v) { view.holdActivation(); }
    ~Hold() { view.releaseActivation(); }
  } hold(view_);
  view_.closeWindow();
  if (!gameFolderIsValid()) return;  // the program is ending
  Ui& ui = program_.ui();
  ui.processEvents();
  view_.showFilesListPage();
  sys::sleepMs(50);
  ui.processEvents();
  catalogue::FindFilesList(program_);
  program_.ListUpdatePending = false;  // the schedule asks for a scan per run at most; this was it
  ui.processEvents();
  view_.refreshFilesList();
}

void OptionsPresenter::Button4Click() {
  DetectedGame found = detectGame(program_.services().registry, program_.fs(), sys::homeFolder());
  bool backToFolder = false;
  if (!found.folder.empty()) {
    // A folder the person does not take is not found.
    const auto confirmed = confirmGameFolder(found.folder);
    backToFolder = !confirmed;
    found.folder = confirmed.value_or("");
  }
  if (!found.folder.empty()) view_.setFieldText(Field::Folder, found.folder);
  if (!found.launcher.empty()) {
    view_.setFieldText(Field::Launcher, found.launcher);
    view_.setFieldText(Field::Params, kDetectedRunParam);
  }
  showAttention(program_.ui(), detectionReport(found));
  if (backToFolder) view_.focusField(Field::Folder);
}

void OptionsPresenter::Button5Click() {
  const FieldCheck check =
      checkGameFields(program_.fs(), view_.fieldText(Field::Folder), view_.fieldText(Field::Launcher));
  if (check != FieldCheck::FolderInvalid) {
    const std::string folder = view_.fieldText(Field::Folder);
    const auto confirmed = confirmGameFolder(folder);
    if (!confirmed) return;
    if (*confirmed != folder) view_.setFieldText(Field::Folder, *confirmed);
  }
  switch (check) {
    case FieldCheck::FolderInvalid:
      showError(program_.ui(), texts::kFolderInvalid);
      view_.focusField(Field::Folder);
      break;
    case FieldCheck::LauncherInvalid:
      showError(program_.ui(), texts::kLauncherInvalid);
      view_.focusField(Field::Launcher);
      break;
    case FieldCheck::Correct:
      showAttention(program_.ui(), texts::kAllCorrect);
      break;
  }
}

void OptionsPresenter::AHMLookupEdit1Button1Click() {
  const std::string start = folderChooserStart(program_.fs(), view_.fieldText(Field::Folder));
  if (const auto folder = program_.ui().chooseFolder(texts::kChooseFolder, "", start)) {
    view_.setFieldText(Field::Folder, *folder);
  }
}

void OptionsPresenter::AHMLookupEdit2Button1Click() {
  FileRequest request;
  request.title = texts::kChooseLauncher;
  request.filters = launcherFilters();
  request.initialFolder =
      launcherChooserStart(program_.fs(), view_.fieldText(Field::Launcher), view_.fieldText(Field::Folder));
  const auto files = program_.ui().chooseFiles(request);
  if (!files.empty()) view_.setFieldText(Field::Launcher, files.front());
}

}  // namespace app
