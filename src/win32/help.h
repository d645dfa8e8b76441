#pragma once

#include <windows.h>

#include <memory>

#include "help/help_presenter.h"
#include "win32/secondary_window.h"

namespace winui {

// "Помощь" on Windows: the topics on the left, the chosen topic's text on the right; resizable, not
// modal. The controls and their wiring; what the window does is help::HelpPresenter's.
class HelpWindow final : public SecondaryWindow, private help::HelpView {
 public:
  enum Control : int { ListBox1 = 101, Memo1 };

  explicit HelpWindow(MainWindow& main);
  ~HelpWindow() override;

  bool holdsMainWindow() const override { return false; }
  help::HelpPresenter& presenter() { return *presenter_; }
  HWND control(Control id) const { return GetDlgItem(hwnd(), id); }

 protected:
  void FormShow() override;
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void layOut();
  void applyFonts();

  void showTopics(const std::vector<std::string>& titles) override;
  void selectTopic(int topic) override;
  void setText(const std::string& text) override;
  void showWindow() override;

  std::unique_ptr<help::HelpPresenter> presenter_;
  HFONT listFont_ = nullptr;
  HFONT textFont_ = nullptr;
};

}  // namespace winui
