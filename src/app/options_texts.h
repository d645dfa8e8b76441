#pragma once

#include <string>

// The settings dialog's texts, as the user reads them.
namespace app::options_texts {

inline constexpr const char* kCaption = "Настройки";
inline constexpr const char* kGameGroup = "Информация об игре";
inline constexpr const char* kFolderLabel = "Папка игры";
inline constexpr const char* kLauncherLabel = "Запуск игры";
inline constexpr const char* kParamsLabel = "Параметры запуска";
inline constexpr const char* kDetect = "Определить автоматически";
inline constexpr const char* kDetectHint = "Попробовать определить папку игры\r\nи файл для запуска игры автоматически";
inline constexpr const char* kCheck = "Проверить";
inline constexpr const char* kCheckHint = "Проверить правильность ввода данных";
inline constexpr const char* kListGroup = "Список файлов";
inline constexpr const char* kUpdate1 = "Не обновлять автоматически";
inline constexpr const char* kUpdate2 = "Обновлять при запуске";
inline constexpr const char* kUpdate3 = "Обновлять раз в день";
inline constexpr const char* kUpdate4 = "Обновлять раз в месяц";
inline constexpr const char* kLastUpdate = "Последнее обновление: ";
inline constexpr const char* kUnknownDate = "неизвестно";
inline constexpr const char* kRefresh = "Обновить";
inline constexpr const char* kOk = "&OK";
inline constexpr const char* kExit = "&Выход";
inline constexpr const char* kBrowseFolder = "Выбрать папку игры";
inline constexpr const char* kBrowseLauncher = "Выбрать файл для запуска игры";
inline constexpr const char* kChooseFolder = "Укажите папку с игрой";
inline constexpr const char* kChooseLauncher = "Укажите файл для запуска игры";
inline constexpr const char* kStatusOpen = "открыто окно настроек";

// Boxes.
inline constexpr const char* kNoFolderAtShow = "Папка с игрой не указана. Укажите папку с игрой";
inline constexpr const char* kFolderInvalid = "Папка игры указана неверно";
inline constexpr const char* kRefreshWithoutFolder = "Укажите папку с игрой";
inline constexpr const char* kLauncherInvalid = "Файл для запуска игры указан неверно";
inline constexpr const char* kAllCorrect = "Все данные введены правильно";

// A folder without the game's "liblist.gam": the question, and the one that offers the game folder inside.
inline std::string notGameFolderQuestion(const std::string& folder) {
  return "В папке \"" + folder + "\" нет файла liblist.gam. Это точно папка игры cstrike?";
}
inline std::string gameFolderInsideQuestion(const std::string& folder, const std::string& inside) {
  return "В папке \"" + folder + "\" нет файла liblist.gam, а в папке \"" + inside + "\" он есть. Взять папку \"" +
         inside + "\"?";
}

// Auto-detection reports.
inline constexpr const char* kNothingFound = "Информация не найдена";
inline constexpr const char* kFolderNotFound = "Папка игры не найдена";
inline constexpr const char* kLauncherNotFound = "Файл для запуска игры не найден";
inline constexpr const char* kAllFound = "Информация найдена";

}  // namespace app::options_texts
