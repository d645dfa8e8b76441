// What a display test needs to point a real pointer at a control of a running Win32 program under Wine
// (Wine draws child controls inside its X windows, where X tools cannot see them):
//
//   window-probe control "WINDOW TITLE" "CONTROL TEXT"   centre of the enabled control, "x y" on the screen
//   window-probe item "WINDOW TITLE" "ITEM TEXT"         centre of the item of a list box, "x y"
//   window-probe texts "WINDOW TITLE"                    the text of each visible child window, one per line
//
// Texts are compared as written, "&" marks included, and printed as UTF-8. Exit status 1 when the window
// or the control is not there (yet), 2 on wrong arguments. Menus are not probed: Wine does not lend a
// menu to another process, so a test opens them from the keyboard.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
  return bytes;
}

std::wstring textOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

void print(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
}

int printCentre(const RECT& rect) {
  print(std::to_string((rect.left + rect.right) / 2) + " " + std::to_string((rect.top + rect.bottom) / 2));
  return 0;
}

std::vector<HWND> visibleChildren(HWND window) {
  std::vector<HWND> children;
  EnumChildWindows(
      window,
      [](HWND child, LPARAM list) {
        if (IsWindowVisible(child)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&children));
  return children;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::vector<std::wstring> args(argv + 1, argv + argc);
  if (args.size() < 2) {
    std::fputs("usage: window-probe control|item|texts \"WINDOW TITLE\" [TEXT...]\n", stderr);
    return 2;
  }
  HWND window = FindWindowW(nullptr, args[1].c_str());
  if (!window || !IsWindowVisible(window)) return 1;
  if (args[0] == L"texts") {
    for (HWND child : visibleChildren(window)) print(utf8(textOf(child)));
    return 0;
  }
  if (args[0] == L"item" && args.size() == 3) {
    // List boxes answer these two messages across processes (the system carries their text and rectangle).
    for (HWND child : visibleChildren(window)) {
      wchar_t className[32] = {};
      GetClassNameW(child, className, 32);
      if (lstrcmpiW(className, L"ListBox") != 0) continue;
      const LRESULT item = SendMessageW(child, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(args[2].c_str()));
      RECT rect{};
      if (item == LB_ERR || SendMessageW(child, LB_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&rect)) == LB_ERR) continue;
      MapWindowPoints(child, nullptr, reinterpret_cast<POINT*>(&rect), 2);
      return printCentre(rect);
    }
    return 1;
  }
  if (args[0] == L"control" && args.size() == 3) {
    for (HWND child : visibleChildren(window)) {
      RECT rect{};
      if (textOf(child) == args[2] && IsWindowEnabled(child) && GetWindowRect(child, &rect)) return printCentre(rect);
    }
    return 1;
  }
  std::fputs("window-probe: unknown command or wrong number of texts\n", stderr);
  return 2;
}
