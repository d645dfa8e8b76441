#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/descriptions.h"
#include "sys/filesystem.h"
#include "sys/shell.h"

namespace catalogue {

// The catalogue as the file list page shows it: the lines held in memory in one buffer, each followed by
// its line break (an all-ASCII catalogue is held as the file's own bytes, neither copied nor split into
// strings), the descriptions read once, and the texts of a row worked out when the row is asked for.
class FilesList {
 public:
  FilesList() = default;
  FilesList(const std::vector<std::string>& lines, Descriptions descriptions);

  // The catalogue at cataloguePath (none when the path is empty or names no file) and, when it has
  // lines, the descriptions at descriptionsPath (the file is created empty when missing). Throws
  // sys::IoError when either file exists but cannot be read, or the descriptions cannot be created.
  static FilesList read(sys::FileSystem& fs, const std::string& cataloguePath,
                        const std::string& descriptionsPath);

  std::size_t size() const { return starts_.empty() ? 0 : starts_.size() - 1; }
  bool empty() const { return size() == 0; }

  // The four texts of row (0-based): its number from 1, the file name, the path, the description or
  // "информации нет".
  std::string number(std::size_t row) const { return std::to_string(row + 1); }
  std::string name(std::size_t row) const;
  std::string_view path(std::size_t row) const { return lineOf(text_, starts_, row); }
  std::string description(std::size_t row) const;

 private:
  // Line row of text without its break (LF or CR LF; the last line may have none).
  static std::string_view lineOf(std::string_view text, const std::vector<std::size_t>& starts, std::size_t row) {
    std::size_t end = starts[row + 1] - 1;
    if (end > starts[row] && text[end - 1] == '\r') --end;
    return text.substr(starts[row], end - starts[row]);
  }

  std::string text_;                  // every line followed by its break
  std::vector<std::size_t> starts_;   // each line's offset, then one past the last line's break (or
                                      // past the end of the text when the last line has none)
  Descriptions descriptions_;
};

// The description of path shown on the page: the joined texts, or "информации нет".
std::string describeForGrid(const Descriptions& descriptions, std::string_view path);

// Starts a file of the catalogue with its default action, in its own folder; nothing for an empty path.
// What the shell makes of it is not examined.
void launchFile(sys::Shell& shell, const std::string& path);

}  // namespace catalogue
