#include "installs/sums.h"

#include "installs/content_hash.h"
#include "sys/error.h"

namespace installs {

std::optional<std::vector<FileSums>> readSums(sys::FileSystem& fs, const std::string& path, std::size_t fileCount) {
  if (!fs.isFile(path)) return std::nullopt;
  std::vector<std::string> lines;
  try {
    lines = fs.readLines(path);
  } catch (const sys::IoError&) {
    return std::nullopt;  // unreadable sums only cost the question, never the restore
  }
  if (lines.size() != fileCount) return std::nullopt;
  std::vector<FileSums> sums;
  sums.reserve(lines.size());
  for (const auto& line : lines) {
    const auto blank = line.find(' ');
    if (blank == std::string::npos) return std::nullopt;
    FileSums entry{line.substr(0, blank), line.substr(blank + 1)};
    if (!isContentHash(entry.original) || !isContentHash(entry.installed)) return std::nullopt;
    sums.push_back(std::move(entry));
  }
  return sums;
}

void writeSums(sys::FileSystem& fs, const std::string& path, const std::vector<FileSums>& sums) {
  std::vector<std::string> lines;
  lines.reserve(sums.size());
  for (const auto& entry : sums) lines.push_back(entry.original + ' ' + entry.installed);
  fs.writeLines(path, lines, true);
}

}  // namespace installs
