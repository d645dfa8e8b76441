#include "installs/ui/EditMenuPage.h"

#include "app/ui/TForm1.h"

EditMenuPage::EditMenuPage(TForm1& main) : main_(main) { setObjectName("EditMenu"); }

void EditMenuPage::EditMenuShow() {}
