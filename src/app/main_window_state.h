#pragma once

namespace app {

// The owners of the main window's disabled state, counted once for every front-end. The busy state (the
// hourglass, set and undone by Status) and a hold (an open dialog, a utility being started) each end only
// themselves; a secondary window that is open and keeps the main window disabled is a third owner, asked
// when the state is worked out. The window takes input only when none of them is on, so ending the busy
// state never gives back a window a dialog still holds.
class MainWindowState {
 public:
  // True when the busy state changed, so the front-end shows or takes away the hourglass.
  bool setBusy(bool busy) {
    const bool changed = busy != busy_;
    busy_ = busy;
    return changed;
  }
  void setHeld(bool held) { held_ = held; }
  // After an error has ended a handler: neither busy nor held; only an open dialog still disables.
  // True when the busy state changed.
  bool release() {
    held_ = false;
    return setBusy(false);
  }

  bool busy() const { return busy_; }
  bool held() const { return held_; }
  bool enabled(bool dialogOpen) const { return !busy_ && !held_ && !dialogOpen; }

 private:
  bool busy_ = false;
  bool held_ = false;
};

}  // namespace app
