// Pictures: .bmp (8- and 24-bit, uncompressed), .tga (true colour, uncompressed and RLE, 24- and 32-bit)
// and the textures of .wad files ("WAD3": miptex lumps, the first mip and the palette behind the mips).
#include "preview/readers.h"
#include "sys/encoding.h"

namespace preview::detail {

namespace {

constexpr int kBmpFileHeader = 14;
constexpr int kWadLumpSize = 32;
constexpr int kMiptexType = 0x43;
constexpr int kMiptexHeader = 40;

}  // namespace

BmpHeader readBmpHeader(const Bytes& bytes) {
  if (!bytes.startsWith("BM")) damaged(texts::kNoSignature);
  return {bytes.u16(28), bytes.u32(30)};
}

void describeBmp(const Bytes& bytes, Preview& out) {
  readBmpHeader(bytes);
  const std::int64_t pixelsAt = bytes.u32(10);
  const std::int64_t infoSize = bytes.u32(kBmpFileHeader);
  const std::int64_t width = bytes.i32(18);
  const std::int64_t storedHeight = bytes.i32(22);
  const int bits = bytes.u16(28);
  const std::uint32_t compression = bytes.u32(30);
  const std::int64_t height = storedHeight < 0 ? -storedHeight : storedHeight;
  const bool readable = infoSize >= 40 && compression == 0 && (bits == 8 || bits == 24);
  out.facts = {texts::bmp(static_cast<int>(width), static_cast<int>(height), bits, readable),
               texts::sizeLine(bytes.size())};
  if (!readable) return;
  PictureBudget budget;
  auto picture = budget.take("", width, height);
  if (!picture) return;
  std::uint32_t colours = bytes.u32(46);
  if (bits == 8 && (colours == 0 || colours > 256)) colours = 256;
  const std::int64_t paletteAt = kBmpFileHeader + infoSize;
  const std::string_view quads = bits == 8 ? bytes.view(paletteAt, 4u * colours) : std::string_view();
  // Rows are padded to 4 bytes and stored from the bottom unless the height is negative.
  const std::uint64_t stride = (static_cast<std::uint64_t>(width) * (bits / 8) + 3) / 4 * 4;
  bytes.need(pixelsAt, times(stride, static_cast<std::uint64_t>(height)));
  for (std::int64_t y = 0; y < height; ++y) {
    const std::int64_t row = pixelsAt + static_cast<std::int64_t>(stride) * (storedHeight < 0 ? y : height - 1 - y);
    const std::string_view source = bytes.view(row, stride);
    std::uint8_t* rgba = picture->rgba.data() + static_cast<std::size_t>(y * width * 4);
    for (std::int64_t x = 0; x < width; ++x, rgba += 4) {
      if (bits == 8) {
        const auto index = static_cast<std::uint8_t>(source[static_cast<std::size_t>(x)]);
        for (int c = 0; c < 3; ++c) {
          rgba[c] = index < colours ? static_cast<std::uint8_t>(quads[index * 4u + 2 - c]) : 0;
        }
      } else {
        for (int c = 0; c < 3; ++c) rgba[c] = static_cast<std::uint8_t>(source[static_cast<std::size_t>(x * 3 + 2 - c)]);
      }
      rgba[3] = 255;
    }
  }
  out.pictures.push_back(std::move(*picture));
}

void describeTga(const Bytes& bytes, Preview& out) {
  bytes.need(0, 18);
  const int idLength = bytes.u8(0);
  const int mapType = bytes.u8(1);
  const int imageType = bytes.u8(2);
  const int mapLength = bytes.u16(5);
  const int mapEntryBits = bytes.u8(7);
  const int width = bytes.u16(12);
  const int height = bytes.u16(14);
  const int bits = bytes.u8(16);
  const int descriptor = bytes.u8(17);
  const bool rle = imageType == 10;
  const bool readable = (imageType == 2 || imageType == 10) && (bits == 24 || bits == 32);
  out.facts = {texts::tga(width, height, bits, rle, readable), texts::sizeLine(bytes.size())};
  if (!readable) return;
  PictureBudget budget;
  auto picture = budget.take("", width, height);
  if (!picture) return;
  const int depth = bits / 8;
  std::int64_t at = 18 + idLength + (mapType ? (static_cast<std::int64_t>(mapLength) * mapEntryBits + 7) / 8 : 0);
  const std::uint64_t pixels = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
  std::vector<std::uint8_t> stored(pixels * 4);  // BGRA in the file's order of pixels
  auto put = [&](std::uint64_t p, std::string_view bgr) {
    for (int c = 0; c < depth; ++c) stored[p * 4 + static_cast<std::uint64_t>(c)] = static_cast<std::uint8_t>(bgr[static_cast<std::size_t>(c)]);
    if (depth == 3) stored[p * 4 + 3] = 255;
  };
  if (!rle) {
    const std::string_view data = bytes.view(at, pixels * static_cast<std::uint64_t>(depth));
    for (std::uint64_t p = 0; p < pixels; ++p) put(p, data.substr(p * static_cast<std::uint64_t>(depth)));
  } else {
    for (std::uint64_t p = 0; p < pixels;) {
      const int packet = bytes.u8(at++);
      const std::uint64_t count = static_cast<std::uint64_t>(packet & 0x7f) + 1;
      if (count > pixels - p) damaged(texts::kBadRle);
      if (packet & 0x80) {
        const std::string_view value = bytes.view(at, static_cast<std::uint64_t>(depth));
        at += depth;
        for (std::uint64_t i = 0; i < count; ++i) put(p++, value);
      } else {
        const std::string_view values = bytes.view(at, count * static_cast<std::uint64_t>(depth));
        at += static_cast<std::int64_t>(values.size());
        for (std::uint64_t i = 0; i < count; ++i) put(p++, values.substr(i * static_cast<std::uint64_t>(depth)));
      }
    }
  }
  // Bit 5 of the descriptor: rows from the top; bit 4: pixels from the right.
  const bool fromTop = descriptor & 0x20;
  const bool fromRight = descriptor & 0x10;
  for (std::uint64_t y = 0; y < static_cast<std::uint64_t>(height); ++y) {
    for (std::uint64_t x = 0; x < static_cast<std::uint64_t>(width); ++x) {
      const std::uint64_t sx = fromRight ? width - 1 - x : x;
      const std::uint64_t sy = fromTop ? y : height - 1 - y;
      const std::uint8_t* source = &stored[(sy * width + sx) * 4];
      std::uint8_t* target = &picture->rgba[(y * width + x) * 4];
      target[0] = source[2];
      target[1] = source[1];
      target[2] = source[0];
      target[3] = source[3];
    }
  }
  out.pictures.push_back(std::move(*picture));
}

std::vector<MiptexHeader> wadTextures(const Bytes& bytes, int* otherLumps) {
  if (!bytes.startsWith("WAD3")) damaged(texts::kNoSignature);
  const std::int64_t lumps = bytes.i32(4);
  const std::int64_t table = bytes.i32(8);
  if (lumps < 0) damaged(texts::kBadCount);
  bytes.need(table, times(static_cast<std::uint64_t>(lumps), kWadLumpSize));
  std::vector<MiptexHeader> textures;
  int others = 0;
  for (std::int64_t i = 0; i < lumps; ++i) {
    const std::int64_t lump = table + i * kWadLumpSize;
    if (bytes.u8(lump + 12) != kMiptexType) {
      ++others;
      continue;
    }
    const std::int64_t at = bytes.i32(lump);
    bytes.need(at, kMiptexHeader);
    textures.push_back({sys::decodeLine(bytes.name(lump + 16, 16)), bytes.u32(at + 16), bytes.u32(at + 20)});
  }
  if (otherLumps) *otherLumps = others;
  return textures;
}

void describeWad(const Bytes& bytes, Preview& out) {
  int others = 0;
  const std::vector<MiptexHeader> textures = wadTextures(bytes, &others);
  out.facts = {texts::wad(static_cast<int>(textures.size()), others), texts::sizeLine(bytes.size())};
  PictureBudget budget;
  const std::int64_t table = bytes.i32(8);
  std::size_t next = 0;
  for (std::int64_t i = 0; next < textures.size(); ++i) {
    const std::int64_t lump = table + i * kWadLumpSize;
    if (bytes.u8(lump + 12) != kMiptexType) continue;
    const MiptexHeader& texture = textures[next++];
    const std::int64_t at = bytes.i32(lump);
    auto picture = budget.take(texture.name, texture.width, texture.height);
    if (!picture) return;
    // The first mip at its offset; the palette (a count and 3 bytes a colour) after the fourth mip.
    const std::uint64_t pixels = times(texture.width, texture.height);
    const std::string_view indices = bytes.view(at + bytes.u32(at + 24), pixels);
    const std::int64_t fourth = at + bytes.u32(at + 36);
    const std::int64_t paletteAt = fourth + static_cast<std::int64_t>((texture.width / 8) * (texture.height / 8));
    const int colours = std::min<int>(256, bytes.u16(paletteAt));
    const Palette palette{bytes.view(paletteAt + 2, std::uint64_t{3} * static_cast<std::uint64_t>(colours))};
    std::uint8_t* rgba = picture->rgba.data();
    for (std::uint64_t p = 0; p < pixels; ++p, rgba += 4) {
      palette.colour(static_cast<std::uint8_t>(indices[p]), rgba);
      rgba[3] = 255;
    }
    out.pictures.push_back(std::move(*picture));
  }
}

}  // namespace preview::detail
