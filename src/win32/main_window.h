#pragma once

#include <windows.h>

#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
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
// the two pages as a tab control with a panel each, the main menu, the status bar and the hints, and runs
// the start-up and activation steps.
class MainWindow final : public Window {
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
  };
  enum class Page { EditMenu = 0, FilesList = 1 };
  // Child control ids.
  enum Control : int { ToolBar1 = 10, Pages = 11, statusbar = 12, EditMenuPanel = 13, FilesListPanel = 14 };

  explicit MainWindow(const Platform& platform);
  ~MainWindow() override;

  app::Program& program() { return *program_; }
  Win32Ui& ui() { return ui_; }
  Hints& hints() { return *hints_; }

  // The page panels: the pages' bindings create their controls in them and register their handlers on them.
  Panel& page(Page which);
  HWND pages() const { return pages_; }
  HWND statusBar() const { return statusBar_; }
  // Selects a page, shows its panel and runs its on-show handler.
  void showPage(Page which);
  Page currentPage() const;
  // What runs when a page is shown (EditMenuShow, FilesListShow); the pages' bindings set them.
  void onPageShow(Page which, std::function<void()> handler);

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

  // A menu item's handler, replacing the one the main window has (a window's binding takes over its item).
  void onMenu(int command, std::function<void()> handler);

  // Runs an event handler and catches whatever it throws, so no handler ends the program: an I/O error is
  // shown with the system's text, any other fault in an error box and a line of "errors.txt". Either way
  // the main window is left neither busy nor disabled (unless a dialog that keeps it disabled is open).
  void guard(const std::function<void()>& handler);
  void reportIoError(const std::string& systemText);
  void reportUnexpectedError(const std::string& detail);

  // Secondary windows report here; the activation step runs when they are hidden.
  void registerSecondaryWindow(SecondaryWindow* window);
  void unregisterSecondaryWindow(SecondaryWindow* window);
  void secondaryWindowHidden(SecondaryWindow* window);
  bool anySecondaryWindowOpen() const;
  bool anyDialogOpen() const;
  // While held, a secondary window closing does not run the activation step.
  class ActivationHold {
   public:
    explicit ActivationHold(MainWindow& main) : main_(main) { ++main_.activationHolds_; }
    ~ActivationHold() { --main_.activationHolds_; }
    ActivationHold(const ActivationHold&) = delete;
    ActivationHold& operator=(const ActivationHold&) = delete;

   private:
    MainWindow& main_;
  };

  // Shows the window; the first showing runs the first page's on-show and then the activation step.
  void show(int showCommand = SW_SHOW);
  // Closes it the way the close box does (FormClose, then the program ends).
  void close();
  bool closed() const { return closed_; }

  // The handlers.
  void FormCreate();
  void FormActivate();
  void FormMouseMove();
  void PagesMouseMove();
  void N4Click();
  void N5Click();
  void Log1Click();
  void MainMenu1Change();
  void RunClick(int entry);
  void RunUtil(int slot);
  void N13Click();
  void N15Click();
  void N18Click();
  void N19Click();
  void N21Click();
  void N34Click();
  void N27Click();
  void N26Click();
  void N29Click();
  void N31Click();
  void N30Click();
  void openWebAddress(const std::string& address);

  // The texts of the items of the Run and Utilities menus as they stand (after MainMenu1Change).
  std::vector<std::string> runMenuItems() const;
  std::vector<std::string> utilityMenuItems() const;
  HMENU menu() const { return menu_; }

  // Test hooks: how long the utility waits last (15 s in the program), the update check's step.
  std::chrono::milliseconds utilityTimeout{15000};
  std::chrono::milliseconds updateCheckStep{50};

 protected:
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool unhandledCommand(int id, int code) override;

 private:
  void buildMenu();
  void layOut();
  void postActivation(UINT delayMs);
  void activationDue();
  void endHandlerState();
  void fillLauncherMenu(HMENU popup, int firstCommand, const std::vector<std::string>& names, int settingsCommand);
  static LRESULT CALLBACK mouseWatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR data);

  Win32Ui ui_;
  std::unique_ptr<app::Services> services_;
  std::unique_ptr<app::Program> program_;
  std::unique_ptr<Hints> hints_;
  Windows windows_;
  std::vector<SecondaryWindow*> secondaryWindows_;
  std::array<std::unique_ptr<Panel>, 2> panels_;
  std::array<std::function<void()>, 2> pageShow_;
  std::vector<std::pair<int, std::function<void()>>> menuHandlers_;
  HWND toolBar_ = nullptr;
  HWND pages_ = nullptr;
  HWND statusBar_ = nullptr;
  HMENU menu_ = nullptr;
  HMENU utilitiesMenu_ = nullptr;
  HMENU runMenu_ = nullptr;
  bool firstShow_ = true;
  bool closing_ = false;
  bool closed_ = false;
  bool activationPosted_ = false;
  int activationHolds_ = 0;
  int guardDepth_ = 0;
};

// The program's message loop until the main window has closed: dialog keys (Tab, Enter, Escape, Alt with a
// control's mnemonic) in whichever window of the program is active; the menus' mnemonics (Alt+Ф ...) are
// the system's own. Returns the exit code.
int runMessageLoop(MainWindow& main);

}  // namespace winui
