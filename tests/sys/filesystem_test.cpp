// The file operations every part of the program relies on, on the real file system of this machine.
// The same tests run in the Linux build and, under Wine, in the Windows build; where the two systems
// differ by their own rules (letter case of names), each expectation says which.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "support/temp_folder.h"
#include "sys/error.h"
#include "sys/filesystem.h"
#include "sys/paths.h"

namespace {

using testing_support::fileExists;
using testing_support::makeFolder;
using testing_support::readBytes;
using testing_support::TempFolder;
using testing_support::writeBytes;
namespace stdfs = std::filesystem;

sys::FileSystem& files() { return sys::realFileSystem(); }

std::vector<std::string> entryNames(const std::string& folder, sys::EntryKind kind) {
  std::vector<std::string> names;
  files().enumerate(folder, [&](const sys::DirEntry& entry) {
    if (entry.kind == kind) names.push_back(entry.name);
  });
  std::sort(names.begin(), names.end());
  return names;
}

void makeReadOnly(const std::string& path) {
  stdfs::permissions(sys::toPath(path), stdfs::perms::owner_write | stdfs::perms::group_write | stdfs::perms::others_write,
                     stdfs::perm_options::remove);
}

bool isWritable(const std::string& path) {
  return (stdfs::status(sys::toPath(path)).permissions() & stdfs::perms::owner_write) != stdfs::perms::none;
}

TEST(Folders, CreateRenameAndRemoveOnlyWhenEmpty) {
  TempFolder temp;
  auto& fs = files();
  const std::string store = temp / "files";
  fs.createFolder(store);
  EXPECT_TRUE(fs.isFolder(store));
  EXPECT_NO_THROW(fs.createFolder(store)) << "an existing folder is fine";
  EXPECT_THROW(fs.createFolder(temp / "missing/parent"), sys::IoError);
  writeBytes(temp / "plain file", "x");
  EXPECT_THROW(fs.createFolder(temp / "plain file"), sys::IoError) << "a file of that name is in the way";

  fs.createFolder(temp / "files/Набор A");
  writeBytes(temp / "files/Набор A/gign.mdl", "backup");
  EXPECT_TRUE(fs.renameFolder(temp / "files/Набор A", temp / "files/Набор B"));
  EXPECT_EQ(readBytes(temp / "files/Набор B/gign.mdl"), "backup");
  EXPECT_FALSE(fs.exists(temp / "files/Набор A"));

  fs.createFolder(temp / "files/Другой");
  EXPECT_FALSE(fs.renameFolder(temp / "files/Набор B", temp / "files/Другой")) << "not even an empty folder is replaced";
  EXPECT_FALSE(fs.renameFolder(temp / "files/Набор B", temp / "plain file"));
  EXPECT_FALSE(fs.renameFolder(temp / "files/нет такой", temp / "files/новая"));
  EXPECT_FALSE(fs.renameFolder(temp / "plain file", temp / "files/новая")) << "only folders are renamed";
  EXPECT_EQ(readBytes(temp / "files/Набор B/gign.mdl"), "backup");
  EXPECT_EQ(readBytes(temp / "plain file"), "x");
  EXPECT_FALSE(fs.exists(temp / "files/новая"));

  EXPECT_FALSE(fs.removeFolderIfEmpty(temp / "files/Набор B"));
  EXPECT_TRUE(fs.isFolder(temp / "files/Набор B"));
  EXPECT_TRUE(fs.removeFile(temp / "files/Набор B/gign.mdl"));
  EXPECT_TRUE(fs.removeFolderIfEmpty(temp / "files/Набор B"));
  EXPECT_FALSE(fs.exists(temp / "files/Набор B"));
  EXPECT_FALSE(fs.removeFolderIfEmpty(temp / "files/Набор B"));
  EXPECT_FALSE(fs.removeFile(temp / "files")) << "a folder is no file";
}

TEST(Files, ReadOnlyFilesAreOverwrittenOnceMadeNormal) {
  TempFolder temp;
  auto& fs = files();
  const std::string source = temp / "new/gign.mdl";
  const std::string target = temp / "game/gign.mdl";
  writeBytes(source, "new model");
  writeBytes(target, "original model");
  makeReadOnly(source);
  makeReadOnly(target);
  ASSERT_FALSE(isWritable(target));

  EXPECT_TRUE(fs.setNormal(source));
  EXPECT_TRUE(fs.setNormal(target));
  EXPECT_TRUE(isWritable(target));
  EXPECT_NO_THROW(fs.copyFile(source, target));
  EXPECT_EQ(readBytes(target), "new model");
  EXPECT_TRUE(isWritable(target)) << "the copy of a normal file is normal";
  EXPECT_FALSE(fs.setNormal(temp / "missing.mdl"));
}

TEST(Files, FailedCopySaysWhyAndLeavesTheTarget) {
  TempFolder temp;
  writeBytes(temp / "game/gign.mdl", "original");
  try {
    files().copyFile(temp / "new/missing.mdl", temp / "game/gign.mdl");
    FAIL() << "a missing source was copied";
  } catch (const sys::IoError& error) {
    EXPECT_STRNE(error.what(), "");
  }
  EXPECT_EQ(readBytes(temp / "game/gign.mdl"), "original");
  EXPECT_THROW(files().copyFile(temp / "game/gign.mdl", temp / "no folder/gign.mdl"), sys::IoError);
}

TEST(Files, CyrillicNamesThroughEveryOperation) {
  TempFolder temp;
  auto& fs = files();
  const std::string folder = temp / "Игры/Half-Life/cstrike/models/player/гигн";
  makeFolder(folder);
  const std::string file = folder + sys::kSep + "описание.dat";
  fs.writeLines(file, {"строка"});
  EXPECT_TRUE(fs.exists(file));
  EXPECT_TRUE(fs.isFile(file));
  EXPECT_FALSE(fs.isFolder(file));
  EXPECT_TRUE(fs.isFolder(folder));
  EXPECT_EQ(fs.fileSize(file), 8u) << "six cp1251 bytes and CR LF";
  EXPECT_TRUE(fs.canOpenForReading(file));
  EXPECT_EQ(fs.readLines(file), (std::vector<std::string>{"строка"}));
  EXPECT_NO_THROW(fs.syncFile(file));
  EXPECT_NO_THROW(fs.syncLinks({file}));
  EXPECT_THROW(fs.syncLinks({file, folder + sys::kSep + "нет.dat"}), sys::IoError);

  const std::string copy = folder + sys::kSep + "копия.dat";
  fs.copyFile(file, copy);
  EXPECT_TRUE(fs.sameContent(file, copy));
  fs.appendLine(copy, "ещё");
  EXPECT_FALSE(fs.sameContent(file, copy));
  EXPECT_EQ(entryNames(folder, sys::EntryKind::File), (std::vector<std::string>{"копия.dat", "описание.dat"}));
  EXPECT_EQ(entryNames(temp / "Игры/Half-Life/cstrike/models", sys::EntryKind::Folder),
            (std::vector<std::string>{"player"}));

  fs.writeLines(file, {"новое"}, true);
  EXPECT_EQ(fs.readLines(file), (std::vector<std::string>{"новое"}));
  EXPECT_FALSE(fs.exists(file + ".new")) << "the temporary file is renamed away";
  EXPECT_TRUE(fs.removeFile(copy));
  EXPECT_FALSE(fs.exists(copy));
  EXPECT_FALSE(fs.fileSize(copy).has_value());
}

TEST(Files, WritingWhereNoFileCanBeThrowsTheSystemsText) {
  TempFolder temp;
  auto& fs = files();
  makeFolder(temp / "папка");
  for (const std::string& path : {temp / "нет папки/list.dat", temp / "папка"}) {
    try {
      fs.writeLines(path, {"x"});
      ADD_FAILURE() << "written: " << path;
    } catch (const sys::IoError& error) {
      const std::string text = error.what();
      EXPECT_NE(text.find(path), std::string::npos) << text;
      EXPECT_GT(text.size(), path.size() + 2) << "the system's words come before the path: " << text;
    }
  }
  EXPECT_THROW(fs.readText(temp / "папка"), sys::IoError);
  EXPECT_THROW(fs.createEmpty(temp / "нет папки/x.dat"), sys::IoError);
  EXPECT_THROW(fs.createLineSink(temp / "нет папки/x.dat"), sys::IoError);
  EXPECT_FALSE(fs.canOpenForReading(temp / "папка"));
  EXPECT_FALSE(fs.canOpenForReading(temp / "нет.dat"));
}

// Fails the write under an append half-way, as a disk that fills up would.
class FillingDisk : public sys::FileSystem {
 public:
  void appendBytes(const std::string& path, std::string_view bytes) override {
    FileSystem::appendBytes(path, bytes.substr(0, bytes.size() / 2));
    throw sys::IoError("No space left on device: " + path);
  }
};

TEST(Files, AnAppendStartsOnALineOfItsOwnAndIsThereWholeOrNotAtAll) {
  TempFolder temp;
  const std::string path = temp / "files.dat";
  const struct {
    std::string before, after;
  } cases[] = {
      {"", "x\r\n"},
      {"a\r\n", "a\r\nx\r\n"},
      {"a", "a\r\nx\r\n"},  // a last line without its break is ended, not joined
      {"a\r", "a\r\nx\r\n"},
      {"a\n", "a\nx\r\n"},
  };
  for (const auto& c : cases) {
    writeBytes(path, c.before);
    files().appendLine(path, "x");
    EXPECT_EQ(readBytes(path), c.after) << c.before;
    EXPECT_EQ(files().readLines(path).back(), "x");
  }
  files().appendLines(temp / "new.dat", {"один", "два"});
  EXPECT_EQ(readBytes(temp / "new.dat"), "\xEE\xE4\xE8\xED\r\n\xE4\xE2\xE0\r\n");

  FillingDisk full;
  for (const std::string before : {"", "a\r\n", "a"}) {
    writeBytes(path, before);
    EXPECT_THROW(full.appendLines(path, {"/cs/gign.mdl", "/cs/go.wav"}), sys::IoError);
    EXPECT_EQ(readBytes(path), before) << "no half line stays behind";
  }
}

TEST(Files, AMoveNeverReplacesAndLinksAreToldFromWhatTheyLeadTo) {
  TempFolder temp;
  auto& fs = files();
  writeBytes(temp / "a.mdl", "a");
  writeBytes(temp / "b.mdl", "b");
  EXPECT_FALSE(fs.moveFile(temp / "a.mdl", temp / "b.mdl"));
  EXPECT_EQ(readBytes(temp / "b.mdl"), "b");
  EXPECT_TRUE(fs.moveFile(temp / "a.mdl", temp / "c.mdl"));
  EXPECT_EQ(readBytes(temp / "c.mdl"), "a");
  EXPECT_FALSE(fileExists(temp / "a.mdl"));
  makeFolder(temp / "folder");
  EXPECT_FALSE(fs.moveFile(temp / "folder", temp / "moved")) << "files only";
  EXPECT_FALSE(fs.isLink(temp / "c.mdl"));
  EXPECT_FALSE(fs.isLink(temp / "folder"));
#ifndef _WIN32
  stdfs::create_symlink(sys::toPath(temp / "c.mdl"), sys::toPath(temp / "link.mdl"));
  stdfs::create_directory_symlink(sys::toPath(temp / "folder"), sys::toPath(temp / "linked"));
  EXPECT_TRUE(fs.isLink(temp / "link.mdl"));
  EXPECT_TRUE(fs.isLink(temp / "linked"));
#endif
}

TEST(Folders, EnumerationGivesEveryEntryWithItsKind) {
  TempFolder temp;
  auto& fs = files();
  writeBytes(temp / "game/gign.mdl", "m");
  writeBytes(temp / "game/Звуки/go.wav", "w");
  writeBytes(temp / "game/.hidden.cfg", "h");  // hidden by its name on Linux; an ordinary name on Windows
  EXPECT_EQ(entryNames(temp / "game", sys::EntryKind::File), (std::vector<std::string>{".hidden.cfg", "gign.mdl"}));
  EXPECT_EQ(entryNames(temp / "game", sys::EntryKind::Folder), (std::vector<std::string>{"Звуки"}));
  EXPECT_EQ(entryNames(temp / "game" + sys::kSep, sys::EntryKind::Folder), (std::vector<std::string>{"Звуки"}))
      << "a trailing separator changes nothing";

  const stdfs::path previous = stdfs::current_path();
  stdfs::current_path(sys::toPath(temp / "game"));
  EXPECT_EQ(entryNames("", sys::EntryKind::Folder), (std::vector<std::string>{"Звуки"})) << "no folder: the current one";
  stdfs::current_path(previous);

  int visits = 0;
  fs.enumerate(temp / "missing", [&](const sys::DirEntry&) { ++visits; });
  fs.enumerate(temp / "game/gign.mdl", [&](const sys::DirEntry&) { ++visits; });
  EXPECT_EQ(visits, 0);
}

// The same names in another letter case: Windows finds them (its file system ignores case, Cyrillic
// letters included); a Linux file system does not.
TEST(Names, ExistenceFollowsTheFileSystemsLetterCase) {
  TempFolder temp;
  auto& fs = files();
  writeBytes(temp / "files/Набор/GIGN.mdl", "x");
  EXPECT_TRUE(fs.isFile(temp / "files/Набор/GIGN.mdl"));
#ifdef _WIN32
  constexpr bool kIgnoresCase = true;
#else
  constexpr bool kIgnoresCase = false;
#endif
  for (const char* other : {"FILES/Набор/gign.MDL", "files/НАБОР/GIGN.mdl", "files/набор/gign.mdl"}) {
    EXPECT_EQ(fs.exists(temp / other), kIgnoresCase) << other;
    EXPECT_EQ(fs.isFile(temp / other), kIgnoresCase) << other;
  }
  EXPECT_EQ(fs.isFolder(temp / "Files/НаБоР"), kIgnoresCase);
  EXPECT_FALSE(fs.exists(temp / "files/Набор/GIGN.mdl2"));
}

TEST(Folders, LinksToFoldersAreToldApartAndNeverFollowedAsFolders) {
#ifdef _WIN32
  GTEST_SKIP() << "links are made here as on Linux; on Windows making one needs a privilege the tests do not have";
#endif
  TempFolder temp;
  makeFolder(temp / "game/models");
  writeBytes(temp / "target/a.mdl", "a");
  stdfs::create_directory_symlink(sys::toPath(temp / "target"), sys::toPath(temp / "game/linked"));
  stdfs::create_symlink(sys::toPath(temp / "target/a.mdl"), sys::toPath(temp / "game/a-link.mdl"));
  stdfs::create_symlink(sys::toPath(temp / "nowhere"), sys::toPath(temp / "game/dangling"));
  EXPECT_EQ(entryNames(temp / "game", sys::EntryKind::Folder), (std::vector<std::string>{"models"}));
  EXPECT_EQ(entryNames(temp / "game", sys::EntryKind::FolderLink), (std::vector<std::string>{"linked"}));
  EXPECT_EQ(entryNames(temp / "game", sys::EntryKind::File), (std::vector<std::string>{"a-link.mdl"}));
  EXPECT_EQ(entryNames(temp / "game", sys::EntryKind::Other), (std::vector<std::string>{"dangling"}));
}

}  // namespace

