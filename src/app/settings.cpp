#include "app/settings.h"

namespace app {

const std::vector<std::string>& Settings::valueNames() {
  static const std::vector<std::string> names = {"CSDir",        "CSFile",       "RunParam",
                                                 "FilesListDate", "FilesListDir", "FilesInfoDir",
                                                 "ListUpdate",   "AddFilesType", "FilePath"};
  return names;
}

std::vector<std::string*> Settings::fields() {
  return {&CSDir, &CSFile, &RunParam, &FilesListDate, &FilesListDir, &FilesInfoDir, &ListUpdate, &AddFilesType, &FilePath};
}

std::vector<std::pair<std::string, std::string>> Settings::values() const {
  std::vector<std::pair<std::string, std::string>> out;
  auto copy = *this;
  const auto fieldList = copy.fields();
  for (std::size_t i = 0; i < fieldList.size(); ++i) out.emplace_back(valueNames()[i], *fieldList[i]);
  return out;
}

}  // namespace app
