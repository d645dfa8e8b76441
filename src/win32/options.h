#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app/options_presenter.h"
#include "win32/controls.h"
#include "win32/main_window.h"
#include "win32/secondary_window.h"

namespace winui {

// The settings dialog "Настройки" on Windows (app::OptionsPresenter does what it does).
class Options final : public SecondaryWindow, private app::OptionsView {
 public:
  enum Control : int {
    GroupBox1 = 401,
    AHMLookupEdit1,
    AHMLookupEdit1Button1,
    AHMLookupEdit2,
    AHMLookupEdit2Button1,
    Edit1,
    Button4,
    Button5,
    GroupBox2,
    Update1,
    Update2,
    Update3,
    Update4,
    Label4,
    Label5,
    Button2,
    Button1,
    Button3,
  };

  explicit Options(MainWindow& main);
  ~Options() override;

  HWND control(Control id) const { return GetDlgItem(hwnd(), id); }

 protected:
  void FormShow() override { presenter_->FormShow(); }
  void FormHide() override { presenter_->FormHide(); }
  void FormClose() override { presenter_->FormClose(); }

 private:
  void setFieldText(Field field, const std::string& text) override;
  std::string fieldText(Field field) const override;
  void focusField(Field field) override;
  void setUpdateChoice(const std::string& choice) override;
  std::string updateChoice() const override;
  void setLastUpdateText(const std::string& text) override;
  void setRefreshHint(const std::string& text) override;
  void setRefreshEnabled(bool enabled) override;
  void closeWindow() override { close(); }
  void closeProgram() override;
  void holdActivation() override { hold_.emplace(main()); }
  void releaseActivation() override { hold_.reset(); }
  void showFilesListPage() override;
  void refreshFilesList() override;
  HWND field(Field field) const;
  int textWidth(const std::string& text) const;
  void addField(Control id, const char* label, int top, int width);
  void addButton(Control id, const char* caption, const Box& box, void (app::OptionsPresenter::*handler)(),
                 bool isDefault = false);

  std::unique_ptr<app::OptionsPresenter> presenter_;
  std::optional<MainWindow::ActivationHold> hold_;
};

}  // namespace winui
