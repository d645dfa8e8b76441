#include "launchers/run_menu.h"

#include <vector>

namespace launchers {

void readRunMenu(sys::FileSystem& fs, const std::string& path, RunMenuTable& table) {
  if (!fs.canOpenForReading(path)) fs.writeLines(path, std::vector<std::string>(30, kEmpty));
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

}  // namespace launchers

#include "app/program.h"
#include "sys/paths.h"

namespace launchers {

void startRunMenuEntry(app::Program& program, int entry) {
  const RunMenuEntry& e = program.runMenu.at(static_cast<std::size_t>(entry - 1));
  if (!program.fs().isFile(e.path)) {
    program.ErrorMsg("Файл \"" + e.path + "\" не найден", "Файл для запуска из меню \"Запуск\" не найден");
  }
  program.services().shell.open(e.path, e.parameters, sys::folderWithSeparator(e.path), sys::ShowCommand::Show);
}

}  // namespace launchers
