#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "installs/archive.h"
#include "installs/check.h"

namespace app {
class Program;
}
namespace sys {
class FileSystem;
}

// The install dialog's operations short of the install itself: the four ways of adding files and the
// files dropped on its list, removing and clearing, the file information box and the default add mode.
namespace installs {

enum class AddMode { Files = 1, Folder = 2, FolderTree = 3, Archive = 4 };

// The mode AddFilesType names ("1".."3", and "4" where archives are read), or nothing for any other value.
std::optional<AddMode> modeOf(const std::string& addFilesType);
std::string settingOf(AddMode mode);

// The folder archives are unpacked into: "unpacked.tmp" in the program folder, one numbered folder per
// archive below it. The dialog removes it when it closes; one left behind by a run that ended otherwise
// goes at the next start.
inline constexpr const char* kUnpackFolderName = "unpacked.tmp";
// Unpacking never leaves less free space than this on the disk.
inline constexpr std::uint64_t kUnpackReserve = 100ull << 20;

class UnpackFolders {
 public:
  // A new empty folder for one archive, with its trailing separator. Throws sys::IoError.
  std::string create(app::Program& program);
  // Removes one folder made by create, with everything in it.
  static void remove(sys::FileSystem& fs, const std::string& folder);
  // Removes everything made so far. Quietly: what stays goes at the next start.
  void removeAll(sys::FileSystem& fs);
  // The free bytes where archives are unpacked; tests put their own figure in.
  std::function<std::optional<std::uint64_t>(const std::string&)> freeSpace = diskFreeSpace;

 private:
  std::vector<std::string> roots_;
  int next_ = 0;
};

// Removes the unpack folder of the program folder filePath, if a run left one.
void removeLeftoverUnpackFolder(sys::FileSystem& fs, const std::string& filePath);

// One add: AddFiles1 (files picked in the file chooser), AddFiles2 (the files of a folder), AddFiles3
// (the files of a folder and all folders below it), AddFiles4 (the files of an archive at any depth,
// those accepted unpacked into a folder of unpacked). The accepted files join chosen; when chosen is
// empty afterwards, "Файлов не найдено" is shown. The dialog takes no input meanwhile. Throws sys::IoError.
void AddFiles(app::Program& program, AddMode mode, ChosenFiles& chosen, FileSearch& search, UnpackFolders& unpacked,
              DialogView& view);

// What a path dropped on the list is added as: a file as in mode 1, a folder as in mode 3, an archive (by
// its name, where archives are read) as in mode 4; anything else is passed over.
enum class Dropped { File, Folder, Archive, Nothing };
Dropped droppedAs(sys::FileSystem& fs, const std::string& path);

// Adds the dropped paths in their order, as one add: one "Файлов не найдено" when chosen is empty
// afterwards. Throws sys::IoError.
void AddDropped(app::Program& program, const std::vector<std::string>& paths, ChosenFiles& chosen, FileSearch& search,
                UnpackFolders& unpacked, DialogView& view);

// "&Удалить": removes the selected file and its destination ("Файл не выделен" without a selection).
void removeSelected(app::Program& program, ChosenFiles& chosen, std::optional<std::size_t> selected);
// "&Очистить": empties the list ("Список пуст" when it is empty already).
void clearAll(app::Program& program, ChosenFiles& chosen);

// "&Информация": the descriptions of the selected new file's path. Throws sys::IoError.
void showFileInformation(app::Program& program, const ChosenFiles& chosen, std::optional<std::size_t> selected);

// PM1..PM4: the default add mode, stored at once with the other settings.
void setDefaultMode(app::Program& program, AddMode mode);

}  // namespace installs
