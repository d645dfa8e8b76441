// The game's sprites (version 2, "IDSP"): a header, one palette of up to 256 colours and frames that are
// single pictures or groups of pictures with their own intervals.
#include <cmath>

#include "preview/readers.h"

namespace preview::detail {

namespace {

constexpr int kVersion = 2;
constexpr int kHeaderSize = 40;
enum Format { kNormal = 0, kAdditive = 1, kIndexAlpha = 2, kAlphaTest = 3 };
// Sprites carry no rate for single frames; the pane plays them at the game's usual ten frames a second.
constexpr int kDefaultIntervalMs = 100;

// One frame's pixels in the sprite's format, drawn over the checkerboard where it lets the background show.
void fill(Picture& picture, std::string_view indices, const Palette& palette, int format) {
  std::uint8_t* rgba = picture.rgba.data();
  std::uint8_t last[3];
  palette.colour(255, last);
  for (std::size_t p = 0; p < indices.size(); ++p, rgba += 4) {
    const auto index = static_cast<std::uint8_t>(indices[p]);
    const std::uint8_t back = checker(static_cast<int>(p % picture.width), static_cast<int>(p / picture.width));
    std::uint8_t colour[3];
    palette.colour(index, colour);
    for (int c = 0; c < 3; ++c) {
      switch (format) {
        case kAdditive: rgba[c] = static_cast<std::uint8_t>(std::min(255, back + colour[c])); break;
        case kIndexAlpha: rgba[c] = static_cast<std::uint8_t>((back * (255 - index) + last[c] * index) / 255); break;
        case kAlphaTest: rgba[c] = index == 255 ? back : colour[c]; break;
        default: rgba[c] = colour[c];
      }
    }
    rgba[3] = 255;
  }
}

}  // namespace

void describeSprite(const Bytes& bytes, Preview& out) {
  if (!bytes.startsWith("IDSP")) damaged(texts::kNoSignature);
  bytes.need(0, kHeaderSize + 2);
  const int version = bytes.i32(4);
  if (version != kVersion) damaged(texts::wrongVersion(version, kVersion));
  const int type = bytes.i32(8);
  const int format = bytes.i32(12);
  const int width = bytes.i32(20);
  const int height = bytes.i32(24);
  const std::int64_t frames = bytes.i32(28);
  const int colours = bytes.u16(kHeaderSize);
  if (colours > 256 || frames < 0) damaged(texts::kBadCount);
  const Palette palette{bytes.view(kHeaderSize + 2, std::uint64_t{3} * colours)};
  std::int64_t at = kHeaderSize + 2 + 3 * colours;
  PictureBudget budget;
  int shown = 0;
  float firstInterval = 0;
  auto single = [&]() {
    const std::int64_t w = bytes.i32(at + 8);
    const std::int64_t h = bytes.i32(at + 12);
    if (w < 0 || h < 0) damaged(texts::kBadSize);
    const std::string_view indices = bytes.view(at + 16, times(static_cast<std::uint64_t>(w), static_cast<std::uint64_t>(h)));
    at += 16 + static_cast<std::int64_t>(indices.size());
    if (auto picture = budget.take(texts::frameName(++shown), w, h)) {
      fill(*picture, indices, palette, format);
      out.pictures.push_back(std::move(*picture));
    }
  };
  for (std::int64_t frame = 0; frame < frames; ++frame) {
    const std::int32_t frameType = bytes.i32(at);
    at += 4;
    if (frameType == 0) {
      single();
    } else if (frameType == 1) {
      const std::int64_t count = bytes.i32(at);
      if (count < 0) damaged(texts::kBadCount);
      bytes.need(at + 4, times(static_cast<std::uint64_t>(count), 4));
      if (count > 0 && firstInterval == 0) firstInterval = bytes.f32(at + 4);
      at += 4 + 4 * count;
      for (std::int64_t i = 0; i < count; ++i) single();
    } else {
      damaged(texts::kBadFrameType);
    }
  }
  if (firstInterval > 0 && std::isfinite(firstInterval)) {
    out.frameIntervalMs = static_cast<int>(std::lround(std::fmin(10.0f, std::fmax(0.01f, firstInterval)) * 1000));
  } else if (out.pictures.size() > 1) {
    out.frameIntervalMs = kDefaultIntervalMs;
  }
  out.facts = {texts::sprite(type, format, static_cast<int>(frames), width, height, colours),
               texts::sizeLine(bytes.size())};
}

}  // namespace preview::detail
