// A build without libarchive but with zlib (the Windows program) reads zip archives, the form packs are
// mostly published in, with the program's own zip reader, and RAR and 7z archives with an archiver found
// on the machine (the system's tar.exe, 7-Zip, WinRAR's UnRAR.exe). Any other file is refused as
// unreadable, with the reader's word for the log ("not a zip archive").
#include "installs/archive.h"
#include "installs/archivers.h"
#include "installs/zip_reader.h"
#include "sys/encoding.h"

namespace installs {

namespace {

bool isZip(const std::string& archive) { return sys::upperAscii(archive).ends_with(".ZIP"); }

archivers::Limits limitsWith(const std::function<void()>& whileWaiting) {
  archivers::Limits limits;
  limits.whileWaiting = whileWaiting;
  return limits;
}

}  // namespace

bool archivesSupported() { return true; }
std::string_view archivePatterns() { return "*.zip *.rar *.7z"; }

ArchiveListing listArchiveWaiting(const std::string& archive, std::size_t limit,
                                  const std::function<void()>& whileWaiting) {
  if (isZip(archive)) return zip::list(archive, limit);
  return archivers::list(archivers::find(archivers::systemPlaces()), archive, limit, limitsWith(whileWaiting));
}

UnpackResult unpackArchiveInto(const std::string& archive, const std::vector<UnpackTarget>& targets,
                               std::uint64_t allowance, const std::string& workFolder,
                               const std::function<void(std::size_t)>& progress) {
  if (isZip(archive) || workFolder.empty()) return zip::unpack(archive, targets, allowance, progress);
  return archivers::unpack(archivers::find(archivers::systemPlaces()), archive, targets, allowance, workFolder,
                           progress, limitsWith({}));
}

}  // namespace installs
