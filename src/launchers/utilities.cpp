#include "launchers/utilities.h"

#include <string_view>
#include <vector>

#include "app/program.h"
#include "installs/ftf.h"
#include "launchers/texts.h"
#include "launchers/utility_table.h"
#include "sys/paths.h"

namespace launchers {

namespace {

// Characters no folder name may hold on Windows (and '/' nowhere): separators, a drive's colon, the
// wildcards and redirections, and the control characters.
bool forbiddenInName(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 32 || std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos;
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
  const std::string& folder = handshake.folder;
  const std::string bad = "В файле setup.dat недопустимое имя папки утилиты \"" + folder + "\" (строка 2)";
  if (folder.empty() || folder == "." || folder == "..") return bad;
  for (char c : folder) {
    if (forbiddenInName(c)) return bad;
  }
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
  const std::string folder = program.settings.FilePath + kUtilitiesFolder + sys::kSep + handshake.folder;
  if (fs.isFolder(folder)) {
    program.ErrorMsg(texts::kAlreadyInstalled, texts::kAlreadyInstalledLog);
    return;
  }
  fs.createFolder(folder);
  const std::string installed = folder + sys::kSep + sys::bareName(programFile);
  installs::FTF(program, programFile, installed);
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
  for (auto& slot : program.utilities) {
    if (slot.name != *selected) continue;
    // A slot without a program path has no file to delete ("empty" is no file of ours).
    if (slot.path != kEmpty) {
      fs.removeFile(slot.path);
      fs.removeFolderIfEmpty(sys::parentFolder(slot.path));
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
        program.ErrorMsg(texts::kUtilityNotStarted, texts::kUtilityNotStartedLog);
        program.Status("", 0);
        ui.setMainWindowEnabled(true);
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
