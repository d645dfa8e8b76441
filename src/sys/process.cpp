#include "sys/process.h"

#include <chrono>

#include "sys/error.h"
#include "sys/paths.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char** environ;
#endif

namespace sys {

namespace {

using Clock = std::chrono::steady_clock;

// The time limit and the calls to whileWaiting, common to both systems.
class Watch {
 public:
  explicit Watch(const ProcessLimits& limits) : limits_(limits), start_(Clock::now()), lastCall_(start_) {}
  bool expired() const {
    return Clock::now() - start_ > std::chrono::milliseconds(limits_.timeoutMs);
  }
  void tick() {
    const auto now = Clock::now();
    if (limits_.whileWaiting && now - lastCall_ >= std::chrono::milliseconds(40)) {
      lastCall_ = now;
      limits_.whileWaiting();
    }
  }

 private:
  const ProcessLimits& limits_;
  Clock::time_point start_;
  Clock::time_point lastCall_;
};

}  // namespace

std::string quoteWindowsArgument(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\n\v\"") == std::string::npos) return arg;
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (const char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    // Backslashes count only before a quote: there each is doubled and the quote escaped.
    quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, '\\');
  quoted += '"';
  return quoted;
}

#ifdef _WIN32

namespace {

class Handle {
 public:
  Handle() = default;
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() { reset(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return handle_; }
  HANDLE* out() { return &handle_; }
  void reset() {
    if (handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    handle_ = nullptr;
  }

 private:
  HANDLE handle_ = nullptr;
};

// Reads what the pipe holds now, never waiting; false when it held nothing.
bool drain(HANDLE pipe, std::string& into) {
  bool any = false;
  char buffer[16384];
  for (;;) {
    DWORD available = 0;
    if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) || available == 0) return any;
    DWORD read = 0;
    if (!ReadFile(pipe, buffer, available < sizeof buffer ? available : sizeof buffer, &read, nullptr) || read == 0) {
      return any;
    }
    into.append(buffer, read);
    any = true;
  }
}

}  // namespace

ProcessRun runHidden(const std::string& program, const std::vector<std::string>& args, const std::string& workFolder,
                     const ProcessLimits& limits) {
  ProcessRun run;
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  Handle outRead, outWrite, errRead, errWrite;
  if (!CreatePipe(outRead.out(), outWrite.out(), &inherit, 0) || !CreatePipe(errRead.out(), errWrite.out(), &inherit, 0)) {
    run.error = lastErrorText();
    return run;
  }
  SetHandleInformation(outRead.get(), HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(errRead.get(), HANDLE_FLAG_INHERIT, 0);
  Handle nothing(CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr));

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  startup.hStdInput = nothing.get();
  startup.hStdOutput = outWrite.get();
  startup.hStdError = errWrite.get();
  std::string commandLine = quoteWindowsArgument(program);
  for (const auto& arg : args) commandLine += " " + quoteWindowsArgument(arg);
  std::wstring wideCommand = toWide(commandLine);
  const std::wstring wideProgram = toWide(program);
  const std::wstring wideFolder = toWide(workFolder);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(wideProgram.c_str(), wideCommand.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                      workFolder.empty() ? nullptr : wideFolder.c_str(), &startup, &process)) {
    run.error = lastErrorText();
    return run;
  }
  Handle processHandle(process.hProcess), threadHandle(process.hThread);
  // Only the child holds the writing ends now: the pipes break when it ends.
  outWrite.reset();
  errWrite.reset();

  Watch watch(limits);
  for (;;) {
    const bool any = drain(outRead.get(), run.output) | drain(errRead.get(), run.errorOutput);
    if (run.output.size() + run.errorOutput.size() > limits.outputBytes) {
      TerminateProcess(processHandle.get(), 1);
      WaitForSingleObject(processHandle.get(), 5000);
      run.ended = ProcessRun::Ended::TooMuchOutput;
      return run;
    }
    if (WaitForSingleObject(processHandle.get(), any ? 0 : 20) == WAIT_OBJECT_0) {
      drain(outRead.get(), run.output);
      drain(errRead.get(), run.errorOutput);
      DWORD code = 0;
      GetExitCodeProcess(processHandle.get(), &code);
      run.exitCode = code;
      run.ended = ProcessRun::Ended::Exited;
      return run;
    }
    if (watch.expired()) {
      TerminateProcess(processHandle.get(), 1);
      WaitForSingleObject(processHandle.get(), 5000);
      run.ended = ProcessRun::Ended::TimedOut;
      return run;
    }
    watch.tick();
  }
}

#else

namespace {

class Fd {
 public:
  Fd() = default;
  ~Fd() { reset(); }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  void set(int fd) { reset(); fd_ = fd; }
  void reset() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
  }

 private:
  int fd_ = -1;
};

// Reads what the descriptor holds now (it does not block); false at its end.
bool drain(int fd, std::string& into) {
  char buffer[16384];
  for (;;) {
    const ssize_t count = read(fd, buffer, sizeof buffer);
    if (count > 0) {
      into.append(buffer, static_cast<std::size_t>(count));
      continue;
    }
    if (count < 0 && errno == EINTR) continue;
    return count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
  }
}

bool openPipe(Fd& readEnd, Fd& writeEnd) {
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) return false;
  readEnd.set(ends[0]);
  writeEnd.set(ends[1]);
  fcntl(ends[0], F_SETFL, fcntl(ends[0], F_GETFL) | O_NONBLOCK);
  return true;
}

void killAndReap(pid_t pid) {
  kill(pid, SIGKILL);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
}

}  // namespace

ProcessRun runHidden(const std::string& program, const std::vector<std::string>& args, const std::string& workFolder,
                     const ProcessLimits& limits) {
  ProcessRun run;
  Fd outRead, outWrite, errRead, errWrite;
  if (!openPipe(outRead, outWrite) || !openPipe(errRead, errWrite)) {
    run.error = std::strerror(errno);
    return run;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, outWrite.get(), 1);
  posix_spawn_file_actions_adddup2(&actions, errWrite.get(), 2);
  if (!workFolder.empty()) posix_spawn_file_actions_addchdir_np(&actions, workFolder.c_str());
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    run.error = std::strerror(spawned);
    return run;
  }
  outWrite.reset();
  errWrite.reset();

  Watch watch(limits);
  bool outOpen = true, errOpen = true;
  for (;;) {
    // A pipe at its end is left out, or poll would return at once for it.
    pollfd fds[2] = {{outOpen ? outRead.get() : -1, POLLIN, 0}, {errOpen ? errRead.get() : -1, POLLIN, 0}};
    poll(fds, 2, 20);
    if (outOpen) outOpen = drain(outRead.get(), run.output);
    if (errOpen) errOpen = drain(errRead.get(), run.errorOutput);
    if (run.output.size() + run.errorOutput.size() > limits.outputBytes) {
      killAndReap(pid);
      run.ended = ProcessRun::Ended::TooMuchOutput;
      return run;
    }
    int status = 0;
    const pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) {
      drain(outRead.get(), run.output);
      drain(errRead.get(), run.errorOutput);
      run.ended = ProcessRun::Ended::Exited;
      run.exitCode = WIFEXITED(status) ? static_cast<unsigned long>(WEXITSTATUS(status)) : 255;
      return run;
    }
    if (watch.expired()) {
      killAndReap(pid);
      run.ended = ProcessRun::Ended::TimedOut;
      return run;
    }
    watch.tick();
  }
}

#endif

}  // namespace sys
