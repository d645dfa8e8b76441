#include <gtest/gtest.h>

#include <sstream>

#include "app/command_line.h"

namespace {

using app::CommandLineAction;

TEST(CommandLine, ArgumentsAreOursTheToolkitsOrRefused) {
  struct Case {
    std::vector<std::string> arguments;
    CommandLineAction action;
    std::string refused;
  };
  const Case cases[] = {
      {{}, CommandLineAction::Run, ""},
      {{"--version"}, CommandLineAction::ShowVersion, ""},
      {{"--help"}, CommandLineAction::ShowHelp, ""},
      {{"-h"}, CommandLineAction::ShowHelp, ""},
      {{"-style", "fusion", "--version"}, CommandLineAction::ShowVersion, ""},
      // The toolkit's options, with one dash or two, their values skipped even when they look like ours.
      {{"-platform", "offscreen"}, CommandLineAction::Run, ""},
      {{"--platform", "xcb", "-display", ":3", "-reverse"}, CommandLineAction::Run, ""},
      {{"-qwindowtitle", "--help"}, CommandLineAction::Run, ""},
      {{"-style=fusion", "--stylesheet=a.qss"}, CommandLineAction::Run, ""},
      {{"-geometry", "640x480+10+10", "-nograb"}, CommandLineAction::Run, ""},
      // Nothing else: the program reads no files or words from its command line.
      {{"--verbose"}, CommandLineAction::Refuse, "--verbose"},
      {{"-v"}, CommandLineAction::Refuse, "-v"},
      {{"-version"}, CommandLineAction::Refuse, "-version"},
      {{"--help=all"}, CommandLineAction::Refuse, "--help=all"},
      {{"gign.mdl"}, CommandLineAction::Refuse, "gign.mdl"},
      {{"-"}, CommandLineAction::Refuse, "-"},
      {{"--"}, CommandLineAction::Refuse, "--"},
      {{"-platform=offscreen"}, CommandLineAction::Refuse, "-platform=offscreen"},
      {{"-reverse=1"}, CommandLineAction::Refuse, "-reverse=1"},
      {{"-style", "fusion", "extra"}, CommandLineAction::Refuse, "extra"},
      {{"-reverse", "--unknown", "--version"}, CommandLineAction::Refuse, "--unknown"},
  };
  for (const auto& c : cases) {
    std::string shown;
    for (const auto& a : c.arguments) shown += "[" + a + "]";
    const auto result = app::readCommandLine(c.arguments);
    EXPECT_EQ(result.action, c.action) << shown;
    EXPECT_EQ(result.refused, c.refused) << shown;
  }
}

TEST(CommandLine, AnswersOnTheRightStreamWithTheRightExitCode) {
  struct Case {
    std::vector<std::string> arguments;
    std::optional<int> exitCode;
    std::string out;
    std::string err;
  };
  const std::string usage = app::usageText();
  const Case cases[] = {
      {{}, std::nullopt, "", ""},
      {{"-platform", "offscreen"}, std::nullopt, "", ""},
      {{"--version"}, 0, "Varnikit 1.0 (build 1374)\n", ""},
      {{"--help"}, 0, usage, ""},
      {{"--bogus"}, 2, "", "varnikit: неизвестный параметр: --bogus\n\n" + usage},
  };
  for (const auto& c : cases) {
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(app::answerCommandLine(c.arguments, out, err), c.exitCode);
    EXPECT_EQ(out.str(), c.out);
    EXPECT_EQ(err.str(), c.err);
  }
  EXPECT_EQ(usage.rfind("Использование: varnikit [ПАРАМЕТР]...\n", 0), 0u);
  EXPECT_NE(usage.find("--version"), std::string::npos);
}

}  // namespace