namespace {

// One real folder has one identity whatever path spells it; it is how the scan knows a folder it has
// been in already.
TEST(Folders, IdentityIsTheRealFolderWhateverThePath) {
  TempFolder temp;
  makeFolder(temp / "game/models");
  makeFolder(temp / "game/sound");
  writeBytes(temp / "game/a.mdl", "a");
  const std::string sep = sys::kSep;
  const auto models = files().folderIdentity(temp / "game/models");
  ASSERT_TRUE(models);
  struct Case {
    std::string path;
    bool same;
  };
  const Case cases[] = {
      {temp / "game/models" + sep, true},
      {temp / "game/sound/../models", true},
      {temp / "game/./models", true},
      {temp / "game/sound", false},
      {temp / "game", false},
  };
  for (const auto& c : cases) {
    const auto identity = files().folderIdentity(c.path);
    ASSERT_TRUE(identity) << c.path;
    EXPECT_EQ(*identity == *models, c.same) << c.path;
  }
  EXPECT_FALSE(files().folderIdentity(temp / "game/a.mdl")) << "a file is no folder";
  EXPECT_FALSE(files().folderIdentity(temp / "game/missing"));
#ifndef _WIN32
  stdfs::create_directory_symlink(sys::toPath(temp / "game/models"), sys::toPath(temp / "linked"));
  EXPECT_EQ(files().folderIdentity(temp / "linked"), models) << "a link leads to the folder itself";
#endif
}

}  // namespace

namespace {

TEST(Files, TextIsReadWholeAcrossBlocksEmptyAndFromAPipe) {
  TempFolder temp;
  std::string big;
  for (int i = 0; big.size() < (5u << 19); ++i) big += "\xF1\xF2\xF0\xEE\xEA\xE0 " + std::to_string(i) + "\r\n";
  writeBytes(temp / "big.dat", big);
  EXPECT_EQ(files().readText(temp / "big.dat"), big) << "more than two blocks, byte for byte";
  writeBytes(temp / "empty.dat", "");
  EXPECT_EQ(files().readText(temp / "empty.dat"), "");
#ifndef _WIN32
  // A file without positions is read from its start all the same.
  const std::string pipe = temp / "pipe";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  std::thread writer([&] { std::ofstream(pipe, std::ios::binary) << "through a pipe\r\n"; });
  EXPECT_EQ(files().readText(pipe), "through a pipe\r\n");
  writer.join();
#endif
}

}  // namespace
