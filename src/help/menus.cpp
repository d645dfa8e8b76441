#include "help/menus.h"

#include "app/program.h"
#include "help/links.h"
#include "help/texts.h"
#include "sys/shell.h"

namespace help {

namespace {
using Kind = MenuItem::Kind;
}

const std::vector<MenuItem>& linksMenu() {
  static const std::vector<MenuItem> items = {
      {Kind::Link, "CounterStrike2", "Официальный сайт Counter-Strike", kOfficialSite, kOfficialSite},
      // The first letter of this caption is the Cyrillic С.
      {Kind::Submenu, "FanSites1", "Сounter-strike в России", "", ""},
      {Kind::Link, "FanSite1", kFanSite1Caption, kFanSite1, ""},
      {Kind::Link, "FanSite2", kFanSite2Caption, kFanSite2, ""},
      {Kind::Link, "FanSite3", kFanSite3Caption, kFanSite3, ""},
      {Kind::EndSubmenu, "", "", "", ""},
      {Kind::Submenu, "CounterStrike1", "Боты для Counter-Strike", "", ""},
      {Kind::Link, "PODBot1", "PODBot", kPodBotSite, ""},
      {Kind::Link, "Waypoints1", "Waypoints", kWaypointsDownload, ""},
      {Kind::Link, "PODBot2", "PODBot в России", kPodBotRussianPage, ""},
      {Kind::EndSubmenu, "", "", "", ""},
      {Kind::Separator, "N23", "", "", ""},
      {Kind::Link, "N24", "Страничка этой программы", kProgramPage, kHomeSiteAddress},
      {Kind::Separator, "N25", "", "", ""},
      {Kind::Command, "N26", "Информация", "", ""},
  };
  return items;
}

const std::vector<MenuItem>& helpMenu() {
  static const std::vector<MenuItem> items = {
      {Kind::Command, "N34", "&Помощь", "", ""},
      {Kind::Command, "N27", "О Программе", "", ""},
      {Kind::Separator, "N28", "", "", ""},
      {Kind::Command, "N29", "Посетить сайт", "", ""},
      {Kind::Command, "N31", "Написать письмо", "", ""},
      {Kind::Separator, "N32", "", "", ""},
      {Kind::Command, "N30", "Поиск обновлений", "", ""},
  };
  return items;
}

void openWebAddress(app::Program& program, const std::string& address) {
  program.services().shell.open(address, "", "", sys::ShowCommand::Show);
}

void N27Click(app::Ui& ui) { ui.messageBox(kAboutCaption, aboutText(), app::Icon::Information, app::Buttons::Ok); }

void N26Click(app::Ui& ui) {
  ui.messageBox(kLinksNoticeCaption, linksNotice(), app::Icon::Information, app::Buttons::Ok);
}

void N29Click(app::Program& program) { openWebAddress(program, kProgramPage); }

void N31Click(app::Program& program) { openWebAddress(program, std::string("mailto:") + kAuthorEmail); }

void N30Click(app::Program& program, std::chrono::milliseconds step) { checkForUpdates(program, step); }

}  // namespace help
