// Adding from an archive in the install dialog's core: the check, the unpacking, the refusals.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "installs/dialog.h"
#include "installs/install.h"
#include "installs/installs_support.h"
#include "installs/support/archive_maker.h"
#include "installs/texts.h"
#include "support/program_fixture.h"
#include "sys/encoding.h"

namespace {

using archive_testing::Entry;
using archive_testing::Format;
using archive_testing::file;
using installs::AddMode;
using testing_support::fileExists;
using testing_support::folderExists;
using testing_support::readBytes;
namespace texts = installs::texts;

class ArchiveAdd : public testing_support::ProgramFixture {
 protected:
  void SetUp() override {
    configure();
    gign = gameFile("models/player/gign/gign.mdl", "old gign");
    go = gameFile("sound/radio/go.wav", "old go");
    fs.writeLines(program->settings.FilesListDir, {gign, go, gameFolder() + sys::kSep + "readme.txt"});
  }
  std::string archive(const std::string& name, const std::vector<Entry>& entries, Format format = Format::Zip,
                      const std::string& password = "") {
    const std::string path = temp / ("downloads/" + name);
    testing_support::makeFolder(temp / "downloads");
    archive_testing::makeArchive(path, format, entries, password);
    return path;
  }
  // Picks the archive in the chooser; the boxes expected after that are expected by then.
  void add(const std::string& path, const std::function<void()>& then = {}) {
    ui.expectFiles("Укажите архив", {path});
    if (then) then();
    installs::AddFiles(*program, AddMode::Archive, chosen, search, unpacked, view);
    ui.verifyAllAnswered();
  }
  std::string unpackRoot() const { return programFolder() + "unpacked.tmp"; }
  std::size_t filesUnpacked() const {
    if (!folderExists(unpackRoot())) return 0;
    std::size_t count = 0;
    for (const auto& item : std::filesystem::recursive_directory_iterator(sys::toPath(unpackRoot()))) {
      count += item.is_regular_file() ? 1 : 0;
    }
    return count;
  }
  std::string errorLog() { return fileExists(programFolder() + "errors.txt") ? readBytes(programFolder() + "errors.txt") : ""; }

