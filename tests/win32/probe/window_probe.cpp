// What a display test needs to point a real pointer at a control of a running Win32 program under Wine
// (Wine draws child controls inside its X windows, where X tools cannot see them):
//
//   window-probe control "WINDOW TITLE" "CONTROL TEXT"   centre of the enabled control, "x y" on the screen
//   window-probe item "WINDOW TITLE" "ITEM TEXT"         centre of the item of a list box or list view, "x y"
//   window-probe box "WINDOW TITLE" "ITEM TEXT"          centre of the check box of a list view's row, "x y"
//   window-probe checked "WINDOW TITLE" "ITEM TEXT"      whether that box is checked: "1" or "0"
//   window-probe texts "WINDOW TITLE"                    the text of each visible child window, one per line
//
// Texts are compared as written, "&" marks included, and printed as UTF-8. Exit status 1 when the window
// or the control is not there (yet), 2 on wrong arguments. Menus are not probed: Wine does not lend a
// menu to another process, so a test opens them from the keyboard.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
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

std::wstring classOf(HWND window) {
  wchar_t name[32] = {};
  GetClassNameW(window, name, 32);
  return name;
}

// A list view answers with pointers into its own process, unlike a list box whose messages the system
// carries over: the structures it reads and fills are put in a block of the program's memory.
class RemoteBlock {
 public:
  RemoteBlock(HWND window, SIZE_T size) {
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id);
    if (process_) address_ = static_cast<char*>(VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  }
  ~RemoteBlock() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;

  bool ok() const { return address_ != nullptr; }
  char* at(SIZE_T offset) const { return address_ + offset; }
  template <typename T>
  bool put(const T& value, SIZE_T offset = 0) {
    return WriteProcessMemory(process_, at(offset), &value, sizeof value, nullptr) != FALSE;
  }
  template <typename T>
  bool get(T& value, SIZE_T offset = 0) const {
    return ReadProcessMemory(process_, at(offset), &value, sizeof value, nullptr) != FALSE;
  }

 private:
  HANDLE process_ = nullptr;
  char* address_ = nullptr;
};

constexpr SIZE_T kTextOffset = 256;  // where a row's text goes in the block, after the structure
constexpr int kTextChars = 512;

std::wstring listViewText(HWND list, RemoteBlock& block, int row) {
  LVITEMW item{};
  item.pszText = reinterpret_cast<LPWSTR>(block.at(kTextOffset));
  item.cchTextMax = kTextChars;
  if (!block.put(item)) return {};
  SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(block.at(0)));
  wchar_t text[kTextChars] = {};
  block.get(text, kTextOffset);
  text[kTextChars - 1] = L'\0';
  return text;
}

// The row of a list view with this text, and its part (LVIR_LABEL, LVIR_BOUNDS ...) in the list's client
// coordinates; -1 when no row has it.
int listViewRow(HWND list, RemoteBlock& block, const std::wstring& text, int part, RECT& rect) {
  const auto rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < rows; ++row) {
    if (listViewText(list, block, row) != text) continue;
    RECT asked{};
    asked.left = part;
    if (!block.put(asked) ||
        !SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(block.at(0))) ||
        !block.get(rect)) {
      return -1;
    }
    return row;
  }
  return -1;
}

// The row's check box, as the list view itself tells where it is: the points of the row at its middle
// height, left of its text, that it calls its state image.
bool checkBox(HWND list, RemoteBlock& block, int row, const RECT& bounds, const RECT& label, RECT& box) {
  const int y = (bounds.top + bounds.bottom) / 2;
  box = {label.left, y, bounds.left, y + 1};
  for (int x = bounds.left; x < label.left; ++x) {
    LVHITTESTINFO hit{};
    hit.pt = {x, y};
    if (!block.put(hit) || SendMessageW(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(block.at(0))) != row ||
        !block.get(hit) || !(hit.flags & LVHT_ONITEMSTATEICON)) {
      continue;
    }
    box.left = std::min<LONG>(box.left, x);
    box.right = std::max<LONG>(box.right, x + 1);
  }
  return box.left < box.right;
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
    std::fputs("usage: window-probe control|item|box|checked|texts \"WINDOW TITLE\" [TEXT...]\n", stderr);
    return 2;
  }
  HWND window = FindWindowW(nullptr, args[1].c_str());
  if (!window || !IsWindowVisible(window)) return 1;
  if (args[0] == L"texts") {
    for (HWND child : visibleChildren(window)) print(utf8(textOf(child)));
    return 0;
  }
  const bool row = args[0] == L"box" || args[0] == L"checked";
  if ((args[0] == L"item" || row) && args.size() == 3) {
    for (HWND child : visibleChildren(window)) {
      if (lstrcmpiW(classOf(child).c_str(), WC_LISTVIEWW) != 0) continue;
      RemoteBlock block(child, kTextOffset + kTextChars * sizeof(wchar_t));
      RECT label{};
      RECT bounds{};
      const int found = block.ok() ? listViewRow(child, block, args[2], LVIR_LABEL, label) : -1;
      if (found < 0 || listViewRow(child, block, args[2], LVIR_BOUNDS, bounds) != found) continue;
      if (args[0] == L"checked") {
        const auto state = SendMessageW(child, LVM_GETITEMSTATE, static_cast<WPARAM>(found), LVIS_STATEIMAGEMASK);
        print(((state & LVIS_STATEIMAGEMASK) >> 12) == 2 ? "1" : "0");
        return 0;
      }
      RECT rect = label;
      if (args[0] == L"box" && !checkBox(child, block, found, bounds, label, rect)) return 1;
      MapWindowPoints(child, nullptr, reinterpret_cast<POINT*>(&rect), 2);
      return printCentre(rect);
    }
    if (row) return 1;
    // List boxes answer these two messages across processes (the system carries their text and rectangle).
    for (HWND child : visibleChildren(window)) {
      if (lstrcmpiW(classOf(child).c_str(), L"ListBox") != 0) continue;
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
