#include "installs/changes.h"

#include "installs/content_hash.h"
#include "sys/error.h"

namespace installs {

std::optional<std::string> ChangeCheck::hash(sys::FileSystem& fs, const std::string& gamePath) {
  const auto stamp = fs.stamp(gamePath);
  if (!stamp) {
    seen_.erase(gamePath);
    return std::nullopt;
  }
  const auto known = seen_.find(gamePath);
  if (known != seen_.end() && known->second.stamp == *stamp) return known->second.hash;
  try {
    std::string hash = fileContentHash(fs, gamePath);
    seen_[gamePath] = Seen{*stamp, hash};
    return hash;
  } catch (const sys::IoError&) {
    seen_.erase(gamePath);
    return std::string();
  }
}

bool ChangeCheck::changed(sys::FileSystem& fs, const std::string& gamePath, const std::string& installedHash) {
  const auto now = hash(fs, gamePath);
  return now && *now != installedHash;
}
std::size_t ChangeCheck::countChanged(sys::FileSystem& fs, const std::vector<std::string>& files,
                                      const std::optional<std::vector<FileSums>>& sums) {
  if (!sums || sums->size() != files.size()) return 0;
  std::size_t count = 0;
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (changed(fs, files[i], (*sums)[i].installed)) ++count;
  }
  return count;
}

}  // namespace installs
