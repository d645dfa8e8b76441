#pragma once

#include <functional>
#include <memory>
#include <string>

#include "win32/hints.h"
#include "win32/window.h"

namespace winui {

class MainWindow;

// A secondary window of the program: created once at start, owned by the main window, shown non-modally
// and hidden again. While it is open it keeps the main window disabled (as a dialog would) unless
// holdsMainWindow() says otherwise. FormShow runs at each showing, FormClose at every way of closing
// (close box, close()), FormHide after it is hidden. Its handlers run inside the main window's
// guard (guarded()).
class SecondaryWindow : public Window {
 public:
  // A fixed client area of width x height (96-dpi pixels), centred on the screen, with caption.
  SecondaryWindow(MainWindow& main, const std::string& caption, int width, int height);
  ~SecondaryWindow() override;

  MainWindow& main() { return main_; }
  virtual bool holdsMainWindow() const { return true; }

  void show();
  // Runs FormClose, then hides the window.
  void close();
  bool isVisible() const { return hwnd() && IsWindowVisible(hwnd()); }
  Hints& hints() { return *hints_; }

  // A handler run through the main window's guard.
  void guarded(const std::function<void()>& handler);
  // onCommand with the handler run through the guard.
  void onGuardedCommand(int id, std::function<void(int code)> handler);

 protected:
  virtual void FormShow() {}
  virtual void FormClose() {}
  virtual void FormHide() {}
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  MainWindow& main_;
  std::unique_ptr<Hints> hints_;
  bool closing_ = false;
};

}  // namespace winui
