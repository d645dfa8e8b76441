#include "installs/installations_page_presenter.h"

#include "app/program.h"
#include "installs/names.h"
#include "installs/restore.h"
#include "installs/store.h"
#include "installs/switch.h"
#include "sys/error.h"
#include "installs/texts.h"

namespace installs {

InstallationsPagePresenter::InstallationsPagePresenter(app::Program& program, InstallationsPageView& view)
    : program_(program), view_(view) {}

void InstallationsPagePresenter::FormCreate() {
  view_.setEnabled(InstallationsPageView::Control::Rename, false);
  view_.setEnabled(InstallationsPageView::Control::Restore, false);
}

void InstallationsPagePresenter::EditMenuShow() {
  healStore(program_, healNotes_);
  names_ = openInstallationList(program_);
  showNames();
  clearInformation();
}

void InstallationsPagePresenter::showNames() {
  readSwitches();
  view_.showInstallations(names_, on_);
}

void InstallationsPagePresenter::readSwitches() {
  Store store(program_.fs(), program_.settings.FilePath);
  on_.assign(names_.size(), true);
  for (std::size_t i = 0; i < names_.size(); ++i) {
    try {
      on_[i] = !isValidInstallationName(names_[i]) || !store.isOff(names_[i]);
    } catch (const sys::IoError&) {
      // Records that cannot be read now: shown as on, which is what the register says of them.
    }
  }
}

void InstallationsPagePresenter::clearInformation() {
  view_.showFiles({});
  view_.showSharing({});
  view_.setDate("");
  view_.setDescription("");
}

void InstallationsPagePresenter::refillFromDisk() {
  try {
    names_ = openInstallationList(program_);
  } catch (...) {
    names_.clear();  // no list to be read: no row to act on
  }
  showNames();
  clearInformation();
}

void InstallationsPagePresenter::nothingSelected() {
  app::showError(program_.ui(), texts::kSelectInstallation);
  view_.setEnabled(InstallationsPageView::Control::Rename, false);
  view_.setEnabled(InstallationsPageView::Control::Restore, false);
  // The button pressed cannot keep the focus it had; the list, where an installation is to be picked,
  // takes it.
  view_.focusInstallationList();
}

int InstallationsPagePresenter::rowToActOn() {
  const int row = view_.selectedRow();
  if (row < 0) {
    nothingSelected();
    return -1;
  }
  // A row the list no longer has: the rows are shown afresh rather than acting on another installation.
  if (row >= static_cast<int>(names_.size())) {
    refillFromDisk();
    return -1;
  }
  return row;
}

void InstallationsPagePresenter::ListBox1Click() {
  const int row = view_.selectedRow();
  if (row < 0 || row >= static_cast<int>(names_.size())) return;
  view_.setEnabled(InstallationsPageView::Control::Rename, true);
  view_.setEnabled(InstallationsPageView::Control::Restore, true);
  const auto index = static_cast<std::size_t>(row);
  // What is in the game is counted only for an installation that is on.
  const auto installation = showInstallation(program_, names_[index], on_.at(index) ? &changes_ : nullptr);
  const auto sharing = sharingInstallations(program_, names_, index);
  view_.showFiles(installation.files);
  view_.showSharing(sharing);
  view_.setDescription(installation.description);
  view_.setDate(installation.time);
  // Only the text: the busy state and the window's being enabled are not this page's to change.
  std::string status;
  if (installation.changedFiles > 0) status = texts::changedFilesStatus(installation.changedFiles);
  if (!sharing.empty()) status += (status.empty() ? "" : "; ") + texts::sharingStatus(sharing.size());
  program_.ui().setStatusText(status);
}

void InstallationsPagePresenter::ListBox1Switch(int row) {
  if (row < 0 || row >= static_cast<int>(names_.size())) return;
  const auto index = static_cast<std::size_t>(row);
  try {
    if (on_[index]) {
      SwitchOff(program_, names_, index, &changes_);
    } else {
      SwitchOn(program_, names_, index);
    }
  } catch (...) {
    refillFromDisk();
    throw;
  }
  // Every row's box as the store has it now (the binding may have turned this one's already); the
  // selection stays.
  const std::vector<bool> shown = on_;
  readSwitches();
  for (std::size_t i = 0; i < on_.size(); ++i) {
    if (i == index || on_[i] != shown[i]) view_.setSwitchedOn(i, on_[i]);
  }
  if (view_.selectedRow() == row) ListBox1Click();
}

std::string InstallationsPagePresenter::switchItemText(int row) const {
  if (row < 0 || row >= static_cast<int>(on_.size())) return {};
  return on_[static_cast<std::size_t>(row)] ? texts::kSwitchOffItem : texts::kSwitchOnItem;
}

void InstallationsPagePresenter::Button1Click() { view_.openInstallDialog(); }

void InstallationsPagePresenter::Button4Click() { view_.openHelp(); }

void InstallationsPagePresenter::Button3Click() {
  const int row = rowToActOn();
  if (row < 0) return;
  const auto index = static_cast<std::size_t>(row);
  try {
    if (Rename(program_, names_, index) == RenameResult::Renamed) view_.setInstallationName(index, names_[index]);
  } catch (...) {
    refillFromDisk();
    throw;
  }
}

void InstallationsPagePresenter::Button3MouseMove() {
  const int row = view_.selectedRow();
  view_.setRenameHint(row < 0 || row >= static_cast<int>(names_.size())
                          ? std::string(texts::kRenameNothingSelectedHint)
                          : texts::renameHint(names_[static_cast<std::size_t>(row)]));
}

void InstallationsPagePresenter::Button2Click() {
  const int row = rowToActOn();
  if (row < 0) return;
  try {
    // The entry has left the list (restored, or reported missing): what the page showed of it goes too.
    const auto result = Restore(program_, names_, static_cast<std::size_t>(row), [this](RestoreResult) {
      showNames();
      clearInformation();
    });
    if (result == RestoreResult::Incomplete) ListBox1Click();  // the files still to come back
  } catch (...) {
    refillFromDisk();
    throw;
  }
}

}  // namespace installs
