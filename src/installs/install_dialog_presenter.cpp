#include "installs/install_dialog_presenter.h"

#include "app/program.h"
#include "installs/install.h"
#include "installs/texts.h"
#include "preview/pane_texts.h"
#include "sys/paths.h"

namespace installs {

namespace {

// The list is shown as it is on every way out of a handler that changes it, a failed one too.
class ShowAfterwards {
 public:
  explicit ShowAfterwards(std::function<void()> show) : show_(std::move(show)) {}
  ~ShowAfterwards() { show_(); }
  ShowAfterwards(const ShowAfterwards&) = delete;
  ShowAfterwards& operator=(const ShowAfterwards&) = delete;

 private:
  std::function<void()> show_;
};

// The main window's hint pauses: while it is shown, and while it is hidden.
constexpr int kShownHintPause = 300, kShownHintHidePause = 5000;
constexpr int kHiddenHintPause = 500, kHiddenHintHidePause = 2500;

}  // namespace

InstallDialogPresenter::InstallDialogPresenter(app::Program& program, InstallDialogView& view)
    : program_(program), view_(view) {}

InstallDialogPresenter::~InstallDialogPresenter() { unpacked_.removeAll(program_.fs()); }

void InstallDialogPresenter::FormCreate() {
  view_.setArchiveModeOffered(archivesSupported());
  view_.setEnabled(InstallDialogView::Control::Install, false);
  // Files unpacked by a run that ended with the dialog open.
  removeLeftoverUnpackFolder(program_.fs(), program_.settings.FilePath);
}

void InstallDialogPresenter::FormShow() {
  open_ = true;
  program_.ui().setMainWindowEnabled(false);
  program_.ui().setStatusText(texts::kInstallStatus);
  view_.setHintTiming(kShownHintPause, kShownHintHidePause);
  view_.setEnabled(InstallDialogView::Control::Install, false);
  chosen_.clear();
  showChosenFiles();
  view_.setDescription("");
  view_.setProgress(0);
  view_.setStatus("");
}

void InstallDialogPresenter::FormClose() {
  open_ = false;
  if (auto* pane = view_.previewPane()) pane->clear();  // no sound plays on behind a closed dialog
  // The files unpacked from archives are not needed once the dialog is closed: installed or not.
  unpacked_.removeAll(program_.fs());
  program_.ui().setMainWindowEnabled(true);
  program_.ui().setStatusText("");
}

// The main window's own timing comes back while it is still shown.
void InstallDialogPresenter::FormHide() {
  if (view_.mainWindowShown()) {
    view_.setHintTiming(kShownHintPause, kShownHintHidePause);
  } else {
    view_.setHintTiming(kHiddenHintPause, kHiddenHintHidePause);
  }
}

void InstallDialogPresenter::EventEnded() {
  // An error report ends the busy state of the main window; the open dialog still keeps it disabled.
  if (open_) program_.ui().setMainWindowEnabled(false);
}

void InstallDialogPresenter::add(AddMode mode) {
  const ShowAfterwards show([this] {
    showChosenFiles();
    view_.setEnabled(InstallDialogView::Control::Install, !chosen_.empty());
  });
  AddFiles(program_, mode, chosen_, search_, unpacked_, *this);
}

void InstallDialogPresenter::AddFiles1() { add(AddMode::Files); }
void InstallDialogPresenter::AddFiles2() { add(AddMode::Folder); }
void InstallDialogPresenter::AddFiles3() { add(AddMode::FolderTree); }
void InstallDialogPresenter::AddFiles4() {
  if (archivesSupported()) add(AddMode::Archive);
}

void InstallDialogPresenter::ListBox1DragDrop(const std::vector<std::string>& paths) {
  if (!acceptsDrops()) return;
  const ShowAfterwards show([this] {
    showChosenFiles();
    view_.setEnabled(InstallDialogView::Control::Install, !chosen_.empty());
  });
  AddDropped(program_, paths, chosen_, search_, unpacked_, *this);
}

void InstallDialogPresenter::Button3Click() {
  if (const auto mode = modeOf(program_.settings.AddFilesType)) add(*mode);
}

void InstallDialogPresenter::Button1Click() {
  bool installed = false;
  {
    const ShowAfterwards show([this] {
      showChosenFiles();
      if (chosen_.empty()) view_.setEnabled(InstallDialogView::Control::Install, false);
    });
    installed = Install(program_, chosen_, view_.description(), *this) == InstallResult::Installed;
  }
  if (!installed) return;
  view_.closeWindow();
  view_.refreshInstallations();
  offerGameStart(program_);
}

void InstallDialogPresenter::Button2Click() { view_.closeWindow(); }

void InstallDialogPresenter::Button4Click() {
  const ShowAfterwards show([this] {
    showChosenFiles();
    if (chosen_.empty()) view_.setEnabled(InstallDialogView::Control::Install, false);
  });
  removeSelected(program_, chosen_, view_.selectedFile());
}

void InstallDialogPresenter::Button5Click() {
  const ShowAfterwards show([this] {
    showChosenFiles();
    view_.setEnabled(InstallDialogView::Control::Install, !chosen_.empty());
  });
  clearAll(program_, chosen_);
}

void InstallDialogPresenter::ListBox1DblClick() { showFileInformation(program_, chosen_, view_.selectedFile()); }

void InstallDialogPresenter::ListBox1MouseMove() { view_.setStatus(texts::kDoubleClickHint); }

void InstallDialogPresenter::ListBox1Click() {
  auto* pane = view_.previewPane();
  if (!pane) return;
  const auto selected = view_.selectedFile();
  if (selected && *selected < chosen_.size()) {
    pane->show(paneFile(*selected));
  } else {
    pane->clear();
  }
}

// A new file's companion ("<name>T.mdl") is looked for beside it, then beside the game file it replaces.
preview::PaneFile InstallDialogPresenter::paneFile(std::size_t index) const {
  const std::string& source = chosen_.sources()[index];
  const std::string& destination = chosen_.destinations()[index];
  return {source, preview::gamePathOf(destination, program_.settings.CSDir),
          {sys::folderWithSeparator(source), sys::folderWithSeparator(destination)}};
}

void InstallDialogPresenter::PopupMenu1Popup() {
  if (const auto mode = modeOf(program_.settings.AddFilesType)) view_.markDefaultMode(*mode);
}

void InstallDialogPresenter::setDefault(AddMode mode) { setDefaultMode(program_, mode); }

void InstallDialogPresenter::PM1Click() { setDefault(AddMode::Files); }
void InstallDialogPresenter::PM2Click() { setDefault(AddMode::Folder); }
void InstallDialogPresenter::PM3Click() { setDefault(AddMode::FolderTree); }
void InstallDialogPresenter::PM4Click() {
  if (archivesSupported()) setDefault(AddMode::Archive);
}

// The list shown afresh has no selection: the pane empties, and the warnings of all files are summed.
void InstallDialogPresenter::showChosenFiles() {
  view_.showChosenFiles(chosen_.shown(), chosen_.destinations());
  auto* pane = view_.previewPane();
  if (!pane) return;
  pane->clear();
  std::vector<preview::PaneFile> files;
  files.reserve(chosen_.size());
  for (std::size_t k = 0; k < chosen_.size(); ++k) files.push_back(paneFile(k));
  view_.setWarningsText(files.empty() ? "" : preview::texts::warningsCount(pane->warningsCount(files)));
}

void InstallDialogPresenter::setProgressMaximum(int value) { view_.setProgressMaximum(value > 0 ? value : 1); }
void InstallDialogPresenter::setProgress(int value) { view_.setProgress(value); }
void InstallDialogPresenter::setStatus(const std::string& text) { view_.setStatus(text); }
void InstallDialogPresenter::setWorking(bool working) {
  working_ = working;
  view_.setWorking(working);
}

}  // namespace installs
