#include "sys/program_lock.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace sys {

#ifdef _WIN32
namespace {

class MutexProgramLock final : public ProgramLock {
 public:
  ~MutexProgramLock() override {
    if (mutex_) CloseHandle(mutex_);
  }

  LockResult take(const std::string&) override {
    if (mutex_) return LockResult::Taken;
    HANDLE mutex = CreateMutexW(nullptr, FALSE, L"Local\\Varnikit-one-program-7E1C5A2B");
    if (!mutex) {
      // A mutex of that name made by a program of other rights (one run as administrator) exists.
      return GetLastError() == ERROR_ACCESS_DENIED ? LockResult::HeldByAnother : LockResult::Unavailable;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
      CloseHandle(mutex);
      return LockResult::HeldByAnother;
    }
    mutex_ = mutex;
    return LockResult::Taken;
  }

 private:
  HANDLE mutex_ = nullptr;
};

}  // namespace

std::unique_ptr<ProgramLock> systemProgramLock() { return std::make_unique<MutexProgramLock>(); }

#else
namespace {

class FlockProgramLock final : public ProgramLock {
 public:
  ~FlockProgramLock() override {
    if (fd_ >= 0) ::close(fd_);
  }

  LockResult take(const std::string& storeFolder) override {
    if (fd_ >= 0) return LockResult::Taken;
    // Read-only is enough for flock, and opens a lock file someone made read-only too. Close-on-exec: a
    // game started from the program would otherwise hold the store locked for as long as it runs.
    const int fd = ::open((storeFolder + kLockFile).c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return LockResult::Unavailable;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const int error = errno;
      ::close(fd);
      return error == EWOULDBLOCK ? LockResult::HeldByAnother : LockResult::Unavailable;
    }
    fd_ = fd;
    return LockResult::Taken;
  }

 private:
  int fd_ = -1;
};

}  // namespace

std::unique_ptr<ProgramLock> systemProgramLock() { return std::make_unique<FlockProgramLock>(); }
#endif

}  // namespace sys
