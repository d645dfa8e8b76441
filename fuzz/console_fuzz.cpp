// The service console: any typed line, and each command word between two of them, runs without a crash
// or a hang.
#include "fuzz_support.h"
#include "service/console.h"
#include "sys/error.h"

namespace {

class Host final : public service::ConsoleHost {
 public:
  void addLine(const std::string& line) override {
    if (lines.size() < 1000) lines.push_back(line);
  }
  void clearLines() override { lines.clear(); }
  std::optional<std::string> lastLine() const override {
    if (lines.empty()) return std::nullopt;
    return lines.back();
  }
  void showVariables() override {}
  void closeConsole() override {}
  void rerunStartUp() override {}
  void closeMainWindow() override {}
  std::vector<std::string> lines;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::clearScratch();
  static const std::vector<std::string> words = service::commandWords();
  app::Program& program = fuzz::program();
  Host host;
  const std::string typed(reinterpret_cast<const char*>(data), size);
  try {
    service::runCommand(typed, program, host);
    if (size > 0) service::runCommand(words[data[0] % words.size()], program, host);
    service::runCommand(typed, program, host);
  } catch (const sys::IoError&) {
  }
  return 0;
}
