#pragma once

#include <string>
#include <string_view>

#include "sys/filesystem.h"

namespace installs {

// The content hash the store records of a file: XXH3-128 of its bytes, 32 lower-case hex digits.
std::string contentHash(std::string_view bytes);
// The same for a file's bytes, read through fs. Throws sys::IoError.
std::string fileContentHash(sys::FileSystem& fs, const std::string& path);
// Whether text is a hash in the recorded form.
bool isContentHash(std::string_view text);

}  // namespace installs
