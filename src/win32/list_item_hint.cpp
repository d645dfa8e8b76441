#include "win32/list_item_hint.h"

#include <commctrl.h>
#include <windowsx.h>

#include <string>

#include "win32/controls.h"
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
  bool listView = false;  // a list view of one column (win32/check_list.h) rather than a list box
  int item = -2;          // the item whose hint is set; -1 none, -2 not worked out yet
};

bool isListView(HWND list) {
  wchar_t name[32] = {};
  GetClassNameW(list, name, 32);
  return lstrcmpiW(name, WC_LISTVIEWW) == 0;
}

std::wstring itemText(HWND list, int item) {
  const auto length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(item), 0);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const auto copied = SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return text;
}

int textWidth(HWND list, const std::wstring& text) {
  HDC dc = GetDC(list);
  const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(list, dc);
  return size.cx;
}

bool clipped(HWND list, const std::wstring& text) {
  RECT client{};
  GetClientRect(list, &client);
  return textWidth(list, text) > client.right - client.left - 2;
}

// A list view draws a row's text inside its label, a few pixels in from either side, and shortens it
// with "..." when it does not fit there.
bool clippedLabel(HWND list, int item, const std::wstring& text) {
  RECT label{};
  ListView_GetItemRect(list, item, &label, LVIR_LABEL);
  return textWidth(list, text) > label.right - label.left - MulDiv(12, static_cast<int>(dpiOf(list)), 96);
}

int listViewItemAt(HWND list, LPARAM at) {
  LVHITTESTINFO hit{};
  hit.pt = {GET_X_LPARAM(at), GET_Y_LPARAM(at)};
  const int item = ListView_HitTest(list, &hit);
  return (hit.flags & LVHT_ONITEM) ? item : -1;
}

std::wstring listViewItemText(HWND list, int item) {
  std::wstring text(1024, L'\0');
  ListView_GetItemText(list, item, 0, text.data(), static_cast<int>(text.size()));
  text.resize(wcslen(text.c_str()));
  return text;
}

bool rowsChange(bool listView, UINT message) {
  if (listView) return message == LVM_DELETEALLITEMS || message == LVM_DELETEITEM || message == LVM_INSERTITEMW ||
                       message == LVM_SETITEMTEXTW || message == LVM_SETITEMW;
  return message == LB_RESETCONTENT || message == LB_DELETESTRING || message == LB_INSERTSTRING;
}

LRESULT CALLBACK watchProcedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  auto* watch = reinterpret_cast<Watch*>(data);
  if (message == WM_MOUSEMOVE) {
    int item = -1;
    if (watch->listView) {
      item = listViewItemAt(list, lParam);
    } else {
      const auto hit = SendMessageW(list, LB_ITEMFROMPOINT, 0, lParam);
      item = HIWORD(hit) != 0 ? -1 : static_cast<int>(LOWORD(hit));
    }
    if (item != watch->item) {
      const std::wstring text =
          item < 0 ? std::wstring() : watch->listView ? listViewItemText(list, item) : itemText(list, item);
      if (item >= 0 && (watch->listView ? clippedLabel(list, item, text) : clipped(list, text))) {
        watch->hints.add(list, narrow(text));
        watch->item = item;
      } else {
        watch->hints.remove(list);
        watch->item = -1;
      }
    }
  } else if (rowsChange(watch->listView, message)) {
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
  auto* watch = new Watch{hints, isListView(listBox)};
  if (!SetWindowSubclass(listBox, &watchProcedure, kClippedWatchId, reinterpret_cast<DWORD_PTR>(watch))) delete watch;
}

void unwatchClippedItems(HWND listBox) {
  if (listBox && IsWindow(listBox)) SendMessageW(listBox, unwatchMessage(), 0, 0);
}

}  // namespace winui
