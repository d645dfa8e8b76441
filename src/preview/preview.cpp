#include "preview/preview.h"

#include <array>
#include <new>

#include "preview/readers.h"
#include "sys/encoding.h"

namespace preview {

namespace detail {

void damaged(const std::string& reason) { throw Damaged{reason}; }

void Bytes::need(std::int64_t offset, std::uint64_t length) const {
  if (!has(offset, length)) damaged(texts::kTruncated);
}

std::optional<Picture> PictureBudget::take(const std::string& name, std::int64_t width, std::int64_t height) {
  if (width < 1 || height < 1 || static_cast<std::uint64_t>(width) > kMaxSide ||
      static_cast<std::uint64_t>(height) > kMaxSide) {
    damaged(texts::kBadSize);
  }
  const std::uint64_t pixels = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
  if (pixels > left_) {
    left_ = 0;
    return std::nullopt;
  }
  left_ -= pixels;
  Picture picture;
  picture.name = name;
  picture.width = static_cast<int>(width);
  picture.height = static_cast<int>(height);
  picture.rgba.resize(pixels * 4);
  return picture;
}

void Palette::colour(std::uint8_t index, std::uint8_t* out) const {
  const std::size_t at = std::size_t{index} * 3;
  for (std::size_t c = 0; c < 3; ++c) out[c] = at + 2 < rgb.size() ? static_cast<std::uint8_t>(rgb[at + c]) : 0;
}

std::optional<std::string> findCompanion(const Companion& companion, const std::string& name) {
  if (!companion) return std::nullopt;
  try {
    return companion(name);
  } catch (...) {
    return std::nullopt;  // a companion that cannot be read is one the game cannot load either
  }
}

std::uint8_t checker(int x, int y) { return ((x / 8 + y / 8) % 2) ? 0x99 : 0xcc; }

std::string bareName(const std::string& gamePath) {
  const auto cut = gamePath.find_last_of("\\/:");
  return cut == std::string::npos ? gamePath : gamePath.substr(cut + 1);
}

std::string stem(const std::string& gamePath) {
  const std::string name = bareName(gamePath);
  const auto dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string serverName(const std::string& gamePath) {
  std::string name = gamePath;
  for (char& c : name) {
    if (c == '\\') c = '/';
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return name;
}

}  // namespace detail

namespace {

using detail::Bytes;
using detail::Damaged;
using texts::Box;

std::string extension(const std::string& gamePath) {
  const std::string name = detail::serverName(detail::bareName(gamePath));
  const auto dot = name.rfind('.');
  return dot == std::string::npos ? "" : name.substr(dot);
}

// The files the game's server code (ReGameDLL_CS, regamedll/dlls/client.cpp, ClientPrecache) asks every
// client to have exactly as the game ships them (ENGINE_FORCE_UNMODIFIED with force_exactfile): a client
// with another file is dropped with "Bad file".
constexpr std::array<const char*, 11> kExactFiles = {
    "sprites/black_smoke1.spr", "sprites/black_smoke2.spr", "sprites/black_smoke3.spr", "sprites/black_smoke4.spr",
    "sprites/fast_wallpuff1.spr", "sprites/smokepuff.spr", "sprites/gas_puff_01.spr", "sprites/scope_arc.tga",
    "sprites/scope_arc_nw.tga", "sprites/scope_arc_ne.tga", "sprites/scope_arc_sw.tga"};

struct Limit {
  const char* file;
  Box box;
};

// The boxes the same ClientPrecache gives with force_model_specifybounds, Counter-Strike's values (not
// Condition Zero's). The engine drops a client whose model reaches beyond the box on any axis.
constexpr Box kPlayerBox{{-38, -24, -41}, {38, 24, 41}};
constexpr Box kPistol{{-12, -6, -22}, {12, 6, 22}};
constexpr Box kShotgun{{-25, -19, -21}, {25, 23, 21}};
constexpr Box kSubmachineGun{{-23, -8, -20}, {23, 8, 20}};
constexpr Box kRifle{{-31, -8, -21}, {31, 12, 31}};
constexpr Box kGrenadeHeld{{-7, -2, -18}, {7, 2, 18}};
constexpr Box kGrenadeThrown{{-5, -5, -5}, {5, 5, 14}};
constexpr Box kShield{{-16, -8, -54}, {16, 6, 24}};
constexpr Limit kWeaponLimits[] = {
    {"models/p_deagle.mdl", kPistol}, {"models/p_p228.mdl", kPistol}, {"models/p_elite.mdl", kPistol},
    {"models/p_usp.mdl", kPistol}, {"models/p_fiveseven.mdl", kPistol}, {"models/p_glock18.mdl", kPistol},
    {"models/p_xm1014.mdl", kShotgun}, {"models/p_m3.mdl", kShotgun},
    {"models/p_mac10.mdl", kSubmachineGun}, {"models/p_mp5.mdl", kSubmachineGun},
    {"models/p_ump45.mdl", kSubmachineGun}, {"models/p_tmp.mdl", kSubmachineGun}, {"models/p_p90.mdl", kSubmachineGun},
    {"models/p_ak47.mdl", kRifle}, {"models/p_aug.mdl", kRifle}, {"models/p_awp.mdl", kRifle},
    {"models/p_g3sg1.mdl", kRifle}, {"models/p_sg550.mdl", kRifle}, {"models/p_m4a1.mdl", kRifle},
    {"models/p_scout.mdl", kRifle}, {"models/p_sg552.mdl", kRifle}, {"models/p_famas.mdl", kRifle},
    {"models/p_galil.mdl", kRifle},
    {"models/p_m249.mdl", {{-24, -10, -20}, {25, 10, 20}}},
    {"models/p_c4.mdl", {{-7, -7, -15}, {7, 7, 15}}},
    {"models/w_c4.mdl", {{-4, -8, -3}, {3, 7, 3}}},
    {"models/p_flashbang.mdl", kGrenadeHeld}, {"models/p_hegrenade.mdl", kGrenadeHeld},
    {"models/p_smokegrenade.mdl", kGrenadeHeld},
    {"models/w_flashbang.mdl", kGrenadeThrown}, {"models/w_hegrenade.mdl", kGrenadeThrown},
    {"models/w_smokegrenade.mdl", kGrenadeThrown},
    {"models/p_knife.mdl", {{-7, -11, -18}, {7, 6, 18}}},
    {"models/shield/p_shield_deagle.mdl", kShield}, {"models/shield/p_shield_fiveseven.mdl", kShield},
    {"models/shield/p_shield_flashbang.mdl", kShield}, {"models/shield/p_shield_glock18.mdl", kShield},
    {"models/shield/p_shield_hegrenade.mdl", kShield}, {"models/shield/p_shield_knife.mdl", kShield},
    {"models/shield/p_shield_p228.mdl", kShield}, {"models/shield/p_shield_smokegrenade.mdl", kShield},
    {"models/shield/p_shield_usp.mdl", kShield},
};

bool isPlayerModel(const std::string& name) {
  return name == "models/player.mdl" || name.rfind("models/player/", 0) == 0;
}

const Box* allowedBox(const std::string& name) {
  if (isPlayerModel(name)) return &kPlayerBox;
  for (const Limit& limit : kWeaponLimits) {
    if (name == limit.file) return &limit.box;
  }
  return nullptr;
}

bool within(const Box& box, const Box& allowed) {
  for (int i = 0; i < 3; ++i) {
    if (!(box.mins[i] >= allowed.mins[i]) || !(box.maxs[i] <= allowed.maxs[i])) return false;
  }
  return true;
}

void modelWarnings(const std::string& gamePath, const std::string& name, const Bytes& bytes,
                   const Companion& companion, std::vector<std::string>& out) {
  const detail::ModelHeader header = detail::readModelHeader(bytes);
  if (const Box* allowed = allowedBox(name)) {
    if (const auto box = detail::studioBounds(bytes, header); box && !within(*box, *allowed)) {
      out.push_back(isPlayerModel(name) ? texts::playerModelTooLarge(*box, *allowed, name)
                                        : texts::weaponModelTooLarge(*box, *allowed, name));
    }
  }
  // Studio models' textures are to have sides in multiples of 8 (the Valve Developer Community's
  // "Half-Life SDK/Textures"); others the game's renderer may draw distorted.
  for (const auto& texture : detail::modelTextures(bytes, header)) {
    if (texture.width % 8 || texture.height % 8) {
      out.push_back(texts::modelTextureNotAligned(texture.name, static_cast<int>(texture.width),
                                                  static_cast<int>(texture.height)));
    }
  }
  // The game loads "<name>T.mdl" for a model without textures of its own and stops when it is missing.
  if (header.needsCompanion()) {
    const std::string companionName = detail::companionName(gamePath);
    if (!detail::findCompanion(companion, companionName)) out.push_back(texts::missingCompanion(companionName));
  }
}

// The engine's sound loader (kept from Quake's public S_LoadSound) refuses a stereo sample and one of
// other than 8 or 16 bits; it plays uncompressed PCM at the rates the game mixes at.
void soundWarnings(const Bytes& bytes, std::vector<std::string>& out) {
  const Sound sound = detail::readWav(bytes);
  if (sound.format != 1) out.push_back(texts::soundNotPcm(sound.format));
  if (sound.bits != 8 && sound.bits != 16) out.push_back(texts::soundBits(sound.bits));
  if (sound.rate != 11025 && sound.rate != 22050 && sound.rate != 44100) out.push_back(texts::soundRate(sound.rate));
  if (sound.channels != 1) out.push_back(texts::kSoundStereo);
}

// The engine's texture loader (Mod_LoadTextures, kept from Quake's public model loader) stops on a texture
// whose sides are not multiples of 16: "Texture %s is not 16 aligned".
void wadWarnings(const Bytes& bytes, std::vector<std::string>& out) {
  for (const auto& texture : detail::wadTextures(bytes, nullptr)) {
    if (texture.width % 16 || texture.height % 16) {
      out.push_back(texts::textureNotAligned(texture.name, static_cast<int>(texture.width),
                                             static_cast<int>(texture.height)));
    }
  }
}

// The game reads bitmaps (overviews, the old menus' pictures, spray logos) only as uncompressed 8-bit
// pictures with a palette; only its own screenshots are of 24 bits (the Valve Developer Community's "BMP").
void bmpWarnings(const Bytes& bytes, std::vector<std::string>& out) {
  const detail::BmpHeader header = detail::readBmpHeader(bytes);
  if (header.bits != 8 || header.compression != 0) out.push_back(texts::bmpNotIndexed(header.bits, header.compression != 0));
}

std::vector<std::string> collectWarnings(const std::string& gamePath, const Bytes& bytes, const Companion& companion) {
  std::vector<std::string> out;
  const std::string name = detail::serverName(gamePath);
  for (const char* exact : kExactFiles) {
    if (name == exact) out.push_back(texts::exactFile(name));
  }
  // A file the readers cannot read gets its damage line from describe, and no warnings of its content.
  try {
    const std::string ext = extension(gamePath);
    if (ext == ".mdl") modelWarnings(gamePath, name, bytes, companion, out);
    if (ext == ".wav") soundWarnings(bytes, out);
    if (ext == ".wad") wadWarnings(bytes, out);
    // A bitmap at the top of the game folder is one of the player's screenshots.
    if (ext == ".bmp" && name.find('/') != std::string::npos) bmpWarnings(bytes, out);
  } catch (const Damaged&) {
  } catch (const std::exception&) {
  }
  return out;
}

}  // namespace

Preview describe(const std::string& gamePath, std::string_view bytes, const Companion& companion) {
  Preview preview;
  const Bytes input(bytes);
  const std::string ext = extension(gamePath);
  const char* kindName = nullptr;
  try {
    if (ext == ".mdl") {
      preview.kind = Kind::Model, kindName = texts::kModelKind;
      detail::describeModel(gamePath, input, companion, preview);
    } else if (ext == ".spr") {
      preview.kind = Kind::Sprite, kindName = texts::kSpriteKind;
      detail::describeSprite(input, preview);
    } else if (ext == ".bmp") {
      preview.kind = Kind::Picture, kindName = texts::kPictureKind;
      detail::describeBmp(input, preview);
    } else if (ext == ".tga") {
      preview.kind = Kind::Picture, kindName = texts::kPictureKind;
      detail::describeTga(input, preview);
    } else if (ext == ".wad") {
      preview.kind = Kind::Picture, kindName = texts::kWadKind;
      detail::describeWad(input, preview);
    } else if (ext == ".wav") {
      preview.kind = Kind::Sound, kindName = texts::kSoundKind;
      detail::describeWav(input, preview);
    } else {
      preview.facts = {texts::otherFile(ext, bytes.size())};
    }
  } catch (const Damaged& damage) {
    preview.damage = texts::damaged(kindName, damage.reason);
  } catch (const std::exception&) {
    preview.damage = texts::damaged(kindName ? kindName : "", texts::kUnreadable);
  }
  if (!preview.damage.empty()) {
    preview.facts = {texts::otherFile(ext, bytes.size())};
    preview.pictures.clear();
    preview.sound.reset();
    preview.frameIntervalMs = 0;
  }
  preview.warnings = collectWarnings(gamePath, input, companion);
  return preview;
}

std::vector<std::string> warnings(const std::string& gamePath, std::string_view bytes, const Companion& companion) {
  try {
    return collectWarnings(gamePath, Bytes(bytes), companion);
  } catch (const std::exception&) {
    return {};
  }
}

}  // namespace preview
