#include "installs/sums.h"

#include "installs/content_hash.h"
#include "sys/error.h"

#include <algorithm>

namespace installs {
namespace {

// A decimal number of digits only (a write time may be negative on some systems: a leading minus).
std::optional<std::uint64_t> number(const std::string& word) {
  const bool negative = !word.empty() && word[0] == '-';
  if (word.size() == (negative ? 1u : 0u) || word.size() > 20) return std::nullopt;
  std::uint64_t value = 0;
  for (std::size_t i = negative ? 1 : 0; i < word.size(); ++i) {
    if (word[i] < '0' || word[i] > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(word[i] - '0');
  }
  return negative ? static_cast<std::uint64_t>(-static_cast<std::int64_t>(value)) : value;
}

}  // namespace

std::optional<std::vector<FileSums>> readSums(sys::FileSystem& fs, const std::string& path, std::size_t fileCount) {
  if (!fs.isFile(path)) return std::nullopt;
  std::vector<std::string> lines;
  try {
    lines = fs.readLines(path);
  } catch (const sys::IoError&) {
    return std::nullopt;  // unreadable sums only cost the question, never the restore
  }
  if (lines.size() != fileCount) return std::nullopt;
  std::vector<FileSums> sums;
  sums.reserve(lines.size());
  for (const auto& line : lines) {
    std::vector<std::string> words;
    for (std::size_t at = 0; at <= line.size();) {
      const std::size_t blank = std::min(line.find(' ', at), line.size());
      words.push_back(line.substr(at, blank - at));
      at = blank + 1;
    }
    if (words.size() != 2 && words.size() != 4) return std::nullopt;
    FileSums entry{words[0], words[1], std::nullopt};
    if (!isContentHash(entry.original) || !isContentHash(entry.installed)) return std::nullopt;
    if (words.size() == 4) {
      const auto size = number(words[2]);
      const auto modified = number(words[3]);
      if (!size || !modified) return std::nullopt;
      entry.landed = sys::FileStamp{*size, static_cast<std::int64_t>(*modified)};
    }
    sums.push_back(std::move(entry));
  }
  return sums;
}

void writeSums(sys::FileSystem& fs, const std::string& path, const std::vector<FileSums>& sums) {
  std::vector<std::string> lines;
  lines.reserve(sums.size());
  for (const auto& entry : sums) {
    lines.push_back(entry.original + ' ' + entry.installed);
    if (entry.landed) {
      lines.back() += ' ' + std::to_string(entry.landed->size) + ' ' + std::to_string(entry.landed->modified);
    }
  }
  fs.writeLines(path, lines, true);
}

}  // namespace installs
