#pragma once

#include <QObject>
#include <QProxyStyle>

namespace app::ui {

// How long the mouse must rest before a hint appears, and how long the hint stays. The main window sets
// 300 / 5000 ms while it is shown and 500 / 2500 ms when hidden; the install dialog does the same.
class HintTiming final : public QObject {
  Q_OBJECT

 public:
  // Takes over the application's hints: the style's wake-up delay and the display time of every tooltip.
  static HintTiming& install();
  void set(int pauseMs, int hidePauseMs);
  int pause() const { return pause_; }
  int hidePause() const { return hidePause_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  HintTiming();
  int pause_ = 500;
  int hidePause_ = 2500;
};

}  // namespace app::ui
