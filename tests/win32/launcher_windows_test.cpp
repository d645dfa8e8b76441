// The run-menu editor, the utilities manager, the console and the help window on Windows: the real
// windows, driven by their messages.
#include <windows.h>
#include <commctrl.h>

#include "help/texts.h"
#include "sys/encoding.h"
#include "sys/paths.h"
#include "win32/console.h"
#include "win32/controls.h"
#include "win32/help.h"
#include "win32/run_menu_editor.h"
#include "win32/support/native_main_window.h"
#include "win32/support/window_driver.h"
#include "win32/text.h"
#include "win32/utilities.h"

namespace {

using testing_support::NativeMainWindowFixture;
using testing_support::readBytes;
using testing_support::writeBytes;
namespace drive = testing_support::win32;
using winui::RunMenuEditor;

std::string runMenuBytes(const std::vector<std::array<std::string, 3>>& entries) {
  std::string bytes;
  for (std::size_t k = 0; k < 10; ++k) {
    for (int f = 0; f < 3; ++f) bytes += (k < entries.size() ? entries[k][f] : std::string("empty")) + "\r\n";
  }
  return bytes;
}

bool readOnly(HWND edit) { return (GetWindowLongPtrW(edit, GWL_STYLE) & ES_READONLY) != 0; }

std::string statusBarText(HWND statusBar) {
  const auto length = SendMessageW(statusBar, SB_GETTEXTLENGTHW, 0, 0);
  std::wstring text(static_cast<std::size_t>(LOWORD(length)) + 1, L'\0');
  SendMessageW(statusBar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text.data()));
  text.resize(LOWORD(length));
  return winui::narrow(text);
}

class Win32LauncherWindows : public NativeMainWindowFixture {};

