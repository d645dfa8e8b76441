#pragma once

#include <windows.h>

#include <functional>

#include "app/main_window_state.h"
#include "app/ui.h"

namespace winui {

// The Ui of the Windows program: MessageBoxW with the program's captions and icons, the program's own
// input box, the shell's file dialog for files and folders, the main window's status bar and its
// disabled state.
class Win32Ui final : public app::Ui {
 public:
  void attach(HWND mainWindow, HWND statusBar);
  // Boxes and choosers go to prompts instead (tests script them); the status bar and the disabled state
  // stay real.
  void setPrompts(app::Ui* prompts) { prompts_ = prompts; }

  app::Answer messageBox(const std::string& caption, const std::string& text, app::Icon icon,
                         app::Buttons buttons) override;
  std::optional<std::string> inputBox(const std::string& caption, const std::string& prompt,
                                      const std::string& value) override;
  std::vector<std::string> chooseFiles(const app::FileRequest& request) override;
  std::optional<std::string> chooseFolder(const std::string& caption, const std::string& prompt,
                                          const std::string& initialFolder) override;
  void processEvents() override;
  void setStatusText(const std::string& text) override;
  void setBusy(bool busy) override;
  void setMainWindowEnabled(bool enabled) override;
  void focusMainWindow() override;

  bool busy() const { return state_.busy(); }
  bool held() const { return state_.held(); }
  // A box, input box or chooser of this Ui is open (its own modal loop runs).
  bool promptOpen() const { return promptDepth_ > 0; }
  // A third owner of the disabled main window: open dialogs, asked each time the state is worked out.
  void setDialogsOpen(std::function<bool()> dialogsOpen) { dialogsOpen_ = std::move(dialogsOpen); }
  // After an error has ended a handler: neither busy nor held; only an open dialog still disables.
  void releaseMainWindow();
  // Applies the state to the window: enabled when no owner keeps it disabled.
  void updateMainWindow();
  // The window boxes and choosers belong to: the program's active window, else the main window.
  HWND promptOwner() const;
  // The status line's text as last set.
  const std::string& statusText() const { return statusText_; }

 private:
  app::Ui* prompts_ = nullptr;
  HWND mainWindow_ = nullptr;
  HWND statusBar_ = nullptr;
  std::function<bool()> dialogsOpen_;
  app::MainWindowState state_;
  int promptDepth_ = 0;
  std::string statusText_;
};

// MB_ flags of a box: its buttons and icon.
UINT messageBoxFlags(app::Icon icon, app::Buttons buttons);

}  // namespace winui
