#include "installs/game_path.h"

#include "sys/paths.h"

namespace installs {

GamePathFault checkGamePath(sys::FileSystem& fs, const std::string& gameFolder, const std::string& gamePath) {
  if (!sys::liesInside(gamePath, gameFolder)) return GamePathFault::OutsideGameFolder;
  // Every step of the text below the game folder, "." and ".." as written: the system resolves ".." after
  // the link before it, so "models/link/../x.mdl" goes through "models/link".
  const std::size_t floor = sys::withoutTrailingSeparators(gameFolder).size();
  for (std::string step = sys::withoutTrailingSeparators(gamePath); step.size() > floor; step = sys::parentFolder(step)) {
    if (fs.isLink(step)) return GamePathFault::ThroughLink;
  }
  return GamePathFault::None;
}

}  // namespace installs
