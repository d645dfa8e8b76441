#include "launchers/ui/TRunMenu.h"

#include "app/ui/TForm1.h"

TRunMenu::TRunMenu(TForm1& main) : ProgramWindow(main, "Меню запуска") {
  setObjectName("TRunMenu");
  setFixedClientSize(400, 300);
}
