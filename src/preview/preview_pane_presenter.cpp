#include "preview/preview_pane_presenter.h"

#include <algorithm>
#include <cmath>

#include "preview/pane_texts.h"
#include "sys/encoding.h"
#include "sys/error.h"
#include "sys/paths.h"

namespace preview {

std::string gamePathOf(const std::string& fullPath, const std::string& gameFolder) {
  if (!sys::liesInside(fullPath, gameFolder)) return sys::bareName(fullPath);
  const auto parts = [](const std::string& path) {
    std::vector<std::string> out;
    for (const auto& part : sys::toPath(path).lexically_normal()) {
      if (!part.empty() && part != "/" && part != "\\") out.push_back(sys::fromPath(part));
    }
    return out;
  };
  const auto outer = parts(sys::withoutTrailingSeparators(gameFolder));
  const auto inner = parts(fullPath);
  std::string relative;
  for (std::size_t k = outer.size(); k < inner.size(); ++k) {
    if (!relative.empty()) relative += '\\';
    relative += inner[k];
  }
  return relative;
}

std::vector<Placement> layoutPictures(const std::vector<std::pair<int, int>>& sizes, int areaWidth, int areaHeight,
                                      int gap) {
  constexpr double kMostUp = 4.0;
  const int count = static_cast<int>(sizes.size());
  if (count == 0 || areaWidth <= 0 || areaHeight <= 0) return {};
  // The pictures of row r are [r * perRow, (r + 1) * perRow): in reading order, as many in each row.
  double bestScale = -1;
  int bestPerRow = count;
  for (int rows = 1; rows <= count; ++rows) {
    const int perRow = (count + rows - 1) / rows;
    if (rows > 1 && (count + perRow - 1) / perRow < rows) continue;  // the same split as fewer rows
    double widest = 0, height = 0;
    for (int first = 0; first < count; first += perRow) {
      double width = 0, tallest = 0;
      for (int k = first; k < std::min(count, first + perRow); ++k) {
        width += std::max(1, sizes[static_cast<std::size_t>(k)].first);
        tallest = std::max<double>(tallest, std::max(1, sizes[static_cast<std::size_t>(k)].second));
      }
      const int inRow = std::min(count, first + perRow) - first;
      widest = std::max(widest, width / std::max(1.0, areaWidth - gap * (inRow - 1.0)));
      height += tallest;
    }
    const int usedRows = (count + perRow - 1) / perRow;
    const double scale =
        std::min(1.0 / widest, std::max(1.0, areaHeight - gap * (usedRows - 1.0)) / height);
    if (scale > bestScale) {
      bestScale = scale;
      bestPerRow = perRow;
    }
  }
  const double scale = std::min(bestScale, kMostUp);
  std::vector<Placement> placed(sizes.size());
  std::vector<std::pair<int, int>> rowBoxes;  // each row's width and height, scaled
  for (int first = 0; first < count; first += bestPerRow) {
    int width = 0, height = 0;
    for (int k = first; k < std::min(count, first + bestPerRow); ++k) {
      Placement& place = placed[static_cast<std::size_t>(k)];
      place.width = std::max(1, static_cast<int>(std::floor(sizes[static_cast<std::size_t>(k)].first * scale)));
      place.height = std::max(1, static_cast<int>(std::floor(sizes[static_cast<std::size_t>(k)].second * scale)));
      width += place.width + (k > first ? gap : 0);
      height = std::max(height, place.height);
    }
    rowBoxes.emplace_back(width, height);
  }
  int total = 0;
  for (const auto& box : rowBoxes) total += box.second;
  total += gap * (static_cast<int>(rowBoxes.size()) - 1);
  int y = std::max(0, (areaHeight - total) / 2);
  for (std::size_t row = 0; row < rowBoxes.size(); ++row) {
    int x = std::max(0, (areaWidth - rowBoxes[row].first) / 2);
    const std::size_t first = row * static_cast<std::size_t>(bestPerRow);
    for (std::size_t k = first; k < std::min(sizes.size(), first + static_cast<std::size_t>(bestPerRow)); ++k) {
      placed[k].x = x;
      placed[k].y = y + (rowBoxes[row].second - placed[k].height) / 2;
      x += placed[k].width + gap;
    }
    y += rowBoxes[row].second + gap;
  }
  return placed;
}

PreviewPanePresenter::PreviewPanePresenter(sys::FileSystem& fs, PaneView& view, Readers readers)
    : fs_(fs), view_(view), readers_(std::move(readers)) {}

std::optional<std::string> PreviewPanePresenter::readCapped(const std::string& path, std::uintmax_t size) {
  if (size > kMaxPreviewBytes) return std::nullopt;
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(size));
  bool tooLarge = false;
  fs_.readBytes(path, [&](std::string_view chunk) {
    // A file that grew since its size was asked is cut at the limit, never read on.
    if (tooLarge || bytes.size() + chunk.size() > kMaxPreviewBytes) {
      tooLarge = true;
      return;
    }
    bytes.append(chunk);
  });
  if (tooLarge) return std::nullopt;
  return bytes;
}

