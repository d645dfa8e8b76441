#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sys/filesystem.h"

namespace installs {

// What an installation recorded of one game file: the content hash of the original (its backup) and of
// the new file that took its place.
struct FileSums {
  std::string original;
  std::string installed;
  // The size and write time of the new file as it landed in the game, when recorded: a game file that
  // still has them holds what was installed, without being read.
  std::optional<sys::FileStamp> landed;
  bool operator==(const FileSums&) const = default;
};

// "sums.dat" of an installation: one line "ORIGINAL INSTALLED" (lower-case hex), followed by " SIZE
// MODIFIED" where the landed file's stamp is known, per line of its "files.dat", in the same order. Nothing when the installation has no usable record: made before sums
// were kept, a line that does not read as two hashes, or a count that differs from "files.dat" (a run
// cut off between the two records). Such an installation is treated as one without sums.
std::optional<std::vector<FileSums>> readSums(sys::FileSystem& fs, const std::string& path, std::size_t fileCount);
// Writes the records through a temporary file and a rename. Throws sys::IoError.
void writeSums(sys::FileSystem& fs, const std::string& path, const std::vector<FileSums>& sums);

}  // namespace installs
