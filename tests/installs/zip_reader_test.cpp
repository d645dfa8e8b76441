#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <optional>

#include "installs/archive.h"
#include "installs/zip_reader.h"
#include "support/temp_folder.h"
#ifdef VARNIKIT_TEST_WITH_LIBARCHIVE
#include "installs/support/archive_maker.h"
#endif

namespace {

using installs::ArchiveListing;
using installs::ArchiveOutcome;
using testing_support::readBytes;
using testing_support::TempFolder;

// Zips written byte by byte here, so every field the reader looks at can be set: raw name bytes, the
// UTF-8 flag, the encryption flag, a Unix mode, an understated size, zip64 records.
struct ZipEntry {
  ZipEntry(std::string storedName, std::string content) : name(std::move(storedName)), bytes(std::move(content)) {}
  ZipEntry& stored() { return deflate = false, *this; }
  ZipEntry& flaggedUtf8() { return utf8 = true, *this; }
  ZipEntry& locked() { return encrypted = true, *this; }
  ZipEntry& madeOnUnix(std::uint32_t mode) { return unixMode = mode, *this; }
  ZipEntry& recording(std::uint32_t size) { return recordedSize = size, *this; }
  ZipEntry& inZip64() { return zip64 = true, *this; }

  std::string name;  // as stored
  std::string bytes;
  bool deflate = true;
  bool utf8 = false;
  bool encrypted = false;
  std::uint32_t unixMode = 0;  // 0: made on Windows
  std::optional<std::uint32_t> recordedSize;
  bool zip64 = false;
};

void put(std::string& out, std::uint64_t value, int width) {
  for (int i = 0; i < width; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::string deflated(const std::string& bytes) {
  z_stream stream{};
  deflateInit2(&stream, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&stream, static_cast<uLong>(bytes.size())), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  stream.avail_in = static_cast<uInt>(bytes.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

std::string zipOf(const std::vector<ZipEntry>& entries) {
  std::string out, directory;
  for (const auto& entry : entries) {
    const std::string data = entry.deflate ? deflated(entry.bytes) : entry.bytes;
    const auto crc = crc32(0, reinterpret_cast<const Bytef*>(entry.bytes.data()), static_cast<uInt>(entry.bytes.size()));
    const std::uint64_t size = entry.recordedSize.value_or(static_cast<std::uint32_t>(entry.bytes.size()));
    const std::uint16_t flags = (entry.utf8 ? 0x800 : 0) | (entry.encrypted ? 1 : 0);
    const std::uint64_t offset = out.size();
    std::string extra;
    if (entry.zip64) {
      put(extra, 0x0001, 2);
      put(extra, 24, 2);
      put(extra, size, 8);
      put(extra, data.size(), 8);
      put(extra, offset, 8);
    }
    const auto header = [&](std::uint32_t signature, bool central) {
      std::string record;
      put(record, signature, 4);
      if (central) put(record, entry.unixMode ? (3 << 8) | 45 : 45, 2);
      put(record, 45, 2);
      put(record, flags, 2);
      put(record, entry.deflate ? 8 : 0, 2);
      put(record, 0, 2);
      put(record, 0x21, 2);
      put(record, crc, 4);
      put(record, entry.zip64 ? 0xFFFFFFFF : data.size(), 4);
      put(record, entry.zip64 ? 0xFFFFFFFF : size, 4);
      put(record, entry.name.size(), 2);
      put(record, extra.size(), 2);
      if (central) {
        put(record, 0, 2);
        put(record, 0, 2);
        put(record, 0, 2);
        put(record, static_cast<std::uint64_t>(entry.unixMode) << 16, 4);
        put(record, entry.zip64 ? 0xFFFFFFFF : offset, 4);
      }
      return record + entry.name + extra;
    };
    out += header(0x04034b50, false) + data;
    directory += header(0x02014b50, true);
  }
  const std::uint64_t directoryAt = out.size();
  out += directory;
  put(out, 0x06054b50, 4);
  put(out, 0, 4);
  put(out, entries.size(), 2);
  put(out, entries.size(), 2);
  put(out, directory.size(), 4);
  put(out, directoryAt, 4);
  put(out, 0, 2);
  return out;
}

void write(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<std::string> paths(const ArchiveListing& listing) {
  std::vector<std::string> out;
  for (const auto& file : listing.files) out.push_back(file.path);
  return out;
}

using Reader = decltype(&installs::zip::unpack);

installs::UnpackResult unpackAll(const std::string& archive, const ArchiveListing& listing, const std::string& to,
                                 std::uint64_t allowance = UINT64_MAX, Reader reader = installs::zip::unpack) {
  std::vector<installs::UnpackTarget> targets;
  for (const auto& file : listing.files) targets.push_back({file.index, to + "/" + file.path});
  return reader(archive, targets, allowance, [](std::size_t) {});
}

const std::string kBig = std::string(300000, 'g') + "end";

TEST(ZipReader, ReadsStoredDeflatedAndZip64EntriesWithTheirNamesByteForByte) {
  TempFolder temp;
  const std::string archive = temp / "pack.zip";
  write(archive, zipOf({
                     ZipEntry("models/", "").stored(),
                     ZipEntry("models/player/gign.mdl", kBig),
                     ZipEntry("readme.txt", "stored").stored(),
                     ZipEntry("\xac\xae\xa4\xa5\xab\xa8/\xa3\xa8\xa3\xad.mdl", "cp866"),  // модели/гигн.mdl, no flag
                     ZipEntry("\xd0\x81\xd0\x96\xd0\x98\xd0\x9a.wav", "utf8").flaggedUtf8(),  // ЁЖИК.wav
                     ZipEntry("sound/go.wav", "zip64").inZip64(),
                 }));
  const auto listing = installs::zip::list(archive, 100);
  ASSERT_EQ(listing.outcome, ArchiveOutcome::Read) << listing.error;
  EXPECT_EQ(paths(listing), (std::vector<std::string>{"models/player/gign.mdl", "readme.txt", "модели/гигн.mdl",
                                                      "ЁЖИК.wav", "sound/go.wav"}));
  EXPECT_EQ(listing.files[0].index, 1u) << "the folder counts among the entries";
  EXPECT_EQ(listing.files[0].size, kBig.size());
  std::size_t lastProgress = 0;
  const auto result = installs::zip::unpack(archive, {{1, temp / "out/gign.mdl"}, {5, temp / "out/deep/go.wav"}},
                                            UINT64_MAX, [&](std::size_t done) { lastProgress = done; });
  ASSERT_EQ(result.outcome, ArchiveOutcome::Read) << result.error;
  EXPECT_EQ(lastProgress, 2u);
  EXPECT_EQ(readBytes(temp / "out/gign.mdl"), kBig);
  EXPECT_EQ(readBytes(temp / "out/deep/go.wav"), "zip64");

  const auto limited = installs::zip::list(archive, 2);
  EXPECT_EQ(limited.files.size(), 2u);
  EXPECT_TRUE(limited.moreThanLimit);
}

TEST(ZipReader, UnsafeEntriesAreSkippedAndWhatCannotBeTrustedIsRefused) {
  TempFolder temp;
  const std::string archive = temp / "bad.zip";
  write(archive, zipOf({ZipEntry("../../evil.mdl", "evil"), ZipEntry("C:/drive.mdl", "evil"),
                        ZipEntry("link.mdl", "/etc/passwd").stored().madeOnUnix(0120777),
                        ZipEntry("\xff\xfe.mdl", "bad UTF-8 under the flag").flaggedUtf8(),
                        ZipEntry("models/ok.mdl", "ok").madeOnUnix(0100644)}));
  auto listing = installs::zip::list(archive, 100);
  EXPECT_EQ(paths(listing), std::vector<std::string>{"models/ok.mdl"});
  EXPECT_EQ(listing.skipped, 4u);

  write(archive, zipOf({ZipEntry("a.mdl", "x"), ZipEntry("locked.mdl", "secret").locked()}));
  EXPECT_EQ(installs::zip::list(archive, 100).outcome, ArchiveOutcome::Encrypted);

  // A size recorded smaller than the bytes: the entry stops at its recorded size, nothing more is written.
  write(archive, zipOf({ZipEntry("small.mdl", "fine"), ZipEntry("bomb.mdl", kBig).recording(1000)}));
  listing = installs::zip::list(archive, 100);
  ASSERT_EQ(listing.outcome, ArchiveOutcome::Read);
  auto result = unpackAll(archive, listing, temp / "bomb");
  EXPECT_EQ(result.outcome, ArchiveOutcome::Bomb);
  EXPECT_EQ(result.entry, "bomb.mdl");
  EXPECT_LE(readBytes(temp / "bomb/bomb.mdl").size(), 1000u);
  write(archive, zipOf({ZipEntry("a.mdl", kBig), ZipEntry("b.mdl", kBig)}));
  EXPECT_EQ(unpackAll(archive, installs::zip::list(archive, 100), temp / "full", kBig.size() + 10).outcome,
            ArchiveOutcome::NoSpace);

  // Damage: bytes that are no zip, a zip cut short, a flipped byte in stored and in deflated data (the
  // entry's data starts after the 30 bytes of its local header and its name).
  write(archive, "PK but nothing more");
  EXPECT_EQ(installs::zip::list(archive, 100).outcome, ArchiveOutcome::Unreadable);
  std::string counting;
  for (int i = 0; i < 20000; ++i) counting += std::to_string(i * 7919 % 10007) + ",";
  for (const auto& entry : {ZipEntry("a.mdl", counting), ZipEntry("a.mdl", counting).stored()}) {
    std::string whole = zipOf({entry});
    write(archive, whole.substr(0, whole.size() - 30));
    EXPECT_EQ(installs::zip::list(archive, 100).outcome, ArchiveOutcome::Unreadable);
    whole[35 + 1000] = static_cast<char>(whole[35 + 1000] ^ 0x55);
    write(archive, whole);
    listing = installs::zip::list(archive, 100);
    ASSERT_EQ(listing.outcome, ArchiveOutcome::Read);
    result = unpackAll(archive, listing, temp / "damaged");
    EXPECT_EQ(result.outcome, ArchiveOutcome::Unreadable) << entry.deflate;
    EXPECT_FALSE(result.error.empty());
  }
}

// Entries whose last bytes inflate still owes once the deflated input is used up: every size on either
// side of the reader's 64 KiB block and of twice that, of one byte and of three bytes over and over, each
// read as it was written (and, where libarchive is built, by libarchive's reader as well).
TEST(ZipReader, EntriesOfEverySizeAroundTheBlockComeOutWhole) {
  TempFolder temp;
  std::string mixed;
  while (mixed.size() < 131200) mixed += "vI\xe9";
  std::vector<std::pair<std::string, Reader>> readers = {{"ours/", installs::zip::unpack}};
#ifdef VARNIKIT_TEST_WITH_LIBARCHIVE
  readers.push_back({"libarchive/", installs::unpackArchive});
#endif
  for (const auto& [from, to] : {std::pair<std::size_t, std::size_t>{65530, 66100}, {131000, 131200}}) {
    for (const std::string& content : {std::string(to, 'g'), mixed.substr(0, to)}) {
      std::vector<ZipEntry> entries;
      for (std::size_t size = from; size <= to; ++size) entries.emplace_back(std::to_string(size), content.substr(0, size));
      write(temp / "sizes.zip", zipOf(entries));
      const auto listing = installs::zip::list(temp / "sizes.zip", entries.size());
      for (const auto& [name, reader] : readers) {
        const auto result = unpackAll(temp / "sizes.zip", listing, temp / name, UINT64_MAX, reader);
        ASSERT_EQ(result.outcome, ArchiveOutcome::Read) << name << from << ".." << to << ": " << result.error;
        for (const auto& entry : entries) {
          EXPECT_TRUE(readBytes(temp / (name + entry.name)) == entry.bytes) << name << entry.name;
        }
      }
    }
  }
}

#ifdef VARNIKIT_TEST_WITH_LIBARCHIVE
// Where libarchive is built, both readers read the same zips, made by libarchive's writer (with data
// descriptors, as streaming archivers write them) and by hand above, to the same listing and bytes.
TEST(ZipReader, ListsAndUnpacksAsLibarchiveDoes) {
  using archive_testing::Entry;
  using archive_testing::Format;
  TempFolder temp;
  const std::vector<Entry> entries = {{"models/", "", Entry::Kind::Folder, ""},
                                      archive_testing::file("models/player/gign/gign.mdl", kBig),
                                      archive_testing::file("./sound/radio/go.wav", "go"),
                                      archive_testing::file("модели/ЁЖИК.mdl", "ёж"),
                                      archive_testing::file("../evil.mdl", "evil"),
                                      {"link.mdl", "", Entry::Kind::Symlink, "/etc/passwd"},
                                      archive_testing::file("readme.txt", "")};
  std::vector<std::string> archives;
  for (const auto& [format, name] : {std::pair{Format::Zip, "utf8.zip"}, {Format::ZipCp866, "cp866.zip"}}) {
    archives.push_back(temp / name);
    archive_testing::makeArchive(archives.back(), format, entries);
  }
  archives.push_back(temp / "understated.zip");
  archive_testing::makeArchive(archives.back(), Format::Zip, entries);
  archive_testing::understateZipSizes(archives.back(), 1000);
  archives.push_back(temp / "locked.zip");
  archive_testing::makeArchive(archives.back(), Format::Zip, entries, "secret");
  archives.push_back(temp / "by-hand.zip");
  write(archives.back(), zipOf({ZipEntry("a/b.mdl", kBig), ZipEntry("\x8f\xa0\xaa.txt", "cp866"),
                                ZipEntry("c.wav", "x").stored().inZip64()}));

  for (const auto& archive : archives) {
    SCOPED_TRACE(archive);
    const auto ours = installs::zip::list(archive, 100);
    const auto theirs = installs::listArchive(archive, 100);
    ASSERT_EQ(ours.outcome, theirs.outcome) << ours.error << " / " << theirs.error;
    EXPECT_EQ(paths(ours), paths(theirs));
    EXPECT_EQ(ours.skipped, theirs.skipped);
    for (std::size_t i = 0; i < std::min(ours.files.size(), theirs.files.size()); ++i) {
      EXPECT_EQ(ours.files[i].index, theirs.files[i].index) << ours.files[i].path;
      EXPECT_EQ(ours.files[i].size, theirs.files[i].size) << ours.files[i].path;
    }
    if (ours.outcome != ArchiveOutcome::Read) continue;
    const auto ourResult = unpackAll(archive, ours, temp / "ours");
    const auto theirResult = unpackAll(archive, theirs, temp / "theirs", UINT64_MAX, installs::unpackArchive);
    EXPECT_EQ(ourResult.outcome, theirResult.outcome);
    EXPECT_EQ(ourResult.entry, theirResult.entry);
    if (ourResult.outcome != ArchiveOutcome::Read) continue;
    for (const auto& file : ours.files) {
      EXPECT_EQ(readBytes(temp / ("ours/" + file.path)), readBytes(temp / ("theirs/" + file.path))) << file.path;
    }
  }
}
#endif

}  // namespace
