// The preview pane's behaviour through its presenter, with a view that records what it is told and readers
// of the test's own.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>

#include "preview/pane_texts.h"
#include "preview/preview_pane_presenter.h"
#include "preview/recording_pane.h"
#include "support/temp_folder.h"
#include "sys/filesystem.h"
#include "sys/paths.h"

namespace {

using testing_support::RecordingPane;
using testing_support::writeBytes;
namespace texts = preview::texts;

preview::Picture picture(const std::string& name) { return {name, 1, 1, {1, 2, 3, 255}}; }

// What the test readers make of a file: its first line names the kind, the companion asked for, if any,
// joins the facts.
preview::Preview fakeDescribe(const std::string& gamePath, std::string_view bytes, const preview::Companion& companion) {
  preview::Preview out;
  out.facts = {gamePath + ": " + std::string(bytes.substr(0, bytes.find('\n')))};
  if (bytes.starts_with("model")) {
    out.pictures = {picture("skin"), picture("face")};
    const auto textures = companion("gignT.mdl");
    out.facts.push_back(textures ? "textures: " + *textures : "no textures");
  } else if (bytes.starts_with("sprite")) {
    out.pictures = {picture("frame 1"), picture("frame 2"), picture("frame 3")};
    out.frameIntervalMs = 100;
  } else if (bytes.starts_with("sound")) {
    out.sound = preview::Sound{1, 1, 22050, 16, 1500, 0};
    out.warnings = {"stereo"};
  } else if (bytes.starts_with("damaged")) {
    out.damage = "cut short";
  }
  return out;
}

class PanePresenter : public ::testing::Test {
 protected:
  std::string file(const std::string& name, const std::string& bytes) {
    writeBytes(temp / name, bytes);
    return temp / name;
  }
  preview::PaneFile paneFile(const std::string& name, std::vector<std::string> folders = {}) {
    return {temp / name, "models\\" + name, std::move(folders)};
  }

