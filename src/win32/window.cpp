#include "win32/window.h"

#include <set>

#include "win32/controls.h"

namespace winui {

HINSTANCE instance() { return GetModuleHandleW(nullptr); }

namespace {
// The icon of the resource file (resources.rc): 1.
constexpr int kProgramIconId = 1;
}  // namespace

Window::~Window() {
  if (hwnd_ && IsWindow(hwnd_)) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    HWND window = hwnd_;
    hwnd_ = nullptr;
    DestroyWindow(window);
  }
}

Window* Window::fromHandle(HWND window) {
  if (!window) return nullptr;
  wchar_t name[64] = {};
  // Only our classes carry the object in their user data.
  if (!GetClassNameW(window, name, 64) || std::wstring(name).rfind(L"Varnikit", 0) != 0) return nullptr;
  return reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void Window::registerClass(const wchar_t* className, UINT classStyle, HBRUSH background) {
  static std::set<std::wstring> registered;
  if (registered.count(className)) return;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = classStyle;
  windowClass.lpfnWndProc = &Window::procedure;
  windowClass.hInstance = instance();
  windowClass.hIcon = static_cast<HICON>(LoadImageW(instance(), MAKEINTRESOURCEW(kProgramIconId), IMAGE_ICON,
                                                    0, 0, LR_DEFAULTSIZE | LR_SHARED));
  windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance(), MAKEINTRESOURCEW(kProgramIconId), IMAGE_ICON,
                                                      GetSystemMetrics(SM_CXSMICON),
                                                      GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = background ? background : reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = className;
  if (RegisterClassExW(&windowClass) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS) registered.insert(className);
}

HWND Window::create(const wchar_t* className, const std::wstring& title, DWORD style, DWORD exStyle, int x,
                    int y, int width, int height, HWND parent, HMENU menu) {
  CreateWindowExW(exStyle, className, title.c_str(), style, x, y, width, height, parent, menu, instance(), this);
  if (hwnd_) dpi_ = dpiOf(hwnd_);
  return hwnd_;
}

LRESULT CALLBACK Window::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    if (self) self->hwnd_ = window;
  } else {
    self = reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    const LRESULT result = self->handleMessage(message, wParam, lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    return result;
  }
  return self->handleMessage(message, wParam, lParam);
}

bool Window::routeCommand(WPARAM wParam, LPARAM) {
  const int id = LOWORD(wParam);
  const int code = HIWORD(wParam);
  const auto found = commands_.find(id);
  if (found == commands_.end()) return unhandledCommand(id, code);
  // A copy: the handler may replace its own registration.
  const CommandHandler handler = found->second;
  handler(code);
  return true;
}

bool Window::routeNotify(LPARAM lParam, LRESULT& result) {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  const auto found = notifications_.find(static_cast<int>(header->idFrom));
  if (found == notifications_.end()) return unhandledCommand(static_cast<int>(header->idFrom), static_cast<int>(header->code));
  const NotifyHandler handler = found->second;
  result = handler(*header);
  return true;
}

bool Window::unhandledCommand(int, int) { return false; }

bool Window::isTopLevel() const { return hwnd_ && !(GetWindowLongW(hwnd_, GWL_STYLE) & WS_CHILD); }

void Window::rememberFocus() {
  HWND focus = GetFocus();
  if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
}

bool Window::restoreFocus() {
  HWND target = lastFocus_;
  if (!target || !IsWindow(target) || !IsChild(hwnd_, target) || !IsWindowVisible(target) ||
      !IsWindowEnabled(target)) {
    target = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
  }
  if (!target || target == hwnd_) return false;
  SetFocus(target);
  return true;
}

LRESULT Window::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (routeCommand(wParam, lParam)) return 0;
      break;
    case WM_NOTIFY: {
      LRESULT result = 0;
      if (routeNotify(lParam, result)) return result;
      break;
    }
    case WM_ACTIVATE:
      if (!isTopLevel()) break;
      if (LOWORD(wParam) == WA_INACTIVE) {
        rememberFocus();
      } else if (!HIWORD(wParam) && restoreFocus()) {  // not while minimised
        return 0;
      }
      break;
    case WM_SETFOCUS:
      // The window itself given the focus (the program's "focus the main window"): its control takes it.
      if (isTopLevel() && restoreFocus()) return 0;
      break;
    case WM_DPICHANGED:
      followDpiChange(hwnd_, dpi_, HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      dpi_ = HIWORD(wParam);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

Panel::Panel(HWND parent, int x, int y, int width, int height, int id) {
  registerClass(L"VarnikitPanel");
  create(L"VarnikitPanel", L"", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, x, y, width,
         height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

}  // namespace winui
