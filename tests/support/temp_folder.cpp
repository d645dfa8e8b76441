#include "support/temp_folder.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

#include "sys/paths.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace testing_support {

#ifdef _WIN32
// Under Wine, starts a program of the Unix system on the Unix names of paths; false elsewhere.
static bool startUnixProgram(const wchar_t* program, const wchar_t* options, std::initializer_list<std::string> paths) {
  using UnixName = char*(CDECL*)(const wchar_t*);
  const auto unixName = reinterpret_cast<UnixName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
  if (!unixName) return false;
  std::wstring command = std::wstring(program) + L" " + options;
  for (const auto& path : paths) command += L" \"" + sys::toWide(unixName(sys::toWide(path).c_str())) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process;
  const std::wstring file = L"Z:\\bin\\" + std::wstring(program);
  if (!CreateProcessW(file.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}
#endif

TempFolder::TempFolder() : TempFolder(sys::fromPath(fs::temp_directory_path())) {}

TempFolder::TempFolder(const std::string& parent) {
  static std::atomic<unsigned> counter{0};
  std::random_device random;
  const fs::path base = sys::toPath(parent);
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
#ifdef _WIN32
  // Wine takes no Unix link to a folder away (makeFolderLink): the Unix system does.
  if (fs::exists(sys::toPath(path_), ec)) startUnixProgram(L"rm", L"-rf", {path_});
#endif
}

std::optional<std::string> bytesIfAny(const std::string& path) {
  if (!fileExists(path)) return std::nullopt;
  return readBytes(path);
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

bool makeFolderLink(const std::string& link, const std::string& target) {
#ifdef _WIN32
  // Windows lets no test make one without a privilege; Wine makes none itself (CreateSymbolicLinkW does
  // nothing, junctions are not supported) but shows a Unix link to a folder as a folder link: ln makes it.
  if (!startUnixProgram(L"ln", L"-s", {target, link})) return false;
  for (int tries = 0; tries < 250; Sleep(20), ++tries) {  // Wine cannot wait for a Unix program
    const DWORD attributes = GetFileAttributesW(sys::toWide(link).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return true;
  }
  return false;
#else
  std::error_code ec;
  fs::create_directory_symlink(sys::toPath(target), sys::toPath(link), ec);
  return !ec;
#endif
}

}  // namespace testing_support
