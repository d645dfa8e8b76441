#include "installs/archivers.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <map>
#include <set>
#include <system_error>

#include "sys/encoding.h"
#include "sys/error.h"
#include "sys/filesystem.h"
#include "sys/paths.h"
#include "sys/process.h"
#include "sys/registry.h"

namespace installs::archivers {

namespace {

// The lines of a listing without their line ends (LF or CR LF); complete is false when the last line has
// no line end: the output was cut short.
struct Lines {
  std::vector<std::string_view> lines;
  bool complete = true;
};

Lines splitLines(std::string_view text) {
  Lines result;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) {
      result.complete = false;
      end = text.size();
    }
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    result.lines.push_back(line);
    start = end + 1;
  }
  return result;
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool isNumber(std::string_view text) {
  return !text.empty() && text.size() <= 19 &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::uint64_t numberOf(std::string_view text) {
  std::uint64_t value = 0;
  for (const char c : text) value = value * 10 + static_cast<std::uint64_t>(c - '0');
  return value;
}

ToolListing refusedListing(std::string error) {
  ToolListing listing;
  listing.error = std::move(error);
  return listing;
}

// --- bsdtar -tv ---------------------------------------------------------------------------------------

// The next word of a line (runs of blanks between words), moving at past it.
std::string_view nextWord(std::string_view line, std::size_t& at) {
  while (at < line.size() && line[at] == ' ') ++at;
  const std::size_t start = at;
  while (at < line.size() && line[at] != ' ') ++at;
  return line.substr(start, at - start);
}

bool isModeString(std::string_view mode) {
  if (mode.size() == 11 && (mode.back() == '+' || mode.back() == '@' || mode.back() == '.')) mode.remove_suffix(1);
  if (mode.size() != 10 || std::string_view("-dlhcbpsw").find(mode[0]) == std::string_view::npos) return false;
  return std::all_of(mode.begin() + 1, mode.end(),
                     [](char c) { return std::string_view("rwxsStT-").find(c) != std::string_view::npos; });
}

// bsdtar writes a name through its "safe" printer: a backslash doubled, a control character as \a \b \f
// \n \r \t \v or three octal digits. Nothing when an escape is not one of those.
std::optional<std::string> unescapeTarName(std::string_view text) {
  std::string name;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      name += text[i];
      continue;
    }
    if (++i >= text.size()) return std::nullopt;
    switch (const char c = text[i]) {
      case '\\': name += '\\'; break;
      case 'a': name += '\a'; break;
      case 'b': name += '\b'; break;
      case 'f': name += '\f'; break;
      case 'n': name += '\n'; break;
      case 'r': name += '\r'; break;
      case 't': name += '\t'; break;
      case 'v': name += '\v'; break;
      default: {
        if (c < '0' || c > '3' || i + 2 >= text.size()) return std::nullopt;
        int value = 0;
        for (int k = 0; k < 3; ++k, ++i) {
          if (text[i] < '0' || text[i] > '7') return std::nullopt;
          value = value * 8 + (text[i] - '0');
        }
        --i;
        name += static_cast<char>(value);
      }
    }
  }
  return name;
}

bool isClock(std::string_view word) {
  return word.size() == 5 && std::isdigit(static_cast<unsigned char>(word[0])) &&
         std::isdigit(static_cast<unsigned char>(word[1])) && word[2] == ':' &&
         std::isdigit(static_cast<unsigned char>(word[3])) && std::isdigit(static_cast<unsigned char>(word[4]));
}

bool isDay(std::string_view word) { return isNumber(word) && word.size() <= 2; }

}  // namespace

