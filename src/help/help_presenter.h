#pragma once

#include <string>
#include <vector>

namespace app {
class Program;
}

namespace help {

// The help window "Помощь" as its presenter sees it: the topic list, the text box, the window itself.
class HelpView {
 public:
  virtual ~HelpView() = default;
  virtual void showTopics(const std::vector<std::string>& titles) = 0;
  // Topic 0..4 selected and marked as the list's current row; -1: no row selected, and none marked, so no
  // topic looks chosen while no text is shown.
  virtual void selectTopic(int topic) = 0;
  virtual void setText(const std::string& text) = 0;
  // Shows the window (not modal), or brings it to the front when it is open, and activates it.
  virtual void showWindow() = 0;
};

// What the help window does: a topic is shown as selected only with its text in the box.
//
// The main window calls N34Click for its "&Помощь" and Button4Click for the installations page's
// "&Помощь"; the binding calls FormCreate once, FormShow at each showing and ListBox1Click when the list's
// selection changes.
class HelpPresenter {
 public:
  HelpPresenter(app::Program& program, HelpView& view);

  void FormCreate();  // fills the list with the five topics
  void FormShow();    // no topic, no text
  // row 0..4, or -1 when no row is selected (the text then stays as it is).
  void ListBox1Click(int row);
  void N34Click();
  // Shows the window, lets it come up, then selects "Установка файлов" and shows its text, also when the
  // window was open at another topic.
  void Button4Click();

  int selectedTopic() const { return selected_; }

 private:
  void show(int topic);

  app::Program& program_;
  HelpView& view_;
  int selected_ = -1;
};

}  // namespace help
