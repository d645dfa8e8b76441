#include "catalogue/files_list.h"

#include "catalogue/texts.h"
#include "sys/paths.h"

namespace catalogue {

FilesList FilesList::read(sys::FileSystem& fs, const std::string& cataloguePath,
                          const std::string& descriptionsPath) {
  if (cataloguePath.empty() || !fs.isFile(cataloguePath)) return {};
  std::vector<std::string> lines = fs.readLines(cataloguePath);
  if (lines.empty()) return {};
  return FilesList(std::move(lines), readOrCreateDescriptions(fs, descriptionsPath));
}

std::string FilesList::name(std::size_t row) const { return sys::bareName(lines_[row]); }

std::string FilesList::description(std::size_t row) const { return describeForGrid(descriptions_, lines_[row]); }

std::string describeForGrid(const Descriptions& descriptions, const std::string& path) {
  return descriptions.describe(path).value_or(texts::kNoInformation);
}

void launchFile(sys::Shell& shell, const std::string& path) {
  if (path.empty()) return;
  shell.open(path, "", sys::parentFolder(path), sys::ShowCommand::Show);
}

}  // namespace catalogue
