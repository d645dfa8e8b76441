#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>

#include "catalogue/scan.h"
#include "support/program_fixture.h"
#include "sys/encoding.h"
#include "sys/error.h"

namespace {

using testing_support::fileExists;
using testing_support::ProgramFixture;
using testing_support::readBytes;
using testing_support::writeBytes;

// Lines collected in memory.
class VectorSink final : public sys::LineSink {
 public:
  void write(const std::string& line) override { lines.push_back(line); }
  void flush() override {}
  void close() override {}
  std::vector<std::string> lines;
};

// A file system whose folders list exactly what the test says, in that order.
class ScriptedTree final : public sys::FileSystem {
 public:
  std::map<std::string, std::vector<sys::DirEntry>> folders;
  // The real folder each path leads to; a path not given cannot be told.
  std::map<std::string, std::uint64_t> realFolders;
  std::optional<sys::FolderIdentity> folderIdentity(const std::string& path) override {
    const auto it = realFolders.find(path);
    if (it == realFolders.end()) return std::nullopt;
    return sys::FolderIdentity{7, it->second};
  }
  bool enumerate(const std::string& folder, const std::function<void(const sys::DirEntry&)>& visit) override {
    const auto it = folders.find(folder);
    if (it == folders.end()) return false;
    for (const auto& entry : it->second) visit(entry);
    return true;
  }
};

std::vector<std::string> scanToLines(sys::FileSystem& fs, const std::string& root, catalogue::ScanResult& result) {
  VectorSink sink;
  catalogue::FindFiles(fs, root, sink, result, [] {});
  return sink.lines;
}

TEST(FindFiles, DepthFirstInEnumerationOrderSkippingDotEntriesAndFolderLinks) {
  using K = sys::EntryKind;
  const std::string s = sys::kSep;
  ScriptedTree tree;
  tree.folders["G"] = {{"...", K::Folder}, {"z.txt", K::File}, {"models", K::Folder}, {"", K::File},
                       {"maps.old", K::Folder}, {"..", K::Folder}, {"link", K::FolderLink}, {"a.cfg", K::File},
                       {".", K::Folder}};
  tree.folders["G" + s + "models"] = {{"player", K::Folder}, {"v_ak47.mdl", K::File}};
  tree.folders["G" + s + "models" + s + "player"] = {{"gign", K::Folder}, {"..", K::Folder}};
  tree.folders["G" + s + "models" + s + "player" + s + "gign"] = {{"gign.mdl", K::File}, {"gignT.mdl", K::File}};
  tree.folders["G" + s + "maps.old"] = {{"de_dust.bsp", K::File}, {"fifo", K::Other}};
  tree.folders["G" + s + "..."] = {{"hidden.txt", K::File}};
  tree.folders["G" + s + "link"] = {{"loop.txt", K::File}};

  catalogue::ScanResult result;
  const auto lines = scanToLines(tree, "G", result);
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "G" + s + "z.txt",
                       "G" + s + "models" + s + "player" + s + "gign" + s + "gign.mdl",
                       "G" + s + "models" + s + "player" + s + "gign" + s + "gignT.mdl",
                       "G" + s + "models" + s + "v_ak47.mdl",
                       "G" + s + "maps.old" + s + "de_dust.bsp",
                       "G" + s + "maps.old" + s + "fifo",
                       "G" + s + "a.cfg",
                   }));
  EXPECT_EQ(result.files, 7u);
  EXPECT_EQ(result.leftOut, 0u);
}

