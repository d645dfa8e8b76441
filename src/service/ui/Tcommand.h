#pragma once

#include "app/ui/ProgramWindow.h"
#include "service/console.h"

class QLineEdit;
class QListWidget;

// "Командная строка": typed words run service actions on the settings and the program state. The line is
// lower-cased as it is typed; Enter runs it; the list below shows what the commands report.
class Tcommand final : public app::ui::ProgramWindow, private service::ConsoleHost {
  Q_OBJECT

 public:
  explicit Tcommand(TForm1& main);

  // Enter (Qt::Key_Return or Qt::Key_Enter) runs the command line; every other key is typing.
  void Edit1KeyDown(int key);

  QLineEdit* Edit1 = nullptr;
  QListWidget* ListBox1 = nullptr;

 protected:
  void FormShow() override;
  void FormClose() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void addLine(const std::string& line) override;
  void clearLines() override;
  std::optional<std::string> lastLine() const override;
  void showVariables() override;
  void closeConsole() override;
  void rerunStartUp() override;
  void closeMainWindow() override;
};
