#pragma once

#include <string_view>

#include "fuzz_support.h"
#include "installs/archive.h"
#include "installs/archivers.h"

namespace fuzz {

// What any parsed listing must hold, whatever the archiver printed: every entry named, a refusal with its
// reason, and no name the program would unpack that leads out of the folder.
inline void checkToolListing(const installs::archivers::ToolListing& listing) {
  if (!listing.parsed) {
    if (listing.error.empty()) fail("a refused listing without its reason");
    return;
  }
  for (const auto& entry : listing.entries) {
    if (entry.name.empty()) fail("an entry without a name");
    const auto path = installs::safeEntryPath(entry.name);
    if (!path) continue;
    if (path->starts_with("../") || path->find("/../") != std::string::npos || *path == ".." ||
        path->find(':') != std::string::npos || path->find('\\') != std::string::npos) {
      fail(("a name that leads out of the folder passed: " + *path).c_str());
    }
  }
}

}  // namespace fuzz
