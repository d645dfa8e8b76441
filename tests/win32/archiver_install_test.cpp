// RAR and 7z packs installed through the real Win32 install dialog with an archiver of the machine: the
// stand-ins of tar.exe, 7-Zip and WinRAR's UnRAR.exe, each found where its installation says it is (the
// system folder, the registry), and none at all.
#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <random>

#include "installs/texts.h"
#include "sys/paths.h"
#include "win32/check_list.h"
#include "win32/controls.h"
#include "win32/install_dialog.h"
#include "win32/installations_page.h"
#include "win32/support/native_main_window.h"
#include "win32/support/window_driver.h"

namespace {

namespace drive = testing_support::win32;
namespace texts = installs::texts;
using testing_support::fileExists;
using testing_support::folderExists;
using testing_support::readBytes;
using testing_support::writeBytes;
using winui::InstallDialog;
using winui::InstallationsPage;

std::wstring wide(const std::string& utf8) { return sys::toPath(utf8).wstring(); }

// Files dropped on a list as the shell hands them over: a DROPFILES block of wide paths.
void dropOn(HWND list, const std::vector<std::string>& paths) {
  std::wstring names;
  for (const auto& path : paths) names += wide(path) + L'\0';
  names += L'\0';
  HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
  auto* header = static_cast<DROPFILES*>(GlobalLock(block));
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), names.data(), names.size() * sizeof(wchar_t));
  GlobalUnlock(block);
  SendMessageW(list, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
}

// The machine as an archiver's installation leaves it, and nothing of the real one: HKEY_CURRENT_USER and
// HKEY_LOCAL_MACHINE mapped onto fresh keys, the system and program folders named by the environment
// pointing into the test's folder.
class ArchiverMachine {
 public:
  explicit ArchiverMachine(const std::string& empty) {
    std::random_device random;
    sandbox_ = L"Software\\Varnikit tests\\archivers-" + std::to_wstring(random());
    for (int i = 0; i < 2; ++i) {
      RegCreateKeyExW(HKEY_CURRENT_USER, (sandbox_ + (i ? L"\\machine" : L"\\user")).c_str(), 0, nullptr, 0,
                      KEY_ALL_ACCESS, nullptr, &roots_[i], nullptr);
    }
    RegOverridePredefKey(HKEY_CURRENT_USER, roots_[0]);
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, roots_[1]);
    for (const wchar_t* name : {L"SystemRoot", L"ProgramW6432", L"ProgramFiles", L"ProgramFiles(x86)"}) {
      wchar_t value[4096];
      const DWORD length = GetEnvironmentVariableW(name, value, 4096);
      saved_.push_back({name, length > 0 && length < 4096 ? std::optional<std::wstring>(value) : std::nullopt});
      SetEnvironmentVariableW(name, wide(empty).c_str());
    }
  }
  ~ArchiverMachine() {
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    for (HKEY root : roots_) RegCloseKey(root);
    RegDeleteTreeW(HKEY_CURRENT_USER, sandbox_.c_str());
    for (const auto& [name, value] : saved_) SetEnvironmentVariableW(name.c_str(), value ? value->c_str() : nullptr);
  }
  void setSystemRoot(const std::string& folder) { SetEnvironmentVariableW(L"SystemRoot", wide(folder).c_str()); }
  void setValue(HKEY root, const std::wstring& key, const std::wstring& name, const std::string& value) {
    HKEY handle = nullptr;
    RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr);
    const std::wstring data = wide(value);
    RegSetValueExW(handle, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
  }

 private:
  std::wstring sandbox_;
  HKEY roots_[2] = {nullptr, nullptr};
  std::vector<std::pair<std::wstring, std::optional<std::wstring>>> saved_;
};

class Win32ArchiverInstall : public testing_support::NativeMainWindowFixture {
 protected:
  std::string standIns() const { return sys::executableFolder() + "archivers"; }
  std::string gameFile(const std::string& relative, const std::string& bytes) {
    const std::string path = gameFolder() + sys::kSep + testing_support::native(relative);
    writeBytes(path, bytes);
    return path;
  }
  // The pack as .rar and as .7z, each the stand-ins' directives beside the recorded listings.
  void downloads() {
    for (const char* name : {"pack.tar.txt", "pack.7z.slt.txt", "pack.rar.slt.txt", "pack.rar.vt.txt", "pack.rar.lb.txt"}) {
      writeBytes(temp / ("downloads/" + std::string(name)),
                 readBytes(sys::executableFolder() + "fixtures\\archivers\\" + name));
    }
    writeBytes(temp / "downloads/pack/models/player/gign/gign.mdl", "new gign");
    writeBytes(temp / "downloads/pack/models/player/gign/Описание.txt", "text");
    writeBytes(temp / "downloads/pack/sound/radio/go.wav", "new go");
    writeBytes(temp / "downloads/pack/readme.txt", "not a game file here");
    writeBytes(temp / "downloads/pack.rar", "listing.tar=pack.tar.txt\nlisting.7z=pack.rar.slt.txt\n"
                                            "listing.unrar=pack.rar.vt.txt\nbare.unrar=pack.rar.lb.txt\nsource=pack\n");
    writeBytes(temp / "downloads/pack.7z", "listing.tar=pack.tar.txt\nlisting.7z=pack.7z.slt.txt\nsource=pack\n");
  }
};

