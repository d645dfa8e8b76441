#include "launchers/menus_presenter.h"

#include "app/program.h"
#include "launchers/run_menu.h"

namespace launchers {

MenusPresenter::MenusPresenter(app::Program& program, MenusView& view) : program_(program), view_(view) {}

void MenusPresenter::MainMenu1Change() {
  if (!program_.settings.FilePath.empty()) program_.LoadUtilList();
  for (int k = 0; k < 10; ++k) {
    const auto& entry = program_.runMenu[static_cast<std::size_t>(k)];
    view_.showMenuItem(MenusView::Menu::Run, k + 1, entry.name != kEmpty, entry.name);
    const auto& slot = program_.utilities[static_cast<std::size_t>(k)];
    view_.showMenuItem(MenusView::Menu::Utilities, k + 1, slot.name != kEmpty, slot.name);
  }
}

void MenusPresenter::RunClick(int entry) { startRunMenuEntry(program_, entry); }

void MenusPresenter::RunUtil(int slot, std::chrono::milliseconds limit) { launchers::RunUtil(program_, slot, limit); }

void MenusPresenter::N13Click() { view_.showUtilitiesManager(); }

void MenusPresenter::N15Click() { view_.showRunMenuEditor(); }

}  // namespace launchers
