#pragma once

#include <string>

// Every text of the installation store, the install dialog and the installations page, as the user
// reads it. Line breaks inside a box's text are CR LF.
namespace installs::texts {

// The install dialog.
inline constexpr const char* kInstallCaption = "Установка файлов";
inline constexpr const char* kInstallStatus = "установка файлов...";
inline constexpr const char* kSearching = "Поиск файлов...Ждите...";
inline constexpr const char* kChecking = "Проверка файлов...Ждите...";
inline constexpr const char* kSearchStopped = "Поиск файлов прерван. Найдено более 20000 файлов.";
inline constexpr const char* kNoFilesFound = "Файлов не найдено";
inline constexpr const char* kListEmpty = "Список файлов пуст";
inline constexpr const char* kClearEmpty = "Список пуст";
inline constexpr const char* kNoFileSelected = "Файл не выделен";
inline constexpr const char* kSelectFile = "Укажите файл";
inline constexpr const char* kNoInformation = "Информации нет";
inline constexpr const char* kInformationCaption = "Установка";
inline constexpr const char* kDoubleClickHint = "Двойной щелчок - информацию о файле";
inline constexpr const char* kFolderChooserCaption = "Обзор папок";
inline constexpr const char* kFolderChooserPrompt = "Укажите папку";
inline constexpr const char* kAllFilesFilter = "все файлы";
inline constexpr const char* kListsDiffer = "Произошла ошибка! Исправить не удалось!";
inline constexpr const char* kListsDifferLog =
    "В процедуре \"CheckFiles\" количество записей в listbox1 и listbox2 было разное";
inline constexpr const char* kCatalogueMissing =
    "Список файлов не найден!!!\r\nПопробуйте обновить список файлов.\r\n"
    "Для этого нажмите кнопку \"обновить\" в окно настроек.";
inline constexpr const char* kCatalogueMissingLog =
    "При установке новых файлов, не был обнаружен список файлов из папки игры";
inline constexpr const char* kDescriptionsMissing = "Файл с информацией не найден";
inline constexpr const char* kDescriptionsMissingLog = "Файл с информацией о расширениях не найден";

// Adding from an archive.
inline constexpr const char* kArchiveMode = "Из архива";
inline constexpr const char* kArchiveChooserTitle = "Укажите архив";
inline constexpr const char* kArchivesFilter = "архивы";
inline constexpr const char* kArchivesPattern = "*.zip *.7z *.rar *.tar *.tar.gz *.tgz *.tar.xz";
inline constexpr const char* kUnpacking = "Распаковка архива...Ждите...";
inline constexpr const char* kNoSpaceToUnpack = "Недостаточно места на диске для распаковки архива";
// No archiver on the machine reads RAR or 7z: what to install, and where the program looks for it.
inline constexpr const char* kNoArchiver =
    "Для архивов RAR и 7z нужен архиватор 7-Zip или WinRAR\r\n"
    "Установите один из них (www.7-zip.org, www.win-rar.com) и добавьте архив снова.\r\n"
    "Программа ищет 7z.exe в папке 7-Zip, записанной в реестре (HKEY_CURRENT_USER и "
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\7-Zip), UnRAR.exe в папке WinRAR (по реестру или в Program Files\\WinRAR) "
    "и tar.exe в папке Windows\\System32.";
std::string skippedRepeats(std::size_t count);  // Пропущено файлов, уже добавленных в список: N
std::string skippedArchiveEntries(std::size_t count);  // Пропущено файлов архива с недопустимыми путями: N
std::string archiveUnreadable(const std::string& name);  // Не удалось прочитать архив "NAME"
std::string archiveEncrypted(const std::string& name);   // Архив "NAME" защищён паролем
// The log lines of an archive that cannot be read (the library's own text) and of one refused as a
// decompression bomb.
std::string archiveUnreadableLog(const std::string& archive, const std::string& libraryText);
std::string archiveBombLog(const std::string& archive, const std::string& entry);

// "Найдено N файлов!\r\nПроверка может занять много времени.\r\nВы уверены, что хотите продолжить?"
std::string manyCandidatesQuestion(std::size_t count);
// "Файл: NAME\r\nИнформация: TEXT"
std::string fileInformation(const std::string& bareName, const std::string& description);

// The dialog's controls and menus ("&" marks the access key).
inline constexpr const char* kFilesGroup = "Список файлов";
inline constexpr const char* kAddButton = "&Добавить";
inline constexpr const char* kRemoveButton = "&Удалить";
inline constexpr const char* kClearButton = "&Очистить";
inline constexpr const char* kDescriptionGroup = "Описание";
inline constexpr const char* kInstallButton = "&Установить";
inline constexpr const char* kExitButton = "&Выход";
inline constexpr const char* kInformationMenu = "&Информация";
inline constexpr const char* kAddMenu = "&Добавить";
inline constexpr const char* kFilesMode = "Файлы выборочно";
inline constexpr const char* kFolderMode = "Файлы только из папки";
inline constexpr const char* kFolderTreeMode = "Из папки, включая вложенные папки";
inline constexpr const char* kRemoveMenu = "&Удалить";
inline constexpr const char* kRemoveSelectedItem = "Выделенный файл";
inline constexpr const char* kRemoveAllItem = "Все файлы";
inline constexpr const char* kProgressName = "Ход работы";

// Hints of the dialog's controls.
inline constexpr const char* kAddHint = "Добавить новые файлы в список.\r\nЩёлкните правой кнопкой для появления меню";
inline constexpr const char* kRemoveHint = "Удалить выделенный\r\nфайл из списка";
inline constexpr const char* kClearHint = "Очистить список файлов";
inline constexpr const char* kDescriptionHint = "Введите описание установки\r\n(не обязательно)";
inline constexpr const char* kInstallHint = "Заменить файлы игры\r\nна файлы из списка";
inline constexpr const char* kExitHint = "Закрыть окно";

