#include <QCoreApplication>
#include <QTest>
#include <QWidget>

#include "launchers/display/display_support.h"
#include "sys/shell.h"

namespace {

std::string text(const QString& title) { return title.toStdString(); }

TEST(WindowLookup, FindsATopLevelWindowByItsExactTitleForAsLongAsItExists) {
  SKIP_WITHOUT_DISPLAY();
  auto finder = sys::systemWindowFinder();
  const QString title = QString("Поиск окна %1").arg(QCoreApplication::applicationPid());
  EXPECT_FALSE(finder->exists(text(title)));
  {
    QWidget window;
    window.setWindowTitle(title);
    window.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return finder->exists(text(title)); }, 5000));
    for (const QString& other : {title.left(5), title + " ", title.toUpper(), QString("Поиск")}) {
      EXPECT_FALSE(finder->exists(text(other))) << text(other);
    }
    const QString renamed = title + " (2)";
    window.setWindowTitle(renamed);
    EXPECT_TRUE(QTest::qWaitFor([&] { return finder->exists(text(renamed)) && !finder->exists(text(title)); }, 5000));
  }
  EXPECT_TRUE(QTest::qWaitFor([&] { return !finder->exists(text(title + " (2)")); }, 5000))
      << "a destroyed window is no longer found";
}

}  // namespace
