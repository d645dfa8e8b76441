// Varnikit on Windows: puts sets of replacement files into the game folder of Counter-Strike and takes
// them out again. The windows are native Win32 (src/win32/); everything they do lives in the core.
#include <windows.h>
#include <objbase.h>

#include "app/one_program.h"
#include "sys/clock.h"
#include "sys/filesystem.h"
#include "sys/paths.h"
#include "sys/program_lock.h"
#include "sys/registry.h"
#include "sys/shell.h"
#include "win32/controls.h"
#include "win32/console.h"
#include "win32/files_list_page.h"
#include "win32/help.h"
#include "win32/install_dialog.h"
#include "win32/installations_page.h"
#include "win32/list_info.h"
#include "win32/main_window.h"
#include "win32/options.h"
#include "win32/run_menu_editor.h"
#include "win32/utilities.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
  // The shell's file dialogs want a single-threaded apartment on the window thread.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  winui::initCommonControls();

  auto registry = sys::currentUserRegistry();
  auto shell = sys::systemShell();
  auto windowFinder = sys::systemWindowFinder();
  // Held until the program ends. A second start brings the first one's window forward and ends here,
  // before it creates a window or reads a data file.
  auto lock = sys::systemProgramLock();
  if (!app::claimStore(*lock, *windowFinder,
                       app::storeFolder(*registry, sys::realFileSystem(), sys::executableFolder()))) {
    if (SUCCEEDED(com)) CoUninitialize();
    return 0;
  }
  const winui::Platform platform{sys::realFileSystem(), *registry, *shell, *windowFinder, sys::systemClock(),
                                 sys::executableFolder()};

  int exitCode = 0;
  {
    // The windows, each for the whole run, in their fixed order: the main window with its two pages, the
    // settings dialog, the file info dialog, the run-menu editor, the install dialog, the console, the
    // utilities manager and the help window.
    winui::MainWindow main(platform);
    winui::InstallationsPage installations(main);
    winui::FilesListPage filesList(main);
    winui::Options options(main);
    winui::ListInfo listInfo(main, filesList);
    winui::RunMenuEditor runMenu(main);
    winui::InstallDialog install(main, installations);
    winui::Console command(main);
    winui::UtilitiesManager utils(main);
    winui::HelpWindow help(main);
    winui::MainWindow::Windows windows;
    windows.options = &options;
    windows.listInfo = &listInfo;
    windows.runMenu = &runMenu;
    windows.install = &install;
    windows.command = &command;
    windows.utils = &utils;
    windows.help = &help;
    main.setWindows(windows);
    main.show(showCommand);
    exitCode = winui::runMessageLoop(main);
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return exitCode;
}
