#pragma once
// What every archive reader must hold, whatever bytes an archive holds: a failed listing lists nothing,
// every listed path is one the path rule keeps, and unpacking writes nothing but the files asked for,
// below their folder, no link, no file longer than its recorded size and never more bytes in all than
// allowed. Used by the fuzz targets of libarchive's reader and of the program's own zip reader.
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>

#include "fuzz_support.h"
#include "installs/archive.h"
#include "sys/error.h"

namespace fuzz {

template <typename List, typename Unpack>
int checkArchiveReader(const std::uint8_t* data, std::size_t size, List list, Unpack unpack) {
  constexpr std::uint64_t kAllowance = 1 << 20;
  clearScratch();
  const std::string& scratch = scratchFolder();
  const std::string archive = writeInput("input", data, size);
  const installs::ArchiveListing listing = list(archive, 64);
  if (listing.outcome != installs::ArchiveOutcome::Read) {
    if (!listing.files.empty()) fail("a refused archive lists files");
    return 0;
  }
  const std::string out = scratch + "out/";
  std::vector<installs::UnpackTarget> targets;
  std::map<std::string, std::optional<std::uint64_t>> expected;  // relative to the scratch folder
  for (const auto& entry : listing.files) {
    if (installs::safeEntryPath(entry.path) != entry.path) fail("a listed path the path rule does not keep");
    const std::string target = out + std::to_string(entry.index) + "/" + entry.path;
    if (!staysBelow(target, out)) fail("a listed path leads out of its folder");
    if (!targets.empty() && entry.index <= targets.back().index) fail("entries listed out of order");
    targets.push_back({entry.index, target});
    expected[target.substr(scratch.size())] = entry.size;
  }
  try {
    (void)unpack(archive, targets, kAllowance, [](std::size_t) {});
  } catch (const sys::IoError&) {
  }
  std::uint64_t total = 0;
  for (const auto& relative : scratchEntries()) {
    const std::filesystem::path path(scratch + relative);
    if (std::filesystem::is_symlink(path)) fail("unpacking made a link");
    if (relative == "input" || relative == "hive.reg" || std::filesystem::is_directory(path)) continue;
    const auto found = expected.find(relative);
    if (found == expected.end()) fail("unpacking wrote a file it was not asked for");
    const auto bytes = std::filesystem::file_size(path);
    if (found->second && bytes > *found->second) fail("a file longer than its recorded size");
    total += bytes;
  }
  if (total > kAllowance) fail("more bytes written than allowed");
  return 0;
}

}  // namespace fuzz
