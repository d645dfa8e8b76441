// CheckFiles of 20,000 new files against a catalogue of 100,000 game paths, beside a check that reads
// the catalogue again from its first line for every new file (measured on fewer files and scaled).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "app/program.h"
#include "bench_support.h"
#include "installs/check.h"
#include "sys/encoding.h"
#include "sys/paths.h"
#include "sys/registry.h"
#include "sys/shell.h"

namespace {

// Says Yes to the question above 500 files and nothing else.
using QuietUi = bench::UnattendedUi;
using bench::NoShell;
using bench::NoWindows;
using bench::secondsSince;

// The check as the catalogue was first meant to be read: opened and read from its first line for each
// new file, until the first line with the same bare name.
std::size_t checkByRereading(const std::string& catalogue, const std::vector<std::string>& candidates) {
  std::size_t accepted = 0;
  for (const auto& candidate : candidates) {
    const std::string wanted = sys::upperAscii(sys::bareName(candidate));
    std::ifstream in(sys::toPath(catalogue), std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (sys::upperAscii(sys::bareName(sys::decodeLine(line))) == wanted) {
        ++accepted;
        break;
      }
    }
  }
  return accepted;
}

}  // namespace

int main() {
  const auto root = std::filesystem::temp_directory_path() / ("varnikit-check-bench-" + std::to_string(std::random_device{}()));
  std::filesystem::create_directories(root);
  const std::string folder = sys::fromPath(root) + sys::kSep;
  const std::string catalogue = folder + "fileslist.dat";

  constexpr int kLines = 100000;
  constexpr int kCandidates = 20000;
  std::vector<std::string> lines;
  lines.reserve(kLines);
  for (int i = 0; i < kLines; ++i) {
    lines.push_back("/games/Half-Life/cstrike/models/player/set" + std::to_string(i % 997) + "/model_" +
                    std::to_string(i) + (i % 3 ? ".mdl" : ".wav"));
  }
  sys::realFileSystem().writeLines(catalogue, lines);

  // Three quarters have a namesake somewhere in the catalogue, one quarter has none.
  std::mt19937 random(2003);
  std::vector<std::string> candidates;
  for (int i = 0; i < kCandidates; ++i) {
    const int index = static_cast<int>(random() % kLines);
    const std::string name = i % 4 ? "MODEL_" + std::to_string(index) + (index % 3 ? ".MDL" : ".WAV")
                                   : "unknown_" + std::to_string(i) + ".mdl";
    candidates.push_back("/home/player/new/" + name);
  }

  QuietUi ui;
  NoShell shell;
  NoWindows windows;
  sys::HiveFileRegistry registry(folder + "hive.reg");
  app::Program program(app::Services{ui, sys::realFileSystem(), registry, shell, windows, sys::systemClock(), folder});
  program.settings.FilePath = folder;
  program.settings.FilesListDir = catalogue;

  std::vector<double> runs;
  std::size_t accepted = 0;
  for (int run = 0; run < 5; ++run) {
    std::vector<std::string> work = candidates;
    installs::ChosenFiles chosen;
    installs::DialogView view;
    const auto start = std::chrono::steady_clock::now();
    installs::CheckFiles(program, work, chosen, view);
    runs.push_back(secondsSince(start));
    accepted = chosen.size();
  }
  std::sort(runs.begin(), runs.end());
  const double once = runs[runs.size() / 2];

  constexpr int kRereadSample = 200;
  const std::vector<std::string> sample(candidates.begin(), candidates.begin() + kRereadSample);
  const auto start = std::chrono::steady_clock::now();
  const std::size_t sampleAccepted = checkByRereading(catalogue, sample);
  const double reread = secondsSince(start);
  const double rereadScaled = reread * kCandidates / kRereadSample;

  std::printf("CheckFiles: %d new files against %d catalogue lines, %zu accepted\n", kCandidates, kLines, accepted);
  std::printf("  catalogue read once (median of 5): %.3f s   (target < 0.5 s)\n", once);
  std::printf("  catalogue re-read per new file:    %.3f s for %d files (%zu accepted), %.1f s scaled to %d\n",
              reread, kRereadSample, sampleAccepted, rereadScaled, kCandidates);
  std::printf("  ratio re-read / once: %.0fx\n", rereadScaled / once);
  std::filesystem::remove_all(root);
  return once < 0.5 ? 0 : 1;
}
