#pragma once

#include <chrono>
#include <string>

#include "launchers/utilities.h"

namespace app {
class Program;
}

namespace launchers {

// The main window's "&Запуск" and "&Утилиты" menus as their presenter sees them: ten items each above a
// separator and "Настройка".
class MenusView {
 public:
  enum class Menu { Run, Utilities };

  virtual ~MenusView() = default;
  // Item 1..10 of a menu: shown with its caption, or hidden.
  virtual void showMenuItem(Menu menu, int item, bool visible, const std::string& caption) = 0;
  virtual void showRunMenuEditor() = 0;
  virtual void showUtilitiesManager() = 0;
};

// The handlers of the two menus, the same for every front-end.
//
// The main window calls MainMenu1Change right before the "&Запуск" or the "&Утилиты" drop-down opens,
// RunClick(k) for Run1..Run10, RunUtil(k) for util1..util10, N15Click and N13Click for their "Настройка".
class MenusPresenter {
 public:
  MenusPresenter(app::Program& program, MenusView& view);

  // Reloads "utilities.dat" (when the program folder is known) and shows both tables: an entry or a slot
  // named exactly "empty" is hidden. Throws sys::IoError.
  void MainMenu1Change();
  void RunClick(int entry);  // 1..10
  // 1..10: starts the utility and keeps the main window held until its window is gone. Throws sys::IoError.
  void RunUtil(int slot, std::chrono::milliseconds limit = kUtilityTimeout);
  void N13Click();  // the utilities manager
  void N15Click();  // the run-menu editor

 private:
  app::Program& program_;
  MenusView& view_;
};

}  // namespace launchers
