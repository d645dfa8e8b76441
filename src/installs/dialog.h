#pragma once

#include <optional>
#include <string>
#include <vector>

#include "installs/check.h"

namespace app {
class Program;
}

// The install dialog's operations short of the install itself: the three ways of adding files, removing
// and clearing, the file information box and the default add mode.
namespace installs {

enum class AddMode { Files = 1, Folder = 2, FolderTree = 3 };

// The mode AddFilesType names ("1".."3"), or nothing for any other value.
std::optional<AddMode> modeOf(const std::string& addFilesType);
std::string settingOf(AddMode mode);

// One add: AddFiles1 (files picked in the file chooser), AddFiles2 (the files of a folder), AddFiles3
// (the files of a folder and all folders below it). The accepted files join chosen; when chosen is empty
// afterwards, "Файлов не найдено" is shown. The dialog takes no input meanwhile. Throws sys::IoError.
void AddFiles(app::Program& program, AddMode mode, ChosenFiles& chosen, FileSearch& search, DialogView& view);

// "&Удалить": removes the selected file and its destination ("Файл не выделен" without a selection).
void removeSelected(app::Program& program, ChosenFiles& chosen, std::optional<std::size_t> selected);
// "&Очистить": empties the list ("Список пуст" when it is empty already).
void clearAll(app::Program& program, ChosenFiles& chosen);

// "&Информация": the descriptions of the selected new file's path. Throws sys::IoError.
void showFileInformation(app::Program& program, const ChosenFiles& chosen, std::optional<std::size_t> selected);

// PM1..PM3: the default add mode, stored at once with the other settings.
void setDefaultMode(app::Program& program, AddMode mode);

}  // namespace installs
