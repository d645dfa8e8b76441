#pragma once

// What the command console writes in its list and its window, as the user reads it.
namespace service::texts {

inline constexpr const char* kConsoleCaption = "Командная строка";
inline constexpr const char* kConsoleStatus = "командная строка...";

inline constexpr const char* kRegistryRead = "Переменные загружены из реестра";
inline constexpr const char* kRegistryWritten = "Переменные сохранены в реестре";
inline constexpr const char* kRegistryCleared = "Данные из реестра удалены";
inline constexpr const char* kFileDirPrefix = "filedir='";
inline constexpr const char* kFileDirSuffix = "'";
inline constexpr const char* kLogOpened = "Открытие log'а";
inline constexpr const char* kShowingVariables = "Вывод переменных";
inline constexpr const char* kVariablesCleared = "Значения переменных стёрты";
inline constexpr const char* kStartUpRerun = "Эмуляция запуска программы";
inline constexpr const char* kUnknownCommand = "Имя команды указано неправильно";

}  // namespace service::texts
