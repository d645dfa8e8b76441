#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace catalogue {

// One record of the descriptions file: an extension key line and a text line.
struct DescriptionRecord {
  std::string key;
  std::string text;
};

// The descriptions of the descriptions file, read once and matched against many paths.
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

inline constexpr const char* kDescriptionSeparator = " / ";

}  // namespace catalogue
