#include "app/program.h"

#include "app/texts.h"
#include "catalogue/descriptions.h"
#include "catalogue/scan.h"
#include "sys/error.h"
#include "sys/paths.h"

namespace app {

std::string mainWindowCaption() {
  return std::string("Varnikit ") + ProgramVersion + "    |    build: " + std::to_string(BuildNumber);
}

Program::Program(Services services) : services_(std::move(services)) {}

void Program::ReadRegistry() {
  const auto values = services_.registry.readValues(kProgramKey, Settings::valueNames());
  if (!values) return;
  const auto fields = settings.fields();
  for (std::size_t i = 0; i < fields.size(); ++i) *fields[i] = (*values)[i];
}

void Program::WriteRegistry() { services_.registry.writeValues(kProgramKey, settings.values()); }

void Program::ClearRegistry() { services_.registry.deleteKey(kProgramKey); }

void Program::Status(const std::string& text, int busy) {
  services_.ui.setBusy(busy == 1);
  services_.ui.setStatusText(text);
}

std::string Program::errorLogPath() const { return settings.FilePath + "errors.txt"; }

void Program::ErrorMsg(const std::string& message, const std::string& logText) {
  services_.ui.messageBox(kErrorCaption, message, Icon::Error, Buttons::Ok);
  logError(logText.empty() ? message : logText);
}

void Program::logError(const std::string& logText) {
  services_.fs.appendLine(errorLogPath(), sys::dateTime(services_.clock.now()) + ": " + logText);
}

void Program::Log1Click() {
  const std::string log = errorLogPath();
  if (services_.fs.isFile(log)) {
    services_.shell.open(log, "", "", sys::ShowCommand::Normal);
  } else {
    showError(services_.ui, texts::kLogNotFound);
  }
}

std::string Program::defaultFilePath() { return app::defaultFilePath(services_.fs, services_.executableFolder); }

std::string defaultFilePath(sys::FileSystem& fs, const std::string& exeFolder) {
  const std::string probe = exeFolder + ".varnikit-write-test";
  try {
    fs.createEmpty(probe);
    fs.removeFile(probe);
    return exeFolder;
  } catch (const sys::IoError&) {
  }
  const std::string dataFolder = sys::userDataFolder();
  if (dataFolder.empty()) return exeFolder;
  std::error_code ec;
  std::filesystem::create_directories(sys::toPath(dataFolder), ec);
  return dataFolder;
}

void Program::startUp() {
  ReadRegistry();
  if (settings.ListUpdate.empty()) settings.ListUpdate = "2";
  if (settings.AddFilesType.empty()) settings.AddFilesType = "2";
  if (settings.FilePath.empty()) settings.FilePath = defaultFilePath();
  launchers::readRunMenu(services_.fs, settings.FilePath + launchers::kRunMenuFile, runMenu);
  LoadUtilList();
  ListUpdatePending = true;
  // A program folder without descriptions (a first start): the kinds of the game's files are described
  // from the start. A descriptions file the settings name elsewhere is the user's.
  if (settings.FilesInfoDir.empty() || !services_.fs.isFile(settings.FilesInfoDir)) {
    catalogue::writeStarterDescriptions(services_.fs, settings.FilePath + kDescriptionsFile);
  }
}

std::string Program::todayText() { return sys::shortDate(services_.clock.now().date); }

bool Program::updateIsDue() {
  const std::string& policy = settings.ListUpdate;
  if (policy == "2") return true;
  if (policy == "3") return todayText() != settings.FilesListDate;
  if (policy == "4") {
    // A date that cannot be read counts as due: one scan puts a good date back.
    const auto last = sys::parseShortDate(settings.FilesListDate);
    if (!last) return true;
    return !(sys::addDays(*last, 31) > services_.clock.now().date);
  }
  return false;
}

Program::Activation Program::activate() {
  auto& fs = services_.fs;
  if (settings.FilesInfoDir.empty() || !fs.isFile(settings.FilesInfoDir)) {
    settings.FilesInfoDir = settings.FilePath + kDescriptionsFile;
  }
  if (settings.FilesListDir.empty() || !fs.isFile(settings.FilesListDir)) {
    settings.FilesListDir = settings.FilePath + "fileslist.dat";
  }
  if (settings.CSDir.empty() || !fs.isFolder(settings.CSDir)) return Activation::ShowSettings;
  // A catalogue of another folder is no catalogue of this one: its paths would have installs matched
  // against, and written into, the folder the player has left.
  if (!fs.isFile(settings.FilesListDir) || !catalogueListsGameFolder()) {
    showAttention(services_.ui, texts::kScanNeeded);
    catalogue::FindFilesList(*this);
    // A catalogue built in this run is as fresh as any schedule asks: no second scan at the next
    // activation.
    ListUpdatePending = false;
    return Activation::Scanned;
  }
  if (ListUpdatePending) {
    if (updateIsDue()) catalogue::FindFilesList(*this);
    ListUpdatePending = false;
  }
  WriteRegistry();
  return Activation::Done;
}

bool Program::catalogueListsGameFolder() {
  if (!catalogueOrigin_ || catalogueOrigin_->catalogue != settings.FilesListDir) {
    // Made before this run: a scan writes the game folder's text before every path. A folder inside or
    // around the scanned one may pass where a scan of this run would not; an empty catalogue lists no
    // folder, so nothing in it can lead into another one.
    const auto first = services_.fs.readFirstLine(settings.FilesListDir);
    if (first && !first->starts_with(settings.CSDir + sys::kSep)) return false;
    catalogueOrigin_ = CatalogueOrigin{settings.FilesListDir, settings.CSDir};
  }
  // Changed back to the folder the catalogue was made of, it is that folder's catalogue again.
  return catalogueOrigin_->folder == settings.CSDir;
}

void Program::catalogueScanned() { catalogueOrigin_ = CatalogueOrigin{settings.FilesListDir, settings.CSDir}; }

void Program::LoadUtilList() {
  launchers::loadUtilList(services_.fs, settings.FilePath, utilities);
  utilitiesLoaded_ = true;
}

void Program::saveUtilitiesAtClose() {
  // No program folder in memory (the console's "clearvar"): the list has no place to go, and writing it
  // relative to the working folder could overwrite some other file of that name.
  if (settings.FilePath.empty()) return;
  // A table never read from the file (start-up stopped before it) holds only free slots: written, it
  // would empty the user's list.
  if (!utilitiesLoaded_) return;
  launchers::saveUtilListAtClose(services_.fs, settings.FilePath, utilities);
}

}  // namespace app
