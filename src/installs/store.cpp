#include "installs/store.h"

#include <algorithm>
#include <array>

#include "sys/encoding.h"
#include "sys/error.h"
#include "sys/paths.h"

namespace installs {

namespace {
constexpr const char* kList = "list.dat";
constexpr const char* kInfo = "info.dat";
constexpr const char* kTime = "time.dat";
constexpr const char* kFiles = "files.dat";
constexpr const char* kSums = "sums.dat";
constexpr const char* kKept = "_kept";
constexpr const char* kOff = "off.dat";
constexpr const char* kJournal = "moves.dat";
constexpr const char* kPack = "pack";
constexpr const char* kKeptRecords = "kept.dat";
// The temporary name of a file being rewritten whole (FileSystem::writeLines with atomic).
constexpr const char* kRewriteSuffix = ".new";

// The files of the store folder, and the files of every installation folder.
constexpr std::array kRootFiles = {kList, kFiles, kKept};
constexpr std::array kOwnFiles = {kInfo, kTime, kFiles, kSums, kOff, kJournal};

template <std::size_t N>
bool isAmong(const std::string& name, const std::array<const char*, N>& names) {
  return std::any_of(names.begin(), names.end(), [&](const char* own) {
    return sys::equalsIgnoringAsciiCase(name, own) ||
           sys::equalsIgnoringAsciiCase(name, std::string(own) + kRewriteSuffix);
  });
}
}  // namespace

std::string decodeText(const std::string& bytes) {
  std::string text;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = bytes.find('\n', start);
    std::string_view line = std::string_view(bytes).substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    text += sys::decodeLine(line);
    if (end == std::string::npos) break;
    text += '\n';
    start = end + 1;
  }
  return text;
}

Store::Store(sys::FileSystem& fs, std::string filePath) : fs_(fs), filePath_(std::move(filePath)) {}

std::string Store::root() const { return filePath_ + "files"; }
std::string Store::listPath() const { return root() + sys::kSep + kList; }
std::string Store::registerPath() const { return root() + sys::kSep + kFiles; }
std::string Store::folder(const std::string& name) const { return root() + sys::kSep + name; }
std::string Store::infoPath(const std::string& name) const { return folder(name) + sys::kSep + kInfo; }
std::string Store::timePath(const std::string& name) const { return folder(name) + sys::kSep + kTime; }
std::string Store::filesPath(const std::string& name) const { return folder(name) + sys::kSep + kFiles; }
std::string Store::sumsPath(const std::string& name) const { return folder(name) + sys::kSep + kSums; }

std::string Store::backupPath(const std::string& name, const std::string& gamePath) const {
  return folder(name) + sys::kSep + sys::bareName(gamePath);
}

std::string Store::offPath(const std::string& name) const { return folder(name) + sys::kSep + kOff; }
std::string Store::journalPath(const std::string& name) const { return folder(name) + sys::kSep + kJournal; }
std::string Store::packFolder(const std::string& name) const { return folder(name) + sys::kSep + kPack; }
std::string Store::packPath(const std::string& name, const std::string& gamePath) const {
  return packFolder(name) + sys::kSep + sys::bareName(gamePath);
}

namespace {
bool recordsABackupNamed(const std::vector<std::string>& recordedFiles, const char* own) {
  return std::any_of(recordedFiles.begin(), recordedFiles.end(),
                     [&](const std::string& gamePath) { return sys::equalsIgnoringAsciiCase(sys::bareName(gamePath), own); });
}
}  // namespace

bool Store::isOff(const std::string& name) {
  return fs_.isFile(offPath(name)) && !recordsABackupNamed(recordedFiles(name), kOff);
}

std::string Store::journal(const std::string& name) {
  if (!fs_.isFile(journalPath(name)) || recordsABackupNamed(recordedFiles(name), kJournal)) return {};
  const auto lines = fs_.readLines(journalPath(name));
  return lines.empty() ? std::string() : lines.front();
}

std::string Store::keptFolder() const { return root() + sys::kSep + kKept; }
std::string Store::keptRecordsPath() const { return keptFolder() + sys::kSep + kKeptRecords; }

bool Store::isReservedName(const std::string& installationName) { return isAmong(installationName, kRootFiles); }

bool Store::isReservedFileName(const std::string& bareName) { return isAmong(bareName, kOwnFiles); }

const std::vector<std::string>& Store::ownFileNames() {
  static const std::vector<std::string> names(kOwnFiles.begin(), kOwnFiles.end());
  return names;
}

