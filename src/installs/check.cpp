#include "installs/check.h"

#include <optional>
#include <unordered_map>

#include "app/program.h"
#include "installs/texts.h"
#include "sys/encoding.h"
#include "sys/paths.h"

namespace installs {

void ChosenFiles::add(std::string source, std::string destination, std::string shown) {
  shown_.push_back(shown.empty() ? source : std::move(shown));
  sources_.push_back(std::move(source));
  ++destinationCounts_[destination];
  destinations_.push_back(std::move(destination));
}

void ChosenFiles::removeAt(std::size_t index) {
  if (index >= sources_.size()) return;
  const auto at = static_cast<std::ptrdiff_t>(index);
  const auto counted = destinationCounts_.find(destinations_[index]);
  if (--counted->second == 0) destinationCounts_.erase(counted);
  destinations_.erase(destinations_.begin() + at);
  sources_.erase(sources_.begin() + at);
  shown_.erase(shown_.begin() + at);
}

void ChosenFiles::clear() {
  sources_.clear();
  destinations_.clear();
  shown_.clear();
  destinationCounts_.clear();
}

namespace {

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string_view bareNameView(std::string_view path) {
  for (std::size_t i = path.size(); i > 0; --i) {
    if (sys::isSeparatorOrColon(path[i - 1])) return path.substr(i);
  }
  return path;
}

// Names compared and hashed with a-z folded to A-Z, nothing else.
struct FoldedHash {
  std::size_t operator()(std::string_view text) const {
    std::size_t hash = 1469598103934665603ull;
    for (const char c : text) {
      hash ^= static_cast<unsigned char>(upper(c));
      hash *= 1099511628211ull;
    }
    return hash;
  }
};
struct FoldedEqual {
  bool operator()(std::string_view a, std::string_view b) const { return sys::equalsIgnoringAsciiCase(a, b); }
};

bool globMatch(std::string_view name, std::string_view mask) {
  std::size_t n = 0, m = 0, starMask = std::string_view::npos, starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && (mask[m] == '?' || upper(mask[m]) == upper(name[n]))) {
      ++n, ++m;
    } else if (m < mask.size() && mask[m] == '*') {
      starMask = m++;
      starName = n;
    } else if (starMask != std::string_view::npos) {
      m = starMask + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

}  // namespace

bool matchesMask(std::string_view name, std::string_view mask) {
  // As on Windows, "*.*" also takes names without a dot.
  if (mask.empty() || mask == "*.*" || mask == "*") return true;
  return globMatch(name, mask);
}

bool isSkippedCandidate(std::string_view path) {
  return sys::equalsIgnoringAsciiCase(bareNameView(path), "README.TXT") ||
         sys::upperAscii(path).find(".BSP") != std::string::npos;
}

void FileSearch::FindFiles(app::Program& program, const std::string& folder, const std::string& mask,
                           std::vector<std::string>& list, bool recursive) {
  if (list.size() < kSearchLimit) {
    stopped_ = false;
  } else {
    if (!stopped_) {
      stopped_ = true;
      app::showAttention(program.ui(), texts::kSearchStopped);
    }
    return;
  }
  const std::string base = sys::withTrailingSeparator(folder);
  auto& fs = program.fs();
  auto& ui = program.ui();
  std::vector<std::string> folders;
  fs.enumerate(base, [&](const sys::DirEntry& entry) {
    ui.processEvents();
    if (entry.kind == sys::EntryKind::File && matchesMask(entry.name, mask)) list.push_back(base + entry.name);
    if (entry.kind == sys::EntryKind::Folder) folders.push_back(entry.name);
  });
  if (!recursive) return;
  for (const auto& name : folders) {
    ui.processEvents();
    FindFiles(program, base + name, mask, list, recursive);
  }
}

std::size_t CheckFiles(app::Program& program, std::vector<std::string>& candidates, ChosenFiles& chosen,
                       DialogView& view) {
  auto& ui = program.ui();
  auto& fs = program.fs();
  if (candidates.size() > kQuestionAbove &&
      !app::askAttention(ui, texts::manyCandidatesQuestion(candidates.size()))) {
    candidates.clear();
    return 0;
  }
  std::size_t repeated = 0;
  const int total = static_cast<int>(candidates.size());
  view.setProgressMaximum(total);
  if (!candidates.empty()) {
    ui.processEvents();
    const std::string& catalogue = program.settings.FilesListDir;
    if (!fs.canOpenForReading(catalogue)) {
      program.ErrorMsg(texts::kCatalogueMissing, texts::kCatalogueMissingLog);
      return 0;
    }
    // The names asked for, each with the first catalogue line of that bare name.
    std::unordered_map<std::string_view, std::optional<std::size_t>, FoldedHash, FoldedEqual> wanted;
    for (const auto& candidate : candidates) {
      if (!isSkippedCandidate(candidate)) wanted.emplace(bareNameView(candidate), std::nullopt);
    }
    const std::vector<std::string> lines = fs.readLines(catalogue);
    std::size_t found = 0;
    for (std::size_t i = 0; i < lines.size() && found < wanted.size(); ++i) {
      const auto it = wanted.find(bareNameView(lines[i]));
      if (it != wanted.end() && !it->second) {
        it->second = i;
        ++found;
      }
    }
    for (int k = 0; k < total; ++k) {
      ui.processEvents();
      const std::string& candidate = candidates[static_cast<std::size_t>(k)];
      if (!isSkippedCandidate(candidate)) {
        const auto& line = wanted.at(bareNameView(candidate));
        // One game file is replaced once: a repeat would only be refused at install, one box each.
        if (line && chosen.hasDestination(lines[*line])) {
          ++repeated;
        } else if (line) {
          chosen.add(candidate, lines[*line]);
        }
      }
      view.setProgress(k + 1);
      view.setStatus(texts::kChecking);
    }
    candidates.clear();
  }
  view.setProgress(0);
  if (chosen.sources().size() != chosen.destinations().size()) {
    program.ErrorMsg(texts::kListsDiffer, texts::kListsDifferLog);
  }
  return repeated;
}

}  // namespace installs
