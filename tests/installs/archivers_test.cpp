// Archives read with an archiver of the player's machine: the three listing formats, and listing and
// unpacking through stand-ins that answer as tar.exe, 7z.exe and UnRAR.exe do.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "installs/archivers.h"
#include "support/temp_folder.h"
#include "sys/encoding.h"
#include "sys/paths.h"

namespace {

namespace archivers = installs::archivers;
using archivers::Kind;
using archivers::ToolEntry;
using installs::ArchiveOutcome;
using testing_support::fileExists;
using testing_support::folderExists;
using testing_support::readBytes;
using testing_support::writeBytes;

std::string fixture(const std::string& name) {
  return readBytes(sys::executableFolder() + testing_support::native("fixtures/archivers/" + name));
}

std::string standIns() { return sys::executableFolder() + "archivers" + sys::kSep; }

archivers::Archiver standIn(Kind kind) {
  switch (kind) {
    case Kind::Tar: return {kind, standIns() + "System32" + sys::kSep + "tar.exe"};
    case Kind::SevenZip: return {kind, standIns() + "7-Zip" + sys::kSep + "7z.exe"};
    case Kind::UnRar: return {kind, standIns() + "WinRAR" + sys::kSep + "UnRAR.exe"};
  }
  return {kind, ""};
}

// The recorded listings of the fixture pack, as each archiver prints them.
TEST(ArchiverListings, TheRecordedListingsOfThePackReadAlikeInEveryFormat) {
  const auto tar = archivers::parseTarListing(archivers::decodeOutput(fixture("pack.tar.txt"), Kind::Tar));
  const auto sevenZip = archivers::parseSevenZipListing(archivers::decodeOutput(fixture("pack.7z.slt.txt"), Kind::SevenZip));
  const auto rar = archivers::parseSevenZipListing(archivers::decodeOutput(fixture("pack.rar.slt.txt"), Kind::SevenZip));
  const auto unrar = archivers::parseUnrarListing(archivers::decodeOutput(fixture("pack.rar.vt.txt"), Kind::UnRar),
                                                  archivers::decodeOutput(fixture("pack.rar.lb.txt"), Kind::UnRar));
  for (const auto* listing : {&tar, &sevenZip, &rar, &unrar}) {
    SCOPED_TRACE(listing->error);
    ASSERT_TRUE(listing->parsed);
    std::vector<std::string> files;
    std::size_t folders = 0;
    for (const auto& entry : listing->entries) {
      if (entry.type == ToolEntry::Type::Folder) ++folders;
      if (entry.type != ToolEntry::Type::File) continue;
      std::string name = entry.name;
      std::replace(name.begin(), name.end(), '\\', '/');
      files.push_back(name + " " + std::to_string(entry.size.value_or(99)));
    }
    EXPECT_EQ(folders, 5u);
    EXPECT_EQ(files, (std::vector<std::string>{"models/player/gign/gign.mdl 8", "models/player/gign/Описание.txt 4",
                                                "sound/radio/go.wav 6", "readme.txt 20"}));
  }
}

TEST(ArchiverListings, WhatCannotBeReadWhollyRefusesTheArchiveAndLinksAreKnown) {
  const std::string tarLine = "-rw-r--r--  0 0      0           8 Mar 14  2024 models/gign.mdl\n";
  const std::string sevenZipHead = "7-Zip\n\n--\nPath = pack.7z\nType = 7z\n\n----------\n";
  const std::string vtBlock = "        Name: gign.mdl\n        Type: File\n        Size: 8\n Compression: RAR 5.0\n";
  struct Case {
    const char* what;
    Kind kind;
    std::string text, bare;
    bool parsed;
    ToolEntry::Type type = ToolEntry::Type::File;
  };
  const std::vector<Case> cases = {
      {"tar: cut in a line", Kind::Tar, tarLine + tarLine.substr(0, 30), "", false},
      {"tar: a line that is no entry", Kind::Tar, tarLine + "tar: Error opening archive\n", "", false},
      {"tar: a size that is no number", Kind::Tar, "-rw-r--r--  0 0 0 8k Mar 14  2024 a.mdl\n", "", false},
      {"tar: a bad escape", Kind::Tar, "-rw-r--r--  0 0 0 8 Mar 14  2024 a\\q.mdl\n", "", false},
      {"tar: a symbolic link", Kind::Tar, "lrwxr-xr-x  0 0 0 0 Mar 14  2024 gign.mdl -> /etc/passwd\n", "", true,
       ToolEntry::Type::Link},
      {"tar: a hard link", Kind::Tar, "hrw-r--r--  0 0 0 0 Mar 14 12:00 gign.mdl link to x.mdl\n", "", true,
       ToolEntry::Type::Link},
      {"tar: a device", Kind::Tar, "crw-r--r--  0 0 0 1,3 Mar 14  2024 gign.mdl\n", "", true, ToolEntry::Type::Other},
      {"7z: an entry not ended", Kind::SevenZip, sevenZipHead + "Path = gign.mdl\nSize = 8\n", "", false},
      {"7z: no entries part", Kind::SevenZip, "7-Zip\nPath = gign.mdl\nSize = 8\n\n", "", false},
      {"7z: a file without its size", Kind::SevenZip, sevenZipHead + "Path = gign.mdl\nAttributes = A\n\n", "", false},
      {"7z: a line that is no property", Kind::SevenZip, sevenZipHead + "Path = gign.mdl\nSize = 8\nWarning\n\n", "",
       false},
      {"7z: a symbolic link", Kind::SevenZip, sevenZipHead + "Path = gign.mdl\nSize = 9\nSymbolic Link = ../x\n\n", "",
       true, ToolEntry::Type::Link},
      {"7z: a Unix link by its mode", Kind::SevenZip, sevenZipHead + "Path = gign.mdl\nSize = 9\nAttributes = A lrwxrwxrwx\n\n",
       "", true, ToolEntry::Type::Link},
      {"7z: a reparse point", Kind::SevenZip, sevenZipHead + "Path = gign.mdl\nSize = 9\nAttributes = AL\n\n", "", true,
       ToolEntry::Type::Link},
      {"unrar: the bare listing has more", Kind::UnRar, vtBlock, "gign.mdl\ngo.wav\n", false},
      {"unrar: an entry cut before its end", Kind::UnRar, "        Name: gign.mdl\n        Type: File\n        Size: 8\n",
       "gign.mdl\n", false},
      {"unrar: a file without its size", Kind::UnRar, "        Name: gign.mdl\n        Type: File\n Compression: x\n",
       "gign.mdl\n", false},
      {"unrar: a junction", Kind::UnRar,
       "        Name: gign.mdl\n        Type: NTFS junction point\n      Target: C:\\Windows\n Compression: x\n",
       "gign.mdl\n", true, ToolEntry::Type::Link},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    archivers::ToolListing listing;
    if (c.kind == Kind::Tar) listing = archivers::parseTarListing(c.text);
    if (c.kind == Kind::SevenZip) listing = archivers::parseSevenZipListing(c.text);
    if (c.kind == Kind::UnRar) listing = archivers::parseUnrarListing(c.text, c.bare);
    EXPECT_EQ(listing.parsed, c.parsed) << listing.error;
    if (c.parsed && listing.parsed) {
      ASSERT_EQ(listing.entries.size(), 1u);
      EXPECT_EQ(listing.entries[0].name, "gign.mdl");
      EXPECT_EQ(listing.entries[0].type, c.type);
    }
  }
}

TEST(ArchiverListings, OutputIsReadInTheToolsUnicodeOrElseItsCodePage) {
  EXPECT_EQ(archivers::decodeOutput(std::string("\xFF\xFE\x1E\x04\x0A\x00", 6), Kind::UnRar), "О\n");
  EXPECT_EQ(archivers::decodeOutput("Описание", Kind::SevenZip), "Описание");
  EXPECT_EQ(archivers::decodeOutput("\xCE\xEF", Kind::Tar), "Оп");    // cp1251
  EXPECT_EQ(archivers::decodeOutput("\x8E\xAF", Kind::UnRar), "Оп");  // cp866
}

// A pack as the player downloaded it: the archive (the stand-in's directives), the recorded listings
// beside it, and the entries' bytes the stand-in unpacks from.
class ArchiverStandIns : public testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"pack.tar.txt", "pack.7z.slt.txt", "pack.rar.slt.txt", "pack.rar.vt.txt", "pack.rar.lb.txt"}) {
      writeBytes(temp / ("downloads/" + std::string(name)), fixture(name));
    }
    writeBytes(temp / "downloads/pack/models/player/gign/gign.mdl", "new gign");
    writeBytes(temp / "downloads/pack/models/player/gign/Описание.txt", "text");
    writeBytes(temp / "downloads/pack/sound/radio/go.wav", "new go");
    writeBytes(temp / "downloads/pack/readme.txt", "not a game file here");
    testing_support::makeFolder(temp / "work");
  }
  std::string archive(const std::string& extra = "") {
    const std::string path = temp / "downloads/pack.rar";
    writeBytes(path, "listing.tar=pack.tar.txt\nlisting.7z=pack.rar.slt.txt\nlisting.unrar=pack.rar.vt.txt\n"
                     "bare.unrar=pack.rar.lb.txt\nsource=pack\n" + extra);
    return path;
  }
  archivers::Limits quick() const {
    archivers::Limits limits;
    limits.listTimeoutMs = limits.unpackTimeoutMs = 1500;
    return limits;
  }
  // Unpacks gign.mdl and go.wav as the dialog asks for them.
  installs::UnpackResult unpackPack(const std::vector<archivers::Archiver>& tools, const std::string& path,
                                    const installs::ArchiveListing& listing) {
    std::vector<installs::UnpackTarget> targets;
    for (const auto& file : listing.files) {
      if (file.path.ends_with(".mdl") || file.path.ends_with(".wav")) {
        targets.push_back({file.index, temp / ("work/files/" + file.path)});
      }
    }
    return archivers::unpack(tools, path, targets, UINT64_MAX, temp / "work", [](std::size_t) {}, quick());
  }
  testing_support::TempFolder temp;
};

