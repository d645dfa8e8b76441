#include "launchers/utilities.h"

#include <string_view>
#include <vector>

#include "app/options_texts.h"
#include "app/program.h"
#include "catalogue/texts.h"
#include "help/texts.h"
#include "installs/ftf.h"
#include "installs/texts.h"
#include "launchers/texts.h"
#include "launchers/utility_table.h"
#include "service/texts.h"
#include "service/variables.h"
#include "sys/encoding.h"
#include "sys/paths.h"

namespace launchers {

namespace {

// Characters no folder name may hold on Windows (and '/' nowhere): separators, a drive's colon, the
// wildcards and redirections, and the control characters.
bool forbiddenInName(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 32 || std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos;
}

constexpr bool kWindowsNames = sys::kSeparator == '\\';

// Names Windows keeps for its devices, with or without an extension and in any letter case ("con",
// "Nul.txt", "COM1.dat"): a folder of such a name cannot be made there.
bool isDeviceName(std::string_view name) {
  std::string_view base = name.substr(0, name.find('.'));
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  const std::string upper = sys::upperAscii(base);
  if (upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL") return true;
  return upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) && upper[3] >= '1' &&
         upper[3] <= '9';
}

// Window titles are found without regard to letter case (FindWindow does so): the letters of the
// Cyrillic code page are folded as well as a-z.
std::string foldedTitle(const std::string& title) {
  const auto bytes = sys::toCp1251(title);
  if (!bytes) return title;
  std::string folded = *bytes;
  for (char& c : folded) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 'A' && byte <= 'Z') c = static_cast<char>(byte + 32);
    if (byte >= 0xC0 && byte <= 0xDF) c = static_cast<char>(byte + 32);  // А..Я
    if (byte == 0xA8) c = static_cast<char>(0xB8);                       // Ё
  }
  return folded;
}

bool sameTitle(const std::string& a, const std::string& b) { return foldedTitle(a) == foldedTitle(b); }

// The titles of this program's own windows and boxes. A utility of such a name would be taken for
// running while that window is open, and the main window would wait for the wrong one.
bool isOwnWindowTitle(const std::string& name) {
  const std::string titles[] = {
      app::mainWindowCaption(), app::kApplicationTitle, app::kErrorCaption, app::kAttentionCaption,
      app::kInformationCaption, app::options_texts::kCaption, catalogue::texts::kInfoCaption,
      catalogue::texts::kScanFinished, texts::kRunMenuCaption, texts::kUtilsCaption,
      installs::texts::kInstallCaption, installs::texts::kInformationCaption,
      installs::texts::kFolderChooserCaption, service::texts::kConsoleCaption, service::kVariablesCaption,
      help::kHelpCaption, help::kAboutCaption, help::kLinksNoticeCaption,
  };
  for (const auto& title : titles) {
    if (sameTitle(name, title)) return true;
  }
  return false;
}

std::string folderName(std::string_view name) { return kWindowsNames ? sys::upperAscii(name) : std::string(name); }

// Whether path names something inside folder (not folder itself), by the text of the paths: ".." and
// "." are resolved first, so "utilities/../../x" is not inside "utilities".
bool isInside(const std::string& path, const std::string& folder) {
  const std::filesystem::path inner = sys::toPath(path).lexically_normal();
  const std::filesystem::path outer = sys::toPath(sys::withoutTrailingSeparators(folder)).lexically_normal();
  auto part = inner.begin();
  for (const auto& component : outer) {
    if (component.empty()) continue;
    if (part == inner.end() || folderName(sys::fromPath(*part)) != folderName(sys::fromPath(component))) return false;
    ++part;
  }
  for (; part != inner.end(); ++part) {
    if (!part->empty()) return true;
  }
  return false;
}

// Gives the manager back, enabled and with an empty status line, however the install ends.
class ManagerBusy {
 public:
  explicit ManagerBusy(UtilityManagerView& manager) : manager_(manager) {
    manager_.setStatusText(texts::kInstalling);
    manager_.setEnabled(false);
  }
  ~ManagerBusy() { release(); }
  ManagerBusy(const ManagerBusy&) = delete;
  ManagerBusy& operator=(const ManagerBusy&) = delete;

  void release() {
    if (!busy_) return;
    busy_ = false;
    manager_.setEnabled(true);
    manager_.setStatusText("");
  }

 private:
  UtilityManagerView& manager_;
  bool busy_ = true;
};

