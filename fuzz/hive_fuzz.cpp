// The settings hive: any bytes parse, and what is written back parses to the same keys and values.
#include <string_view>

#include "fuzz_support.h"
#include "sys/registry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto keys = sys::parseHive(text);
  const auto again = sys::parseHive(sys::formatHive(keys));
  if (again.size() != keys.size()) fuzz::fail("hive keys lost in a round trip");
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (again[i].values != keys[i].values) fuzz::fail("hive values changed in a round trip");
  }
  return 0;
}
