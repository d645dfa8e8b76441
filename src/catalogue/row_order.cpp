#include "catalogue/row_order.h"

#include <algorithm>
#include <functional>
#include <numeric>

namespace catalogue {

namespace {

// Folds out[from..] in place.
void foldInPlace(std::string& out, std::size_t from) {
  for (std::size_t i = from; i < out.size(); ++i) {
    auto c = static_cast<unsigned char>(out[i]);
    if (c >= 'A' && c <= 'Z') {
      out[i] = static_cast<char>(c + ('a' - 'A'));
    } else if ((c == 0xD0) && i + 1 < out.size()) {
      // Two-byte Cyrillic: А..П (D0 90..9F) -> а..п (D0 B0..BF), Р..Я (D0 A0..AF) -> р..я (D1 80..8F),
      // Ё (D0 81) -> ё (D1 91). Lengths never change, so the folded text has the same size.
      auto n = static_cast<unsigned char>(out[i + 1]);
      if (n >= 0x90 && n <= 0x9F) {
        out[i + 1] = static_cast<char>(n + 0x20);
      } else if (n >= 0xA0 && n <= 0xAF) {
        out[i] = static_cast<char>(0xD1);
        out[i + 1] = static_cast<char>(n - 0x20);
      } else if (n == 0x81) {
        out[i] = static_cast<char>(0xD1);
        out[i + 1] = static_cast<char>(0x91);
      }
      ++i;
    }
  }
}

}  // namespace

std::string foldCase(std::string_view utf8) {
  std::string out(utf8);
  foldInPlace(out, 0);
  return out;
}

void RowOrder::reset(const FilesList& list) {
  list_ = &list;
  folded_.clear();
  starts_.clear();
  filter_.clear();
  foldedFilter_.clear();
  column_ = SortColumn::Number;
  descending_ = false;
  arrange();
}

void RowOrder::foldPaths() {
  if (!list_ || !starts_.empty()) return;
  const FilesList& list = *list_;
  std::size_t total = 0;
  for (std::size_t row = 0; row < list.size(); ++row) total += list.path(row).size();
  folded_.clear();
  folded_.reserve(total);
  starts_.clear();
  starts_.reserve(list.size() + 1);
  for (std::size_t row = 0; row < list.size(); ++row) {
    starts_.push_back(folded_.size());
    folded_ += list.path(row);
  }
  starts_.push_back(folded_.size());
  // A Cyrillic letter never straddles two paths, so the whole buffer folds at once.
  foldInPlace(folded_, 0);
}

void RowOrder::filter(const std::string& text) {
  const std::string folded = foldCase(text);
  // Typing on narrows what is shown already; anything else starts from every row.
  const bool narrower = !foldedFilter_.empty() && folded.find(foldedFilter_) != std::string::npos;
  filter_ = text;
  foldedFilter_ = folded;
  if (narrower) {
    const std::vector<std::uint32_t> from = std::move(shown_);
    narrow(from);
  } else {
    narrow(ordered_);
  }
}

void RowOrder::sortBy(SortColumn column) {
  descending_ = column == column_ && column != SortColumn::Number ? !descending_ : false;
  column_ = column;
  arrange();
}

void RowOrder::sortBy(SortColumn column, bool descending) {
  column_ = column;
  descending_ = column != SortColumn::Number && descending;
  arrange();
}

void RowOrder::arrange() {
  ordered_.resize(list_ ? list_->size() : 0);
  std::iota(ordered_.begin(), ordered_.end(), 0u);
  if (list_ && column_ != SortColumn::Number) {
    if (column_ == SortColumn::Path) foldPaths();
    std::vector<std::string> keys;
    keys.reserve(ordered_.size());
    for (std::size_t row = 0; row < ordered_.size(); ++row) {
      switch (column_) {
        case SortColumn::FileName: keys.push_back(foldCase(list_->name(row))); break;
        case SortColumn::Description: keys.push_back(foldCase(list_->description(row))); break;
        default: keys.emplace_back(foldedPath(static_cast<std::uint32_t>(row))); break;
      }
    }
    std::stable_sort(ordered_.begin(), ordered_.end(), [&](std::uint32_t a, std::uint32_t b) {
      return descending_ ? keys[b] < keys[a] : keys[a] < keys[b];
    });
  }
  narrow(ordered_);
}

void RowOrder::narrow(const std::vector<std::uint32_t>& from) {
  shown_.clear();
  if (foldedFilter_.empty()) {
    shown_ = from;
    return;
  }
  foldPaths();
  const std::boyer_moore_horspool_searcher searcher(foldedFilter_.begin(), foldedFilter_.end());
  for (std::uint32_t row : from) {
    const std::string_view path = foldedPath(row);
    if (std::search(path.begin(), path.end(), searcher) != path.end()) shown_.push_back(row);
  }
}

}  // namespace catalogue
