#pragma once

#include <windows.h>

#include "installs/installations_page_presenter.h"

namespace winui {

class MainWindow;

// The page "Замена файлов" on the main window's first tab: the installations, each with the check box
// that switches it off and on, the files, date, description and sharing installations of the selected
// one, and the buttons that install, rename and restore. What it does is its
// presenter's; the page makes the controls in the main window's page panel and shows what it is told.
class InstallationsPage final : private installs::InstallationsPageView {
 public:
  // Control ids inside the page panel, named after the controls.
  enum Id : int { ListBox1 = 201, ListBox2, Edit1, Memo1, Button1, Button2, Button3, Button4, ListBox3 };
  // The one item of the installation list's menu ("Отключить" / "Включить").
  enum Command : int { SwitchItem = 1 };

  explicit InstallationsPage(MainWindow& main);
  ~InstallationsPage() override;
  InstallationsPage(const InstallationsPage&) = delete;
  InstallationsPage& operator=(const InstallationsPage&) = delete;

  // Fills the page afresh (the page shown, after an install).
  void EditMenuShow();
  HWND control(Id id) const;
  const installs::InstallationsPagePresenter& presenter() const { return presenter_; }

 private:
  void forward(void (installs::InstallationsPagePresenter::*handler)());
  LRESULT ListBox1Notify(NMHDR& header);
  void ListBox1Switch(int row);
  // The menu of a row, at a point of the screen; or over the selected row for (-1, -1) (the keyboard's).
  void ListBox1ContextMenu(POINT at);
  static LRESULT CALLBACK listWatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                    DWORD_PTR data);
  static LRESULT CALLBACK renameButtonWatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                            DWORD_PTR data);

  // installs::InstallationsPageView
  void showInstallations(const std::vector<std::string>& names, const std::vector<bool>& on) override;
  void setSwitchedOn(std::size_t row, bool on) override;
  void showSharing(const std::vector<std::string>& names) override;
  void setInstallationName(std::size_t row, const std::string& name) override;
  void showFiles(const std::vector<std::string>& gamePaths) override;
  void setDate(const std::string& text) override;
  void setDescription(const std::string& text) override;
  void setEnabled(Control control, bool enabled) override;
  void focusInstallationList() override;
  void setRenameHint(const std::string& text) override;
  int selectedRow() const override;
  void openInstallDialog() override;
  void openHelp() override;

  MainWindow& main_;
  installs::InstallationsPagePresenter presenter_;
  HWND panel_ = nullptr;
  // While the program itself sets the rows or their boxes: what the list view reports then is not the
  // person's doing.
  bool settingRows_ = false;
  unsigned filling_ = 0;  // counts the fillings of the installation list
};

}  // namespace winui
