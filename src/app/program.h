#pragma once

#include <optional>
#include <string>

#include "app/settings.h"
#include "app/ui.h"
#include "launchers/run_menu.h"
#include "launchers/utility_table.h"
#include "sys/clock.h"
#include "sys/filesystem.h"
#include "sys/registry.h"
#include "sys/shell.h"

namespace app {

// What the program needs from the world around it. The windows hand in the real ones, tests stand-ins.
struct Services {
  Ui& ui;
  sys::FileSystem& fs;
  sys::Registry& registry;
  sys::Shell& shell;
  sys::WindowFinder& windows;
  sys::Clock& clock;
  std::string executableFolder;  // with trailing separator
};

inline constexpr const char* ProgramVersion = "1.0";
inline constexpr const char* ReleaseDate = "08.01.2003";
inline constexpr int BuildNumber = 1374;
inline constexpr const char* kApplicationTitle = "Varnikit";
// The descriptions file of the program folder.
inline constexpr const char* kDescriptionsFile = "filesinfo.dat";

// "Varnikit 1.0    |    build: 1374"
std::string mainWindowCaption();

// The folder data files go to when no FilePath is stored: the executable's folder (with its trailing
// separator) when files can be created there, otherwise the per-user data folder (created).
std::string defaultFilePath(sys::FileSystem& fs, const std::string& executableFolder);

// The program-wide state the main window owns, and the operations every part of the program calls:
// the settings and their registry key, the status line with the busy state, the error log, start-up and
// the activation step.
class Program {
 public:
  explicit Program(Services services);
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  Services& services() { return services_; }
  Ui& ui() { return services_.ui; }
  sys::FileSystem& fs() { return services_.fs; }

  Settings settings;
  launchers::RunMenuTable runMenu;
  launchers::UtilityTable utilities;
  bool ListUpdatePending = false;

  // The registry key "\Software\Varnikit".
  void ReadRegistry();
  void WriteRegistry();
  void ClearRegistry();

  // Busy 1: hourglass and main window disabled; any other value undoes both. Then the text.
  void Status(const std::string& text, int busy);
  // The "Ошибка" box with message, then one line "date time: text" appended to "errors.txt", text being
  // logText when it is not empty. Throws sys::IoError when the log cannot be written.
  void ErrorMsg(const std::string& message, const std::string& logText);
  // One line "date time: logText" appended to "errors.txt", without a box. Throws sys::IoError.
  void logError(const std::string& logText);
  std::string errorLogPath() const;
  // Opens "errors.txt" through the shell, or says "Log не найден".
  void Log1Click();

  // The start-up of the main window, steps that need no window: constants, settings with their defaults,
  // run menu, utility list, the schedule flag. Throws sys::IoError; the steps after the failing one are
  // skipped.
  void startUp();
  // app::defaultFilePath for this program's executable.
  std::string defaultFilePath();

  enum class Activation {
    ShowSettings,  // no valid game folder: the window shows the settings dialog
    Scanned,       // no catalogue: announced and scanned
    Done,          // schedule evaluated (when pending) and settings written
  };
  // The activation step of the main window. Throws sys::IoError from a scan.
  Activation activate();
  // Whether ListUpdate asks for a scan today.
  bool updateIsDue();
  // Whether the catalogue at FilesListDir lists the game folder CSDir, as far as can be told: the folder
  // a scan of this run made it of, or, for a catalogue found at start, the folder its first line lies in.
  // Throws sys::IoError when the catalogue cannot be read.
  bool catalogueListsGameFolder();
  // Told by the scan: the catalogue at FilesListDir is being made anew of CSDir.
  void catalogueScanned();

  // Reloads "utilities.dat" into the table (LoadUtilList). Throws sys::IoError.
  void LoadUtilList();
  // Writes the table at close, the slots whose path is not "empty"; nothing when the table has never
  // been read from "utilities.dat" in this run. Throws sys::IoError.
  void saveUtilitiesAtClose();

  std::string todayText();

 private:
  Services services_;
  bool utilitiesLoaded_ = false;
  struct CatalogueOrigin {
    std::string catalogue;  // FilesListDir
    std::string folder;     // the CSDir it was made of
  };
  std::optional<CatalogueOrigin> catalogueOrigin_;
};

// Status(text, 1) for as long as it lives; Status("", 0) on every way out.
class BusyScope {
 public:
  BusyScope(Program& program, const std::string& text) : program_(program) { program_.Status(text, 1); }
  ~BusyScope() { program_.Status("", 0); }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  Program& program_;
};

}  // namespace app
