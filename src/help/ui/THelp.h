#pragma once

#include "app/ui/ProgramWindow.h"

class QListWidget;
class QPlainTextEdit;

// "Помощь": the topics on the left, the chosen topic's text on the right. Not modal: the main window
// stays usable while it is open.
class THelp final : public app::ui::ProgramWindow {
  Q_OBJECT

 public:
  explicit THelp(TForm1& main);

  bool holdsMainWindow() const override { return false; }

  // Shows the selected topic's text; does nothing while no topic is selected.
  void ListBox1Click();
  // Selects a topic (0..4) and shows its text.
  void selectTopic(int topic);

  QListWidget* ListBox1 = nullptr;
  QPlainTextEdit* Memo1 = nullptr;

 protected:
  void FormShow() override;
};
