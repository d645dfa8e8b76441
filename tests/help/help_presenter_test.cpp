#include <gtest/gtest.h>

#include "help/help_presenter.h"
#include "help/links.h"
#include "help/menus.h"
#include "help/texts.h"
#include "support/program_fixture.h"

namespace {

using testing_support::ProgramFixture;

// The help window's controls as plain values.
class RecordingHelp : public help::HelpView {
 public:
  void showTopics(const std::vector<std::string>& titles) override { topics = titles; }
  void selectTopic(int topic) override { selected = topic; }
  void setText(const std::string& shown) override { text = shown; }
  void showWindow() override {
    ++showings;
    if (presenter && !open) presenter->FormShow();
    open = true;
  }
  // The person clicks a row: the list selects it, then reports the change.
  void click(int row) {
    selected = row;
    presenter->ListBox1Click(row);
  }

  help::HelpPresenter* presenter = nullptr;
  std::vector<std::string> topics;
  int selected = -2;  // not yet told
  std::string text = "not yet told";
  int showings = 0;
  bool open = false;
};

class HelpPresenter : public ProgramFixture {
 protected:
  HelpPresenter() {
    view.presenter = &helpWindow;
    helpWindow.FormCreate();
  }
  RecordingHelp view;
  help::HelpPresenter helpWindow{*program, view};
};

TEST_F(HelpPresenter, TheListHoldsTheFiveTopicsAndAChoiceReplacesTheText) {
  EXPECT_EQ(view.topics, help::topicTitles());
  helpWindow.N34Click();
  view.click(4);
  EXPECT_EQ(view.text, help::topicText(4));
  view.click(2);
  EXPECT_EQ(view.text, help::topicText(2));
  EXPECT_EQ(helpWindow.selectedTopic(), 2);
  view.click(-1);  // the selection went: the text stays
  EXPECT_EQ(view.text, help::topicText(2));
}

// Opened through the menu the window shows no topic as chosen and no text, each time; opened through
// the installations page it shows "Установка файлов" chosen with its text, also over another topic, and
// only once the window has come up.
TEST_F(HelpPresenter, ATopicLooksChosenOnlyWithItsText) {
  for (int opening = 0; opening < 2; ++opening) {
    view.open = false;
    helpWindow.N34Click();
    EXPECT_EQ(view.selected, -1);
    EXPECT_EQ(view.text, "");
    EXPECT_EQ(helpWindow.selectedTopic(), -1);
    view.click(3);
  }
  EXPECT_EQ(view.showings, 2);

  std::vector<int> selectedDuringEvents;
  ui.onProcessEvents = [&] { selectedDuringEvents.push_back(view.selected); };
  view.click(4);
  helpWindow.Button4Click();
  EXPECT_EQ(view.showings, 3) << "brought to the front although open";
  EXPECT_EQ(view.selected, help::kInstallingTopic);
  EXPECT_EQ(view.text, help::topicText(help::kInstallingTopic));
  EXPECT_EQ(helpWindow.selectedTopic(), help::kInstallingTopic);
  EXPECT_EQ(selectedDuringEvents, (std::vector<int>{4, 4})) << "the topic is chosen after the window came up";

  view.open = false;
  helpWindow.Button4Click();  // from closed: the opening's empty state, then the topic
  EXPECT_EQ(view.selected, help::kInstallingTopic);
  EXPECT_EQ(view.text, help::topicText(help::kInstallingTopic));
}

// The two menus in their order, each link with its one address; what the commands show.
TEST_F(HelpPresenter, MenusListTheirItemsAndEachLinkOpensItsAddress) {
  using Kind = help::MenuItem::Kind;
  std::vector<std::string> names;
  for (const auto& item : help::linksMenu()) {
    if (item.kind == Kind::EndSubmenu) continue;
    names.push_back(item.name);
    if (item.kind == Kind::Link) {
      EXPECT_FALSE(item.address.empty()) << item.name;
      help::openWebAddress(*program, item.address);
      EXPECT_EQ(shell.calls.back().file, item.address);
      EXPECT_EQ(shell.calls.back().params, "");
      EXPECT_EQ(shell.calls.back().workFolder, "");
      EXPECT_EQ(shell.calls.back().show, sys::ShowCommand::Show);
    }
  }
  EXPECT_EQ(names, (std::vector<std::string>{"CounterStrike2", "FanSites1", "FanSite1", "FanSite2", "FanSite3",
                                             "CounterStrike1", "PODBot1", "Waypoints1", "PODBot2", "N23", "N24", "N25",
                                             "N26"}));
  names.clear();
  for (const auto& item : help::helpMenu()) names.push_back(item.name + "|" + item.caption);
  EXPECT_EQ(names, (std::vector<std::string>{"N34|&Помощь", "N27|О Программе", "N28|", "N29|Посетить сайт",
                                             "N31|Написать письмо", "N32|", "N30|Поиск обновлений"}));

  shell.calls.clear();
  help::N29Click(*program);
  help::N31Click(*program);
  ASSERT_EQ(shell.calls.size(), 2u);
  EXPECT_EQ(shell.calls[0].file, help::kProgramPage);
  EXPECT_EQ(shell.calls[1].file, std::string("mailto:") + help::kAuthorEmail);
  ui.expectMessage("О Программе", help::aboutText());
  help::N27Click(ui);
  ui.expectMessage("Информация по разделу", help::linksNotice());
  help::N26Click(ui);
  EXPECT_EQ(ui.icons, (std::vector<app::Icon>{app::Icon::Information, app::Icon::Information}));
}

}  // namespace