ToolListing parseTarListing(std::string_view text) {
  const Lines split = splitLines(text);
  if (!split.complete) return refusedListing("the listing is cut short");
  ToolListing listing;
  for (std::size_t number = 0; number < split.lines.size(); ++number) {
    const std::string_view line = split.lines[number];
    if (line.empty()) {
      if (number + 1 == split.lines.size()) break;
      return refusedListing("an empty line in the listing");
    }
    std::size_t at = 0;
    const std::string_view mode = nextWord(line, at);
    const std::string_view links = nextWord(line, at);
    const std::string_view owner = nextWord(line, at);
    const std::string_view group = nextWord(line, at);
    const std::string_view size = nextWord(line, at);
    const std::string_view date1 = nextWord(line, at);
    const std::string_view date2 = nextWord(line, at);
    const std::string_view date3 = nextWord(line, at);
    // The date is "Mon D HH:MM", "Mon D  YYYY" or, day first, "D Mon ...": the month may be a word of
    // the system's language, the rest is digits.
    const bool dayFirst = isDay(date1), dayThen = isDay(date2);
    const bool dateOk = (dayFirst != dayThen) && !date1.empty() && !date2.empty() &&
                        (isClock(date3) || (isNumber(date3) && date3.size() == 4));
    const bool device = mode.size() >= 1 && (mode[0] == 'c' || mode[0] == 'b');
    const bool sizeOk = isNumber(size) || (device && size.find(',') != std::string_view::npos);
    if (!isModeString(mode) || !isNumber(links) || owner.empty() || group.empty() || !sizeOk || !dateOk ||
        at >= line.size() || line[at] != ' ' || at + 1 >= line.size()) {
      return refusedListing("line " + std::to_string(number + 1) + " of the listing cannot be read");
    }
    std::string_view shown = line.substr(at + 1);
    ToolEntry entry;
    switch (mode[0]) {
      case '-': entry.type = ToolEntry::Type::File; break;
      case 'd': entry.type = ToolEntry::Type::Folder; break;
      case 'l': case 'h': entry.type = ToolEntry::Type::Link; break;
      default: entry.type = ToolEntry::Type::Other; break;
    }
    // What a link leads to follows its name; the entry is not unpacked, its name only counted.
    if (mode[0] == 'l') shown = shown.substr(0, shown.find(" -> "));
    if (mode[0] == 'h') shown = shown.substr(0, shown.find(" link to "));
    auto name = unescapeTarName(shown);
    if (!name || name->empty()) return refusedListing("line " + std::to_string(number + 1) + " names no entry");
    entry.name = std::move(*name);
    if (entry.type == ToolEntry::Type::File) entry.size = numberOf(size);
    listing.entries.push_back(std::move(entry));
  }
  listing.parsed = true;
  return listing;
}

// --- 7-Zip l -slt ---------------------------------------------------------------------------------------

namespace {

using Block = std::map<std::string, std::string, std::less<>>;

std::optional<std::pair<std::string, std::string>> keyAndValue(std::string_view line, std::string_view separator) {
  const std::size_t at = line.find(separator);
  if (at != std::string_view::npos) {
    return std::pair{std::string(trimmed(line.substr(0, at))), std::string(line.substr(at + separator.size()))};
  }
  // "Key =" with an empty value may have lost its blank at the end.
  const std::string_view bare = trimmed(separator);
  if (line.size() > bare.size() && line.ends_with(bare)) {
    return std::pair{std::string(trimmed(line.substr(0, line.size() - bare.size()))), std::string()};
  }
  return std::nullopt;
}

const std::string* field(const Block& block, std::string_view key) {
  const auto found = block.find(key);
  return found == block.end() ? nullptr : &found->second;
}

ToolEntry::Type sevenZipType(const Block& block) {
  if (const auto* link = field(block, "Symbolic Link"); link && !link->empty()) return ToolEntry::Type::Link;
  if (const auto* link = field(block, "Hard Link"); link && !link->empty()) return ToolEntry::Type::Link;
  ToolEntry::Type type = ToolEntry::Type::File;
  if (const auto* folder = field(block, "Folder"); folder && *folder == "+") type = ToolEntry::Type::Folder;
  if (const auto* attributes = field(block, "Attributes")) {
    // Windows attributes as letters ("A", "D", "....A"; L a reparse point, d a device), then maybe the
    // Unix mode ("-rw-r--r--", "lrwxrwxrwx").
    const std::string_view text = *attributes;
    const std::size_t blank = text.find(' ');
    const std::string_view windows = text.substr(0, blank);
    if (windows.find('D') != std::string_view::npos) type = ToolEntry::Type::Folder;
    if (windows.find('L') != std::string_view::npos) return ToolEntry::Type::Link;
    if (windows.find('d') != std::string_view::npos) return ToolEntry::Type::Other;
    if (blank != std::string_view::npos) {
      const std::string_view unix = trimmed(text.substr(blank + 1));
      if (!unix.empty()) {
        if (unix[0] == 'l') return ToolEntry::Type::Link;
        if (unix[0] == 'd') type = ToolEntry::Type::Folder;
        else if (unix[0] != '-') return ToolEntry::Type::Other;
      }
    }
  }
  return type;
}

}  // namespace

