#include <gtest/gtest.h>

#include <map>

#include "preview/preview.h"
#include "preview/texts.h"
#include "preview_files.h"

namespace {

using namespace preview_testing;

preview::Companion companions(std::map<std::string, std::string> files) {
  return [files](const std::string& name) -> std::optional<std::string> {
    const auto found = files.find(name);
    if (found == files.end()) return std::nullopt;
    return found->second;
  };
}

std::vector<int> pixel(const preview::Picture& picture, int x, int y) {
  const auto* p = &picture.rgba[static_cast<std::size_t>((y * picture.width + x) * 4)];
  return {p[0], p[1], p[2], p[3]};
}

TEST(PreviewReaders, ModelGivesItsCountsBoxAndTexturesWithTheMaskedIndexOverTheChecker) {
  const std::string bytes = studioModel();
  const auto preview = preview::describe("models\\player\\gign\\gign.mdl", bytes, nullptr);
  EXPECT_EQ(preview.kind, preview::Kind::Model);
  EXPECT_EQ(preview.damage, "");
  EXPECT_EQ(preview.facts, (std::vector<std::string>{
                               "Модель: «gign», костей 1, последовательностей 1, частей тела 1, текстур 2",
                               "Размер: " + std::to_string(bytes.size()) +
                                   " байт, габариты от (-10, -5, -30) до (10, 5, 30)"}));
  ASSERT_EQ(preview.pictures.size(), 2u);
  EXPECT_EQ(preview.pictures[0].name, "skin");
  EXPECT_EQ(pixel(preview.pictures[0], 0, 0), (std::vector<int>{1, 2, 3, 255}));
  EXPECT_EQ(pixel(preview.pictures[0], 1, 0), (std::vector<int>{0xcc, 0xcc, 0xcc, 255}));
  EXPECT_EQ(preview.pictures[1].name, "face");
  EXPECT_EQ(preview.pictures[1].width, 4);
  EXPECT_EQ(pixel(preview.pictures[1], 3, 0), (std::vector<int>{8, 16, 24, 255}));
}

TEST(PreviewReaders, ModelReadsItsTexturesFromTheCompanionAndNamesItsSequenceGroups) {
  ModelShape shape;
  shape.ownTextures = false;
  shape.sequenceGroups = 3;
  const std::string bytes = studioModel(shape);
  const auto withCompanion = preview::describe("models\\player\\vip\\vip.mdl", bytes, companions({{"vipT.mdl", studioModel()}}));
  EXPECT_EQ(withCompanion.damage, "");
  EXPECT_EQ(withCompanion.pictures.size(), 2u);
  EXPECT_EQ(withCompanion.facts.at(1), "Размер: " + std::to_string(bytes.size()) +
                                           " байт, габариты от (-10, -5, -30) до (10, 5, 30), текстуры в «vipT.mdl», "
                                           "группы последовательностей: vip01.mdl, vip02.mdl");
  const auto alone = preview::describe("models\\player\\vip\\vip.mdl", bytes, nullptr);
  EXPECT_TRUE(alone.pictures.empty());
  EXPECT_NE(alone.facts.at(1).find("текстуры в «vipT.mdl» (нет)"), std::string::npos);
}

TEST(PreviewReaders, SpriteFramesAndGroupsDrawTheirFormatOverTheChecker) {
  struct Case {
    int format;
    std::vector<int> transparentPixel;  // the frame's index 255
  };
  for (const Case& c : {Case{0, {255, 254, 253, 255}}, Case{1, {255, 255, 255, 255}}, Case{3, {0xcc, 0xcc, 0xcc, 255}}}) {
    const auto preview = preview::describe("sprites\\muzzleflash1.spr", sprite(c.format), nullptr);
    SCOPED_TRACE(c.format);
    EXPECT_EQ(preview.damage, "");
    ASSERT_EQ(preview.pictures.size(), 3u);
    EXPECT_EQ(preview.frameIntervalMs, 250);
    EXPECT_EQ(pixel(preview.pictures[0], 1, 0), c.transparentPixel);
    EXPECT_EQ(preview.pictures[2].name, "кадр 3");
  }
  const auto indexAlpha = preview::describe("sprites\\a.spr", sprite(2), nullptr);
  EXPECT_EQ(indexAlpha.facts.at(0), "Спрайт: параллельный экрану, прозрачный по индексу, кадров 2, 2×2, палитра 256 цветов");
  // Index 1 lets 1/255 of the palette's last colour (255, 254, 253) through over the light square.
  EXPECT_EQ(pixel(indexAlpha.pictures[0], 0, 0), (std::vector<int>{204, 204, 204, 255}));
}

TEST(PreviewReaders, PicturesOfEachFormatComeOutTopRowFirst) {
  struct Case {
    std::string path, bytes, fact;
    std::vector<int> topLeft, bottomRight;
  };
  const std::vector<Case> cases = {
      {"logos\\a.bmp", bmp(8), "Рисунок BMP: 3×2, 8 бит (палитра)", {1, 2, 3, 255}, {6, 12, 18, 255}},
      {"gfx\\a.bmp", bmp(24), "Рисунок BMP: 3×2, 24 бит", {10, 20, 30, 255}, {15, 20, 35, 255}},
      {"gfx\\a.tga", tga(false), "Рисунок TGA: 2×2, 24 бит, без сжатия", {200, 100, 2, 255}, {200, 100, 1, 255}},
      {"gfx\\b.TGA", tga(true), "Рисунок TGA: 2×2, 32 бит, сжатие RLE", {3, 2, 1, 128}, {9, 8, 7, 0}},
      {"decals.wad", wad({{16, 16}}), "Набор текстур WAD3: текстур 1, других элементов 1", {0, 0, 0, 255}, {255, 254, 253, 255}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const auto preview = preview::describe(c.path, c.bytes, nullptr);
    EXPECT_EQ(preview.kind, preview::Kind::Picture);
    EXPECT_EQ(preview.damage, "");
    EXPECT_EQ(preview.facts, (std::vector<std::string>{c.fact, "Размер: " + std::to_string(c.bytes.size()) + " байт"}));
    ASSERT_EQ(preview.pictures.size(), 1u);
    const auto& picture = preview.pictures[0];
    EXPECT_EQ(pixel(picture, 0, 0), c.topLeft);
    EXPECT_EQ(pixel(picture, picture.width - 1, picture.height - 1), c.bottomRight);
  }
}

TEST(PreviewReaders, SoundsGiveFormatLengthAndCuePoints) {
  struct Case {
    WavSpec shape;
    std::string fact;
  };
  const std::vector<Case> cases = {
      {{1, 1, 22050, 16, 66150, 2}, "Звук: PCM, моно, 22050 Гц, 16 бит, 1,5 с, меток 2"},
      {{1, 2, 44100, 8, 88200, 0}, "Звук: PCM, стерео, 44100 Гц, 8 бит, 1,0 с, меток 0"},
      {{2, 1, 11025, 4, 2756, 1}, "Звук: ADPCM (Microsoft), моно, 11025 Гц, 4 бит, 0,5 с, меток 1"},
  };
  for (const Case& c : cases) {
    const auto preview = preview::describe("sound\\radio\\go.wav", wav(c.shape), nullptr);
    EXPECT_EQ(preview.kind, preview::Kind::Sound);
    EXPECT_EQ(preview.facts.at(0), c.fact);
    ASSERT_TRUE(preview.sound.has_value());
    EXPECT_EQ(preview.sound->cuePoints, c.shape.cues);
  }
}

TEST(PreviewReaders, AFileOfNoKnownFormatShowsItsTypeAndSize) {
  EXPECT_EQ(preview::describe("liblist.gam", "game \"CS\"", nullptr).facts, (std::vector<std::string>{"Файл .gam, 9 байт"}));
  EXPECT_EQ(preview::describe("README", "", nullptr).facts, (std::vector<std::string>{"Файл, 0 байт"}));
}

}  // namespace
