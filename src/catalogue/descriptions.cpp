#include "catalogue/descriptions.h"

#include "sys/encoding.h"

namespace catalogue {

Descriptions::Descriptions(const std::vector<std::string>& lines) {
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

}  // namespace catalogue
