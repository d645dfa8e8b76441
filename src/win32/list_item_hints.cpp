#include "win32/list_item_hints.h"

#include <commctrl.h>

#include <vector>

#include "win32/controls.h"
#include "win32/hints.h"
#include "win32/window.h"

namespace winui {

namespace {
constexpr UINT_PTR kWatchId = 2;
constexpr UINT_PTR kShowTimer = 0x4C48;  // on the list box: its own timers use none of these
constexpr UINT_PTR kHideTimer = 0x4C49;

std::wstring itemText(HWND list, int row) {
  const auto length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(row), 0);
  if (length == LB_ERR) return {};
  std::vector<wchar_t> text(static_cast<std::size_t>(length) + 1);
  SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text.data()));
  return std::wstring(text.data());
}

TTTOOLINFOW trackTool(HWND list) {
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_TRACK | TTF_ABSOLUTE | TTF_IDISHWND;
  tool.hwnd = list;
  tool.uId = reinterpret_cast<UINT_PTR>(list);
  return tool;
}
}  // namespace

ListItemHints::ListItemHints(HWND listBox) : list_(listBox) {
  initCommonControls();
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, GetAncestor(list_, GA_ROOT),
                             nullptr, instance(), nullptr);
  TTTOOLINFOW tool = trackTool(list_);
  tool.lpszText = const_cast<wchar_t*>(L"");
  SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  SetWindowSubclass(list_, &ListItemHints::watch, kWatchId, reinterpret_cast<DWORD_PTR>(this));
}

ListItemHints::~ListItemHints() {
  if (IsWindow(list_)) {
    RemoveWindowSubclass(list_, &ListItemHints::watch, kWatchId);
    KillTimer(list_, kShowTimer);
    KillTimer(list_, kHideTimer);
  }
  if (IsWindow(tooltip_)) DestroyWindow(tooltip_);
}

bool ListItemHints::isClipped(HWND listBox, int row) {
  const std::wstring text = itemText(listBox, row);
  if (text.empty()) return false;
  RECT client{};
  GetClientRect(listBox, &client);
  HDC dc = GetDC(listBox);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(listBox, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(listBox, dc);
  // The item's text starts 2 pixels into the row.
  return size.cx > client.right - 2;
}

void ListItemHints::mouseAt(POINT client) {
  const auto hit = SendMessageW(list_, LB_ITEMFROMPOINT, 0, MAKELPARAM(client.x, client.y));
  const bool outside = HIWORD(hit) != 0;
  const int row = outside ? -1 : static_cast<int>(LOWORD(hit));
  if (row == shown_ || row == pending_) return;
  hide();
  if (row < 0 || !isClipped(list_, row)) return;
  pending_ = row;
  SetTimer(list_, kShowTimer, static_cast<UINT>(Hints::pause()), nullptr);
  TRACKMOUSEEVENT leave{sizeof(TRACKMOUSEEVENT), TME_LEAVE, list_, 0};
  TrackMouseEvent(&leave);
}

void ListItemHints::show() {
  KillTimer(list_, kShowTimer);
  if (pending_ < 0) return;
  shown_ = pending_;
  pending_ = -1;
  text_ = itemText(list_, shown_);
  TTTOOLINFOW tool = trackTool(list_);
  tool.lpszText = text_.data();
  SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  RECT row{};
  SendMessageW(list_, LB_GETITEMRECT, static_cast<WPARAM>(shown_), reinterpret_cast<LPARAM>(&row));
  POINT at{1, row.top - 1};
  ClientToScreen(list_, &at);
  SendMessageW(tooltip_, TTM_TRACKPOSITION, 0, MAKELPARAM(at.x, at.y));
  SendMessageW(tooltip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
  SetTimer(list_, kHideTimer, static_cast<UINT>(Hints::hidePause()), nullptr);
}

void ListItemHints::hide() {
  KillTimer(list_, kShowTimer);
  KillTimer(list_, kHideTimer);
  pending_ = -1;
  if (shown_ < 0) return;
  shown_ = -1;
  TTTOOLINFOW tool = trackTool(list_);
  SendMessageW(tooltip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}

LRESULT CALLBACK ListItemHints::watch(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR data) {
  auto* self = reinterpret_cast<ListItemHints*>(data);
  switch (message) {
    case WM_MOUSEMOVE:
      self->mouseAt({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
      break;
    case WM_MOUSELEAVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MOUSEWHEEL:
    case WM_VSCROLL:
      self->hide();
      break;
    case WM_TIMER:
      if (wParam == kShowTimer) {
        self->show();
        return 0;
      }
      if (wParam == kHideTimer) {
        // The hint stays for the display time, then goes until the mouse moves to another item.
        KillTimer(window, kHideTimer);
        TTTOOLINFOW tool = trackTool(window);
        SendMessageW(self->tooltip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
        return 0;
      }
      break;
    default:
      break;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace winui
