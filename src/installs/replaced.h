#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

#include "installs/store.h"

namespace installs {

// Which installation replaced each game file at present, worked out once from the installations'
// records: every listed installation's "files.dat", in the list's order. Paths are compared as the
// register compares them (ASCII case ignored).
class ReplacedFiles {
 public:
  // An installation whose record cannot be read adds nothing: the file list only marks rows with this,
  // and the installations page reports the unreadable record itself.
  static ReplacedFiles read(Store& store);

  // The name of the installation that replaced gamePath, or nullptr when none did.
  const std::string* installationOf(std::string_view gamePath) const;
  std::size_t size() const { return byPath_.size(); }

 private:
  std::unordered_map<std::string, std::string> byPath_;
};

}  // namespace installs