ToolListing parseSevenZipListing(std::string_view text) {
  const Lines split = splitLines(text);
  const auto& lines = split.lines;
  const auto start = std::find(lines.begin(), lines.end(), std::string_view("----------"));
  if (start == lines.end()) return refusedListing("the listing holds no entries part");
  ToolListing listing;
  Block block;
  bool open = false;
  const auto closeBlock = [&]() -> std::optional<std::string> {
    const auto* path = field(block, "Path");
    if (path == nullptr || path->empty()) return "an entry without its path";
    ToolEntry entry;
    entry.name = *path;
    entry.type = sevenZipType(block);
    if (const auto* encrypted = field(block, "Encrypted"); encrypted && *encrypted == "+") entry.encrypted = true;
    if (entry.type == ToolEntry::Type::File) {
      const auto* size = field(block, "Size");
      if (size == nullptr || !isNumber(*size)) return "an entry without its size: " + *path;
      entry.size = numberOf(*size);
    }
    listing.entries.push_back(std::move(entry));
    block.clear();
    open = false;
    return std::nullopt;
  };
  for (auto line = start + 1; line != lines.end(); ++line) {
    if (line->empty()) {
      if (open) {
        if (auto problem = closeBlock()) return refusedListing(*problem);
      }
      continue;
    }
    auto pair = keyAndValue(*line, " = ");
    if (!pair || pair->first.empty()) return refusedListing("a line of the listing cannot be read");
    if (!block.emplace(std::move(pair->first), std::move(pair->second)).second) {
      return refusedListing("an entry with a property twice");
    }
    open = true;
  }
  // Every entry ends with an empty line; one without it was cut short.
  if (open || !split.complete) return refusedListing("the listing is cut short");
  listing.parsed = true;
  return listing;
}

// --- UnRAR vt and lb -----------------------------------------------------------------------------------

