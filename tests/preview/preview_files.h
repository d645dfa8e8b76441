#pragma once

// Small files of the game's formats, written byte by byte as their public layouts give them.
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace preview_testing {

class Writer {
 public:
  Writer& u8(int v) { return put(static_cast<std::uint32_t>(v), 1); }
  Writer& u16(int v) { return put(static_cast<std::uint32_t>(v), 2); }
  Writer& i32(std::int64_t v) { return put(static_cast<std::uint32_t>(v), 4); }
  Writer& f32(float v) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, 4);
    return put(bits, 4);
  }
  Writer& text(const std::string& s) { bytes += s; return *this; }
  Writer& field(const std::string& s, std::size_t length) { bytes += s + std::string(length - s.size(), '\0'); return *this; }
  Writer& zeros(std::size_t n) { bytes.append(n, '\0'); return *this; }
  void patch(std::size_t at, std::int64_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(static_cast<std::uint64_t>(v) >> (8 * i));
  }
  std::size_t size() const { return bytes.size(); }
  std::string bytes;

 private:
  Writer& put(std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i) bytes += static_cast<char>(v >> (8 * i));
    return *this;
  }
};

// A palette whose colour i is (i, 2i, 3i) modulo 256.
inline void palette(Writer& w, int colours = 256) {
  for (int i = 0; i < colours; ++i) w.u8(i).u8(2 * i).u8(3 * i);
}

struct ModelShape {
  std::vector<std::array<float, 3>> vertices = {{-10, -5, -30}, {10, 5, 30}};
  std::vector<int> zFrames = {};          // stored z values of the bone's frames; none leaves z unanimated
  bool ownTextures = true;                // false: the textures are in the companion
  int sequenceGroups = 1;
  int version = 10;
  bool alignedTextures = false;  // true: the textures are 8×8 and 16×8 instead, of one colour each
};

// A studio model: one bone, one sequence, one body part with one sub-model, and two textures (2×2
// masked "skin", 4×1 "face") unless they are in the companion.
inline std::string studioModel(const ModelShape& shape = {}) {
  Writer w;
  w.text("IDST").i32(shape.version).field("gign", 64).i32(0);
  w.zeros(15 * 4).i32(0);  // eye position, hull, box, flags
  const std::size_t counts = w.size();  // 140: bones, controllers, hitboxes, sequences, groups, textures...
  w.zeros(244 - counts);
  auto set = [&](std::size_t at, std::int64_t v) { w.patch(at, v); };
  set(140, 1), set(144, w.size());
  w.field("root", 32).i32(-1).i32(0);
  for (int i = 0; i < 6; ++i) w.i32(-1);
  for (int i = 0; i < 6; ++i) w.f32(0);
  for (int i = 0; i < 6; ++i) w.f32(1);
  const int frames = shape.zFrames.empty() ? 1 : static_cast<int>(shape.zFrames.size());
  set(164, 1), set(168, w.size());
  const std::size_t sequence = w.size();
  w.field("idle", 32).zeros(176 - 32);
  w.patch(sequence + 56, frames);
  set(172, shape.sequenceGroups);
  set(204, 1), set(208, w.size());
  const std::size_t part = w.size();
  w.field("body", 64).i32(1).i32(1).i32(0);
  w.patch(part + 72, w.size());
  const std::size_t model = w.size();
  w.field("body1", 64).zeros(112 - 64);
  w.patch(model + 80, static_cast<std::int64_t>(shape.vertices.size()));
  w.patch(model + 88, w.size());
  for (const auto& v : shape.vertices) w.f32(v[0]).f32(v[1]).f32(v[2]);
  w.patch(sequence + 124, w.size());
  const std::size_t anim = w.size();
  w.zeros(12);
  if (!shape.zFrames.empty()) {
    w.bytes[anim + 4] = static_cast<char>(12);
    w.u8(static_cast<int>(shape.zFrames.size())).u8(static_cast<int>(shape.zFrames.size()));
    for (int z : shape.zFrames) w.u16(z);
  }
  if (shape.ownTextures) {
    set(180, 2), set(184, w.size());
    const std::size_t table = w.size();
    const int sides[2][2] = {{shape.alignedTextures ? 8 : 2, shape.alignedTextures ? 8 : 2},
                             {shape.alignedTextures ? 16 : 4, shape.alignedTextures ? 8 : 1}};
    w.field("skin", 64).i32(0x40).i32(sides[0][0]).i32(sides[0][1]).i32(0);
    w.field("face", 64).i32(0).i32(sides[1][0]).i32(sides[1][1]).i32(0);
    w.patch(table + 76, w.size());
    if (shape.alignedTextures) w.bytes.append(64, '\1'); else w.u8(1).u8(255).u8(3).u8(4);
    palette(w);
    w.patch(table + 80 + 76, w.size());
    if (shape.alignedTextures) w.bytes.append(128, '\5'); else w.u8(5).u8(6).u8(7).u8(8);
    palette(w);
  }
  set(72, w.size());
  return w.bytes;
}

