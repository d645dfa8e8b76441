// The Win32 file list page, file info dialog and settings dialog, created for real and driven by messages.
#include <windows.h>
#include <commctrl.h>

#include "installs/store.h"
#include "sys/paths.h"
#include "win32/controls.h"
#include "win32/files_list_page.h"
#include "win32/list_info.h"
#include "win32/options.h"
#include "win32/support/native_main_window.h"
#include "win32/support/window_driver.h"
#include "win32/text.h"

namespace {

namespace drive = testing_support::win32;
using winui::MainWindow;

class Win32CatalogueWindows : public testing_support::NativeMainWindowFixture {
 protected:
  // A configured program with a catalogue of the given game paths; the page and both dialogs made.
  void start(const std::vector<std::string>& relative) {
    storeSettings();
    std::vector<std::string> lines;
    for (const auto& r : relative) lines.push_back(gameFolder() + sys::kSep + testing_support::native(r));
    fs.writeLines(programFolder() + "fileslist.dat", lines);
    testing_support::writeBytes(programFolder() + "filesinfo.dat", "");  // no description yet
    createMainWindow();
    page = std::make_unique<winui::FilesListPage>(*main);
    info = std::make_unique<winui::ListInfo>(*main, *page);
    options = std::make_unique<winui::Options>(*main);
    MainWindow::Windows windows;
    windows.options = options.get();
    windows.listInfo = info.get();
    main->setWindows(windows);
    grid = page->grid();
  }
  ~Win32CatalogueWindows() override {
    options.reset();
    info.reset();
    page.reset();
  }
  std::string cell(int row, int column) const {
    wchar_t text[512] = {};
    ListView_GetItemText(grid, row, column, text, 512);
    return winui::narrow(text);
  }
  std::vector<int> widths() const {
    std::vector<int> result;
    for (int column = 0; column < 4; ++column) result.push_back(ListView_GetColumnWidth(grid, column));
    return result;
  }
  int gridWidth() const {
    RECT client{};
    GetClientRect(grid, &client);
    return client.right;
  }
  POINT rowPoint(int row) const {
    RECT bounds{};
    ListView_GetItemRect(grid, row, &bounds, LVIR_BOUNDS);
    return {bounds.left + 200, (bounds.top + bounds.bottom) / 2};
  }

  std::unique_ptr<winui::FilesListPage> page;
  std::unique_ptr<winui::ListInfo> info;
  std::unique_ptr<winui::Options> options;
  HWND grid = nullptr;
};

TEST_F(Win32CatalogueWindows, TheVirtualGridShowsEveryLineFromThePresenter) {
  std::vector<std::string> relative;
  for (int i = 0; i < 5000; ++i) relative.push_back("sound/s" + std::to_string(i) + ".wav");
  start(relative);
  fs.writeLines(programFolder() + "filesinfo.dat", {".wav", "звук"});
  EXPECT_TRUE(GetWindowLongPtrW(grid, GWL_STYLE) & LVS_OWNERDATA);
  EXPECT_EQ(ListView_GetItemCount(grid), 1) << "the one empty row before the page is shown";
  main->showPage(MainWindow::Page::FilesList);
  ASSERT_EQ(ListView_GetItemCount(grid), 5000);
  EXPECT_EQ(cell(4999, 0), "5000");
  EXPECT_EQ(cell(4999, 1), "s4999.wav");
  EXPECT_EQ(cell(4999, 2), gameFolder() + "\\sound\\s4999.wav");
  EXPECT_EQ(cell(0, 3), "звук");
  EXPECT_EQ(ListView_GetNextItem(grid, -1, LVNI_SELECTED), 0) << "the first row is current";

  std::vector<std::string> headers;
  for (int column = 0; column < 4; ++column) {
    wchar_t text[64] = {};
    LVCOLUMNW item{};
    item.mask = LVCF_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    ListView_GetColumn(grid, column, &item);
    headers.push_back(winui::narrow(text));
  }
  EXPECT_EQ(headers, (std::vector<std::string>{"", "Файл", "Путь", "Описание"}));
  const std::vector<int> w = widths();
  EXPECT_EQ(w[0], winui::scaled(grid, 30));
  EXPECT_EQ(w[1], winui::scaled(grid, 100));
  EXPECT_EQ(w[2], winui::scaled(grid, 350));
  EXPECT_NEAR(w[0] + w[1] + w[2] + w[3], gridWidth(), 1) << "the last column fills the grid";
}

TEST_F(Win32CatalogueWindows, ADraggedBorderMovesWidthToTheRightNeighbour) {
  start({"models/a.mdl"});
  main->show(SW_SHOWNOACTIVATE);
  main->showPage(MainWindow::Page::FilesList);
  drive::pump();
  HWND header = ListView_GetHeader(grid);
  const std::vector<int> before = widths();
  RECT item{};
  Header_GetItemRect(header, 1, &item);
  const int y = (item.top + item.bottom) / 2;
  const int border = item.right - 1;
  // The header's own drag: press on the border, move, release.
  SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(border, y));
  SendMessageW(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(border + 30, y));
  SendMessageW(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(border + 60, y));
  SendMessageW(header, WM_LBUTTONUP, 0, MAKELPARAM(border + 60, y));
  drive::pump();
  const std::vector<int> after = widths();
  EXPECT_EQ(after[1], before[1] + 60);
  EXPECT_EQ(after[2], before[2] - 60) << "the right neighbour gave the width";
  EXPECT_EQ(after[3], before[3]) << "the last column is untouched";
  EXPECT_EQ(page->presenter().SizingCol, -1);
}

