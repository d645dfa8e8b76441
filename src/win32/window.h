#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>

// The base of every window of the Win32 front-end: a window class registered once, and a window
// procedure that hands each message to the C++ object owning the window. Commands (WM_COMMAND: buttons,
// menus, accelerators, edit and list notifications) and WM_NOTIFY (common controls) are routed to the
// handler registered for the control's id.
namespace winui {

class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND hwnd() const { return hwnd_; }

  // code: the notification (BN_CLICKED, LBN_SELCHANGE, EN_CHANGE ...; 0 for a menu, 1 for an accelerator).
  using CommandHandler = std::function<void(int code)>;
  using NotifyHandler = std::function<LRESULT(NMHDR& header)>;
  void onCommand(int id, CommandHandler handler) { commands_[id] = std::move(handler); }
  void onNotify(int id, NotifyHandler handler) { notifications_[id] = std::move(handler); }

  // The object behind a window of this toolkit, or nullptr.
  static Window* fromHandle(HWND window);

  // A top-level window keeps the keyboard focus of its controls as a dialog does: the control that had it
  // when the window was left (a box, another window) gets it back when the window is active again; when
  // that one is gone, hidden or disabled, the first control Tab reaches. False when there is none.
  bool restoreFocus();
  // The control that has the focus now becomes the one to give it back to.
  void rememberFocus();

 protected:
  // Registers the class (once per name) with the program's icon and the arrow cursor.
  static void registerClass(const wchar_t* className, UINT classStyle = 0, HBRUSH background = nullptr);
  // Creates the window; its messages come to handleMessage from WM_NCCREATE on.
  HWND create(const wchar_t* className, const std::wstring& title, DWORD style, DWORD exStyle, int x, int y,
              int width, int height, HWND parent, HMENU menu = nullptr);

  // Every message. The default routes WM_COMMAND and WM_NOTIFY, follows a change of DPI (a top-level
  // window moved to another monitor) and passes the rest to DefWindowProcW.
  virtual LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // A WM_COMMAND or WM_NOTIFY nobody registered for.
  virtual bool unhandledCommand(int id, int code);
  LRESULT defaultProcedure(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
  // Routes one WM_COMMAND / WM_NOTIFY; true when a handler took it.
  bool routeCommand(WPARAM wParam, LPARAM lParam);
  bool routeNotify(LPARAM lParam, LRESULT& result);

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  bool isTopLevel() const;
  HWND hwnd_ = nullptr;
  HWND lastFocus_ = nullptr;  // top-level windows: the control to give the focus back to
  UINT dpi_ = 0;  // the DPI the window's controls are laid out for
  std::map<int, CommandHandler> commands_;
  std::map<int, NotifyHandler> notifications_;
};

// A plain child window that holds controls and routes their commands: a page of the main window, a group
// of controls. Its background is the dialog colour.
class Panel : public Window {
 public:
  Panel(HWND parent, int x, int y, int width, int height, int id = 0);
};

// The module the program runs from (its resources: the icon).
HINSTANCE instance();

}  // namespace winui
