#include "launchers/run_menu.h"

#include <vector>

#include "app/program.h"
#include "launchers/texts.h"
#include "sys/paths.h"

namespace launchers {

void readRunMenu(sys::FileSystem& fs, const std::string& path, RunMenuTable& table) {
  if (!fs.existsForReading(path)) fs.writeLines(path, std::vector<std::string>(30, kEmpty));
  const std::vector<std::string> lines = fs.readLines(path);
  std::size_t next = 0;
  for (auto& entry : table) {
    for (std::string* field : {&entry.name, &entry.path, &entry.parameters}) {
      if (next < lines.size()) *field = lines[next++];
    }
  }
}

void writeRunMenu(sys::FileSystem& fs, const std::string& path, const RunMenuTable& table) {
  std::vector<std::string> lines;
  for (const auto& entry : table) {
    lines.push_back(entry.name);
    lines.push_back(entry.path);
    lines.push_back(entry.parameters);
  }
  fs.writeLines(path, lines, true);
}

std::string editorText(const std::string& stored) { return stored == kEmpty ? std::string() : stored; }

std::string launchParameters(const std::string& parameters) {
  return parameters == kEmpty ? std::string() : parameters;
}

void freeEntry(RunMenuEntry& entry) { entry = RunMenuEntry{kEmpty, kEmpty, kEmpty}; }

app::FileRequest anyFileRequest() {
  app::FileRequest request;
  request.title = texts::kRunMenuBrowseTitle;
  request.filters = {{texts::kAnyFileFilter, sys::kSeparator == '\\' ? texts::kAnyFilePattern : "*"}};
  return request;
}

void startRunMenuEntry(app::Program& program, int entry) {
  const RunMenuEntry& e = program.runMenu.at(static_cast<std::size_t>(entry - 1));
  if (!program.fs().isFile(e.path)) {
    // Reported and not started: handed to the shell, a bare name would be looked up in the working folder
    // and along PATH and could start some other program.
    program.ErrorMsg(texts::kFileNotFoundBefore + e.path + texts::kFileNotFoundAfter, texts::kRunFileNotFoundLog);
    return;
  }
  program.services().shell.open(e.path, launchParameters(e.parameters), sys::folderWithSeparator(e.path), sys::ShowCommand::Show);
}

void startFromEditor(app::Program& program, bool rowSelected, const std::string& path, const std::string& parameters) {
  const bool found = program.fs().isFile(path);
  if (!found) app::showError(program.ui(), texts::kFileNotFoundBefore + path + texts::kFileNotFoundAfter);
  if (rowSelected && !path.empty() && found) {
    program.services().shell.open(path, launchParameters(parameters), sys::folderWithSeparator(path), sys::ShowCommand::Show);
  }
}

}  // namespace launchers
