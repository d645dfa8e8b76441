#include "win32/controls.h"

#include <commctrl.h>

#include <map>

#include "win32/text.h"
#include "win32/window.h"

namespace winui {

UINT dpiOf(HWND window) {
  // GetDpiForWindow came with Windows 10 1607; before it every window has the system's DPI.
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (getDpiForWindow && window) {
    const UINT dpi = getDpiForWindow(window);
    if (dpi) return dpi;
  }
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

int scaled(HWND window, int value) { return MulDiv(value, static_cast<int>(dpiOf(window)), 96); }

HFONT messageFont(UINT dpi) {
  static std::map<UINT, HFONT> fonts;
  const auto found = fonts.find(dpi);
  if (found != fonts.end()) return found->second;
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  using ForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
  static const auto forDpi = reinterpret_cast<ForDpiFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "SystemParametersInfoForDpi")));
  bool got = false;
  if (forDpi) got = forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi) != FALSE;
  if (!got) {
    got = SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0) != FALSE;
    // The system's metrics are at the system DPI; the window may be on another monitor.
    if (got) metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi),
                                                     static_cast<int>(dpiOf(nullptr)));
  }
  HFONT font = got ? CreateFontIndirectW(&metrics.lfMessageFont) : nullptr;
  if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  fonts[dpi] = font;
  return font;
}

void useMessageFont(HWND control) {
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(messageFont(dpiOf(control))), TRUE);
}

HWND createControl(HWND parent, const wchar_t* className, std::string_view text, DWORD style, const Box& box,
                   int id, DWORD exStyle) {
  HWND control = CreateWindowExW(exStyle, className, wide(text).c_str(), WS_CHILD | WS_VISIBLE | style,
                                 scaled(parent, box.x), scaled(parent, box.y), scaled(parent, box.width),
                                 scaled(parent, box.height), parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance(), nullptr);
  if (control) useMessageFont(control);
  return control;
}

HWND createButton(HWND parent, std::string_view text, const Box& box, int id, bool isDefault) {
  return createControl(parent, L"BUTTON", text, WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), box,
                       id);
}

HWND createCheckBox(HWND parent, std::string_view text, const Box& box, int id) {
  return createControl(parent, L"BUTTON", text, WS_TABSTOP | BS_AUTOCHECKBOX, box, id);
}

HWND createRadioButton(HWND parent, std::string_view text, const Box& box, int id, bool firstInGroup) {
  return createControl(parent, L"BUTTON", text, WS_TABSTOP | BS_AUTORADIOBUTTON | (firstInGroup ? WS_GROUP : 0),
                       box, id);
}

HWND createGroupBox(HWND parent, std::string_view text, const Box& box, int id) {
  // A group box paints only its frame and caption; under a parent that clips its children nobody would
  // paint the inside. Transparent, it is not clipped away and the parent's background shows through.
  return createControl(parent, L"BUTTON", text, BS_GROUPBOX, box, id, WS_EX_TRANSPARENT);
}

HWND createLabel(HWND parent, std::string_view text, const Box& box, int id, DWORD extraStyle) {
  return createControl(parent, L"STATIC", text, SS_LEFT | SS_NOPREFIX | extraStyle, box, id);
}

HWND createEdit(HWND parent, std::string_view text, const Box& box, int id, DWORD extraStyle) {
  return createControl(parent, L"EDIT", text, WS_TABSTOP | ES_AUTOHSCROLL | extraStyle, box, id, WS_EX_CLIENTEDGE);
}

namespace {
// A read-only multi-line field has nothing to do with Tab, Enter or Escape: the window's keys go on (Tab
// to the next control) instead of stopping in it. The arrows still scroll it.
LRESULT CALLBACK readOnlyMemoKeys(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
  if (message == WM_GETDLGCODE) return result & ~static_cast<LRESULT>(DLGC_WANTALLKEYS | DLGC_WANTTAB);
  if (message == WM_NCDESTROY) RemoveWindowSubclass(window, &readOnlyMemoKeys, 0);
  return result;
}
}  // namespace

HWND createMemo(HWND parent, std::string_view text, const Box& box, int id, bool readOnly) {
  HWND memo = createControl(parent, L"EDIT", text,
                            WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN |
                                (readOnly ? ES_READONLY : 0),
                            box, id, WS_EX_CLIENTEDGE);
  if (readOnly && memo) SetWindowSubclass(memo, &readOnlyMemoKeys, 0, 0);
  return memo;
}

