// Starting a helper program hidden and reading its output: what the archive readers rely on.
#include <gtest/gtest.h>

#include "support/temp_folder.h"
#include "sys/process.h"

namespace {

// Each argument must come back to the program unchanged, as the C runtime of Windows splits the line.
TEST(HiddenProcess, ArgumentsAreQuotedSoTheyComeBackAsGiven) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"plain", "plain"},
      {"", "\"\""},
      {"C:\\Program Files\\7-Zip\\", "\"C:\\Program Files\\7-Zip\\\\\""},
      {"a\"b", "\"a\\\"b\""},
      {"a\\\\\"b c", "\"a\\\\\\\\\\\"b c\""},
      {"C:\\no\\blanks\\", "C:\\no\\blanks\\"},
      {"models\\Описание.txt", "models\\Описание.txt"},
  };
  for (const auto& [arg, quoted] : cases) EXPECT_EQ(sys::quoteWindowsArgument(arg), quoted) << arg;
}

TEST(HiddenProcess, AProgramThatIsNotThereIsSaidToBeNotStarted) {
  testing_support::TempFolder temp;
  const auto run = sys::runHidden(temp / "missing.exe", {"x"}, "", {});
  EXPECT_EQ(run.ended, sys::ProcessRun::Ended::NotStarted);
  EXPECT_FALSE(run.error.empty());
}

}  // namespace
