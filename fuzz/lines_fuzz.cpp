// Line decoding of every data file: any bytes decode to valid UTF-8, and valid text survives encoding.
#include <string_view>

#include "fuzz_support.h"
#include "sys/encoding.h"
#include "sys/filesystem.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (const std::string& line : sys::splitLines(bytes)) {
    if (!sys::isValidUtf8(line)) fuzz::fail("a decoded line is not UTF-8");
    if (line.find('\n') != std::string::npos) fuzz::fail("a decoded line holds a line break");
    if (sys::decodeLine(sys::encodeLine(line)) != line) fuzz::fail("a line changed between writing and reading");
  }
  return 0;
}
