#include "app/one_program.h"

#include "app/program.h"
#include "app/settings.h"

namespace app {

std::string storeFolder(sys::Registry& registry, sys::FileSystem& fs, const std::string& executableFolder) {
  const auto stored = registry.readValues(kProgramKey, {"FilePath"});
  if (stored && !stored->front().empty()) return stored->front();
  return defaultFilePath(fs, executableFolder);
}

bool claimStore(sys::ProgramLock& lock, sys::WindowFinder& windows, const std::string& storeFolder) {
  if (lock.take(storeFolder) != sys::LockResult::HeldByAnother) return true;
  // The other program may still be starting, its window not up yet: it comes up in front by itself.
  windows.raise(mainWindowCaption());
  return false;
}

}  // namespace app