ToolListing parseUnrarListing(std::string_view technical, std::string_view bare) {
  const Lines split = splitLines(technical);
  if (!split.complete) return refusedListing("the listing is cut short");
  ToolListing listing;
  Block block;
  bool inEntries = false;
  const auto closeBlock = [&]() -> std::optional<std::string> {
    const auto* name = field(block, "Name");
    const auto* type = field(block, "Type");
    if (name == nullptr || name->empty() || type == nullptr) return "an entry without its name or type";
    // Every entry's block has its compression line; one without it was cut short.
    if (field(block, "Compression") == nullptr) return "the listing is cut short";
    ToolEntry entry;
    entry.name = *name;
    if (*type == "File") {
      entry.type = ToolEntry::Type::File;
      const auto* size = field(block, "Size");
      if (size == nullptr || (!isNumber(*size) && *size != "?")) return "an entry without its size: " + *name;
      if (isNumber(*size)) entry.size = numberOf(*size);
    } else if (*type == "Directory") {
      entry.type = ToolEntry::Type::Folder;
    } else if (type->find("link") != std::string::npos || type->find("junction") != std::string::npos ||
               *type == "File reference") {
      entry.type = ToolEntry::Type::Link;
    } else {
      entry.type = ToolEntry::Type::Other;
    }
    if (const auto* flags = field(block, "Flags"); flags && flags->find("encrypted") != std::string::npos) {
      entry.encrypted = true;
    }
    listing.entries.push_back(std::move(entry));
    block.clear();
    return std::nullopt;
  };
  for (const std::string_view line : split.lines) {
    const std::string_view content = trimmed(line);
    if (!inEntries) {
      if (content.starts_with("Details:") && content.find("encrypted headers") != std::string_view::npos) {
        listing.encryptedHeaders = true;
      }
      if (!content.starts_with("Name: ")) continue;
      inEntries = true;
    }
    if (content.empty()) {
      if (!block.empty()) {
        if (auto problem = closeBlock()) return refusedListing(*problem);
      }
      continue;
    }
    auto pair = keyAndValue(line, ": ");
    if (!pair || pair->first.empty()) return refusedListing("a line of the listing cannot be read");
    if (pair->first == "Name" && !block.empty()) return refusedListing("an entry that does not end");
    if (!block.emplace(std::move(pair->first), std::move(pair->second)).second) {
      return refusedListing("an entry with a property twice");
    }
  }
  if (!block.empty()) {
    if (auto problem = closeBlock()) return refusedListing(*problem);
  }
  // The bare listing names the same entries in the same order: a technical listing cut between two
  // entries shows here.
  const Lines names = splitLines(bare);
  std::vector<std::string_view> bareNames;
  for (const auto line : names.lines) {
    if (!line.empty()) bareNames.push_back(line);
  }
  if (!names.complete || bareNames.size() != listing.entries.size()) {
    return refusedListing("the two listings differ");
  }
  for (std::size_t i = 0; i < bareNames.size(); ++i) {
    if (bareNames[i] != listing.entries[i].name) return refusedListing("the two listings differ");
  }
  listing.parsed = true;
  return listing;
}

// --- Output text ---------------------------------------------------------------------------------------

std::string decodeOutput(std::string_view bytes, Kind kind) {
  const bool bom = bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE';
  std::size_t oddZeros = 0;
  for (std::size_t i = 1; i < bytes.size(); i += 2) oddZeros += bytes[i] == '\0';
  const bool looksWide = bytes.size() >= 4 && oddZeros * 4 >= bytes.size();  // half the units are ASCII
  if (bom || looksWide) {
    if (auto text = sys::fromUtf16Le(bytes)) return *text;
  }
  if (sys::isValidUtf8(bytes)) return std::string(bytes);
  return kind == Kind::Tar ? sys::fromCp1251(bytes) : sys::fromCp866(bytes);
}

// --- Where archivers are --------------------------------------------------------------------------------

namespace {

void addOnce(std::vector<std::string>& folders, std::string folder) {
  folder = sys::withoutTrailingSeparators(folder);
  if (folder.empty()) return;
  const auto same = [&](const std::string& known) { return sys::equalsIgnoringAsciiCase(known, folder); };
  if (std::none_of(folders.begin(), folders.end(), same)) folders.push_back(std::move(folder));
}

}  // namespace

Places systemPlaces() {
  Places places;
  const std::string root = sys::environmentVariable("SystemRoot");
  if (!root.empty()) places.systemFolder = sys::withTrailingSeparator(root) + "System32";
  for (const char* name : {"Path", "Path64", "Path32"}) {
    for (auto& folder : sys::installedProgramValues("\\SOFTWARE\\7-Zip", name)) addOnce(places.sevenZipFolders, folder);
  }
  // WinRAR records its program's full path; its folder holds UnRAR.exe.
  for (const char* name : {"exe64", "exe32"}) {
    for (auto& program : sys::installedProgramValues("\\SOFTWARE\\WinRAR", name)) {
      addOnce(places.winRarFolders, sys::parentFolder(program));
    }
  }
  for (const char* variable : {"ProgramW6432", "ProgramFiles", "ProgramFiles(x86)"}) {
    const std::string folder = sys::environmentVariable(variable);
    if (!folder.empty()) addOnce(places.winRarFolders, sys::withTrailingSeparator(folder) + "WinRAR");
  }
  return places;
}