TEST_F(Win32CatalogueWindows, DoubleClickLaunchesAndTheMiddleButtonShowsTheInfoDialog) {
  start({"models/a.mdl", "sound/b.wav"});
  main->show(SW_SHOWNOACTIVATE);
  main->showPage(MainWindow::Page::FilesList);
  drive::pump();
  const POINT second = rowPoint(1);
  SendMessageW(grid, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(second.x, second.y));
  SendMessageW(grid, WM_LBUTTONUP, 0, MAKELPARAM(second.x, second.y));
  SendMessageW(grid, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(second.x, second.y));
  SendMessageW(grid, WM_LBUTTONUP, 0, MAKELPARAM(second.x, second.y));
  drive::pump();
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].file, gameFolder() + "\\sound\\b.wav");
  EXPECT_EQ(shell.calls[0].workFolder, gameFolder() + "\\sound");

  const POINT first = rowPoint(0);
  SendMessageW(grid, WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(first.x, first.y));
  drive::pump();
  ASSERT_TRUE(info->isVisible());
  EXPECT_EQ(drive::text(info->hwnd()), "Информация");
  EXPECT_EQ(drive::text(info->control(winui::ListInfo::Edit1)), "a.mdl");
  EXPECT_EQ(drive::text(info->control(winui::ListInfo::Edit2)), gameFolder() + "\\models\\a.mdl");
  EXPECT_EQ(drive::text(info->control(winui::ListInfo::Edit3)), "информации нет");
  EXPECT_FALSE(IsWindowEnabled(main->hwnd())) << "the dialog holds the main window";
  drive::click(info->control(winui::ListInfo::Button2));
  ASSERT_EQ(shell.calls.size(), 2u);
  EXPECT_EQ(shell.calls[1].file, gameFolder() + "\\models\\a.mdl") << "the grid's current row";
  EXPECT_TRUE(info->isVisible());
  drive::click(info->control(winui::ListInfo::Button1));
  EXPECT_FALSE(info->isVisible());
  EXPECT_TRUE(IsWindowEnabled(main->hwnd()));
  EXPECT_EQ(drive::menuItems(page->popupMenu()),
            (std::vector<std::string>{"запустить", "-", "изменить описание", "показать информацию"}));
  EXPECT_EQ(GetMenuDefaultItem(page->popupMenu(), FALSE, 0), static_cast<UINT>(winui::FilesListPage::N7));
}

TEST_F(Win32CatalogueWindows, SettingsDialogShowsStoredValuesTakesTypedOnesAndChecksThem) {
  start({"models/a.mdl"});
  registry->writeValues("\\Software\\Varnikit", {{"CSFile", "hl.exe"}, {"ListUpdate", "3"}, {"FilesListDate", "01.03.2003"}});
  drive::command(main->hwnd(), MainWindow::N4);
  ASSERT_TRUE(options->isVisible());
  EXPECT_EQ(drive::text(options->hwnd()), "Настройки");
  EXPECT_EQ(drive::text(options->control(winui::Options::AHMLookupEdit1)), gameFolder());
  EXPECT_EQ(drive::text(options->control(winui::Options::AHMLookupEdit2)), "hl.exe");
  EXPECT_EQ(drive::text(options->control(winui::Options::Label5)), "01.03.2003");
  EXPECT_TRUE(winui::isChecked(options->control(winui::Options::Update3)));
  EXPECT_FALSE(winui::isChecked(options->control(winui::Options::Update2)));
  EXPECT_TRUE(IsWindowEnabled(options->control(winui::Options::Button2)));
  EXPECT_FALSE(IsWindowEnabled(main->hwnd()));
  EXPECT_EQ(statusText(), "открыто окно настроек");
  EXPECT_EQ(drive::childTexts(options->hwnd(), "Button"),
            (std::vector<std::string>{"Информация об игре", "...", "...", "Определить автоматически", "Проверить",
                                      "Список файлов", "Не обновлять автоматически", "Обновлять при запуске",
                                      "Обновлять раз в день", "Обновлять раз в месяц", "Обновить", "&OK", "&Выход"}));

  // "Проверить" with a launcher that does not exist: the box, and the cursor in its field.
  testing_support::writeBytes(gameFolder() + sys::kSep + "liblist.gam", "");  // the game's folder
  drive::typeText(options->control(winui::Options::AHMLookupEdit2), gameFolder() + "\\none.exe");
  ui.expectError("Файл для запуска игры указан неверно");
  drive::click(options->control(winui::Options::Button5));
  EXPECT_TRUE(ui.allAnswered());
  EXPECT_EQ(GetFocus(), options->control(winui::Options::AHMLookupEdit2));

  // "&OK" takes the typed values and the choice over.
  drive::typeText(options->control(winui::Options::AHMLookupEdit2), "");
  drive::typeText(options->control(winui::Options::Edit1), "-console");
  SendMessageW(options->control(winui::Options::Update1), BM_CLICK, 0, 0);
  drive::click(options->control(winui::Options::Button1));
  EXPECT_FALSE(options->isVisible());
  const auto stored = registry->readValues("\\Software\\Varnikit", {"CSFile", "RunParam", "ListUpdate"});
  ASSERT_TRUE(stored);
  EXPECT_EQ(*stored, (std::vector<std::string>{"", "-console", "1"}));
  EXPECT_TRUE(IsWindowEnabled(main->hwnd()));
}

}  // namespace

