// The main window's service menu.
#include "app/ui/TForm1.h"
#include "service/ui/Tcommand.h"
#include "service/variables.h"

void TForm1::N18Click() {
  if (windows_.command) windows_.command->show();
}

void TForm1::N19Click() { service::showVariables(*program_); }

void TForm1::N21Click() { service::showServiceMenuNote(ui_); }