std::vector<Archiver> find(const Places& places) {
  std::vector<Archiver> found;
  sys::FileSystem& fs = sys::realFileSystem();
  const auto look = [&](Kind kind, const std::vector<std::string>& folders, const char* program) {
    for (const auto& folder : folders) {
      const std::string path = sys::withTrailingSeparator(folder) + program;
      if (fs.isFile(path)) {
        found.push_back({kind, path});
        return;
      }
    }
  };
  if (!places.systemFolder.empty()) look(Kind::Tar, {places.systemFolder}, "tar.exe");
  look(Kind::SevenZip, places.sevenZipFolders, "7z.exe");
  look(Kind::UnRar, places.winRarFolders, "UnRAR.exe");
  return found;
}

// --- Running them ----------------------------------------------------------------------------------------

namespace {

std::string nameOf(Kind kind) {
  switch (kind) {
    case Kind::Tar: return "tar.exe";
    case Kind::SevenZip: return "7z.exe";
    case Kind::UnRar: return "UnRAR.exe";
  }
  return "";
}

// A refusal with the archiver's own words for the log.
struct Failure {
  ArchiveOutcome outcome = ArchiveOutcome::Unreadable;
  std::string error;
};

bool speaksOfPassword(const std::string& text) {
  return sys::containsIgnoringAsciiCase(text, "password") || sys::containsIgnoringAsciiCase(text, "encrypted");
}

std::string excerpt(const std::string& text) {
  std::string line;
  for (const char c : text) {
    if (c == '\r' || c == '\n') {
      if (!line.empty() && line.back() != ' ') line += ' ';
      continue;
    }
    line += c;
  }
  line = std::string(trimmed(line));
  return line.size() > 300 ? line.substr(0, 300) + "..." : line;
}

std::optional<Failure> runFailure(const Archiver& archiver, const sys::ProcessRun& run, int timeoutMs) {
  const std::string who = nameOf(archiver.kind) + ": ";
  switch (run.ended) {
    case sys::ProcessRun::Ended::NotStarted: return Failure{ArchiveOutcome::Unreadable, who + run.error};
    case sys::ProcessRun::Ended::TimedOut:
      return Failure{ArchiveOutcome::Unreadable,
                     who + "did not finish within " + std::to_string(timeoutMs / 1000) + " s and was stopped"};
    case sys::ProcessRun::Ended::TooMuchOutput: return Failure{ArchiveOutcome::Unreadable, who + "wrote too much"};
    case sys::ProcessRun::Ended::Exited: break;
  }
  if (run.exitCode == 0) return std::nullopt;
  const std::string words = decodeOutput(run.errorOutput, archiver.kind) + " " + decodeOutput(run.output, archiver.kind);
  const ArchiveOutcome outcome = speaksOfPassword(words) ? ArchiveOutcome::Encrypted : ArchiveOutcome::Unreadable;
  return Failure{outcome, who + "exit code " + std::to_string(run.exitCode) + ": " + excerpt(words)};
}

sys::ProcessLimits processLimits(int timeoutMs, std::function<void()> whileWaiting) {
  sys::ProcessLimits limits;
  limits.timeoutMs = timeoutMs;
  limits.whileWaiting = std::move(whileWaiting);
  return limits;
}

struct Listed {
  std::optional<ToolListing> listing;
  Failure failure;
};

// One archiver's listing of the archive, parsed; or why not.
Listed listWith(const Archiver& archiver, const std::string& archive, const Limits& limits) {
  const auto limitsOfRun = processLimits(limits.listTimeoutMs, limits.whileWaiting);
  const auto run = [&](std::vector<std::string> args) { return sys::runHidden(archiver.program, args, "", limitsOfRun); };
  Listed listed;
  const auto failed = [&](const sys::ProcessRun& result) {
    if (auto failure = runFailure(archiver, result, limits.listTimeoutMs)) {
      listed.failure = *failure;
      return true;
    }
    return false;
  };
  ToolListing listing;
  switch (archiver.kind) {
    case Kind::Tar: {
      const auto result = run({"-tvf", archive});
      if (failed(result)) return listed;
      listing = parseTarListing(decodeOutput(result.output, archiver.kind));
      break;
    }
    case Kind::SevenZip: {
      const auto result = run({"l", "-slt", "-sccUTF-8", "--", archive});
      if (failed(result)) return listed;
      listing = parseSevenZipListing(decodeOutput(result.output, archiver.kind));
      break;
    }
    case Kind::UnRar: {
      const auto technical = run({"vt", "-p-", "--", archive});
      if (failed(technical)) return listed;
      const auto bare = run({"lb", "-p-", "--", archive});
      if (failed(bare)) return listed;
      listing = parseUnrarListing(decodeOutput(technical.output, archiver.kind), decodeOutput(bare.output, archiver.kind));
      if (!listing.parsed && listing.encryptedHeaders) {
        listed.failure = {ArchiveOutcome::Encrypted, nameOf(archiver.kind) + ": encrypted headers"};
        return listed;
      }
      break;
    }
  }
  if (!listing.parsed) {
    listed.failure = {ArchiveOutcome::Unreadable, nameOf(archiver.kind) + ": " + listing.error};
    return listed;
  }
  listed.listing = std::move(listing);
  return listed;
}

// The archiver that lists the archive first, with its listing; or the most telling refusal of them all.
struct Chosen {
  const Archiver* archiver = nullptr;
  ToolListing listing;
  Failure failure;
};

Chosen choose(const std::vector<Archiver>& archivers, const std::string& archive, const Limits& limits) {
  Chosen chosen;
  if (archivers.empty()) chosen.failure = {ArchiveOutcome::NoReader, "no archiver is installed"};
  std::vector<std::string> errors;
  for (const auto& archiver : archivers) {
    Listed listed = listWith(archiver, archive, limits);
    if (listed.listing) {
      chosen.archiver = &archiver;
      chosen.listing = std::move(*listed.listing);
      return chosen;
    }
    errors.push_back(listed.failure.error);
    if (listed.failure.outcome == ArchiveOutcome::Encrypted) chosen.failure.outcome = ArchiveOutcome::Encrypted;
  }
  if (!errors.empty()) {
    std::string joined;
    for (const auto& error : errors) joined += (joined.empty() ? "" : "; ") + error;
    chosen.failure.error = joined;
  }
  return chosen;
}

// A name an archiver may be given back on its command line: nothing it would take for a switch or a list file.
bool passable(const std::string& name) { return !name.empty() && name[0] != '-' && name[0] != '@'; }

}  // namespace

