#include "installs/texts.h"

namespace installs::texts {

std::string manyCandidatesQuestion(std::size_t count) {
  return "Найдено " + std::to_string(count) +
         " файлов!\r\nПроверка может занять много времени.\r\nВы уверены, что хотите продолжить?";
}

std::string fileInformation(const std::string& bareName, const std::string& description) {
  return "Файл: " + bareName + "\r\nИнформация: " + description;
}

std::string skippedRepeats(std::size_t count) {
  return "Пропущено файлов, уже добавленных в список: " + std::to_string(count);
}

std::string skippedArchiveEntries(std::size_t count) {
  return "Пропущено файлов архива с недопустимыми путями: " + std::to_string(count);
}

std::string archiveUnreadable(const std::string& name) { return "Не удалось прочитать архив \"" + name + "\""; }

std::string archiveEncrypted(const std::string& name) { return "Архив \"" + name + "\" защищён паролем"; }

std::string archiveUnreadableLog(const std::string& archive, const std::string& libraryText) {
  return "Архив \"" + archive + "\" не прочитан: " + libraryText;
}

std::string archiveBombLog(const std::string& archive, const std::string& entry) {
  return "Архив \"" + archive + "\" отклонён: файл \"" + entry + "\" распаковывается больше записанного размера";
}

std::string alreadyInstalled(const std::string& bareName) { return "Файл \"" + bareName + "\" уже установлен"; }

std::string reservedName(const std::string& bareName) {
  return "Файл \"" + bareName + "\" не может быть установлен";
}

std::string originalNotSaved(const std::string& bareName) {
  return "Файл \"" + bareName + "\" не установлен: не удалось сохранить оригинал";
}

std::string outsideGameFolder(const std::string& gamePath, const std::string& gameFolder) {
  return "Файл \"" + gamePath + "\" не установлен: он лежит вне папки игры \"" + gameFolder + "\"";
}

std::string linkedGameFile(const std::string& gamePath) {
  return "Файл \"" + gamePath + "\" не установлен: путь к нему идёт через ссылку на другое место";
}

std::string copyFailed(const std::string& source, const std::string& dest) {
  return "Не могу скопировать файл \"" + source + "\" в \"" + dest +
         "\". Чтобы установка  прошла успешно, вам придётся сделать это вручную!";
}

std::string copyByHand(const std::string& source, const std::string& dest) {
  return "Нажмите кнопку OK, когда скопируете файл \"" + source + "\" в \"" + dest + "\"!";
}

std::string changedAfterInstall(const std::string& bareName, const std::string& keptFolder) {
  return "Файл \"" + bareName + "\" изменён после установки (возможно, обновлением игры).\r\nВернуть оригинал поверх него?" +
         "\r\n\r\nДа: оригинал заменит файл игры.\r\nНет: файл игры останется как есть, а оригинал будет перенесён в папку \"" +
         keptFolder + "\"";
}

std::string keptAsIsLog(const std::string& gamePath, const std::string& keptPath) {
  return "Файл " + gamePath + " изменён после установки, оставлен как есть; оригинал сохранён: " + keptPath;
}

std::string keptOriginals(std::size_t count, const std::string& keptFolder) {
  return "Оригиналов, оставленных вне игры: " + std::to_string(count) + ". Они сохранены в папке \"" + keptFolder + "\"";
}

std::string missingBackup(const std::string& gamePath) {
  return "Нет резервной копии оригинала файла \"" + gamePath + "\": файл не восстановлен";
}

std::string unreadableGameFile(const std::string& gamePath) {
  return "Файл \"" + gamePath + "\" не удаётся прочитать: он не восстановлен, оригинал сохранён";
}

std::string notRestoredOutside(const std::string& gamePath, const std::string& gameFolder) {
  return "Файл \"" + gamePath + "\" не восстановлен: он лежит вне папки игры \"" + gameFolder + "\", оригинал сохранён";
}

std::string notRestoredLinked(const std::string& gamePath) {
  return "Файл \"" + gamePath + "\" не восстановлен: путь к нему идёт через ссылку на другое место, оригинал сохранён";
}

std::string unknownFilesLeft(const std::string& folder) {
  return "Оригиналы возвращены, но в папке \"" + folder +
         "\" остались файлы, которых нет в списке установки. Папка оставлена как есть";
}

std::string changedFilesStatus(std::size_t count) {
  return "Изменено после установки файлов: " + std::to_string(count);
}

std::string renameHint(const std::string& name) { return "Хотите переименовать \"" + name + "\"?"; }

std::string heldByAnother(const std::string& bareName, const std::string& other) {
  return "Файл \"" + bareName + "\" уже заменён установкой «" + other + "». Отключить её и продолжить?";
}

std::string packFileMissing(const std::string& gamePath) {
  return "Нет файла пакета для \"" + gamePath + "\": установка не включена";
}

std::string gameFileMissing(const std::string& gamePath) {
  return "В папке игры нет файла \"" + gamePath + "\", его оригинал нечем сохранить: установка не включена";
}

std::string moveFailed(const std::string& from, const std::string& to) {
  return "Не удалось переместить файл \"" + from + "\" в \"" + to + "\"";
}

std::string deleteOffQuestion(const std::string& name) {
  return "Установка «" + name + "» отключена: её файлов в игре нет, оригиналы на месте.\r\n"
         "Удалить её вместе с файлами пакета?";
}

std::string sharingStatus(std::size_t count) { return "Общие файлы с другими установками: " + std::to_string(count); }

std::string healRelisted(const std::string& name) {
  return "Установка \"" + name + "\" не значилась в списке установок и снова внесена в него";
}

std::string healRemoved(const std::string& name) {
  return "Папка \"" + name + "\" незаконченной установки удалена: в ней были только копии файлов игры";
}

std::string healLeftAlone(const std::string& name) {
  return "Папка \"" + name + "\" не значится в списке установок и оставлена как есть";
}

std::string healLineDropped(const std::string& gamePath) {
  return "Строка \"" + gamePath + "\" реестра установленных файлов не принадлежит ни одной установке и удалена";
}

std::string healLineKept(const std::string& gamePath) {
  return "Строка \"" + gamePath +
         "\" реестра установленных файлов не принадлежит ни одной установке; оставлена: файл совпадает с резервной копией";
}

std::string healRebuilt(const std::string& name, std::size_t count) {
  return "Список файлов установки \"" + name + "\" был утерян и восстановлен по реестру установленных файлов, файлов: " +
         std::to_string(count);
}

std::string healUnmatchedBackups(const std::string& name, const std::string& bareNames) {
  return "В папке установки \"" + name + "\" есть файлы без записи в реестре установленных файлов, оставлены как есть: " +
         bareNames;
}

std::string healLineRegistered(const std::string& gamePath) {
  return "Строка \"" + gamePath + "\" не значилась в реестре установленных файлов и снова внесена в него";
}

std::string healSwitchFinished(const std::string& name) {
  return "Переключение установки \"" + name + "\" было прервано и доведено до конца";
}

std::string healFailed(const std::string& systemText) {
  return "Порядок в хранилище установок не восстановлен: " + systemText;
}

}  // namespace installs::texts
