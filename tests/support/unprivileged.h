#pragma once

#include <functional>
#include <optional>

#ifndef _WIN32
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace testing_support {

// Runs work in a child process as the unprivileged user "nobody", where a file without read permission
// really cannot be read (the tests may run as root, whom permissions do not stop). The result is the
// child's exit code: the number work returned, 125 when the user could not be changed, 126 when work
// threw, 128 + the signal when it was killed. Nothing where no such process can be made (Windows).
inline std::optional<int> runUnprivileged(const std::function<int()>& work) {
#ifdef _WIN32
  (void)work;
  return std::nullopt;
#else
  const pid_t child = fork();
  if (child < 0) return std::nullopt;
  if (child == 0) {
    constexpr uid_t kNobody = 65534;
    if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0)) _exit(125);
    int code = 126;
    try {
      code = work();
    } catch (...) {
    }
    _exit(code);
  }
  int status = 0;
  if (waitpid(child, &status, 0) != child) return std::nullopt;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
#endif
}

}  // namespace testing_support
