#include "installs/zip_reader.h"

#include <zlib.h>

#include <algorithm>
#include <fstream>
#include <optional>
#include <string_view>

#include "installs/entry_writer.h"
#include "sys/encoding.h"
#include "sys/error.h"
#include "sys/paths.h"

namespace installs::zip {

namespace {

constexpr std::size_t kBlock = 64 * 1024;
constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr std::uint32_t kEnd64Signature = 0x06064b50;
constexpr std::uint32_t kEnd64LocatorSignature = 0x07064b50;
constexpr std::uint32_t kEntrySignature = 0x02014b50;
constexpr std::uint32_t kLocalSignature = 0x04034b50;
constexpr std::uint16_t kEncrypted = 0x0001;
constexpr std::uint16_t kUtf8Names = 0x0800;
constexpr std::uint16_t kStored = 0;
constexpr std::uint16_t kDeflated = 8;

// What cannot be read: its text goes to the log beside the archive's name.
struct Damaged {
  std::string text;
};

std::uint64_t little(std::string_view bytes, std::size_t at, std::size_t width) {
  if (at + width > bytes.size()) throw Damaged{"a record runs past its end"};
  std::uint64_t value = 0;
  for (std::size_t i = width; i > 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i - 1]);
  return value;
}
std::uint16_t u16(std::string_view bytes, std::size_t at) { return static_cast<std::uint16_t>(little(bytes, at, 2)); }
std::uint32_t u32(std::string_view bytes, std::size_t at) { return static_cast<std::uint32_t>(little(bytes, at, 4)); }
std::uint64_t u64(std::string_view bytes, std::size_t at) { return little(bytes, at, 8); }

class File {
 public:
  explicit File(const std::string& path) : in_(sys::toPath(path), std::ios::binary) {
    if (!in_) throw Damaged{sys::lastErrorText()};
    in_.seekg(0, std::ios::end);
    size_ = static_cast<std::uint64_t>(in_.tellg());
  }
  std::uint64_t size() const { return size_; }
  std::string read(std::uint64_t at, std::uint64_t count) {
    if (at > size_ || count > size_ - at) throw Damaged{"the archive is cut short"};
    std::string bytes(static_cast<std::size_t>(count), '\0');
    in_.clear();
    in_.seekg(static_cast<std::streamoff>(at));
    if (!in_.read(bytes.data(), static_cast<std::streamsize>(count))) throw Damaged{"the archive is cut short"};
    return bytes;
  }

 private:
  std::ifstream in_;
  std::uint64_t size_ = 0;
};

struct Entry {
  std::size_t index = 0;
  std::uint16_t flags = 0;
  std::uint16_t method = 0;
  std::uint32_t crc = 0;
  std::uint64_t packedSize = 0;
  std::uint64_t size = 0;
  std::uint64_t localHeader = 0;
  std::optional<std::string> name;  // UTF-8; nothing when its bytes are no text
  bool folder = false;
  bool plainFile = true;  // not a link, device or other special entry stored from Unix
};

// The Info-ZIP Unicode path (extra field 0x7075): a UTF-8 name that holds while the stored name's CRC
// still matches it.
std::optional<std::string> unicodePath(std::string_view extra, std::string_view rawName) {
  for (std::size_t at = 0; at + 4 <= extra.size();) {
    const std::uint16_t id = u16(extra, at);
    const std::uint16_t length = u16(extra, at + 2);
    const std::string_view data = extra.substr(at + 4, std::min<std::size_t>(length, extra.size() - at - 4));
    at += 4 + length;
    if (id != 0x7075 || data.size() < 5 || data[0] != 1) continue;
    const auto nameCrc = static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(rawName.data()), static_cast<uInt>(rawName.size())));
    if (u32(data, 1) == nameCrc) return std::string(data.substr(5));
  }
  return std::nullopt;
}

// The zip64 values of an entry stand in an extra field (0x0001), each only where the record holds all ones.
void readZip64Sizes(std::string_view extra, Entry& entry, bool size, bool packed, bool offset) {
  for (std::size_t at = 0; at + 4 <= extra.size();) {
    const std::uint16_t id = u16(extra, at);
    const std::uint16_t length = u16(extra, at + 2);
    const std::string_view data = extra.substr(at + 4, std::min<std::size_t>(length, extra.size() - at - 4));
    at += 4 + length;
    if (id != 0x0001) continue;
    std::size_t field = 0;
    if (size) entry.size = u64(data, 8 * field++);
    if (packed) entry.packedSize = u64(data, 8 * field++);
    if (offset) entry.localHeader = u64(data, 8 * field++);
    return;
  }
  if (size || packed || offset) throw Damaged{"a zip64 entry without its sizes"};
}