HWND createListBox(HWND parent, const Box& box, int id, DWORD extraStyle) {
  return createControl(parent, L"LISTBOX", "",
                       WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | extraStyle, box, id,
                       WS_EX_CLIENTEDGE);
}

HWND createProgressBar(HWND parent, const Box& box, int id) {
  return createControl(parent, PROGRESS_CLASSW, "", 0, box, id);
}

void place(HWND control, const Box& box) {
  HWND parent = GetParent(control);
  MoveWindow(control, scaled(parent, box.x), scaled(parent, box.y), scaled(parent, box.width),
             scaled(parent, box.height), TRUE);
}

void setListItems(HWND listBox, const std::vector<std::string>& items) {
  SendMessageW(listBox, WM_SETREDRAW, FALSE, 0);
  SendMessageW(listBox, LB_RESETCONTENT, 0, 0);
  for (const std::string& item : items) {
    const std::wstring text = wide(item);
    SendMessageW(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  SendMessageW(listBox, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(listBox, nullptr, TRUE);
}

std::vector<std::string> listItems(HWND listBox) {
  std::vector<std::string> items;
  const auto count = SendMessageW(listBox, LB_GETCOUNT, 0, 0);
  for (LRESULT row = 0; row < count; ++row) {
    const auto length = SendMessageW(listBox, LB_GETTEXTLEN, static_cast<WPARAM>(row), 0);
    std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
    const auto copied = SendMessageW(listBox, LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    items.push_back(narrow(text));
  }
  return items;
}

int listSelection(HWND listBox) {
  const auto row = SendMessageW(listBox, LB_GETCURSEL, 0, 0);
  return row == LB_ERR ? -1 : static_cast<int>(row);
}

void selectListItem(HWND listBox, int row) { SendMessageW(listBox, LB_SETCURSEL, static_cast<WPARAM>(row), 0); }

bool isChecked(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void setChecked(HWND button, bool checked) {
  SendMessageW(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void setClientSize(HWND window, int width, int height) {
  RECT rect{0, 0, scaled(window, width), scaled(window, height)};
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
  AdjustWindowRectEx(&rect, style, GetMenu(window) != nullptr, exStyle);
  SetWindowPos(window, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // A menu bar that wraps onto a second line takes client height; give it back.
  RECT client{};
  GetClientRect(window, &client);
  const int missing = scaled(window, height) - (client.bottom - client.top);
  if (missing > 0) {
    RECT outer{};
    GetWindowRect(window, &outer);
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top + missing,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void centreOnScreen(HWND window) {
  HWND owner = GetWindow(window, GW_OWNER);
  HMONITOR monitor = MonitorFromWindow(owner ? owner : window, MONITOR_DEFAULTTOPRIMARY);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (GetMonitorInfoW(monitor, &info)) work = info.rcWork;
  RECT rect{};
  GetWindowRect(window, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  SetWindowPos(window, nullptr, work.left + (work.right - work.left - width) / 2,
               work.top + (work.bottom - work.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {
struct DpiChange {
  UINT oldDpi;
  UINT newDpi;
};
BOOL CALLBACK rescaleChild(HWND child, LPARAM data) {
  const auto* change = reinterpret_cast<const DpiChange*>(data);
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  const auto scale = [change](LONG value) {
    return MulDiv(value, static_cast<int>(change->newDpi), static_cast<int>(change->oldDpi));
  };
  SetWindowPos(child, nullptr, scale(rect.left), scale(rect.top), scale(rect.right - rect.left),
               scale(rect.bottom - rect.top), SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(messageFont(change->newDpi)), TRUE);
  return TRUE;
}
}  // namespace

void followDpiChange(HWND window, UINT oldDpi, UINT newDpi, const RECT& suggested) {
  if (oldDpi == 0 || newDpi == 0) return;
  SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  if (oldDpi == newDpi) return;
  DpiChange change{oldDpi, newDpi};
  // Every descendant, each placed within its own parent.
  EnumChildWindows(window, &rescaleChild, reinterpret_cast<LPARAM>(&change));
  InvalidateRect(window, nullptr, TRUE);
}

void initCommonControls() {
  static bool done = false;
  if (done) return;
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES |
                   ICC_PROGRESS_CLASS | ICC_WIN95_CLASSES;
  InitCommonControlsEx(&controls);
  done = true;
}

}  // namespace winui
