#pragma once

#include <string>

#include "app/settings.h"

namespace service {

inline constexpr const char* kVariablesCaption = "Основные переменные";
inline constexpr const char* kServiceMenuNote =
    "Меню \"служебные\" помогает автору находить и исправлять ошибки в программе.\r\n"
    "Просьба к людям, не участвующим в разработке, не использовать данное меню.";

// The nine settings as the variables view shows them, one labelled line each, lines joined by CR LF.
std::string variablesText(const app::Settings& settings);

}  // namespace service
