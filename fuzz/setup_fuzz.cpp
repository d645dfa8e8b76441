// "setup.dat", a utility's answer to the install handshake: whatever it says, the utility is copied
// only into one folder of its own directly below "utilities", at most ten slots are filled, and every
// filled slot names a file below "utilities".
#include <filesystem>

#include "fuzz_support.h"
#include "launchers/utilities.h"
#include "sys/error.h"

namespace {

class Manager final : public launchers::UtilityManagerView {
 public:
  explicit Manager(int rows) : rows_(rows) {}
  int count() override { return rows_; }
  std::optional<std::string> selectedName() override { return std::nullopt; }
  void addName(const std::string&) override { ++rows_; }
  void removeSelectedName() override {}
  void setStatusText(const std::string&) override {}
  void setEnabled(bool) override {}

 private:
  int rows_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::clearScratch();
  const std::string& scratch = fuzz::scratchFolder();
  std::filesystem::create_directories(scratch + "offered");
  std::filesystem::create_directories(scratch + "utilities");  // made at start-up
  const std::string tool = fuzz::writeInput("offered/tool", reinterpret_cast<const std::uint8_t*>("tool"), 4);
  auto& stage = fuzz::stage();
  stage.chosenFile = tool;
  stage.shellOpen = [&](const std::string& file, const std::string& params) {
    if (file == tool && params == launchers::kSetupArgument) fuzz::writeInput("offered/setup.dat", data, size);
  };
  app::Program& program = fuzz::program();
  // With an odd first byte nine slots are taken already, so the last one is filled.
  const int taken = size > 0 && (data[0] & 1) ? 9 : 0;
  for (int k = 0; k < taken; ++k) program.utilities[k] = {"u" + std::to_string(k), scratch + "utilities/u/u"};
  Manager manager(taken);
  try {
    launchers::installUtility(program, manager, std::chrono::milliseconds(50));
  } catch (const sys::IoError&) {
  }
  for (const auto& slot : program.utilities) {
    if (slot.path != "empty" && !fuzz::staysBelow(slot.path, scratch + "utilities/")) {
      fuzz::fail("a utility slot names a file outside \"utilities\"");
    }
  }
  for (const auto& entry : fuzz::scratchEntries()) {
    const std::filesystem::path path(entry);
    const std::string top = path.begin()->string();
    if (top == "utilities") {
      if (std::distance(path.begin(), path.end()) > 3) fuzz::fail("a file deeper than one folder below \"utilities\"");
    } else if (top != "offered" && top != "utilities.dat" && top != "errors.txt" && top != "hive.reg") {
      fuzz::fail("a file written outside \"utilities\"");
    }
  }
  return 0;
}
