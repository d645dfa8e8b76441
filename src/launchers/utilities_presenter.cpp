#include "launchers/utilities_presenter.h"

#include "app/program.h"
#include "help/links.h"
#include "launchers/texts.h"
#include "launchers/run_menu.h"
#include "sys/error.h"
#include "sys/shell.h"

namespace launchers {

// The manager as the install and the removal see it: this presenter's list, shown through the view.
class UtilitiesPresenter::Manager final : public UtilityManagerView {
 public:
  explicit Manager(UtilitiesPresenter& presenter) : p_(presenter) {}
  int count() override { return static_cast<int>(p_.names_.size()); }
  std::optional<std::string> selectedName() override {
    if (p_.selected_ < 0) return std::nullopt;
    return p_.names_[static_cast<std::size_t>(p_.selected_)];
  }
  void addName(const std::string& name) override {
    p_.names_.push_back(name);
    p_.view_.addName(name);
  }
  void removeSelectedName() override {
    const int row = p_.selected_;
    if (row < 0) return;
    p_.names_.erase(p_.names_.begin() + row);
    // The list would select the next row, and a second Delete would remove a utility nobody chose.
    p_.view_.removeRow(row);
    p_.selected_ = -1;
  }
  void setStatusText(const std::string& text) override { p_.view_.setStatusText(text); }
  void setEnabled(bool enabled) override { p_.view_.setManagerEnabled(enabled); }

 private:
  UtilitiesPresenter& p_;
};

UtilitiesPresenter::UtilitiesPresenter(app::Program& program, UtilitiesView& view) : program_(program), view_(view) {}

UtilitiesPresenter::~UtilitiesPresenter() = default;

void UtilitiesPresenter::FormShow() {
  names_.clear();
  selected_ = -1;
  view_.showNames(names_);
  program_.ui().setMainWindowEnabled(false);
  program_.ui().setStatusText(texts::kUtilsOpenStatus);
  try {
    program_.LoadUtilList();
  } catch (const sys::IoError&) {
    // Without its table the manager could only install into the wrong slots: it closes again, and
    // closing gives the main window back.
    view_.closeAfterShowing();
    throw;
  }
  for (const auto& slot : program_.utilities) {
    if (slot.path != kEmpty) names_.push_back(slot.name);
  }
  view_.showNames(names_);
}

void UtilitiesPresenter::FormClose() {
  program_.ui().setMainWindowEnabled(true);
  program_.ui().setStatusText("");
}

void UtilitiesPresenter::ListBox1Click(int row) {
  selected_ = row >= 0 && row < static_cast<int>(names_.size()) ? row : -1;
}

void UtilitiesPresenter::ListBox1KeyDown(int key) {
  if (key == kDeleteKey) Button2Click();
}

void UtilitiesPresenter::Button1Click() {
  struct Installing {
    bool& flag;
    explicit Installing(bool& f) : flag(f) { flag = true; }
    ~Installing() { flag = false; }
  } installing(installing_);
  Manager manager(*this);
  installUtility(program_, manager, installTimeout);
}

void UtilitiesPresenter::Button2Click() {
  Manager manager(*this);
  removeUtility(program_, manager);
}

void UtilitiesPresenter::Button3Click() { view_.closeWindow(); }

void UtilitiesPresenter::Button4Click() {
  program_.services().shell.open(help::kUtilitiesPage, "", "", sys::ShowCommand::Show);
}

}  // namespace launchers
