#include "catalogue/files_list_presenter.h"

#include <algorithm>

#include "catalogue/texts.h"
#include "installs/store.h"
#include "sys/paths.h"

namespace catalogue {

namespace {

SortColumn sortColumnOf(int column) {
  switch (column) {
    case FilesListPresenter::FileName: return SortColumn::FileName;
    case FilesListPresenter::Path: return SortColumn::Path;
    case FilesListPresenter::Description: return SortColumn::Description;
    default: return SortColumn::Number;
  }
}

int columnOf(SortColumn column) {
  switch (column) {
    case SortColumn::FileName: return FilesListPresenter::FileName;
    case SortColumn::Path: return FilesListPresenter::Path;
    case SortColumn::Description: return FilesListPresenter::Description;
    default: return -1;
  }
}

}  // namespace

std::string FilesListPresenter::cellText(int row, int column) const {
  if (list_.empty() || row < 0 || static_cast<std::size_t>(row) >= order_.size()) return {};
  const std::size_t at = order_.catalogueRow(static_cast<std::size_t>(row));
  switch (column) {
    case Number: return list_.number(at);
    case FileName: return list_.name(at);
    case Path: return std::string(list_.path(at));
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

const std::string* FilesListPresenter::replacedBy(int row) const {
  if (list_.empty() || row < 0 || static_cast<std::size_t>(row) >= order_.size()) return nullptr;
  return replaced_.installationOf(list_.path(order_.catalogueRow(static_cast<std::size_t>(row))));
}

std::string FilesListPresenter::rowHint(int row) const {
  const std::string* installation = replacedBy(row);
  return installation ? texts::replacedBy(*installation) : std::string();
}

void FilesListPresenter::FilesListShow() {
  const int keep = view_.currentRow();
  {
    app::BusyScope busy(program_, texts::kFilling);
    list_ = FilesList::read(program_.fs(), program_.settings.FilesListDir, program_.settings.FilesInfoDir);
    // The filter and the order the user chose stay over a refill.
    const std::string filter = order_.filterText();
    const SortColumn column = order_.sortColumn();
    const bool descending = order_.descending();
    order_.reset(list_);
    if (column != SortColumn::Number) order_.sortBy(column, descending);
    if (!filter.empty()) order_.filter(filter);
    replaced_ = {};
    if (!program_.settings.FilePath.empty()) {
      installs::Store store(program_.fs(), program_.settings.FilePath);
      replaced_ = installs::ReplacedFiles::read(store);
    }
    view_.showRowCount(rowCount());
  }
  if (rowCount() > 0) view_.selectRow(std::clamp(keep, 0, rowCount() - 1));
}

void FilesListPresenter::GridSelectionChanged() {
  auto* pane = view_.previewPane();
  if (!pane) return;
  const auto at = currentFile();
  if (!at) {
    pane->clear();
    return;
  }
  const std::string path(list_.path(*at));
  // A model's companion lies beside it in the game.
  pane->show({path, preview::gamePathOf(path, program_.settings.CSDir), {sys::folderWithSeparator(path)}});
}

std::optional<std::size_t> FilesListPresenter::currentFile() const {
  const int row = view_.currentRow();
  if (list_.empty() || row < 0 || static_cast<std::size_t>(row) >= order_.size()) return std::nullopt;
  return order_.catalogueRow(static_cast<std::size_t>(row));
}

void FilesListPresenter::showRows(std::optional<std::size_t> keep) {
  view_.showRowCount(rowCount());
  if (rowCount() == 0) return;
  int row = 0;
  for (std::size_t shown = 0; keep && shown < order_.size(); ++shown) {
    if (order_.catalogueRow(shown) == *keep) {
      row = static_cast<int>(shown);
      break;
    }
  }
  view_.selectRow(row);
}

void FilesListPresenter::FilterChange(const std::string& text) {
  if (text == order_.filterText()) return;
  const auto keep = currentFile();
  order_.filter(text);
  showRows(keep);
}

void FilesListPresenter::FilterEscape() {
  view_.setFilterText("");
  FilterChange("");
}

void FilesListPresenter::HeaderClick(int column) {
  if (list_.empty()) return;
  const auto keep = currentFile();
  order_.sortBy(sortColumnOf(column));
  view_.showSortMark(columnOf(order_.sortColumn()), order_.descending());
  showRows(keep);
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
  if (!list_.empty() && order_.size() == 0) return;  // the filter shows no file: no extension to describe
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
