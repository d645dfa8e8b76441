#include "sys/paths.h"

#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#else
#include <limits.h>
#include <unistd.h>
#endif

namespace sys {

bool isSeparator(char c) {
#ifdef _WIN32
  return c == '\\' || c == '/';
#else
  return c == '/';
#endif
}

bool isSeparatorOrColon(char c) {
#ifdef _WIN32
  return isSeparator(c) || c == ':';
#else
  return isSeparator(c);
#endif
}

namespace {
std::size_t lastBreak(std::string_view path) {
  for (std::size_t i = path.size(); i > 0; --i) {
    if (isSeparatorOrColon(path[i - 1])) return i - 1;
  }
  return std::string_view::npos;
}
}  // namespace

std::string bareName(std::string_view path) {
  const auto at = lastBreak(path);
  return std::string(at == std::string_view::npos ? path : path.substr(at + 1));
}

std::string folderWithSeparator(std::string_view path) {
  const auto at = lastBreak(path);
  return at == std::string_view::npos ? std::string() : std::string(path.substr(0, at + 1));
}

std::string parentFolder(std::string_view path) {
  std::size_t at = std::string_view::npos;
  for (std::size_t i = path.size(); i > 0; --i) {
    if (isSeparator(path[i - 1])) {
      at = i - 1;
      break;
    }
  }
  if (at == std::string_view::npos) return std::string();
  // A root keeps its separator: "/" on POSIX, "C:\" on Windows.
  if (at == 0 || (at == 2 && path[1] == ':')) return std::string(path.substr(0, at + 1));
  return std::string(path.substr(0, at));
}

std::string extension(std::string_view path) {
  const std::string name = bareName(path);
  const auto dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string withoutTrailingSeparators(std::string_view path) {
  while (!path.empty() && isSeparator(path.back())) path.remove_suffix(1);
  return std::string(path);
}

namespace {
bool sameName(const std::filesystem::path& a, const std::filesystem::path& b) {
#ifdef _WIN32
  const std::wstring& x = a.native();
  const std::wstring& y = b.native();
  return CompareStringOrdinal(x.c_str(), static_cast<int>(x.size()), y.c_str(), static_cast<int>(y.size()), TRUE) ==
         CSTR_EQUAL;
#else
  return a == b;
#endif
}
}  // namespace

bool liesInside(std::string_view path, std::string_view folder) {
  const std::filesystem::path inner = toPath(path).lexically_normal();
  const std::filesystem::path outer = toPath(withoutTrailingSeparators(folder)).lexically_normal();
  if (path.empty() || outer.empty() || !inner.is_absolute() || !outer.is_absolute()) return false;
  auto at = inner.begin();
  for (const auto& part : outer) {
    if (part.empty()) continue;  // what a trailing separator leaves
    if (at == inner.end() || !sameName(*at, part)) return false;
    ++at;
  }
  bool below = false;
  for (; at != inner.end(); ++at) {
    if (at->empty()) continue;
    if (*at == "..") return false;
#ifdef _WIN32
    if (at->native().find(L':') != std::wstring::npos) return false;
#endif
    below = true;
  }
  return below;
}

std::string withTrailingSeparator(std::string_view folder) {
  std::string out(folder);
  if (out.empty() || !isSeparator(out.back())) out += kSeparator;
  return out;
}

#ifdef _WIN32
std::wstring toWide(std::string_view utf8) {
  if (utf8.empty()) return std::wstring();
  const int length = static_cast<int>(utf8.size());
  const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), size);
  return wide;
}

std::string fromWide(std::wstring_view wide) {
  if (wide.empty()) return std::string();
  const int length = static_cast<int>(wide.size());
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, utf8.data(), size, nullptr, nullptr);
  return utf8;
}
#endif

std::filesystem::path toPath(std::string_view utf8) {
#ifdef _WIN32
  return std::filesystem::path(toWide(utf8));
#else
  return std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
#endif
}

std::string fromPath(const std::filesystem::path& path) {
#ifdef _WIN32
  return fromWide(path.native());
#else
  const std::u8string text = path.u8string();
  return std::string(reinterpret_cast<const char*>(text.data()), text.size());
#endif
}

std::string executableFolder() {
#ifdef _WIN32
  std::wstring buffer(32768, L'\0');
  const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
  buffer.resize(length);
  return folderWithSeparator(fromWide(buffer));
#else
  char buffer[PATH_MAX + 1];
  const ssize_t length = readlink("/proc/self/exe", buffer, PATH_MAX);
  if (length <= 0) return withTrailingSeparator(fromPath(std::filesystem::current_path()));
  return folderWithSeparator(std::string_view(buffer, static_cast<std::size_t>(length)));
#endif
}

std::string environmentVariable(const char* name) {
#ifdef _WIN32
  const std::wstring wideName = toWide(name);
  const DWORD length = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
  if (length == 0) return std::string();
  std::wstring value(length, L'\0');
  value.resize(GetEnvironmentVariableW(wideName.c_str(), value.data(), length));
  return fromWide(value);
#else
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
#endif
}

std::string homeFolder() {
#ifdef _WIN32
  return environmentVariable("USERPROFILE");
#else
  return environmentVariable("HOME");
#endif
}

std::string userDataFolder() {
#ifdef _WIN32
  std::string base = environmentVariable("LOCALAPPDATA");
#else
  std::string base = environmentVariable("XDG_DATA_HOME");
  if (base.empty() && !homeFolder().empty()) base = withTrailingSeparator(homeFolder()) + ".local/share";
#endif
  if (base.empty()) return std::string();
  return withTrailingSeparator(base) + "Varnikit" + kSep;
}

}  // namespace sys
