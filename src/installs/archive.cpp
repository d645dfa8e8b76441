#include "installs/archive.h"

#include <filesystem>
#include <system_error>

#include "installs/names.h"
#include "sys/encoding.h"
#include "sys/paths.h"

namespace installs {

bool hasArchiveExtension(std::string_view path) {
  const std::string upper = sys::upperAscii(sys::bareName(path));
  const std::string patterns = sys::upperAscii(archivePatterns());
  for (std::size_t start = 0; start < patterns.size();) {
    std::size_t end = patterns.find(' ', start);
    if (end == std::string::npos) end = patterns.size();
    const std::string_view ending = std::string_view(patterns).substr(start, end - start).substr(1);  // past '*'
    if (upper.size() > ending.size() && upper.ends_with(ending)) return true;
    start = end + 1;
  }
  return false;
}

std::optional<std::string> safeEntryPath(std::string_view name) {
  constexpr std::size_t kLongestPart = 255;
  std::string path;
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = name.find_first_of("/\\", start);
    if (end == std::string_view::npos) end = name.size();
    const std::string_view part = name.substr(start, end - start);
    start = end + 1;
    // "./models/x.mdl", as tar writes it, is the same as "models/x.mdl".
    if (part == ".") continue;
    // The part rule of installation names refuses "", "..", "C:", "a:b", line breaks, devices...
    if (part.size() > kLongestPart || !isValidInstallationName(part)) return std::nullopt;
    if (!path.empty()) path += '/';
    path += part;
  }
  if (path.empty()) return std::nullopt;
  return path;
}

ArchiveListing listArchive(const std::string& archive, std::size_t limit) {
  return listArchiveWaiting(archive, limit, {});
}

UnpackResult unpackArchive(const std::string& archive, const std::vector<UnpackTarget>& targets,
                           std::uint64_t allowance, const std::function<void(std::size_t)>& progress) {
  return unpackArchiveInto(archive, targets, allowance, "", progress);
}

std::optional<std::uint64_t> diskFreeSpace(const std::string& path) {
  std::error_code ec;
  std::filesystem::path existing = sys::toPath(path);
  while (!existing.empty() && !std::filesystem::exists(existing, ec)) {
    if (existing == existing.parent_path()) return std::nullopt;
    existing = existing.parent_path();
  }
  const auto space = std::filesystem::space(existing, ec);
  if (ec) return std::nullopt;
  return space.available;
}

}  // namespace installs
