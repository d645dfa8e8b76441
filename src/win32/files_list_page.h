#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "catalogue/files_list_presenter.h"
#include "win32/main_window.h"
#include "win32/preview_pane.h"

namespace winui {

// The page "Список файлов" on Windows: a virtual list view (owner data) on the main window's second page.
// It is told the row count only and asks the presenter for each cell it draws (LVN_GETDISPINFO), so a
// catalogue of 100,000 lines shows at once. A header border dragged by the person is reported to the
// presenter, which moves the width between the column and its right neighbour.
class FilesListPage final : private catalogue::FilesListView {
 public:
  enum Control : int { Grid = 200, Search = 201 };
  enum Command : int { N7 = 2001, N8, N9 };

  explicit FilesListPage(MainWindow& main);
  ~FilesListPage() override;
  FilesListPage(const FilesListPage&) = delete;
  FilesListPage& operator=(const FilesListPage&) = delete;

  catalogue::FilesListPresenter& presenter() { return *presenter_; }
  HWND grid() const { return grid_; }
  HWND searchEdit() const { return search_; }
  HMENU popupMenu() const { return popup_; }
  PreviewPane& pane() { return *pane_; }

  void FilesListShow() { main_.guard([this] { presenter_->FilesListShow(); }); }
  void GridDblClick() { main_.guard([this] { presenter_->GridDblClick(); }); }
  int currentRow() const override;

 private:
  // The view of the presenter.
  void showRowCount(int rows) override;
  void selectRow(int row) override;
  int columnCount() const override;
  int columnWidth(int position) const override;
  void setColumnWidth(int position, int width) override;
  int gridWidth() const override;
  int columnPosition(int column) const override;
  void moveColumn(int from, int to) override;
  void setFilterText(const std::string& text) override;
  void showSortMark(int column, bool descending) override;
  void showPopupMenu() override;
  void showFileInfo(const std::string& file, const std::string& path, const std::string& description) override;
  preview::PreviewPanePresenter* previewPane() override;

  LRESULT GridNotify(NMHDR& header);
  // Draws the rows an installation replaced in bold.
  LRESULT drawRow(NMLVCUSTOMDRAW& draw);
  void fillHint(NMLVGETINFOTIPW& tip);
  void fillCell(NMLVDISPINFOW& info);
  int rowAt(POINT client) const;
  void runPopupCommand(int command);
  static LRESULT CALLBACK searchProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                          DWORD_PTR data);
  static LRESULT CALLBACK gridProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR data);

  MainWindow& main_;
  std::unique_ptr<catalogue::FilesListPresenter> presenter_;
  HWND grid_ = nullptr;
  HWND search_ = nullptr;
  HFONT boldFont_ = nullptr;
  HMENU popup_ = nullptr;
  POINT popupAt_{};
  std::wstring cellBuffer_;
  std::unique_ptr<PreviewPane> pane_;
};

}  // namespace winui
