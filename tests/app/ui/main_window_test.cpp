#include <QMenuBar>
#include <QMouseEvent>
#include <QTableView>
#include <QTabWidget>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>

#include "app/ui/QtUi.h"
#include "support/ui/main_window_fixture.h"
#include "sys/encoding.h"
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

TEST_F(MainWindow, EveryFaultInAHandlerIsShownLoggedAndGivesTheWindowBack) {
  storeSettings();
  createWindows();
  const std::string log = programFolder() + "errors.txt";
  const struct {
    const char* name;
    std::function<void()> fault;
    std::string caption, text, logLine;  // logLine empty: nothing logged
  } cases[] = {
      {"I/O error", [] { throw sys::IoError("disk full"); }, "Varnikit", "disk full", ""},
      {"out of range", [] { throw std::out_of_range("vector index 7"); }, "Ошибка", "Произошла ошибка",
       "07.03.2003 14:05:09: Непредвиденная ошибка в обработчике окна: vector index 7\r\n"},
      {"text with a line break", [] { throw std::runtime_error("один\nдва"); }, "Ошибка", "Произошла ошибка",
       "07.03.2003 14:05:09: Непредвиденная ошибка в обработчике окна: один два\r\n"},
      {"not a std::exception", [] { throw 42; }, "Ошибка", "Произошла ошибка",
       "07.03.2003 14:05:09: Непредвиденная ошибка в обработчике окна\r\n"},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(log);
    // An operation in progress holds the window: busy, and disabled by its own hold.
    form1->ui().setMainWindowEnabled(false);
    form1->program().Status("работа", 1);
    ui.expectMessage(c.caption, c.text);
    form1->guard(c.fault);
    ui.verifyAllAnswered();
    EXPECT_TRUE(form1->isEnabled()) << c.name;
    EXPECT_FALSE(form1->ui().busy()) << c.name;
    EXPECT_EQ(statusText(), "") << c.name;
    if (c.logLine.empty()) {
      EXPECT_FALSE(std::filesystem::exists(log)) << c.name;
    } else {
      EXPECT_EQ(testing_support::readBytes(log), sys::toCp1251(c.logLine).value()) << c.name;
    }
  }

  // A log that cannot be written: the box, then the I/O error of the log, and still no end.
  testing_support::writeBytes(temp / "not-a-folder", "x");
  form1->program().settings.FilePath = temp / "not-a-folder" + sys::kSep;
  ui.expectError("Произошла ошибка").expectAnyMessage("Varnikit");
  form1->guard([] { throw std::logic_error("x"); });
  ui.verifyAllAnswered();
  EXPECT_TRUE(form1->isEnabled());
}

TEST_F(MainWindow, AnErrorWithOnlyTheHelpWindowOpenLeavesTheMainWindowEnabled) {
  storeSettings();
  createWindows();
  help->show();  // not modal: the main window stays usable beside it
  ASSERT_TRUE(form1->isEnabled());
  ui.expectMessage("Varnikit", "disk full");
  form1->guard([] { throw sys::IoError("disk full"); });
  EXPECT_TRUE(form1->isEnabled());
  help->close();
  EXPECT_TRUE(form1->isEnabled());

  // With a dialog open beside the help window, the dialog alone decides, and its closing gives it back.
  help->show();
  command->show();
  ui.expectMessage("Varnikit", "disk full");
  form1->guard([] { throw sys::IoError("disk full"); });
  EXPECT_FALSE(form1->isEnabled());
  command->close();
  EXPECT_TRUE(form1->isEnabled());
  help->close();
  EXPECT_TRUE(form1->isEnabled());
}

