#include "catalogue/descriptions.h"

#include "catalogue/texts.h"
#include "sys/encoding.h"

namespace catalogue {

Descriptions::Descriptions(const std::vector<std::string>& lines) {
  records_.reserve(lines.size() / 2);
  upperKeys_.reserve(lines.size() / 2);
  for (std::size_t i = 0; i + 1 < lines.size(); i += 2) {
    records_.push_back(DescriptionRecord{lines[i], lines[i + 1]});
    upperKeys_.push_back(sys::upperAscii(lines[i]));
  }
}

std::optional<std::string> Descriptions::describe(std::string_view path) const {
  if (records_.empty()) return std::nullopt;
  const std::string upperPath = sys::upperAscii(path);
  std::optional<std::string> joined;
  for (std::size_t i = 0; i < records_.size(); ++i) {
    if (upperKeys_[i].empty() || upperPath.find(upperKeys_[i]) == std::string::npos) continue;
    if (joined) {
      *joined += kDescriptionSeparator;
      *joined += records_[i].text;
    } else {
      joined = records_[i].text;
    }
  }
  return joined;
}

Descriptions readDescriptions(sys::FileSystem& fs, const std::string& path) {
  return Descriptions(fs.readLines(path));
}

Descriptions readOrCreateDescriptions(sys::FileSystem& fs, const std::string& path) {
  // Only a file that is not there is created: one that exists but cannot be read is reported, never
  // emptied.
  if (!fs.exists(path)) fs.createEmpty(path);
  return readDescriptions(fs, path);
}

bool writeStarterDescriptions(sys::FileSystem& fs, const std::string& path) {
  if (fs.exists(path)) return false;
  std::vector<std::string> lines;
  for (const auto& record : texts::kStarterDescriptions) {
    lines.emplace_back(record.key);
    lines.emplace_back(record.text);
  }
  fs.writeLines(path, lines, true);
  return true;
}

namespace {
std::string oneLine(std::string text) {
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return text;
}
}  // namespace

void appendDescription(sys::FileSystem& fs, const std::string& path, const std::string& key,
                       const std::string& text) {
  // A file edited by hand, or a record whose text line failed to be written, may end without a line end
  // or with a key whose text is missing; the new record must still start on a line of its own and at a
  // record's start, or it and every later one would be read wrong.
  if (fs.exists(path)) {
    const std::string bytes = fs.readText(path);
    // (The append itself ends a last line left without its line break.)
    if (sys::splitLines(bytes).size() % 2 == 1) fs.appendLine(path, "");  // the missing text
  }
  // One write for the record, so it is there whole or not at all; each line is still encoded (cp1251 or
  // UTF-8) by itself.
  fs.appendLines(path, {oneLine(key), oneLine(text)});
}

void replaceDescription(sys::FileSystem& fs, const std::string& path, const std::string& key,
                        const std::string& text) {
  const std::string newKey = oneLine(key);
  std::vector<std::string> lines;
  // A missing file is created first, so a folder that is not there is reported under the file's own name.
  if (!fs.existsForReading(path)) fs.createEmpty(path);
  lines = fs.readLines(path);
  // A last key left without its text (a hand-edited file) is kept as a record with an empty one.
  if (lines.size() % 2 == 1) lines.emplace_back();
  std::vector<std::string> kept;
  kept.reserve(lines.size() + 2);
  bool placed = false;
  for (std::size_t i = 0; i < lines.size(); i += 2) {
    if (lines[i] != newKey) {
      kept.push_back(lines[i]);
      kept.push_back(lines[i + 1]);
    } else if (!placed) {
      kept.push_back(newKey);
      kept.push_back(oneLine(text));
      placed = true;
    }
  }
  if (!placed) {
    kept.push_back(newKey);
    kept.push_back(oneLine(text));
  }
  fs.writeLines(path, kept, true);
}

}  // namespace catalogue
