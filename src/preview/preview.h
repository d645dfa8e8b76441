#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What a file of the game looks and sounds like, read from its bytes alone: the game's studio models
// (.mdl), sprites (.spr), pictures (.bmp, .tga, the textures of .wad files) and sounds (.wav). Every reader
// stays inside the bytes it is given and refuses damaged input with one line of text; nothing here draws,
// plays or touches a file.
namespace preview {

// One picture: width × height pixels, 4 bytes each (red, green, blue, alpha), rows from the top.
struct Picture {
  std::string name;  // a model's texture name, a sprite's "frame 3", a wad lump's name
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;
};

enum class Kind { Other, Model, Sprite, Picture, Sound };

struct Sound {
  int format = 0;  // the WAVE format tag: 1 for uncompressed PCM
  int channels = 0;
  int rate = 0;  // samples a second
  int bits = 0;
  std::uint32_t lengthMs = 0;
  int cuePoints = 0;
};

struct Preview {
  Kind kind = Kind::Other;
  // One or two lines for the pane: what the file is, its size, and the reader's facts (bounding box and
  // counts of a model, type and frames of a sprite, the format of a sound). Always at least one line,
  // also for a file of no known format and for a damaged one.
  std::vector<std::string> facts;
  // A damaged file: one line saying so (the facts still give its size). Empty when it was read.
  std::string damage;
  // A model's textures, a sprite's frames (transparent and additive formats drawn over a checkerboard),
  // a picture, a wad's textures.
  std::vector<Picture> pictures;
  // A sprite plays its frames at this interval; 0 shows the pictures side by side.
  int frameIntervalMs = 0;
  std::optional<Sound> sound;
  // What a server or the game will refuse of this file in this place, one line each (see warnings()).
  std::vector<std::string> warnings;
};

// Finds a companion file by its bare name ("gignT.mdl") beside the file in the pack or in the game:
// its bytes, or nothing when neither has it.
using Companion = std::function<std::optional<std::string>(const std::string& fileName)>;

// The preview of one file. gamePath is the path it has (or will have) in the game folder, relative to it
// and with backslashes ("models\\player\\gign\\gign.mdl"): it tells the format by its extension and the
// warnings by its place. bytes are the whole file. Never throws.
Preview describe(const std::string& gamePath, std::string_view bytes, const Companion& companion);

// The warnings of describe alone, without decoding pictures: what the install dialog sums up over all its
// files. Never throws.
std::vector<std::string> warnings(const std::string& gamePath, std::string_view bytes, const Companion& companion);

}  // namespace preview
