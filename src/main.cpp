// Varnikit: puts sets of replacement files into the game folder of Counter-Strike and takes them out again.
#include <QApplication>
#include <iostream>

#include "app/command_line.h"
#include "app/one_program.h"
#include "app/ui/Application.h"
#include "app/ui/TForm1.h"
#include "app/ui/TOptions.h"
#include "catalogue/ui/TListInfo.h"
#include "help/ui/THelp.h"
#include "installs/ui/Tinstall.h"
#include "launchers/ui/TRunMenu.h"
#include "launchers/ui/Tutils.h"
#include "service/ui/Tcommand.h"
#include "sys/paths.h"
#include "sys/program_lock.h"

int main(int argc, char* argv[]) {
  // --version and --help answer before any window system is needed.
  if (const auto exitCode = app::answerCommandLine({argv + 1, argv + argc}, std::cout, std::cerr)) return *exitCode;

  auto registry = sys::currentUserRegistry();
  auto windowFinder = sys::systemWindowFinder();
  // Held until the program ends. A second start brings the first one's window forward and ends here,
  // before it connects to the toolkit or reads a data file.
  auto lock = sys::systemProgramLock();
  if (!app::claimStore(*lock, *windowFinder,
                       app::storeFolder(*registry, sys::realFileSystem(), sys::executableFolder()))) {
    return 0;
  }

  QApplication application(argc, argv);
  app::ui::setUpApplication();

  auto shell = sys::systemShell();
  const Platform platform{sys::realFileSystem(), *registry, *shell, *windowFinder, sys::systemClock(),
                          sys::executableFolder()};

  // The windows, each for the whole run, in their fixed order.
  TForm1 form1(platform);
  TForm1::Windows windows;
  TOptions options(form1);
  windows.options = &options;
  TListInfo listInfo(form1);
  windows.listInfo = &listInfo;
  TRunMenu runMenu(form1);
  windows.runMenu = &runMenu;
  Tinstall install(form1);
  windows.install = &install;
  Tcommand command(form1);
  windows.command = &command;
  Tutils utils(form1);
  windows.utils = &utils;
  THelp help(form1);
  windows.help = &help;
  form1.setWindows(windows);

  form1.show();
  return QApplication::exec();
}
