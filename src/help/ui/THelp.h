#pragma once

#include <memory>

#include "app/ui/ProgramWindow.h"
#include "help/help_presenter.h"

class QListWidget;
class QPlainTextEdit;

// "Помощь": the topics on the left, the chosen topic's text on the right. Not modal: the main window
// stays usable while it is open. The controls and their wiring; what the window does is
// help::HelpPresenter's.
class THelp final : public app::ui::ProgramWindow, private help::HelpView {
  Q_OBJECT

 public:
  explicit THelp(TForm1& main);
  ~THelp() override;

  bool holdsMainWindow() const override { return false; }
  help::HelpPresenter& presenter() { return *presenter_; }

  QListWidget* ListBox1 = nullptr;
  QPlainTextEdit* Memo1 = nullptr;

 protected:
  void FormShow() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void showTopics(const std::vector<std::string>& titles) override;
  void selectTopic(int topic) override;
  void setText(const std::string& text) override;
  void showWindow() override;

  std::unique_ptr<help::HelpPresenter> presenter_;
};
