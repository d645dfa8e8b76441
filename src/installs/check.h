#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "installs/dialog_view.h"

namespace app {
class Program;
}

namespace installs {

// The files of the install dialog: each chosen new file (source) beside the game file it replaces
// (destination), index by index, and the text the list shows for it. The lists change together only.
class ChosenFiles {
 public:
  const std::vector<std::string>& sources() const { return sources_; }
  const std::vector<std::string>& destinations() const { return destinations_; }
  // The source path, or for a file unpacked from an archive the archive's name, a slash and the
  // entry's path inside it.
  const std::vector<std::string>& shown() const { return shown_; }
  std::size_t size() const { return sources_.size(); }
  bool empty() const { return sources_.empty(); }
  // Whether some file of the list already replaces this game file (the catalogue line, as stored).
  bool hasDestination(const std::string& destination) const { return destinationCounts_.count(destination) > 0; }
  // shown empty: the list shows the source path.
  void add(std::string source, std::string destination, std::string shown = {});
  void removeAt(std::size_t index);
  void removeFirst() { removeAt(0); }
  void clear();

 private:
  std::vector<std::string> sources_;
  std::vector<std::string> destinations_;
  std::vector<std::string> shown_;
  std::unordered_map<std::string, std::size_t> destinationCounts_;
};

inline constexpr std::size_t kSearchLimit = 20000;
inline constexpr std::size_t kQuestionAbove = 500;

// The dialog's own file search (not the catalogue scan). It stops entering folders once the list holds
// 20000 paths, saying so once per search.
class FileSearch {
 public:
  // Appends the files of folder matching mask ("" means "*.*"), the folder's own files first, then,
  // with recursive, those of each sub-folder in turn. Folders that cannot be listed give nothing; links
  // to folders are not followed.
  void FindFiles(app::Program& program, const std::string& folder, const std::string& mask,
                 std::vector<std::string>& list, bool recursive);

 private:
  bool stopped_ = false;
};

// Whether a file name matches a mask of '*' and '?' (ASCII case ignored); "*.*" matches every name.
bool matchesMask(std::string_view name, std::string_view mask);

// Whether a new file is never installed: its bare name is README.TXT, or ".BSP" stands anywhere in its
// path (ASCII case ignored).
bool isSkippedCandidate(std::string_view path);

// CheckFiles: moves every candidate whose bare name the catalogue knows into chosen, with the first
// catalogue line of that name (ASCII case ignored) as its destination; the others are dropped. Asks
// before checking more than 500. The catalogue is read once per check. A missing catalogue is reported
// and the candidates stay. A candidate whose game file is in chosen already (an earlier add, or an earlier
// candidate of this one) is not added again; the count of those is returned. Throws sys::IoError.
std::size_t CheckFiles(app::Program& program, std::vector<std::string>& candidates, ChosenFiles& chosen, DialogView& view);

}  // namespace installs
