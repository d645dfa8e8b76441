#include "catalogue/files_list.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#include "catalogue/texts.h"
#include "sys/encoding.h"
#include "sys/paths.h"

namespace catalogue {

namespace {

// Appends to starts the offset just past each LF in bytes, and tells whether every byte is ASCII. Eight
// bytes at a time: the catalogue is read at every showing of the page, and the C library's memchr under
// Wine goes a byte at a time.
bool findLineStarts(std::string_view bytes, std::vector<std::size_t>& starts) {
  constexpr std::uint64_t ones = 0x0101010101010101u;
  constexpr std::uint64_t highs = 0x8080808080808080u;
  constexpr std::uint64_t breaks = ones * '\n';
  const char* data = bytes.data();
  const std::size_t size = bytes.size();
  // Room for lines of 16 bytes on average, so a catalogue is not copied as it grows; pages of it never
  // written are never touched.
  starts.reserve(starts.size() + size / 16 + 1);
  std::uint64_t seen = 0;
  std::size_t at = 0;
  for (; at + 8 <= size; at += 8) {
    std::uint64_t word;
    std::memcpy(&word, data + at, 8);
    seen |= word;
    const std::uint64_t x = word ^ breaks;
    // A high bit for each byte that may be LF: exact for the first, a candidate after it.
    for (std::uint64_t candidates = (x - ones) & ~x & highs; candidates != 0; candidates &= candidates - 1) {
      const std::size_t byte = at + static_cast<std::size_t>(std::countr_zero(candidates) / 8);
      if (data[byte] == '\n') starts.push_back(byte + 1);
    }
  }
  for (; at < size; ++at) {
    seen |= static_cast<unsigned char>(data[at]);
    if (data[at] == '\n') starts.push_back(at + 1);
  }
  return (seen & highs) == 0;
}

}  // namespace

FilesList::FilesList(const std::vector<std::string>& lines, Descriptions descriptions)
    : descriptions_(std::move(descriptions)) {
  starts_.reserve(lines.size() + 1);
  starts_.push_back(0);
  for (const auto& line : lines) {
    text_ += line;
    text_ += "\r\n";
    starts_.push_back(text_.size());
  }
}

FilesList FilesList::read(sys::FileSystem& fs, const std::string& cataloguePath,
                          const std::string& descriptionsPath) {
  if (cataloguePath.empty() || !fs.isFile(cataloguePath)) return {};
  // The lines as FileSystem::readLines splits them (CR LF or LF, a last line without its break), each
  // decoded on its own.
  FilesList list;
  list.text_ = fs.readText(cataloguePath);
  if (list.text_.empty()) return {};
  list.starts_.push_back(0);
  const bool ascii = findLineStarts(list.text_, list.starts_);
  if (list.text_.back() != '\n') list.starts_.push_back(list.text_.size() + 1);
  if (!ascii) {
    // Lines in another encoding: copied into a new buffer, those with a byte outside ASCII decoded.
    FilesList decoded;
    decoded.text_.reserve(list.text_.size() + list.text_.size() / 2);
    decoded.starts_.reserve(list.starts_.size());
    decoded.starts_.push_back(0);
    for (std::size_t row = 0; row < list.size(); ++row) {
      const std::string_view line = list.path(row);
      const bool plain = std::none_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
      if (plain) {
        decoded.text_ += line;
      } else {
        decoded.text_ += sys::decodeLine(line);
      }
      decoded.text_ += "\r\n";  // CR LF, so a line that itself ends in CR keeps it
      decoded.starts_.push_back(decoded.text_.size());
    }
    list = std::move(decoded);
  }
  list.descriptions_ = readOrCreateDescriptions(fs, descriptionsPath);
  return list;
}

std::string FilesList::name(std::size_t row) const { return sys::bareName(path(row)); }

std::string FilesList::description(std::size_t row) const { return describeForGrid(descriptions_, path(row)); }

std::string describeForGrid(const Descriptions& descriptions, std::string_view path) {
  return descriptions.describe(path).value_or(texts::kNoInformation);
}

void launchFile(sys::Shell& shell, const std::string& path) {
  if (path.empty()) return;
  shell.open(path, "", sys::parentFolder(path), sys::ShowCommand::Show);
}

}  // namespace catalogue
