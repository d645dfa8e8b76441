#include "installs/ui/Tinstall.h"

#include "app/ui/TForm1.h"

Tinstall::Tinstall(TForm1& main) : ProgramWindow(main, "Установка файлов") {
  setObjectName("Tinstall");
  setFixedClientSize(289, 418);
}
