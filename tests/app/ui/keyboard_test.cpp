// The keyboard on the Qt windows: Tab visits every control of every window in reading order, and a
// read-only multi-line field passes Tab on.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>

#include "support/ui/main_window_fixture.h"

namespace {

// The controls Tab reaches, in the order it reaches them, once round the window's focus chain.
std::vector<QWidget*> tabCycle(QWidget* window) {
  std::vector<QWidget*> cycle;
  for (QWidget* w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain()) {
    if (w->window() == window && (w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(window) && w->isEnabled() &&
        !w->focusProxy()) {
      cycle.push_back(w);
    }
  }
  return cycle;
}

QRect inWindow(QWidget* w) { return QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size()); }

QString describe(QWidget* w) {
  return QString::fromLatin1(w->metaObject()->className()) + " " + w->objectName() + " \"" + w->accessibleName() + "\"";
}

// B comes before A in reading order: above it in the same column, or left of it in the same row.
bool readsBefore(QWidget* b, QWidget* a) {
  const QRect rb = inWindow(b), ra = inWindow(a);
  const bool sameColumn = rb.left() <= ra.right() && ra.left() <= rb.right();
  const bool sameRow = rb.top() <= ra.bottom() && ra.top() <= rb.bottom();
  return (rb.bottom() < ra.top() && sameColumn) || (sameRow && rb.right() < ra.left());
}

// outside: a control that is only read (the console's output: its command line keeps the focus).
void expectReadingOrder(QWidget* window, QWidget* outside = nullptr) {
  const std::vector<QWidget*> cycle = tabCycle(window);
  const QString name = window->windowTitle();
  for (QWidget* w : window->findChildren<QWidget*>()) {
    // Whatever takes keys or clicks: a control without Tab focus is out of the keyboard's reach.
    const bool control = w->focusPolicy() != Qt::NoFocus || qobject_cast<QAbstractButton*>(w) ||
                         qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractItemView*>(w);
    // A grid's header is the mouse's (it sorts and sizes the columns); the grid itself takes the keys.
    if (w == outside || qobject_cast<QHeaderView*>(w)) continue;
    if (w->window() != window || !control || !w->isVisibleTo(window) || !w->isEnabled() || w->focusProxy()) continue;
    EXPECT_TRUE(w->focusPolicy() & Qt::TabFocus) << name.toStdString() << ": Tab never reaches "
                                                 << describe(w).toStdString();
  }
  for (std::size_t i = 1; i < cycle.size(); ++i) {
    EXPECT_FALSE(readsBefore(cycle[i], cycle[i - 1]))
        << name.toStdString() << ": Tab goes back from " << describe(cycle[i - 1]).toStdString() << " to "
        << describe(cycle[i]).toStdString();
  }
}

class Keyboard : public testing_support::MainWindowFixture {
 protected:
  void SetUp() override {
    storeSettings();
    testing_support::writeBytes(programFolder() + "fileslist.dat", "");
    createWindows();
    form1->show();
    QApplication::processEvents();
  }
};

TEST_F(Keyboard, TabVisitsEveryControlOfEveryWindowInReadingOrder) {
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
    QApplication::processEvents();
  }
}

TEST_F(Keyboard, TheReadOnlyDescriptionPassesTabOn) {
  form1->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form1.get()));
  auto* memo = form1->findChild<QPlainTextEdit*>("Memo1");
  memo->setFocus();
  ASSERT_EQ(QApplication::focusWidget(), memo);
  QTest::keyClick(memo, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), form1->findChild<QWidget*>("Button1"));
}

}  // namespace
