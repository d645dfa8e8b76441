#include <gtest/gtest.h>

#include <filesystem>

#include "catalogue/descriptions.h"
#include "catalogue/scan.h"
#include "support/program_fixture.h"

namespace {

using testing_support::ProgramFixture;
using testing_support::readBytes;

class Scan : public ProgramFixture {
 protected:
  void SetUp() override { configure(); }
  std::vector<std::string> catalogueLines() { return fs.readLines(program->settings.FilesListDir); }
};

TEST_F(Scan, EveryFileOnceWithItsFullPathDepthFirst) {
  const std::string a = gameFile("a/b/c/deep.mdl");
  const std::string root = gameFile("readme.txt");
  const std::string b = gameFile("a/b/mid.wav");
  ui.expectMessage("Поиск файлов завершен", "Найдено 3 файлов");
  catalogue::FindFilesList(*program);
  auto lines = catalogueLines();
  std::sort(lines.begin(), lines.end());
  EXPECT_EQ(lines, (std::vector<std::string>{a, b, root}));
  EXPECT_EQ(program->settings.FilesListDate, "07.03.2003");
  EXPECT_FALSE(ui.busy);
  EXPECT_EQ(ui.statusText, "");
  EXPECT_EQ(registry->readValues(app::kProgramKey, {"FilesListDate"})->at(0), "07.03.2003");
}

TEST_F(Scan, EmptyGameFolderLeavesNoCatalogue) {
  testing_support::makeFolder(gameFolder() + sys::kSep + "empty");
  testing_support::writeBytes(program->settings.FilesListDir, "stale\r\n");
  ui.expectMessage("Поиск файлов завершен", "Найдено 0 файлов");
  catalogue::FindFilesList(*program);
  EXPECT_FALSE(testing_support::fileExists(program->settings.FilesListDir));
  EXPECT_EQ(program->settings.FilesListDate, "07.03.2003");
}

#ifndef _WIN32
TEST_F(Scan, LinkLoopsEndAndFileLinksAreListed) {
  gameFile("models/gign.mdl");
  std::filesystem::create_directory_symlink(sys::toPath(gameFolder()), sys::toPath(gameFolder() + "/models/loop"));
  std::filesystem::create_symlink(sys::toPath(gameFolder() + "/models/gign.mdl"),
                                  sys::toPath(gameFolder() + "/models/link.mdl"));
  ui.expectMessage("Поиск файлов завершен", "Найдено 2 файлов");
  catalogue::FindFilesList(*program);
}
#endif

TEST(Descriptions, KeysMatchAnywhereFoldingOnlyAscii) {
  catalogue::Descriptions d({".wav", "A", ".WAV", "B", ".mdl", "Model", "", "never", ".модель", "Ru"});
  EXPECT_EQ(d.describe("C:\\cs\\sound\\a.wav"), "A / B");
  EXPECT_EQ(d.describe("/cs/go.wav.bak"), "A / B");
  EXPECT_EQ(d.describe("/cs/x.MDL"), "Model");
  EXPECT_EQ(d.describe("/cs/x.txt"), std::nullopt);
  EXPECT_EQ(d.describe("/cs/x.модель"), "Ru");
  EXPECT_EQ(d.describe("/cs/x.МОДЕЛЬ"), std::nullopt);
}

TEST(Descriptions, LastKeyWithoutTextIsIgnored) {
  catalogue::Descriptions d({".wav", "A", ".mdl"});
  EXPECT_EQ(d.records().size(), 1u);
  EXPECT_EQ(d.describe("/x.mdl"), std::nullopt);
}

}  // namespace
