// Started by the shell tests through the system's shell: writes its working folder and then each of its
// arguments, one a line in UTF-8, to "started.txt" beside its own executable. The lines go to a
// temporary file first, so a test waiting for the record never reads half of it.
#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#endif

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string utf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace

int main([[maybe_unused]] int argc, [[maybe_unused]] char** argv) {
  std::vector<fs::path> arguments;
  fs::path self;
#ifdef _WIN32
  // The wide command line, so that Cyrillic arguments arrive whatever the ANSI code page is.
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  for (int i = 1; wide && i < count; ++i) arguments.emplace_back(wide[i]);
  LocalFree(wide);
  std::wstring module(32768, L'\0');
  module.resize(GetModuleFileNameW(nullptr, module.data(), static_cast<DWORD>(module.size())));
  self = module;
#else
  for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
  self = fs::read_symlink("/proc/self/exe");
#endif
  const fs::path record = self.parent_path() / "started.txt";
  const fs::path temporary = self.parent_path() / "started.txt.new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << utf8(fs::current_path()) << '\n';
    for (const auto& argument : arguments) out << utf8(argument) << '\n';
    if (!out) return 1;
  }
  std::error_code ec;
  fs::rename(temporary, record, ec);
  return ec ? 1 : 0;
}
