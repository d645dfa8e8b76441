#include "app/command_line.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "app/program.h"

namespace app {

namespace {

// The options the toolkit takes itself (its application classes and the X11 platform): whether a value
// follows and whether it may also be attached as "-style=fusion". Each is taken with one dash or two.
struct ToolkitOption {
  std::string_view name;
  bool takesValue;
  bool valueMayBeAttached;
};
constexpr std::array kToolkitOptions{
    ToolkitOption{"platform", true, false},        ToolkitOption{"platformpluginpath", true, false},
    ToolkitOption{"platformtheme", true, false},   ToolkitOption{"plugin", true, false},
    ToolkitOption{"qwindowgeometry", true, false}, ToolkitOption{"qwindowtitle", true, false},
    ToolkitOption{"qwindowicon", true, false},     ToolkitOption{"geometry", true, false},
    ToolkitOption{"title", true, false},           ToolkitOption{"icon", true, false},
    ToolkitOption{"session", true, false},         ToolkitOption{"display", true, false},
    ToolkitOption{"name", true, false},            ToolkitOption{"visual", true, false},
    ToolkitOption{"style", true, true},            ToolkitOption{"stylesheet", true, true},
    ToolkitOption{"qmljsdebugger", false, true},   ToolkitOption{"reverse", false, false},
    ToolkitOption{"widgetcount", false, false},    ToolkitOption{"nograb", false, false},
    ToolkitOption{"dograb", false, false},         ToolkitOption{"testability", false, false},
};

// The option's name without its dashes and without an attached "=value", or empty for a plain word.
std::string_view optionName(std::string_view argument, bool& valueAttached) {
  if (argument.size() < 2 || argument[0] != '-') return {};
  argument.remove_prefix(argument.size() > 2 && argument[1] == '-' ? 2 : 1);
  const auto equals = argument.find('=');
  valueAttached = equals != std::string_view::npos;
  return argument.substr(0, equals);
}

const ToolkitOption* toolkitOption(std::string_view name) {
  const auto found = std::find_if(kToolkitOptions.begin(), kToolkitOptions.end(),
                                  [&](const ToolkitOption& option) { return option.name == name; });
  return found == kToolkitOptions.end() ? nullptr : &*found;
}

}  // namespace

CommandLine readCommandLine(const std::vector<std::string>& arguments) {
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--version") return {CommandLineAction::ShowVersion, {}};
    if (argument == "--help" || argument == "-h") return {CommandLineAction::ShowHelp, {}};
    bool valueAttached = false;
    const std::string_view name = optionName(argument, valueAttached);
    const ToolkitOption* option = name.empty() ? nullptr : toolkitOption(name);
    if (!option || (valueAttached && !option->valueMayBeAttached)) return {CommandLineAction::Refuse, argument};
    // The value is the toolkit's business, even when it looks like one of our words.
    if (option->takesValue && !valueAttached) ++i;
  }
  return {};
}

std::string versionText() {
  return std::string("Varnikit ") + ProgramVersion + " (build " + std::to_string(BuildNumber) + ")";
}

std::string usageText() {
  return "Использование: varnikit [ПАРАМЕТР]...\n"
         "Устанавливает в папку игры Counter-Strike наборы файлов для замены, сохраняя прежние файлы,\n"
         "и восстанавливает их.\n"
         "\n"
         "  -h, --help     показать эту справку и выйти\n"
         "      --version  показать версию и выйти\n"
         "\n"
         "Принимаются также стандартные параметры Qt: -platform, -style, -display и другие.\n";
}

std::optional<int> answerCommandLine(const std::vector<std::string>& arguments, std::ostream& out,
                                     std::ostream& err) {
  const CommandLine commandLine = readCommandLine(arguments);
  switch (commandLine.action) {
    case CommandLineAction::Run:
      return std::nullopt;
    case CommandLineAction::ShowVersion:
      out << versionText() << '\n';
      return 0;
    case CommandLineAction::ShowHelp:
      out << usageText();
      return 0;
    case CommandLineAction::Refuse:
      err << "varnikit: неизвестный параметр: " << commandLine.refused << "\n\n" << usageText();
      return 2;
  }
  return 2;
}

}  // namespace app
