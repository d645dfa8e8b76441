#include "installs/dialog.h"

#include <algorithm>
#include <limits>
#include <set>

#include "app/program.h"
#include "catalogue/descriptions.h"
#include "installs/texts.h"
#include "sys/encoding.h"
#include "sys/error.h"
#include "sys/filesystem.h"
#include "sys/paths.h"

namespace installs {

std::optional<AddMode> modeOf(const std::string& addFilesType) {
  if (addFilesType == "1") return AddMode::Files;
  if (addFilesType == "2") return AddMode::Folder;
  if (addFilesType == "3") return AddMode::FolderTree;
  if (addFilesType == "4" && archivesSupported()) return AddMode::Archive;
  return std::nullopt;
}

std::string settingOf(AddMode mode) { return std::to_string(static_cast<int>(mode)); }

namespace {

// The mode's chooser; false when the person cancelled.
bool gatherCandidates(app::Program& program, AddMode mode, std::vector<std::string>& candidates,
                      FileSearch& search, DialogView& view) {
  auto& ui = program.ui();
  if (mode == AddMode::Files) {
    app::FileRequest request;
    request.filters = {{texts::kAllFilesFilter, "*.*"}};
    request.multiple = true;
    candidates = ui.chooseFiles(request);
    return !candidates.empty();
  }
  const auto folder = ui.chooseFolder(texts::kFolderChooserCaption, texts::kFolderChooserPrompt, "");
  // Only a real folder counts; anything else (a virtual place of the desktop) is a cancel.
  if (!folder || !program.fs().isFolder(*folder)) return false;
  view.setStatus(texts::kSearching);
  search.FindFiles(program, *folder, "*.*", candidates, mode == AddMode::FolderTree);
  return true;
}

}  // namespace

namespace {

std::optional<std::string> chooseArchive(app::Program& program) {
  app::FileRequest request;
  request.title = texts::kArchiveChooserTitle;
  request.filters = {{texts::kArchivesFilter, std::string(archivePatterns())}, {texts::kAllFilesFilter, "*.*"}};
  const auto files = program.ui().chooseFiles(request);
  if (files.empty()) return std::nullopt;
  return files.front();
}

// An entry the catalogue knows, with the game file it replaces.
struct AcceptedEntry {
  const ArchiveEntry* entry;
  std::string destination;
};

std::string nativeRelative(std::string path) {
  std::replace(path.begin(), path.end(), '/', sys::kSeparator);
  return path;
}

// Where each accepted entry is unpacked: below "files" in the archive's folder with its own path, or,
// when an earlier entry took that place already (the same path twice, a file where another needs a
// folder, names that differ only in letter case), below a folder named by its index.
std::vector<UnpackTarget> unpackTargets(const std::string& folder, const std::vector<AcceptedEntry>& accepted) {
  std::set<std::string> files, folders;
  std::vector<UnpackTarget> targets;
  for (const auto& [entry, destination] : accepted) {
    const std::string folded = sys::upperAscii(entry->path);
    bool taken = files.count(folded) > 0 || folders.count(folded) > 0;
    for (std::size_t slash = folded.find('/'); !taken && slash != std::string::npos; slash = folded.find('/', slash + 1)) {
      taken = files.count(folded.substr(0, slash)) > 0;
    }
    std::string base = "files";
    if (taken) {
      base = std::to_string(entry->index);
    } else {
      files.insert(folded);
      for (std::size_t slash = folded.find('/'); slash != std::string::npos; slash = folded.find('/', slash + 1)) {
        folders.insert(folded.substr(0, slash));
      }
    }
    targets.push_back({entry->index, folder + base + sys::kSep + nativeRelative(entry->path)});
  }
  return targets;
}

// What one add has to say once it is done, however many archives and files it went through.
struct AddTally {
  std::size_t repeated = 0;
  bool noReaderTold = false;
};

// Reports an archive that is refused; nothing of it is added.
void reportRefused(app::Program& program, const std::string& archive, ArchiveOutcome outcome, const std::string& error,
                   const std::string& entry, AddTally& tally) {
  const std::string name = sys::bareName(archive);
  switch (outcome) {
    case ArchiveOutcome::NoReader:
      // Said once in an add, however many such archives it meets.
      if (!tally.noReaderTold) app::showAttention(program.ui(), texts::kNoArchiver);
      tally.noReaderTold = true;
      break;
    case ArchiveOutcome::Encrypted: app::showError(program.ui(), texts::archiveEncrypted(name)); break;
    case ArchiveOutcome::NoSpace: app::showError(program.ui(), texts::kNoSpaceToUnpack); break;
    case ArchiveOutcome::Bomb:
      program.ErrorMsg(texts::archiveUnreadable(name), texts::archiveBombLog(archive, entry));
      break;
    case ArchiveOutcome::Unreadable:
    case ArchiveOutcome::Read:
      program.ErrorMsg(texts::archiveUnreadable(name), texts::archiveUnreadableLog(archive, error));
      break;
  }
}

// Unpacks the accepted entries into a new folder and adds them to chosen; a refused archive adds nothing
// and leaves no file behind.
void unpackAccepted(app::Program& program, const std::string& archive, const std::vector<AcceptedEntry>& accepted,
                    ChosenFiles& chosen, UnpackFolders& unpacked, DialogView& view, AddTally& tally) {
  std::uint64_t needed = 0;
  for (const auto& item : accepted) needed += item.entry->size.value_or(0);
  std::uint64_t allowance = std::numeric_limits<std::uint64_t>::max();
  if (const auto free = unpacked.freeSpace(program.settings.FilePath)) {
    allowance = *free > kUnpackReserve ? *free - kUnpackReserve : 0;
  }
  if (needed > allowance) {
    reportRefused(program, archive, ArchiveOutcome::NoSpace, "", "", tally);
    return;
  }
  const std::string folder = unpacked.create(program);
  const std::vector<UnpackTarget> targets = unpackTargets(folder, accepted);
  view.setStatus(texts::kUnpacking);
  view.setProgressMaximum(static_cast<int>(targets.size()));
  UnpackResult result;
  try {
    // The archive's folder is empty yet: a reader that runs an archiver may use it meanwhile.
    result = unpackArchiveInto(archive, targets, allowance, folder, [&](std::size_t done) {
      view.setProgress(static_cast<int>(done));
      program.ui().processEvents();
    });
  } catch (...) {
    UnpackFolders::remove(program.fs(), folder);
    view.setProgress(0);
    throw;
  }
  view.setProgress(0);
  if (result.outcome != ArchiveOutcome::Read) {
    UnpackFolders::remove(program.fs(), folder);
    reportRefused(program, archive, result.outcome, result.error, result.entry, tally);
    return;
  }
  if (result.removed > 0) app::showAttention(program.ui(), texts::skippedArchiveEntries(result.removed));
  const std::string name = sys::bareName(archive);
  for (std::size_t k = 0; k < targets.size(); ++k) {
    chosen.add(targets[k].file, accepted[k].destination, name + "/" + accepted[k].entry->path);
  }
}

// AddFiles4 for one archive: every file inside it, at any depth, is checked against the catalogue as the
// files of a folder are; only those accepted are unpacked. False when the catalogue is missing (reported).
bool addArchive(app::Program& program, const std::string& archive, ChosenFiles& chosen, UnpackFolders& unpacked,
                DialogView& view, AddTally& tally) {
  auto& ui = program.ui();
  view.setStatus(texts::kSearching);
  ui.processEvents();
  const ArchiveListing listing = listArchiveWaiting(archive, kSearchLimit, [&] { ui.processEvents(); });
  if (listing.outcome != ArchiveOutcome::Read) {
    reportRefused(program, archive, listing.outcome, listing.error, "", tally);
    return true;
  }
  if (listing.skipped > 0) app::showAttention(ui, texts::skippedArchiveEntries(listing.skipped));
  if (listing.moreThanLimit) app::showAttention(ui, texts::kSearchStopped);

  // The candidates as the folder modes have them: the archive's path, a slash, the entry's path.
  std::vector<std::string> candidates;
  for (const auto& entry : listing.files) candidates.push_back(archive + "/" + entry.path);
  const std::vector<std::string> listed = candidates;
  view.setStatus(texts::kChecking);
  ChosenFiles matched;
  tally.repeated += CheckFiles(program, candidates, matched, view);
  if (!candidates.empty()) return false;
  // The check keeps the order of its candidates, so the accepted ones are found in one pass. A game file
  // the list replaces already is not unpacked at all.
  std::vector<AcceptedEntry> accepted;
  for (std::size_t i = 0, j = 0; i < listed.size() && j < matched.size(); ++i) {
    if (matched.sources()[j] != listed[i]) continue;
    const std::string& destination = matched.destinations()[j++];
    if (chosen.hasDestination(destination)) {
      ++tally.repeated;
    } else {
      accepted.push_back({&listing.files[i], destination});
    }
  }
  if (!accepted.empty()) unpackAccepted(program, archive, accepted, chosen, unpacked, view, tally);
  return true;
}

// One box for the whole add, however many files it passed over.
void reportRepeats(app::Program& program, std::size_t repeated) {
  if (repeated > 0) app::showAttention(program.ui(), texts::skippedRepeats(repeated));
}

}  // namespace

void AddFiles(app::Program& program, AddMode mode, ChosenFiles& chosen, FileSearch& search, UnpackFolders& unpacked,
              DialogView& view) {
  WorkingScope working(view);
  AddTally tally;
  if (mode == AddMode::Archive) {
    const auto archive = chooseArchive(program);
    if (!archive) return;
    addArchive(program, *archive, chosen, unpacked, view, tally);
  } else {
    std::vector<std::string> candidates;
    if (!gatherCandidates(program, mode, candidates, search, view)) return;
    view.setStatus(texts::kChecking);
    tally.repeated = CheckFiles(program, candidates, chosen, view);
  }
  view.setStatus("");
  reportRepeats(program, tally.repeated);
  // "no archiver" said it all: an add that found nothing for want of one says nothing more.
  if (chosen.empty() && !tally.noReaderTold) app::showAttention(program.ui(), texts::kNoFilesFound);
}

Dropped droppedAs(sys::FileSystem& fs, const std::string& path) {
  if (fs.isFolder(path)) return Dropped::Folder;
  if (!fs.isFile(path)) return Dropped::Nothing;
  if (archivesSupported() && hasArchiveExtension(path)) return Dropped::Archive;
  return Dropped::File;
}

void AddDropped(app::Program& program, const std::vector<std::string>& paths, ChosenFiles& chosen, FileSearch& search,
                UnpackFolders& unpacked, DialogView& view) {
  WorkingScope working(view);
  AddTally tally;
  std::vector<std::string> candidates;
  // Files and folders gathered so far are checked before an archive, so the list keeps the drop's order.
  // False when the catalogue is missing: the rest is not worth a second report.
  const auto checkGathered = [&] {
    if (candidates.empty()) return true;
    view.setStatus(texts::kChecking);
    tally.repeated += CheckFiles(program, candidates, chosen, view);
    return candidates.empty();
  };
  bool catalogueFound = true;
  for (const auto& path : paths) {
    switch (droppedAs(program.fs(), path)) {
      case Dropped::File: candidates.push_back(path); break;
      case Dropped::Folder:
        view.setStatus(texts::kSearching);
        search.FindFiles(program, path, "*.*", candidates, true);
        break;
      case Dropped::Archive:
        catalogueFound = checkGathered() && addArchive(program, path, chosen, unpacked, view, tally);
        break;
      case Dropped::Nothing: break;
    }
    if (!catalogueFound) break;
  }
  if (catalogueFound) checkGathered();
  view.setStatus("");
  reportRepeats(program, tally.repeated);
  // "no archiver" said it all: an add that found nothing for want of one says nothing more.
  if (chosen.empty() && !tally.noReaderTold) app::showAttention(program.ui(), texts::kNoFilesFound);
}

std::string UnpackFolders::create(app::Program& program) {
  auto& fs = program.fs();
  const std::string& filePath = program.settings.FilePath;
  // Never a folder relative to wherever the program happens to run.
  if (filePath.empty()) throw sys::IoError("the program folder is not known");
  const std::string root = sys::withTrailingSeparator(filePath) + kUnpackFolderName;
  fs.createFolder(root);
  if (std::find(roots_.begin(), roots_.end(), root) == roots_.end()) roots_.push_back(root);
  for (;;) {
    const std::string folder = root + sys::kSep + std::to_string(++next_);
    if (fs.exists(folder)) continue;
    fs.createFolder(folder);
    return folder + sys::kSep;
  }
}

// A link put into the folder, to a folder or file of the person's, goes without what it leads to.
void UnpackFolders::remove(sys::FileSystem& fs, const std::string& folder) { fs.removeTree(folder); }

void UnpackFolders::removeAll(sys::FileSystem& fs) {
  for (const auto& root : roots_) remove(fs, root);
  roots_.clear();
  next_ = 0;
}

void removeLeftoverUnpackFolder(sys::FileSystem& fs, const std::string& filePath) {
  if (filePath.empty()) return;
  UnpackFolders::remove(fs, sys::withTrailingSeparator(filePath) + kUnpackFolderName);
}

void removeSelected(app::Program& program, ChosenFiles& chosen, std::optional<std::size_t> selected) {
  if (!selected || *selected >= chosen.size()) {
    app::showError(program.ui(), texts::kNoFileSelected);
    return;
  }
  chosen.removeAt(*selected);
}

void clearAll(app::Program& program, ChosenFiles& chosen) {
  if (chosen.empty()) {
    app::showError(program.ui(), texts::kClearEmpty);
    return;
  }
  chosen.clear();
}

void showFileInformation(app::Program& program, const ChosenFiles& chosen, std::optional<std::size_t> selected) {
  auto& ui = program.ui();
  if (chosen.empty()) {
    app::showError(ui, texts::kListEmpty);
    return;
  }
  if (!selected || *selected >= chosen.size()) {
    app::showError(ui, texts::kSelectFile);
    return;
  }
  const std::string& infoFile = program.settings.FilesInfoDir;
  if (!program.fs().canOpenForReading(infoFile)) {
    program.ErrorMsg(texts::kDescriptionsMissing, texts::kDescriptionsMissingLog);
    return;
  }
  const catalogue::Descriptions descriptions(program.fs().readLines(infoFile));
  // A file from an archive is described by its path inside the archive, not where it was unpacked to.
  const std::string& source = chosen.shown()[*selected];
  const auto description = descriptions.describe(source);
  if (!description) {
    app::showAttention(ui, texts::kNoInformation);
    return;
  }
  ui.messageBox(texts::kInformationCaption, texts::fileInformation(sys::bareName(source), *description),
                app::Icon::Information, app::Buttons::Ok);
}

void setDefaultMode(app::Program& program, AddMode mode) {
  program.settings.AddFilesType = settingOf(mode);
  program.WriteRegistry();
}

}  // namespace installs
