#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "catalogue/descriptions.h"
#include "sys/filesystem.h"
#include "sys/shell.h"

namespace catalogue {

// The catalogue as the file list page shows it: the lines held in memory, the descriptions read once,
// and the texts of a row worked out when the row is asked for.
class FilesList {
 public:
  FilesList() = default;
  FilesList(std::vector<std::string> lines, Descriptions descriptions)
      : lines_(std::move(lines)), descriptions_(std::move(descriptions)) {}

  // The catalogue at cataloguePath (none when the path is empty or names no file) and, when it has
  // lines, the descriptions at descriptionsPath (the file is created empty when missing). Throws
  // sys::IoError when either file exists but cannot be read, or the descriptions cannot be created.
  static FilesList read(sys::FileSystem& fs, const std::string& cataloguePath,
                        const std::string& descriptionsPath);

  std::size_t size() const { return lines_.size(); }
  bool empty() const { return lines_.empty(); }

  // The four texts of row (0-based): its number from 1, the file name, the path, the description or
  // "информации нет".
  std::string number(std::size_t row) const { return std::to_string(row + 1); }
  std::string name(std::size_t row) const;
  const std::string& path(std::size_t row) const { return lines_[row]; }
  std::string description(std::size_t row) const;

 private:
  std::vector<std::string> lines_;
  Descriptions descriptions_;
};

// The description of path shown on the page: the joined texts, or "информации нет".
std::string describeForGrid(const Descriptions& descriptions, const std::string& path);

// Starts a file of the catalogue with its default action, in its own folder; nothing for an empty path.
// What the shell makes of it is not examined.
void launchFile(sys::Shell& shell, const std::string& path);

}  // namespace catalogue
