#include "app/ui/HintTiming.h"

#include <QApplication>
#include <QHelpEvent>
#include <QPointer>
#include <QToolTip>

namespace app::ui {
namespace {

class HintStyle final : public QProxyStyle {
 public:
  explicit HintStyle(const HintTiming& timing) : timing_(timing) {}
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == SH_ToolTip_WakeUpDelay) return timing_.pause();
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }

 private:
  const HintTiming& timing_;
};

}  // namespace

HintTiming::HintTiming() : QObject(qApp) {}

HintTiming& HintTiming::install() {
  static QPointer<HintTiming> instance;
  if (!instance) {
    instance = new HintTiming();
    QApplication::setStyle(new HintStyle(*instance));
    qApp->installEventFilter(instance);
  }
  return *instance;
}

void HintTiming::set(int pauseMs, int hidePauseMs) {
  pause_ = pauseMs;
  hidePause_ = hidePauseMs;
}

bool HintTiming::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ToolTip || !watched->isWidgetType()) return false;
  auto* widget = static_cast<QWidget*>(watched);
  if (widget->toolTip().isEmpty()) return false;  // lists place their own item hints
  const auto* help = static_cast<QHelpEvent*>(event);
  QToolTip::showText(help->globalPos(), widget->toolTip(), widget, widget->rect(), hidePause_);
  return true;
}

}  // namespace app::ui
