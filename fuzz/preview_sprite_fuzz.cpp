// The sprite reader of the preview fed random bytes.
#include "preview_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return fuzz::checkPreview("sprites\\smokepuff.spr", data, size);
}
