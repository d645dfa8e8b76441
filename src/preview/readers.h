#pragma once

#include <optional>
#include <string>
#include <vector>

#include "preview/bytes.h"
#include "preview/preview.h"
#include "preview/texts.h"

// The readers of each format, behind describe() and warnings(). Each throws Damaged for a file it cannot
// read; the callers catch it.
namespace preview::detail {

// Pictures of one file share one budget of pixels (kMaxPixels): past it a reader stops adding pictures.
class PictureBudget {
 public:
  // A picture of width × height, its pixels to be filled; nothing when the budget is spent. Sizes beyond
  // kMaxSide or below 1 are damage.
  std::optional<Picture> take(const std::string& name, std::int64_t width, std::int64_t height);

 private:
  std::uint64_t left_ = kMaxPixels;
};

// Colours of an 8-bit palette, 3 bytes each.
struct Palette {
  std::string_view rgb;  // 3 × count bytes
  void colour(std::uint8_t index, std::uint8_t* out) const;
};

// The light and dark squares a transparent picture is drawn over, at pixel (x, y).
std::uint8_t checker(int x, int y);

// The bare name of a game path ("gign.mdl") and the name without its extension ("gign").
std::string bareName(const std::string& gamePath);
std::string stem(const std::string& gamePath);
// The game path in lower case with '/' separators, as the game's server code names its files.
std::string serverName(const std::string& gamePath);

// Studio models.
struct ModelHeader {
  std::string name;
  int bones = 0, boneIndex = 0, sequences = 0, sequenceIndex = 0, sequenceGroups = 0;
  int textures = 0, textureIndex = 0, bodyParts = 0, bodyPartIndex = 0;
  bool needsCompanion() const { return textures == 0 || textureIndex == 0; }
};
ModelHeader readModelHeader(const Bytes& bytes);
std::string companionName(const std::string& gamePath);
// The companion's bytes, or nothing when the finder has none or fails to read it.
std::optional<std::string> findCompanion(const Companion& companion, const std::string& name);
// The model's box as the game's client computes it for the server's check; nothing when the model is too
// odd to say (animation outside the file).
std::optional<texts::Box> studioBounds(const Bytes& bytes, const ModelHeader& header);
void describeModel(const std::string& gamePath, const Bytes& bytes, const Companion& companion, Preview& out);
// The name and sides of each texture in the model's own table, without their pixels.
struct TextureSides {
  std::string name;
  std::int64_t width = 0, height = 0;
};
std::vector<TextureSides> modelTextures(const Bytes& bytes, const ModelHeader& header);

void describeSprite(const Bytes& bytes, Preview& out);
void describeBmp(const Bytes& bytes, Preview& out);
// A bitmap's depth and compression, from its header alone.
struct BmpHeader {
  int bits = 0;
  std::uint32_t compression = 0;
};
BmpHeader readBmpHeader(const Bytes& bytes);
void describeTga(const Bytes& bytes, Preview& out);
void describeWad(const Bytes& bytes, Preview& out);

// A wad's textures without their pixels: name, width, height.
struct MiptexHeader {
  std::string name;
  std::uint32_t width = 0, height = 0;
};
std::vector<MiptexHeader> wadTextures(const Bytes& bytes, int* otherLumps);

Sound readWav(const Bytes& bytes);
void describeWav(const Bytes& bytes, Preview& out);

}  // namespace preview::detail
