// The Win32 installations page and install dialog, created for real and driven by their messages.
#include <windows.h>
#include <commctrl.h>

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <memory>

#include "help/texts.h"
#include "installs/texts.h"
#include "sys/paths.h"
#include "win32/check_list.h"
#include "win32/controls.h"
#include "win32/help.h"
#include "win32/install_dialog.h"
#include "win32/installations_page.h"
#include "win32/support/native_main_window.h"
#include "win32/support/window_driver.h"
#include "win32/text.h"

namespace {

namespace drive = testing_support::win32;
namespace texts = installs::texts;
using testing_support::readBytes;
using testing_support::writeBytes;
using winui::InstallDialog;
using winui::InstallationsPage;
using winui::MainWindow;

class Win32Installations : public testing_support::NativeMainWindowFixture {
 protected:
  void SetUp() override {
    gign = gameFile("models/player/gign/gign.mdl", "old gign");
    go = gameFile("sound/radio/go.wav", "old go");
    fs.writeLines(programFolder() + "fileslist.dat", {gign, go});
    fs.writeLines(programFolder() + "filesinfo.dat", {".mdl", "Модель"});
    for (const char* name : {"gign.mdl", "sub/go.wav"}) writeBytes(temp / ("new/" + std::string(name)), "new");
    storeSettings();
    createMainWindow();
    page = std::make_unique<InstallationsPage>(*main);
    dialog = std::make_unique<InstallDialog>(*main, *page);
    MainWindow::Windows windows;
    windows.install = dialog.get();
    main->setWindows(windows);
    main->showPage(MainWindow::Page::EditMenu);
  }
  void TearDown() override {
    dialog.reset();
    page.reset();
  }
  std::string gameFile(const std::string& relative, const std::string& bytes) {
    const std::string path = gameFolder() + sys::kSep + testing_support::native(relative);
    writeBytes(path, bytes);
    return path;
  }
  HWND pageControl(InstallationsPage::Id id) { return page->control(id); }
  HWND dialogControl(InstallDialog::Id id) { return dialog->control(id); }
  bool enabled(HWND control) { return IsWindowEnabled(control) != FALSE; }
  std::string hintOf(HWND tooltip, HWND owner, HWND control) {
    wchar_t text[512] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text;
    SendMessageW(tooltip, TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&tool));
    return winui::narrow(text);
  }
  // Opens the dialog from the page and adds the files of temp/new and its sub-folders.
  void openAndAddAll() {
    drive::click(pageControl(InstallationsPage::Button1));
    ASSERT_TRUE(dialog->isVisible());
    ui.expectFolder(texts::kFolderChooserCaption, temp / "new");
    drive::command(dialog->hwnd(), InstallDialog::N5);
  }

  std::unique_ptr<InstallationsPage> page;
  std::unique_ptr<InstallDialog> dialog;
  std::string gign, go;
};

