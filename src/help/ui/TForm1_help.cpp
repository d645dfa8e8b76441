// The main window's links menu and "?" menu.
#include <QMenu>

#include "app/ui/TForm1.h"
#include "help/ui/THelp.h"

void TForm1::buildLinksMenu(QMenu*) {}

void TForm1::buildHelpMenu(QMenu* menu) {
  addItem(menu, "N34", "&Помощь", &TForm1::N34Click);
  addItem(menu, "N27", "О Программе", &TForm1::N27Click);
  menu->addSeparator()->setObjectName("N28");
  addItem(menu, "N29", "Посетить сайт", &TForm1::N29Click);
  addItem(menu, "N31", "Написать письмо", &TForm1::N31Click);
  menu->addSeparator()->setObjectName("N32");
  addItem(menu, "N30", "Поиск обновлений", &TForm1::N30Click);
}

void TForm1::N34Click() {
  if (windows_.help) windows_.help->show();
}
void TForm1::Button4Click() { N34Click(); }
void TForm1::N27Click() {}
void TForm1::N26Click() {}
void TForm1::N29Click() {}
void TForm1::N31Click() {}
void TForm1::N30Click() {}
void TForm1::openWebAddress(const std::string& address) {
  program_->services().shell.open(address, "", "", sys::ShowCommand::Show);
}
