#include <gtest/gtest.h>

#include "support/temp_folder.h"
#include "sys/paths.h"
#include "sys/program_lock.h"

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

using sys::LockResult;

TEST(ProgramLock, IsRefusedToASecondHolderForAsLongAsTheFirstLives) {
  testing_support::TempFolder temp;
  const std::string store = temp.path() + sys::kSep;
  {
    auto first = sys::systemProgramLock();
    ASSERT_EQ(first->take(store), LockResult::Taken);
    EXPECT_EQ(first->take(store), LockResult::Taken) << "taken again by its holder";
    EXPECT_EQ(sys::systemProgramLock()->take(store), LockResult::HeldByAnother);
  }
  EXPECT_EQ(sys::systemProgramLock()->take(store), LockResult::Taken) << "given up with its holder";
}

#ifndef _WIN32
// A holder in another process that has started a program (as the program starts the game) and is then
// killed: the lock is free at once, and the program it started does not keep it.
TEST(ProgramLock, AKilledHolderLeavesItFreeAndWhatItStartedDoesNotHoldIt) {
  testing_support::TempFolder temp;
  const std::string store = temp.path() + sys::kSep;
  int pipeEnds[2];
  ASSERT_EQ(pipe2(pipeEnds, O_CLOEXEC), 0);
  const pid_t holder = fork();
  if (holder == 0) {
    auto lock = sys::systemProgramLock();
    if (lock->take(store) != LockResult::Taken) _exit(1);
    const pid_t started = fork();
    if (started == 0) {
      execlp("sleep", "sleep", "30", static_cast<char*>(nullptr));
      _exit(127);
    }
    if (write(pipeEnds[1], &started, sizeof started) != sizeof started) _exit(1);
    close(pipeEnds[1]);
    pause();
  }
  close(pipeEnds[1]);
  pid_t started = 0;
  ASSERT_EQ(read(pipeEnds[0], &started, sizeof started), static_cast<ssize_t>(sizeof started));
  char end;
  EXPECT_EQ(read(pipeEnds[0], &end, 1), 0) << "the pipe ends once the started program has its own code";
  EXPECT_EQ(sys::systemProgramLock()->take(store), LockResult::HeldByAnother);
  kill(holder, SIGKILL);
  waitpid(holder, nullptr, 0);
  EXPECT_EQ(sys::systemProgramLock()->take(store), LockResult::Taken);
  kill(started, SIGKILL);
}
#endif

}  // namespace
