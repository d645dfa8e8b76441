// The main window as the X server and a real pointer see it.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <functional>

#include "launchers/display/display_support.h"
#include "support/display/x_display.h"
#include "support/ui/main_window_fixture.h"

namespace {

using testing_support::movePointerTo;
using testing_support::windowManagerTitle;

class OnTheDisplay : public testing_support::MainWindowFixture {
 protected:
  void SetUp() override {
    SKIP_WITHOUT_DISPLAY();
    storeSettings();
    testing_support::writeBytes(programFolder() + "fileslist.dat", "");  // a catalogue: no scan at activation
    createWindows();
    form1->move(0, 0);
    form1->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form1.get()));
    QTest::qWait(50);  // the activation step
  }

  QTabWidget* pages() { return form1->pages(); }
};

TEST_F(OnTheDisplay, WindowTitlesAreExactlyTheCaptions) {
  help->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(help.get()));
  EXPECT_EQ(windowManagerTitle(form1->winId()), "Varnikit 1.0    |    build: 1374");
  EXPECT_EQ(windowManagerTitle(help->winId()), "Помощь");
  help->close();

  // A box as the program shows it, not a scripted one.
  app::ui::QtUi boxes;
  boxes.attach(form1.get(), nullptr);
  std::string boxTitle;
  QTimer::singleShot(0, [&] {
    QWidget* box = nullptr;
    if (!QTest::qWaitFor([&] { return (box = QApplication::activeModalWidget()) != nullptr; }, 5000)) return;
    if (QTest::qWaitForWindowExposed(box)) boxTitle = windowManagerTitle(box->winId());
    box->close();
  });
  boxes.messageBox("Внимание", "Проверка заголовка", app::Icon::Warning, app::Buttons::Ok);
  EXPECT_EQ(boxTitle, "Внимание");
}

// The mouse moving over the main window while it is disabled or busy changes nothing: the state stays
// until its owner ends it. The catalogue grid is where a real pointer reaches a mouse-move handler that
// calls Status; it is first shown to reach it while the window is enabled, so the second half cannot
// pass merely because the pointer missed.
TEST_F(OnTheDisplay, APointerMovingOverADisabledMainWindowLeavesItDisabled) {
  struct Owner {
    const char* name;
    bool busy;
    std::function<void()> begin;
    std::function<void()> end;
  };
  app::Program& program = form1->program();
  const Owner owners[] = {
      {"utility running", true,
       [&] {
         program.ui().setMainWindowEnabled(false);
         program.Status("Работает утилита: \"Инструмент\"...", 1);
       },
       [&] {
         program.Status("", 0);
         program.ui().setMainWindowEnabled(true);
       }},
      {"update check", true, [&] { program.Status("Соединение с сервером...", 1); }, [&] { program.Status("", 0); }},
      {"run-menu editor", false, [&] { runMenu->show(); }, [&] { runMenu->close(); }},
      {"utilities manager", false, [&] { utils->show(); }, [&] { utils->close(); }},
      {"install dialog", false, [&] { install->show(); }, [&] { install->close(); }},
      {"console", false, [&] { command->show(); }, [&] { command->close(); }},
  };
  pages()->setCurrentIndex(1);
  QApplication::processEvents();
  QWidget* grid = form1->findChild<QTableView*>("Grid")->viewport();
  const QPoint at = grid->mapToGlobal(grid->rect().center());
  const QPoint away(1200, 20);
  for (const Owner& owner : owners) {
    form1->ui().setStatusText("проверка");
    movePointerTo(away);
    movePointerTo(at);
    ASSERT_TRUE(QTest::qWaitFor([&] { return statusText() != "проверка"; }, 3000))
        << owner.name << ": the pointer never reached the grid";

    owner.begin();
    ASSERT_FALSE(form1->isEnabled()) << owner.name;
    QWidget* under = QApplication::widgetAt(at);
    ASSERT_TRUE(under && form1->isAncestorOf(under)) << owner.name << ": the spot must not lie under the dialog";
    const QString ownersText = statusText();
    movePointerTo(away);
    movePointerTo(at);
    movePointerTo(at + QPoint(3, 2));
    QTest::qWait(200);
    EXPECT_FALSE(form1->isEnabled()) << owner.name;
    EXPECT_EQ(form1->ui().busy(), owner.busy) << owner.name;
    EXPECT_EQ(statusText(), ownersText) << owner.name;
    owner.end();
    QApplication::processEvents();
    EXPECT_TRUE(form1->isEnabled()) << owner.name << ": its owner gives the window back";
  }
  movePointerTo(away);
}

// Another game folder stored in the settings dialog: once the dialog is gone the main window announces
// the scan, and the file list then shows the new folder's files.
TEST_F(OnTheDisplay, AnotherGameFolderFromTheSettingsIsScannedBeforeAnythingElse) {
  const std::string other = temp / "other/cstrike";
  const std::string model = other + "/models/v_ak47.mdl";
  testing_support::writeBytes(model, "model");
  form1->N4Click();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(options.get()));
  options->findChild<QLineEdit*>("AHMLookupEdit1")->setText(QString::fromStdString(other));
  // A folder without the game's liblist.gam, kept.
  ui.expectAttention("В папке \"" + other + "\" нет файла liblist.gam. Это точно папка игры cstrike?", app::Answer::Yes);
  ui.expectAttention("Необходимо произвести поиск файлов в папке с игрой");
  ui.expectMessage("Поиск файлов завершен", "Найдено 1 файлов");
  QTest::mouseClick(options->findChild<QPushButton*>("Button1"), Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([&] { return ui.allAnswered(); }, 5000));
  EXPECT_EQ(testing_support::readBytes(programFolder() + "fileslist.dat"), model + "\r\n");
  pages()->setCurrentIndex(1);
  const QAbstractItemModel* rows = form1->findChild<QTableView*>("Grid")->model();
  ASSERT_EQ(rows->rowCount(), 1);
  EXPECT_EQ(rows->index(0, 2).data().toString().toStdString(), model);
}

}  // namespace
