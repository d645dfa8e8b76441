// The descriptions file: any lines make records, and matching them against any path is safe.
#include <string_view>

#include "catalogue/descriptions.h"
#include "fuzz_support.h"
#include "sys/filesystem.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto lines = sys::splitLines(bytes);
  const catalogue::Descriptions descriptions(lines);
  if (descriptions.records().size() != lines.size() / 2) fuzz::fail("records are not the line pairs");
  for (const auto& line : lines) descriptions.describe(line);
  return 0;
}
