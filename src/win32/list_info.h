#pragma once

#include <memory>
#include <string>

#include "catalogue/list_info_presenter.h"
#include "win32/secondary_window.h"

namespace winui {

class FilesListPage;

// The file info dialog "Информация" on Windows (catalogue::ListInfoPresenter does what it does).
class ListInfo final : public SecondaryWindow, private catalogue::ListInfoView {
 public:
  enum Control : int { Edit1 = 301, Edit2, Edit3, Button1, Button2 };

  ListInfo(MainWindow& main, FilesListPage& filesList);
  ~ListInfo() override;

  void showFor(const std::string& file, const std::string& path, const std::string& description);
  HWND control(Control id) const { return GetDlgItem(hwnd(), id); }

 protected:
  void FormShow() override { presenter_->FormShow(); }
  void FormClose() override { presenter_->FormClose(); }

 private:
  void setFieldText(Field field, const std::string& text) override;
  std::string fieldText(Field field) const override;
  void setFieldHint(Field field, const std::string& hint) override;
  void showWindow() override { show(); }
  void closeWindow() override { close(); }
  void launchCurrentFile() override;
  HWND field(Field field) const;
  static LRESULT CALLBACK editProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR data);

  FilesListPage& filesList_;
  std::unique_ptr<catalogue::ListInfoPresenter> presenter_;
};

}  // namespace winui