// The install operation.
inline constexpr const char* kNamePrompt = "Введите название установки";
inline constexpr const char* kNameExists = "Такая установка уже существует";
inline constexpr const char* kInvalidName = "Недопустимое название установки";
inline constexpr const char* kStartGameQuestion = "Установка завершена. Запустить Counter-Strike?";
inline constexpr const char* kNoLauncher = "Файл для запуска игры не указан";
std::string alreadyInstalled(const std::string& bareName);   // Файл "NAME" уже установлен
std::string reservedName(const std::string& bareName);       // Файл "NAME" не может быть установлен
std::string originalNotSaved(const std::string& bareName);   // Файл "NAME" не установлен: ...
// A game path the install will not write over: below no game folder, or through a link.
std::string outsideGameFolder(const std::string& gamePath, const std::string& gameFolder);
std::string linkedGameFile(const std::string& gamePath);

// The file copy.
inline constexpr const char* kCopyFailedLog = "Ошибка копирования файлов в процедуре FTF";
std::string copyFailed(const std::string& source, const std::string& dest);
std::string copyByHand(const std::string& source, const std::string& dest);

// The installations page.
inline constexpr const char* kPageCaption = "Замена файлов";
inline constexpr const char* kInstallationsGroup = "Список установок";
inline constexpr const char* kInformationGroup = "Информация";
inline constexpr const char* kFilesLabel = "Входящие файлы:";
inline constexpr const char* kDateLabel = "Дата и время установки:";
inline constexpr const char* kDescriptionLabel = "Описание:";
inline constexpr const char* kPanelGroup = "Панель управления";
inline constexpr const char* kInstallFilesButton = "Установить файлы";
inline constexpr const char* kRenameButton = "Переименовать";
inline constexpr const char* kRestoreButton = "Восстановить файлы";
inline constexpr const char* kHelpButton = "&Помощь";
inline constexpr const char* kInstallButtonHint = "Установить новые файлы (заменить).\r\n(Модели игроков, оружия и др.)";
inline constexpr const char* kSelectInstallation = "Укажите установку";
inline constexpr const char* kRenameNothingSelectedHint = "Укажите установку для переименования";
std::string renameHint(const std::string& name);  // Хотите переименовать "NAME"?
inline constexpr const char* kNewNamePrompt = "Укажите новое имя";
inline constexpr const char* kNameRequired = "Необходимо ввести имя";
inline constexpr const char* kRenameFailed = "Не удалось переименовать установку";
inline constexpr const char* kRestoring = "восстановление файлов...ждите...";
inline constexpr const char* kFilesNotFound = "Файлы не найдены!!!";
inline constexpr const char* kFolderMissingLog = "Папки с файлами для восстановления не существует";
inline constexpr const char* kFilesDatMissingLog =
    "Файл \"files.dat\", содержащий список файлов для восстановления, не найден";
inline constexpr const char* kRestored = "Файлы восстановлены";
inline constexpr const char* kNotAllRestored = "Не все файлы восстановлены. Повторите восстановление";
// The question before an original goes back over a game file changed since the install; it says what
// No does with the original: it goes to keptFolder.
std::string changedAfterInstall(const std::string& bareName, const std::string& keptFolder);
// Файл PATH изменён после установки, оставлен как есть; оригинал сохранён: KEPT
std::string keptAsIsLog(const std::string& gamePath, const std::string& keptPath);
// The line the closing box of a restore adds when originals went to keptFolder.
std::string keptOriginals(std::size_t count, const std::string& keptFolder);
std::string changedFilesStatus(std::size_t count);     // Изменено после установки файлов: N
// Files a restore does not put back, each with its reason; each stays backed up, recorded and listed.
std::string missingBackup(const std::string& gamePath);
std::string unreadableGameFile(const std::string& gamePath);
std::string notRestoredOutside(const std::string& gamePath, const std::string& gameFolder);
std::string notRestoredLinked(const std::string& gamePath);
// Every original is back, but the installation's folder holds files it does not record.
std::string unknownFilesLeft(const std::string& folder);

// Switching an installation off and on.
inline constexpr const char* kSwitchOffItem = "Отключить";
inline constexpr const char* kSwitchOnItem = "Включить";
inline constexpr const char* kSwitchingOff = "отключение установки...ждите...";
inline constexpr const char* kSwitchingOn = "включение установки...ждите...";
inline constexpr const char* kSharingLabel = "Общие файлы с установками:";
inline constexpr const char* kOffDeleted = "Установка удалена";
// Файл "NAME" уже заменён установкой «OTHER». Отключить её и продолжить?
std::string heldByAnother(const std::string& bareName, const std::string& other);
std::string packFileMissing(const std::string& gamePath);
std::string gameFileMissing(const std::string& gamePath);
std::string moveFailed(const std::string& from, const std::string& to);
// The question before an installation that is off is taken away with its pack's files.
std::string deleteOffQuestion(const std::string& name);
std::string sharingStatus(std::size_t count);  // Общие файлы с другими установками: N

// The lines the store's healing writes to "errors.txt".
std::string healRelisted(const std::string& name);
std::string healRemoved(const std::string& name);
std::string healLeftAlone(const std::string& name);
std::string healLineDropped(const std::string& gamePath);
std::string healLineKept(const std::string& gamePath);
std::string healFailed(const std::string& systemText);
std::string healSwitchFinished(const std::string& name);
std::string healLineRegistered(const std::string& gamePath);
std::string healRebuilt(const std::string& name, std::size_t count);
std::string healUnmatchedBackups(const std::string& name, const std::string& bareNames);

}  // namespace installs::texts
