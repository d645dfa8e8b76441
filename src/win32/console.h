#pragma once

#include <windows.h>

#include <memory>

#include "service/console_presenter.h"
#include "win32/secondary_window.h"

namespace winui {

// "Командная строка" on Windows: a tool window with the command line above the output list. The controls
// and their wiring; what the console does is service::ConsolePresenter's.
class Console final : public SecondaryWindow, private service::ConsoleView {
 public:
  enum Control : int { Edit1 = 101, ListBox1 };

  explicit Console(MainWindow& main);
  ~Console() override;

  service::ConsolePresenter& presenter() { return *presenter_; }
  HWND control(Control id) const { return GetDlgItem(hwnd(), id); }

 protected:
  void FormShow() override;
  void FormClose() override;

 private:
  static LRESULT CALLBACK lineProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR self);

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

}  // namespace winui
