#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// Running a helper program to its end, as the archive readers run an archiver: hidden (no console window
// on Windows), with nothing to read on its input, its output and error output read through pipes, a time
// limit and a limit on the output it may give.
namespace sys {

struct ProcessRun {
  enum class Ended {
    Exited,       // it ended by itself: exitCode holds its code
    NotStarted,   // it could not be started: error holds the system's text
    TimedOut,     // it ran longer than allowed and was killed
    TooMuchOutput // it wrote more than allowed and was killed
  };
  Ended ended = Ended::NotStarted;
  unsigned long exitCode = 0;
  std::string output;       // its standard output, as bytes
  std::string errorOutput;  // its error output, as bytes
  std::string error;
};

struct ProcessLimits {
  int timeoutMs = 60'000;
  std::size_t outputBytes = 64u << 20;
  // Called every few tens of milliseconds while the program runs (pending window messages are handled
  // there, so the windows keep repainting).
  std::function<void()> whileWaiting;
};

// Starts program (a full path) with args, in workFolder when it is not empty, and waits for its end.
// Windows: CreateProcessW with CREATE_NO_WINDOW, the arguments quoted as the C runtime splits them.
// Elsewhere: posix_spawn. Never throws.
ProcessRun runHidden(const std::string& program, const std::vector<std::string>& args, const std::string& workFolder,
                     const ProcessLimits& limits);

// One argument quoted for a Windows command line so that the C runtime gives it back unchanged.
std::string quoteWindowsArgument(const std::string& arg);

}  // namespace sys