  std::string gign, go;
  installs::ChosenFiles chosen;
  installs::FileSearch search;
  installs::UnpackFolders unpacked;
  installs_testing::RecordingView view;
};

TEST_F(ArchiveAdd, OnlyTheEntriesTheCatalogueKnowsAreUnpackedListedUnderTheArchiveNameAndInstalled) {
  const std::string zip = archive("pack.zip", {file("pack/models/GIGN.MDL", "new gign"), file("pack/sound/go.wav", "new go"),
                                               file("readme.txt", "r"), file("maps/de_dust.bsp", "m"),
                                               file("unknown.mdl", "u"), file("../../evil.mdl", "e")});
  add(zip, [&] { ui.expectAttention(texts::skippedArchiveEntries(1)); });
  ASSERT_EQ(ui.fileRequests.size(), 1u);
  EXPECT_FALSE(ui.fileRequests[0].multiple);
  EXPECT_EQ(ui.fileRequests[0].filters,
            (std::vector<std::pair<std::string, std::string>>{
                {"архивы", "*.zip *.7z *.rar *.tar *.tar.gz *.tgz *.tar.xz"}, {"все файлы", "*.*"}}));
  EXPECT_EQ(chosen.shown(), (std::vector<std::string>{"pack.zip/pack/models/GIGN.MDL", "pack.zip/pack/sound/go.wav"}));
  EXPECT_EQ(chosen.destinations(), (std::vector<std::string>{gign, go}));
  EXPECT_EQ(filesUnpacked(), 2u) << "nothing the catalogue does not know is unpacked";
  for (const auto& source : chosen.sources()) EXPECT_EQ(source.rfind(unpackRoot(), 0), 0u) << source;
  EXPECT_EQ(readBytes(chosen.sources()[0]), "new gign");
  EXPECT_EQ(view.working, (std::vector<bool>{true, false}));
  EXPECT_EQ(view.statuses.back(), "");

  // The information box describes the file by its place in the archive.
  fs.writeLines(program->settings.FilesInfoDir, {"pack/models", "Из набора"});
  ui.expectMessage("Установка", "Файл: GIGN.MDL\r\nИнформация: Из набора");
  installs::showFileInformation(*program, chosen, 0);

  ui.expectInput("Внимание", "Введите название установки", "Из архива");
  ASSERT_EQ(installs::Install(*program, chosen, "", view), installs::InstallResult::Installed);
  EXPECT_EQ(readBytes(gign), "new gign");
  EXPECT_EQ(readBytes(go), "new go");
  EXPECT_EQ(readBytes(programFolder() + "files/Из архива/gign.mdl"), "old gign");
  unpacked.removeAll(fs);
  EXPECT_FALSE(folderExists(unpackRoot()));
}

TEST_F(ArchiveAdd, EntriesThatWouldTakeTheSamePlaceAreUnpackedApart) {
  // A folder where a file needs the place, and a file where a folder does; a second entry for the same
  // game file (here only in letter case) is not taken at all.
  const std::vector<Entry> packs[] = {
      {file("go.wav/gign.mdl", "first"), file("GIGN.mdl", "repeat"), file("go.wav", "second")},
      {file("GO.WAV", "first"), file("go.wav/gign.mdl", "second")},
  };
  for (std::size_t k = 0; k < std::size(packs); ++k) {
    chosen.clear();
    add(archive("twice" + std::to_string(k) + ".zip", packs[k]), [&] {
      if (k == 0) ui.expectAttention(texts::skippedRepeats(1));
    });
    ASSERT_EQ(chosen.size(), 2u) << k;
    EXPECT_EQ(readBytes(chosen.sources()[0]), "first") << k;
    EXPECT_EQ(readBytes(chosen.sources()[1]), "second") << k;
  }
}

TEST_F(ArchiveAdd, ARefusedArchiveAddsNothingLeavesNoFileAndSaysWhy) {
  const std::string noise = [] {
    std::string bytes;
    for (std::uint32_t x = 7; bytes.size() < 400000; x = x * 1103515245 + 12345) bytes += static_cast<char>(x >> 16);
    return bytes;
  }();
  const std::string locked = archive("locked.zip", {file("gign.mdl", "x")}, Format::Zip, "secret");
  const std::string bomb = archive("bomb.zip", {file("go.wav", "g"), file("gign.mdl", std::string(1 << 20, '\0'))});
  archive_testing::understateZipSizes(bomb, 10);
  const std::string cut = archive("cut.zip", {file("go.wav", "g"), file("gign.mdl", noise)});
  std::filesystem::resize_file(cut, std::filesystem::file_size(cut) * 3 / 4);
  const std::string big = archive("big.zip", {file("gign.mdl", std::string(1000, 'b'))});
  struct Case {
    std::string archive;
    std::string box;       // "Ошибка"
    std::string logged;    // in errors.txt, or "" for nothing logged
    std::uint64_t free;
  };
  const Case cases[] = {
      {locked, "Архив \"locked.zip\" защищён паролем", "", UINT64_MAX},
      {bomb, "Не удалось прочитать архив \"bomb.zip\"",
       "Архив \"" + bomb + "\" отклонён: файл \"gign.mdl\" распаковывается больше записанного размера", UINT64_MAX},
      {cut, "Не удалось прочитать архив \"cut.zip\"", "Архив \"" + cut + "\" не прочитан: ", UINT64_MAX},
      // 100 MiB must stay free: 999 bytes more than that is too little for 1000.
      {big, "Недостаточно места на диске для распаковки архива", "", installs::kUnpackReserve + 999},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.archive);
    unpacked.freeSpace = [&](const std::string& where) {
      EXPECT_EQ(where, programFolder());
      return std::optional<std::uint64_t>(c.free);
    };
    const std::string logBefore = errorLog();
    add(c.archive, [&] {
      ui.expectError(c.box);
      ui.expectAttention(texts::kNoFilesFound);
    });
    EXPECT_TRUE(chosen.empty());
    EXPECT_EQ(filesUnpacked(), 0u);
    const std::string logged = errorLog().substr(logBefore.size());
    if (c.logged.empty()) {
      EXPECT_EQ(logged, "");
    } else {
      EXPECT_NE(logged.find(sys::encodeLine(c.logged)), std::string::npos) << logged;
    }
  }
  // Exactly the reserve left after unpacking is enough.
  unpacked.freeSpace = [](const std::string&) { return std::optional<std::uint64_t>(installs::kUnpackReserve + 1000); };
  add(big);
  EXPECT_EQ(chosen.size(), 1u);
}