TEST_F(ArchiverStandIns, EachArchiverListsAndUnpacksThePackByteForByte) {
  for (const Kind kind : {Kind::Tar, Kind::SevenZip, Kind::UnRar}) {
    SCOPED_TRACE(standIn(kind).program);
    std::filesystem::remove_all(sys::toPath(temp / "work/files"));
    const std::string path = archive();
    const auto listing = archivers::list({standIn(kind)}, path, 100, quick());
    ASSERT_EQ(listing.outcome, ArchiveOutcome::Read) << listing.error;
    ASSERT_EQ(listing.files.size(), 4u);
    EXPECT_EQ(listing.files[0].path, "models/player/gign/gign.mdl");
    EXPECT_EQ(listing.files[1].path, "models/player/gign/Описание.txt");
    EXPECT_EQ(listing.files[0].size, 8u);
    const auto result = unpackPack({standIn(kind)}, path, listing);
    ASSERT_EQ(result.outcome, ArchiveOutcome::Read) << result.error;
    EXPECT_EQ(readBytes(temp / "work/files/models/player/gign/gign.mdl"), "new gign");
    EXPECT_EQ(readBytes(temp / "work/files/sound/radio/go.wav"), "new go");
    EXPECT_FALSE(folderExists(temp / "work/archiver"));
  }
}

