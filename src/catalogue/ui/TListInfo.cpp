#include "catalogue/ui/TListInfo.h"

#include "app/ui/TForm1.h"

TListInfo::TListInfo(TForm1& main) : ProgramWindow(main, "Информация") {
  setObjectName("TListInfo");
  setFixedClientSize(304, 121);
}
