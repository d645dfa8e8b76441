#pragma once

#include <windows.h>
#include <shellapi.h>

#include <memory>

#include "installs/install_dialog_presenter.h"
#include "win32/preview_pane.h"
#include "win32/secondary_window.h"

namespace winui {

class InstallationsPage;

// The install dialog "Установка файлов": new files are gathered, matched to the game files they replace
// and installed under a name. What it does is its presenter's; the window makes the controls, the menu
// and the popup menu of "&Добавить", hands each event on and shows what it is told.
class InstallDialog final : public SecondaryWindow, private installs::InstallDialogView {
 public:
  // Control and command ids, named after the controls and menu items.
  enum Id : int {
    ListBox1 = 301,
    Button1,
    Button2,
    Button3,
    Button4,
    Button5,
    Memo1,
    ProgressBar1,
    StatusBar1,
    N1 = 401,  // "&Информация"
    N3,        // "Файлы выборочно"
    N4,        // "Файлы только из папки"
    N5,        // "Из папки, включая вложенные папки"
    N9,        // "Из архива"
    N6,        // "Выделенный файл"
    N7,        // "Все файлы"
    PM1 = 421,
    PM2,
    PM3,
    PM4,
  };

  InstallDialog(MainWindow& main, InstallationsPage& page);
  ~InstallDialog() override;

  HWND control(Id id) const;
  HMENU popupMenu() const { return popup_; }
  const installs::InstallDialogPresenter& presenter() const { return presenter_; }
  PreviewPane& pane() { return *pane_; }
  // The popup menu of "&Добавить" about to open: its default item marked.
  void PopupMenu1Popup();
  // Opens the popup menu at the given screen point (a right click on the button).
  void showPopupMenu(POINT at);

 protected:
  void FormShow() override;
  void FormClose() override;
  void FormHide() override;
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void buildMenus();
  void buildControls();
  // Hands one event to the presenter inside the main window's guard.
  void run(const std::function<void()>& handler);
  void forwardOn(int id, void (installs::InstallDialogPresenter::*handler)(), int code = -1);
  void dropped(HDROP drop);
  static LRESULT CALLBACK listWatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                    DWORD_PTR data);

  // installs::InstallDialogView
  void setProgressMaximum(int value) override;
  void setProgress(int value) override;
  void setStatus(const std::string& text) override;
  void setWorking(bool working) override;
  void showChosenFiles(const std::vector<std::string>& shown, const std::vector<std::string>& destinations) override;
  void setEnabled(Control control, bool enabled) override;
  void setDescription(const std::string& text) override;
  void setArchiveModeOffered(bool offered) override;
  void markDefaultMode(installs::AddMode mode) override;
  void setHintTiming(int pauseMs, int hidePauseMs) override;
  void closeWindow() override;
  void refreshInstallations() override;
  std::string description() const override;
  std::optional<std::size_t> selectedFile() const override;
  bool mainWindowShown() const override;
  preview::PreviewPanePresenter* previewPane() override;
  void setWarningsText(const std::string& text) override;

  InstallationsPage& page_;
  installs::InstallDialogPresenter presenter_;
  HMENU menu_ = nullptr;
  HMENU addMenu_ = nullptr;
  HMENU popup_ = nullptr;
  std::unique_ptr<PreviewPane> pane_;
};

}  // namespace winui
