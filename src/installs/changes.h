#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "installs/sums.h"
#include "sys/filesystem.h"

namespace installs {

// Tells which game files no longer hold the bytes an installation put there. A file is read and hashed
// only when its size and last write time differ from the last time it was hashed here, so looking at
// the same installation again costs one stat per file.
class ChangeCheck {
 public:
  // The content hash of the game file now: nothing for a missing file, an empty text for one that
  // cannot be read. With recorded, a file that still has the stamp the new file landed with holds what
  // was installed: it is not read.
  std::optional<std::string> hash(sys::FileSystem& fs, const std::string& gamePath, const FileSums* recorded = nullptr);
  // How many of files (an installation's "files.dat") exist and no longer hold the bytes their installed
  // hash stands for (a file that cannot be read counts; a missing one does not: a restore puts it back
  // without asking); 0 without sums.
  std::size_t countChanged(sys::FileSystem& fs, const std::vector<std::string>& files,
                           const std::optional<std::vector<FileSums>>& sums);

 private:
  struct Seen {
    sys::FileStamp stamp;
    std::string hash;
  };
  std::map<std::string, Seen> seen_;
};

}  // namespace installs
