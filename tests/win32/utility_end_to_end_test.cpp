// The Windows sample utility end to end: installed through its handshake and started from the Utilities
// menu of the real main window, through ShellExecuteW and watched through FindWindowW.
#include <windows.h>

#include <filesystem>

#include "launchers/utilities.h"
#include "sys/clock.h"
#include "sys/paths.h"
#include "sys/shell.h"
#include "win32/support/native_main_window.h"
#include "win32/support/window_driver.h"
#include "win32/text.h"

namespace {

using namespace std::chrono_literals;
namespace drive = testing_support::win32;
using testing_support::readBytes;

// The manager's list as the core sees it, without its window.
class ListOnly : public launchers::UtilityManagerView {
 public:
  int count() override { return static_cast<int>(names.size()); }
  std::optional<std::string> selectedName() override { return std::nullopt; }
  void addName(const std::string& name) override { names.push_back(name); }
  void removeSelectedName() override {}
  void setStatusText(const std::string&) override {}
  void setEnabled(bool) override {}
  std::vector<std::string> names;
};

// The real lookup, with a look at the main window each time it answers.
class ObservedWindowFinder : public sys::WindowFinder {
 public:
  bool exists(const std::string& title) override {
    const bool found = real->exists(title);
    if (onAnswer) onAnswer(found);
    return found;
  }
  bool raise(const std::string& title) override { return real->raise(title); }
  std::unique_ptr<sys::WindowFinder> real = sys::systemWindowFinder();
  std::function<void(bool)> onAnswer;
};

class Win32SampleUtility : public testing_support::NativeMainWindowFixture {};

TEST_F(Win32SampleUtility, InstallsThroughItsHandshakeAndRunsFromTheMenuWhileTheMainWindowWaits) {
  // A name of this run's own, so a utility of another test run is not mistaken for it.
  const std::string name = "Пример утилиты " + std::to_string(GetCurrentProcessId());
  SetEnvironmentVariableW(L"VARNIKIT_SAMPLE_NAME", winui::wide(name).c_str());
  SetEnvironmentVariableW(L"VARNIKIT_SAMPLE_CLOSE_AFTER_MS", nullptr);
  const std::string built = sys::executableFolder() + "..\\tools\\sample-utility\\sample-utility.exe";
  ASSERT_TRUE(testing_support::fileExists(built)) << built;
  testing_support::makeFolder(temp / "download");
  const std::string downloaded = temp / "download/sample-utility.exe";
  std::filesystem::copy_file(sys::toPath(built), sys::toPath(downloaded));

  storeSettings();
  testing_support::writeBytes(programFolder() + "fileslist.dat", "");
  auto realShell = sys::systemShell();
  ObservedWindowFinder finder;
  createMainWindow(realShell.get(), &finder, &sys::systemClock());

  ListOnly manager;
  ui.expectFiles("Открыть", {downloaded});
  ui.expectAttention("Новая утилита \"" + name + "\" была успешно установлена");
  launchers::installUtility(main->program(), manager, 10s);
  ui.verifyAllAnswered();
  const std::string installed = programFolder() + "utilities\\sample-utility\\sample-utility.exe";
  EXPECT_EQ(readBytes(installed), readBytes(downloaded));
  EXPECT_EQ(manager.names, (std::vector<std::string>{name}));

  SendMessageW(main->hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetSubMenu(main->menu(), 1)), 1);
  ASSERT_EQ(main->utilityMenuItems(), (std::vector<std::string>{name}));

  SetEnvironmentVariableW(L"VARNIKIT_SAMPLE_CLOSE_AFTER_MS", L"700");
  main->utilityTimeout = 10s;
  bool seenRunning = false;
  bool enabledWhileRunning = false;
  finder.onAnswer = [&](bool found) {
    if (!found) return;
    seenRunning = true;
    enabledWhileRunning = enabledWhileRunning || IsWindowEnabled(main->hwnd());
  };
  drive::command(main->hwnd(), winui::MainWindow::util1);
  EXPECT_TRUE(seenRunning) << "the sample's window was found by its title";
  EXPECT_FALSE(enabledWhileRunning);
  EXPECT_FALSE(finder.real->exists(name)) << "the wait ends when the window is gone";
  EXPECT_TRUE(IsWindowEnabled(main->hwnd()));
  EXPECT_FALSE(testing_support::fileExists(programFolder() + "errors.txt"));
  SetEnvironmentVariableW(L"VARNIKIT_SAMPLE_CLOSE_AFTER_MS", nullptr);
  SetEnvironmentVariableW(L"VARNIKIT_SAMPLE_NAME", nullptr);
}

}  // namespace
