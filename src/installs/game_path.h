#pragma once

#include <string>

#include "sys/filesystem.h"

namespace installs {

enum class GamePathFault {
  None,
  OutsideGameFolder,  // not below the game folder: a hand-edited record, or a catalogue of a folder left since
  ThroughLink,        // the file, or a folder between the game folder and it, is a link: a write would land elsewhere
};

// Whether the program may write over gamePath, a path of the catalogue or of an installation's records:
// it must lie below the game folder (sys::liesInside), and neither it nor any folder on the way down
// from the game folder may be a link. The game folder itself may be one (a game kept on another disk).
GamePathFault checkGamePath(sys::FileSystem& fs, const std::string& gameFolder, const std::string& gamePath);

}  // namespace installs
