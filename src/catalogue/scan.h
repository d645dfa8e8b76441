#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "sys/filesystem.h"

namespace app {
class Program;
}

namespace catalogue {

inline constexpr const char* kScanning = "Поиск файлов...Ждите...";
inline constexpr const char* kScanFinished = "Поиск файлов завершен";

struct ScanResult {
  std::size_t files = 0;        // lines written
  std::size_t leftOut = 0;      // files whose name holds a line break: they cannot be one line
};

// FindFiles: appends one line per file below folder (depth first, in enumeration order) to the sink.
// Folders reached through a link are not descended into. tick is called at every folder and entry so the
// windows can repaint.
void FindFiles(sys::FileSystem& fs, const std::string& folder, sys::LineSink& sink, ScanResult& result,
               const std::function<void()>& tick);

// Rebuilds the catalogue file from the game folder into a new file at catalogue (deleting the old one
// first). A scan that finds no file leaves no file behind. Throws sys::IoError.
ScanResult scanGameFolder(sys::FileSystem& fs, const std::string& gameFolder, const std::string& catalogue,
                          const std::function<void()>& tick);

// FindFilesList: the whole scan of the main window, with the busy state, the count report, the date and
// the settings written. Throws sys::IoError when the catalogue cannot be written (the busy state is
// ended first).
void FindFilesList(app::Program& program);

// "Найдено N файлов"
std::string foundText(std::size_t count);

}  // namespace catalogue
