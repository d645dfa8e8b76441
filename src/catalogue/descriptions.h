#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sys/filesystem.h"

// The descriptions file: two-line records, an extension key (".wav") and the user's text for it.
namespace catalogue {

struct DescriptionRecord {
  std::string key;
  std::string text;
};

inline constexpr const char* kDescriptionSeparator = " / ";

// The records of a descriptions file, read once and matched against many paths.
class Descriptions {
 public:
  Descriptions() = default;
  // Records from the file's lines; a last key without its text line is ignored.
  explicit Descriptions(const std::vector<std::string>& lines);

  // The texts of every record whose key occurs anywhere in path (a-z folded to A-Z, nothing else),
  // in file order, joined by " / "; nothing when no record applies. An empty key applies to nothing.
  std::optional<std::string> describe(std::string_view path) const;

  const std::vector<DescriptionRecord>& records() const { return records_; }

 private:
  std::vector<DescriptionRecord> records_;
  std::vector<std::string> upperKeys_;
};

// The records of the file at path. Throws sys::IoError when it cannot be read (a missing file too).
Descriptions readDescriptions(sys::FileSystem& fs, const std::string& path);
// The same, but a missing file is first created empty (the file list page does so).
Descriptions readOrCreateDescriptions(sys::FileSystem& fs, const std::string& path);

// A first start: when nothing is at path (a descriptions file that exists, even empty, is the user's), it
// is written with the starter records of texts::kStarterDescriptions, so the file list describes the
// game's files from the start. True when written. Throws sys::IoError.
bool writeStarterDescriptions(sys::FileSystem& fs, const std::string& path);

// Appends one record at the end of the file (created when missing). A line break in the key or text
// would split the record and shift every later one, so it becomes a blank; a last key left without its
// text (a hand-edited file, or an earlier append cut off between its two lines) gets an empty one
// first. Throws sys::IoError.
void appendDescription(sys::FileSystem& fs, const std::string& path, const std::string& key,
                       const std::string& text);

// The user's edit of a description: the records whose key is exactly key (case and all) become one record
// with the new text, standing where the first of them stood (at the end when there was none); every other
// record keeps its place and text. The file is rewritten whole through a temporary file (created when
// missing), so a failure leaves the old one. Throws sys::IoError.
void replaceDescription(sys::FileSystem& fs, const std::string& path, const std::string& key,
                        const std::string& text);

}  // namespace catalogue
