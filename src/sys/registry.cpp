#include "sys/registry.h"

#include <algorithm>
#include <fstream>

#include "sys/encoding.h"
#include "sys/error.h"
#include "sys/filesystem.h"
#include "sys/paths.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdlib>
#endif

namespace sys {
namespace {

constexpr std::string_view kHiveRoot = "HKEY_CURRENT_USER";

// "\Software\Varnikit", "Software\Varnikit\" and "software/varnikit" all name the same key.
std::string normalizedKey(std::string_view key) {
  std::string out;
  for (char c : key) out += (c == '/') ? '\\' : c;
  while (!out.empty() && out.front() == '\\') out.erase(out.begin());
  while (!out.empty() && out.back() == '\\') out.pop_back();
  return out;
}

bool sameKey(std::string_view a, std::string_view b) { return equalsIgnoringAsciiCase(a, b); }

bool isBelow(std::string_view key, std::string_view parent) {
  return key.size() > parent.size() && key[parent.size()] == '\\' &&
         equalsIgnoringAsciiCase(key.substr(0, parent.size()), parent);
}

std::string escape(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    if (c == '\n') {
      out += "\\n";
      continue;
    }
    if (c == '\r') {
      out += "\\r";
      continue;
    }
    out += c;
  }
  return out;
}

// Reads a quoted string starting at text[i] == '"'; leaves i after the closing quote.
std::optional<std::string> readQuoted(std::string_view text, std::size_t& i) {
  if (i >= text.size() || text[i] != '"') return std::nullopt;
  std::string out;
  for (++i; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') {
      ++i;
      return out;
    }
    if (c == '\\' && i + 1 < text.size()) {
      const char next = text[++i];
      out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
      continue;
    }
    out += c;
  }
  return std::nullopt;
}

std::vector<HiveKey>::iterator findKey(std::vector<HiveKey>& keys, std::string_view path) {
  return std::find_if(keys.begin(), keys.end(), [&](const HiveKey& k) { return sameKey(k.path, path); });
}

}  // namespace

namespace {

// The text of a line without its line end.
std::string_view lineAt(std::string_view text, std::size_t start, std::size_t& next) {
  std::size_t end = text.find('\n', start);
  if (end == std::string_view::npos) end = text.size();
  next = end + 1;
  std::string_view line = text.substr(start, end - start);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

std::string_view trimmed(std::string_view line) {
  while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
  while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
  return line;
}

template <typename Values>
auto findValue(Values& values, std::string_view name) {
  return std::find_if(values.begin(), values.end(),
                      [&](const auto& v) { return equalsIgnoringAsciiCase(v.first, name); });
}

}  // namespace

std::vector<HiveKey> parseHive(std::string_view text) {
  std::vector<HiveKey> keys;
  HiveKey* current = nullptr;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t next = 0;
    const std::string_view raw = lineAt(text, start, next);
    start = next;
    const std::string_view line = trimmed(raw);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      current = nullptr;
      if (line.back() != ']') continue;
      std::string path(line.substr(1, line.size() - 2));
      if (!equalsIgnoringAsciiCase(std::string_view(path).substr(0, kHiveRoot.size()), kHiveRoot)) continue;
      path = normalizedKey(std::string_view(path).substr(kHiveRoot.size()));
      auto found = findKey(keys, path);
      if (found == keys.end()) {
        keys.push_back(HiveKey{path, {}, {}});
        found = keys.end() - 1;
      }
      current = &*found;
      continue;
    }
    if (!current) continue;
    std::size_t i = 0;
    std::optional<std::string> name;
    if (line.front() == '@') {
      name = "@";
      i = 1;
    } else {
      name = readQuoted(line, i);
    }
    if (!name || i >= line.size() || line[i] != '=') continue;
    ++i;
    if (name != "@" && i < line.size() && line[i] == '"') {
      const auto quoted = readQuoted(line, i);
      if (quoted) {
        std::erase_if(current->keptValues, [&](const auto& v) { return equalsIgnoringAsciiCase(v.first, *name); });
        auto existing = findValue(current->values, *name);
        if (existing != current->values.end()) {
          existing->second = *quoted;
        } else {
          current->values.emplace_back(*name, *quoted);
        }
        continue;
      }
    }
    // Not a string this program reads (dword:, hex: over several lines ended by "\", the default
    // value...): kept as it stands, continuation lines included.
    std::string kept(raw);
    while (!trimmed(kept).empty() && trimmed(kept).back() == '\\' && start < text.size()) {
      kept += '\n';
      kept += lineAt(text, start, next);
      start = next;
    }
    if (findValue(current->values, *name) != current->values.end()) continue;  // a string of that name wins
    auto existing = findValue(current->keptValues, *name);
    if (existing != current->keptValues.end()) {
      existing->second = kept;
    } else {
      current->keptValues.emplace_back(*name, kept);
    }
  }
  return keys;
}

std::string formatHive(const std::vector<HiveKey>& keys) {
  std::string out = "REGEDIT4\n";
  for (const auto& key : keys) {
    out += "\n[" + std::string(kHiveRoot) + "\\" + key.path + "]\n";
    for (const auto& [name, value] : key.values) out += "\"" + escape(name) + "\"=\"" + escape(value) + "\"\n";
    for (const auto& [name, lines] : key.keptValues) out += lines + "\n";
  }
  return out;
}

HiveFileRegistry::HiveFileRegistry(std::string hivePath) : path_(std::move(hivePath)) {}