namespace {

// The search field, the header click and the marked rows as the Win32 page wires them; what they do is
// the presenter's.
TEST_F(Win32CatalogueWindows, TheSearchFieldNarrowsEscClearsAColumnClickSortsAndReplacedRowsAreMarked) {
  start({"sound/b.wav", "models/a.mdl", "sound/c.wav"});
  main->showPage(MainWindow::Page::FilesList);
  HWND search = page->searchEdit();
  ASSERT_NE(search, nullptr);
  SetWindowTextW(search, L"SOUND");  // sends EN_CHANGE as typing does
  drive::pump();
  ASSERT_EQ(ListView_GetItemCount(grid), 2);
  EXPECT_EQ(cell(1, 0), "3") << "the rows keep their catalogue numbers";
  SendMessageW(search, WM_KEYDOWN, VK_ESCAPE, 0);
  drive::pump();
  EXPECT_EQ(winui::windowTextUtf8(search), "");
  EXPECT_EQ(ListView_GetItemCount(grid), 3);

  NMLISTVIEW click{};
  click.hdr = {grid, static_cast<UINT_PTR>(winui::FilesListPage::Grid), LVN_COLUMNCLICK};
  click.iItem = -1;
  click.iSubItem = 1;
  SendMessageW(GetParent(grid), WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
  EXPECT_EQ(cell(0, 1), "a.mdl");
  HDITEMW format{};
  format.mask = HDI_FORMAT;
  Header_GetItem(ListView_GetHeader(grid), 1, &format);
  EXPECT_TRUE(format.fmt & HDF_SORTUP);

  installs::Store store(fs, programFolder());
  store.openList();
  store.ensureInstallation("Пак");
  store.saveList({"Пак"});
  store.recordInstalledFile("Пак", gameFolder() + sys::kSep + testing_support::native("sound/c.wav"));
  main->showPage(MainWindow::Page::FilesList);
  wchar_t text[128] = {};
  NMLVGETINFOTIPW tip{};
  tip.hdr = {grid, static_cast<UINT_PTR>(winui::FilesListPage::Grid), LVN_GETINFOTIPW};
  tip.pszText = text;
  tip.cchTextMax = 128;
  tip.iItem = 2;  // "c.wav", last by name
  SendMessageW(GetParent(grid), WM_NOTIFY, tip.hdr.idFrom, reinterpret_cast<LPARAM>(&tip));
  EXPECT_EQ(winui::narrow(text), "Заменён установкой \"Пак\"");
  EXPECT_TRUE(page->presenter().rowReplaced(2));
}

}  // namespace

namespace {

// Enter on a row (NM_RETURN from the list view) starts its file; Enter in the file info window (IDOK, as
// the dialog keys send it) is its "OK".
TEST_F(Win32CatalogueWindows, EnterOnARowStartsTheFileAndEnterInTheInfoWindowIsOk) {
  start({"sound/a.wav", "sound/b.wav"});
  main->showPage(MainWindow::Page::FilesList);
  ListView_SetItemState(grid, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  NMHDR enter{grid, static_cast<UINT_PTR>(winui::FilesListPage::Grid), static_cast<UINT>(NM_RETURN)};
  SendMessageW(GetParent(grid), WM_NOTIFY, enter.idFrom, reinterpret_cast<LPARAM>(&enter));
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].file, gameFolder() + "\\sound\\b.wav");

  info->showFor("b.wav", gameFolder() + "\\sound\\b.wav", "");
  ASSERT_TRUE(info->isVisible());
  drive::command(info->hwnd(), IDOK);
  EXPECT_FALSE(info->isVisible());
}

}  // namespace
