// The Win32 main window, created for real and driven by its messages.
#include <windows.h>
#include <commctrl.h>

#include "launchers/run_menu.h"
#include "sys/encoding.h"
#include "sys/error.h"
#include "win32/controls.h"
#include "win32/secondary_window.h"
#include "win32/support/native_main_window.h"
#include "win32/support/window_driver.h"
#include "win32/text.h"

namespace {

using testing_support::NativeMainWindowFixture;
namespace drive = testing_support::win32;
using winui::MainWindow;

class Win32MainWindow : public NativeMainWindowFixture {};

std::vector<std::string> tabCaptions(HWND tabs) {
  std::vector<std::string> captions;
  const auto count = SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0);
  for (int index = 0; index < count; ++index) {
    wchar_t text[128] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 128;
    SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    captions.push_back(winui::narrow(text));
  }
  return captions;
}

TEST_F(Win32MainWindow, FrameHasTheCaptionSizeMenusAndPagesOfTheProgram) {
  storeSettings();
  createMainWindow();
  EXPECT_EQ(drive::text(main->hwnd()), "Varnikit 1.0    |    build: 1374");
  RECT client{};
  GetClientRect(main->hwnd(), &client);
  EXPECT_EQ(client.right, winui::scaled(main->hwnd(), 658));
  EXPECT_EQ(client.bottom, winui::scaled(main->hwnd(), 361));
  // Fixed size: no sizing border, no maximise box.
  const auto style = GetWindowLongPtrW(main->hwnd(), GWL_STYLE);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);

  EXPECT_EQ(drive::menuItems(main->menu()), (std::vector<std::string>{"&Файл", "&Утилиты", "&Запуск", "&Ссылки", "&?"}));
  EXPECT_EQ(drive::menuItems(GetSubMenu(main->menu(), 0)),
            (std::vector<std::string>{"&Настройки", "-", "&Служебные", "-", "&Выход"}));
  EXPECT_EQ(drive::menuItems(GetSubMenu(GetSubMenu(main->menu(), 0), 2)),
            (std::vector<std::string>{"&Командная строка", "&Значения переменных", "Log ошибок", "-", "Информация"}));
  EXPECT_EQ(drive::menuItems(GetSubMenu(main->menu(), 4)),
            (std::vector<std::string>{"&Помощь", "О Программе", "-", "Посетить сайт", "Написать письмо", "-",
                                      "Поиск обновлений"}));
  EXPECT_EQ(tabCaptions(main->pages()), (std::vector<std::string>{"Замена файлов", "Список файлов"}));
}

TEST_F(Win32MainWindow, RunAndUtilityMenusShowTheNamedEntriesWhenOpened) {
  storeSettings();
  // Entry 2 named, the others free; one utility in slot 1.
  std::string runMenu;
  for (int entry = 1; entry <= 10; ++entry) {
    runMenu += entry == 2 ? "Карта\r\nC:\\maps\\editor.exe\r\n-fast\r\n" : "empty\r\nempty\r\nempty\r\n";
  }
  testing_support::writeBytes(programFolder() + "runmenu.dat", runMenu);
  testing_support::writeBytes(programFolder() + "utilities.dat", "Пример\r\nC:\\u\\sample.exe\r\n");
  createMainWindow();
  HMENU run = GetSubMenu(main->menu(), 2);
  HMENU utilities = GetSubMenu(main->menu(), 1);
  SendMessageW(main->hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(run), 2);
  SendMessageW(main->hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(utilities), 1);
  EXPECT_EQ(drive::menuItems(run), (std::vector<std::string>{"Карта", "-", "Настройка"}));
  EXPECT_EQ(drive::menuItems(utilities), (std::vector<std::string>{"Пример", "-", "Настройка"}));
  EXPECT_EQ(main->runMenuItems(), (std::vector<std::string>{"Карта"}));

  // The utility list is read again when the menu opens: a slot freed by another window disappears.
  testing_support::writeBytes(programFolder() + "utilities.dat", "");
  SendMessageW(main->hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(utilities), 1);
  EXPECT_EQ(drive::menuItems(utilities), (std::vector<std::string>{"Настройка"}));
}

TEST_F(Win32MainWindow, MenuCommandsReachTheirHandlers) {
  storeSettings();
  createMainWindow();
  // A run-menu entry whose program is gone: the error box and its log line.
  main->program().runMenu[0] = {"Нет", temp / "missing.exe", ""};
  ui.expectError("Файл \"" + temp / "missing.exe" + "\" не найден");
  drive::command(main->hwnd(), MainWindow::Run1);
  EXPECT_TRUE(ui.allAnswered());
  EXPECT_TRUE(testing_support::fileExists(programFolder() + "errors.txt"));

  // Links open their address through the shell.
  drive::command(main->hwnd(), MainWindow::CounterStrike2);
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].file, "https://www.counter-strike.net/");

  // "Log ошибок" opens the log that now exists.
  drive::command(main->hwnd(), MainWindow::Log1);
  ASSERT_EQ(shell.calls.size(), 2u);
  EXPECT_EQ(shell.calls[1].file, programFolder() + "errors.txt");
}

