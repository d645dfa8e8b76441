#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "sys/filesystem.h"

namespace fuzz {

// A folder of this process under /tmp for the files the readers open ("<folder>/" with separator).
const std::string& scratchFolder();
// Writes the fuzzer's bytes as the file name below the scratch folder and returns its path.
std::string writeInput(const std::string& name, const std::uint8_t* data, std::size_t size);
// The real file system without the flush to disk, which would make every run take milliseconds.
sys::FileSystem& fileSystem();
// Stops the run loudly: a property the readers must keep was broken.
[[noreturn]] void fail(const char* what);

}  // namespace fuzz
