#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>

#include "help/links.h"
#include "help/texts.h"
#include "support/ui/main_window_fixture.h"

namespace {

using testing_support::MainWindowFixture;
using testing_support::writeBytes;

class HelpWindow : public MainWindowFixture {
 protected:
  void SetUp() override {
    storeSettings();
    writeBytes(programFolder() + "fileslist.dat", "");  // a catalogue, so activations stay quiet
    createWindows();
    form1->show();
  }
  QStringList memoLines() const { return help->Memo1->toPlainText().split('\n'); }
  QStringList topicLines(int topic) const {
    QStringList lines;
    for (const std::string& line : help::topicLines(topic)) lines << QString::fromStdString(line);
    return lines;
  }
  int selectedTopic() const {
    const auto selected = help->ListBox1->selectedItems();
    return selected.isEmpty() ? -1 : help->ListBox1->row(selected.first());
  }
  void click(int topic) { help->ListBox1->setCurrentRow(topic); }
};

TEST_F(HelpWindow, OpensWithoutATopicAndEachChoiceReplacesTheText) {
  form1->N34Click();
  EXPECT_TRUE(help->isVisible());
  EXPECT_EQ(help->windowTitle(), "Помощь");
  EXPECT_TRUE(form1->isEnabled()) << "not modal";
  ASSERT_EQ(help->ListBox1->count(), 5);
  EXPECT_EQ(help->ListBox1->item(2)->text(), "Меню \"Запуск\"");
  EXPECT_EQ(selectedTopic(), -1);
  EXPECT_EQ(help->Memo1->toPlainText(), "");

  click(4);
  EXPECT_EQ(memoLines(), (QStringList{"Список файлов",
                                      "Для того, чтобы устанавливать новые файлы, программа должна сканировать папку игры.",
                                      topicLines(4)[2]}));
  click(2);
  EXPECT_EQ(memoLines(), topicLines(2)) << "replaced, not appended";
  EXPECT_EQ(memoLines().size(), 11);
}

TEST_F(HelpWindow, EveryShowingStartsEmpty) {
  form1->N34Click();
  click(3);
  help->close();
  form1->N34Click();
  EXPECT_EQ(selectedTopic(), -1);
  EXPECT_EQ(help->Memo1->toPlainText(), "");
}

// Taking the focus a list marks a current row, drawn as if chosen: with no topic chosen it marks none,
// and the arrow keys choose a topic with its text.
TEST_F(HelpWindow, TheListTakingTheFocusMarksNoTopicWithoutItsText) {
  form1->N34Click();
  QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
  QApplication::sendEvent(help->ListBox1, &in);
  EXPECT_EQ(help->ListBox1->currentRow(), -1);
  EXPECT_EQ(selectedTopic(), -1);
  QTest::keyClick(help->ListBox1, Qt::Key_Down);
  EXPECT_EQ(selectedTopic(), 0);
  EXPECT_EQ(memoLines(), topicLines(0));
}

TEST_F(HelpWindow, HelpButtonOpensAtInstallingFilesAlsoFromAnotherTopic) {
  form1->Button4Click();
  EXPECT_TRUE(help->isVisible());
  EXPECT_EQ(selectedTopic(), 1);
  EXPECT_EQ(memoLines(), topicLines(1));

  click(4);
  form1->Button4Click();  // already open at another topic
  EXPECT_EQ(selectedTopic(), 1);
  EXPECT_EQ(memoLines(), topicLines(1));
  EXPECT_EQ(memoLines().first(), "Установка файлов");
}

TEST_F(HelpWindow, ResizableAndKeepsItsSizeBetweenShowings) {
  form1->N34Click();
  EXPECT_EQ(help->size(), QSize(565, 345));
  EXPECT_NE(help->minimumSize(), help->maximumSize());
  help->resize(700, 400);
  help->close();
  form1->N34Click();
  EXPECT_EQ(help->size(), QSize(700, 400));
}

TEST_F(HelpWindow, AboutBoxHasFourLines) {
  ui.expectMessage("О Программе", std::string("Название: Varnikit\r\nВерсия: 1.0\r\nДата: 08.01.2003\r\nАвтор: ") +
                                      help::kAuthorName);
  form1->findChild<QAction*>("N27")->trigger();
}

TEST_F(HelpWindow, LinksNoticeAndLetterToTheAuthor) {
  ui.expectMessage("Информация по разделу", help::linksNotice());
  form1->findChild<QAction*>("N26")->trigger();
  form1->findChild<QAction*>("N31")->trigger();
  form1->findChild<QAction*>("N29")->trigger();
  ASSERT_EQ(shell.calls.size(), 2u);
  EXPECT_EQ(shell.calls[0].file, std::string("mailto:") + help::kAuthorEmail);
  EXPECT_EQ(shell.calls[1].file, help::kProgramPage);
  for (const auto& call : shell.calls) {
    EXPECT_EQ(call.params, "");
    EXPECT_EQ(call.workFolder, "");
    EXPECT_EQ(call.show, sys::ShowCommand::Show);
  }
}

// The links menu item by item: the menu it sits in, its caption, the address it opens and its hint.
TEST_F(HelpWindow, LinksMenuOpensEachAddress) {
  QMenu* links = nullptr;
  for (QAction* action : form1->menuBar()->actions()) {
    if (action->text() == "&Ссылки") links = action->menu();
  }
  ASSERT_NE(links, nullptr);
  QStringList order;
  for (QAction* action : links->actions()) order << action->objectName();
  EXPECT_EQ(order, (QStringList{"CounterStrike2", "FanSites1", "CounterStrike1", "N23", "N24", "N25", "N26"}));

  const struct {
    const char* name;
    const char* menu;
    QString caption;
    std::string address;
    QString hint;
  } items[] = {
      {"CounterStrike2", "", "Официальный сайт Counter-Strike", help::kOfficialSite, help::kOfficialSite},
      {"FanSite1", "FanSites1", help::kFanSite1Caption, help::kFanSite1, ""},
      {"FanSite2", "FanSites1", help::kFanSite2Caption, help::kFanSite2, ""},
      {"FanSite3", "FanSites1", help::kFanSite3Caption, help::kFanSite3, ""},
      {"PODBot1", "CounterStrike1", "PODBot", help::kPodBotSite, ""},
      {"Waypoints1", "CounterStrike1", "Waypoints", help::kWaypointsDownload, ""},
      {"PODBot2", "CounterStrike1", "PODBot в России", help::kPodBotRussianPage, ""},
      {"N24", "", "Страничка этой программы", help::kProgramPage, help::kHomeSiteAddress},
  };
  for (const auto& item : items) {
    auto* action = form1->findChild<QAction*>(item.name);
    ASSERT_NE(action, nullptr) << item.name;
    EXPECT_EQ(action->text(), item.caption) << item.name;
    EXPECT_EQ(action->statusTip(), item.hint) << item.name;
    QMenu* expectedMenu = *item.menu ? form1->findChild<QAction*>(item.menu)->menu() : links;
    EXPECT_EQ(action->parent(), expectedMenu) << item.name;
    shell.calls.clear();
    action->trigger();
    ASSERT_EQ(shell.calls.size(), 1u) << item.name;
    EXPECT_EQ(shell.calls[0].file, item.address) << item.name;
    EXPECT_EQ(shell.calls[0].show, sys::ShowCommand::Show) << item.name;
  }
  const QString fanSites = form1->findChild<QAction*>("FanSites1")->text();
  EXPECT_EQ(fanSites, "Сounter-strike в России");
  EXPECT_EQ(fanSites.front().unicode(), 0x0421) << "Cyrillic С";
  EXPECT_EQ(form1->findChild<QAction*>("CounterStrike1")->text(), "Боты для Counter-Strike");
  EXPECT_EQ(form1->findChild<QAction*>("N26")->text(), "Информация");
  EXPECT_TRUE(form1->findChild<QAction*>("N23")->isSeparator());
  EXPECT_TRUE(form1->findChild<QAction*>("N25")->isSeparator());
}

TEST_F(HelpWindow, UpdateCheckIsBusyThenReportsAndLeavesTheWindowUsable) {
  form1->updateCheckStep = std::chrono::milliseconds(1);
  bool enabledDuringBox = true;
  QString statusDuringBox;
  bool hourglassDuringBox = false;
  ui.expectError(std::string("Сервер '") + help::kHomeSite + "' вне досягаемости").onNextMessage([&] {
    enabledDuringBox = form1->isEnabled();
    statusDuringBox = statusText();
    hourglassDuringBox = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
  });
  form1->findChild<QAction*>("N30")->trigger();
  EXPECT_FALSE(enabledDuringBox);
  EXPECT_EQ(statusDuringBox, "Соединение с сервером...");
  EXPECT_TRUE(hourglassDuringBox);
  EXPECT_TRUE(form1->isEnabled());
  EXPECT_EQ(statusText(), "");
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
