#pragma once

#include <string>
#include <utility>
#include <vector>

namespace app {

// The nine settings, all text, named after their registry values.
struct Settings {
  std::string CSDir;          // the game's "cstrike" folder, no trailing separator
  std::string CSFile;         // the game launcher
  std::string RunParam;       // its parameters
  std::string FilesListDate;  // date of the last catalogue scan, dd.MM.yyyy
  std::string FilesListDir;   // full path of the catalogue file
  std::string FilesInfoDir;   // full path of the descriptions file
  std::string ListUpdate;     // catalogue schedule "1".."4"
  std::string AddFilesType;   // default add mode of the install dialog "1".."3"
  std::string FilePath;       // the program's data folder, with trailing separator

  bool operator==(const Settings&) const = default;

  // The registry value names in the order they are read and written.
  static const std::vector<std::string>& valueNames();
  std::vector<std::string*> fields();
  std::vector<std::pair<std::string, std::string>> values() const;
};

inline constexpr const char* kProgramKey = "\\Software\\Varnikit";

}  // namespace app