TEST(FindFiles, EveryRealFolderIsEnteredOnceWhateverLinkLeadsThere) {
  using K = sys::EntryKind;
  const std::string s = sys::kSep;
  ScriptedTree tree;
  // "linked" is a folder moved elsewhere and linked back; "again" a second link to it; "up", "back" and
  // "loop" lead to folders the scan is in already; "lost" to a target that cannot be told.
  tree.folders["G"] = {{"models", K::Folder}, {"linked", K::FolderLink}, {"again", K::FolderLink},
                       {"up", K::FolderLink}, {"lost", K::FolderLink}, {"z.cfg", K::File}};
  tree.folders["G" + s + "models"] = {{"back", K::FolderLink}, {"m.mdl", K::File}, {"bound", K::Folder}};
  tree.folders["G" + s + "linked"] = {{"p.mdl", K::File}, {"loop", K::FolderLink}};
  for (const char* listed : {"again", "up", "lost"}) tree.folders["G" + s + listed] = {{"twice.mdl", K::File}};
  tree.folders["G" + s + "models" + s + "back"] = tree.folders["G"];
  tree.folders["G" + s + "models" + s + "bound"] = tree.folders["G"];  // a folder mounted on itself
  tree.folders["G" + s + "linked" + s + "loop"] = tree.folders["G" + s + "linked"];
  tree.realFolders = {{"G", 1}, {"G" + s + "models", 2}, {"G" + s + "linked", 10}, {"G" + s + "again", 10},
                      {"G" + s + "up", 1}, {"G" + s + "models" + s + "back", 1},
                      {"G" + s + "models" + s + "bound", 1}, {"G" + s + "linked" + s + "loop", 10}};

  catalogue::ScanResult result;
  const auto lines = scanToLines(tree, "G", result);
  EXPECT_EQ(lines, (std::vector<std::string>{"G" + s + "models" + s + "m.mdl", "G" + s + "linked" + s + "p.mdl",
                                             "G" + s + "z.cfg"}));
  EXPECT_EQ(result.files, 3u);
  EXPECT_EQ(result.loopsCut, 6u) << "back, bound, loop, again, up and lost";
}

TEST(FindFiles, EmptyFolderPathListsNothing) {
  ScriptedTree tree;
  tree.folders[""] = {{"x", sys::EntryKind::File}};
  catalogue::ScanResult result;
  EXPECT_TRUE(scanToLines(tree, "", result).empty());
}

class Scan : public ProgramFixture {
 protected:
  void SetUp() override { configure(); }
  std::vector<std::string> catalogueLines() { return fs.readLines(program->settings.FilesListDir); }
  void expectReport(std::size_t count) { ui.expectMessage("Поиск файлов завершен", catalogue::foundText(count)); }
};

// The order the file system itself gives, worked out without the scan's code: every folder's entries
// as std::filesystem lists them, a sub-folder's files at its place.
void listInDirectoryOrder(const std::filesystem::path& folder, const std::string& text, std::vector<std::string>& out) {
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string path = text + sys::kSep + sys::fromPath(entry.path().filename());
    if (entry.is_directory()) {
      listInDirectoryOrder(entry.path(), path, out);
    } else {
      out.push_back(path);
    }
  }
}

TEST_F(Scan, ListsEveryFileOnceWithItsFullPathInTheFileSystemsOrder) {
  for (const char* file : {"liblist.gam", "models/player/gign/gign.mdl", "models/player/gign/gignT.mdl",
                           "models/player/sas/sas.mdl", "models/v_ak47.mdl", "sound/radio/go.wav", "maps.old/de_dust.bsp",
                           "sprites/a/b/c/deep.spr", "звук/привет.wav"}) {
    gameFile(file);
  }
  testing_support::makeFolder(gameFolder() + sys::kSep + "empty" + sys::kSep + "deeper");
  std::vector<std::string> expected;
  listInDirectoryOrder(sys::toPath(gameFolder()), gameFolder(), expected);
  ASSERT_EQ(expected.size(), 9u);

  expectReport(9);
  catalogue::FindFilesList(*program);
  EXPECT_EQ(catalogueLines(), expected);
  EXPECT_EQ(readBytes(program->settings.FilesListDir), sys::joinLines(expected)) << "cp1251 lines ended by CR LF";
  EXPECT_EQ(program->settings.FilesListDate, "07.03.2003");
  EXPECT_EQ(registry->readValues(app::kProgramKey, {"FilesListDate"})->at(0), "07.03.2003");
  EXPECT_FALSE(ui.busy);
  EXPECT_TRUE(ui.mainWindowEnabled);
  EXPECT_EQ(ui.statusText, "");
  const auto& history = ui.statusHistory;
  ASSERT_GE(history.size(), 2u);
  EXPECT_EQ(history.front(), "Поиск файлов...Ждите...");
  EXPECT_NE(std::find(history.begin(), history.end(), "Поиск файлов завершен"), history.end());
}

