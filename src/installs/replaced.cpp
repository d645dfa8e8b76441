#include "installs/replaced.h"

#include "sys/error.h"

namespace installs {

namespace {

std::string asciiLower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

}  // namespace

ReplacedFiles ReplacedFiles::read(Store& store) {
  ReplacedFiles replaced;
  std::vector<std::string> names;
  try {
    if (store.fs().isFile(store.listPath())) names = store.fs().readLines(store.listPath());
  } catch (const sys::IoError&) {
    return replaced;
  }
  for (const std::string& name : names) {
    std::vector<std::string> files;
    try {
      if (store.isOff(name)) continue;  // its files are not in the game
      files = store.recordedFiles(name);
    } catch (const sys::IoError&) {
      continue;
    }
    // A later installation holds the game file now, should two ever record the same one.
    for (const std::string& gamePath : files) {
      if (!gamePath.empty()) replaced.byPath_[asciiLower(gamePath)] = name;
    }
  }
  return replaced;
}

const std::string* ReplacedFiles::installationOf(std::string_view gamePath) const {
  if (byPath_.empty()) return nullptr;
  const auto found = byPath_.find(asciiLower(std::string(gamePath)));
  return found == byPath_.end() ? nullptr : &found->second;
}

}  // namespace installs
