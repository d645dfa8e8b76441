#include "installs/dialog.h"

#include "app/program.h"
#include "catalogue/descriptions.h"
#include "installs/texts.h"
#include "sys/paths.h"

namespace installs {

std::optional<AddMode> modeOf(const std::string& addFilesType) {
  if (addFilesType == "1") return AddMode::Files;
  if (addFilesType == "2") return AddMode::Folder;
  if (addFilesType == "3") return AddMode::FolderTree;
  return std::nullopt;
}

std::string settingOf(AddMode mode) { return std::to_string(static_cast<int>(mode)); }

namespace {

// The mode's chooser; false when the person cancelled.
bool gatherCandidates(app::Program& program, AddMode mode, std::vector<std::string>& candidates,
                      FileSearch& search, DialogView& view) {
  auto& ui = program.ui();
  if (mode == AddMode::Files) {
    app::FileRequest request;
    request.filters = {{texts::kAllFilesFilter, "*.*"}};
    request.multiple = true;
    candidates = ui.chooseFiles(request);
    return !candidates.empty();
  }
  const auto folder = ui.chooseFolder(texts::kFolderChooserCaption, texts::kFolderChooserPrompt);
  // Only a real folder counts; anything else (a virtual place of the desktop) is a cancel.
  if (!folder || !program.fs().isFolder(*folder)) return false;
  view.setStatus(texts::kSearching);
  search.FindFiles(program, *folder, "*.*", candidates, mode == AddMode::FolderTree);
  return true;
}

}  // namespace

void AddFiles(app::Program& program, AddMode mode, ChosenFiles& chosen, FileSearch& search, DialogView& view) {
  WorkingScope working(view);
  std::vector<std::string> candidates;
  if (!gatherCandidates(program, mode, candidates, search, view)) return;
  view.setStatus(texts::kChecking);
  CheckFiles(program, candidates, chosen, view);
  view.setStatus("");
  if (chosen.empty()) app::showAttention(program.ui(), texts::kNoFilesFound);
}

void removeSelected(app::Program& program, ChosenFiles& chosen, std::optional<std::size_t> selected) {
  if (!selected || *selected >= chosen.size()) {
    app::showError(program.ui(), texts::kNoFileSelected);
    return;
  }
  chosen.removeAt(*selected);
}

void clearAll(app::Program& program, ChosenFiles& chosen) {
  if (chosen.empty()) {
    app::showError(program.ui(), texts::kClearEmpty);
    return;
  }
  chosen.clear();
}

void showFileInformation(app::Program& program, const ChosenFiles& chosen, std::optional<std::size_t> selected) {
  auto& ui = program.ui();
  if (chosen.empty()) {
    app::showError(ui, texts::kListEmpty);
    return;
  }
  if (!selected || *selected >= chosen.size()) {
    app::showError(ui, texts::kSelectFile);
    return;
  }
  const std::string& infoFile = program.settings.FilesInfoDir;
  if (!program.fs().canOpenForReading(infoFile)) {
    program.ErrorMsg(texts::kDescriptionsMissing, texts::kDescriptionsMissingLog);
    return;
  }
  const catalogue::Descriptions descriptions(program.fs().readLines(infoFile));
  const std::string& source = chosen.sources()[*selected];
  const auto description = descriptions.describe(source);
  if (!description) {
    app::showAttention(ui, texts::kNoInformation);
    return;
  }
  ui.messageBox(texts::kInformationCaption, texts::fileInformation(sys::bareName(source), *description),
                app::Icon::Information, app::Buttons::Ok);
}

void setDefaultMode(app::Program& program, AddMode mode) {
  program.settings.AddFilesType = settingOf(mode);
  program.WriteRegistry();
}

}  // namespace installs
