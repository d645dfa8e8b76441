// The hint over a clipped list-box item.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "win32/controls.h"
#include "win32/hints.h"
#include "win32/list_item_hints.h"
#include "win32/support/window_driver.h"
#include "win32/text.h"
#include "win32/window.h"

namespace {

namespace drive = testing_support::win32;

class Host final : public winui::Window {
 public:
  Host() {
    registerClass(L"VarnikitHintHost");
    create(L"VarnikitHintHost", L"Установки", WS_OVERLAPPEDWINDOW, 0, 0, 0, 400, 300, nullptr);
  }
};

TEST(Win32ListItemHints, OnlyAClippedItemGetsItsFullTextOverItAfterThePause) {
  Host host;
  HWND list = winui::createListBox(host.hwnd(), {10, 10, 120, 150}, 1);
  const std::string longPath = "C:\\Games\\Half-Life\\cstrike\\models\\player\\gign\\gign.mdl";
  winui::setListItems(list, {"gign.mdl", longPath});
  ShowWindow(host.hwnd(), SW_SHOWNOACTIVATE);
  winui::Hints::setTiming(30, 2000);
  winui::ListItemHints hints(list);
  EXPECT_FALSE(winui::ListItemHints::isClipped(list, 0));
  EXPECT_TRUE(winui::ListItemHints::isClipped(list, 1));

  RECT row{};
  const auto moveOver = [&](int index) {
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&row));
    SendMessageW(list, WM_MOUSEMOVE, 0, MAKELPARAM(5, row.top + 2));
  };
  moveOver(0);
  drive::pump(10);
  EXPECT_EQ(hints.shownRow(), -1) << "an item that fits has no hint";

  moveOver(1);
  EXPECT_EQ(hints.shownRow(), -1) << "not before the pause";
  ASSERT_TRUE(drive::pumpUntil([&] { return hints.shownRow() == 1; }, 2000));
  wchar_t text[256] = {};
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.hwnd = list;
  tool.uId = reinterpret_cast<UINT_PTR>(list);
  tool.lpszText = text;
  SendMessageW(hints.tooltip(), TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
  EXPECT_EQ(winui::narrow(text), longPath);

  // Leaving the item takes the hint away.
  SendMessageW(list, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(hints.shownRow(), -1);
  winui::Hints::setTiming(500, 2500);
}

}  // namespace