Handshake readHandshake(sys::FileSystem& fs, const std::string& file) {
  const std::vector<std::string> lines = fs.readLines(file);
  Handshake handshake;
  if (lines.size() > 0) handshake.name = lines[0];
  if (lines.size() > 1) handshake.folder = lines[1];
  return handshake;
}

// Waits for the handshake file, handling events and sleeping 30 ms between checks. False on timeout.
bool waitForHandshake(app::Program& program, const std::string& file, std::chrono::steady_clock::time_point start,
                      std::chrono::milliseconds limit) {
  auto& clock = program.services().clock;
  while (!program.fs().isFile(file)) {
    program.ui().processEvents();
    sys::sleepMs(30);
    if (clock.steadyNow() - start >= limit) return false;
    program.ui().processEvents();
  }
  return true;
}

int firstFreeSlot(const UtilityTable& table) {
  for (std::size_t k = 0; k < table.size(); ++k) {
    if (table[k].path == kEmpty) return static_cast<int>(k);
  }
  return -1;
}

// An untitled window is no utility's window: an empty name never matches.
bool utilityWindowExists(app::Program& program, const std::string& name) {
  return !name.empty() && program.services().windows.exists(name);
}

}  // namespace

std::optional<std::string> handshakeFault(const Handshake& handshake) {
  if (handshake.name.empty()) return std::string("В файле setup.dat нет имени утилиты (строка 1)");
  if (handshake.name == kEmpty) {
    return std::string("В файле setup.dat имя утилиты \"empty\" (строка 1) совпадает с пометкой свободного места");
  }
  if (isOwnWindowTitle(handshake.name)) {
    return "В файле setup.dat имя утилиты \"" + handshake.name + "\" (строка 1) совпадает с заголовком окна программы";
  }
  const std::string& folder = handshake.folder;
  const std::string bad = "В файле setup.dat недопустимое имя папки утилиты \"" + folder + "\" (строка 2)";
  if (folder.empty() || folder == "." || folder == "..") return bad;
  for (char c : folder) {
    if (forbiddenInName(c)) return bad;
  }
  // Windows drops a trailing dot or blank and keeps device names for itself: such a folder would be
  // another folder, or none.
  if (folder.back() == '.' || folder.back() == ' ' || isDeviceName(folder)) return bad;
  return std::nullopt;
}

app::FileRequest utilityFileRequest() {
  app::FileRequest request;
  request.title = texts::kUtilsBrowseTitle;
  // Windows programs end in ".exe"; elsewhere a program has no extension to filter by.
  if constexpr (sys::kSeparator == '\\') request.filters = {{texts::kExeFilter, texts::kExePattern}};
  return request;
}

void installUtility(app::Program& program, UtilityManagerView& manager, std::chrono::milliseconds limit) {
  app::Ui& ui = program.ui();
  sys::FileSystem& fs = program.fs();
  if (manager.count() >= 10) {
    app::showAttention(ui, texts::kTooManyUtilities);
    return;
  }
  const std::vector<std::string> picked = ui.chooseFiles(utilityFileRequest());
  if (picked.empty()) return;
  const std::string& programFile = picked.front();

  ManagerBusy busy(manager);
  const auto start = program.services().clock.steadyNow();
  const std::string setupFile = sys::folderWithSeparator(programFile) + kSetupFile;
  if (fs.isFile(setupFile)) fs.removeFile(setupFile);  // a stale answer from an earlier try
  program.services().shell.open(programFile, kSetupArgument, "", sys::ShowCommand::Hide);

  if (!waitForHandshake(program, setupFile, start, limit)) {
    program.ErrorMsg(texts::kNotAUtility, texts::kNoSetupFileLog);
    return;
  }
  const Handshake handshake = readHandshake(fs, setupFile);
  if (const auto fault = handshakeFault(handshake)) {
    program.ErrorMsg(texts::kNotAUtility, *fault);
    return;
  }
  const std::string utilitiesFolder = program.settings.FilePath + kUtilitiesFolder;
  const std::string folder = utilitiesFolder + sys::kSep + handshake.folder;
  // A reinstall from the installed copy answers inside that utility's folder: the answer goes, so the
  // folder holds what it held before.
  const auto refuse = [&](const std::string& logText) {
    if (isInside(setupFile, utilitiesFolder)) fs.removeFile(setupFile);
    program.ErrorMsg(texts::kAlreadyInstalled, logText);
  };
  if (fs.isFolder(folder)) {
    refuse(texts::kAlreadyInstalledLog);
    return;
  }
  // Two utilities of one name could not be told apart, neither by the removal nor by their window.
  for (const auto& slot : program.utilities) {
    if (slot.name != kEmpty && sameTitle(slot.name, handshake.name)) {
      refuse(texts::kNameInstalledLogBefore + handshake.name + texts::kNameInstalledLogAfter);
      return;
    }
  }
  fs.createFolder(folder);
  const std::string installed = folder + sys::kSep + sys::bareName(programFile);
  installs::FTF(program, programFile, installed);
  if (!fs.isFile(installed)) {
    // Neither the copy nor the person made it: nothing is recorded, and the empty folder would only
    // block the next try.
    fs.removeFolderIfEmpty(folder);
    program.ErrorMsg(texts::kNoFreeSlot, texts::kNotCopiedLog);
    return;
  }
  // The answer has done its work; one left behind would only be deleted by the next install.
  fs.removeFile(setupFile);

  const int slot = firstFreeSlot(program.utilities);
  if (slot < 0) {
    program.ErrorMsg(texts::kNoFreeSlot, texts::kNoFreeSlotLog);
    // No slot records the copy: take it away again, so that a later install is not refused.
    fs.removeFile(installed);
    fs.removeFolderIfEmpty(folder);
    return;
  }
  program.utilities[static_cast<std::size_t>(slot)] = UtilitySlot{handshake.name, installed};
  manager.addName(handshake.name);
  busy.release();
  saveUtilList(fs, program.settings.FilePath, program.utilities);
  app::showAttention(ui, std::string(texts::kInstalledBefore) + handshake.name + texts::kInstalledAfter);
}

