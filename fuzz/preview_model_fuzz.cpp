// The studio model reader (and its companion, the same bytes) of the preview fed random bytes.
#include "preview_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return fuzz::checkPreview("models\\player\\gign\\gign.mdl", data, size);
}
