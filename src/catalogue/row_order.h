#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/files_list.h"

namespace catalogue {

// The columns of the file list the rows can be sorted by.
enum class SortColumn { Number, FileName, Path, Description };

// The text in one letter case for comparing: Latin and Cyrillic capitals (Ё too) become small letters;
// everything else stays as it is.
std::string foldCase(std::string_view utf8);

// Which catalogue rows the file list shows, and in which order. The rows keep their catalogue numbers;
// only which of them are shown, and where, changes.
class RowOrder {
 public:
  // Every row of list in catalogue order, no filter. The list must outlive the order (or the next reset).
  void reset(const FilesList& list);

  // Shows only the rows whose path (which ends with the file name) holds text, letter case ignored.
  // An empty text shows every row.
  void filter(const std::string& text);
  const std::string& filterText() const { return filter_; }

  // Sorts by a column, ascending; the same column again reverses the order. The number column gives
  // back the catalogue's order. Rows with equal texts keep their catalogue order.
  void sortBy(SortColumn column);
  // Sorts by a column in the given direction at once (a refill keeping the user's order).
  void sortBy(SortColumn column, bool descending);
  SortColumn sortColumn() const { return column_; }
  bool descending() const { return descending_; }

  std::size_t size() const { return shown_.size(); }
  // The catalogue row (0-based) shown at position shown.
  std::size_t catalogueRow(std::size_t shown) const { return shown_[shown]; }

 private:
  void arrange();
  // Folds every path once, the first time the filter or the path column needs them: a fill that is never
  // searched or sorted by path does not pay for it.
  void foldPaths();
  void narrow(const std::vector<std::uint32_t>& from);

  const FilesList* list_ = nullptr;
  std::string_view foldedPath(std::uint32_t row) const {
    return std::string_view(folded_).substr(starts_[row], starts_[row + 1] - starts_[row]);
  }

  // Every catalogue path folded, end to end in one buffer (one allocation for 100,000 rows), made at most
  // once per reset; starts_ has each row's offset and the end.
  std::string folded_;
  std::vector<std::size_t> starts_;
  std::vector<std::uint32_t> ordered_;    // every catalogue row in the sorted order
  std::vector<std::uint32_t> shown_;      // those of ordered_ the filter lets through
  std::string filter_;
  std::string foldedFilter_;
  SortColumn column_ = SortColumn::Number;
  bool descending_ = false;
};

}  // namespace catalogue