ArchiveListing list(const std::vector<Archiver>& archivers, const std::string& archive, std::size_t limit,
                    const Limits& limits) {
  ArchiveListing result;
  Chosen chosen = choose(archivers, archive, limits);
  if (chosen.archiver == nullptr) {
    result.outcome = chosen.failure.outcome;
    result.error = chosen.failure.error;
    return result;
  }
  const auto& entries = chosen.listing.entries;
  for (std::size_t index = 0; index < entries.size(); ++index) {
    const ToolEntry& entry = entries[index];
    if (entry.encrypted) {
      result.outcome = ArchiveOutcome::Encrypted;
      result.files.clear();
      return result;
    }
    if (entry.type == ToolEntry::Type::Folder) continue;
    const auto path = safeEntryPath(entry.name);
    if (!path || entry.type != ToolEntry::Type::File || !passable(entry.name)) {
      ++result.skipped;
      continue;
    }
    if (result.files.size() == limit) {
      result.moreThanLimit = true;
      break;
    }
    result.files.push_back({index, *path, entry.size});
  }
  return result;
}

namespace {

// What an archiver left in its folder: the regular files by their path below it; everything else
// (links, junctions, devices) removed at once and counted.
struct Found {
  std::map<std::string, std::string> files;  // relative path (upper case on Windows) -> full path
  std::size_t removed = 0;
};

std::string fileKey(const std::string& relative) {
#ifdef _WIN32
  return sys::upperAscii(relative);
#else
  return relative;
#endif
}

void collect(sys::FileSystem& fs, const std::string& folder, const std::string& relative, Found& found) {
  std::vector<sys::DirEntry> entries;
  fs.enumerate(folder, [&](const sys::DirEntry& entry) { entries.push_back(entry); });
  for (const auto& entry : entries) {
    const std::string path = folder + sys::kSep + entry.name;
    const std::string below = relative.empty() ? entry.name : relative + "/" + entry.name;
    if (fs.isLink(path) || (entry.kind != sys::EntryKind::File && entry.kind != sys::EntryKind::Folder)) {
      fs.removeTree(path);  // a link goes itself, never what it leads to
      ++found.removed;
    } else if (entry.kind == sys::EntryKind::Folder) {
      collect(fs, path, below, found);
    } else {
      found.files.emplace(fileKey(below), path);
    }
  }
}

std::vector<std::string> extractArguments(const Archiver& archiver, const std::string& archive, const std::string& into,
                                          const std::vector<std::string>& names) {
  std::vector<std::string> args;
  switch (archiver.kind) {
    case Kind::Tar: args = {"-xf", archive, "-C", into}; break;
    case Kind::SevenZip: args = {"x", "-y", "-bd", "-spd", "-sccUTF-8", "-o" + into, "--", archive}; break;
    case Kind::UnRar: args = {"x", "-y", "-p-", "-idq", "--", archive}; break;
  }
  args.insert(args.end(), names.begin(), names.end());
  if (archiver.kind == Kind::UnRar) args.push_back(sys::withTrailingSeparator(into));
  return args;
}

// The names in groups that keep each command line well below the 32767 characters Windows allows.
std::vector<std::vector<std::string>> inBatches(const std::vector<std::string>& names) {
  constexpr std::size_t kLongest = 24000;
  std::vector<std::vector<std::string>> batches(1);
  std::size_t length = 0;
  for (const auto& name : names) {
    if (length + name.size() + 3 > kLongest && !batches.back().empty()) {
      batches.emplace_back();
      length = 0;
    }
    batches.back().push_back(name);
    length += name.size() + 3;
  }
  return batches;
}

}  // namespace