TEST_F(Win32ArchiverInstall, EachArchiverInstallsTheRarAndThe7zPackAndTheRestorePutsTheOriginalsBack) {
  const std::string gign = gameFile("models/player/gign/gign.mdl", "old gign");
  const std::string go = gameFile("sound/radio/go.wav", "old go");
  fs.writeLines(programFolder() + "fileslist.dat", {gign, go});
  downloads();
  storeSettings();
  createMainWindow();
  InstallationsPage page(*main);
  InstallDialog dialog(*main, page);
  winui::MainWindow::Windows windows;
  windows.install = &dialog;
  main->setWindows(windows);
  main->showPage(winui::MainWindow::Page::EditMenu);

  struct Way {
    const char* archiver;
    std::function<void(ArchiverMachine&)> install;
    std::vector<const char*> packs;
  };
  const std::vector<Way> ways = {
      {"tar.exe", [&](ArchiverMachine& machine) { machine.setSystemRoot(standIns()); }, {"pack.rar", "pack.7z"}},
      {"7-Zip", [&](ArchiverMachine& machine) {
         machine.setValue(HKEY_CURRENT_USER, L"SOFTWARE\\7-Zip", L"Path", standIns() + "\\7-Zip\\");
       }, {"pack.rar", "pack.7z"}},
      {"WinRAR", [&](ArchiverMachine& machine) {
         machine.setValue(HKEY_LOCAL_MACHINE, L"SOFTWARE\\WinRAR", L"exe64", standIns() + "\\WinRAR\\WinRAR.exe");
       }, {"pack.rar"}},
  };
  for (const auto& way : ways) {
    for (const char* pack : way.packs) {
      SCOPED_TRACE(std::string(way.archiver) + " " + pack);
      ArchiverMachine machine(temp / "no-windows");
      way.install(machine);
      drive::click(page.control(InstallationsPage::Button1));
      ASSERT_TRUE(dialog.isVisible());
      ui.expectFiles(texts::kArchiveChooserTitle, {temp / ("downloads/" + std::string(pack))});
      drive::command(dialog.hwnd(), InstallDialog::N9);
      ASSERT_EQ(winui::listItems(dialog.control(InstallDialog::ListBox1)),
                (std::vector<std::string>{std::string(pack) + "/models/player/gign/gign.mdl",
                                          std::string(pack) + "/sound/radio/go.wav"}));
      ui.expectInput("Внимание", texts::kNamePrompt, "Скины");
      ui.expectAttention(texts::kStartGameQuestion, app::Answer::No);
      drive::click(dialog.control(InstallDialog::Button1));
      ui.verifyAllAnswered();
      EXPECT_EQ(readBytes(gign), "new gign");
      EXPECT_EQ(readBytes(go), "new go");
      EXPECT_FALSE(folderExists(programFolder() + "unpacked.tmp"));

      drive::selectListViewRow(page.control(InstallationsPage::ListBox1), 0);
      ui.expectAttention(texts::kRestored);
      drive::click(page.control(InstallationsPage::Button2));
      ui.verifyAllAnswered();
      EXPECT_EQ(readBytes(gign), "old gign");
      EXPECT_EQ(readBytes(go), "old go");
    }
  }
  EXPECT_FALSE(fileExists(programFolder() + "errors.txt"));
  main->setWindows({});
}

TEST_F(Win32ArchiverInstall, WithNoArchiverTheChooserOffersRarAnd7zAndOneBoxSaysWhatToInstall) {
  const std::string gign = gameFile("models/player/gign/gign.mdl", "old gign");
  fs.writeLines(programFolder() + "fileslist.dat", {gign});
  downloads();
  storeSettings();
  createMainWindow();
  InstallationsPage page(*main);
  InstallDialog dialog(*main, page);
  winui::MainWindow::Windows windows;
  windows.install = &dialog;
  main->setWindows(windows);
  main->showPage(winui::MainWindow::Page::EditMenu);
  ArchiverMachine machine(temp / "no-windows");

  drive::click(page.control(InstallationsPage::Button1));
  ui.expectFiles(texts::kArchiveChooserTitle, {temp / "downloads/pack.rar"});
  ui.expectAttention(texts::kNoArchiver);
  drive::command(dialog.hwnd(), InstallDialog::N9);
  ui.verifyAllAnswered();
  EXPECT_EQ(ui.fileRequests.back().filters.at(0).second, "*.zip *.rar *.7z");
  // Two dropped at once: still one box.
  ui.expectAttention(texts::kNoArchiver);
  dropOn(dialog.control(InstallDialog::ListBox1), {temp / "downloads/pack.rar", temp / "downloads/pack.7z"});
  ui.verifyAllAnswered();
  EXPECT_TRUE(winui::listItems(dialog.control(InstallDialog::ListBox1)).empty());
  EXPECT_EQ(readBytes(gign), "old gign");
  main->setWindows({});
}

}  // namespace
