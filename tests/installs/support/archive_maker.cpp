#include "installs/support/archive_maker.h"

#include <archive.h>
#include <archive_entry.h>
#include <locale.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace archive_testing {
namespace {

// libarchive converts names from the thread's locale; the test's own is "C", which has no Cyrillic.
class Utf8Locale {
 public:
  Utf8Locale() : utf8_(newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0))) {
    if (utf8_ != static_cast<locale_t>(0)) previous_ = uselocale(utf8_);
  }
  ~Utf8Locale() {
    if (utf8_ == static_cast<locale_t>(0)) return;
    uselocale(previous_);
    freelocale(utf8_);
  }

 private:
  locale_t utf8_;
  locale_t previous_ = LC_GLOBAL_LOCALE;
};

void check(archive* writer, int status, const char* step) {
  if (status < ARCHIVE_WARN) {
    const char* text = archive_error_string(writer);
    throw std::runtime_error(std::string(step) + ": " + (text ? text : "?"));
  }
}

std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeAll(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::uint32_t get(const std::string& bytes, std::size_t at, int width) {
  if (at + static_cast<std::size_t>(width) > bytes.size()) throw std::runtime_error("not a zip this test made");
  std::uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

void put32(std::string& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// The offsets of the central directory's entries.
std::vector<std::size_t> centralEntries(const std::string& bytes) {
  const std::size_t end = bytes.rfind(std::string("PK\x05\x06", 4));
  if (end == std::string::npos) throw std::runtime_error("no end of central directory");
  const std::uint32_t count = get(bytes, end + 10, 2);
  std::size_t at = get(bytes, end + 16, 4);
  std::vector<std::size_t> entries;
  for (std::uint32_t i = 0; i < count; ++i) {
    if (get(bytes, at, 4) != 0x02014b50) throw std::runtime_error("bad central directory");
    entries.push_back(at);
    at += 46 + get(bytes, at + 28, 2) + get(bytes, at + 30, 2) + get(bytes, at + 32, 2);
  }
  return entries;
}

}  // namespace

void makeArchive(const std::string& path, Format format, const std::vector<Entry>& entries, const std::string& password) {
  Utf8Locale locale;
  archive* writer = archive_write_new();
  struct Free {
    archive* writer;
    ~Free() { archive_write_free(writer); }
  } free{writer};
  switch (format) {
    case Format::Zip:
      check(writer, archive_write_set_format_zip(writer), "zip");
      check(writer, archive_write_set_format_option(writer, "zip", "hdrcharset", "UTF-8"), "hdrcharset");
      break;
    case Format::ZipCp866:
      check(writer, archive_write_set_format_zip(writer), "zip");
      check(writer, archive_write_set_format_option(writer, "zip", "hdrcharset", "CP866"), "hdrcharset");
      break;
    case Format::SevenZip: check(writer, archive_write_set_format_7zip(writer), "7z"); break;
    case Format::TarGz:
      check(writer, archive_write_set_format_pax_restricted(writer), "tar");
      check(writer, archive_write_add_filter_gzip(writer), "gzip");
      break;
    case Format::TarXz:
      check(writer, archive_write_set_format_pax_restricted(writer), "tar");
      check(writer, archive_write_add_filter_xz(writer), "xz");
      break;
  }
  if (!password.empty()) {
    check(writer, archive_write_set_options(writer, "zip:encryption=zipcrypt"), "encryption");
    check(writer, archive_write_set_passphrase(writer, password.c_str()), "passphrase");
  }
  check(writer, archive_write_open_filename(writer, path.c_str()), "open");
  for (const Entry& item : entries) {
    archive_entry* entry = archive_entry_new();
    archive_entry_update_pathname_utf8(entry, item.name.c_str());
    archive_entry_set_mtime(entry, 1041379200, 0);
    switch (item.kind) {
      case Entry::Kind::File:
        archive_entry_set_filetype(entry, AE_IFREG);
        archive_entry_set_perm(entry, 0644);
        archive_entry_set_size(entry, static_cast<la_int64_t>(item.bytes.size()));
        break;
      case Entry::Kind::Folder:
        archive_entry_set_filetype(entry, AE_IFDIR);
        archive_entry_set_perm(entry, 0755);
        break;
      case Entry::Kind::Symlink:
        archive_entry_set_filetype(entry, AE_IFLNK);
        archive_entry_set_perm(entry, 0777);
        archive_entry_update_symlink_utf8(entry, item.target.c_str());
        break;
      case Entry::Kind::Hardlink:
        archive_entry_set_filetype(entry, AE_IFREG);
        archive_entry_set_perm(entry, 0644);
        archive_entry_update_hardlink_utf8(entry, item.target.c_str());
        archive_entry_set_size(entry, 0);
        break;
      case Entry::Kind::Fifo:
        archive_entry_set_filetype(entry, AE_IFIFO);
        archive_entry_set_perm(entry, 0644);
        break;
    }
    const int status = archive_write_header(writer, entry);
    archive_entry_free(entry);
    check(writer, status, item.name.c_str());
    if (item.kind == Entry::Kind::File && !item.bytes.empty()) {
      const la_ssize_t written = archive_write_data(writer, item.bytes.data(), item.bytes.size());
      if (written != static_cast<la_ssize_t>(item.bytes.size())) check(writer, ARCHIVE_FATAL, "data");
    }
  }
  check(writer, archive_write_close(writer), "close");
}

std::vector<std::uint16_t> zipEntryFlags(const std::string& path) {
  const std::string bytes = readAll(path);
  std::vector<std::uint16_t> flags;
  for (const std::size_t at : centralEntries(bytes)) flags.push_back(static_cast<std::uint16_t>(get(bytes, at + 8, 2)));
  return flags;
}

void understateZipSizes(const std::string& path, std::uint32_t size) {
  std::string bytes = readAll(path);
  for (const std::size_t at : centralEntries(bytes)) {
    if (get(bytes, at + 24, 4) <= size) continue;
    const std::uint32_t compressed = get(bytes, at + 20, 4);
    const std::size_t local = get(bytes, at + 42, 4);
    put32(bytes, at + 24, size);
    if (get(bytes, local, 4) != 0x04034b50) throw std::runtime_error("bad local header");
    put32(bytes, local + 22, size);
    if (get(bytes, local + 6, 2) & 0x8) {  // a data descriptor follows the data
      std::size_t descriptor = local + 30 + get(bytes, local + 26, 2) + get(bytes, local + 28, 2) + compressed;
      if (get(bytes, descriptor, 4) == 0x08074b50) descriptor += 4;
      put32(bytes, descriptor + 8, size);
    }
  }
  writeAll(path, bytes);
}

}  // namespace archive_testing
