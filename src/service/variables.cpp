#include "service/variables.h"

#include "app/program.h"

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

void showVariables(app::Program& program) {
  program.ui().messageBox(kVariablesCaption, variablesText(program.settings), app::Icon::None, app::Buttons::Ok);
}

void showServiceMenuNote(app::Ui& ui) { app::showAttention(ui, kServiceMenuNote); }

}  // namespace service
