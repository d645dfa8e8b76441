#include "app/ui/TOptions.h"

#include "app/ui/TForm1.h"

TOptions::TOptions(TForm1& main) : ProgramWindow(main, "Настройки") {
  setObjectName("TOptions");
  setFixedClientSize(338, 330);
}