TEST_F(ArchiverStandIns, TheProgressFollowsTheFilesWhileTheArchiverStillRuns) {
  const std::string path = archive("extract_pause_ms=500\n");
  auto limits = quick();
  limits.unpackTimeoutMs = 10'000;
  const auto listing = archivers::list({standIn(Kind::SevenZip)}, path, 100, quick());
  std::vector<installs::UnpackTarget> targets;
  for (const auto& file : listing.files) {
    if (file.path.ends_with(".mdl") || file.path.ends_with(".wav")) targets.push_back({file.index, temp / ("files/" + file.path)});
  }
  std::vector<std::size_t> seen;
  const auto result = archivers::unpack({standIn(Kind::SevenZip)}, path, targets, UINT64_MAX, temp / "work",
                                        [&](std::size_t done) { seen.push_back(done); }, limits);
  ASSERT_EQ(result.outcome, ArchiveOutcome::Read) << result.error;
  // The first file is counted while the archiver pauses after it; the last once it is over.
  EXPECT_EQ(seen, (std::vector<std::size_t>{1, 2})) << "while it ran, then when the files were taken";
}

TEST_F(ArchiverStandIns, TheFirstArchiverThatListsTheArchiveIsUsedAndNoneSaysWhatToInstall) {
  // tar cannot read this one; 7-Zip can.
  const std::string path = temp / "downloads/pack.7z";
  writeBytes(path, "listing.7z=pack.7z.slt.txt\nsource=pack\n");
  const std::vector<archivers::Archiver> all = {standIn(Kind::Tar), standIn(Kind::SevenZip), standIn(Kind::UnRar)};
  const auto listing = archivers::list(all, path, 100, quick());
  ASSERT_EQ(listing.outcome, ArchiveOutcome::Read) << listing.error;
  EXPECT_EQ(unpackPack(all, path, listing).outcome, ArchiveOutcome::Read);
  EXPECT_EQ(readBytes(path + ".calls").find("-tvf"), 0u);  // tar was asked first

  EXPECT_EQ(archivers::list({}, path, 100, quick()).outcome, ArchiveOutcome::NoReader);
  // Only UnRAR, which reads no 7z: refused, with its words for the log.
  const auto unrar = archivers::list({standIn(Kind::UnRar)}, path, 100, quick());
  EXPECT_EQ(unrar.outcome, ArchiveOutcome::Unreadable);
  EXPECT_NE(unrar.error.find("UnRAR.exe: exit code 2"), std::string::npos) << unrar.error;
}