bool Store::usesSums(const std::vector<std::string>& recordedFiles) {
  return std::none_of(recordedFiles.begin(), recordedFiles.end(), [](const std::string& gamePath) {
    return isAmong(sys::bareName(gamePath), std::array{kSums});
  });
}

std::vector<std::string> Store::installationFolders() {
  std::vector<std::string> names;
  const bool listed = fs_.enumerate(root(), [&](const sys::DirEntry& entry) {
    if (entry.kind == sys::EntryKind::Folder) names.push_back(entry.name);
  });
  if (!listed) throw sys::IoError("the folder cannot be listed: " + root());
  return names;
}

std::vector<std::string> Store::recordedFiles(const std::string& name) {
  if (!fs_.exists(filesPath(name))) return {};
  return fs_.readLines(filesPath(name));
}

std::vector<std::string> Store::openList() {
  fs_.createFolder(root());
  if (!fs_.isFile(listPath())) fs_.createEmpty(listPath());
  return fs_.readLines(listPath());
}

void Store::saveList(const std::vector<std::string>& names) { fs_.writeLines(listPath(), names, true); }

void Store::appendName(const std::string& name) { fs_.appendLine(listPath(), name); }

bool Store::nameTaken(const std::string& name) { return fs_.exists(folder(name)); }

void Store::createInstallationFolder(const std::string& name) {
  fs_.createFolder(root());
  fs_.createFolder(folder(name));
}

void Store::writeDescriptionAndTime(const std::string& name, const std::string& description,
                                    const std::string& time) {
  fs_.writeText(infoPath(name), description);
  fs_.writeLines(timePath(name), {time});
}

bool Store::isInstalled(const std::string& gamePath) {
  if (!fs_.existsForReading(registerPath())) fs_.createEmpty(registerPath());
  for (const auto& line : fs_.readLines(registerPath())) {
    if (sys::equalsIgnoringAsciiCase(line, gamePath)) return true;
  }
  return false;
}

void Store::recordInstalledFile(const std::string& name, const std::string& gamePath) {
  recordInstalledFiles(name, {gamePath});
}

void Store::recordInstalledFiles(const std::string& name, const std::vector<std::string>& gamePaths) {
  if (gamePaths.empty()) return;
  const std::string own = filesPath(name);
  const std::uintmax_t before = fs_.existsForReading(own) ? fs_.fileSize(own).value_or(0) : 0;
  fs_.appendLines(own, gamePaths);
  try {
    fs_.appendLines(registerPath(), gamePaths);
  } catch (const sys::IoError&) {
    fs_.truncateFile(own, before);  // every line of an installation's list stands in the register
    throw;
  }
}

void Store::beginMoves(const std::string& name, const std::string& what) { fs_.writeLines(journalPath(name), {what}, true); }

void Store::endMoves(const std::string& name) { fs_.removeFile(journalPath(name)); }

std::size_t Store::removeFromRegister(const std::vector<std::string>& gamePaths) {
  std::vector<std::string> lines;
  if (fs_.existsForReading(registerPath())) lines = fs_.readLines(registerPath());
  std::size_t removed = 0;
  for (const auto& path : gamePaths) {
    const auto it = std::find_if(lines.begin(), lines.end(),
                                 [&](const std::string& line) { return sys::equalsIgnoringAsciiCase(line, path); });
    if (it == lines.end()) continue;
    lines.erase(it);
    ++removed;
  }
  fs_.writeLines(registerPath(), lines, true);
  return removed;
}

void Store::ensureInstallation(const std::string& name) {
  createInstallationFolder(name);
  for (const auto& path : {infoPath(name), timePath(name)}) {
    if (!fs_.existsForReading(path)) fs_.createEmpty(path);
  }
  if (fs_.existsForReading(filesPath(name))) return;
  bool others = false;
  const bool listed = fs_.enumerate(folder(name), [&](const sys::DirEntry& entry) {
    others = others || (!sys::equalsIgnoringAsciiCase(entry.name, kInfo) && !sys::equalsIgnoringAsciiCase(entry.name, kTime));
  });
  if (listed && !others) fs_.createEmpty(filesPath(name));
}

Installation Store::readInstallation(const std::string& name) {
  Installation installation;
  if (fs_.existsForReading(filesPath(name))) installation.files = fs_.readLines(filesPath(name));
  installation.description = decodeText(fs_.readText(infoPath(name)));
  const auto time = fs_.readLines(timePath(name));
  if (!time.empty()) installation.time = time.front();
  return installation;
}

bool Store::renameInstallation(const std::string& from, const std::string& to) {
  return fs_.renameFolder(folder(from), folder(to));
}

}  // namespace installs
