#pragma once

#include <windows.h>

#include <memory>

#include "launchers/run_menu_editor_presenter.h"
#include "win32/secondary_window.h"

namespace winui {

// The run-menu editor "Меню запуска" on Windows: the ten entries in a list box, the selected one in three
// edits, the browse button at the right end of the path. The controls and their wiring; what the editor
// does is launchers::RunMenuEditorPresenter's.
class RunMenuEditor final : public SecondaryWindow, private launchers::RunMenuEditorView {
 public:
  enum Control : int {
    ListBox1 = 101,
    Edit1,
    edit2,
    Edit3,
    edit2Button1,
    Button1,  // "Удалить"
    Button2,  // "Запустить"
    Button3,  // "&OK"
    Button4,  // "Помощь"
  };

  explicit RunMenuEditor(MainWindow& main);
  ~RunMenuEditor() override;

  launchers::RunMenuEditorPresenter& presenter() { return *presenter_; }
  HWND control(Control id) const { return GetDlgItem(hwnd(), id); }

 protected:
  void FormShow() override;
  void FormClose() override;
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  HWND field(Field which) const;
  static LRESULT CALLBACK fieldProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);

  void showRows(const std::vector<std::string>& rows) override;
  void setFieldText(Field which, const std::string& text) override;
  std::string fieldText(Field which) override;
  void setFieldReadOnly(Field which, bool readOnly) override;
  void closeWindow() override;
  void closeAfterShowing() override;

  std::unique_ptr<launchers::RunMenuEditorPresenter> presenter_;
};

}  // namespace winui
