#pragma once

#include <memory>

#include "app/ui/ProgramWindow.h"
#include "service/console_presenter.h"

class QLineEdit;
class QListWidget;

// "Командная строка": typed words run service actions on the settings and the program state. The line is
// lower-cased as it is typed; Enter runs it; the list below shows what the commands report. The controls
// and their wiring; what the console does is service::ConsolePresenter's.
class Tcommand final : public app::ui::ProgramWindow, private service::ConsoleView {
  Q_OBJECT

 public:
  explicit Tcommand(TForm1& main);
  ~Tcommand() override;

  service::ConsolePresenter& presenter() { return *presenter_; }
  // Enter (Qt::Key_Return or Qt::Key_Enter) runs the command line; every other key is typing.
  void Edit1KeyDown(int key);

  QLineEdit* Edit1 = nullptr;
  QListWidget* ListBox1 = nullptr;

 protected:
  void FormShow() override;
  void FormClose() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void setCommandText(const std::string& text) override;
  std::string commandText() override;
  void focusCommandLine() override;
  void addLine(const std::string& line) override;
  void clearLines() override;
  void closeWindow() override;
  void rerunStartUp() override;
  void closeMainWindow() override;

  std::unique_ptr<service::ConsolePresenter> presenter_;
};
