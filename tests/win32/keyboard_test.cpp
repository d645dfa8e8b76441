// The keyboard on the Win32 windows, as a player uses it: the focus is back on the control that had it
// once a real box or the input box has closed, so F2 on the installation list renames again at once.
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "app/ui.h"
#include "sys/paths.h"
#include "win32/check_list.h"
#include "win32/console.h"
#include "win32/files_list_page.h"
#include "win32/help.h"
#include "win32/input_box.h"
#include "win32/install_dialog.h"
#include "win32/installations_page.h"
#include "win32/list_info.h"
#include "win32/options.h"
#include "win32/run_menu_editor.h"
#include "win32/support/native_main_window.h"
#include "win32/support/window_driver.h"
#include "win32/text.h"
#include "win32/utilities.h"

namespace {

namespace drive = testing_support::win32;
using testing_support::writeBytes;
using winui::MainWindow;

// Every window of the program, created as the program creates them.
class Win32Keyboard : public testing_support::NativeMainWindowFixture {
 protected:
  void SetUp() override {
    storeSettings();
    writeBytes(programFolder() + "fileslist.dat", gameFolder() + sys::kSep + "liblist.gam\r\n");
    writeBytes(programFolder() + "files" + sys::kSep + "list.dat", "Скины\r\n");
    createMainWindow();
    installations = std::make_unique<winui::InstallationsPage>(*main);
    filesList = std::make_unique<winui::FilesListPage>(*main);
    options = std::make_unique<winui::Options>(*main);
    listInfo = std::make_unique<winui::ListInfo>(*main, *filesList);
    runMenu = std::make_unique<winui::RunMenuEditor>(*main);
    install = std::make_unique<winui::InstallDialog>(*main, *installations);
    command = std::make_unique<winui::Console>(*main);
    utils = std::make_unique<winui::UtilitiesManager>(*main);
    help = std::make_unique<winui::HelpWindow>(*main);
    main->setWindows({options.get(), listInfo.get(), runMenu.get(), install.get(), command.get(), utils.get(),
                      help.get()});
    main->show();
    drive::pump();
  }
  void TearDown() override {
    help.reset();
    utils.reset();
    command.reset();
    install.reset();
    runMenu.reset();
    listInfo.reset();
    options.reset();
    filesList.reset();
    installations.reset();
  }

  std::unique_ptr<winui::InstallationsPage> installations;
  std::unique_ptr<winui::FilesListPage> filesList;
  std::unique_ptr<winui::Options> options;
  std::unique_ptr<winui::ListInfo> listInfo;
  std::unique_ptr<winui::RunMenuEditor> runMenu;
  std::unique_ptr<winui::InstallDialog> install;
  std::unique_ptr<winui::Console> command;
  std::unique_ptr<winui::UtilitiesManager> utils;
  std::unique_ptr<winui::HelpWindow> help;
};

std::string describe(HWND control) {
  wchar_t name[64] = {};
  GetClassNameW(control, name, 64);
  return winui::narrow(name) + " \"" + drive::text(control) + "\"";
}

// The real input box and message box, answered from inside their loops: once each has closed, the list
// has the focus again, and F2 there renames again without a click.
TEST_F(Win32Keyboard, AfterTheInputBoxAndABoxTheListHasTheFocusAndF2RenamesAgain) {
  main->ui().setPrompts(nullptr);
  HWND list = installations->control(winui::InstallationsPage::ListBox1);
  drive::selectListViewRow(list, 0);
  SetFocus(list);
  const auto answerRename = [](const char* name) {
    drive::whenModal([name] {
      HWND box = drive::topLevelWindow("Varnikit");
      if (!box) return false;
      if (name) SetWindowTextW(GetDlgItem(box, winui::InputBox::Field), winui::wide(name).c_str());
      SendMessageW(GetDlgItem(box, name ? IDOK : IDCANCEL), BM_CLICK, 0, 0);
      return true;
    });
  };
  answerRename("Модели");
  SendMessageW(GetFocus(), WM_KEYDOWN, VK_F2, 0);
  ASSERT_TRUE(drive::modalActionDone());
  EXPECT_EQ(winui::checkListItems(list), std::vector<std::string>{"Модели"});
  EXPECT_EQ(GetFocus(), list) << "the focus is " << describe(GetFocus());

  answerRename(nullptr);
  SendMessageW(GetFocus(), WM_KEYDOWN, VK_F2, 0);
  EXPECT_TRUE(drive::modalActionDone()) << "F2 right after the rename reached the list";
  EXPECT_EQ(GetFocus(), list);

  drive::whenModal([] {
    HWND box = drive::topLevelWindow("Внимание");
    if (box) SendMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return box != nullptr;
  });
  app::showAttention(main->ui(), "Файлы восстановлены");
  EXPECT_TRUE(drive::modalActionDone());
  EXPECT_EQ(GetFocus(), list);
}

}  // namespace
