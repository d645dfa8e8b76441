#pragma once

#include <string_view>

namespace installs {

// Whether a typed installation name may become a folder below the store: no \ / : * ? " < > | and no
// control character, not "." or "..", no dot or blank at the end, and not a device name of Windows (CON,
// PRN, AUX, NUL, COM1..COM9, LPT1..LPT9, with or without an extension, in any case). The same rule on
// every system, so a program folder can move between Windows and Linux, and no name reaches outside the
// store. An empty name is not valid either; callers say so with their own words first.
bool isValidInstallationName(std::string_view name);

// A name a new installation (or a rename) may take: valid, and not one of the store's own files
// ("list.dat", "files.dat" and their temporary names, ASCII case ignored). An installation that an
// earlier version let take such a name keeps its folder and can still be shown and restored.
bool isValidNewInstallationName(std::string_view name);

}  // namespace installs
