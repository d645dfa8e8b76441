#include "help/help_presenter.h"

#include "app/program.h"
#include "help/texts.h"
#include "sys/shell.h"

namespace help {

HelpPresenter::HelpPresenter(app::Program& program, HelpView& view) : program_(program), view_(view) {}

void HelpPresenter::FormCreate() { view_.showTopics(topicTitles()); }

void HelpPresenter::FormShow() {
  selected_ = -1;
  view_.setText("");
  view_.selectTopic(-1);
}

void HelpPresenter::ListBox1Click(int row) {
  if (row < 0 || row >= kTopicCount) return;
  selected_ = row;
  view_.setText(topicText(row));
}

void HelpPresenter::show(int topic) {
  selected_ = topic;
  view_.selectTopic(topic);
  view_.setText(topicText(topic));
}

void HelpPresenter::N34Click() { view_.showWindow(); }

void HelpPresenter::Button4Click() {
  view_.showWindow();
  // Let the window come up before the topic is chosen.
  app::Ui& ui = program_.ui();
  ui.processEvents();
  sys::sleepMs(10);
  ui.processEvents();
  show(kInstallingTopic);
}

}  // namespace help
