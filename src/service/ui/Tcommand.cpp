#include "service/ui/Tcommand.h"

#include "app/ui/TForm1.h"

Tcommand::Tcommand(TForm1& main) : ProgramWindow(main, "Командная строка") {
  setObjectName("Tcommand");
  setFixedClientSize(272, 185);
}