TEST_F(Win32Installations, PageShowsItsCaptionsAndTheSelectedInstallation) {
  HWND panel = main->page(MainWindow::Page::EditMenu).hwnd();
  EXPECT_EQ(drive::childTexts(panel, "Button"),
            (std::vector<std::string>{"Список установок", "Информация", "Панель управления", "Установить файлы",
                                      "Переименовать", "Восстановить файлы", "&Помощь"}));
  EXPECT_FALSE(enabled(pageControl(InstallationsPage::Button2)));
  EXPECT_FALSE(enabled(pageControl(InstallationsPage::Button3)));
  EXPECT_EQ(hintOf(main->hints().tooltip(), main->hwnd(), pageControl(InstallationsPage::Button1)),
            "Установить новые файлы (заменить).\r\n(Модели игроков, оружия и др.)");

  openAndAddAll();
  drive::typeText(dialogControl(InstallDialog::Memo1), "Модели\r\nигроков");
  ui.expectInput("Внимание", texts::kNamePrompt, "Скины");
  ui.expectAttention(texts::kStartGameQuestion, app::Answer::No);
  drive::click(dialogControl(InstallDialog::Button1));
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(readBytes(gign), "new");

  HWND installations = pageControl(InstallationsPage::ListBox1);
  ASSERT_EQ(winui::checkListItems(installations), std::vector<std::string>{"Скины"}) << "the page was filled afresh";
  drive::selectListViewRow(installations, 0);
  EXPECT_EQ(winui::listItems(pageControl(InstallationsPage::ListBox2)), (std::vector<std::string>{gign, go}));
  EXPECT_EQ(drive::text(pageControl(InstallationsPage::Edit1)), "07.03.2003 14:05:09");
  EXPECT_EQ(drive::text(pageControl(InstallationsPage::Memo1)), "Модели\r\nигроков");
  EXPECT_TRUE(enabled(pageControl(InstallationsPage::Button3)));
  SendMessageW(pageControl(InstallationsPage::Button3), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
  EXPECT_EQ(hintOf(main->hints().tooltip(), main->hwnd(), pageControl(InstallationsPage::Button3)),
            "Хотите переименовать \"Скины\"?");

  ui.expectInput("Varnikit", texts::kNewNamePrompt, "Новые");
  drive::click(pageControl(InstallationsPage::Button3));
  EXPECT_EQ(winui::checkListItems(installations), std::vector<std::string>{"Новые"});
  EXPECT_EQ(winui::checkListSelection(installations), 0) << "the renamed row stays selected";

  ui.expectAttention(texts::kRestored);
  drive::click(pageControl(InstallationsPage::Button2));
  EXPECT_EQ(readBytes(gign), "old gign");
  EXPECT_TRUE(winui::checkListItems(installations).empty());
  EXPECT_EQ(drive::text(pageControl(InstallationsPage::Memo1)), "");
  ui.expectError(texts::kSelectInstallation);
  drive::click(pageControl(InstallationsPage::Button2));
  EXPECT_FALSE(enabled(pageControl(InstallationsPage::Button2)));
  EXPECT_TRUE(IsWindowEnabled(main->hwnd()));
}

TEST_F(Win32Installations, DialogHoldsTheMainWindowAndItsMenusKeysAndButtonsWork) {
  openAndAddAll();
  EXPECT_EQ(drive::text(dialog->hwnd()), "Установка файлов");
  EXPECT_FALSE(IsWindowEnabled(main->hwnd()));
  EXPECT_EQ(statusText(), "установка файлов...");
  EXPECT_EQ(drive::menuItems(GetMenu(dialog->hwnd())), (std::vector<std::string>{"&Информация", "&Добавить", "&Удалить"}));
  std::vector<std::string> addItems{"Файлы выборочно", "Файлы только из папки", "Из папки, включая вложенные папки"};
  if (installs::archivesSupported()) addItems.push_back("Из архива");
  EXPECT_EQ(drive::menuItems(GetSubMenu(GetMenu(dialog->hwnd()), 1)), addItems);
  EXPECT_EQ(drive::menuItems(dialog->popupMenu()), addItems);

  HWND list = dialogControl(InstallDialog::ListBox1);
  EXPECT_EQ(winui::listItems(list), (std::vector<std::string>{temp / "new/gign.mdl", temp / "new/sub/go.wav"}));
  EXPECT_TRUE(enabled(dialogControl(InstallDialog::Button1)));
  EXPECT_TRUE(IsWindowEnabled(dialog->hwnd()));

  // The Delete key on the selected row, the way the list box reports it to the dialog.
  winui::selectListItem(list, 0);
  SendMessageW(dialog->hwnd(), WM_VKEYTOITEM, MAKEWPARAM(VK_DELETE, 0), reinterpret_cast<LPARAM>(list));
  EXPECT_EQ(winui::listItems(list), std::vector<std::string>{temp / "new/sub/go.wav"});
  SendMessageW(list, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
  const auto panel = [&] {
    wchar_t text[128] = {};
    SendMessageW(dialogControl(InstallDialog::StatusBar1), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
    return winui::narrow(text);
  };
  EXPECT_EQ(panel(), texts::kDoubleClickHint);

  // The popup menu's items choose the default mode, drawn as the menu's default item.
  drive::command(dialog->hwnd(), InstallDialog::PM1);
  EXPECT_EQ(main->program().settings.AddFilesType, "1");
  dialog->PopupMenu1Popup();
  EXPECT_EQ(GetMenuDefaultItem(dialog->popupMenu(), FALSE, 0), static_cast<UINT>(InstallDialog::PM1));

  drive::click(dialogControl(InstallDialog::Button5));
  EXPECT_TRUE(winui::listItems(list).empty());
  EXPECT_FALSE(enabled(dialogControl(InstallDialog::Button1)));
  ui.expectError(texts::kClearEmpty);
  drive::command(dialog->hwnd(), InstallDialog::N7);

  drive::click(dialogControl(InstallDialog::Button2));
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_TRUE(IsWindowEnabled(main->hwnd()));
  EXPECT_EQ(statusText(), "");
}

// Files dropped on the dialog's list, as the shell hands them over: a DROPFILES block of wide paths.
void dropOn(HWND list, const std::vector<std::string>& paths) {
  std::wstring names;
  for (const auto& path : paths) names += winui::wide(path) + L'\0';
  names += L'\0';
  HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
  auto* header = static_cast<DROPFILES*>(GlobalLock(block));
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), names.data(), names.size() * sizeof(wchar_t));
  GlobalUnlock(block);
  SendMessageW(list, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);  // DragFinish frees the block
}

TEST_F(Win32Installations, FilesAndFoldersDroppedOnTheOpenDialogAreAdded) {
  drive::click(pageControl(InstallationsPage::Button1));
  HWND list = dialogControl(InstallDialog::ListBox1);
  dropOn(list, {temp / "new/sub", temp / "new/gign.mdl", temp / "missing.mdl"});
  EXPECT_EQ(winui::listItems(list), (std::vector<std::string>{temp / "new/sub/go.wav", temp / "new/gign.mdl"}));
  EXPECT_TRUE(enabled(dialogControl(InstallDialog::Button1)));
  EXPECT_TRUE(IsWindowEnabled(dialog->hwnd()));
  drive::click(dialogControl(InstallDialog::Button2));
  dropOn(list, {temp / "new/gign.mdl"});
  EXPECT_EQ(winui::listItems(list).size(), 2u) << "a closed dialog takes no drop";
}

TEST_F(Win32Installations, HelpOpensAtTheTopicOnInstalling) {
  winui::HelpWindow help(*main);
  MainWindow::Windows windows = main->windows();
  windows.help = &help;
  main->setWindows(windows);
  drive::click(pageControl(InstallationsPage::Button4));
  EXPECT_TRUE(help.isVisible());
  EXPECT_EQ(winui::listSelection(help.control(winui::HelpWindow::ListBox1)), help::kInstallingTopic);
  help.close();
}

TEST_F(Win32Installations, OnlyClippedNamesAndGamePathsGetAHintOfTheirOwn) {
  const std::string longName(60, 'L');
  writeBytes(programFolder() + "files/list.dat", "A\r\n" + longName + "\r\n");
  writeBytes(programFolder() + "files/A/files.dat", "/short\r\n/" + std::string(300, 'x') + "\r\n");
  main->showPage(MainWindow::Page::EditMenu);
  drive::selectListViewRow(pageControl(InstallationsPage::ListBox1), 0);
  HWND files = pageControl(InstallationsPage::ListBox2);
  ASSERT_EQ(winui::listItems(files).size(), 2u);
  const auto hintOverRow = [&](int row) {
    RECT item{};
    SendMessageW(files, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    SendMessageW(files, WM_MOUSEMOVE, 0, MAKELPARAM(item.left + 2, item.top + 2));
    return hintOf(main->hints().tooltip(), main->hwnd(), files);
  };
  EXPECT_EQ(hintOverRow(1), "/" + std::string(300, 'x'));
  EXPECT_EQ(hintOverRow(0), "") << "a path that fits has no hint";
  EXPECT_EQ(hintOverRow(1), "/" + std::string(300, 'x'));

  HWND names = pageControl(InstallationsPage::ListBox1);
  const auto hintOverName = [&](int row) {
    RECT label{};
    ListView_GetItemRect(names, row, &label, LVIR_LABEL);
    SendMessageW(names, WM_MOUSEMOVE, 0, MAKELPARAM(label.left + 2, label.top + 2));
    return hintOf(main->hints().tooltip(), main->hwnd(), names);
  };
  EXPECT_EQ(hintOverName(1), longName);
  EXPECT_EQ(hintOverName(0), "") << "a name that fits has no hint";
}

}  // namespace

namespace {

// F2 on the installation list renames; Esc (IDCANCEL, as the dialog keys send it) closes the install
// dialog as its close box does.
TEST_F(Win32Installations, F2RenamesAndEscClosesTheDialog) {
  openAndAddAll();
  ui.expectInput("Внимание", texts::kNamePrompt, "Скины");
  ui.expectAttention(texts::kStartGameQuestion, app::Answer::No);
  drive::click(dialogControl(InstallDialog::Button1));
  HWND installations = pageControl(InstallationsPage::ListBox1);
  drive::selectListViewRow(installations, 0);
  ui.expectInput("Varnikit", texts::kNewNamePrompt, "Новые");
  SendMessageW(installations, WM_KEYDOWN, VK_F2, 0);
  drive::pump();
  EXPECT_EQ(winui::checkListItems(installations), std::vector<std::string>{"Новые"});

  drive::click(pageControl(InstallationsPage::Button1));
  ASSERT_TRUE(dialog->isVisible());
  drive::command(dialog->hwnd(), IDCANCEL);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_TRUE(IsWindowEnabled(main->hwnd()));
}

}  // namespace

namespace {

// A row's box clicked, Space on the selected row, and the row's menu (from a right click and from the
// keyboard) each switch the installation: its pack file goes into the store and the original back into
// the game, and back again.
TEST_F(Win32Installations, ARowsBoxSpaceAndItsMenuSwitchTheInstallationOffAndOn) {
  openAndAddAll();
  ui.expectInput("Внимание", texts::kNamePrompt, "Скины");
  ui.expectAttention(texts::kStartGameQuestion, app::Answer::No);
  drive::click(dialogControl(InstallDialog::Button1));
  HWND list = pageControl(InstallationsPage::ListBox1);
  ASSERT_EQ(winui::checkListItems(list), std::vector<std::string>{"Скины"});
  const std::string kept = programFolder() + "files\\Скины\\pack\\gign.mdl";
  const auto expectOff = [&](bool off, const char* how) {
    EXPECT_EQ(winui::isRowChecked(list, 0), !off) << how;
    EXPECT_EQ(readBytes(gign), off ? "old gign" : "new") << how;
    EXPECT_EQ(testing_support::fileExists(kept), off) << how;
  };
  expectOff(false, "installed");

  const RECT box = winui::checkBoxRect(list, 0);
  const POINT centre{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
  LVHITTESTINFO hit{};
  hit.pt = centre;
  ASSERT_EQ(ListView_HitTest(list, &hit), 0);
  ASSERT_TRUE(hit.flags & LVHT_ONITEMSTATEICON) << "the point is on the row's box";
  drive::clickAt(list, centre);
  expectOff(true, "a click on the box");
  EXPECT_EQ(readBytes(kept), "new");

  drive::selectListViewRow(list, 0);
  SendMessageW(list, WM_KEYDOWN, VK_SPACE, 0);
  drive::pump();
  expectOff(false, "Space");

  RECT label{};
  ListView_GetItemRect(list, 0, &label, LVIR_LABEL);
  POINT onRow{label.left + 4, (label.top + label.bottom) / 2};
  ClientToScreen(list, &onRow);
  std::vector<std::string> items;
  drive::whenPopupMenu(&items);
  SendMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(onRow.x, onRow.y));
  drive::pump();
  EXPECT_EQ(items, std::vector<std::string>{"Отключить"});
  expectOff(true, "the menu of a right click");

  drive::whenPopupMenu(&items);
  SendMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(-1, -1));
  drive::pump();
  EXPECT_EQ(items, std::vector<std::string>{"Включить"});
  expectOff(false, "the menu from the keyboard");
  EXPECT_EQ(winui::checkListSelection(list), 0);
  EXPECT_TRUE(IsWindowEnabled(main->hwnd()));
}

}  // namespace
