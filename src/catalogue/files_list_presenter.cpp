#include "catalogue/files_list_presenter.h"

#include <algorithm>

#include "catalogue/texts.h"
#include "sys/paths.h"

namespace catalogue {

std::string FilesListPresenter::cellText(int row, int column) const {
  if (row < 0 || static_cast<std::size_t>(row) >= list_.size()) return {};
  const auto at = static_cast<std::size_t>(row);
  switch (column) {
    case Number: return list_.number(at);
    case FileName: return list_.name(at);
    case Path: return list_.path(at);
    case Description: return list_.description(at);
    default: return {};
  }
}

std::string FilesListPresenter::columnTitle(int column) {
  switch (column) {
    case FileName: return texts::kFileHeader;
    case Path: return texts::kPathHeader;
    case Description: return texts::kDescriptionHeader;
    default: return {};
  }
}

void FilesListPresenter::setUpGrid() {
  view_.setColumnWidth(0, kNumberWidth);
  view_.setColumnWidth(1, kFileWidth);
  view_.setColumnWidth(2, kPathWidth);
  SizingCol = -1;
  SizingColWidth = 0;
  SizingPairWidth = 0;
  FitColumn(-1);
}

void FilesListPresenter::FilesListShow() {
  const int keep = view_.currentRow();
  {
    app::BusyScope busy(program_, texts::kFilling);
    list_ = FilesList::read(program_.fs(), program_.settings.FilesListDir, program_.settings.FilesInfoDir);
    view_.showRowCount(rowCount());
  }
  view_.selectRow(std::clamp(keep, 0, rowCount() - 1));
}

void FilesListPresenter::FitColumn(int position) {
  const int count = view_.columnCount();
  if (position < 0) position = count - 1;
  if (position < 0 || position >= count) return;
  int width = view_.gridWidth();
  for (int other = 0; other < count; ++other) {
    if (other != position) width -= view_.columnWidth(other);
  }
  if (width >= 0) view_.setColumnWidth(position, width);
}

void FilesListPresenter::GridColumnMoved() {
  const int at = view_.columnPosition(Number);
  if (at != 0) view_.moveColumn(at, 0);
  FitColumn(-1);
}

void FilesListPresenter::GridBorderPressed(int position) {
  SizingCol = position;
  if (SizingCol < 0) return;
  SizingColWidth = view_.columnWidth(SizingCol);
  SizingPairWidth = SizingColWidth;
  if (SizingCol + 1 < view_.columnCount()) SizingPairWidth += view_.columnWidth(SizingCol + 1);
}

void FilesListPresenter::RedrawGrid() {
  if (SizingCol == -1) return;
  const int last = view_.columnCount() - 1;
  if (SizingCol < last) {
    const int rest = SizingPairWidth - view_.columnWidth(SizingCol);
    if (rest > 0) {
      view_.setColumnWidth(SizingCol + 1, rest);
    } else {
      view_.setColumnWidth(SizingCol, SizingColWidth);  // it would swallow the neighbour
    }
  }
  FitColumn(-1);
  SizingCol = -1;
}

void FilesListPresenter::GridDblClick() { launchFile(program_.services().shell, cellText(view_.currentRow(), Path)); }

void FilesListPresenter::N8Click() {
  const int row = view_.currentRow();
  const std::string current = cellText(row, Description);
  const std::string extension = sys::extension(cellText(row, Path));
  const auto text = program_.ui().inputBox(app::kApplicationTitle, texts::descriptionPrompt(extension), current);
  if (!text) return;  // a cancelled box changes nothing
  replaceDescription(program_.fs(), program_.settings.FilesInfoDir, extension, *text);
  FilesListShow();
}

void FilesListPresenter::N9Click() {
  const int row = view_.currentRow();
  view_.showFileInfo(cellText(row, FileName), cellText(row, Path), cellText(row, Description));
}

void FilesListPresenter::GridMouseMove() { program_.Status(texts::kGridHint, 0); }

bool FilesListPresenter::GridMouseDown(std::optional<int> row, Button button) {
  if (row) view_.selectRow(*row);
  switch (button) {
    case Button::Right:
      view_.showPopupMenu();
      return true;
    case Button::Middle:
      N9Click();
      return true;
    default:
      // Below the last row the current row stays as it is.
      return !row;
  }
}

}  // namespace catalogue
