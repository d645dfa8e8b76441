// The program's own zip reader (the Windows program's) fed random bytes.
#include "archive_check.h"
#include "installs/zip_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return fuzz::checkArchiveReader(data, size, installs::zip::list, installs::zip::unpack);
}