std::vector<Entry> centralDirectory(File& file) {
  const std::uint64_t tailSize = std::min<std::uint64_t>(file.size(), 22 + 0xFFFF);
  const std::string tail = file.read(file.size() - tailSize, tailSize);
  std::size_t end = std::string::npos;
  for (std::size_t at = tail.size() >= 22 ? tail.size() - 22 + 1 : 0; at-- > 0;) {
    if (u32(tail, at) == kEndSignature) {
      end = at;
      break;
    }
  }
  if (end == std::string::npos) throw Damaged{"not a zip archive (no end of central directory)"};
  std::uint64_t count = u16(tail, end + 10);
  std::uint64_t directorySize = u32(tail, end + 12);
  std::uint64_t directoryAt = u32(tail, end + 16);
  if (u16(tail, end + 4) != 0 || u16(tail, end + 6) != 0) throw Damaged{"a zip archive split over several disks"};
  if (count == 0xFFFF || directorySize == 0xFFFFFFFF || directoryAt == 0xFFFFFFFF) {
    const std::uint64_t locatorAt = file.size() - tailSize + end;
    if (locatorAt < 20) throw Damaged{"a zip64 archive without its locator"};
    const std::string locator = file.read(locatorAt - 20, 20);
    if (u32(locator, 0) != kEnd64LocatorSignature) throw Damaged{"a zip64 archive without its locator"};
    const std::string record = file.read(u64(locator, 8), 56);
    if (u32(record, 0) != kEnd64Signature) throw Damaged{"a zip64 archive without its end record"};
    count = u64(record, 32);
    directorySize = u64(record, 40);
    directoryAt = u64(record, 48);
  }
  const std::string directory = file.read(directoryAt, directorySize);
  std::vector<Entry> entries;
  std::size_t at = 0;
  for (std::uint64_t index = 0; index < count; ++index) {
    if (u32(directory, at) != kEntrySignature) throw Damaged{"a damaged central directory"};
    Entry entry;
    entry.index = static_cast<std::size_t>(index);
    const std::uint16_t madeBy = u16(directory, at + 4);
    entry.flags = u16(directory, at + 8);
    entry.method = u16(directory, at + 10);
    entry.crc = u32(directory, at + 16);
    entry.packedSize = u32(directory, at + 20);
    entry.size = u32(directory, at + 24);
    const std::uint16_t nameLength = u16(directory, at + 28);
    const std::uint16_t extraLength = u16(directory, at + 30);
    const std::uint16_t commentLength = u16(directory, at + 32);
    const std::uint32_t attributes = u32(directory, at + 38);
    entry.localHeader = u32(directory, at + 42);
    if (at + 46 + nameLength + extraLength + commentLength > directory.size()) throw Damaged{"a damaged central directory"};
    const std::string_view rawName = std::string_view(directory).substr(at + 46, nameLength);
    const std::string_view extra = std::string_view(directory).substr(at + 46 + nameLength, extraLength);
    at += 46 + nameLength + extraLength + commentLength;
    readZip64Sizes(extra, entry, entry.size == 0xFFFFFFFF, entry.packedSize == 0xFFFFFFFF,
                   entry.localHeader == 0xFFFFFFFF);
    if (auto unicode = unicodePath(extra, rawName); unicode && sys::isValidUtf8(*unicode)) {
      entry.name = std::move(unicode);
    } else if (entry.flags & kUtf8Names) {
      if (sys::isValidUtf8(rawName)) entry.name = std::string(rawName);
    } else {
      entry.name = sys::fromCp866(rawName);
    }
    entry.folder = !rawName.empty() && (rawName.back() == '/' || rawName.back() == '\\');
    // A Unix mode in the upper half of the attributes, when written on Unix: only regular files count.
    const std::uint32_t mode = attributes >> 16;
    if ((madeBy >> 8) == 3 && (mode & 0170000) != 0) {
      entry.folder = entry.folder || (mode & 0170000) == 0040000;
      entry.plainFile = (mode & 0170000) == 0100000;
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

ArchiveListing refused(ArchiveOutcome outcome, std::string error) {
  ArchiveListing listing;
  listing.outcome = outcome;
  listing.error = std::move(error);
  return listing;
}

// Hands an entry's bytes to write in blocks; false from write stops it.
void readEntry(File& file, const Entry& entry, const std::function<bool(std::string_view)>& write) {
  const std::string local = file.read(entry.localHeader, 30);
  if (u32(local, 0) != kLocalSignature) throw Damaged{"a damaged local header"};
  std::uint64_t at = entry.localHeader + 30 + u16(local, 26) + u16(local, 28);
  std::uint64_t left = entry.packedSize;
  std::uint32_t crc = 0;
  const auto give = [&](std::string_view bytes) {
    crc = static_cast<std::uint32_t>(crc32(crc, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
    return write(bytes);
  };
  if (entry.method == kStored) {
    while (left > 0) {
      const std::string block = file.read(at, std::min<std::uint64_t>(left, kBlock));
      at += block.size();
      left -= block.size();
      if (!give(block)) return;
    }
  } else {
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) throw Damaged{"zlib: out of memory"};
    struct End {
      z_stream& stream;
      ~End() { inflateEnd(&stream); }
    } end{stream};
    std::string out(kBlock, '\0');
    std::string in;
    int status = Z_OK;
    while (status != Z_STREAM_END) {
      // Once the input is used up, inflate may still owe output it had no room for: it is asked again
      // without input until the stream ends.
      if (stream.avail_in == 0 && left > 0) {
        in = file.read(at, std::min<std::uint64_t>(left, kBlock));
        at += in.size();
        left -= in.size();
        stream.next_in = reinterpret_cast<Bytef*>(in.data());
        stream.avail_in = static_cast<uInt>(in.size());
      }
      stream.next_out = reinterpret_cast<Bytef*>(out.data());
      stream.avail_out = static_cast<uInt>(out.size());
      status = inflate(&stream, Z_NO_FLUSH);
      const std::size_t produced = out.size() - stream.avail_out;
      // No progress although all there is was given: the stream stops before its end.
      if (status == Z_BUF_ERROR && produced == 0) throw Damaged{"a deflated entry is cut short"};
      if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR) {
        throw Damaged{std::string("zlib: ") + (stream.msg ? stream.msg : "damaged data")};
      }
      if (produced > 0 && !give(std::string_view(out).substr(0, produced))) return;
    }
  }
  if (crc != entry.crc) throw Damaged{"an entry's check sum does not match its bytes"};
}

}  // namespace

ArchiveListing list(const std::string& archive, std::size_t limit) {
  try {
    File file(archive);
    ArchiveListing listing;
    for (const Entry& entry : centralDirectory(file)) {
      if (entry.flags & kEncrypted) return refused(ArchiveOutcome::Encrypted, "");
      if (entry.folder) continue;
      const auto path = entry.name ? safeEntryPath(*entry.name) : std::nullopt;
      if (!path || !entry.plainFile) {
        ++listing.skipped;
        continue;
      }
      if (entry.method != kStored && entry.method != kDeflated) {
        return refused(ArchiveOutcome::Unreadable, "unsupported compression method " + std::to_string(entry.method));
      }
      if (listing.files.size() == limit) {
        listing.moreThanLimit = true;
        break;
      }
      listing.files.push_back({entry.index, *path, entry.size});
    }
    return listing;
  } catch (const Damaged& damaged) {
    return refused(ArchiveOutcome::Unreadable, damaged.text);
  }
}

UnpackResult unpack(const std::string& archive, const std::vector<UnpackTarget>& targets, std::uint64_t allowance,
                    const std::function<void(std::size_t)>& progress) {
  UnpackResult result;
  const auto fail = [&](ArchiveOutcome outcome, std::string error) {
    result.outcome = outcome;
    result.error = std::move(error);
    return result;
  };
  try {
    File file(archive);
    const std::vector<Entry> entries = centralDirectory(file);
    EntryWriter writer(allowance, progress);
    for (std::size_t next = 0; next < targets.size(); ++next) {
      if (targets[next].index >= entries.size()) return fail(ArchiveOutcome::Unreadable, "the archive changed while it was read");
      const Entry& entry = entries[targets[next].index];
      if (entry.flags & kEncrypted) return fail(ArchiveOutcome::Encrypted, "");
      if (entry.folder || !entry.plainFile || (entry.method != kStored && entry.method != kDeflated)) {
        return fail(ArchiveOutcome::Unreadable, "the archive changed while it was read");
      }
      writer.open(targets[next].file, entry.size, next);
      ArchiveOutcome written = ArchiveOutcome::Read;
      readEntry(file, entry, [&](std::string_view bytes) { return (written = writer.write(bytes)) == ArchiveOutcome::Read; });
      if (written == ArchiveOutcome::Bomb) result.entry = entry.name.value_or("");
      if (written != ArchiveOutcome::Read) return fail(written, "");
      writer.close();
    }
    return result;
  } catch (const Damaged& damaged) {
    return fail(ArchiveOutcome::Unreadable, damaged.text);
  }
}

}  // namespace installs::zip
