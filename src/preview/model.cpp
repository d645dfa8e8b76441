// The game's studio models (version 10, "IDST"): the header, the textures (8-bit pixels and a palette of
// 256 colours each, in the model or in its companion "<name>T.mdl") and the box the game's client
// reports to a server that checks the model's size.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "preview/readers.h"
#include "sys/encoding.h"

namespace preview::detail {

namespace {

constexpr int kVersion = 10;
constexpr int kHeaderSize = 244;
constexpr int kTextureSize = 80;
constexpr int kBoneSize = 112;
constexpr int kSequenceSize = 176;
constexpr int kBodyPartSize = 76;
constexpr int kSubModelSize = 112;
constexpr int kMaskedFlag = 0x40;  // STUDIO_NF_MASKED: index 255 is see-through
// Steps of the animation walk one box may take: the game's own models need some thousands; a file that
// asks for more is not measured rather than measured for seconds.
constexpr std::uint64_t kBoundsBudget = 8'000'000;

// A table of count entries of size bytes at offset: its bytes must lie in the file.
void needTable(const Bytes& bytes, std::int64_t offset, std::int64_t count, std::uint64_t size) {
  if (count < 0) damaged(texts::kBadCount);
  bytes.need(offset, times(static_cast<std::uint64_t>(count), size));
}

struct Extent {
  bool any = false;
  float mins[3] = {0, 0, 0};
  float maxs[3] = {0, 0, 0};
  // The engine's R_StudioBoundVertex: the first point sets the box, later ones widen it.
  void add(const float (&p)[3]) {
    for (int i = 0; i < 3; ++i) {
      if (!any || p[i] < mins[i]) mins[i] = p[i];
      if (!any || p[i] > maxs[i]) maxs[i] = p[i];
    }
    any = true;
  }
};

// The smallest and largest stored value an animation channel takes over frames [0, frames), walked the way
// the engine's R_StudioCalcBonePosition finds each frame's value. False when the walk leaves the file or
// the budget.
bool channelRange(const Bytes& bytes, std::int64_t at, std::int64_t frames, std::uint64_t& budget, float& low,
                  float& high) {
  bool any = false;
  auto take = [&](std::int64_t where) {
    const float value = bytes.i16(where);
    low = any ? std::min(low, value) : value;
    high = any ? std::max(high, value) : value;
    any = true;
  };
  while (frames > 0) {
    if (budget == 0 || !bytes.has(at, 2)) return false;
    --budget;
    const int valid = bytes.u8(at);
    const int total = bytes.u8(at + 1);
    const std::int64_t covered = std::min<std::int64_t>(total, frames);
    const std::int64_t stored = std::min<std::int64_t>(valid, covered);
    for (std::int64_t k = 0; k < stored; ++k) {
      if (!bytes.has(at + 2 * (k + 1), 2)) return false;
      take(at + 2 * (k + 1));
    }
    if (covered > valid) {
      if (!bytes.has(at + 2 * valid, 2)) return false;
      take(at + 2 * valid);
    }
    frames -= covered;
    at += 2 * (valid + 1);
  }
  return true;
}

std::vector<std::string> groupFiles(const std::string& gamePath, int groups) {
  std::vector<std::string> names;
  for (int i = 1; i < groups && i < 100; ++i) {
    names.push_back(stem(gamePath) + (i < 10 ? "0" : "") + std::to_string(i) + ".mdl");
  }
  return names;
}

// Every texture of a header's table as a picture (masked textures over the checkerboard).
void readTextures(const Bytes& bytes, const ModelHeader& header, PictureBudget& budget, Preview& out) {
  needTable(bytes, header.textureIndex, header.textures, kTextureSize);
  for (int i = 0; i < header.textures; ++i) {
    const std::int64_t entry = header.textureIndex + std::int64_t{i} * kTextureSize;
    const std::int32_t flags = bytes.i32(entry + 64);
    const std::int64_t width = bytes.i32(entry + 68);
    const std::int64_t height = bytes.i32(entry + 72);
    const std::int64_t index = bytes.i32(entry + 76);
    auto picture = budget.take(bytes.name(entry, 64), width, height);
    if (!picture) return;
    const std::uint64_t pixels = times(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(height));
    const std::string_view indices = bytes.view(index, pixels);
    const Palette palette{bytes.view(index + static_cast<std::int64_t>(pixels), 768)};
    // One look-up of four bytes a pixel: the pane shows a model the moment it is selected.
    std::uint8_t colours[256 * 4];
    for (int c = 0; c < 256; ++c) {
      palette.colour(static_cast<std::uint8_t>(c), colours + 4 * c);
      colours[4 * c + 3] = 255;
    }
    std::uint8_t* rgba = picture->rgba.data();
    for (std::uint64_t p = 0; p < pixels; ++p, rgba += 4) std::memcpy(rgba, colours + 4 * static_cast<std::uint8_t>(indices[p]), 4);
    if (flags & kMaskedFlag) {
      rgba = picture->rgba.data();
      for (std::uint64_t p = 0; p < pixels; ++p, rgba += 4) {
        if (static_cast<std::uint8_t>(indices[p]) != 255) continue;
        const int x = static_cast<int>(p % static_cast<std::uint64_t>(width));
        const int y = static_cast<int>(p / static_cast<std::uint64_t>(width));
        rgba[0] = rgba[1] = rgba[2] = checker(x, y);
      }
    }
    out.pictures.push_back(std::move(*picture));
  }
}

}  // namespace

std::vector<TextureSides> modelTextures(const Bytes& bytes, const ModelHeader& header) {
  std::vector<TextureSides> out;
  if (header.needsCompanion()) return out;
  needTable(bytes, header.textureIndex, header.textures, kTextureSize);
  for (int i = 0; i < header.textures; ++i) {
    const std::int64_t entry = header.textureIndex + std::int64_t{i} * kTextureSize;
    out.push_back({sys::decodeLine(bytes.name(entry, 64)), bytes.i32(entry + 68), bytes.i32(entry + 72)});
  }
  return out;
}

ModelHeader readModelHeader(const Bytes& bytes) {
  if (!bytes.startsWith("IDST")) damaged(texts::kNoSignature);
  bytes.need(0, kHeaderSize);
  const int version = bytes.i32(4);
  if (version != kVersion) damaged(texts::wrongVersion(version, kVersion));
  ModelHeader header;
  header.name = sys::decodeLine(bytes.name(8, 64));
  header.bones = bytes.i32(140);
  header.boneIndex = bytes.i32(144);
  header.sequences = bytes.i32(164);
  header.sequenceIndex = bytes.i32(168);
  header.sequenceGroups = bytes.i32(172);
  header.textures = bytes.i32(180);
  header.textureIndex = bytes.i32(184);
  header.bodyParts = bytes.i32(204);
  header.bodyPartIndex = bytes.i32(208);
  needTable(bytes, header.boneIndex, header.bones, kBoneSize);
  needTable(bytes, header.sequenceIndex, header.sequences, kSequenceSize);
  needTable(bytes, header.bodyPartIndex, header.bodyParts, kBodyPartSize);
  if (header.sequenceGroups < 0) damaged(texts::kBadCount);
  if (!header.needsCompanion()) needTable(bytes, header.textureIndex, header.textures, kTextureSize);
  return header;
}

std::string companionName(const std::string& gamePath) { return stem(gamePath) + "T.mdl"; }

// As the engine's R_StudioComputeBounds (ReHLDS, rehlds/engine/r_studio.cpp): every vertex of every
// sub-model as stored, widened per sequence by half the extent its bones take over the sequence's frames
// (each bone read through the sequence's first animation, as the engine does).
std::optional<texts::Box> studioBounds(const Bytes& bytes, const ModelHeader& header) {
  Extent vertices;
  std::uint64_t budget = kBoundsBudget;
  for (int part = 0; part < header.bodyParts; ++part) {
    const std::int64_t entry = header.bodyPartIndex + std::int64_t{part} * kBodyPartSize;
    const std::int64_t models = bytes.i32(entry + 64);
    const std::int64_t modelIndex = bytes.i32(entry + 72);
    needTable(bytes, modelIndex, models, kSubModelSize);
    for (std::int64_t m = 0; m < models; ++m) {
      const std::int64_t model = modelIndex + m * kSubModelSize;
      const std::int64_t count = bytes.i32(model + 80);
      const std::int64_t at = bytes.i32(model + 88);
      needTable(bytes, at, count, 12);
      if (static_cast<std::uint64_t>(count) > budget) return std::nullopt;
      budget -= static_cast<std::uint64_t>(count);
      for (std::int64_t v = 0; v < count; ++v) {
        const float p[3] = {bytes.f32(at + v * 12), bytes.f32(at + v * 12 + 4), bytes.f32(at + v * 12 + 8)};
        vertices.add(p);
      }
    }
  }
  for (int s = 0; s < header.sequences; ++s) {
    const std::int64_t sequence = header.sequenceIndex + std::int64_t{s} * kSequenceSize;
    const std::int64_t frames = bytes.i32(sequence + 56);
    const std::int64_t anim = bytes.i32(sequence + 124);
    if (frames <= 0 || header.bones <= 0) continue;
    // The stored range of each position channel of the first animation; nothing stored means the bone's
    // own value in every frame.
    bool animated[3];
    float low[3] = {0, 0, 0}, high[3] = {0, 0, 0};
    if (!bytes.has(anim, 6)) return std::nullopt;
    for (int j = 0; j < 3; ++j) {
      const int offset = bytes.u16(anim + 2 * j);
      animated[j] = offset != 0;
      if (animated[j] && !channelRange(bytes, anim + offset, frames, budget, low[j], high[j])) return std::nullopt;
    }
    if (static_cast<std::uint64_t>(header.bones) > budget) return std::nullopt;
    budget -= static_cast<std::uint64_t>(header.bones);
    Extent bones;
    for (int b = 0; b < header.bones; ++b) {
      const std::int64_t bone = header.boneIndex + std::int64_t{b} * kBoneSize;
      float first[3], last[3];
      for (int j = 0; j < 3; ++j) {
        const float value = bytes.f32(bone + 64 + 4 * j);
        const float scale = bytes.f32(bone + 88 + 4 * j);
        first[j] = animated[j] ? value + low[j] * scale : value;
        last[j] = animated[j] ? value + high[j] * scale : value;
      }
      bones.add(first);
      bones.add(last);
    }
    float half[3], opposite[3];
    for (int j = 0; j < 3; ++j) {
      half[j] = (bones.maxs[j] - bones.mins[j]) * 0.5f;
      opposite[j] = -half[j];
    }
    vertices.add(half);
    vertices.add(opposite);
  }
  texts::Box box;
  std::copy(std::begin(vertices.mins), std::end(vertices.mins), box.mins);
  std::copy(std::begin(vertices.maxs), std::end(vertices.maxs), box.maxs);
  return box;
}

void describeModel(const std::string& gamePath, const Bytes& bytes, const Companion& companion, Preview& out) {
  const ModelHeader header = readModelHeader(bytes);
  PictureBudget budget;
  int textures = header.textures;
  std::string second = texts::sizeLine(bytes.size());
  if (const auto box = studioBounds(bytes, header)) second += ", " + texts::modelBox(*box);
  if (header.needsCompanion()) {
    const std::string name = companionName(gamePath);
    const std::optional<std::string> companionBytes = findCompanion(companion, name);
    second += ", " + texts::texturesIn(name, companionBytes.has_value());
    if (companionBytes) {
      const Bytes other(*companionBytes);
      try {
        const ModelHeader textureHeader = readModelHeader(other);
        textures = textureHeader.textures;
        readTextures(other, textureHeader, budget, out);
      } catch (const Damaged&) {
        damaged(texts::kCompanionDamaged);
      }
    }
  } else {
    readTextures(bytes, header, budget, out);
  }
  if (header.sequenceGroups > 1) second += ", " + texts::sequenceGroups(groupFiles(gamePath, header.sequenceGroups));
  out.facts = {texts::model(header.name, header.bones, header.sequences, header.bodyParts, textures), second};
}

}  // namespace preview::detail
