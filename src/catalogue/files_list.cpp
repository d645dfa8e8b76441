#include "catalogue/files_list.h"

#include <algorithm>

#include "catalogue/texts.h"
#include "sys/encoding.h"
#include "sys/paths.h"

namespace catalogue {

FilesList::FilesList(const std::vector<std::string>& lines, Descriptions descriptions)
    : descriptions_(std::move(descriptions)) {
  starts_.reserve(lines.size() + 1);
  for (const auto& line : lines) {
    starts_.push_back(text_.size());
    text_ += line;
  }
  starts_.push_back(text_.size());
}

void FilesList::add(std::string_view bytes) {
  if (starts_.empty()) starts_.push_back(0);
  const bool plain = std::none_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
  if (plain) {
    text_ += bytes;
  } else {
    text_ += sys::decodeLine(bytes);
  }
  starts_.push_back(text_.size());
}

FilesList FilesList::read(sys::FileSystem& fs, const std::string& cataloguePath,
                          const std::string& descriptionsPath) {
  if (cataloguePath.empty() || !fs.isFile(cataloguePath)) return {};
  // The lines as FileSystem::readLines splits them (CR LF or LF, a last line without its break), each
  // decoded on its own, but into one buffer.
  const std::string bytes = fs.readText(cataloguePath);
  FilesList list;
  list.text_.reserve(bytes.size());
  list.starts_.reserve(static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 2);
  std::string_view rest(bytes);
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    list.add(line);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
  if (list.empty()) return {};
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
