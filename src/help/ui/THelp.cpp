#include "help/ui/THelp.h"

#include "app/ui/TForm1.h"

THelp::THelp(TForm1& main) : ProgramWindow(main, "Помощь") {
  setObjectName("THelp");
  setFixedClientSize(565, 345);
}
