// The toolkit under every window: routing of control messages to their handlers, and the controls
// following a change of DPI.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "win32/controls.h"
#include "win32/support/window_driver.h"
#include "win32/window.h"

namespace {

namespace drive = testing_support::win32;

class TopLevel final : public winui::Window {
 public:
  TopLevel() {
    registerClass(L"VarnikitToolkitTest");
    create(L"VarnikitToolkitTest", L"Проверка", WS_OVERLAPPEDWINDOW, 0, 0, 0, 400, 300, nullptr);
  }
};

TEST(Win32Toolkit, ControlMessagesReachTheHandlerOfTheirIdOnTheirParent) {
  TopLevel window;
  winui::Panel panel(window.hwnd(), 0, 0, 300, 200, 7);
  HWND button = winui::createButton(panel.hwnd(), "&Добавить", {10, 10, 80, 24}, 101);
  HWND list = winui::createListBox(panel.hwnd(), {10, 40, 120, 80}, 102);
  winui::setListItems(list, {"gign.mdl", "v_ak47.mdl"});
  std::vector<std::string> events;
  panel.onCommand(101, [&](int code) { events.push_back("click " + std::to_string(code)); });
  panel.onCommand(102, [&](int code) {
    if (code == LBN_SELCHANGE) events.push_back("row " + winui::listItems(list)[winui::listSelection(list)]);
  });
  drive::click(button);
  drive::selectRow(list, 1);
  // A command of an id nobody handles goes nowhere, and breaks nothing.
  drive::command(panel.hwnd(), 999);
  EXPECT_EQ(events, (std::vector<std::string>{"click 0", "row v_ak47.mdl"}));
  EXPECT_EQ(drive::text(button), "&Добавить");
  EXPECT_EQ(winui::Window::fromHandle(panel.hwnd()), &panel);
  EXPECT_EQ(winui::Window::fromHandle(button), nullptr);
}

TEST(Win32Toolkit, AMoveToAnotherDpiScalesEveryControlAndItsFont) {
  TopLevel window;
  const UINT dpi = winui::dpiOf(window.hwnd());
  winui::Panel panel(window.hwnd(), 0, 0, 300, 200);
  HWND edit = winui::createEdit(panel.hwnd(), "", {10, 20, 100, 22}, 5);
  const auto placeOf = [](HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  };
  const RECT before = placeOf(edit);
  RECT suggested{50, 60, 850, 660};
  SendMessageW(window.hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi * 2, dpi * 2), reinterpret_cast<LPARAM>(&suggested));
  const RECT after = placeOf(edit);
  EXPECT_EQ(after.left, before.left * 2);
  EXPECT_EQ(after.top, before.top * 2);
  EXPECT_EQ(after.right - after.left, (before.right - before.left) * 2);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0)), winui::messageFont(dpi * 2));
  RECT outer{};
  GetWindowRect(window.hwnd(), &outer);
  EXPECT_EQ(outer.left, 50);
  EXPECT_EQ(outer.right - outer.left, 800);
}

}  // namespace
