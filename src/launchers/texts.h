#pragma once

// The texts of the Run menu, its editor, the utilities and their manager, as the user reads them.
namespace launchers::texts {

// The run-menu editor.
inline constexpr const char* kRunMenuCaption = "Меню запуска";
inline constexpr const char* kRunMenuOpenStatus = "открыто окно настройки запуска файлов...";
inline constexpr const char* kRunMenuListGroup = "Список пунктов меню";
inline constexpr const char* kRunMenuInfoGroup = "Информация о пункте меню";
inline constexpr const char* kRunMenuNameLabel = "Название пункта:";
inline constexpr const char* kRunMenuPathLabel = "Путь к файлу:";
inline constexpr const char* kRunMenuParamsLabel = "Параметры запуска:";
inline constexpr const char* kRunMenuDelete = "Удалить";
inline constexpr const char* kRunMenuStart = "Запустить";
inline constexpr const char* kRunMenuOk = "&OK";
inline constexpr const char* kRunMenuHelpButton = "Помощь";
inline constexpr const char* kRunMenuBrowseTitle = "Открыть";
inline constexpr const char* kAnyFileFilter = "любой файл";
inline constexpr const char* kAnyFilePattern = "*.*";
inline constexpr const char* kSelectMenuItem = "Укажите пункт меню";
inline constexpr const char* kRunMenuHelp =
    "Меню \"запуск\" существует для того, чтобы вы могли\r\nзапускать нужные вам файлы из меню программы.\r\n\r\n"
    "Например, вы можете добавить пункт меню, для запуска Counter-Strike.\r\nДля этого:\r\n"
    "1. Щёлкните в списке по любой строке с надписью \"empty\"\r\n"
    "2. В поле \"название пункта\" введите \"Counter-Strike\"\r\n"
    "3. В поле \"путь к файлу\" щёлкните по кнопке \"...\"\r\n"
    "4. Укажите файл hl.exe или cstrike.exe (в зависимости от версии игры)\r\n"
    "5. Если вы указали файл hl.exe, то в поле \"параметры запуска\" введите \"-game cstrike\" (без кавычек)\r\n"
    "6. Нажмите кнопку \"OK\"";
// "Файл \"<path>\" не найден", from the menu and from the editor alike.
inline constexpr const char* kFileNotFoundBefore = "Файл \"";
inline constexpr const char* kFileNotFoundAfter = "\" не найден";
inline constexpr const char* kRunFileNotFoundLog = "Файл для запуска из меню \"Запуск\" не найден";

// The utilities manager.
inline constexpr const char* kUtilsCaption = "Утилиты";
inline constexpr const char* kUtilsOpenStatus = "настройка утилит...";
inline constexpr const char* kUtilsListGroup = "Список установленных утилит";
inline constexpr const char* kUtilsAdd = "&Добавить";
inline constexpr const char* kUtilsRemove = "&Удалить";
inline constexpr const char* kUtilsDownload = "Скачать из интернета";
inline constexpr const char* kUtilsExit = "&Выход";
inline constexpr const char* kUtilsBrowseTitle = "Открыть";
inline constexpr const char* kExeFilter = "exe";
inline constexpr const char* kExePattern = "*.exe";
inline constexpr const char* kTooManyUtilities = "Утилит не может быть больше 10";
inline constexpr const char* kInstalling = "Установка утилиты...Ждите...";
inline constexpr const char* kNotAUtility = "Не могу установить утилиту. Скорей всего этот файл не является утилитой";
inline constexpr const char* kNoSetupFileLog = "При установке утилиты, файл setup.dat не создавался более 15 секунд";
inline constexpr const char* kAlreadyInstalled = "Эта утилита уже установлена";
inline constexpr const char* kAlreadyInstalledLog =
    "Папка \"utilfolder\" уже существует (процедура \"Tutils.Button1Click\")";
// "Утилита \"<name>\" уже установлена (процедура \"Tutils.Button1Click\")"
inline constexpr const char* kNameInstalledLogBefore = "Утилита \"";
inline constexpr const char* kNameInstalledLogAfter = "\" уже установлена (процедура \"Tutils.Button1Click\")";
inline constexpr const char* kNotCopiedLog =
    "Файл утилиты не был скопирован в её папку (процедура \"Tutils.Button1Click\")";
inline constexpr const char* kNoFreeSlot = "Произошла ошибка. Не могу исправить";
inline constexpr const char* kNoFreeSlotLog =
    "В процедуре \"TUtils.Button1Click\" при поиске пустого слота для утилиты, все слоты оказались заполнены";
// "Новая утилита \"<name>\" была успешно установлена"
inline constexpr const char* kInstalledBefore = "Новая утилита \"";
inline constexpr const char* kInstalledAfter = "\" была успешно установлена";
inline constexpr const char* kSelectUtility = "Укажите утилиту";
inline constexpr const char* kUtilityRemoved = "Утилита удалена";

// Starting a utility.
inline constexpr const char* kUtilityNotFound = "Не могу запустить утилиту. Файл не найден";
inline constexpr const char* kUtilityNotFoundLog = "Файл для запуска утилиты не найден";
inline constexpr const char* kStartingUtility = "Запуск утилиты...Ждите...";
inline constexpr const char* kUtilityNotStarted = "Произошла ошибка";
inline constexpr const char* kUtilityNotStartedLog =
    "Утилита не была запущена в течение 15 секунд (процедура \"RunUtil\")";
// "Работает утилита: \"<name>\"..."
inline constexpr const char* kRunningBefore = "Работает утилита: \"";
inline constexpr const char* kRunningAfter = "\"...";

}  // namespace launchers::texts
