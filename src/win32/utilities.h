#pragma once

#include <windows.h>

#include <memory>

#include "launchers/utilities_presenter.h"
#include "win32/secondary_window.h"

namespace winui {

// The utilities manager "Утилиты" on Windows: the installed utilities in a list box, the buttons beside
// it, its own status bar. The controls and their wiring; what the manager does is
// launchers::UtilitiesPresenter's.
class UtilitiesManager final : public SecondaryWindow, private launchers::UtilitiesView {
 public:
  enum Control : int {
    ListBox1 = 101,
    Button1,  // "&Добавить"
    Button2,  // "&Удалить"
    Button3,  // "&Выход"
    Button4,  // "Скачать из интернета"
    StatusBar1,
  };

  explicit UtilitiesManager(MainWindow& main);
  ~UtilitiesManager() override;

  launchers::UtilitiesPresenter& presenter() { return *presenter_; }
  HWND control(Control id) const { return GetDlgItem(hwnd(), id); }

 protected:
  void FormShow() override;
  void FormClose() override;
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  static LRESULT CALLBACK listProcedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR self);

  void showNames(const std::vector<std::string>& names) override;
  void addName(const std::string& name) override;
  void removeRow(int row) override;
  void setStatusText(const std::string& text) override;
  void setManagerEnabled(bool enabled) override;
  void closeWindow() override;
  void closeAfterShowing() override;

  std::unique_ptr<launchers::UtilitiesPresenter> presenter_;
};

}  // namespace winui