TEST_F(ArchiveAdd, MoreThanFiveHundredEntriesAskFirstAndNoUnpacksNothing) {
  std::vector<Entry> entries;
  for (int i = 0; i < 501; ++i) entries.push_back(file("f" + std::to_string(i) + "/gign.mdl", "x"));
  const std::string zip = archive("many.zip", entries);
  add(zip, [&] {
    ui.expectAttention(texts::manyCandidatesQuestion(501), app::Answer::No);
    ui.expectAttention(texts::kNoFilesFound);
  });
  EXPECT_FALSE(folderExists(unpackRoot()));
}

TEST_F(ArchiveAdd, DroppedFilesFoldersAndArchivesAreAddedInTheirOrder) {
  const std::string zip = archive("drop.zip", {file("go.wav", "zip go")});
  testing_support::writeBytes(temp / "loose/gign.mdl", "loose gign");
  testing_support::writeBytes(temp / "tree/a/b/go.wav", "tree go");
  ui.expectAttention(texts::skippedRepeats(1));  // the tree's go.wav: the archive's came first
  installs::AddDropped(*program, {temp / "loose/gign.mdl", zip, temp / "tree", temp / "gone.mdl"}, chosen, search,
                       unpacked, view);
  EXPECT_EQ(chosen.shown(), (std::vector<std::string>{temp / "loose/gign.mdl", "drop.zip/go.wav"}));
  EXPECT_EQ(installs::droppedAs(fs, zip), installs::Dropped::Archive);
  EXPECT_EQ(installs::droppedAs(fs, temp / "tree"), installs::Dropped::Folder);
  EXPECT_EQ(installs::droppedAs(fs, temp / "gone.mdl"), installs::Dropped::Nothing);
}

TEST_F(ArchiveAdd, AGameFileAlreadyInTheListIsNeitherAddedNorUnpackedAgain) {
  const std::string zip = archive("repeats.zip", {file("ct/gign.mdl", "ct"), file("t/GIGN.MDL", "t"),
                                                  file("ct/go.wav", "go"), file("t/go.wav", "go again")});
  add(zip, [&] { ui.expectAttention(texts::skippedRepeats(2)); });
  EXPECT_EQ(chosen.shown(), (std::vector<std::string>{"repeats.zip/ct/gign.mdl", "repeats.zip/ct/go.wav"}));
  EXPECT_EQ(filesUnpacked(), 2u);
  // The same pack again, and a loose file: nothing is unpacked for the list's game files.
  add(zip, [&] { ui.expectAttention(texts::skippedRepeats(4)); });
  EXPECT_EQ(chosen.size(), 2u);
  EXPECT_EQ(filesUnpacked(), 2u);
  chosen.removeAt(1);
  add(zip, [&] { ui.expectAttention(texts::skippedRepeats(3)); });
  EXPECT_EQ(chosen.shown(), (std::vector<std::string>{"repeats.zip/ct/gign.mdl", "repeats.zip/ct/go.wav"}));
  EXPECT_EQ(chosen.destinations(), (std::vector<std::string>{gign, go}));
}

TEST_F(ArchiveAdd, AFolderLeftByAnEarlierRunIsRemovedAndNothingElse) {
  testing_support::writeBytes(unpackRoot() + "/3/files/gign.mdl", "left over");
  testing_support::writeBytes(programFolder() + "unpacked.tmp.keep", "not ours");
  installs::removeLeftoverUnpackFolder(fs, programFolder());
  EXPECT_FALSE(folderExists(unpackRoot()));
  EXPECT_TRUE(fileExists(programFolder() + "unpacked.tmp.keep"));
  EXPECT_TRUE(fileExists(gign));
}

}  // namespace
