// What an archiver prints for "7z l -slt", any bytes: decoded and parsed without a fault, and nothing
// unsafe taken from it.
#include "archiver_listing_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  namespace archivers = installs::archivers;
  const std::string text = archivers::decodeOutput(std::string_view(reinterpret_cast<const char*>(data), size),
                                                   archivers::Kind::SevenZip);
  fuzz::checkToolListing(archivers::parseSevenZipListing(text));
  return 0;
}
