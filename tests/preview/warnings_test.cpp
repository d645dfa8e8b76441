#include <gtest/gtest.h>

#include "preview/preview.h"
#include "preview/texts.h"
#include "preview_files.h"

namespace {

using namespace preview_testing;
namespace texts = preview::texts;

std::string cut(std::string bytes, std::size_t size) { return bytes.substr(0, size); }

std::string patched(std::string bytes, std::size_t at, std::int64_t value) {
  Writer w;
  w.bytes = std::move(bytes);
  w.patch(at, value);
  return w.bytes;
}

TEST(PreviewDamage, ADamagedFileSaysSoInOneLineAndShowsOnlyItsSize) {
  struct Case {
    std::string path, bytes, kind, reason;
  };
  const std::string model = studioModel();
  const std::string spr = sprite(0);
  const std::vector<Case> cases = {
      {"a.mdl", cut(model, 100), texts::kModelKind, texts::kTruncated},
      {"a.mdl", "IDSQ", texts::kModelKind, texts::kNoSignature},
      {"a.mdl", studioModel({.version = 11}), texts::kModelKind, texts::wrongVersion(11, 10)},
      {"a.mdl", patched(model, 184, 1 << 30), texts::kModelKind, texts::kTruncated},           // texture table
      {"a.mdl", patched(model, 140, -1), texts::kModelKind, texts::kBadCount},                 // bones
      {"a.mdl", cut(model, model.size() - 10), texts::kModelKind, texts::kTruncated},           // last palette
      {"a.spr", cut(spr, spr.size() - 1), texts::kSpriteKind, texts::kTruncated},
      {"a.spr", patched(spr, 28, 3), texts::kSpriteKind, texts::kTruncated},                     // a frame too many
      {"a.spr", patched(spr, 40 + 2 + 768 + 24, 7), texts::kSpriteKind, texts::kBadFrameType},  // second frame's type
      {"a.spr", patched(spr, 40 + 2 + 768 + 12, -5), texts::kSpriteKind, texts::kBadSize},  // first frame's width
      {"a.bmp", cut(bmp(24), 60), texts::kPictureKind, texts::kTruncated},
      {"a.tga", patched(tga(false), 12, 0xffffffff), texts::kPictureKind, texts::kBadSize},     // 65535 × 65535
      {"a.tga", cut(tga(true), 23), texts::kPictureKind, texts::kTruncated},
      {"a.tga", patched(tga(true), 18, 0x85), texts::kPictureKind, texts::kBadRle},             // a run of 6 of 4
      {"a.wad", patched(wad({{16, 16}}), 4, 1000), texts::kWadKind, texts::kTruncated},
      {"a.wav", std::string("RIFF\0\0\0\0WAVE", 12), texts::kSoundKind, texts::kNoFormatChunk},
      {"a.wav", cut(wav({}), 200), texts::kSoundKind, texts::kTruncated},
      {"a.wav", "RIFX", texts::kSoundKind, texts::kNoSignature},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path + " " + c.reason);
    const auto preview = preview::describe(c.path, c.bytes, nullptr);
    EXPECT_EQ(preview.damage, texts::damaged(c.kind, c.reason));
    EXPECT_EQ(preview.facts, (std::vector<std::string>{"Файл ." + c.path.substr(2) + ", " +
                                                       std::to_string(c.bytes.size()) + " байт"}));
    EXPECT_TRUE(preview.pictures.empty());
    EXPECT_FALSE(preview.sound.has_value());
  }
}

