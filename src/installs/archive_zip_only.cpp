// A build without libarchive but with zlib (the Windows program) reads zip archives, the form packs are
// mostly published in, with the program's own zip reader. Any other file is refused as unreadable, with
// the reader's word for the log ("not a zip archive").
#include "installs/archive.h"
#include "installs/zip_reader.h"

namespace installs {

bool archivesSupported() { return true; }
std::string_view archivePatterns() { return "*.zip"; }

ArchiveListing listArchive(const std::string& archive, std::size_t limit) { return zip::list(archive, limit); }

UnpackResult unpackArchive(const std::string& archive, const std::vector<UnpackTarget>& targets,
                           std::uint64_t allowance, const std::function<void(std::size_t)>& progress) {
  return zip::unpack(archive, targets, allowance, progress);
}

}  // namespace installs
