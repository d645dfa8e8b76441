#pragma once

#include <windows.h>

#include <string>

// Hints (tooltips) over controls. Every hint of the program shares one timing, as the main window sets
// it: 300 ms before a hint appears and 5000 ms it stays while the main window is shown, 500 and 2500
// while it is hidden.
namespace winui {

class Hints {
 public:
  // A tooltip window for the controls of owner (a top-level window).
  explicit Hints(HWND owner);
  ~Hints();
  Hints(const Hints&) = delete;
  Hints& operator=(const Hints&) = delete;

  // The hint of control, shown when the mouse rests over it; adding it again replaces the text.
  void add(HWND control, const std::string& text);
  void remove(HWND control);
  HWND tooltip() const { return tooltip_; }

  // The pauses of every hint of the program, in milliseconds.
  static void setTiming(int pauseMs, int hidePauseMs);
  static int pause();
  static int hidePause();

 private:
  void applyTiming() const;
  HWND owner_;
  HWND tooltip_;
};

}  // namespace winui
