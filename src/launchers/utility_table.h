#pragma once

#include <array>
#include <string>

#include "sys/filesystem.h"

namespace launchers {

struct UtilitySlot {
  std::string name = "empty";
  std::string path = "empty";
};

using UtilityTable = std::array<UtilitySlot, 10>;

inline constexpr const char* kUtilitiesFile = "utilities.dat";
inline constexpr const char* kUtilitiesFolder = "utilities";

// LoadUtilList: creates the folder "utilities" when missing, frees every slot, then fills slots 1, 2, ...
// with the pairs of "utilities.dat" (created empty when missing, never when only unreadable). Only the
// first ten pairs are read. Throws sys::IoError, the table then left as it was.
void loadUtilList(sys::FileSystem& fs, const std::string& filePath, UtilityTable& table);
// SaveUtilList: two lines per slot whose name is not "empty". Throws sys::IoError.
void saveUtilList(sys::FileSystem& fs, const std::string& filePath, const UtilityTable& table);
// The main window's close: two lines per slot whose path is not "empty". Throws sys::IoError.
void saveUtilListAtClose(sys::FileSystem& fs, const std::string& filePath, const UtilityTable& table);

}  // namespace launchers
