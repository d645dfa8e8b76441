#include "app/ui/ListItemHint.h"

#include <QHelpEvent>
#include <QListWidget>
#include <QToolTip>

#include "app/ui/HintTiming.h"

namespace app::ui {

ListItemHint::ListItemHint(QListWidget* list) : QObject(list), list_(list) {}

void ListItemHint::install(QListWidget* list) { list->viewport()->installEventFilter(new ListItemHint(list)); }

bool ListItemHint::isClipped(const QListWidget* list, int row) {
  const QListWidgetItem* item = list->item(row);
  if (!item) return false;
  const QRect rect = list->visualItemRect(item);
  const int width = list->fontMetrics().horizontalAdvance(item->text());
  return width > list->viewport()->width() - 2 || width > rect.width() - 2;
}

bool ListItemHint::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QObject::eventFilter(watched, event);
  const auto* help = static_cast<QHelpEvent*>(event);
  QListWidgetItem* item = list_->itemAt(help->pos());
  if (!item || !isClipped(list_, list_->row(item))) {
    QToolTip::hideText();
    event->ignore();
    return true;
  }
  const QRect row = list_->visualItemRect(item);
  const QPoint at = list_->viewport()->mapToGlobal(QPoint(1, row.top() - 1));
  QToolTip::showText(at, item->text(), list_->viewport(), row, HintTiming::install().hidePause());
  return true;
}

}  // namespace app::ui
