// The installation store's files: "list.dat", the register "files.dat", and an installation's own
// "files.dat", "time.dat" and "info.dat". The first byte picks the file the rest becomes. Whatever they
// hold, the page reads them, only names that may be folders are ever used as one (directly below
// "files"), and the register reader and writer keep every line they do not remove.
#include <filesystem>

#include "fuzz_support.h"
#include "installs/names.h"
#include "installs/restore.h"
#include "installs/store.h"
#include "sys/error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  fuzz::clearScratch();
  sys::FileSystem& fs = fuzz::fileSystem();
  const std::string& scratch = fuzz::scratchFolder();
  std::filesystem::create_directories(scratch + "files/A");
  fuzz::writeInput("files/list.dat", reinterpret_cast<const std::uint8_t*>("A\r\n"), 3);
  const char* const targets[] = {"files/list.dat", "files/files.dat", "files/A/files.dat", "files/A/time.dat",
                                 "files/A/info.dat"};
  fuzz::writeInput(targets[data[0] % 5], data + 1, size - 1);

  app::Program& program = fuzz::program();
  installs::Store store(fs, scratch);
  try {
    const auto names = installs::openInstallationList(program);
    for (std::size_t i = 0; i < names.size() && i < 12; ++i) {
      if (installs::isValidInstallationName(names[i]) &&
          std::filesystem::path(store.folder(names[i])).parent_path() != std::filesystem::path(store.root())) {
        fuzz::fail("a valid name whose folder is not directly below \"files\"");
      }
      (void)installs::showInstallation(program, names[i]);
    }
    const auto before = fs.readLines(store.registerPath());
    const std::string probe = before.empty() ? std::string("/game/x.mdl") : before.front();
    if (!before.empty() && !store.isInstalled(probe)) fuzz::fail("a register line is not found installed");
    const std::size_t removed = store.removeFromRegister({probe});
    const auto after = fs.readLines(store.registerPath());
    if (after.size() + removed != before.size()) fuzz::fail("the register lost or gained lines it was not told");
  } catch (const sys::IoError&) {
  }
  for (const auto& entry : fuzz::scratchEntries()) {
    const std::filesystem::path path(entry);
    const std::string top = path.begin()->string();
    if (top == "files") {
      if (std::distance(path.begin(), path.end()) > 3) fuzz::fail("a file deeper than an installation folder");
    } else if (top != "hive.reg") {
      fuzz::fail("a file written outside \"files\"");
    }
  }
  return 0;
}
