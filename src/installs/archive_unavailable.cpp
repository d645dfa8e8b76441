// A build without libarchive (the Windows build for now) reads no archives: the mode "Из архива" is not
// offered there, and a dropped archive counts as a plain file.
#include "installs/archive.h"

namespace installs {

namespace {
constexpr const char* kNoReader = "this build of the program reads no archives";
}

bool archivesSupported() { return false; }
std::string_view archivePatterns() { return ""; }

ArchiveListing listArchiveWaiting(const std::string&, std::size_t, const std::function<void()>&) {
  ArchiveListing listing;
  listing.outcome = ArchiveOutcome::Unreadable;
  listing.error = kNoReader;
  return listing;
}

UnpackResult unpackArchiveInto(const std::string&, const std::vector<UnpackTarget>&, std::uint64_t,
                               const std::string&, const std::function<void(std::size_t)>&) {
  UnpackResult result;
  result.outcome = ArchiveOutcome::Unreadable;
  result.error = kNoReader;
  return result;
}

}  // namespace installs
