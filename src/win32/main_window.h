#pragma once

#include <windows.h>

#include <array>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window_presenter.h"
#include "app/program.h"
#include "help/menus.h"
#include "launchers/menus_presenter.h"
#include "win32/hints.h"
#include "win32/win32_ui.h"
#include "win32/window.h"

namespace winui {

class SecondaryWindow;

// The platform pieces the main window works with; wWinMain hands in the real ones, tests their own.
struct Platform {
  sys::FileSystem& fs;
  sys::Registry& registry;
  sys::Shell& shell;
  sys::WindowFinder& windows;
  sys::Clock& clock;
  std::string executableFolder;
  app::Ui* prompts = nullptr;  // tests: scripted boxes and choosers instead of the system's
};

// The main window. It owns the program-wide state (app::Program: settings, run menu, utility table), holds
// the two pages as a tab control with a panel each, the main menu, the status bar and the hints. What it
// does is its presenters' (app::MainWindowPresenter, launchers::MenusPresenter and the help and service
// menus' handlers); this class creates the controls, forwards their messages and shows what it is told.
class MainWindow final : public Window, private app::MainWindowView, private launchers::MenusView {
 public:
  // Menu command ids (WM_COMMAND), named after the menu items.
  enum Command : int {
    N4 = 1001,  // "&Настройки"
    N18,        // "&Командная строка"
    N19,        // "&Значения переменных"
    Log1,       // "Log ошибок"
    N21,        // "Информация" (service menu)
    N5,         // "&Выход"
    N13,        // utilities manager
    N15,        // run-menu editor
    CounterStrike2,
    FanSite1,
    FanSite2,
    FanSite3,
    PODBot1,
    Waypoints1,
    PODBot2,
    N24,  // the program's page
    N26,  // links notice
    N34,  // "&Помощь"
    N27,  // about
    N29,  // visit the site
    N31,  // letter to the author
    N30,  // update check
    util1 = 1101,  // util1..util10: 1101..1110
    Run1 = 1201,   // Run1..Run10: 1201..1210
    FirstFreeCommand = 1301,  // ids of menu items without a name of their own here
  };
  enum class Page { EditMenu = 0, FilesList = 1 };
  // Child control ids.
  enum Control : int { ToolBar1 = 10, Pages = 11, statusbar = 12, EditMenuPanel = 13, FilesListPanel = 14 };

  explicit MainWindow(const Platform& platform);
  ~MainWindow() override;

  app::Program& program() { return *program_; }
  app::MainWindowPresenter& presenter() { return *presenter_; }
  Win32Ui& ui() { return ui_; }
  Hints& hints() { return *hints_; }

  // The page panels: the pages' bindings create their controls in them and register their handlers on them.
  Panel& page(Page which);
  HWND pages() const { return pages_; }
  HWND statusBar() const { return statusBar_; }
  Page currentPage() const;
  // Selects a page, shows its panel and runs its on-show handler.
  void showPage(Page which);
  // What runs when a page is shown (EditMenuShow, FilesListShow), and the grid's set-up at start-up and
  // its fitting on resize; the pages' bindings set them.
  void onPageShow(Page which, std::function<void()> handler);
  void onFilesGrid(std::function<void()> setUp, std::function<void()> fit);

  // The other windows, created after the main window in their fixed order.
  struct Windows {
    SecondaryWindow* options = nullptr;
    SecondaryWindow* listInfo = nullptr;
    SecondaryWindow* runMenu = nullptr;
    SecondaryWindow* install = nullptr;
    SecondaryWindow* command = nullptr;
    SecondaryWindow* utils = nullptr;
    SecondaryWindow* help = nullptr;
  };
  void setWindows(const Windows& windows) { windows_ = windows; }
  const Windows& windows() const { return windows_; }

  // A menu item's handler, run inside the guard, replacing the one the main window has (a window's
  // binding takes over its item: the help window its "&Помощь").
  void onMenu(int command, std::function<void()> handler);

  // Start-up again (the console's "oncreate"), and the help window (the installations page's "&Помощь").
  void FormCreate() { presenter_->FormCreate(); }
  void N34Click() { runHelpCommand("N34"); }

  // Runs an event handler inside the presenter's boundary (app::MainWindowPresenter::guard).
  void guard(const std::function<void()>& handler) { presenter_->guard(handler); }

