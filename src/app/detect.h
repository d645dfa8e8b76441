#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sys/filesystem.h"
#include "sys/registry.h"

// Finding the game on this machine and checking what the user typed for it.
namespace app {

// The game maker's key under the current user's hive and its value naming the game's base folder.
inline constexpr const char* kGameKey = "\\SOFTWARE\\Valve\\Half-Life";
inline constexpr const char* kInstallPathValue = "InstallPath";
// Offered as the launcher's parameters whenever a launcher is found.
inline constexpr const char* kDetectedRunParam = "-game cstrike -dev -console";

// What the auto-detection found; an empty text is "not found".
struct DetectedGame {
  std::string folder;    // an existing "cstrike" folder
  std::string launcher;  // an existing launcher file
};

// Launcher file names beside the base folder, in the order they are tried: "hl.exe" on Windows; on Linux
// the native game's start script "hl.sh" (it sets up the game's libraries) and then the bare "hl_linux".
const std::vector<std::string>& launcherNames();
// The file chooser's filter for the launcher: ("exe", "*.exe") on Windows; none (all files) elsewhere,
// where a launcher has no extension.
std::vector<std::pair<std::string, std::string>> launcherFilters();

// Reads "InstallPath" under the game maker's key; when it names a folder with an existing "cstrike"
// folder and/or launcher, those are found. Elsewhere than on Windows, when that gives no game folder, the
// Steam libraries below home are searched for a native install (see steamLibraries()).
DetectedGame detectGame(sys::Registry& registry, sys::FileSystem& fs, const std::string& home);

// The candidates of one base folder (the game's "Half-Life" folder): base + "cstrike" and the first
// launcher of launcherNames() that exists.
DetectedGame gameInBase(sys::FileSystem& fs, const std::string& base);

// The Steam libraries of this user, each a folder holding "steamapps": the Steam folders themselves
// (~/.steam/steam and ~/.local/share/Steam, when their steamapps/libraryfolders.vdf exists) and every
// library their libraryfolders.vdf lists, in that order, each once.
std::vector<std::string> steamLibraries(sys::FileSystem& fs, const std::string& home);
// The library folders named in the text of a libraryfolders.vdf (both the current form with "path"
// values and the older one with numbered values directly under the root).
std::vector<std::string> parseLibraryFolders(std::string_view vdf);

// The report of the auto-detection: one of the four texts by what was found.
std::string detectionReport(const DetectedGame& found);

// The file every mod folder of the game has, "cstrike" among them; a folder without it is not the game's
// (the "Half-Life" folder above it, most likely).
inline constexpr const char* kGameFolderMark = "liblist.gam";
struct GameFolderLook {
  bool isGame = false;
  std::string gameInside;  // not the game's: its "cstrike" folder that is, or ""
};
GameFolderLook lookAtGameFolder(sys::FileSystem& fs, const std::string& folder);

enum class FieldCheck { Correct, FolderInvalid, LauncherInvalid };
// "Проверить": the folder must be an existing folder; the launcher, when not empty, an existing file.
FieldCheck checkGameFields(sys::FileSystem& fs, const std::string& folder, const std::string& launcher);

// Where the folder chooser opens: the folder typed, or its parent when the folder is gone; "" when neither
// is there.
std::string folderChooserStart(sys::FileSystem& fs, const std::string& folder);
// Where the launcher chooser opens: the folder of the launcher typed, else the game folder's parent (where
// the game's launcher lies); "" when neither is there.
std::string launcherChooserStart(sys::FileSystem& fs, const std::string& launcher, const std::string& folder);

}  // namespace app