void removeUtility(app::Program& program, UtilityManagerView& manager) {
  const std::optional<std::string> selected = manager.selectedName();
  if (!selected) {
    app::showAttention(program.ui(), texts::kSelectUtility);
    return;
  }
  sys::FileSystem& fs = program.fs();
  const std::string utilitiesFolder = program.settings.FilePath + kUtilitiesFolder;
  for (auto& slot : program.utilities) {
    if (slot.name != *selected) continue;
    // Only a program the install put below "utilities" is deleted: a path elsewhere (an edited
    // "utilities.dat", or "empty") names a file that is not ours. The folder "utilities" itself stays.
    if (isInside(slot.path, utilitiesFolder)) {
      fs.removeFile(slot.path);
      const std::string folder = sys::parentFolder(slot.path);
      if (isInside(folder, utilitiesFolder)) fs.removeFolderIfEmpty(folder);
    }
    slot = UtilitySlot{};
  }
  manager.removeSelectedName();
  saveUtilList(fs, program.settings.FilePath, program.utilities);
  app::showAttention(program.ui(), texts::kUtilityRemoved);
}

void RunUtil(app::Program& program, int slotNumber, std::chrono::milliseconds limit) {
  auto& clock = program.services().clock;
  app::Ui& ui = program.ui();
  const auto start = clock.steadyNow();
  // A copy: the wait handles events, and nothing it does may change what is being waited for.
  const UtilitySlot slot = program.utilities.at(static_cast<std::size_t>(slotNumber - 1));
  if (!program.fs().isFile(slot.path)) {
    program.ErrorMsg(texts::kUtilityNotFound, texts::kUtilityNotFoundLog);
    return;
  }

  // Starting: main window disabled, normal cursor. The hold is this wait's own: it ends it on every way
  // out (ending the busy state alone no longer gives the window back).
  ui.setMainWindowEnabled(false);
  try {
    ui.processEvents();
    program.services().shell.open(slot.path, kRunArgument, "", sys::ShowCommand::Show);
    while (!utilityWindowExists(program, slot.name)) {
      sys::sleepMs(10);
      ui.setStatusText(texts::kStartingUtility);
      if (clock.steadyNow() - start >= limit) {
        // The main window back before the box: closing the box gives the keyboard focus back to it.
        program.Status("", 0);
        ui.setMainWindowEnabled(true);
        program.ErrorMsg(texts::kUtilityNotStarted, texts::kUtilityNotStartedLog);
        return;
      }
      ui.processEvents();
    }

    // Running: busy until no window with the utility's name is left.
    program.Status(std::string(texts::kRunningBefore) + slot.name + texts::kRunningAfter, 1);
    while (utilityWindowExists(program, slot.name)) {
      ui.processEvents();
      sys::sleepMs(10);
    }
  } catch (...) {
    program.Status("", 0);
    ui.setMainWindowEnabled(true);
    throw;
  }

  // Done.
  program.Status("", 0);
  ui.setMainWindowEnabled(true);
  ui.focusMainWindow();
}

}  // namespace launchers