TEST_F(ArchiverStandIns, HostileListingsAreRefusedOrTheirEntriesLeftOut) {
  const std::string tarHead = "-rw-r--r--  0 0      0           8 Mar 14  2024 ";
  struct Case {
    const char* what;
    std::string listing;
    std::string directives;
    ArchiveOutcome outcome;
    std::size_t files, skipped;
  };
  const std::vector<Case> cases = {
      {"a name with ..", tarHead + "../../gign.mdl\n" + tarHead + "sound/go.wav\n", "", ArchiveOutcome::Read, 1, 1},
      {"a drive letter", tarHead + "C:/Windows/gign.mdl\n" + tarHead + "sound/go.wav\n", "", ArchiveOutcome::Read, 1, 1},
      {"a name the tool would take for a switch", tarHead + "-rf.mdl\n" + tarHead + "go.wav\n", "", ArchiveOutcome::Read, 1, 1},
      {"a link entry", "lrwxr-xr-x  0 0 0 0 Mar 14  2024 gign.mdl -> C:/x\n" + tarHead + "go.wav\n", "",
       ArchiveOutcome::Read, 1, 1},
      {"output cut short", tarHead + "gign.mdl\n" + tarHead.substr(0, 20), "", ArchiveOutcome::Unreadable, 0, 0},
      {"a tool that exits non-zero", tarHead + "gign.mdl\n", "exit=1\n", ArchiveOutcome::Unreadable, 0, 0},
      {"a tool that hangs", "", "hang=1\n", ArchiveOutcome::Unreadable, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    writeBytes(temp / "downloads/hostile.txt", c.listing);
    const std::string path = temp / "downloads/hostile.rar";
    writeBytes(path, "listing.tar=hostile.txt\n" + c.directives);
    const auto listing = archivers::list({standIn(Kind::Tar)}, path, 100, quick());
    EXPECT_EQ(listing.outcome, c.outcome) << listing.error;
    EXPECT_EQ(listing.files.size(), c.files);
    EXPECT_EQ(listing.skipped, c.skipped);
  }
}

TEST_F(ArchiverStandIns, AnArchiverThatMisbehavesWhileUnpackingIsCaughtAndNothingOutsideIsTouched) {
  const std::string outside = temp / "outside/keep.mdl";
  writeBytes(outside, "the player's own");
  struct Case {
    const char* what;
    std::string directives;
    ArchiveOutcome outcome;
  };
  const std::vector<Case> cases = {
      {"writes beside its folder", "escape=../escaped.mdl\n", ArchiveOutcome::Unreadable},
      {"exits non-zero", "extract_exit=2\n", ArchiveOutcome::Unreadable},
      {"hangs", "extract_hang=1\n", ArchiveOutcome::Unreadable},
      {"gives an entry longer than listed", "source=long\n", ArchiveOutcome::Bomb},
  };
  writeBytes(temp / "downloads/long/models/player/gign/gign.mdl", "new gign and more");
  writeBytes(temp / "downloads/long/sound/radio/go.wav", "new go");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove_all(sys::toPath(temp / "work"));
    testing_support::makeFolder(temp / "work");
    const std::string path = archive(c.directives);
    const auto listing = archivers::list({standIn(Kind::SevenZip)}, path, 100, quick());
    ASSERT_EQ(listing.outcome, ArchiveOutcome::Read);
    EXPECT_EQ(unpackPack({standIn(Kind::SevenZip)}, path, listing).outcome, c.outcome);
    EXPECT_FALSE(fileExists(temp / "work/files/models/player/gign/gign.mdl"));
  }
  EXPECT_EQ(readBytes(outside), "the player's own");

  // A link it makes is removed and counted, and what it leads to stays.
  std::filesystem::remove_all(sys::toPath(temp / "work"));
  testing_support::makeFolder(temp / "work");
  const std::string path = archive("link=models/player/gign/evil.mdl\nlink_target=" + outside + "\n");
  const auto listing = archivers::list({standIn(Kind::SevenZip)}, path, 100, quick());
  const auto result = unpackPack({standIn(Kind::SevenZip)}, path, listing);
  if (readBytes(path + ".calls").find("link: made") == std::string::npos) {
    GTEST_SKIP() << "this system made no symbolic link for the stand-in";
  }
  EXPECT_EQ(result.outcome, ArchiveOutcome::Read) << result.error;
  EXPECT_EQ(result.removed, 1u);
  EXPECT_EQ(readBytes(temp / "work/files/models/player/gign/gign.mdl"), "new gign");
  EXPECT_EQ(readBytes(outside), "the player's own");
  EXPECT_FALSE(folderExists(temp / "work/archiver"));
}

