// The keyboard on the Win32 windows, as a player uses it: Tab visits every control of every window in
// reading order, and the focus is back on the control that had it once a real box or the input box has
// closed, so F2 on the installation list renames again at once.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
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

std::string className(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return winui::narrow(name);
}

// A control a person can put the keyboard focus in. Of a group of radio buttons Tab reaches the checked
// one (the arrows move within the group).
bool takesFocus(HWND control) {
  if (!IsWindowVisible(control) || !IsWindowEnabled(control)) return false;
  const std::string kind = className(control);
  const LONG style = GetWindowLongW(control, GWL_STYLE);
  if (kind == "Button" && (style & BS_TYPEMASK) == BS_AUTORADIOBUTTON) {
    return SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  if (kind == "Button") return (style & BS_TYPEMASK) != BS_GROUPBOX;
  return kind == "Edit" || kind == "ListBox" || kind == "SysListView32" || kind == "SysTabControl32" ||
         kind == "ComboBox";
}

std::vector<HWND> focusableControls(HWND window) {
  std::vector<HWND> found;
  EnumChildWindows(
      window,
      [](HWND child, LPARAM data) {
        if (takesFocus(child)) reinterpret_cast<std::vector<HWND>*>(data)->push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// The controls Tab reaches one after the other, once round from the first.
std::vector<HWND> tabCycle(HWND window) {
  std::vector<HWND> cycle;
  HWND first = GetNextDlgTabItem(window, nullptr, FALSE);
  for (HWND at = first; at && cycle.size() < 200;) {
    cycle.push_back(at);
    at = GetNextDlgTabItem(window, at, FALSE);
    if (at == first) break;
  }
  return cycle;
}

std::string describe(HWND control) { return className(control) + " \"" + drive::text(control) + "\""; }

// B comes before A in reading order: above it in the same column, or left of it in the same row.
bool readsBefore(HWND b, HWND a) {
  RECT rb{}, ra{};
  GetWindowRect(b, &rb);
  GetWindowRect(a, &ra);
  const bool sameColumn = rb.left < ra.right && ra.left < rb.right;
  const bool sameRow = rb.top < ra.bottom && ra.top < rb.bottom;
  return (rb.bottom <= ra.top && sameColumn) || (sameRow && rb.right <= ra.left);
}

// outside: a control that is only read (the console's output: its command line keeps the focus).
void expectReadingOrder(HWND window, const std::string& name, HWND outside = nullptr) {
  const std::vector<HWND> cycle = tabCycle(window);
  for (HWND control : focusableControls(window)) {
    if (control == outside) continue;
    EXPECT_NE(std::find(cycle.begin(), cycle.end(), control), cycle.end())
        << name << ": Tab never reaches " << describe(control);
  }
  for (std::size_t i = 1; i < cycle.size(); ++i) {
    EXPECT_FALSE(readsBefore(cycle[i], cycle[i - 1]))
        << name << ": Tab goes back from " << describe(cycle[i - 1]) << " to " << describe(cycle[i]);
  }
}

TEST_F(Win32Keyboard, TabVisitsEveryControlOfEveryWindowInReadingOrder) {
  expectReadingOrder(main->hwnd(), "Замена файлов");
  main->showPage(MainWindow::Page::FilesList);
  expectReadingOrder(main->hwnd(), "Список файлов");
  const std::pair<const char*, winui::SecondaryWindow*> windows[] = {
      {"Настройки", options.get()}, {"Информация", listInfo.get()}, {"Запуск", runMenu.get()},
      {"Установка файлов", install.get()}, {"Командная строка", command.get()}, {"Утилиты", utils.get()},
      {"Помощь", help.get()}};
  for (const auto& [name, window] : windows) {
    window->show();
    drive::pump();
    expectReadingOrder(window->hwnd(), name,
                       window == command.get() ? GetDlgItem(command->hwnd(), winui::Console::ListBox1) : nullptr);
    window->close();
    drive::pump();
  }
}

// A read-only multi-line field takes no keys of the window: Tab goes on from the description.
TEST_F(Win32Keyboard, TheReadOnlyDescriptionPassesTabOn) {
  HWND memo = installations->control(winui::InstallationsPage::Memo1);
  MSG tab{memo, WM_KEYDOWN, VK_TAB, 0, 0, {}};
  EXPECT_FALSE(SendMessageW(memo, WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(&tab)) &
               (DLGC_WANTALLKEYS | DLGC_WANTTAB));
  SetFocus(memo);
  MSG message{memo, WM_KEYDOWN, VK_TAB, 0, 0, {}};
  IsDialogMessageW(main->hwnd(), &message);
  EXPECT_EQ(GetFocus(), installations->control(winui::InstallationsPage::Button1));
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
