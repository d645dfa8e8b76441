#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Archives made by the tests themselves with libarchive's writer, never taken from elsewhere.
namespace archive_testing {

struct Entry {
  enum class Kind { File, Folder, Symlink, Hardlink, Fifo };
  std::string name;   // as stored, UTF-8
  std::string bytes;  // a file's content
  Kind kind = Kind::File;
  std::string target;  // what a link points at
};

inline Entry file(std::string name, std::string bytes) {
  return {std::move(name), std::move(bytes), Entry::Kind::File, ""};
}

enum class Format {
  Zip,        // names flagged UTF-8
  ZipCp866,   // names in cp866 without the UTF-8 flag, as archivers on Russian Windows write them
  SevenZip,
  TarGz,
  TarXz,
};

// Writes the archive; a password encrypts a zip's entries (traditional zip encryption). Fails the
// test (through an exception) when libarchive refuses.
void makeArchive(const std::string& path, Format format, const std::vector<Entry>& entries,
                 const std::string& password = "");

// The general purpose flags of every entry of a zip's central directory.
std::vector<std::uint16_t> zipEntryFlags(const std::string& path);

// Rewrites the uncompressed size a zip records for every entry larger than size (in its central
// directory, local header and data descriptor) as size: a decompression bomb in miniature.
void understateZipSizes(const std::string& path, std::uint32_t size);

}  // namespace archive_testing
