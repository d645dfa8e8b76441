#include "win32/support/window_driver.h"

#include <commctrl.h>

#include "win32/text.h"

namespace testing_support::win32 {

void pump(int rounds) {
  for (int round = 0; round < rounds; ++round) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) continue;  // a closed main window's end of loop: no loop here
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Sleep(1);
  }
}

bool pumpUntil(const std::function<bool()>& done, int timeoutMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > static_cast<DWORD>(timeoutMs)) return false;
    pump(1);
    Sleep(5);
  }
  return true;
}

void click(HWND button) {
  SendMessageW(button, BM_CLICK, 0, 0);
  pump();
}

void command(HWND window, int id) {
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
  pump();
}

void typeText(HWND edit, const std::string& utf8) {
  SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(winui::wide(utf8).c_str()));
  pump();
}

void selectRow(HWND listBox, int row) {
  SendMessageW(listBox, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
  SendMessageW(GetParent(listBox), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(listBox), LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(listBox));
  pump();
}

void selectListViewRow(HWND listView, int row) {
  ListView_SetItemState(listView, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  pump();
}

void clickAt(HWND window, POINT client) {
  // Posted, as the system queues them: a control that follows the button until it is released finds the
  // release waiting.
  PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.x, client.y));
  PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
  pump();
}

std::string text(HWND window) { return winui::windowTextUtf8(window); }

HWND child(HWND parent, int id) { return GetDlgItem(parent, id); }

namespace {
struct Search {
  std::wstring caption;
  HWND found = nullptr;
};
BOOL CALLBACK matchCaption(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  if (IsWindowVisible(window) && winui::windowText(window) == search->caption) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

HWND topLevelWindow(const std::string& caption) {
  Search search{winui::wide(caption)};
  EnumThreadWindows(GetCurrentThreadId(), &matchCaption, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<std::string> childTexts(HWND parent, const std::string& className) {
  std::vector<std::string> texts;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[64] = {};
    GetClassNameW(child, name, 64);
    if (_wcsicmp(name, winui::wide(className).c_str()) == 0) texts.push_back(text(child));
  }
  return texts;
}

std::vector<std::string> menuItems(HMENU menu) {
  std::vector<std::string> items;
  const int count = GetMenuItemCount(menu);
  for (int position = 0; position < count; ++position) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info);
    if (info.fType & MFT_SEPARATOR) {
      items.emplace_back("-");
      continue;
    }
    wchar_t caption[256] = {};
    GetMenuStringW(menu, static_cast<UINT>(position), caption, 256, MF_BYPOSITION);
    items.push_back(winui::narrow(caption));
  }
  return items;
}

namespace {
std::function<bool()> pendingAction;
bool actionDone = false;
void CALLBACK runPending(HWND, UINT, UINT_PTR timer, DWORD) {
  if (!pendingAction || pendingAction()) {
    KillTimer(nullptr, timer);
    pendingAction = nullptr;
    actionDone = true;
  }
}
}  // namespace

void whenModal(std::function<bool()> action) {
  pendingAction = std::move(action);
  actionDone = false;
  SetTimer(nullptr, 0, 20, &runPending);
}

bool modalActionDone() { return actionDone; }

}  // namespace testing_support::win32

namespace testing_support::win32 {

void whenPopupMenu(std::vector<std::string>* items, int position) {
  whenModal([items, position] {
    HWND menu = FindWindowW(L"#32768", nullptr);  // the system's class of a shown menu
    if (!menu || !IsWindowVisible(menu)) return false;
    if (items) *items = menuItems(reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0)));
    for (int down = 0; down <= position; ++down) PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
    return true;
  });
}

}  // namespace testing_support::win32
