#pragma once

#include <QObject>

class QListWidget;

namespace app::ui {

// The hint over a clipped list item: when an item under the mouse is wider than its row, a tooltip with
// its full text is placed right over the item (1 pixel right of the list's left edge, 1 pixel above the
// row). Items that fit get no hint of their own.
class ListItemHint final : public QObject {
  Q_OBJECT

 public:
  static void install(QListWidget* list);

  // Whether the item at row needs a hint, by the list's font.
  static bool isClipped(const QListWidget* list, int row);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  explicit ListItemHint(QListWidget* list);
  QListWidget* list_;
};

}  // namespace app::ui
