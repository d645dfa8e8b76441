#include "win32/support/native_main_window.h"

#include <windows.h>
#include <commctrl.h>

#include "sys/paths.h"
#include "win32/support/window_driver.h"
#include "win32/text.h"

namespace testing_support {

NativeMainWindowFixture::NativeMainWindowFixture() {
  makeFolder(temp / "program");
  makeFolder(temp / "exe");
  makeFolder(gameFolder());
  registry = std::make_unique<sys::HiveFileRegistry>(temp / "hive.reg");
}

NativeMainWindowFixture::~NativeMainWindowFixture() {
  main.reset();
  win32::pump(2);
}

std::string NativeMainWindowFixture::programFolder() const { return temp / "program" + sys::kSep; }

void NativeMainWindowFixture::storeSettings(const std::string& listUpdate) {
  registry->writeValues("\\Software\\Varnikit", {{"CSDir", gameFolder()},
                                                  {"FilePath", programFolder()},
                                                  {"FilesListDir", programFolder() + "fileslist.dat"},
                                                  {"FilesInfoDir", programFolder() + "filesinfo.dat"},
                                                  {"ListUpdate", listUpdate},
                                                  {"AddFilesType", "2"}});
}

void NativeMainWindowFixture::createMainWindow() {
  const winui::Platform platform{fs, *registry, shell, windows, clock, temp / "exe" + sys::kSep, &ui};
  main = std::make_unique<winui::MainWindow>(platform);
}

std::string NativeMainWindowFixture::statusText() const {
  // In simple mode the one part is read as part 0 (it is written as SB_SIMPLEID).
  const auto length = SendMessageW(main->statusBar(), SB_GETTEXTLENGTHW, 0, 0);
  std::wstring text(static_cast<std::size_t>(LOWORD(length)) + 1, L'\0');
  SendMessageW(main->statusBar(), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text.data()));
  text.resize(LOWORD(length));
  return winui::narrow(text);
}

}  // namespace testing_support
