#pragma once

// What every preview reader must keep on any bytes: it returns (never throws, never reads outside the
// bytes, as the sanitizers watch), gives facts, sizes every picture right and within the cap, shows nothing
// of a damaged file, and gives the same warnings alone as with the preview.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "preview/preview.h"

namespace fuzz {

inline int checkPreview(const std::string& gamePath, const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  // The companion of a model is the same bytes, so a model's companion path is fed too.
  const preview::Companion companion = [&](const std::string&) { return std::optional<std::string>(bytes); };
  const preview::Preview preview = preview::describe(gamePath, bytes, companion);
  if (preview.facts.empty()) fail("no facts");
  if (!preview.damage.empty() && (!preview.pictures.empty() || preview.sound)) fail("a damaged file shows content");
  std::uint64_t pixels = 0;
  for (const auto& picture : preview.pictures) {
    if (picture.width < 1 || picture.height < 1 || picture.width > 4096 || picture.height > 4096) fail("picture size");
    if (picture.rgba.size() != std::size_t(picture.width) * std::size_t(picture.height) * 4) fail("pixel buffer size");
    pixels += std::uint64_t(picture.width) * std::uint64_t(picture.height);
  }
  if (pixels > 8u * 1024 * 1024) fail("pixels beyond the cap");
  if (preview::warnings(gamePath, bytes, companion) != preview.warnings) fail("warnings differ");
  return 0;
}

}  // namespace fuzz
