// A small program that installs files into a game folder or restores installations, with the real core
// and the real file system, so that a test can kill it with SIGKILL wherever it likes.
//
//   kill_driver ROOT install NAME GAMEPATH...   installs ROOT/new/<bare name> over each game path as NAME
//   kill_driver ROOT restore-all                restores every listed installation, in list order
//   kill_driver ROOT rename OLD NEW             renames the installation OLD to NEW
//   kill_driver ROOT heal                       one healing pass of the store; prints what it did
//   kill_driver ROOT unlist NAME                takes NAME out of "list.dat" (a line a power cut lost)
//   kill_driver ROOT switch-off NAME            switches the installation NAME off
//   kill_driver ROOT switch-on NAME             switches it on again
//
// ROOT holds the program folder "program/" (with the catalogue "fileslist.dat" when the test wrote one)
// and the hive file "hive.reg". With VARNIKIT_KILL_AT=N in its
// environment the driver raises SIGKILL on itself just before the N-th call that changes the disk; with
// VARNIKIT_KILL_TORN=1 as well, a copy at that step first leaves half of its bytes behind (a copy cut
// off in the middle). Every message box and every copy's step goes to standard output. Exit codes: 0 done, 3 "not all
// restored" (or an installation left listed), 4 an I/O error, 2 wrong use.
//
// Faults of the disk, with or without a kill: VARNIKIT_FAIL_LIST_REWRITE=1 refuses every rewrite of
// "list.dat" (another program holds it); VARNIKIT_FULL_AT=N fills the disk half-way through the N-th
// append to the register; VARNIKIT_HIDE=NAME makes every backup of that bare name read as missing;
// VARNIKIT_TWO_VOLUMES=1 refuses every rename and link between the game and the store, as between two
// volumes, so files change place by copies.
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "app/program.h"
#include "app/ui.h"
#include "installs/heal.h"
#include "installs/install.h"
#include "installs/restore.h"
#include "installs/switch.h"
#include "support/fakes.h"
#include "sys/error.h"
#include "sys/paths.h"
#include "sys/registry.h"

namespace {

// The real file system, dying at a chosen disk-changing step.
class DyingFileSystem : public sys::FileSystem {
 public:
  DyingFileSystem(long killAt, bool torn) : killAt_(killAt), torn_(torn) {}

  // The faults of the disk.
  bool refuseListRewrite = false;
  bool twoVolumes = false;
  long fullAtRegisterAppend = 0;
  std::string hidden;  // a bare name of backups that read as missing
  std::string storeFolder;

