#include "support/temp_folder.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

#include "sys/paths.h"

namespace fs = std::filesystem;

namespace testing_support {

TempFolder::TempFolder() {
  static std::atomic<unsigned> counter{0};
  std::random_device random;
  const fs::path base = fs::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path candidate =
        base / ("varnikit-test-" + std::to_string(random()) + "-" + std::to_string(counter++));
    std::error_code ec;
    if (fs::create_directory(candidate, ec)) {
      path_ = sys::fromPath(candidate);
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary folder");
}

TempFolder::~TempFolder() {
  std::error_code ec;
  // Read-only files and folders left by a test must not stop the clean-up.
  for (auto it = fs::recursive_directory_iterator(sys::toPath(path_), ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::remove_all(sys::toPath(path_), ec);
}

std::string native(const std::string& relative) {
  std::string out = relative;
  for (char& c : out) {
    if (c == '/') c = sys::kSeparator;
  }
  return out;
}

std::string TempFolder::operator/(const std::string& relative) const { return path_ + sys::kSep + native(relative); }

void writeBytes(const std::string& path, const std::string& bytes) {
  const fs::path p = sys::toPath(path);
  if (p.has_parent_path()) fs::create_directories(p.parent_path());
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string readBytes(const std::string& path) {
  std::ifstream in(sys::toPath(path), std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool fileExists(const std::string& path) { return fs::is_regular_file(sys::toPath(path)); }
bool folderExists(const std::string& path) { return fs::is_directory(sys::toPath(path)); }
void makeFolder(const std::string& path) { fs::create_directories(sys::toPath(path)); }

}  // namespace testing_support
