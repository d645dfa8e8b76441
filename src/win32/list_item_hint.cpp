#include "win32/list_item_hint.h"

#include <commctrl.h>

#include <string>

#include "win32/hints.h"
#include "win32/text.h"

namespace winui {

namespace {

constexpr UINT_PTR kClippedWatchId = 7;

// Asks the watch of a list box to end itself (it holds the data only it can free).
UINT unwatchMessage() {
  static const UINT message = RegisterWindowMessageW(L"VarnikitUnwatchClippedItems");
  return message;
}

struct Watch {
  Hints& hints;
  int item = -2;  // the item whose hint is set; -1 none, -2 not worked out yet
};

std::wstring itemText(HWND list, int item) {
  const auto length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(item), 0);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const auto copied = SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return text;
}

bool clipped(HWND list, const std::wstring& text) {
  RECT client{};
  GetClientRect(list, &client);
  HDC dc = GetDC(list);
  const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(list, dc);
  return size.cx > client.right - client.left - 2;
}

LRESULT CALLBACK watchProcedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  auto* watch = reinterpret_cast<Watch*>(data);
  if (message == WM_MOUSEMOVE) {
    const auto hit = SendMessageW(list, LB_ITEMFROMPOINT, 0, lParam);
    const int item = HIWORD(hit) != 0 ? -1 : static_cast<int>(LOWORD(hit));
    if (item != watch->item) {
      const std::wstring text = item >= 0 ? itemText(list, item) : std::wstring();
      if (item >= 0 && clipped(list, text)) {
        watch->hints.add(list, narrow(text));
        watch->item = item;
      } else {
        watch->hints.remove(list);
        watch->item = -1;
      }
    }
  } else if (message == LB_RESETCONTENT || message == LB_DELETESTRING || message == LB_INSERTSTRING) {
    watch->item = -2;  // the rows change: the next move works the hint out again
  } else if (message == WM_NCDESTROY || message == unwatchMessage()) {
    RemoveWindowSubclass(list, &watchProcedure, kClippedWatchId);
    delete watch;
    if (message != WM_NCDESTROY) return 0;
  }
  return DefSubclassProc(list, message, wParam, lParam);
}

}  // namespace

void watchClippedItems(HWND listBox, Hints& hints) {
  auto* watch = new Watch{hints};
  if (!SetWindowSubclass(listBox, &watchProcedure, kClippedWatchId, reinterpret_cast<DWORD_PTR>(watch))) delete watch;
}

void unwatchClippedItems(HWND listBox) {
  if (listBox && IsWindow(listBox)) SendMessageW(listBox, unwatchMessage(), 0, 0);
}

}  // namespace winui
