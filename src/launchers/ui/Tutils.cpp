#include "launchers/ui/Tutils.h"

#include "app/ui/TForm1.h"

Tutils::Tutils(TForm1& main) : ProgramWindow(main, "Утилиты") {
  setObjectName("Tutils");
  setFixedClientSize(330, 260);
}