  // Secondary windows report here; the activation step runs when they are hidden.
  void registerSecondaryWindow(SecondaryWindow* window);
  void unregisterSecondaryWindow(SecondaryWindow* window);
  void secondaryWindowHidden(SecondaryWindow* window);
  bool anySecondaryWindowOpen() const override;
  bool anyDialogOpen() const;
  // While held, a secondary window closing does not run the activation step.
  class ActivationHold {
   public:
    explicit ActivationHold(MainWindow& main) : main_(main) { main_.presenter_->holdActivation(); }
    ~ActivationHold() { main_.presenter_->releaseActivation(); }
    ActivationHold(const ActivationHold&) = delete;
    ActivationHold& operator=(const ActivationHold&) = delete;

   private:
    MainWindow& main_;
  };

  // Shows the window; the first showing shows the first page and then runs the activation step.
  void show(int showCommand = SW_SHOW);
  // Closes it the way the close box does (FormClose, then the program ends).
  void close();
  bool closed() const { return closed_; }

  // The texts of the items of the Run and Utilities menus as they stand (after MainMenu1Change).
  std::vector<std::string> runMenuItems() const;
  std::vector<std::string> utilityMenuItems() const;
  HMENU menu() const { return menu_; }

  // Test hooks: how long the utility waits last (15 s in the program), the update check's step.
  std::chrono::milliseconds utilityTimeout{15000};
  std::chrono::milliseconds updateCheckStep{50};

 protected:
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // app::MainWindowView
  void setCaption(const std::string& caption) override;
  void setHintTiming(int pauseMs, int hidePauseMs) override;
  void postActivation(int delayMs) override;
  void updateEnabledState() override;
  bool windowShown() const override;
  bool windowEnabled() const override;
  bool modalBoxOpen() const override;
  void showInstallationsPage() override;
  void showFilesListPage() override;
  void setUpFilesGrid() override;
  void fitFilesGrid() override;
  app::WindowPlace windowPlace() const override;
  std::vector<app::ScreenArea> screenAreas() const override;
  void placeWindow(const app::WindowPlace& place) override;
  void showSettings() override;
  void closeWindow() override;
  void hideSecondaryWindows() override;
  // launchers::MenusView
  void showMenuItem(Menu menu, int item, bool visible, const std::string& caption) override;
  void showRunMenuEditor() override;
  void showUtilitiesManager() override;

  void buildMenu();
  void appendHelpItems(HMENU popup, const std::vector<help::MenuItem>& items);
  void runHelpCommand(const std::string& name);
  void layOut();
  void refreshLauncherMenus();
  static LRESULT CALLBACK mouseWatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR data);

  struct LauncherItem {
    bool visible = false;
    std::string caption;
  };

  Win32Ui ui_;
  std::unique_ptr<app::Services> services_;
  std::unique_ptr<app::Program> program_;
  std::unique_ptr<app::MainWindowPresenter> presenter_;
  std::unique_ptr<launchers::MenusPresenter> menus_;
  std::unique_ptr<Hints> hints_;
  Windows windows_;
  std::vector<SecondaryWindow*> secondaryWindows_;
  std::array<std::unique_ptr<Panel>, 2> panels_;
  std::array<std::function<void()>, 2> pageShow_;
  std::function<void()> setUpGrid_;
  std::function<void()> fitGrid_;
  std::array<LauncherItem, 10> runItems_;
  std::array<LauncherItem, 10> utilityItems_;
  std::map<int, std::string> menuHints_;  // command id -> the hint shown while the item is highlighted
  std::string statusBeforeMenu_;          // the status line while a menu is open shows item hints over it
  HWND toolBar_ = nullptr;
  HWND pages_ = nullptr;
  HWND statusBar_ = nullptr;
  HMENU menu_ = nullptr;
  HMENU utilitiesMenu_ = nullptr;
  HMENU runMenu_ = nullptr;
  int nextFreeCommand_ = FirstFreeCommand;
  bool closed_ = false;
};

// The program's message loop until the main window has closed: dialog keys (Tab, Enter, Escape, Alt with a
// control's mnemonic) in whichever window of the program is active; the menus' mnemonics (Alt+Ф ...) are
// the system's own. Returns the exit code.
int runMessageLoop(MainWindow& main);

}  // namespace winui