namespace {
// Only a hive file that does not exist is an empty hive; one that cannot be read throws IoError.
std::vector<HiveKey> loadHive(const std::string& path) {
  FileSystem& fs = realFileSystem();
  if (!fs.existsForReading(path)) return {};
  return parseHive(fs.readText(path));
}

bool saveHive(const std::string& path, const std::vector<HiveKey>& keys) {
  FileSystem& fs = realFileSystem();
  try {
    const std::string folder = parentFolder(path);
    if (!folder.empty() && !fs.isFolder(folder)) std::filesystem::create_directories(toPath(folder));
    // The hive is UTF-8 as it stands; written through a temporary file and a rename.
    const std::string text = formatHive(keys);
    const std::string temporary = path + ".new";
    {
      std::ofstream out(toPath(temporary), std::ios::binary | std::ios::trunc);
      out << text;
      out.close();
      if (!out) return false;
    }
    std::error_code ec;
    std::filesystem::rename(toPath(temporary), toPath(path), ec);
    return !ec;
  } catch (const std::exception&) {
    return false;
  }
}
}  // namespace

std::optional<std::vector<std::string>> HiveFileRegistry::readValues(const std::string& key,
                                                                     const std::vector<std::string>& names) {
  auto keys = loadHive(path_);
  const auto found = findKey(keys, normalizedKey(key));
  if (found == keys.end()) return std::nullopt;
  std::vector<std::string> values;
  for (const auto& name : names) {
    auto value = std::find_if(found->values.begin(), found->values.end(),
                              [&](const auto& v) { return equalsIgnoringAsciiCase(v.first, name); });
    values.push_back(value == found->values.end() ? std::string() : value->second);
  }
  return values;
}

bool HiveFileRegistry::writeValues(const std::string& key,
                                   const std::vector<std::pair<std::string, std::string>>& values) {
  auto keys = loadHive(path_);
  const std::string path = normalizedKey(key);
  auto found = findKey(keys, path);
  if (found == keys.end()) {
    keys.push_back(HiveKey{path, {}, {}});
    found = keys.end() - 1;
  }
  for (const auto& value : values) {
    // A string written over a value of another type takes its place.
    std::erase_if(found->keptValues, [&](const auto& v) { return equalsIgnoringAsciiCase(v.first, value.first); });
    auto existing = std::find_if(found->values.begin(), found->values.end(),
                                 [&](const auto& v) { return equalsIgnoringAsciiCase(v.first, value.first); });
    if (existing != found->values.end()) {
      existing->second = value.second;
    } else {
      found->values.push_back(value);
    }
  }
  return saveHive(path_, keys);
}

void HiveFileRegistry::deleteKey(const std::string& key) {
  auto keys = loadHive(path_);
  const std::string path = normalizedKey(key);
  const auto before = keys.size();
  std::erase_if(keys, [&](const HiveKey& k) { return sameKey(k.path, path) || isBelow(k.path, path); });
  if (keys.size() != before) saveHive(path_, keys);
}

std::string defaultHivePath() {
#ifdef _WIN32
  return userDataFolder() + "HKEY_CURRENT_USER.reg";
#else
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::string base = (config && *config) ? std::string(config) : withTrailingSeparator(homeFolder()) + ".config";
  return withTrailingSeparator(base) + "Varnikit/HKEY_CURRENT_USER.reg";
#endif
}

#ifdef _WIN32
namespace {

class WindowsRegistry final : public Registry {
 public:
  std::optional<std::vector<std::string>> readValues(const std::string& key,
                                                     const std::vector<std::string>& names) override {
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, toWide(normalizedKey(key)).c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) {
      return std::nullopt;
    }
    std::vector<std::string> values;
    for (const auto& name : names) values.push_back(readString(handle, name));
    RegCloseKey(handle);
    return values;
  }

  bool writeValues(const std::string& key, const std::vector<std::pair<std::string, std::string>>& values) override {
    HKEY handle = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, toWide(normalizedKey(key)).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                        &handle, nullptr) != ERROR_SUCCESS) {
      return false;
    }
    bool ok = true;
    for (const auto& [name, value] : values) {
      const std::wstring data = toWide(value);
      // Every value is tried even after one has failed.
      const LSTATUS written =
          RegSetValueExW(handle, toWide(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                         static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
      ok = ok && written == ERROR_SUCCESS;
    }
    RegCloseKey(handle);
    return ok;
  }

  void deleteKey(const std::string& key) override {
    const std::wstring path = toWide(normalizedKey(key));
    if (path.empty()) return;  // never the whole hive
    RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());  // the key itself with its values and sub-keys
  }

  // Also read by installedProgramValues, from other hives.
  static std::string readString(HKEY handle, const std::string& name) {
    const std::wstring wideName = toWide(name);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(handle, wideName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
    if (type != REG_SZ && type != REG_EXPAND_SZ) return {};  // a number or binary value reads as empty
    std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(handle, wideName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
        ERROR_SUCCESS) {
      return {};
    }
    data.resize(size / sizeof(wchar_t));
    while (!data.empty() && data.back() == L'\0') data.pop_back();
    return fromWide(data);
  }
};

}  // namespace
#endif

std::vector<std::string> installedProgramValues(const std::string& key, const std::string& name) {
  std::vector<std::string> found;
#ifdef _WIN32
  const std::wstring path = toWide(normalizedKey(key));
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
      HKEY handle = nullptr;
      if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, &handle) != ERROR_SUCCESS) continue;
      std::string value = WindowsRegistry::readString(handle, name);
      RegCloseKey(handle);
      if (!value.empty() && std::find(found.begin(), found.end(), value) == found.end()) found.push_back(value);
    }
  }
#else
  (void)key;
  (void)name;
#endif
  return found;
}

std::unique_ptr<Registry> currentUserRegistry() {
#ifdef _WIN32
  return std::make_unique<WindowsRegistry>();
#else
  return std::make_unique<HiveFileRegistry>(defaultHivePath());
#endif
}

}  // namespace sys
