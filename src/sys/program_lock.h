#pragma once

#include <memory>
#include <string>

// One running program on one store: the first start takes the lock and keeps it for its whole run; the
// system drops it when the program ends, however it ends (killed included).
namespace sys {

enum class LockResult {
  Taken,          // this program holds it now
  HeldByAnother,  // another running program holds it
  Unavailable,    // the lock itself cannot be made (a folder that cannot be written); nothing is held
};

class ProgramLock {
 public:
  virtual ~ProgramLock() = default;
  // Takes the lock of the store in storeFolder (FilePath, with its trailing separator) for as long as
  // this object lives. Taking it again while held answers Taken.
  virtual LockResult take(const std::string& storeFolder) = 0;
};

// The file in the store's folder that carries the lock. It stays when the program ends: the lock is on
// the open file, and a file taken away by the one ending could be locked twice by the next two starts.
inline constexpr const char* kLockFile = "running.lock";

// Windows: a mutex of the user's session, one name for every copy of the program, since every copy reads
// the one settings key of the user and so works on the same store and game folder. Elsewhere: flock on
// kLockFile in the store's folder, never inherited by what the program starts (the game, a utility).
std::unique_ptr<ProgramLock> systemProgramLock();

}  // namespace sys
