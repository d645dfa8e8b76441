// A stand-in for an archiver installed on the player's machine (tar.exe, 7z.exe, UnRAR.exe; which one is
// chosen when it is built). It takes the real tool's command lines. Its "archive" is a text file of
// directives, one "key=value" a line, that say what to do:
//   listing.TOOL=FILE            the recorded listing this tool prints (TOOL: tar, 7z, unrar); none: the
//   bare.unrar=FILE              tool cannot read the archive (exit 2); UnRAR's lb prints bare.unrar
//   exit=N  hang=1               how the listing ends (exit code; never, until killed)
//   source=FOLDER                where the entries' bytes are, by their listed names
//   extract_exit=N  extract_hang=1  extract_pause_ms=N (after each file it writes)
//   escape=PATH                  on extracting, also writes a file at PATH below the output folder
//   link=NAME  link_target=PATH  on extracting, also makes NAME a symbolic link to PATH
// Files named in the directives lie beside the archive. Every call is appended to ARCHIVE.calls.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <shellapi.h>
#endif

namespace fs = std::filesystem;

namespace {

enum class Tool { Tar, SevenZip, UnRar };
constexpr Tool kTool = static_cast<Tool>(STAND_IN_TOOL);
constexpr const char* kToolName = kTool == Tool::Tar ? "tar" : kTool == Tool::SevenZip ? "7z" : "unrar";

fs::path pathOf(const std::string& utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

std::vector<std::string> arguments([[maybe_unused]] int argc, [[maybe_unused]] char** argv) {
  std::vector<std::string> args;
#ifdef _WIN32
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  for (int i = 1; i < count; ++i) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
    std::string arg(static_cast<std::size_t>(size > 0 ? size - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, arg.data(), size, nullptr, nullptr);
    args.push_back(arg);
  }
  LocalFree(wide);
  _setmode(_fileno(stdout), _O_BINARY);
#else
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
#endif
  return args;
}

std::map<std::string, std::string> directives(const fs::path& archive) {
  std::map<std::string, std::string> found;
  std::ifstream in(archive, std::ios::binary);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto equals = line.find('=');
    if (equals != std::string::npos) found[line.substr(0, equals)] = line.substr(equals + 1);
  }
  return found;
}

void print(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  const std::string text = bytes.str();
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
}

[[noreturn]] void hang() {
  for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
}

int numberOf(const std::map<std::string, std::string>& said, const std::string& key) {
  const auto found = said.find(key);
  return found == said.end() ? 0 : std::stoi(found->second);
}

std::string slashed(std::string name) {
  for (char& c : name) {
    if (c == '\\') c = '/';
  }
  return name;
}

int list(const fs::path& archive, bool bare) {
  const auto said = directives(archive);
  if (said.count("hang")) hang();
  const auto file = said.find(std::string(bare ? "bare." : "listing.") + kToolName);
  if (file == said.end()) {
    std::fputs("ERROR: Can not open the file as archive\n", stderr);
    return 2;
  }
  print(archive.parent_path() / pathOf(file->second));
  if (const int code = numberOf(said, "exit"); code != 0) {
    std::fputs("ERROR: Can not open the file as archive\n", stderr);
    return code;
  }
  return 0;
}

int extract(const fs::path& archive, const fs::path& into, const std::vector<std::string>& names, std::ofstream& calls) {
  const auto said = directives(archive);
  if (said.count("extract_hang")) hang();
  if (const int code = numberOf(said, "extract_exit"); code != 0) return code;
  const fs::path source = archive.parent_path() / pathOf(said.count("source") ? said.at("source") : "");
  for (const auto& name : names) {
    const fs::path from = source / pathOf(slashed(name));
    const fs::path to = into / pathOf(slashed(name));
    std::error_code ec;
    fs::create_directories(to.parent_path(), ec);
    if (!fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec)) return 2;
    if (said.count("extract_pause_ms")) std::this_thread::sleep_for(std::chrono::milliseconds(numberOf(said, "extract_pause_ms")));
  }
  if (said.count("escape")) {
    const fs::path escaped = into / pathOf(slashed(said.at("escape")));
    std::error_code ec;
    fs::create_directories(escaped.parent_path(), ec);
    std::ofstream(escaped, std::ios::binary) << "escaped";
  }
  if (said.count("link")) {
    std::error_code ec;
    fs::create_symlink(pathOf(said.at("link_target")), into / pathOf(slashed(said.at("link"))), ec);
    calls << (ec ? "link: failed" : "link: made") << '\n';
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args = arguments(argc, argv);
  if (args.empty()) return 7;
  std::string archive;
  std::string into;
  std::vector<std::string> names;
  const std::string command = args[0];
  if (kTool == Tool::Tar) {
    if (args.size() < 2) return 1;
    archive = args[1];
    if (command == "-xf" && args.size() >= 4 && args[2] == "-C") {
      into = args[3];
      names.assign(args.begin() + 4, args.end());
    }
  } else {
    std::size_t at = 1;
    while (at < args.size() && args[at] != "--") {
      if (args[at].rfind("-o", 0) == 0) into = args[at].substr(2);
      ++at;
    }
    if (at + 1 >= args.size()) return 7;
    archive = args[at + 1];
    names.assign(args.begin() + static_cast<std::ptrdiff_t>(at) + 2, args.end());
    if (kTool == Tool::UnRar && command == "x" && !names.empty()) {
      into = names.back();
      names.pop_back();
    }
  }
  const fs::path archivePath = pathOf(archive);
  std::ofstream calls(fs::path(archivePath) += ".calls", std::ios::app | std::ios::binary);
  for (const auto& arg : args) calls << arg << ' ';
  calls << '\n';
  calls.flush();
  if (!fs::is_regular_file(archivePath)) return 2;
  const bool listing = (kTool == Tool::Tar && command == "-tvf") || (kTool == Tool::SevenZip && command == "l") ||
                       (kTool == Tool::UnRar && (command == "vt" || command == "lb"));
  if (listing) return list(archivePath, command == "lb");
  if (command == "x" || command == "-xf") return extract(archivePath, pathOf(into), names, calls);
  return 7;
}
