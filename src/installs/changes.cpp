#include "installs/changes.h"

#include "installs/content_hash.h"
#include "sys/error.h"

namespace installs {

std::optional<std::string> ChangeCheck::hash(sys::FileSystem& fs, const std::string& gamePath, const FileSums* recorded) {
  const auto stamp = fs.stamp(gamePath);
  if (!stamp) {
    seen_.erase(gamePath);
    return std::nullopt;
  }
  const auto known = seen_.find(gamePath);
  if (known != seen_.end() && known->second.stamp == *stamp) return known->second.hash;
  if (recorded && recorded->landed == *stamp) {
    seen_[gamePath] = Seen{*stamp, recorded->installed};
    return recorded->installed;
  }
  try {
    std::string hash = fileContentHash(fs, gamePath);
    seen_[gamePath] = Seen{*stamp, hash};
    return hash;
  } catch (const sys::IoError&) {
    seen_.erase(gamePath);
    return std::string();
  }
}

std::size_t ChangeCheck::countChanged(sys::FileSystem& fs, const std::vector<std::string>& files,
                                      const std::optional<std::vector<FileSums>>& sums) {
  if (!sums || sums->size() != files.size()) return 0;
  std::size_t count = 0;
  for (std::size_t i = 0; i < files.size(); ++i) {
    const auto now = hash(fs, files[i], &(*sums)[i]);
    if (now && *now != (*sums)[i].installed) ++count;
  }
  return count;
}

}  // namespace installs