TEST(PreviewWarnings, WhatAServerOrTheGameRefusesIsWarnedOfByPlace) {
  struct Case {
    std::string path, bytes;
    bool companionPresent;
    std::vector<std::string> warnings;
  };
  const std::string none;
  const std::string small = studioModel({.alignedTextures = true});
  const std::string tall = studioModel({.vertices = {{-10, -5, -30}, {10, 5, 45}}, .alignedTextures = true});
  const std::string animated = studioModel({.zFrames = {0, 100}, .alignedTextures = true});
  ModelShape bare;
  bare.ownTextures = false;
  const std::string needsCompanion = studioModel(bare);
  const std::string tallBox = "от (-10, -5, -30) до (10, 5, 45)";
  const std::vector<Case> cases = {
      {"models\\player\\gign\\gign.mdl", small, false, {}},
      {"models\\player\\gign\\gign.mdl", tall, false,
       {"Габариты модели игрока " + tallBox +
        " больше допустимых на серверах (от (-38, -24, -41) до (38, 24, 41)): игрока отключат с "
        "«Bad file models/player/gign/gign.mdl»"}},
      // The engine widens the box by half of what the bones travel: ±50 here.
      {"MODELS\\PLAYER.MDL", animated, false,
       {texts::playerModelTooLarge({{-10, -5, -50}, {10, 5, 50}}, {{-38, -24, -41}, {38, 24, 41}}, "models/player.mdl")}},
      {"models\\p_knife.mdl", small, false,
       {"Габариты модели оружия от (-10, -5, -30) до (10, 5, 30) больше допустимых на серверах "
        "(от (-7, -11, -18) до (7, 6, 18)): игрока отключат с «Bad file models/p_knife.mdl»"}},
      {"models\\p_ak47.mdl", studioModel({.vertices = {{-5, -5, -5}, {5, 5, 5}}, .alignedTextures = true}), false, {}},
      {"models\\v_knife.mdl", tall, false, {}},
      {"models\\player\\vip\\vip.mdl", needsCompanion, false, {texts::missingCompanion("vipT.mdl")}},
      {"models\\player\\vip\\vip.mdl", needsCompanion, true, {}},
      {"models\\player\\vip\\vip.mdl", cut(tall, 300), false, {}},
      {"sprites\\smokepuff.spr", sprite(0), false, {texts::exactFile("sprites/smokepuff.spr")}},
      {"SPRITES\\Scope_Arc_NW.tga", none, false,
       {"Серверы требуют этот файл неизменным: с заменённым игрока отключат с «Bad file sprites/scope_arc_nw.tga»"}},
      {"sprites\\muzzleflash1.spr", sprite(0), false, {}},
      {"sound\\weapons\\ak47-1.wav", wav({}), false, {}},
      {"sound\\weapons\\ak47-1.wav", wav({.format = 2, .bits = 4}), false, {texts::soundNotPcm(2), texts::soundBits(4)}},
      {"sound\\radio\\go.wav", wav({.channels = 2, .rate = 44100, .bits = 8}), false, {texts::kSoundStereo}},
      {"sound\\radio\\go.wav", wav({.rate = 48000, .bits = 24}), false, {texts::soundBits(24), texts::soundRate(48000)}},
      {"decals.wad", wad({{16, 16}, {20, 16}}), false, {texts::textureNotAligned("tex1", 20, 16)}},
      {"models\\v_ak47.mdl", studioModel(), false,
       {"Игра может показать текстуру модели «skin» искажённой: размеры 2×2 не кратны 8",
        texts::modelTextureNotAligned("face", 4, 1)}},
      {"overviews\\de_dust.bmp", bmp(8), false, {}},
      {"overviews\\de_dust.bmp", bmp(24), false,
       {"Игра не загрузит рисунок: она читает только 8-битные BMP с палитрой, без сжатия, а этот 24-битный"}},
      {"logos\\skull.bmp", patched(bmp(8), 30, 1), false, {texts::bmpNotIndexed(8, true)}},
      {"cs_dust0000.bmp", bmp(24), false, {}},  // a screenshot of the player's
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const preview::Companion companion = [&](const std::string&) -> std::optional<std::string> {
      if (c.companionPresent) return small;
      return std::nullopt;
    };
    EXPECT_EQ(preview::warnings(c.path, c.bytes, companion), c.warnings);
    EXPECT_EQ(preview::describe(c.path, c.bytes, companion).warnings, c.warnings);
  }
}

}  // namespace