TEST_F(Scan, HiddenAndReadOnlyFilesAreListed) {
  const std::string hidden = gameFile(".hidden.cfg");
  const std::string readOnly = gameFile("config.cfg");
  std::filesystem::permissions(sys::toPath(readOnly), std::filesystem::perms::owner_read);
  expectReport(2);
  catalogue::FindFilesList(*program);
  auto lines = catalogueLines();
  std::sort(lines.begin(), lines.end());
  EXPECT_EQ(lines, (std::vector<std::string>{hidden, readOnly}));
  std::filesystem::permissions(sys::toPath(readOnly), std::filesystem::perms::owner_all);
}

TEST_F(Scan, EmptyGameFolderLeavesNoCatalogueButSetsTheDate) {
  testing_support::makeFolder(gameFolder() + sys::kSep + "empty");
  writeBytes(program->settings.FilesListDir, "stale\r\n");
  expectReport(0);
  catalogue::FindFilesList(*program);
  EXPECT_FALSE(fileExists(program->settings.FilesListDir));
  EXPECT_EQ(program->settings.FilesListDate, "07.03.2003");
}

TEST_F(Scan, RescanReplacesTheWholeCatalogue) {
  const std::string kept = gameFile("kept.wav");
  const std::string removed = gameFile("removed.wav");
  expectReport(2);
  catalogue::FindFilesList(*program);
  std::filesystem::remove(sys::toPath(removed));
  const std::string added = gameFile("sub/added.mdl");
  expectReport(2);
  catalogue::FindFilesList(*program);
  auto lines = catalogueLines();
  std::sort(lines.begin(), lines.end());
  EXPECT_EQ(lines, (std::vector<std::string>{kept, added}));
}

TEST_F(Scan, AFolderLinkIsFollowedOnceALoopIsCutAndLoggedFileLinksAreListed) {
#ifdef _WIN32
  GTEST_SKIP() << "links are made here as on Linux; on Windows making one needs a privilege the tests do not have";
#endif
  const std::string model = gameFile("models/gign.mdl");
  // The player models moved to another disk and linked back into the game folder.
  writeBytes(temp / "disk2/player/p.mdl", "p");
  std::filesystem::create_directory_symlink(sys::toPath(temp / "disk2/player"),
                                            sys::toPath(gameFolder() + "/models/player"));
  std::filesystem::create_directory_symlink(sys::toPath(gameFolder()), sys::toPath(gameFolder() + "/models/loop"));
  std::filesystem::create_symlink(sys::toPath(model), sys::toPath(gameFolder() + "/models/link.mdl"));
  std::filesystem::create_symlink(sys::toPath(gameFolder() + "/gone"), sys::toPath(gameFolder() + "/dangling.mdl"));
  expectReport(4);
  catalogue::FindFilesList(*program);
  auto lines = catalogueLines();
  std::sort(lines.begin(), lines.end());
  EXPECT_EQ(lines, (std::vector<std::string>{gameFolder() + "/dangling.mdl", model, gameFolder() + "/models/link.mdl",
                                             gameFolder() + "/models/player/p.mdl"}));
  EXPECT_EQ(fs.readLines(programFolder() + "errors.txt"),
            std::vector<std::string>{"07.03.2003 14:05:09: " + catalogue::loopsCutLogText(1)});
}

TEST_F(Scan, NamesThatCannotBeOneLineAreLeftOutAndLogged) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows allows no line breaks in names and keeps them as UTF-16, so such names cannot exist there";
#endif
  const std::string good = gameFile("good.wav");
  gameFile("two\nlines.wav");
  gameFile("bad\xff.wav");  // not text: it would come back from the file as another name
  gameFile("sub\rfolder/inside.wav");
  expectReport(1);
  catalogue::FindFilesList(*program);
  EXPECT_EQ(catalogueLines(), (std::vector<std::string>{good}));
  EXPECT_EQ(readBytes(program->errorLogPath()),
            sys::joinLines({"07.03.2003 14:05:09: " + catalogue::leftOutLogText(3)}));
  EXPECT_EQ(ui.prompts.size(), 1u) << "only the count report, no error box";
}

