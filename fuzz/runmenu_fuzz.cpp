// "runmenu.dat": any file fills at most the ten entries, and writing them back reads the same.
#include "fuzz_support.h"
#include "launchers/run_menu.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  sys::FileSystem& fs = fuzz::fileSystem();
  const std::string path = fuzz::writeInput("runmenu.dat", data, size);
  launchers::RunMenuTable table;
  launchers::readRunMenu(fs, path, table);
  launchers::writeRunMenu(fs, path, table);
  launchers::RunMenuTable again;
  launchers::readRunMenu(fs, path, again);
  for (std::size_t i = 0; i < table.size(); ++i) {
    const bool same = table[i].name == again[i].name && table[i].path == again[i].path &&
                      table[i].parameters == again[i].parameters;
    // A field holding a lone CR cannot be one line of the file; everything else must come back.
    if (!same && table[i].name.find('\r') == std::string::npos && table[i].path.find('\r') == std::string::npos &&
        table[i].parameters.find('\r') == std::string::npos) {
      fuzz::fail("run menu changed between writing and reading");
    }
  }
  return 0;
}