// A sprite of the given format: a 2×2 single frame, then a group of two 2×2 frames at 0.25 s and 0.5 s.
inline std::string sprite(int format) {
  Writer w;
  w.text("IDSP").i32(2).i32(2).i32(format).f32(1).i32(2).i32(2).i32(2).f32(0).i32(0);
  w.u16(256);
  palette(w);
  w.i32(0).i32(-1).i32(1).i32(2).i32(2).u8(1).u8(255).u8(3).u8(4);
  w.i32(1).i32(2).f32(0.25f).f32(0.5f);
  for (int f = 0; f < 2; ++f) w.i32(-1).i32(1).i32(2).i32(2).u8(10).u8(11).u8(12).u8(13);
  return w.bytes;
}

// A 3×2 bitmap of 8 bits (palette colour i is (i, 2i, 3i)) or 24 bits, rows stored from the bottom.
inline std::string bmp(int bits) {
  const int stride = bits == 8 ? 4 : 12;
  const int paletteBytes = bits == 8 ? 1024 : 0;
  Writer w;
  w.text("BM").i32(54 + paletteBytes + 2 * stride).i32(0).i32(54 + paletteBytes);
  w.i32(40).i32(3).i32(2).u16(1).u16(bits).i32(0).i32(2 * stride).i32(0).i32(0).i32(0).i32(0);
  if (bits == 8) {
    for (int i = 0; i < 256; ++i) w.u8(3 * i).u8(2 * i).u8(i).u8(0);  // blue, green, red, unused
    w.u8(4).u8(5).u8(6).u8(0);  // bottom row
    w.u8(1).u8(2).u8(3).u8(0);  // top row
  } else {
    for (int row = 1; row >= 0; --row) {
      for (int x = 0; x < 3; ++x) w.u8(30 + row * 3 + x).u8(20).u8(10 + row * 3 + x);  // blue, green, red
      w.zeros(3);
    }
  }
  return w.bytes;
}

// A 2×2 TGA: 24-bit uncompressed from the bottom, or 32-bit RLE from the top (a run of two, then two raw).
inline std::string tga(bool rle) {
  Writer w;
  w.u8(0).u8(0).u8(rle ? 10 : 2).zeros(5).u16(0).u16(0).u16(2).u16(2).u8(rle ? 32 : 24).u8(rle ? 0x28 : 0);
  if (!rle) {
    for (int p = 0; p < 4; ++p) w.u8(p).u8(100).u8(200);  // blue, green, red
  } else {
    w.u8(0x81).u8(1).u8(2).u8(3).u8(128);
    w.u8(0x01).u8(4).u8(5).u8(6).u8(255).u8(7).u8(8).u8(9).u8(0);
  }
  return w.bytes;
}

// A WAD3 with one miptex per given size ("tex0", "tex1", ...) and one lump of another type.
inline std::string wad(const std::vector<std::array<int, 2>>& sizes) {
  Writer w;
  w.text("WAD3").i32(static_cast<std::int64_t>(sizes.size()) + 1).i32(0);
  std::vector<std::size_t> at;
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    const int width = sizes[i][0], height = sizes[i][1];
    at.push_back(w.size());
    const std::size_t mip[4] = {std::size_t(width * height), std::size_t((width / 2) * (height / 2)),
                                std::size_t((width / 4) * (height / 4)), std::size_t((width / 8) * (height / 8))};
    w.field("tex" + std::to_string(i), 16).i32(width).i32(height);
    w.i32(40).i32(40 + mip[0]).i32(40 + mip[0] + mip[1]).i32(40 + mip[0] + mip[1] + mip[2]);
    for (std::size_t p = 0; p < mip[0]; ++p) w.u8(p % 256);
    w.zeros(mip[1] + mip[2] + mip[3]);
    w.u16(256);
    palette(w);
  }
  w.patch(8, w.size());
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    w.i32(static_cast<std::int64_t>(at[i])).i32(0).i32(0).u8(0x43).u8(0).u16(0).field("tex" + std::to_string(i), 16);
  }
  w.i32(12).i32(0).i32(0).u8(0x42).u8(0).u16(0).field("pic", 16);
  return w.bytes;
}

struct WavSpec {
  int format = 1, channels = 1, rate = 22050, bits = 16;
  std::uint32_t dataBytes = 44100;
  int cues = 2;
};

inline std::string wav(const WavSpec& s) {
  Writer w;
  const int block = s.channels * s.bits / 8;
  w.text("RIFF").i32(0).text("WAVE");
  w.text("fmt ").i32(16).u16(s.format).u16(s.channels).i32(s.rate).i32(s.rate * block).u16(block).u16(s.bits);
  w.text("cue ").i32(4 + 24 * s.cues).i32(s.cues).zeros(24 * static_cast<std::size_t>(s.cues));
  w.text("data").i32(s.dataBytes).zeros(s.dataBytes);
  w.patch(4, static_cast<std::int64_t>(w.size()) - 8);
  return w.bytes;
}

}  // namespace preview_testing
