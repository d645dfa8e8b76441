#pragma once

#include <string>

#include "app/settings.h"

namespace app {
class Program;
class Ui;
}  // namespace app

namespace service {

inline constexpr const char* kVariablesCaption = "Основные переменные";
inline constexpr const char* kServiceMenuNote =
    "Меню \"служебные\" помогает автору находить и исправлять ошибки в программе.\r\n"
    "Просьба к людям, не участвующим в разработке, не использовать данное меню.";

// The nine settings as the variables view shows them, one labelled line each, lines joined by CR LF.
std::string variablesText(const app::Settings& settings);

// The service menu's "&Значения переменных" (and the console's "var"): the settings in memory in a box
// under "Основные переменные", OK button, no icon.
void showVariables(app::Program& program);
// The service menu's "Информация": what the menu is for, under "Внимание".
void showServiceMenuNote(app::Ui& ui);

}  // namespace service
