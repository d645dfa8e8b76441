#include "installs/texts.h"

namespace installs::texts {

std::string manyCandidatesQuestion(std::size_t count) {
  return "Найдено " + std::to_string(count) +
         " файлов!\r\nПроверка может занять много времени.\r\nВы уверены, что хотите продолжить?";
}

std::string fileInformation(const std::string& bareName, const std::string& description) {
  return "Файл: " + bareName + "\r\nИнформация: " + description;
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

std::string copyFailed(const std::string& source, const std::string& dest) {
  return "Не могу скопировать файл \"" + source + "\" в \"" + dest +
         "\". Чтобы установка  прошла успешно, вам придётся сделать это вручную!";
}

std::string copyByHand(const std::string& source, const std::string& dest) {
  return "Нажмите кнопку OK, когда скопируете файл \"" + source + "\" в \"" + dest + "\"!";
}

std::string renameHint(const std::string& name) { return "Хотите переименовать \"" + name + "\"?"; }

}  // namespace installs::texts
