// The catalogue scan against `find ROOT -type f > /dev/null` on the same game-like tree, warm cache, and
// the scan's peak memory on a small and a large tree (it streams, so the two must be alike).
//
//   build/bench/scan_bench [files] [folders]      (defaults 50000 and 2500)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "catalogue/scan.h"
#include "sys/filesystem.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Folders up to six levels below the root, files spread over them with the game's kinds of names.
void makeTree(const fs::path& root, int files, int folders) {
  std::mt19937 random(1374);
  const char* folderNames[] = {"models", "player", "sound", "weapons", "maps", "sprites", "gfx", "env", "radio", "events"};
  const char* extensions[] = {".mdl", ".wav", ".spr", ".bsp", ".txt", ".wad", ".res", ".tga"};
  std::vector<std::pair<fs::path, int>> made{{root, 0}};  // folder and its depth
  fs::create_directories(root);
  while (static_cast<int>(made.size()) < folders) {
    const auto [parent, depth] = made[random() % made.size()];
    if (depth >= 6) continue;
    const fs::path folder = parent / (std::string(folderNames[random() % 10]) + std::to_string(made.size()));
    fs::create_directory(folder);
    made.emplace_back(folder, depth + 1);
  }
  for (int i = 0; i < files; ++i) {
    const fs::path& folder = made[random() % made.size()].first;
    std::ofstream(folder / ("file" + std::to_string(i) + extensions[random() % 8])) << "x";
  }
}

struct Run {
  double seconds = 0;
  long maxRssKb = 0;
};

// Runs a program with its output thrown away; its wall time and its own peak memory.
Run runChild(const std::vector<std::string>& argv) {
  std::fflush(stdout);
  const auto start = Clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    std::freopen("/dev/null", "w", stdout);
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  Run run;
  run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  run.maxRssKb = usage.ru_maxrss;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) std::fprintf(stderr, "child %s failed\n", argv[0].c_str());
  return run;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

std::string self() { return fs::read_symlink("/proc/self/exe").string(); }

// The child's work: one scan of root into catalogue.
int scanOnly(const std::string& root, const std::string& catalogue) {
  const auto result = catalogue::scanGameFolder(sys::realFileSystem(), root, catalogue, [] {});
  std::printf("%zu\n", result.files);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--scan") == 0) return scanOnly(argv[2], argv[3]);
  if (argc == 2 && std::strcmp(argv[1], "--idle") == 0) return 0;
  const int files = argc > 1 ? std::atoi(argv[1]) : 50000;
  const int folders = argc > 2 ? std::atoi(argv[2]) : 2500;

  const fs::path work = fs::temp_directory_path() / ("varnikit-scan-bench-" + std::to_string(getpid()));
  const fs::path big = work / "big/cstrike";
  const fs::path small = work / "small/cstrike";
  std::printf("making trees under %s ...\n", work.c_str());
  makeTree(big, files, folders);
  makeTree(small, files / 10, folders / 10);
  const std::string catalogueFile = (work / "fileslist.dat").string();
  sys::FileSystem& files_ = sys::realFileSystem();

  // Warm the cache.
  runChild({"find", big.string(), "-type", "f"});
  catalogue::scanGameFolder(files_, big.string(), catalogueFile, [] {});

  std::vector<double> scanTimes, findTimes, scanProcessTimes;
  std::size_t listed = 0;
  for (int round = 0; round < 7; ++round) {
    const auto start = Clock::now();
    listed = catalogue::scanGameFolder(files_, big.string(), catalogueFile, [] {}).files;
    scanTimes.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    findTimes.push_back(runChild({"find", big.string(), "-type", "f"}).seconds);
    scanProcessTimes.push_back(runChild({self(), "--scan", big.string(), catalogueFile}).seconds);
  }

  // The one-open-per-line writing that the catalogue's format was first written with, for reference.
  class AppendSink final : public sys::LineSink {
   public:
    AppendSink(sys::FileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
    void write(const std::string& line) override { fs_.appendLine(path_, line); }
    void flush() override {}
    void close() override {}

   private:
    sys::FileSystem& fs_;
    std::string path_;
  } appendSink(files_, (work / "appended.dat").string());
  catalogue::ScanResult appended;
  const auto appendStart = Clock::now();
  catalogue::FindFiles(files_, big.string(), appendSink, appended, [] {});
  const double appendSeconds = std::chrono::duration<double>(Clock::now() - appendStart).count();

  const Run idle = runChild({self(), "--idle"});
  const Run smallScan = runChild({self(), "--scan", small.string(), catalogueFile});
  const Run bigScan = runChild({self(), "--scan", big.string(), catalogueFile});
  const Run bigFind = runChild({"find", big.string(), "-type", "f"});

  std::printf("tree: %zu files in %d folders (up to 6 deep)\n", listed, folders);
  std::printf("scan, in process (median of 7):        %8.1f ms\n", median(scanTimes) * 1000);
  std::printf("scan, as its own process (median of 7): %7.1f ms\n", median(scanProcessTimes) * 1000);
  std::printf("find -type f > /dev/null (median of 7): %7.1f ms\n", median(findTimes) * 1000);
  std::printf("ratio scan process / find:              %7.2f\n", median(scanProcessTimes) / median(findTimes));
  std::printf("ratio scan in process / find:           %7.2f\n", median(scanTimes) / median(findTimes));
  std::printf("scan opening the file once per line:    %7.1f ms\n", appendSeconds * 1000);
  std::printf("peak memory: idle process %ld KB, scan of %d files %ld KB, scan of %zu files %ld KB, find %ld KB\n",
              idle.maxRssKb, files / 10, smallScan.maxRssKb, listed, bigScan.maxRssKb, bigFind.maxRssKb);
  fs::remove_all(work);
  return 0;
}
