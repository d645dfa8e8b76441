// The keyboard on the Qt windows: Tab visits every control of every window in reading order.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QTabWidget>

#include "support/ui/main_window_fixture.h"

namespace {

QRect inWindow(QWidget* w) { return QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size()); }
std::string describe(QWidget* w) {
  return w->objectName().toStdString() + " \"" + w->accessibleName().toStdString() + "\"";
}

// B comes before A in reading order: above it in the same column, or left of it in the same row.
bool readsBefore(QWidget* b, QWidget* a) {
  const QRect rb = inWindow(b), ra = inWindow(a);
  const bool sameColumn = rb.left() <= ra.right() && ra.left() <= rb.right();
  const bool sameRow = rb.top() <= ra.bottom() && ra.top() <= rb.bottom();
  return (rb.bottom() < ra.top() && sameColumn) || (sameRow && rb.right() < ra.left());
}

// outside: a control that is only read (the console's output: its command line keeps the focus). A grid's
// header is the mouse's; the grid itself takes the keys.
void expectReadingOrder(QWidget* window, QWidget* outside = nullptr) {
  const std::string name = window->windowTitle().toStdString();
  const auto shown = [&](QWidget* w) { return w->window() == window && w->isVisibleTo(window) && w->isEnabled(); };
  QWidget* last = nullptr;
  for (QWidget* w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain()) {
    if (!shown(w) || !(w->focusPolicy() & Qt::TabFocus) || w->focusProxy()) continue;
    if (last) {
      EXPECT_FALSE(readsBefore(w, last)) << name << ": Tab from " << describe(last) << " to " << describe(w);
    }
    last = w;
  }
  for (QWidget* w : window->findChildren<QWidget*>()) {
    const bool control = w->focusPolicy() != Qt::NoFocus || qobject_cast<QAbstractButton*>(w) ||
                         qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractItemView*>(w);
    if (!control || w == outside || qobject_cast<QHeaderView*>(w) || !shown(w) || w->focusProxy()) continue;
    EXPECT_TRUE(w->focusPolicy() & Qt::TabFocus) << name << ": no Tab to " << describe(w);
  }
}

class Keyboard : public testing_support::MainWindowFixture {};

TEST_F(Keyboard, TabVisitsEveryControlOfEveryWindowInReadingOrder) {
  storeSettings();
  testing_support::writeBytes(programFolder() + "fileslist.dat", "");
  createWindows();
  form1->show();
  QApplication::processEvents();
  expectReadingOrder(form1.get());
  form1->pages()->setCurrentIndex(1);
  QApplication::processEvents();
  expectReadingOrder(form1.get());
  for (QWidget* window : std::vector<QWidget*>{options.get(), listInfo.get(), runMenu.get(), install.get(),
                                               command.get(), utils.get(), help.get()}) {
    window->show();
    QApplication::processEvents();
    expectReadingOrder(window, window == command.get() ? command->findChild<QWidget*>("ListBox1") : nullptr);
    window->close();
  }
}

}  // namespace