TEST_F(ArchiverStandIns, APasswordIsRefusedAsSuch) {
  const std::string encrypted = readBytes(temp / "downloads/pack.7z.slt.txt");
  std::string text = encrypted;
  for (std::size_t at = 0; (at = text.find("Encrypted = -", at)) != std::string::npos;) text.replace(at, 13, "Encrypted = +");
  writeBytes(temp / "downloads/locked.txt", text);
  const std::string path = temp / "downloads/locked.7z";
  writeBytes(path, "listing.7z=locked.txt\n");
  EXPECT_EQ(archivers::list({standIn(Kind::SevenZip)}, path, 100, quick()).outcome, ArchiveOutcome::Encrypted);
}

TEST_F(ArchiverStandIns, ArchiversAreFoundWhereTheirInstallationsPutThem) {
  archivers::Places places;
  places.systemFolder = temp / "no-windows";
  places.sevenZipFolders = {temp / "gone", standIns() + "7-Zip"};
  places.winRarFolders = {standIns() + "WinRAR"};
  auto found = archivers::find(places);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].kind, Kind::SevenZip);
  EXPECT_EQ(found[0].program, standIn(Kind::SevenZip).program);
  EXPECT_EQ(found[1].kind, Kind::UnRar);
  places.systemFolder = standIns() + "System32";
  found = archivers::find(places);
  ASSERT_EQ(found.size(), 3u);
  EXPECT_EQ(found[0].kind, Kind::Tar);
}

