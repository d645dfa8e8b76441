// The owner-data list view: texts asked for only when shown, and rows activated and pointed at.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <set>

#include "win32/list_view.h"
#include "win32/support/window_driver.h"
#include "win32/text.h"

namespace {

namespace drive = testing_support::win32;

class Host final : public winui::Window {
 public:
  Host() {
    registerClass(L"VarnikitListHost");
    create(L"VarnikitListHost", L"Список", WS_OVERLAPPEDWINDOW, 0, 0, 0, 500, 300, nullptr);
  }
};

std::string cellText(HWND list, int row, int column) {
  wchar_t text[256] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = 256;
  SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return winui::narrow(text);
}

TEST(Win32VirtualListView, HoldsOnlyACountAndAsksForTheCellsItShows) {
  Host host;
  std::set<int> asked;
  winui::VirtualListView list(host, {0, 0, 480, 260}, 40, {{"", 30}, {"Файл", 100}, {"Путь", 350}},
                              [&](int row, int column) {
                                asked.insert(row);
                                return column == 1 ? "file" + std::to_string(row) + ".mdl" : std::to_string(row + 1);
                              });
  list.setRowCount(100000);
  ShowWindow(host.hwnd(), SW_SHOWNOACTIVATE);
  UpdateWindow(host.hwnd());
  drive::pump();
  EXPECT_EQ(list.rowCount(), 100000);
  EXPECT_EQ(cellText(list.hwnd(), 99999, 1), "file99999.mdl");
  EXPECT_EQ(cellText(list.hwnd(), 0, 0), "1");
  // Painting asked for the visible rows only.
  EXPECT_LT(asked.size(), 200u);
  EXPECT_EQ(list.columnWidth(1), winui::scaled(host.hwnd(), 100));
}

TEST(Win32VirtualListView, DoubleClickAndRightClickNameTheirRow) {
  Host host;
  winui::VirtualListView list(host, {0, 0, 480, 260}, 41, {{"Файл", 100}}, [](int, int) { return std::string("x"); });
  list.setRowCount(10);
  std::vector<std::string> events;
  list.onActivate([&](int row) { events.push_back("activate " + std::to_string(row)); });
  list.onContextMenu([&](int row, POINT) { events.push_back("menu " + std::to_string(row)); });
  const auto notify = [&](UINT code, int row) {
    NMITEMACTIVATE item{};
    item.hdr.hwndFrom = list.hwnd();
    item.hdr.idFrom = 41;
    item.hdr.code = code;
    item.iItem = row;
    SendMessageW(host.hwnd(), WM_NOTIFY, 41, reinterpret_cast<LPARAM>(&item));
  };
  notify(NM_DBLCLK, 3);
  notify(NM_DBLCLK, -1);  // below the last row: nothing
  notify(NM_RCLICK, 7);
  EXPECT_EQ(events, (std::vector<std::string>{"activate 3", "menu 7"}));
  EXPECT_EQ(list.currentRow(), 7);
}

}  // namespace
