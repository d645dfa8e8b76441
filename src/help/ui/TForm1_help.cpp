// The main window's links menu and "?" menu.
#include <QMenu>

#include "app/ui/TForm1.h"
#include "help/links.h"
#include "help/texts.h"
#include "help/ui/THelp.h"
#include "help/update_check.h"
#include "sys/shell.h"

using app::ui::q;

void TForm1::buildLinksMenu(QMenu* menu) {
  // Each web item opens its one fixed address; where a hint is given it shows that address too.
  const auto link = [this](QMenu* in, const char* name, const QString& caption, const char* address,
                           const char* hint = nullptr) {
    QAction* action = in->addAction(caption);
    action->setObjectName(name);
    if (hint) {
      action->setStatusTip(q(hint));
      action->setToolTip(q(hint));
    }
    connect(action, &QAction::triggered, this, [this, address] { guard([this, address] { openWebAddress(address); }); });
  };
  menu->setToolTipsVisible(true);
  link(menu, "CounterStrike2", "Официальный сайт Counter-Strike", help::kOfficialSite, help::kOfficialSite);

  // The first letter of this caption is the Cyrillic С.
  QMenu* fanSites = menu->addMenu("Сounter-strike в России");
  fanSites->menuAction()->setObjectName("FanSites1");
  link(fanSites, "FanSite1", help::kFanSite1Caption, help::kFanSite1);
  link(fanSites, "FanSite2", help::kFanSite2Caption, help::kFanSite2);
  link(fanSites, "FanSite3", help::kFanSite3Caption, help::kFanSite3);

  QMenu* bots = menu->addMenu("Боты для Counter-Strike");
  bots->menuAction()->setObjectName("CounterStrike1");
  link(bots, "PODBot1", "PODBot", help::kPodBotSite);
  link(bots, "Waypoints1", "Waypoints", help::kWaypointsDownload);
  link(bots, "PODBot2", "PODBot в России", help::kPodBotRussianPage);

  menu->addSeparator()->setObjectName("N23");
  link(menu, "N24", "Страничка этой программы", help::kProgramPage, help::kHomeSiteAddress);
  menu->addSeparator()->setObjectName("N25");
  addItem(menu, "N26", "Информация", &TForm1::N26Click);
}

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
  if (!windows_.help) return;
  windows_.help->show();
  windows_.help->raise();
  windows_.help->activateWindow();
}

void TForm1::Button4Click() {
  guard([this] {
    if (!windows_.help) return;
    N34Click();
    // Let the window come up before the topic is chosen.
    ui_.processEvents();
    sys::sleepMs(10);
    ui_.processEvents();
    windows_.help->selectTopic(help::kInstallingTopic);
  });
}

void TForm1::N27Click() {
  ui_.messageBox(help::kAboutCaption, help::aboutText(), app::Icon::Information, app::Buttons::Ok);
}

void TForm1::N26Click() {
  ui_.messageBox(help::kLinksNoticeCaption, help::linksNotice(), app::Icon::Information, app::Buttons::Ok);
}

void TForm1::N29Click() { openWebAddress(help::kProgramPage); }

void TForm1::N31Click() { openWebAddress(std::string("mailto:") + help::kAuthorEmail); }

void TForm1::N30Click() { help::checkForUpdates(*program_, updateCheckStep); }

void TForm1::openWebAddress(const std::string& address) {
  program_->services().shell.open(address, "", "", sys::ShowCommand::Show);
}