TEST_F(MainWindow, OnlyTheOwnerOfTheDisabledStateEndsIt) {
  storeSettings();
  testing_support::writeBytes(programFolder() + "fileslist.dat", "");
  gameFile("models/a.mdl");
  createWindows();
  form1->show();
  QTest::qWait(50);
  app::Program& program = form1->program();

  // Ending a busy state does not give back a window that an open dialog holds.
  command->show();
  program.Status("работа", 1);
  program.Status("", 0);
  EXPECT_FALSE(form1->isEnabled());
  command->close();
  EXPECT_TRUE(form1->isEnabled());

  // The activation step waits while the window is busy (its scan would end the busy state under the
  // update check): the help window closing during the check runs nothing until the check is over.
  help->show();
  program.Status("Соединение с сервером...", 1);
  std::filesystem::remove(programFolder() + "fileslist.dat");
  help->close();
  QTest::qWait(150);
  EXPECT_TRUE(ui.prompts.empty()) << "no activation under the busy state";
  EXPECT_FALSE(form1->isEnabled());
  EXPECT_TRUE(form1->ui().busy());
  ui.expectAttention("Необходимо произвести поиск файлов в папке с игрой");
  ui.expectMessage("Поиск файлов завершен", "Найдено 1 файлов");
  program.Status("", 0);
  QTest::qWait(150);
  EXPECT_TRUE(ui.allAnswered()) << "the activation ran once the check was over";
  EXPECT_TRUE(form1->isEnabled());
}

// Every mouse-move handler of the main window, reached as the toolkit reaches it (event filters run for
// disabled widgets too): while the window is enabled it shows its text; while it is busy or held it
// changes nothing.
TEST_F(MainWindow, MouseMovesOverADisabledMainWindowChangeNothing) {
  storeSettings();
  testing_support::writeBytes(programFolder() + "fileslist.dat", "");
  createWindows();
  form1->pages()->setCurrentIndex(1);
  QWidget* grid = form1->findChild<QTableView*>("Grid")->viewport();
  const struct {
    const char* name;
    QWidget* receiver;
  } spots[] = {{"page control", form1->pages()}, {"bare window", form1->centralWidget()}, {"grid", grid}};
  app::Program& program = form1->program();
  const struct {
    const char* name;
    std::function<void()> begin, end;
  } owners[] = {
      {"busy", [&] { program.Status("Соединение с сервером...", 1); }, [&] { program.Status("", 0); }},
      {"held", [&] { program.ui().setMainWindowEnabled(false); }, [&] { program.ui().setMainWindowEnabled(true); }},
      {"dialog", [&] { command->show(); }, [&] { command->close(); }},
  };
  const auto moveOver = [](QWidget* widget) {
    const QPointF at(widget->width() / 2, widget->height() / 2);
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
  };
  for (const auto& spot : spots) {
    for (const auto& owner : owners) {
      form1->ui().setStatusText("проверка");
      moveOver(spot.receiver);
      ASSERT_NE(statusText(), "проверка") << spot.name << ": the handler runs while the window is enabled";
      owner.begin();
      form1->ui().setStatusText("владелец");
      const bool busy = form1->ui().busy();
      moveOver(spot.receiver);
      EXPECT_FALSE(form1->isEnabled()) << spot.name << " / " << owner.name;
      EXPECT_EQ(form1->ui().busy(), busy) << spot.name << " / " << owner.name;
      EXPECT_EQ(statusText(), "владелец") << spot.name << " / " << owner.name;
      owner.end();
      EXPECT_TRUE(form1->isEnabled()) << spot.name << " / " << owner.name;
    }
  }
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

namespace {

// The program's boxes as a player sees them, the real Qt ones: a notice the information icon, a question
// the question icon, an error the error icon; never the warning triangle.
TEST(QtBoxes, NoticesQuestionsAndErrorsShowTheirOwnIcons) {
  const struct {
    const char* caption;
    std::function<void(app::Ui&)> show;
    QMessageBox::Icon icon;
  } cases[] = {
      {"Внимание", [](app::Ui& ui) { app::showAttention(ui, "Файлы восстановлены"); }, QMessageBox::Information},
      {"Внимание", [](app::Ui& ui) { app::askAttention(ui, "Установка завершена. Запустить Counter-Strike?"); },
       QMessageBox::Question},
      {"Ошибка", [](app::Ui& ui) { app::showError(ui, "Укажите установку"); }, QMessageBox::Critical},
  };
  for (const auto& c : cases) {
    app::ui::QtUi ui;
    QString caption;
    std::optional<QMessageBox::Icon> shown;
    QTimer::singleShot(0, [&] {
      QMessageBox* box = nullptr;
      if (!QTest::qWaitFor([&] { return (box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())); })) return;
      caption = box->windowTitle();
      shown = box->icon();
      box->done(0);
    });
    c.show(ui);
    EXPECT_EQ(caption.toStdString(), c.caption);
    EXPECT_EQ(shown, c.icon) << c.caption;
  }
}

}  // namespace
