#include "app/detect.h"

#include <algorithm>

#include "app/options_texts.h"
#include "sys/encoding.h"
#include "sys/error.h"
#include "sys/paths.h"

namespace app {
namespace {

constexpr bool kWindows = sys::kSeparator == '\\';

std::string join(const std::string& folder, const std::string& name) {
  return sys::withTrailingSeparator(folder) + name;
}

// The tokens of a VDF text: quoted strings (with their escapes undone), bare words, and the braces.
struct VdfToken {
  enum Kind { Text, Open, Close } kind;
  std::string text;
};

std::vector<VdfToken> tokenizeVdf(std::string_view vdf) {
  std::vector<VdfToken> tokens;
  std::size_t i = 0;
  while (i < vdf.size()) {
    const char c = vdf[i];
    if (c == '{' || c == '}') {
      tokens.push_back({c == '{' ? VdfToken::Open : VdfToken::Close, {}});
      ++i;
    } else if (c == '/' && i + 1 < vdf.size() && vdf[i + 1] == '/') {
      while (i < vdf.size() && vdf[i] != '\n') ++i;
    } else if (c == '"') {
      std::string text;
      ++i;
      while (i < vdf.size() && vdf[i] != '"') {
        if (vdf[i] == '\\' && i + 1 < vdf.size()) {
          const char escaped = vdf[++i];
          text += escaped == 'n' ? '\n' : escaped == 't' ? '\t' : escaped;
        } else {
          text += vdf[i];
        }
        ++i;
      }
      ++i;  // the closing quote
      tokens.push_back({VdfToken::Text, std::move(text)});
    } else if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      ++i;
    } else {
      std::string word;
      while (i < vdf.size() && std::string_view(" \t\r\n{}\"").find(vdf[i]) == std::string_view::npos) word += vdf[i++];
      tokens.push_back({VdfToken::Text, std::move(word)});
    }
  }
  return tokens;
}

bool allDigits(const std::string& text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void addOnce(std::vector<std::string>& list, std::string item) {
  while (item.size() > 1 && sys::isSeparator(item.back())) item.pop_back();
  if (item.empty()) return;
  if (std::find(list.begin(), list.end(), item) == list.end()) list.push_back(std::move(item));
}

}  // namespace

const std::vector<std::string>& launcherNames() {
  static const std::vector<std::string> names =
      kWindows ? std::vector<std::string>{"hl.exe"} : std::vector<std::string>{"hl.sh", "hl_linux"};
  return names;
}

std::vector<std::pair<std::string, std::string>> launcherFilters() {
  if (kWindows) return {{"exe", "*.exe"}};
  return {};
}

DetectedGame gameInBase(sys::FileSystem& fs, const std::string& base) {
  DetectedGame found;
  if (base.empty()) return found;
  const std::string folder = join(base, "cstrike");
  if (fs.isFolder(folder)) found.folder = folder;
  for (const std::string& name : launcherNames()) {
    const std::string launcher = join(base, name);
    if (fs.isFile(launcher)) {
      found.launcher = launcher;
      break;
    }
  }
  return found;
}

std::vector<std::string> parseLibraryFolders(std::string_view vdf) {
  std::vector<std::string> libraries;
  const auto tokens = tokenizeVdf(vdf);
  int depth = 0;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    const VdfToken& token = tokens[i];
    if (token.kind == VdfToken::Open) {
      ++depth;
    } else if (token.kind == VdfToken::Close) {
      depth = std::max(0, depth - 1);
    } else if (i + 1 < tokens.size() && tokens[i + 1].kind == VdfToken::Text) {
      // A key with its value: "path" at any depth (current form), or a numbered library at the first
      // level (older form: "1" "/mnt/games/SteamLibrary").
      const std::string& value = tokens[i + 1].text;
      if (sys::equalsIgnoringAsciiCase(token.text, "path") || (depth == 1 && allDigits(token.text))) {
        addOnce(libraries, value);
      }
      ++i;
    }
  }
  return libraries;
}

std::vector<std::string> steamLibraries(sys::FileSystem& fs, const std::string& home) {
  std::vector<std::string> libraries;
  if (home.empty()) return libraries;
  for (const char* steam : {".steam/steam", ".local/share/Steam"}) {
    const std::string root = join(home, steam);
    const std::string vdf = join(root, "steamapps/libraryfolders.vdf");
    if (!fs.isFile(vdf)) continue;
    addOnce(libraries, root);
    try {
      for (auto& library : parseLibraryFolders(fs.readText(vdf))) addOnce(libraries, std::move(library));
    } catch (const sys::IoError&) {
      // An unreadable list still leaves the Steam folder itself to look in.
    }
  }
  return libraries;
}

DetectedGame detectGame(sys::Registry& registry, sys::FileSystem& fs, const std::string& home) {
  DetectedGame found;
  if (const auto values = registry.readValues(kGameKey, {kInstallPathValue})) {
    // An empty or missing value names no folder (it must not become the root's "cstrike").
    found = gameInBase(fs, sys::withoutTrailingSeparators(values->at(0)));
  }
  if (kWindows || !found.folder.empty()) return found;
  DetectedGame firstLauncher;
  for (const std::string& library : steamLibraries(fs, home)) {
    DetectedGame steam = gameInBase(fs, join(library, "steamapps/common/Half-Life"));
    if (!steam.folder.empty()) return steam;
    if (firstLauncher.launcher.empty()) firstLauncher = steam;
  }
  if (found.launcher.empty()) found.launcher = firstLauncher.launcher;
  return found;
}

std::string detectionReport(const DetectedGame& found) {
  const bool folder = !found.folder.empty();
  const bool launcher = !found.launcher.empty();
  if (folder && launcher) return options_texts::kAllFound;
  if (folder) return options_texts::kLauncherNotFound;
  if (launcher) return options_texts::kFolderNotFound;
  return options_texts::kNothingFound;
}

namespace {
std::string existingFolder(sys::FileSystem& fs, const std::string& folder) {
  return !folder.empty() && fs.isFolder(folder) ? folder : std::string();
}
}  // namespace

std::string folderChooserStart(sys::FileSystem& fs, const std::string& folder) {
  const std::string typed = sys::withoutTrailingSeparators(folder);
  if (typed.empty()) return {};
  if (fs.isFolder(typed)) return typed;
  return existingFolder(fs, sys::parentFolder(typed));
}

std::string launcherChooserStart(sys::FileSystem& fs, const std::string& launcher, const std::string& folder) {
  if (!launcher.empty()) {
    if (std::string own = existingFolder(fs, sys::parentFolder(launcher)); !own.empty()) return own;
  }
  const std::string game = sys::withoutTrailingSeparators(folder);
  return game.empty() ? std::string() : existingFolder(fs, sys::parentFolder(game));
}

GameFolderLook lookAtGameFolder(sys::FileSystem& fs, const std::string& folder) {
  GameFolderLook look;
  look.isGame = fs.isFile(join(folder, kGameFolderMark));
  if (look.isGame) return look;
  const std::string inside = join(folder, "cstrike");
  if (fs.isFile(join(inside, kGameFolderMark))) look.gameInside = inside;
  return look;
}

FieldCheck checkGameFields(sys::FileSystem& fs, const std::string& folder, const std::string& launcher) {
  if (!fs.isFolder(folder)) return FieldCheck::FolderInvalid;
  if (!launcher.empty() && !fs.isFile(launcher)) return FieldCheck::LauncherInvalid;
  return FieldCheck::Correct;
}

}  // namespace app
