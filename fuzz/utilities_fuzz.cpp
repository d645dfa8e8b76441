// "utilities.dat": any file fills at most ten slots and never writes outside the program folder.
#include "fuzz_support.h"
#include "launchers/utility_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  sys::FileSystem& fs = fuzz::fileSystem();
  fuzz::writeInput("utilities.dat", data, size);
  launchers::UtilityTable table;
  launchers::loadUtilList(fs, fuzz::scratchFolder(), table);
  launchers::saveUtilList(fs, fuzz::scratchFolder(), table);
  launchers::UtilityTable again;
  launchers::loadUtilList(fs, fuzz::scratchFolder(), again);
  return 0;
}