#ifndef _WIN32
// The real tools of this machine, where it has them (the test set-up installs Debian's bsdtar and 7-Zip):
// archives they make of the pack are listed and unpacked through them as on Windows, so the parsers
// meet what the tools really print, names in Cyrillic and dates of this year and of others included.
TEST_F(ArchiverStandIns, TheRealBsdtarAnd7ZipListAndUnpackWhatTheyPacked) {
  std::vector<archivers::Archiver> tools;
  for (const auto& [kind, program] : {std::pair{Kind::Tar, "/usr/bin/bsdtar"}, {Kind::SevenZip, "/usr/bin/7zz"},
                                      {Kind::SevenZip, "/usr/bin/7z"}}) {
    if (fileExists(program) && (tools.empty() || tools.back().kind != kind)) tools.push_back({kind, program});
  }
  if (tools.size() < 2) GTEST_SKIP() << "bsdtar or 7-Zip is not installed";
  // bsdtar refuses to print a Cyrillic name in the C locale.
  const char* before = std::getenv("LC_ALL");
  const std::optional<std::string> saved = before ? std::optional<std::string>(before) : std::nullopt;
  setenv("LC_ALL", "C.UTF-8", 1);
  struct Restore {
    const std::optional<std::string>& value;
    ~Restore() { value ? setenv("LC_ALL", value->c_str(), 1) : unsetenv("LC_ALL"); }
  } restoreLocale{saved};
  const std::string pack = temp / "downloads/pack";
  std::filesystem::last_write_time(sys::toPath(pack + "/sound/radio/go.wav"),
                                   std::filesystem::last_write_time(sys::toPath(pack + "/readme.txt")) -
                                       std::chrono::hours(24 * 400));
  const std::string tar = temp / "downloads/real.tar", sevenZip = temp / "downloads/real.7z";
  ASSERT_EQ(std::system(("cd '" + pack + "' && /usr/bin/bsdtar -cf '" + tar + "' models sound readme.txt && '" +
                         tools[1].program + "' a -bd -bso0 '" + sevenZip + "' models sound readme.txt")
                            .c_str()),
            0);
  for (const auto& tool : tools) {
    for (const std::string& archive : {tar, sevenZip}) {
      SCOPED_TRACE(tool.program + " " + archive);
      std::filesystem::remove_all(sys::toPath(temp / "work"));
      testing_support::makeFolder(temp / "work");
      const auto listing = archivers::list({tool}, archive, 100, quick());
      ASSERT_EQ(listing.outcome, ArchiveOutcome::Read) << listing.error;
      std::vector<std::string> files;
      for (const auto& file : listing.files) files.push_back(file.path + " " + std::to_string(file.size.value_or(99)));
      std::sort(files.begin(), files.end());
      EXPECT_EQ(files, (std::vector<std::string>{"models/player/gign/gign.mdl 8", "models/player/gign/Описание.txt 4",
                                                  "readme.txt 20", "sound/radio/go.wav 6"}));
      const auto result = unpackPack({tool}, archive, listing);
      ASSERT_EQ(result.outcome, ArchiveOutcome::Read) << result.error;
      EXPECT_EQ(readBytes(temp / "work/files/models/player/gign/gign.mdl"), "new gign");
      EXPECT_EQ(readBytes(temp / "work/files/sound/radio/go.wav"), "new go");
    }
  }
}
#endif

}  // namespace
