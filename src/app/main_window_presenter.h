#pragma once

#include <functional>
#include <string>

#include "app/program.h"
#include "app/window_place.h"

namespace app {

// What the main window's presenter asks of the window: the toolkit's side of the frame, its pages and the
// other windows it reaches.
class MainWindowView {
 public:
  virtual ~MainWindowView() = default;
  virtual void setCaption(const std::string& caption) = 0;
  // Hints appear after pauseMs and stay for hidePauseMs.
  virtual void setHintTiming(int pauseMs, int hidePauseMs) = 0;
  // Runs the presenter's ActivationDue after delayMs, from the event loop.
  virtual void postActivation(int delayMs) = 0;
  // Works the enabled state out again (an owner of the disabled state may have gone).
  virtual void updateEnabledState() = 0;

  // Questions the activation rule asks.
  virtual bool windowShown() const = 0;
  virtual bool windowEnabled() const = 0;
  virtual bool modalBoxOpen() const = 0;
  virtual bool anySecondaryWindowOpen() const = 0;

  // The two pages: each fills itself when shown; the grid is set up at start-up and refitted on resize.
  virtual void showInstallationsPage() = 0;
  virtual void showFilesListPage() = 0;
  virtual void setUpFilesGrid() = 0;
  virtual void fitFilesGrid() = 0;

  // The window's frame on the screen, the screens' work areas, and moving the frame there (a window of
  // fixed size keeps its size).
  virtual WindowPlace windowPlace() const = 0;
  virtual std::vector<ScreenArea> screenAreas() const = 0;
  virtual void placeWindow(const WindowPlace& place) = 0;

  virtual void showSettings() = 0;
  virtual void closeWindow() = 0;
  virtual void hideSecondaryWindows() = 0;
};

// The main window's behaviour: the boundary every handler of the program runs inside, start-up, the
// activation step and when it may run, the status line under the mouse, the File menu and the close.
class MainWindowPresenter {
 public:
  MainWindowPresenter(Program& program, MainWindowView& view) : program_(program), view_(view) {}
  MainWindowPresenter(const MainWindowPresenter&) = delete;
  MainWindowPresenter& operator=(const MainWindowPresenter&) = delete;

  // Runs an event handler and catches whatever it throws, so no handler ends the program: an I/O error is
  // shown with the system's text, any other fault in an error box and a line of "errors.txt". Either way
  // the main window is left neither busy nor held (an open dialog still keeps it disabled).
  void guard(const std::function<void()>& handler);
  void reportIoError(const std::string& systemText);
  void reportUnexpectedError(const std::string& detail);

  void FormCreate();
  void FormShow();
  void FormHide();
  void FormActivate();
  void FormResize();
  void FormClose();
  // The bare window and the page control under a moving mouse; a disabled window takes no input.
  void FormMouseMove();
  void PagesMouseMove();
  void PagesChange(int page);
  void N4Click();
  void N5Click();
  void Log1Click();

  // A secondary window has been hidden: the main window becomes the active one again, once nothing holds
  // it back.
  void secondaryWindowHidden();
  // The posted activation's turn: it waits while a box is open or the main window is disabled by an
  // operation, and runs only when no secondary window is open and no hold is on.
  void ActivationDue();
  // While held, a secondary window closing does not run the activation step (the settings dialog's
  // "Обновить" scans itself right after closing; the activation must not start a second scan first).
  void holdActivation() { ++activationHolds_; }
  void releaseActivation() { --activationHolds_; }

  bool closing() const { return closing_; }

  // Hint timings while the main window is shown and while it is hidden.
  static constexpr int kShownHintPause = 300, kShownHintHidePause = 5000;
  static constexpr int kHiddenHintPause = 500, kHiddenHintHidePause = 2500;
  // How often a waiting activation looks again.
  static constexpr int kActivationRetryMs = 50;

 private:
  void endHandlerState();

  Program& program_;
  MainWindowView& view_;
  bool firstShow_ = true;
  bool firstActivationDue_ = false;
  bool closing_ = false;
  bool activationPosted_ = false;
  int activationHolds_ = 0;
  int guardDepth_ = 0;
};

}  // namespace app