UnpackResult unpack(const std::vector<Archiver>& archivers, const std::string& archive,
                    const std::vector<UnpackTarget>& targets, std::uint64_t allowance, const std::string& workFolder,
                    const std::function<void(std::size_t)>& progress, const Limits& limits) {
  UnpackResult result;
  const auto fail = [&](ArchiveOutcome outcome, std::string error) {
    result.outcome = outcome;
    result.error = std::move(error);
    return result;
  };
  if (workFolder.empty()) return fail(ArchiveOutcome::Unreadable, "no folder to unpack into");
  Chosen chosen = choose(archivers, archive, limits);
  if (chosen.archiver == nullptr) return fail(chosen.failure.outcome, chosen.failure.error);
  const auto& entries = chosen.listing.entries;
  std::vector<std::string> names;
  std::vector<std::string> paths;
  std::uint64_t listedBytes = 0;
  for (const auto& target : targets) {
    const ToolEntry* entry = target.index < entries.size() ? &entries[target.index] : nullptr;
    const auto path = entry ? safeEntryPath(entry->name) : std::nullopt;
    if (!path || entry->type != ToolEntry::Type::File || !passable(entry->name)) {
      return fail(ArchiveOutcome::Unreadable, "the archive changed while it was read");
    }
    if (entry->encrypted) return fail(ArchiveOutcome::Encrypted, "");
    names.push_back(entry->name);
    paths.push_back(*path);
    listedBytes += entry->size.value_or(0);
  }
  if (listedBytes > allowance) return fail(ArchiveOutcome::NoSpace, "");

  sys::FileSystem& fs = sys::realFileSystem();
  const std::string folder = sys::withoutTrailingSeparators(workFolder);
  const std::string into = folder + sys::kSep + "archiver";
  fs.createFolder(into);
  // While the archiver works the dialog repaints, and its progress bar follows the files as they come:
  // those under the folder are counted a few times a second.
  std::size_t done = 0;
  auto counted = std::chrono::steady_clock::now();
  const auto whileWaiting = [&] {
    if (limits.whileWaiting) limits.whileWaiting();
    const auto now = std::chrono::steady_clock::now();
    if (now - counted < std::chrono::milliseconds(200)) return;
    counted = now;
    std::size_t files = 0;
    std::error_code ec;
    for (std::filesystem::recursive_directory_iterator it(sys::toPath(into), ec), end; !ec && it != end;
         it.increment(ec)) {
      if (it->is_regular_file(ec)) ++files;
    }
    files = std::min(files, targets.size());
    if (files > done) progress(done = files);
  };
  for (const auto& batch : inBatches(names)) {
    // Started in the program's own working folder: one inside the folder would keep it from being removed
    // for a moment after the archiver ends (on Windows).
    const auto run = sys::runHidden(chosen.archiver->program, extractArguments(*chosen.archiver, archive, into, batch),
                                    "", processLimits(limits.unpackTimeoutMs, whileWaiting));
    if (auto failure = runFailure(*chosen.archiver, run, limits.unpackTimeoutMs)) {
      return fail(failure->outcome, failure->error);
    }
  }

  // Nothing may lie beside the archiver's folder: anything there was written where it was not asked to.
  bool outside = false;
  fs.enumerate(folder, [&](const sys::DirEntry& entry) { outside = outside || entry.name != "archiver"; });
  if (outside) return fail(ArchiveOutcome::Unreadable, nameOf(chosen.archiver->kind) + ": wrote outside its folder");
  Found found;
  collect(fs, into, "", found);
  result.removed = found.removed;

  std::set<std::string> taken;
  std::uint64_t total = 0;
  for (std::size_t k = 0; k < targets.size(); ++k) {
    const std::string key = fileKey(paths[k]);
    const auto file = found.files.find(key);
    if (file == found.files.end() || !taken.insert(key).second) {
      return fail(ArchiveOutcome::Unreadable, nameOf(chosen.archiver->kind) + ": did not unpack " + names[k]);
    }
    const std::uint64_t size = fs.fileSize(file->second).value_or(0);
    const auto listed = entries[targets[k].index].size;
    if (listed && size > *listed) {
      result.entry = names[k];
      return fail(ArchiveOutcome::Bomb, "");
    }
    if (listed && size < *listed) {
      return fail(ArchiveOutcome::Unreadable, nameOf(chosen.archiver->kind) + ": unpacked " + names[k] + " short");
    }
    total += size;
    if (total > allowance) return fail(ArchiveOutcome::NoSpace, "");
  }
  result.removed += found.files.size() - taken.size();

  for (std::size_t k = 0; k < targets.size(); ++k) {
    const std::string& from = found.files.at(fileKey(paths[k]));
    std::error_code ec;
    std::filesystem::create_directories(sys::toPath(sys::parentFolder(targets[k].file)), ec);
    if (ec || !fs.moveFile(from, targets[k].file)) {
      throw sys::IoError("cannot move " + from + " to " + targets[k].file);
    }
  }
  if (done < targets.size()) progress(targets.size());
  fs.removeTree(into);
  return result;
}

}  // namespace installs::archivers
