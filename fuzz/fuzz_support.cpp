#include "fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fuzz {

const std::string& scratchFolder() {
  static const std::string folder = [] {
    const std::string path = (std::filesystem::is_directory("/dev/shm") ? "/dev/shm/varnikit-fuzz-" : "/tmp/varnikit-fuzz-") + std::to_string(getpid()) + "/";
    std::filesystem::create_directories(path);
    return path;
  }();
  return folder;
}

std::string writeInput(const std::string& name, const std::uint8_t* data, std::size_t size) {
  const std::string path = scratchFolder() + name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return path;
}

sys::FileSystem& fileSystem() {
  class NoSync final : public sys::FileSystem {
   public:
    void syncFile(const std::string&) override {}
  };
  static NoSync instance;
  return instance;
}

void fail(const char* what) {
  std::fprintf(stderr, "fuzz property broken: %s\n", what);
  std::abort();
}

}  // namespace fuzz