  testing_support::TempFolder temp;
  sys::FileSystem& fs = sys::realFileSystem();
  RecordingPane view;
  int described = 0;
  preview::PreviewPanePresenter pane{fs, view,
                                     {[this](const std::string& path, std::string_view bytes,
                                             const preview::Companion& companion) {
                                        ++described;
                                        return fakeDescribe(path, bytes, companion);
                                      },
                                      preview::warnings}};
};

TEST_F(PanePresenter, ASelectionShowsItsFileAndTheCompanionIsLookedForInTheFoldersInOrder) {
  file("pack/gign.mdl", "model\n");
  file("game/GIGNt.mdl", "from the game");  // another letter case, as games have them
  pane.show(paneFile("pack/gign.mdl", {temp / "pack/", temp / "game/"}));
  EXPECT_EQ(view.facts, (std::vector<std::string>{"models\\pack/gign.mdl: model", "textures: from the game"}));
  EXPECT_EQ(view.pictures, (std::vector<std::string>{"skin", "face"})) << "a model's textures side by side";
  EXPECT_FALSE(view.playVisible);
  EXPECT_EQ(view.frameMs, 0);

  file("pack/gignT.mdl", "from the pack");
  pane.show(paneFile("pack/gign.mdl", {temp / "pack/", temp / "game/"}));
  EXPECT_EQ(view.facts.at(1), "textures: from the pack") << "beside the file comes first";
  pane.show(paneFile("pack/gign.mdl", {temp / "elsewhere/"}));
  EXPECT_EQ(view.facts.at(1), "no textures");

  pane.clear();
  EXPECT_TRUE(view.facts.empty());
  EXPECT_TRUE(view.pictures.empty());
}

TEST_F(PanePresenter, ASoundPlaysUntilASecondClickItsEndOrAnotherSelection) {
  file("go.wav", "sound");
  file("sprite.spr", "sprite");
  pane.show(paneFile("go.wav"));
  EXPECT_TRUE(view.playVisible);
  EXPECT_EQ(view.warnings, std::vector<std::string>{"stereo"});
  EXPECT_EQ(view.caption, texts::kPlay);

  pane.PlayClick();
  EXPECT_EQ(view.played, std::vector<std::string>{temp / "go.wav" + " 1500"});
  EXPECT_EQ(view.caption, texts::kStop);
  pane.PlayClick();
  EXPECT_EQ(view.stops, 1);
  EXPECT_EQ(view.caption, texts::kPlay);

  pane.PlayClick();
  pane.SoundEnded();
  EXPECT_EQ(view.caption, texts::kPlay);
  EXPECT_FALSE(pane.playing());
  EXPECT_EQ(view.stops, 1) << "a sound over by itself needs no stop";

  pane.PlayClick();
  pane.show(paneFile("sprite.spr"));
  EXPECT_EQ(view.stops, 2) << "another selection stops it";
  EXPECT_FALSE(view.playVisible);
  pane.PlayClick();
  EXPECT_EQ(view.played.size(), 3u) << "no sound, nothing to play";
}

TEST_F(PanePresenter, ASpritePlaysItsFramesOnATimer) {
  file("s.spr", "sprite");
  pane.show(paneFile("s.spr"));
  EXPECT_EQ(view.frameMs, 100);
  EXPECT_EQ(view.pictures, std::vector<std::string>{"frame 1"});
  for (const char* next : {"frame 2", "frame 3", "frame 1"}) {
    pane.FrameTimer();
    EXPECT_EQ(view.pictures, std::vector<std::string>{next});
  }
  pane.clear();
  EXPECT_EQ(view.frameMs, 0);
}

TEST_F(PanePresenter, DamagedMissingAndTooLargeFilesSayItInOneLine) {
  file("bad.mdl", "damaged");
  pane.show(paneFile("bad.mdl"));
  EXPECT_EQ(view.facts, (std::vector<std::string>{"models\\bad.mdl: damaged", "cut short"}));

  pane.show(paneFile("gone.mdl"));
  EXPECT_EQ(view.facts, std::vector<std::string>{texts::kNoFile});

  const std::string big = file("big.wad", "");
  std::filesystem::resize_file(big, preview::kMaxPreviewBytes + 1);  // sparse: nothing written
  described = 0;
  pane.show(paneFile("big.wad"));
  EXPECT_EQ(described, 0) << "not read";
  EXPECT_EQ(view.facts, std::vector<std::string>{texts::tooLarge(preview::kMaxPreviewBytes + 1)});
  EXPECT_EQ(texts::tooLarge(5), "Файл, 5 байт: слишком велик для просмотра");
}

TEST_F(PanePresenter, WarningsAreSummedAndEachFileReadOnceWhileItStaysTheSame) {
  int reads = 0;
  pane.setReaders({fakeDescribe, [&](const std::string&, std::string_view bytes, const preview::Companion&) {
                     ++reads;
                     return std::vector<std::string>(bytes.size(), "warning");
                   }});
  file("a.wav", "ab");
  file("b.wav", "abc");
  const std::vector<preview::PaneFile> files{paneFile("a.wav"), paneFile("b.wav"), paneFile("missing.wav")};
  EXPECT_EQ(pane.warningsCount(files), 5u);
  EXPECT_EQ(pane.warningsCount(files), 5u);
  EXPECT_EQ(reads, 2);
  file("b.wav", "abcdefgh");  // another size
  EXPECT_EQ(pane.warningsCount(files), 10u);
  EXPECT_EQ(reads, 3);
  EXPECT_EQ(texts::warningsCount(3), "Предупреждений: 3");
}

TEST(PreviewLayout, PicturesShareTheAreaAtOneScaleInTheFewestRowsThatGiveTheLargest) {
  using P = preview::Placement;
  const auto at = [](const std::vector<P>& placed) {
    std::vector<std::array<int, 4>> out;
    for (const P& p : placed) out.push_back({p.x, p.y, p.width, p.height});
    return out;
  };
  // Two 100x50 in a 200x100 area: side by side at 0.98 (a gap of 4 between them).
  EXPECT_EQ(at(preview::layoutPictures({{100, 50}, {100, 50}}, 200, 100)),
            (std::vector<std::array<int, 4>>{{0, 25, 98, 49}, {102, 25, 98, 49}}));
  // The same in a tall area: one above the other, each at full width.
  EXPECT_EQ(at(preview::layoutPictures({{100, 50}, {100, 50}}, 100, 200)),
            (std::vector<std::array<int, 4>>{{0, 48, 100, 50}, {0, 102, 100, 50}}));
  // A small sprite grows at most four times, centred.
  EXPECT_EQ(at(preview::layoutPictures({{10, 10}}, 200, 200)), (std::vector<std::array<int, 4>>{{80, 80, 40, 40}}));
  EXPECT_TRUE(preview::layoutPictures({}, 200, 200).empty());
}

TEST(PreviewGamePath, AGameFileIsNamedFromTheGameFolderWithBackslashes) {
  const std::string game = testing_support::TempFolder().path() + "/game/cstrike";
  const std::string sep(1, sys::kSeparator);
  EXPECT_EQ(preview::gamePathOf(game + sep + "models" + sep + "player" + sep + "gign.mdl", game),
            "models\\player\\gign.mdl");
  EXPECT_EQ(preview::gamePathOf(game + sep + "liblist.gam", game + sep), "liblist.gam");
  EXPECT_EQ(preview::gamePathOf(game + "2" + sep + "x.mdl", game), "x.mdl") << "outside: its bare name";
}

}  // namespace
