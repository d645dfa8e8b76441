#include "win32/win32_ui.h"

#include <commctrl.h>

#include "win32/file_dialogs.h"
#include "win32/input_box.h"
#include "win32/text.h"
#include "win32/window.h"

namespace winui {

namespace {
// Counts a prompt's own modal loop for as long as it runs, and gives the keyboard focus back to the
// control of the window that asked which had it (F2 on a list works again at once).
class PromptScope {
 public:
  PromptScope(int& depth, HWND owner) : depth_(depth), owner_(Window::fromHandle(owner)) {
    ++depth_;
    if (owner_) owner_->rememberFocus();
  }
  ~PromptScope() {
    --depth_;
    if (owner_ && owner_->hwnd() && GetActiveWindow() == owner_->hwnd()) owner_->restoreFocus();
  }
  PromptScope(const PromptScope&) = delete;
  PromptScope& operator=(const PromptScope&) = delete;

 private:
  int& depth_;
  Window* owner_;
};
}  // namespace

void Win32Ui::attach(HWND mainWindow, HWND statusBar) {
  mainWindow_ = mainWindow;
  statusBar_ = statusBar;
}

HWND Win32Ui::promptOwner() const {
  HWND active = GetActiveWindow();
  if (active && IsWindowVisible(active)) return active;
  return mainWindow_;
}

UINT messageBoxFlags(app::Icon icon, app::Buttons buttons) {
  UINT flags = buttons == app::Buttons::YesNo ? MB_YESNO : MB_OK;
  switch (icon) {
    case app::Icon::None: break;
    case app::Icon::Information: flags |= MB_ICONINFORMATION; break;
    case app::Icon::Question: flags |= MB_ICONQUESTION; break;
    case app::Icon::Warning: flags |= MB_ICONWARNING; break;
    case app::Icon::Error: flags |= MB_ICONERROR; break;
  }
  return flags;
}

app::Answer Win32Ui::messageBox(const std::string& caption, const std::string& text, app::Icon icon,
                                app::Buttons buttons) {
  if (prompts_) return prompts_->messageBox(caption, text, icon, buttons);
  HWND owner = promptOwner();
  PromptScope scope(promptDepth_, owner);
  const int result = MessageBoxW(owner, wide(text).c_str(), wide(caption).c_str(),
                                 messageBoxFlags(icon, buttons) | MB_SETFOREGROUND);
  if (buttons == app::Buttons::Ok) return app::Answer::Ok;
  return result == IDYES ? app::Answer::Yes : app::Answer::No;
}

std::optional<std::string> Win32Ui::inputBox(const std::string& caption, const std::string& prompt,
                                             const std::string& value) {
  if (prompts_) return prompts_->inputBox(caption, prompt, value);
  HWND owner = promptOwner();
  PromptScope scope(promptDepth_, owner);
  InputBox box(owner, caption, prompt, value);
  return box.runModal();
}

std::vector<std::string> Win32Ui::chooseFiles(const app::FileRequest& request) {
  if (prompts_) return prompts_->chooseFiles(request);
  HWND owner = promptOwner();
  PromptScope scope(promptDepth_, owner);
  return openFiles(owner, request);
}

std::optional<std::string> Win32Ui::chooseFolder(const std::string& caption, const std::string& prompt,
                                                 const std::string& initialFolder) {
  if (prompts_) return prompts_->chooseFolder(caption, prompt, initialFolder);
  HWND owner = promptOwner();
  PromptScope scope(promptDepth_, owner);
  return pickFolder(owner, caption, prompt, initialFolder);
}

void Win32Ui::processEvents() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // The main loop must still see it.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    HWND active = GetActiveWindow();
    if (active && IsDialogMessageW(active, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void Win32Ui::setStatusText(const std::string& text) {
  statusText_ = text;
  if (!statusBar_) return;
  const std::wstring wideText = wide(text);
  SendMessageW(statusBar_, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(wideText.c_str()));
}

void Win32Ui::setBusy(bool busy) {
  state_.setBusy(busy);
  // The hourglass at once; the main window keeps it while busy (WM_SETCURSOR).
  SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
  updateMainWindow();
}

void Win32Ui::setMainWindowEnabled(bool enabled) {
  state_.setHeld(!enabled);
  updateMainWindow();
}

void Win32Ui::releaseMainWindow() {
  state_.setHeld(false);
  setBusy(false);
}

void Win32Ui::updateMainWindow() {
  if (!mainWindow_) return;
  const bool dialogOpen = dialogsOpen_ && dialogsOpen_();
  EnableWindow(mainWindow_, state_.enabled(dialogOpen));
}

void Win32Ui::focusMainWindow() {
  if (!mainWindow_) return;
  SetForegroundWindow(mainWindow_);
  SetActiveWindow(mainWindow_);
  // Focus on the window itself goes on to the control that had it (Window::restoreFocus).
  HWND focus = GetFocus();
  if (focus != mainWindow_ && !IsChild(mainWindow_, focus)) SetFocus(mainWindow_);
}

}  // namespace winui
