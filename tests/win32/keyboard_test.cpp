// The keyboard on the Win32 windows, as a player uses it: Tab visits every control of every window in
// reading order, and the focus is back on the control that had it once a real box or the input box has
// closed, so F2 on the installation list renames again at once.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <memory>

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
using winui::MainWindow;

// Every window of the program, made in the program's order.
struct AllWindows {
  explicit AllWindows(MainWindow& main)
      : installations(main), filesList(main), options(main), listInfo(main, filesList), runMenu(main),
        install(main, installations), command(main), utils(main), help(main) {
    main.setWindows({&options, &listInfo, &runMenu, &install, &command, &utils, &help});
  }
  winui::InstallationsPage installations;
  winui::FilesListPage filesList;
  winui::Options options;
  winui::ListInfo listInfo;
  winui::RunMenuEditor runMenu;
  winui::InstallDialog install;
  winui::Console command;
  winui::UtilitiesManager utils;
  winui::HelpWindow help;
};

class Win32Keyboard : public testing_support::NativeMainWindowFixture {
 protected:
  void SetUp() override {
    storeSettings();
    testing_support::writeBytes(programFolder() + "fileslist.dat", gameFolder() + sys::kSep + "liblist.gam\r\n");
    testing_support::writeBytes(programFolder() + "files" + sys::kSep + "list.dat", "Скины\r\n");
    createMainWindow();
    windows = std::make_unique<AllWindows>(*main);
    main->show();
    drive::pump();
  }
  std::unique_ptr<AllWindows> windows;
};

std::string className(HWND control) {
  wchar_t name[64] = {};
  GetClassNameW(control, name, 64);
  return winui::narrow(name);
}
std::string describe(HWND control) { return className(control) + " \"" + drive::text(control) + "\""; }

// A control a person can put the focus in; of a group of radio buttons, Tab stops at the checked one.
bool takesFocus(HWND control) {
  if (!IsWindowVisible(control) || !IsWindowEnabled(control)) return false;
  const std::string kind = className(control);
  const LONG type = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
  if (kind == "Button" && type == BS_AUTORADIOBUTTON) return SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
  if (kind == "Button") return type != BS_GROUPBOX;
  return kind == "Edit" || kind == "ListBox" || kind == "SysListView32" || kind == "SysTabControl32";
}

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
  std::vector<HWND> cycle{GetNextDlgTabItem(window, nullptr, FALSE)};
  for (HWND at = GetNextDlgTabItem(window, cycle[0], FALSE); at && at != cycle[0] && cycle.size() < 200;
       at = GetNextDlgTabItem(window, at, FALSE)) {
    EXPECT_FALSE(readsBefore(at, cycle.back())) << name << ": Tab back from " << describe(cycle.back()) << " to "
                                                << describe(at);
    cycle.push_back(at);
  }
  std::vector<HWND> controls;
  EnumChildWindows(
      window, [](HWND child, LPARAM all) { return reinterpret_cast<std::vector<HWND>*>(all)->push_back(child), TRUE; },
      reinterpret_cast<LPARAM>(&controls));
  for (HWND control : controls) {
    if (control == outside || !takesFocus(control)) continue;
    EXPECT_TRUE(std::count(cycle.begin(), cycle.end(), control)) << name << ": no Tab to " << describe(control);
  }
}

TEST_F(Win32Keyboard, TabVisitsEveryControlOfEveryWindowInReadingOrder) {
  expectReadingOrder(main->hwnd(), "Замена файлов");
  main->showPage(MainWindow::Page::FilesList);
  expectReadingOrder(main->hwnd(), "Список файлов");
  AllWindows& w = *windows;
  for (winui::SecondaryWindow* window : std::vector<winui::SecondaryWindow*>{
           &w.options, &w.listInfo, &w.runMenu, &w.install, &w.command, &w.utils, &w.help}) {
    window->show();
    drive::pump();
    expectReadingOrder(window->hwnd(), drive::text(window->hwnd()),
                       window == &w.command ? GetDlgItem(w.command.hwnd(), winui::Console::ListBox1) : nullptr);
    window->close();
  }
  // The read-only description takes no keys of the window: Tab goes on from it.
  HWND memo = w.installations.control(winui::InstallationsPage::Memo1);
  EXPECT_FALSE(SendMessageW(memo, WM_GETDLGCODE, VK_TAB, 0) & (DLGC_WANTALLKEYS | DLGC_WANTTAB));
}

// The real input box and message box, answered from inside their loops: once each has closed, the list
// has the focus again, and F2 there renames again without a click.
TEST_F(Win32Keyboard, AfterTheInputBoxAndABoxTheListHasTheFocusAndF2RenamesAgain) {
  main->ui().setPrompts(nullptr);
  HWND list = windows->installations.control(winui::InstallationsPage::ListBox1);
  drive::selectListViewRow(list, 0);
  SetFocus(list);
  for (const char* name : {"Модели", static_cast<const char*>(nullptr)}) {
    drive::whenModal([name] {
      HWND box = drive::topLevelWindow("Varnikit");
      if (box && name) SetWindowTextW(GetDlgItem(box, winui::InputBox::Field), winui::wide(name).c_str());
      if (box) SendMessageW(GetDlgItem(box, name ? IDOK : IDCANCEL), BM_CLICK, 0, 0);
      return box != nullptr;
    });
    SendMessageW(GetFocus(), WM_KEYDOWN, VK_F2, 0);
    EXPECT_TRUE(drive::modalActionDone()) << "F2 reached the list";
    EXPECT_EQ(GetFocus(), list) << "the focus is " << describe(GetFocus());
  }
  EXPECT_EQ(winui::checkListItems(list), std::vector<std::string>{"Модели"});
  drive::whenModal([] {
    HWND box = drive::topLevelWindow("Внимание");
    if (box) SendMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return box != nullptr;
  });
  app::showAttention(main->ui(), "Файлы восстановлены");
  EXPECT_EQ(GetFocus(), list);
}

}  // namespace