// A file system whose catalogue writes go through a sink the test controls.
class SinkControl final : public sys::FileSystem {
 public:
  std::size_t failAfter = SIZE_MAX;  // lines written before a write fails
  std::function<void(std::size_t)> afterWrite;
  std::unique_ptr<sys::LineSink> createLineSink(const std::string& path) override {
    class Counting final : public sys::LineSink {
     public:
      Counting(SinkControl& owner, std::unique_ptr<sys::LineSink> real) : owner_(owner), real_(std::move(real)) {}
      void write(const std::string& line) override {
        if (written_ == owner_.failAfter) throw sys::IoError("No space left on device");
        real_->write(line);
        ++written_;
        if (owner_.afterWrite) owner_.afterWrite(written_);
      }
      void flush() override { real_->flush(); }
      void close() override { real_->close(); }

     private:
      SinkControl& owner_;
      std::unique_ptr<sys::LineSink> real_;
      std::size_t written_ = 0;
    };
    return std::make_unique<Counting>(*this, sys::FileSystem::createLineSink(path));
  }
};

class ScanStreaming : public Scan {
 protected:
  void makeFiles(int count) {
    for (int i = 0; i < count; ++i) gameFile("d" + std::to_string(i % 7) + "/f" + std::to_string(i) + ".txt", "");
  }
};

TEST_F(ScanStreaming, CompleteScanIsByteIdenticalToAppendingLineByLine) {
  makeFiles(40);
  gameFile("модели/игрок.mdl");
  const std::string byAppend = temp / "appended.dat";
  class AppendSink final : public sys::LineSink {
   public:
    AppendSink(sys::FileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
    void write(const std::string& line) override { fs_.appendLine(path_, line); }
    void flush() override {}
    void close() override {}

   private:
    sys::FileSystem& fs_;
    std::string path_;
  } appendSink(fs, byAppend);
  catalogue::ScanResult appended;
  catalogue::FindFiles(fs, gameFolder(), appendSink, appended, [] {});

  const auto result = catalogue::scanGameFolder(fs, gameFolder(), program->settings.FilesListDir, [] {});
  EXPECT_EQ(result.files, 41u);
  EXPECT_EQ(readBytes(program->settings.FilesListDir), readBytes(byAppend));
}

TEST_F(ScanStreaming, LinesCountedSoFarAreOnDiskWhileScanningAndAfterAnInterruption) {
  makeFiles(700);
  SinkControl control;
  const std::string catalogueFile = program->settings.FilesListDir;
  std::size_t worstLag = 0;
  control.afterWrite = [&](std::size_t written) {
    if (written % 97 == 0) {
      const std::size_t onDisk = sys::splitLines(readBytes(catalogueFile)).size();
      worstLag = std::max(worstLag, written - onDisk);
    }
    if (written == 650) throw std::runtime_error("cut off");
  };
  EXPECT_THROW(catalogue::scanGameFolder(control, gameFolder(), catalogueFile, [] {}), std::runtime_error);
  EXPECT_LE(worstLag, 300u) << "flushed every few hundred lines";
  EXPECT_EQ(sys::splitLines(readBytes(catalogueFile)).size(), 650u) << "every counted line survives the cut";
}

TEST_F(ScanStreaming, WriteFailureIsRaisedWithTheBusyStateEndedAndNothingRecorded) {
  makeFiles(10);
  SinkControl control;
  control.failAfter = 4;
  app::Program failing(app::Services{ui, control, *registry, shell, windows, clock, temp / "exe" + sys::kSep});
  failing.settings = program->settings;
  failing.settings.FilesListDate = "01.01.2003";
  try {
    catalogue::FindFilesList(failing);
    ADD_FAILURE() << "the failure must reach the window's error report";
  } catch (const sys::IoError& error) {
    EXPECT_STREQ(error.what(), "No space left on device");
  }
  EXPECT_FALSE(ui.busy);
  EXPECT_TRUE(ui.mainWindowEnabled);
  EXPECT_EQ(failing.settings.FilesListDate, "01.01.2003");
  EXPECT_FALSE(registry->readValues(app::kProgramKey, {"FilesListDate"})) << "settings not written";
  EXPECT_TRUE(ui.prompts.empty()) << "no count report";
  EXPECT_EQ(catalogueLines().size(), 4u) << "the lines written before the failure stay";
}

}  // namespace
