// libarchive's reader, behind the program's archive interface, fed random bytes.
#include "archive_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return fuzz::checkArchiveReader(data, size, installs::listArchive, installs::unpackArchive);
}
