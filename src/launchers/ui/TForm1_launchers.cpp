// The main window's Run and Utilities menus.
#include <QMenu>

#include "app/ui/TForm1.h"
#include "launchers/run_menu.h"
#include "launchers/utilities.h"
#include "launchers/ui/TRunMenu.h"
#include "launchers/ui/Tutils.h"

using app::ui::q;

void TForm1::buildUtilitiesMenu(QMenu* menu) {
  for (int k = 1; k <= 10; ++k) {
    util[k - 1] = menu->addAction(QString());
    util[k - 1]->setObjectName(QString("util%1").arg(k));
    connect(util[k - 1], &QAction::triggered, this, [this, k] { guard([this, k] { RunUtil(k); }); });
  }
  menu->addSeparator()->setObjectName("N12");
  addItem(menu, "N13", "Настройка", &TForm1::N13Click);
}

void TForm1::buildRunMenu(QMenu* menu) {
  for (int k = 1; k <= 10; ++k) {
    Run[k - 1] = menu->addAction(QString());
    Run[k - 1]->setObjectName(QString("Run%1").arg(k));
    connect(Run[k - 1], &QAction::triggered, this, [this, k] { guard([this, k] { RunClick(k); }); });
  }
  menu->addSeparator()->setObjectName("N14");
  addItem(menu, "N15", "Настройка", &TForm1::N15Click);
}

void TForm1::MainMenu1Change() {
  auto& program = *program_;
  if (!program.settings.FilePath.empty()) program.LoadUtilList();
  for (int k = 0; k < 10; ++k) {
    const auto& entry = program.runMenu[k];
    Run[k]->setVisible(entry.name != launchers::kEmpty);
    if (entry.name != launchers::kEmpty) Run[k]->setText(q(entry.name));
    const auto& slot = program.utilities[k];
    util[k]->setVisible(slot.name != launchers::kEmpty);
    if (slot.name != launchers::kEmpty) util[k]->setText(q(slot.name));
  }
}

void TForm1::RunClick(int entry) { launchers::startRunMenuEntry(*program_, entry); }

void TForm1::RunUtil(int slot) { launchers::RunUtil(*program_, slot, utilityTimeout); }

void TForm1::N13Click() {
  if (windows_.utils) windows_.utils->show();
}

void TForm1::N15Click() {
  if (windows_.runMenu) windows_.runMenu->show();
}
