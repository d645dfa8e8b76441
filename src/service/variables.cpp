#include "service/variables.h"

namespace service {

std::string variablesText(const app::Settings& s) {
  const std::pair<const char*, const std::string*> lines[] = {
      {"FileDir", &s.FilePath},          {"CSDir", &s.CSDir},
      {"CSFile", &s.CSFile},             {"CSRunParam", &s.RunParam},
      {"FilesListDate", &s.FilesListDate}, {"FilesListDir", &s.FilesListDir},
      {"FilesInfoDir", &s.FilesInfoDir}, {"ListUpdateType", &s.ListUpdate},
      {"AddFilesType", &s.AddFilesType},
  };
  std::string text;
  for (const auto& [label, value] : lines) {
    if (!text.empty()) text += "\r\n";
    text += std::string(label) + ": \"" + *value + "\"";
  }
  return text;
}

}  // namespace service