Companion PreviewPanePresenter::companionOf(const PaneFile& file) {
  return [this, folders = file.companionFolders](const std::string& name) -> std::optional<std::string> {
    const std::string wanted = sys::upperAscii(name);
    for (const auto& folder : folders) {
      std::string found;
      if (fs_.isFile(folder + name)) {
        found = folder + name;
      } else {
        // The game's files keep the letter case their makers gave them: "GIGNt.mdl" is the same file.
        fs_.enumerate(folder, [&](const sys::DirEntry& entry) {
          if (found.empty() && entry.kind == sys::EntryKind::File && sys::upperAscii(entry.name) == wanted) {
            found = folder + entry.name;
          }
        });
      }
      if (found.empty()) continue;
      try {
        const auto size = fs_.fileSize(found);
        if (!size) continue;
        if (auto bytes = readCapped(found, *size)) return bytes;
      } catch (const sys::IoError&) {
        // An unreadable companion is one the game cannot read either.
      }
    }
    return std::nullopt;
  };
}

void PreviewPanePresenter::stop() {
  view_.stopFrameTimer();
  if (playing_) view_.stopSound();
  playing_ = false;
  frame_ = 0;
}

void PreviewPanePresenter::show(const PaneFile& file) {
  stop();
  file_ = file.file;
  preview_ = Preview{};
  try {
    const auto size = fs_.fileSize(file.file);
    if (!size) {
      preview_.facts = {texts::kNoFile};
    } else if (auto bytes = readCapped(file.file, *size)) {
      preview_ = readers_.describe(file.gamePath, *bytes, companionOf(file));
    } else {
      preview_.facts = {texts::tooLarge(*size)};
    }
  } catch (const sys::IoError& error) {
    preview_ = Preview{};
    preview_.facts = {texts::kUnreadablePrefix + std::string(error.what())};
  }
  std::vector<std::string> lines = preview_.facts;
  if (!preview_.damage.empty()) lines.push_back(preview_.damage);
  view_.showFacts(lines);
  view_.showWarnings(preview_.warnings);
  const bool animated = preview_.frameIntervalMs > 0 && preview_.pictures.size() > 1;
  view_.showPictures(animated ? std::span<const Picture>(preview_.pictures.data(), 1)
                              : std::span<const Picture>(preview_.pictures));
  if (animated) view_.startFrameTimer(preview_.frameIntervalMs);
  view_.setPlayVisible(preview_.sound.has_value());
  view_.setPlayCaption(texts::kPlay);
}

void PreviewPanePresenter::clear() {
  stop();
  file_.clear();
  preview_ = Preview{};
  view_.showFacts({});
  view_.showWarnings({});
  view_.showPictures({});
  view_.setPlayVisible(false);
  view_.setPlayCaption(texts::kPlay);
}

void PreviewPanePresenter::PlayClick() {
  if (playing_) {
    playing_ = false;
    view_.stopSound();
    view_.setPlayCaption(texts::kPlay);
    return;
  }
  if (!preview_.sound) return;
  playing_ = true;
  view_.setPlayCaption(texts::kStop);
  view_.playSound(file_, preview_.sound->lengthMs);
}

void PreviewPanePresenter::SoundEnded() {
  if (!playing_) return;
  playing_ = false;
  view_.setPlayCaption(texts::kPlay);
}

void PreviewPanePresenter::FrameTimer() {
  if (preview_.frameIntervalMs <= 0 || preview_.pictures.size() < 2) return;
  frame_ = (frame_ + 1) % preview_.pictures.size();
  view_.showPictures(std::span<const Picture>(&preview_.pictures[frame_], 1));
}

std::size_t PreviewPanePresenter::warningsCount(const std::vector<PaneFile>& files) {
  std::size_t sum = 0;
  for (const auto& file : files) {
    const std::string key = file.gamePath + '\n' + file.file;
    const auto stamp = fs_.stamp(file.file);
    if (!stamp) continue;
    const auto known = counted_.find(key);
    if (known != counted_.end() && known->second.stamp == *stamp) {
      sum += known->second.warnings;
      continue;
    }
    std::size_t count = 0;
    try {
      if (auto bytes = readCapped(file.file, stamp->size)) {
        count = readers_.warnings(file.gamePath, *bytes, companionOf(file)).size();
      }
    } catch (const sys::IoError&) {
      // A file that cannot be read is reported by the install, not here.
    }
    counted_[key] = {*stamp, count};
    sum += count;
  }
  return sum;
}

}  // namespace preview
