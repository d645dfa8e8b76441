#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "installs/archive.h"

// The zip archive read with zlib alone, for builds without libarchive (the Windows program): the same
// listing and unpacking as listArchive and unpackArchive give for a zip. Stored and deflated entries,
// zip64, names in UTF-8 (flagged, or an Info-ZIP Unicode path) or else cp866.
namespace installs::zip {

ArchiveListing list(const std::string& archive, std::size_t limit);

UnpackResult unpack(const std::string& archive, const std::vector<UnpackTarget>& targets, std::uint64_t allowance,
                    const std::function<void(std::size_t)>& progress);

}  // namespace installs::zip
