#include <QMenuBar>
#include <QTabWidget>
#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>

#include "support/ui/main_window_fixture.h"
#include "sys/error.h"
#include "sys/paths.h"

namespace {

using testing_support::MainWindowFixture;

class MainWindow : public MainWindowFixture {};

TEST_F(MainWindow, CaptionPagesAndMenusAreThereWithTheirTexts) {
  storeSettings();
  createWindows();
  EXPECT_EQ(form1->windowTitle(), "Varnikit 1.0    |    build: 1374");
  auto* pages = form1->findChild<QTabWidget*>("Pages");
  ASSERT_NE(pages, nullptr);
  EXPECT_EQ(pages->tabText(0), "Замена файлов");
  EXPECT_EQ(pages->tabText(1), "Список файлов");
  EXPECT_EQ(pages->currentIndex(), 0);
  QStringList menus;
  for (QAction* action : form1->menuBar()->actions()) menus << action->text();
  EXPECT_EQ(menus, (QStringList{"&Файл", "&Утилиты", "&Запуск", "&Ссылки", "&?"}));
  for (const char* name : {"N4", "N18", "N19", "Log1", "N21", "N5", "N13", "N15", "N34", "N27", "N29", "N31", "N30"}) {
    EXPECT_NE(form1->findChild<QAction*>(name), nullptr) << name;
  }
  EXPECT_EQ(form1->findChild<QAction*>("Log1")->text(), "Log ошибок");
}

TEST_F(MainWindow, FreshRunMenuAndUtilitiesShowNoItems) {
  storeSettings();
  createWindows();
  form1->MainMenu1Change();
  for (int k = 0; k < 10; ++k) {
    EXPECT_FALSE(form1->Run[k]->isVisible());
    EXPECT_FALSE(form1->util[k]->isVisible());
  }
}

TEST_F(MainWindow, IoErrorInAHandlerLeavesTheWindowUsable) {
  storeSettings();
  createWindows();
  form1->program().Status("работа", 1);
  ui.expectMessage("Varnikit", "disk full");
  form1->guard([] { throw sys::IoError("disk full"); });
  EXPECT_TRUE(form1->isEnabled());
  EXPECT_EQ(statusText(), "");
  EXPECT_FALSE(form1->ui().busy());
}

TEST_F(MainWindow, IoErrorWhileADialogIsOpenKeepsTheMainWindowDisabledUntilItCloses) {
  storeSettings();
  createWindows();
  command->show();  // the console disables the main window while it is open
  ASSERT_FALSE(form1->isEnabled());
  ui.expectMessage("Varnikit", "disk full");
  form1->guard([] { throw sys::IoError("disk full"); });
  EXPECT_FALSE(form1->isEnabled());
  EXPECT_FALSE(form1->ui().busy());
  command->close();
  EXPECT_TRUE(form1->isEnabled());
}

TEST_F(MainWindow, ActivationWaitsUntilAnOpenBoxIsAnswered) {
  storeSettings();
  testing_support::writeBytes(programFolder() + "fileslist.dat", "");
  gameFile("models/a.mdl");
  createWindows();
  form1->show();
  QApplication::processEvents();
  form1->program().settings.ListUpdate = "2";
  form1->program().ListUpdatePending = true;
  listInfo->show();

  // While a modal box is open (as the install's closing question is), the dialog closing must not start
  // the activation step's scan underneath it.
  QDialog box;
  bool scannedWhileOpen = true;
  QTimer::singleShot(0, [&] {
    listInfo->close();
    for (int i = 0; i < 5; ++i) {
      QApplication::processEvents();
      QTest::qWait(20);
    }
    scannedWhileOpen = !ui.prompts.empty();
    box.accept();
  });
  box.setModal(true);
  box.exec();
  EXPECT_FALSE(scannedWhileOpen);
  ui.expectMessage("Поиск файлов завершен", "Найдено 1 файлов");
  QTest::qWait(150);
  EXPECT_TRUE(ui.allAnswered()) << "the activation ran once the box was gone";
}

}  // namespace

namespace {

class MainWindowStartUp : public testing_support::MainWindowFixture {};

TEST_F(MainWindowStartUp, IoErrorShowsTheSystemTextAndTheWindowsStillComeUp) {
  // A data folder that is really a file: "runmenu.dat" cannot be created in it, whoever runs the test.
  testing_support::writeBytes(temp / "not-a-folder", "x");
  registry->writeValues("\\Software\\Varnikit", {{"FilePath", temp / "not-a-folder" + sys::kSep}});
  ui.expectAnyMessage("Varnikit");
  createWindows();
  ASSERT_EQ(ui.prompts.size(), 1u);
  EXPECT_NE(ui.prompts[0].text.find("runmenu.dat"), std::string::npos) << ui.prompts[0].text;
  EXPECT_EQ(ui.icons[0], app::Icon::Error);
  EXPECT_FALSE(form1->program().ListUpdatePending) << "the steps after the failing one are skipped";
  EXPECT_TRUE(form1->isEnabled());
  EXPECT_EQ(form1->windowTitle(), "Varnikit 1.0    |    build: 1374");
}

TEST_F(MainWindowStartUp, ClosingWritesTheUtilitiesFileEvenAfterStartUp) {
  storeSettings();
  createWindows();
  form1->program().utilities[0] = {"Конфиг", programFolder() + "utilities/cfg/cfg.exe"};
  form1->close();
  EXPECT_EQ(testing_support::readBytes(programFolder() + "utilities.dat"),
            "\xCA\xEE\xED\xF4\xE8\xE3\r\n" + programFolder() + "utilities/cfg/cfg.exe\r\n");
}

}  // namespace