TEST_F(Win32LauncherWindows, RunMenuEditorEditsTheTableAndOkWritesTheFile) {
  storeSettings();
  writeBytes(programFolder() + "runmenu.dat", runMenuBytes({{"Контра", "C:\\games\\hl.exe", "-game cstrike"}}));
  createMainWindow();
  RunMenuEditor editor(*main);
  editor.show();
  drive::pump();
  EXPECT_EQ(drive::text(editor.hwnd()), "Меню запуска");
  EXPECT_FALSE(IsWindowEnabled(main->hwnd()));
  EXPECT_EQ(statusText(), "открыто окно настройки запуска файлов...");
  HWND list = editor.control(RunMenuEditor::ListBox1);
  ASSERT_EQ(winui::listItems(list).size(), 10u);
  EXPECT_EQ(winui::listItems(list)[0], "Контра");
  EXPECT_EQ(drive::childTexts(editor.hwnd(), "Button"),
            (std::vector<std::string>{"Список пунктов меню", "Информация о пункте меню", "...", "Удалить", "Запустить",
                                      "Помощь", "&OK"}));

  // Without a row the fields take nothing, and a clicked one locks.
  HWND name = editor.control(RunMenuEditor::Edit1);
  HWND path = editor.control(RunMenuEditor::edit2);
  drive::typeText(name, "typed");
  EXPECT_EQ(drive::text(name), "");
  SendMessageW(path, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  SendMessageW(path, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  EXPECT_TRUE(readOnly(path));
  EXPECT_FALSE(readOnly(editor.control(RunMenuEditor::Edit3)));

  drive::selectRow(list, 0);
  EXPECT_EQ(drive::text(name), "Контра");
  EXPECT_EQ(drive::text(path), "C:\\games\\hl.exe");
  EXPECT_FALSE(readOnly(path));
  drive::typeText(name, "Контра 1.6");
  EXPECT_EQ(main->program().runMenu[0].name, "Контра 1.6");
  SendMessageW(editor.hwnd(), WM_COMMAND, MAKEWPARAM(RunMenuEditor::Edit1, EN_KILLFOCUS), reinterpret_cast<LPARAM>(name));
  EXPECT_EQ(winui::listItems(list)[0], "Контра 1.6");
  EXPECT_EQ(winui::listSelection(list), 0) << "the selected row stays selected";

  // A free entry: blank fields, and the marker stays for the fields left alone.
  drive::selectRow(list, 1);
  EXPECT_EQ(drive::text(name), "");
  drive::typeText(name, "Карта");
  drive::click(editor.control(RunMenuEditor::Button3));
  EXPECT_FALSE(editor.isVisible());
  EXPECT_TRUE(IsWindowEnabled(main->hwnd()));
  EXPECT_EQ(statusText(), "");
  // Written in the Cyrillic code page.
  EXPECT_EQ(readBytes(programFolder() + "runmenu.dat"),
            *sys::toCp1251(runMenuBytes({{"Контра 1.6", "C:\\games\\hl.exe", "-game cstrike"}, {"Карта", "empty", "empty"}})));
}

TEST_F(Win32LauncherWindows, RunMenuEditorDeletesAnEntryAndAsksForARowFirst) {
  storeSettings();
  writeBytes(programFolder() + "runmenu.dat", runMenuBytes({{"A", "C:\\a.exe", ""}}));
  createMainWindow();
  RunMenuEditor editor(*main);
  editor.show();
  ui.expectError("Укажите пункт меню");
  drive::click(editor.control(RunMenuEditor::Button1));
  EXPECT_TRUE(ui.allAnswered());
  drive::selectRow(editor.control(RunMenuEditor::ListBox1), 0);
  drive::click(editor.control(RunMenuEditor::Button1));
  EXPECT_EQ(drive::text(editor.control(RunMenuEditor::Edit1)), "");
  EXPECT_EQ(winui::listItems(editor.control(RunMenuEditor::ListBox1))[0], "empty");
  EXPECT_EQ(main->program().runMenu[0].path, "empty");
  // The close box keeps the file as it was.
  SendMessageW(editor.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(editor.isVisible());
  EXPECT_EQ(readBytes(programFolder() + "runmenu.dat"), runMenuBytes({{"A", "C:\\a.exe", ""}}));
}

TEST_F(Win32LauncherWindows, UtilitiesManagerListsRemovesAndKeepsItsWindowWhileAnInstallWaits) {
  storeSettings();
  const std::string a = programFolder() + "utilities\\a\\a.exe";
  const std::string b = programFolder() + "utilities\\b\\b.exe";
  writeBytes(a, "x");
  writeBytes(b, "x");
  writeBytes(programFolder() + "utilities.dat", "A\r\n" + a + "\r\nБэ\r\n" + b + "\r\n");
  createMainWindow();
  main->utilityTimeout = std::chrono::milliseconds(300);
  winui::UtilitiesManager manager(*main);
  manager.show();
  EXPECT_EQ(drive::text(manager.hwnd()), "Утилиты");
  HWND list = manager.control(winui::UtilitiesManager::ListBox1);
  EXPECT_EQ(winui::listItems(list), (std::vector<std::string>{"A", "Бэ"}));
  EXPECT_FALSE(IsWindowEnabled(main->hwnd()));
  EXPECT_EQ(statusText(), "настройка утилит...");

  drive::selectRow(list, 1);
  ui.expectAttention("Утилита удалена");
  SendMessageW(list, WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_EQ(winui::listItems(list), std::vector<std::string>{"A"});
  EXPECT_EQ(winui::listSelection(list), -1);
  EXPECT_FALSE(testing_support::fileExists(b));
  ui.expectAttention("Укажите утилиту");
  SendMessageW(list, WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_TRUE(ui.allAnswered());

  const std::string picked = temp / "download\\tool.exe";
  writeBytes(picked, "program");
  std::string statusDuringWait;
  bool enabledDuringWait = true;
  shell.onOpen = [&](const auto&) {
    statusDuringWait = statusBarText(manager.control(winui::UtilitiesManager::StatusBar1));
    enabledDuringWait = IsWindowEnabled(manager.hwnd()) != FALSE;
    SendMessageW(manager.hwnd(), WM_CLOSE, 0, 0);  // refused while the install waits
    writeBytes(temp / "download\\setup.dat", "Tool\r\ntool\r\n");
  };
  ui.expectFiles("Открыть", {picked});
  ui.expectAttention("Новая утилита \"Tool\" была успешно установлена");
  drive::click(manager.control(winui::UtilitiesManager::Button1));
  EXPECT_EQ(statusDuringWait, "Установка утилиты...Ждите...");
  EXPECT_FALSE(enabledDuringWait);
  EXPECT_TRUE(manager.isVisible());
  EXPECT_TRUE(IsWindowEnabled(manager.hwnd()));
  EXPECT_EQ(statusBarText(manager.control(winui::UtilitiesManager::StatusBar1)), "");
  EXPECT_EQ(winui::listItems(list), (std::vector<std::string>{"A", "Tool"}));

  drive::click(manager.control(winui::UtilitiesManager::Button3));
  EXPECT_FALSE(manager.isVisible());
  EXPECT_TRUE(IsWindowEnabled(main->hwnd()));
}

TEST_F(Win32LauncherWindows, ConsoleLowersWhatIsTypedAndRunsItOnEnter) {
  storeSettings();
  createMainWindow();
  winui::Console console(*main);
  console.show();
  EXPECT_EQ(drive::text(console.hwnd()), "Командная строка");
  EXPECT_TRUE(GetWindowLongPtrW(console.hwnd(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(IsWindowEnabled(main->hwnd()));
  EXPECT_EQ(statusText(), "командная строка...");
  HWND line = console.control(winui::Console::Edit1);
  HWND output = console.control(winui::Console::ListBox1);

  main->program().settings.CSDir = "changed in memory";
  drive::typeText(line, "READREG");
  EXPECT_EQ(drive::text(line), "readreg");
  SendMessageW(line, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(winui::listItems(output), std::vector<std::string>{"Переменные загружены из реестра"});
  EXPECT_EQ(main->program().settings.CSDir, gameFolder());
  EXPECT_EQ(drive::text(line), "");
  drive::typeText(line, "ДАТА");
  EXPECT_EQ(drive::text(line), "дата");
  SendMessageW(line, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(winui::listItems(output).back(), "Имя команды указано неправильно");

  SendMessageW(console.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindowEnabled(main->hwnd()));
  console.show();
  EXPECT_TRUE(winui::listItems(output).empty()) << "each showing starts empty";
}

TEST_F(Win32LauncherWindows, HelpWindowShowsTheChosenTopicAndLeavesTheMainWindowUsable) {
  storeSettings();
  createMainWindow();
  winui::HelpWindow helpWindow(*main);
  helpWindow.presenter().N34Click();
  EXPECT_TRUE(helpWindow.isVisible());
  EXPECT_EQ(drive::text(helpWindow.hwnd()), "Помощь");
  EXPECT_TRUE(IsWindowEnabled(main->hwnd())) << "not modal";
  EXPECT_TRUE(GetWindowLongPtrW(helpWindow.hwnd(), GWL_STYLE) & WS_THICKFRAME);
  RECT client{};
  GetClientRect(helpWindow.hwnd(), &client);
  EXPECT_EQ(client.right, winui::scaled(helpWindow.hwnd(), 565));
  EXPECT_EQ(client.bottom, winui::scaled(helpWindow.hwnd(), 345));

  HWND list = helpWindow.control(winui::HelpWindow::ListBox1);
  HWND memo = helpWindow.control(winui::HelpWindow::Memo1);
  EXPECT_EQ(winui::listItems(list), help::topicTitles());
  EXPECT_EQ(winui::listSelection(list), -1);
  EXPECT_EQ(drive::text(memo), "");
  drive::selectRow(list, 4);
  EXPECT_EQ(drive::text(memo), help::topicText(4));

  helpWindow.presenter().Button4Click();  // open at another topic
  EXPECT_EQ(winui::listSelection(list), help::kInstallingTopic);
  EXPECT_EQ(drive::text(memo), help::topicText(help::kInstallingTopic));

  SendMessageW(helpWindow.hwnd(), WM_CLOSE, 0, 0);
  helpWindow.presenter().N34Click();
  EXPECT_EQ(winui::listSelection(list), -1);
  EXPECT_EQ(drive::text(memo), "");
}

// The main window's items open these windows, each its own.
TEST_F(Win32LauncherWindows, MenuItemsOpenTheirWindows) {
  storeSettings();
  createMainWindow();
  RunMenuEditor editor(*main);
  winui::UtilitiesManager manager(*main);
  winui::Console console(*main);
  winui::HelpWindow helpWindow(*main);
  winui::MainWindow::Windows windows;
  windows.runMenu = &editor;
  windows.utils = &manager;
  windows.command = &console;
  windows.help = &helpWindow;
  main->setWindows(windows);
  const struct {
    int command;
    winui::SecondaryWindow* window;
  } items[] = {{winui::MainWindow::N15, &editor},
               {winui::MainWindow::N13, &manager},
               {winui::MainWindow::N18, &console},
               {winui::MainWindow::N34, &helpWindow}};
  for (const auto& item : items) {
    drive::command(main->hwnd(), item.command);
    EXPECT_TRUE(item.window->isVisible()) << drive::text(item.window->hwnd());
    SendMessageW(item.window->hwnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(item.window->isVisible());
  }
  main->setWindows({});
}

}  // namespace