TEST_F(Win32MainWindow, FirstShowingWithoutCatalogueAnnouncesAndScans) {
  storeSettings("2");
  testing_support::writeBytes(gameFolder() + "\\models\\gign.mdl", "model");
  createMainWindow();
  ui.expectAttention("Необходимо произвести поиск файлов в папке с игрой");
  ui.expectMessage("Поиск файлов завершен", "Найдено 1 файлов");
  main->show(SW_SHOWNOACTIVATE);
  ASSERT_TRUE(drive::pumpUntil([&] { return ui.allAnswered() && testing_support::fileExists(programFolder() + "fileslist.dat"); }));
  drive::pump();
  EXPECT_NE(testing_support::readBytes(programFolder() + "fileslist.dat").find("gign.mdl"), std::string::npos);
  EXPECT_TRUE(IsWindowEnabled(main->hwnd()));
  EXPECT_EQ(main->currentPage(), MainWindow::Page::EditMenu);
}

TEST_F(Win32MainWindow, BusyStateAndAnOpenDialogEachKeepTheWindowDisabled) {
  storeSettings();
  createMainWindow();
  winui::SecondaryWindow dialog(*main, "Диалог", 200, 100);
  main->program().Status("Поиск файлов...", 1);
  EXPECT_FALSE(IsWindowEnabled(main->hwnd()));
  EXPECT_EQ(statusText(), "Поиск файлов...");
  dialog.show();
  main->program().Status("", 0);
  // The busy state has ended but the dialog still holds the window.
  EXPECT_FALSE(IsWindowEnabled(main->hwnd()));
  EXPECT_EQ(statusText(), "");
  SendMessageW(dialog.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_TRUE(IsWindowEnabled(main->hwnd()));
}

TEST_F(Win32MainWindow, GuardReportsAFailedHandlerAndGivesTheWindowBack) {
  storeSettings();
  createMainWindow();
  ui.expectAnyMessage("Varnikit");
  main->guard([&] {
    main->program().Status("Копирование", 1);
    throw sys::IoError("Отказано в доступе");
  });
  ASSERT_EQ(ui.prompts.size(), 1u);
  EXPECT_EQ(ui.prompts[0].text, "Отказано в доступе");
  EXPECT_TRUE(IsWindowEnabled(main->hwnd()));
  EXPECT_EQ(statusText(), "");

  // Anything else thrown: "Произошла ошибка" and a line in the log.
  ui.expectError("Произошла ошибка");
  main->guard([] { throw std::runtime_error("сбой"); });
  EXPECT_NE(testing_support::readBytes(programFolder() + "errors.txt").find(*sys::toCp1251("сбой")), std::string::npos);
}

TEST_F(Win32MainWindow, MouseOverTheBareWindowShowsTheDateAndOverThePagesClearsIt) {
  storeSettings();
  createMainWindow();
  SendMessageW(main->hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 3));
  EXPECT_EQ(statusText(), "07.03.2003");
  SendMessageW(main->pages(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(statusText(), "");
  // A disabled (busy) window takes no input: the mouse does not end the busy state.
  main->program().Status("Занят", 1);
  SendMessageW(main->pages(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(statusText(), "Занят");
  EXPECT_FALSE(IsWindowEnabled(main->hwnd()));
}

TEST_F(Win32MainWindow, HintPausesFollowTheWindowBeingShownOrHidden) {
  storeSettings();
  createMainWindow();
  const auto delays = [&] {
    HWND tip = main->hints().tooltip();
    return std::pair<LRESULT, LRESULT>(SendMessageW(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0),
                                       SendMessageW(tip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0));
  };
  ShowWindow(main->hwnd(), SW_SHOWNOACTIVATE);
  EXPECT_EQ(delays(), (std::pair<LRESULT, LRESULT>(300, 5000)));
  ShowWindow(main->hwnd(), SW_HIDE);
  EXPECT_EQ(delays(), (std::pair<LRESULT, LRESULT>(500, 2500)));
}

TEST_F(Win32MainWindow, ClosingWritesTheUtilityListAndEndsTheWindow) {
  storeSettings();
  testing_support::writeBytes(programFolder() + "utilities.dat", "Пример\r\nC:\\u\\sample.exe\r\n");
  createMainWindow();
  main->program().utilities[1] = {"Вторая", "C:\\u\\second.exe"};
  drive::command(main->hwnd(), MainWindow::N5);
  EXPECT_TRUE(main->closed());
  EXPECT_EQ(testing_support::readBytes(programFolder() + "utilities.dat"),
            "\xCF\xF0\xE8\xEC\xE5\xF0\r\nC:\\u\\sample.exe\r\n\xC2\xF2\xEE\xF0\xE0\xFF\r\nC:\\u\\second.exe\r\n");
}

}  // namespace
