#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "launchers/utilities.h"
#include "help/links.h"
#include "support/ui/main_window_fixture.h"

namespace {

using namespace std::chrono_literals;
using testing_support::readBytes;
using testing_support::writeBytes;

class UtilitiesManager : public testing_support::MainWindowFixture {
 protected:
  void start(const std::string& utilitiesList) {
    storeSettings();
    writeBytes(programFolder() + "utilities.dat", utilitiesList);
    createWindows();
    form1->utilityTimeout = 200ms;
  }
  void open() {
    utils->show();
    QApplication::processEvents();
  }
  QStringList rows() {
    QStringList texts;
    for (int k = 0; k < utils->ListBox1->count(); ++k) texts << utils->ListBox1->item(k)->text();
    return texts;
  }
  void selectRow(int row) { utils->ListBox1->item(row)->setSelected(true); }
};

TEST_F(UtilitiesManager, OpeningListsTheInstalledUtilitiesFromTheFile) {
  start("One\r\n/u/one\r\n");
  // Written by someone else after the start: the opening reads the file again.
  writeBytes(programFolder() + "utilities.dat", "One\r\n/u/one\r\nNo path\r\nempty\r\nДва\r\n/u/two\r\n");
  open();
  EXPECT_EQ(utils->windowTitle(), "Утилиты");
  EXPECT_EQ(rows(), (QStringList{"One", "Два"}));
  EXPECT_FALSE(form1->isEnabled());
  EXPECT_EQ(statusText(), "настройка утилит...");
  utils->Button3->click();
  EXPECT_FALSE(utils->isVisible());
  EXPECT_TRUE(form1->isEnabled());
  EXPECT_EQ(statusText(), "");
}

TEST_F(UtilitiesManager, InstallShowsItsOwnStatusAndCannotBeClosedWhileItWaits) {
  start("");
  open();
  const std::string picked = temp / "download/tool";
  writeBytes(picked, "program");
  QString statusDuringWait;
  bool enabledDuringWait = true;
  shell.onOpen = [&](const auto&) {
    statusDuringWait = utils->statusText();
    enabledDuringWait = utils->isEnabled();
    utils->close();  // refused while the install waits
    writeBytes(temp / "download/setup.dat", "Tool\r\ntool\r\n");
  };
  ui.expectFiles("Открыть", {picked});
  ui.expectAttention("Новая утилита \"Tool\" была успешно установлена");
  utils->Button1->click();
  EXPECT_EQ(statusDuringWait, "Установка утилиты...Ждите...");
  EXPECT_FALSE(enabledDuringWait);
  EXPECT_TRUE(utils->isVisible());
  EXPECT_TRUE(utils->isEnabled());
  EXPECT_EQ(utils->statusText(), "");
  EXPECT_EQ(rows(), QStringList{"Tool"});
  EXPECT_FALSE(form1->isEnabled()) << "the manager is still open";
  utils->close();
  form1->MainMenu1Change();
  EXPECT_TRUE(form1->util[0]->isVisible());
  EXPECT_EQ(form1->util[0]->text(), "Tool");
}

TEST_F(UtilitiesManager, TheDeleteKeyRemovesLikeTheButton) {
  for (const char* name : {"a", "b"}) writeBytes(programFolder() + "utilities/" + name + "/prog", "x");
  start("A\r\n" + programFolder() + "utilities/a/prog\r\nB\r\n" + programFolder() + "utilities/b/prog\r\n");
  open();
  ui.expectAttention("Укажите утилиту");
  QTest::keyClick(utils->ListBox1, Qt::Key_Delete);
  selectRow(1);
  ui.expectAttention("Утилита удалена");
  QTest::keyClick(utils->ListBox1, Qt::Key_Delete, Qt::ShiftModifier);
  EXPECT_EQ(rows(), QStringList{"A"});
  EXPECT_FALSE(testing_support::fileExists(programFolder() + "utilities/b/prog"));
  EXPECT_EQ(readBytes(programFolder() + "utilities.dat"), "A\r\n" + programFolder() + "utilities/a/prog\r\n");
  selectRow(0);
  ui.expectAttention("Утилита удалена");
  utils->Button2->click();
  EXPECT_TRUE(rows().isEmpty());
}

TEST_F(UtilitiesManager, AfterARemovalNoRowIsSelectedSoASecondDeleteRemovesNothing) {
  std::string list;
  for (const char* name : {"a", "b", "c"}) {
    writeBytes(programFolder() + "utilities/" + name + "/prog", "x");
    list += std::string(1, static_cast<char>(name[0] - 32)) + "\r\n" + programFolder() + "utilities/" + name + "/prog\r\n";
  }
  start(list);
  open();
  utils->ListBox1->setCurrentRow(0);
  ui.expectAttention("Утилита удалена");
  QTest::keyClick(utils->ListBox1, Qt::Key_Delete);
  EXPECT_TRUE(utils->ListBox1->selectedItems().isEmpty());
  ui.expectAttention("Укажите утилиту");
  QTest::keyClick(utils->ListBox1, Qt::Key_Delete);
  EXPECT_EQ(rows(), (QStringList{"B", "C"}));
  EXPECT_TRUE(testing_support::fileExists(programFolder() + "utilities/b/prog"));
}

TEST_F(UtilitiesManager, DownloadOpensTheUtilitiesPage) {
  start("");
  open();
  utils->Button4->click();
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].file, help::kUtilitiesPage);
  EXPECT_EQ(shell.calls[0].params, "");
  EXPECT_EQ(shell.calls[0].workFolder, "");
  EXPECT_EQ(shell.calls[0].show, sys::ShowCommand::Show);
}

TEST_F(UtilitiesManager, AUtilityFromTheMenuKeepsTheMainWindowBusyWhileItsWindowExists) {
  const std::string tool = programFolder() + "utilities/tool/tool";
  writeBytes(tool, "x");
  start("Tool\r\n" + tool + "\r\nOther\r\n" + tool + "\r\n");
  QMenu* menu = nullptr;
  for (QMenu* m : form1->findChildren<QMenu*>()) {
    if (m->title() == "&Утилиты") menu = m;
  }
  ASSERT_NE(menu, nullptr);
  emit menu->aboutToShow();
  ASSERT_TRUE(form1->util[1]->isVisible());
  EXPECT_EQ(form1->util[1]->text(), "Other");
  EXPECT_FALSE(form1->util[2]->isVisible());

  struct Seen {
    bool enabled;
    bool hourglass;
    QString status;
  };
  std::vector<Seen> seen;
  windows.onLookup = [&](const std::string& title) {
    seen.push_back({form1->isEnabled(), QApplication::overrideCursor() != nullptr, statusText()});
    if (title == "Other" && seen.size() == 2) windows.windows = {"Other"};
    if (seen.size() == 4) windows.windows.clear();
  };
  form1->util[1]->trigger();
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_FALSE(seen[0].enabled);
  EXPECT_FALSE(seen[0].hourglass);
  EXPECT_FALSE(seen[2].enabled);
  EXPECT_TRUE(seen[2].hourglass);
  EXPECT_EQ(seen[2].status, "Работает утилита: \"Other\"...");
  EXPECT_TRUE(form1->isEnabled());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(statusText(), "");
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].params, "varnikit");

  // One whose window never comes: the short limit of this test, then the error and the window back.
  windows.onLookup = [&](const std::string&) { clock.advance(50ms); };
  ui.expectError("Произошла ошибка");
  form1->util[0]->trigger();
  EXPECT_TRUE(form1->isEnabled());
  EXPECT_EQ(statusText(), "");
}

}  // namespace
