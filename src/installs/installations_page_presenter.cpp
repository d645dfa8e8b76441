#include "installs/installations_page_presenter.h"

#include "app/program.h"
#include "installs/restore.h"
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

void InstallationsPagePresenter::showNames() { view_.showInstallations(names_); }

void InstallationsPagePresenter::clearInformation() {
  view_.showFiles({});
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
  const auto installation = showInstallation(program_, names_[static_cast<std::size_t>(row)], &changes_);
  view_.showFiles(installation.files);
  view_.setDescription(installation.description);
  view_.setDate(installation.time);
  // Only the text: the busy state and the window's being enabled are not this page's to change.
  program_.ui().setStatusText(installation.changedFiles == 0 ? std::string()
                                                             : texts::changedFilesStatus(installation.changedFiles));
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
