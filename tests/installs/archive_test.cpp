// The archive reader on archives the tests make themselves.
#include <gtest/gtest.h>

#include <filesystem>

#include "installs/archive.h"
#include "installs/support/archive_maker.h"
#include "support/temp_folder.h"
#include "sys/error.h"

namespace {

using archive_testing::Entry;
using archive_testing::Format;
using archive_testing::file;
using installs::ArchiveOutcome;
using testing_support::readBytes;
using testing_support::TempFolder;

std::vector<std::string> paths(const installs::ArchiveListing& listing) {
  std::vector<std::string> out;
  for (const auto& entry : listing.files) out.push_back(entry.path);
  return out;
}

// Every listed entry unpacked below folder by its own path.
installs::UnpackResult unpackAll(const std::string& archive, const installs::ArchiveListing& listing,
                                 const std::string& folder, std::uint64_t allowance = UINT64_MAX) {
  std::vector<installs::UnpackTarget> targets;
  for (const auto& entry : listing.files) targets.push_back({entry.index, folder + "/" + entry.path});
  return installs::unpackArchive(archive, targets, allowance, [](std::size_t) {});
}

std::vector<std::string> filesBelow(const std::string& folder) {
  std::vector<std::string> out;
  for (const auto& item : std::filesystem::recursive_directory_iterator(folder)) {
    if (!item.is_directory()) out.push_back(std::filesystem::relative(item.path(), folder).generic_string());
  }
  std::sort(out.begin(), out.end());
  return out;
}

TEST(ArchiveReader, EveryFormatListsNestedFilesInOrderAndUnpacksThemByteForByte) {
  const std::vector<Entry> entries = {
      {"models/", "", Entry::Kind::Folder, ""},
      file("models/player/gign/gign.mdl", std::string(300000, 'g') + "end"),
      file("./sound/radio/go.wav", "go"),
      file("readme.txt", ""),
  };
  for (const auto& [format, name] : {std::pair{Format::Zip, "pack.zip"}, {Format::SevenZip, "pack.7z"},
                                     {Format::TarGz, "pack.tar.gz"}, {Format::TarXz, "pack.tar.xz"}}) {
    SCOPED_TRACE(name);
    TempFolder temp;
    const std::string archive = temp / name;
    archive_testing::makeArchive(archive, format, entries);
    const auto listing = installs::listArchive(archive, 100);
    ASSERT_EQ(listing.outcome, ArchiveOutcome::Read) << listing.error;
    EXPECT_EQ(paths(listing), (std::vector<std::string>{"models/player/gign/gign.mdl", "sound/radio/go.wav", "readme.txt"}));
    EXPECT_EQ(listing.files[0].size, 300003u);
    EXPECT_EQ(listing.skipped, 0u);
    std::size_t lastProgress = 0;
    std::vector<installs::UnpackTarget> targets = {{listing.files[0].index, temp / "out/a/gign.mdl"},
                                                   {listing.files[2].index, temp / "out/readme.txt"}};
    const auto result = installs::unpackArchive(archive, targets, UINT64_MAX, [&](std::size_t done) { lastProgress = done; });
    ASSERT_EQ(result.outcome, ArchiveOutcome::Read) << result.error;
    EXPECT_EQ(lastProgress, 2u);
    EXPECT_EQ(readBytes(temp / "out/a/gign.mdl"), entries[1].bytes);
    EXPECT_EQ(filesBelow(temp / "out"), (std::vector<std::string>{"a/gign.mdl", "readme.txt"})) << "only what was asked";
  }
}

TEST(ArchiveReader, CyrillicZipNamesReadInCp866WithoutTheUtf8FlagAndAsUtf8WithIt) {
  for (const auto& [format, flagged] : {std::pair{Format::Zip, true}, {Format::ZipCp866, false}}) {
    TempFolder temp;
    const std::string archive = temp / "скины.zip";
    archive_testing::makeArchive(archive, format, {file("модели/гигн.mdl", "x"), file("ЁЖИК.wav", "y")});
    for (const std::uint16_t flags : archive_testing::zipEntryFlags(archive)) {
      EXPECT_EQ((flags & 0x800) != 0, flagged) << "the archive is not made as the case needs";
    }
    const auto listing = installs::listArchive(archive, 100);
    ASSERT_EQ(listing.outcome, ArchiveOutcome::Read) << listing.error;
    EXPECT_EQ(paths(listing), (std::vector<std::string>{"модели/гигн.mdl", "ЁЖИК.wav"})) << flagged;
  }
}

TEST(ArchiveReader, UnsafeEntriesAreSkippedCountedAndNeverWritten) {
  const std::vector<Entry> entries = {
      file("../../evil.mdl", "evil"),
      file("/tmp/absolute.mdl", "evil"),
      file("C:/drive.mdl", "evil"),
      file("line\nbreak.mdl", "evil"),
      file("models/..\\..\\back.mdl", "evil"),
      {"link.mdl", "", Entry::Kind::Symlink, "/etc/passwd"},
      file("models/ok.mdl", "ok"),
  };
  for (const auto& [format, name] : {std::pair{Format::Zip, "bad.zip"}, {Format::TarGz, "bad.tar.gz"}}) {
    SCOPED_TRACE(name);
    TempFolder temp;
    const std::string archive = temp / name;
    std::vector<Entry> all = entries;
    if (format == Format::TarGz) {  // links of every kind and a FIFO: tar holds them
      all.push_back({"hard.mdl", "", Entry::Kind::Hardlink, "models/ok.mdl"});
      all.push_back({"fifo.mdl", "", Entry::Kind::Fifo, ""});
    }
    archive_testing::makeArchive(archive, format, all);
    const auto listing = installs::listArchive(archive, 100);
    ASSERT_EQ(listing.outcome, ArchiveOutcome::Read) << listing.error;
    EXPECT_EQ(paths(listing), std::vector<std::string>{"models/ok.mdl"});
    EXPECT_EQ(listing.skipped, all.size() - 1);
    testing_support::makeFolder(temp / "deep/er/out");
    ASSERT_EQ(unpackAll(archive, listing, temp / "deep/er/out").outcome, ArchiveOutcome::Read);
    EXPECT_EQ(filesBelow(temp.path()), (std::vector<std::string>{name, "deep/er/out/models/ok.mdl"}));
  }
}

TEST(ArchiveReader, DamagedEncryptedAndForeignFilesAreRefusedWithTheLibrarysText) {
  TempFolder temp;
  const std::string big(200000, 'z');
  struct Case {
    const char* name;
    Format format;
    std::string password;
    std::size_t divisor;  // the archive cut to its size divided by this (0: whole)
    ArchiveOutcome outcome;
  };
  const Case cases[] = {
      {"cut.zip", Format::Zip, "", 2, ArchiveOutcome::Unreadable},
      {"cut.7z", Format::SevenZip, "", 2, ArchiveOutcome::Unreadable},
      {"cut.tar.gz", Format::TarGz, "", 2, ArchiveOutcome::Unreadable},
      {"locked.zip", Format::Zip, "secret", 0, ArchiveOutcome::Encrypted},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string archive = temp / c.name;
    // Random-looking data, so the cut falls inside the compressed stream.
    std::string noise;
    for (std::uint32_t x = 1; noise.size() < big.size(); x = x * 1103515245 + 12345) noise += static_cast<char>(x >> 16);
    archive_testing::makeArchive(archive, c.format, {file("a/one.mdl", noise), file("two.mdl", "2")}, c.password);
    if (c.divisor != 0) std::filesystem::resize_file(archive, std::filesystem::file_size(archive) / c.divisor);
    const auto listing = installs::listArchive(archive, 100);
    ArchiveOutcome outcome = listing.outcome;
    std::string error = listing.error;
    if (outcome == ArchiveOutcome::Read) {  // a cut that spares the headers shows when the data is read
      const auto result = unpackAll(archive, listing, temp / (std::string(c.name) + ".out"));
      outcome = result.outcome;
      error = result.error;
    }
    EXPECT_EQ(outcome, c.outcome);
    if (c.outcome == ArchiveOutcome::Unreadable) {
      EXPECT_FALSE(error.empty());
    }
  }
  testing_support::writeBytes(temp / "notes.zip", "not an archive at all");
  const auto foreign = installs::listArchive(temp / "notes.zip", 100);
  EXPECT_EQ(foreign.outcome, ArchiveOutcome::Unreadable);
  EXPECT_EQ(foreign.error, "Unrecognized archive format");
  EXPECT_EQ(installs::listArchive(temp / "missing.zip", 100).outcome, ArchiveOutcome::Unreadable);
}

TEST(ArchiveReader, AnEntryGivingMoreThanItsRecordedSizeOrTheAllowanceStopsBeforeTheDiskGetsIt) {
  TempFolder temp;
  const std::string archive = temp / "bomb.zip";
  archive_testing::makeArchive(archive, Format::Zip, {file("small.mdl", "s"), file("big.mdl", std::string(1 << 20, '\0'))});
  const std::string honest = temp / "honest.zip";
  std::filesystem::copy_file(archive, honest);
  archive_testing::understateZipSizes(archive, 1000);
  const auto listing = installs::listArchive(archive, 100);
  ASSERT_EQ(listing.outcome, ArchiveOutcome::Read) << listing.error;
  ASSERT_EQ(listing.files.size(), 2u);
  EXPECT_EQ(listing.files[1].size, 1000u);
  testing_support::makeFolder(temp / "out");
  const auto bomb = unpackAll(archive, listing, temp / "out");
  EXPECT_EQ(bomb.outcome, ArchiveOutcome::Bomb);
  EXPECT_EQ(bomb.entry, "big.mdl");
  EXPECT_LE(std::filesystem::file_size(temp / "out/big.mdl"), 1000u);

  // Honest sizes, but more than may be written in all.
  const auto fair = installs::listArchive(honest, 100);
  testing_support::makeFolder(temp / "out2");
  EXPECT_EQ(unpackAll(honest, fair, temp / "out2", 300000).outcome, ArchiveOutcome::NoSpace);
  EXPECT_LE(std::filesystem::file_size(temp / "out2/big.mdl"), 300000u);
  EXPECT_EQ(unpackAll(honest, fair, temp / "out2", (1 << 20) + 1).outcome, ArchiveOutcome::Read);
}

TEST(ArchiveReader, ListingStopsAtTheLimitAndSaysThereIsMore) {
  TempFolder temp;
  archive_testing::makeArchive(temp / "three.zip", Format::Zip, {file("a", "1"), file("b", "2"), file("c", "3")});
  const auto listing = installs::listArchive(temp / "three.zip", 2);
  EXPECT_EQ(paths(listing), (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(listing.moreThanLimit);
  EXPECT_FALSE(installs::listArchive(temp / "three.zip", 3).moreThanLimit);
}

}  // namespace
