#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "catalogue/texts.h"
#include "sys/filesystem.h"

namespace app {
class Program;
}

// The catalogue: one line per file below the game folder, its full path, depth first in the order the
// file system lists the entries.
namespace catalogue {

inline constexpr const char* kScanning = texts::kScanning;
inline constexpr const char* kScanFinished = texts::kScanFinished;
inline std::string foundText(std::size_t count) { return texts::found(count); }

struct ScanResult {
  std::size_t files = 0;      // lines written
  std::size_t leftOut = 0;    // files whose path cannot be one line of the catalogue
  std::size_t loopsCut = 0;   // folders not entered because the scan had been in them already
};

// A path can be one line of the catalogue when it holds no line break and is real text (a name of
// bytes that are not UTF-8, possible on Linux, would come back from the file as another name).
bool fitsOnOneLine(std::string_view path);

// FindFiles: writes one line per file below folder (depth first, in enumeration order) to the sink.
// ".", ".." and "..." are skipped; a link to a file is a file. A folder reached through a link (symbolic
// link, junction) is descended into like any other, its files listed by the path through the link; every
// real folder is entered once only, so a link back up the tree ends the descent (counted in loopsCut),
// and so does a link whose target cannot be told. tick is called at the start of every folder and after
// every entry.
void FindFiles(sys::FileSystem& fs, const std::string& folder, sys::LineSink& sink, ScanResult& result,
               const std::function<void()>& tick);

// Deletes the catalogue file and builds it anew from the game folder. The file is created with its
// first line, so a scan that finds no file leaves none. Lines reach the disk at least every few hundred
// and all of them when the scan ends, also when it ends with an error. Throws sys::IoError.
ScanResult scanGameFolder(sys::FileSystem& fs, const std::string& gameFolder, const std::string& catalogue,
                          const std::function<void()>& tick);

// FindFilesList: the whole scan of the main window, with the busy state, the count report, the date and
// the settings written. Throws sys::IoError when the catalogue cannot be written (the busy state is
// ended first; the count is not shown, the date and the settings stay as they were).
void FindFilesList(app::Program& program);

// The log line's text when files were left out.
std::string leftOutLogText(std::size_t count);
// The log line's text when folders were not entered a second time.
std::string loopsCutLogText(std::size_t count);

}  // namespace catalogue