  void copyFile(const std::string& from, const std::string& to) override {
    if (isHidden(from)) throw sys::IoError("No such file or directory: " + from);
    std::cout << "copy at step " << steps_ + 1 << '\n';
    if (reached() && torn_) {
      std::ifstream in(sys::toPath(from), std::ios::binary);
      const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
      std::ofstream out(sys::toPath(to), std::ios::binary | std::ios::trunc);
      out.write(bytes.data(), static_cast<std::streamsize>(bytes.size() / 2));
      out.close();
      std::cout.flush();
    }
    die();
    FileSystem::copyFile(from, to);
  }
  bool setNormal(const std::string& path) override { return step() && FileSystem::setNormal(path); }
  bool removeFile(const std::string& path) override { return step() && FileSystem::removeFile(path); }
  void createFolder(const std::string& path) override { step(), FileSystem::createFolder(path); }
  bool renameFolder(const std::string& from, const std::string& to) override {
    return step() && FileSystem::renameFolder(from, to);
  }
  bool removeFolderIfEmpty(const std::string& path) override {
    return step() && FileSystem::removeFolderIfEmpty(path);
  }
  // A killed process loses nothing the system has accepted, so forcing bytes to the disk only costs time
  // here; the step is still counted.
  void syncFile(const std::string&) override { step(); }
  void syncLinks(const std::vector<std::string>& paths) override {
    for (std::size_t i = 0; i < paths.size(); ++i) step();
  }
  void writeLines(const std::string& path, const std::vector<std::string>& lines, bool atomic) override {
    step();
    if (refuseListRewrite && path == storeFolder + "list.dat") throw sys::IoError("in use by another program: " + path);
    FileSystem::writeLines(path, lines, atomic);
  }
  void appendBytes(const std::string& path, std::string_view bytes) override {
    if (path == storeFolder + "files.dat" && ++registerAppends_ == fullAtRegisterAppend) {
      FileSystem::appendBytes(path, bytes.substr(0, bytes.size() / 2));
      throw sys::IoError("No space left on device: " + path);
    }
    FileSystem::appendBytes(path, bytes);
  }
  bool isFile(const std::string& path) override { return !isHidden(path) && FileSystem::isFile(path); }
  bool exists(const std::string& path) override { return !isHidden(path) && FileSystem::exists(path); }
  std::optional<std::uintmax_t> fileSize(const std::string& path) override {
    return isHidden(path) ? std::nullopt : FileSystem::fileSize(path);
  }
  void writeText(const std::string& path, const std::string& text) override {
    step(), FileSystem::writeText(path, text);
  }
  void createEmpty(const std::string& path) override { step(), FileSystem::createEmpty(path); }
  void appendLines(const std::string& path, const std::vector<std::string>& lines) override {
    step(), FileSystem::appendLines(path, lines);
  }
  bool moveFile(const std::string& from, const std::string& to) override {
    return step() && !acrossVolumes(from, to) && FileSystem::moveFile(from, to);
  }
  bool removeTree(const std::string& path) override { return step() && FileSystem::removeTree(path); }
  bool replaceFile(const std::string& from, const std::string& to) override {
    return step() && !acrossVolumes(from, to) && FileSystem::replaceFile(from, to);
  }
  bool linkFile(const std::string& from, const std::string& to) override {
    return step() && !acrossVolumes(from, to) && FileSystem::linkFile(from, to);
  }
  std::unique_ptr<sys::LineSink> createLineSink(const std::string& path) override {
    step();
    return FileSystem::createLineSink(path);
  }

  long steps() const { return steps_; }

 private:
  // A backup of the hidden name: a file of that name in a folder of the store.
  bool isHidden(const std::string& path) const {
    return !hidden.empty() && path.rfind(storeFolder, 0) == 0 && sys::bareName(path) == hidden;
  }
  long registerAppends_ = 0;
  bool acrossVolumes(const std::string& from, const std::string& to) const {
    return twoVolumes && (from.rfind(storeFolder, 0) == 0) != (to.rfind(storeFolder, 0) == 0);
  }
  bool reached() { return killAt_ > 0 && steps_ + 1 >= killAt_; }
  void die() {
    ++steps_;
    if (killAt_ > 0 && steps_ >= killAt_) {
      std::cout.flush();
      raise(SIGKILL);
    }
  }
  bool step() {
    die();
    return true;
  }

