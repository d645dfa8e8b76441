// The TGA reader of the preview fed random bytes.
#include "preview_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return fuzz::checkPreview("gfx\\env\\desertup.tga", data, size);
}
