#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

// The program's few command-line words. The windows take no arguments; the toolkit's own options (-platform,
// -style, -display, ...) pass through to it untouched.
namespace app {

enum class CommandLineAction {
  Run,          // nothing of ours: start the windows
  ShowVersion,  // --version
  ShowHelp,     // --help, -h
  Refuse,       // something neither we nor the toolkit know
};

struct CommandLine {
  CommandLineAction action = CommandLineAction::Run;
  std::string refused;  // the first argument not understood (Refuse only)
};

// Reads the arguments after the program's name.
CommandLine readCommandLine(const std::vector<std::string>& arguments);

// "Varnikit 1.0 (build 1374)"
std::string versionText();
std::string usageText();

// Answers --version, --help and a refused argument on out or err. Returns the exit code when the program
// must end here, nothing when the windows should start.
std::optional<int> answerCommandLine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace app