  long steps_ = 0;
  long killAt_;
  bool torn_;
};

// Gives the installation name, answers Yes and OK, and prints every box.
class AnsweringUi : public app::Ui {
 public:
  explicit AnsweringUi(std::string name) : name_(std::move(name)) {}
  app::Answer messageBox(const std::string& caption, const std::string& text, app::Icon, app::Buttons buttons) override {
    std::cout << "box " << caption << ": " << text << '\n';
    return buttons == app::Buttons::YesNo ? app::Answer::Yes : app::Answer::Ok;
  }
  std::optional<std::string> inputBox(const std::string&, const std::string&, const std::string&) override {
    return name_;
  }
  std::vector<std::string> chooseFiles(const app::FileRequest&) override { return {}; }
  std::optional<std::string> chooseFolder(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  void processEvents() override {}
  void setStatusText(const std::string&) override {}
  void setBusy(bool) override {}
  void setMainWindowEnabled(bool) override {}
  void focusMainWindow() override {}

 private:
  std::string name_;
};

long environmentNumber(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::strtol(value, nullptr, 10) : 0;
}

int run(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "use: kill_driver ROOT install NAME GAMEPATH... | restore-all | rename OLD NEW | heal | unlist NAME\n";
    return 2;
  }
  const std::string root = argv[1];
  const std::string operation = argv[2];
  DyingFileSystem fs(environmentNumber("VARNIKIT_KILL_AT"), environmentNumber("VARNIKIT_KILL_TORN") != 0);
  fs.storeFolder = root + sys::kSep + "program" + sys::kSep + "files" + sys::kSep;
  fs.refuseListRewrite = environmentNumber("VARNIKIT_FAIL_LIST_REWRITE") != 0;
  fs.twoVolumes = environmentNumber("VARNIKIT_TWO_VOLUMES") != 0;
  fs.fullAtRegisterAppend = environmentNumber("VARNIKIT_FULL_AT");
  if (const char* hidden = std::getenv("VARNIKIT_HIDE")) fs.hidden = hidden;
  const bool named = (operation == "install" && argc > 3) || (operation == "rename" && argc > 4);
  AnsweringUi ui(named ? argv[operation == "install" ? 3 : 4] : "");
  sys::HiveFileRegistry registry(root + sys::kSep + "hive.reg");
  testing_support::RecordingShell shell;
  testing_support::FakeWindowFinder windows;
  testing_support::FixedClock clock;
  app::Program program(app::Services{ui, fs, registry, shell, windows, clock, root + sys::kSep + "exe" + sys::kSep});
  program.settings.FilePath = root + sys::kSep + "program" + sys::kSep;
  program.settings.FilesListDir = program.settings.FilePath + "fileslist.dat";
  program.settings.CSDir = root + sys::kSep + "cstrike";

  int status = 0;
  try {
    if (operation == "install" && argc > 4) {
      installs::ChosenFiles chosen;
      for (int i = 4; i < argc; ++i) {
        chosen.add(root + sys::kSep + "new" + sys::kSep + sys::bareName(argv[i]), argv[i]);
      }
      installs::DialogView view;
      installs::Install(program, chosen, "описание", view);
    } else if (operation == "restore-all") {
      auto names = installs::openInstallationList(program);
      std::size_t index = 0;
      while (index < names.size()) {
        if (installs::Restore(program, names, index) == installs::RestoreResult::Incomplete) {
          status = 3;
          ++index;  // stays listed for the next run
        }
      }
    } else if (operation == "rename" && argc > 4) {
      auto names = installs::openInstallationList(program);
      const auto found = std::find(names.begin(), names.end(), std::string(argv[3]));
      if (found == names.end()) return 2;
      installs::Rename(program, names, static_cast<std::size_t>(found - names.begin()));
    } else if ((operation == "switch-off" || operation == "switch-on") && argc > 3) {
      auto names = installs::openInstallationList(program);
      const auto found = std::find(names.begin(), names.end(), std::string(argv[3]));
      if (found == names.end()) return 2;
      const auto index = static_cast<std::size_t>(found - names.begin());
      const auto result = operation == "switch-off" ? installs::SwitchOff(program, names, index)
                                                    : installs::SwitchOn(program, names, index);
      if (result != installs::SwitchResult::Switched) status = 3;
    } else if (operation == "unlist" && argc > 3) {
      auto names = installs::openInstallationList(program);
      names.erase(std::remove(names.begin(), names.end(), std::string(argv[3])), names.end());
      sys::realFileSystem().writeLines(program.settings.FilePath + "files" + sys::kSep + "list.dat", names, true);
    } else if (operation == "heal") {
      installs::HealNotes notes;
      const auto report = installs::healStore(program, notes);
      std::cout << "healed relisted " << report.relisted.size() << " removed " << report.removed.size() << " left "
                << report.leftAlone.size() << " dropped " << report.droppedLines.size() << " kept "
                << report.keptLines.size() << '\n';
    } else {
      std::cerr << "unknown operation " << operation << '\n';
      return 2;
    }
  } catch (const sys::IoError& error) {
    // The steps up to the fault still count: a run that ends in an I/O error is killed at each of them too.
    std::cout << "I/O error: " << error.what() << '\n';
    status = 4;
  }
  std::cout << "steps " << fs.steps() << '\n';
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return run(argc, argv);
  } catch (const sys::IoError& error) {
    std::cout << "I/O error: " << error.what() << '\n';
    return 4;
  }
}
