#include "catalogue/descriptions.h"

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
    if (!bytes.empty() && bytes.back() != '\n') fs.appendLine(path, "");  // ends the last line
    if (sys::splitLines(bytes).size() % 2 == 1) fs.appendLine(path, "");   // the missing text
  }
  // Each line on its own: every line of the file is encoded (cp1251 or UTF-8) by itself.
  fs.appendLine(path, oneLine(key));
  fs.appendLine(path, oneLine(text));
}

}  // namespace catalogue
