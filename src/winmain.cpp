// Varnikit on Windows: puts sets of replacement files into the game folder of Counter-Strike and takes
// them out again. The windows are native Win32 (src/win32/); everything they do lives in the core.
#include <windows.h>
#include <objbase.h>

#include "sys/clock.h"
#include "sys/filesystem.h"
#include "sys/paths.h"
#include "sys/registry.h"
#include "sys/shell.h"
#include "win32/controls.h"
#include "win32/install_dialog.h"
#include "win32/installations_page.h"
#include "win32/main_window.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
  // The shell's file dialogs want a single-threaded apartment on the window thread.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  winui::initCommonControls();

  auto registry = sys::currentUserRegistry();
  auto shell = sys::systemShell();
  auto windowFinder = sys::systemWindowFinder();
  const winui::Platform platform{sys::realFileSystem(), *registry, *shell, *windowFinder, sys::systemClock(),
                                 sys::executableFolder()};

  int exitCode = 0;
  {
    // The windows, each for the whole run, in their fixed order.
    winui::MainWindow main(platform);
    winui::InstallationsPage installations(main);
    winui::InstallDialog install(main, installations);
    auto windows = main.windows();
    windows.install = &install;
    main.setWindows(windows);
    main.show(showCommand);
    exitCode = winui::runMessageLoop(main);
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return exitCode;
}
