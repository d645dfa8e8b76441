// What UnRAR prints for "vt" and "lb", any bytes (the two split at the first "\x01\x01"): decoded and
// parsed without a fault, and nothing unsafe taken from them.
#include "archiver_listing_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  namespace archivers = installs::archivers;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::size_t split = bytes.find("\x01\x01");
  const std::string_view technical = bytes.substr(0, split);
  const std::string_view bare = split == std::string_view::npos ? std::string_view() : bytes.substr(split + 2);
  fuzz::checkToolListing(archivers::parseUnrarListing(archivers::decodeOutput(technical, archivers::Kind::UnRar),
                                                      archivers::decodeOutput(bare, archivers::Kind::UnRar)));
  return 0;
}
