#pragma once

#include <cstddef>
#include <string>

// The catalogue's texts, as the user reads them.
namespace catalogue::texts {

// The scan.
inline constexpr const char* kScanning = "Поиск файлов...Ждите...";
inline constexpr const char* kScanFinished = "Поиск файлов завершен";
// "Найдено N файлов"
inline std::string found(std::size_t count) { return "Найдено " + std::to_string(count) + " файлов"; }

// The page "Список файлов".
inline constexpr const char* kPageCaption = "Список файлов";
inline constexpr const char* kFileHeader = "Файл";
inline constexpr const char* kPathHeader = "Путь";
inline constexpr const char* kDescriptionHeader = "Описание";
inline constexpr const char* kNoInformation = "информации нет";
inline constexpr const char* kFilling = "обновление списка файлов...";
inline constexpr const char* kGridHint =
    "двойной щелчок - запуск файла......для появления меню щёлкните правой кнопкой мыши....... ";
inline constexpr const char* kRun = "запустить";
inline constexpr const char* kEditDescription = "изменить описание";
inline constexpr const char* kShowInformation = "показать информацию";
// Above the grid: the filter of the rows.
inline constexpr const char* kFilterLabel = "Поиск:";
// The hint of a game file an installation replaced: "Заменён установкой \"NAME\""
inline std::string replacedBy(const std::string& installation) {
  return "Заменён установкой \"" + installation + "\"";
}
// "Введите описание для файлов \".wav\""
inline std::string descriptionPrompt(const std::string& extension) {
  return "Введите описание для файлов \"" + extension + "\"";
}

// The descriptions a program folder starts with, by extension: the kinds of files the game's folders hold
// (".so" the libraries of the game on Linux).
struct StarterDescription {
  const char* key;
  const char* text;
};
inline constexpr StarterDescription kStarterDescriptions[] = {
    {".mdl", "Модель"},      {".spr", "Спрайт"},          {".wav", "Звук"},         {".bsp", "Карта"},
    {".wad", "Текстуры"},    {".tga", "Изображение"},     {".bmp", "Изображение"},  {".cfg", "Настройки"},
    {".txt", "Текст"},       {".res", "Ресурсы карты"},   {".dll", "Библиотека"},   {".so", "Библиотека"},
    {".gam", "Описание мода"}, {".mp3", "Музыка"},
};

// The file info dialog.
inline constexpr const char* kInfoCaption = "Информация";
inline constexpr const char* kInfoFile = "Файл:";
inline constexpr const char* kInfoPath = "Путь:";
inline constexpr const char* kInfoDescription = "Описание:";
inline constexpr const char* kInfoOk = "OK";
inline constexpr const char* kInfoRun = "Запустить";

}  // namespace catalogue::texts
