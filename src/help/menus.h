#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "help/update_check.h"

namespace app {
class Program;
class Ui;
}  // namespace app

// The main window's "&Ссылки" and "&?" menus: their items in menu order, and what each item does, so every
// front-end builds the same menus and runs the same bodies.
namespace help {

struct MenuItem {
  enum class Kind {
    Link,        // opens address through the shell; hint, when not empty, is shown for the item
    Command,     // runs the main window's handler of that name (N34Click, N26Click ...)
    Separator,
    Submenu,     // the items up to the next EndSubmenu belong to a submenu with this caption
    EndSubmenu,
  };
  Kind kind;
  std::string name;  // the item's component name (CounterStrike2, N23, N34 ...)
  std::string caption;
  std::string address;
  std::string hint;
};

const std::vector<MenuItem>& linksMenu();
const std::vector<MenuItem>& helpMenu();

// Every web item: the shell opens the address with its default action; nothing is reported.
void openWebAddress(app::Program& program, const std::string& address);
// "О Программе": the about box.
void N27Click(app::Ui& ui);
// "Информация" of the links menu: the links notice.
void N26Click(app::Ui& ui);
// "Посетить сайт": the program's page.
void N29Click(app::Program& program);
// "Написать письмо": a new letter to the author.
void N31Click(app::Program& program);
// "Поиск обновлений".
void N30Click(app::Program& program, std::chrono::milliseconds step = kUpdateCheckStep);

}  // namespace help
