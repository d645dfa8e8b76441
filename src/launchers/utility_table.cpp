#include "launchers/utility_table.h"

#include <vector>

#include "launchers/run_menu.h"

namespace launchers {

void loadUtilList(sys::FileSystem& fs, const std::string& filePath, UtilityTable& table) {
  const std::string folder = filePath + kUtilitiesFolder;
  if (!fs.isFolder(folder)) fs.createFolder(folder);
  const std::string file = filePath + kUtilitiesFile;
  if (!fs.existsForReading(file)) fs.createEmpty(file);
  const std::vector<std::string> lines = fs.readLines(file);
  // Filled aside and taken whole: a read that fails leaves the table as it was.
  UtilityTable loaded;
  std::size_t next = 0;
  for (auto& slot : loaded) {
    if (next >= lines.size()) break;
    slot.name = lines[next++];
    if (next < lines.size()) slot.path = lines[next++];
  }
  table = loaded;
}

namespace {
void save(sys::FileSystem& fs, const std::string& filePath, const UtilityTable& table, bool byPath) {
  std::vector<std::string> lines;
  for (const auto& slot : table) {
    if ((byPath ? slot.path : slot.name) == kEmpty) continue;
    lines.push_back(slot.name);
    lines.push_back(slot.path);
  }
  fs.writeLines(filePath + kUtilitiesFile, lines, true);
}
}  // namespace

void saveUtilList(sys::FileSystem& fs, const std::string& filePath, const UtilityTable& table) {
  save(fs, filePath, table, false);
}

void saveUtilListAtClose(sys::FileSystem& fs, const std::string& filePath, const UtilityTable& table) {
  save(fs, filePath, table, true);
}

}  // namespace launchers
