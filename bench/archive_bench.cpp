// Adding and installing 500 files of 1 MiB straight from a zip ("Из архива"), beside the same zip
// unpacked by `bsdtar -xf` and then added from the unpacked folder ("Из папки, включая вложенные папки")
// and installed, in the same run. The game files are restored between rounds, untimed.
#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "app/program.h"
#include "bench_support.h"
#include "installs/dialog.h"
#include "installs/install.h"
#include "installs/restore.h"
#include "sys/paths.h"
#include "sys/registry.h"

namespace {

// Picks the archive or the folder, names the installation, agrees to every box; anything but the
// restore's closing box is unexpected.
struct QuietUi : bench::UnattendedUi {
  QuietUi() { expectedBox = "Файлы восстановлены"; }
};

// Bytes that deflate to about half, as game models do.
std::string halfCompressible(std::mt19937& random, std::size_t size) {
  std::string bytes(size, '\0');
  for (auto& b : bytes) b = static_cast<char>(random() & 0x0F);
  return bytes;
}

void writeZip(const std::string& path, int files, std::size_t size, std::mt19937& random) {
  archive* writer = archive_write_new();
  archive_write_set_format_zip(writer);
  archive_write_open_filename(writer, path.c_str());
  for (int i = 0; i < files; ++i) {
    const std::string bytes = halfCompressible(random, size);
    archive_entry* entry = archive_entry_new();
    archive_entry_set_pathname(entry, ("pack/models/model_" + std::to_string(i) + ".mdl").c_str());
    archive_entry_set_filetype(entry, AE_IFREG);
    archive_entry_set_perm(entry, 0644);
    archive_entry_set_size(entry, static_cast<la_int64_t>(bytes.size()));
    archive_write_header(writer, entry);
    archive_write_data(writer, bytes.data(), bytes.size());
    archive_entry_free(entry);
  }
  archive_write_close(writer);
  archive_write_free(writer);
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main() {
  using bench::secondsSince;
  const auto root = std::filesystem::temp_directory_path() / ("varnikit-archive-bench-" + std::to_string(std::random_device{}()));
  const std::string base = sys::fromPath(root) + sys::kSep;
  for (const char* sub : {"program", "cstrike/models", "downloads"}) std::filesystem::create_directories(root / sub);
  constexpr int kFiles = 500;
  constexpr std::size_t kSize = 1 << 20;
  std::mt19937 random(1374);
  std::vector<std::string> catalogue;
  for (int i = 0; i < kFiles; ++i) {
    const std::string game = base + "cstrike/models/model_" + std::to_string(i) + ".mdl";
    const std::string bytes = halfCompressible(random, kSize);
    std::ofstream(sys::toPath(game), std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    catalogue.push_back(game);
  }
  const std::string zip = base + "downloads/pack.zip";
  writeZip(zip, kFiles, kSize, random);

  QuietUi ui;
  ui.files = {zip};
  bench::NoShell shell;
  bench::NoWindows windows;
  sys::HiveFileRegistry registry(base + "hive.reg");
  app::Program program(app::Services{ui, sys::realFileSystem(), registry, shell, windows, sys::systemClock(), base});
  auto& settings = program.settings;
  settings.FilePath = base + "program" + sys::kSep;
  settings.CSDir = base + "cstrike";
  settings.FilesListDir = settings.FilePath + "fileslist.dat";
  sys::realFileSystem().writeLines(settings.FilesListDir, catalogue);

  int installed = 0;
  const auto restore = [&] {
    auto names = installs::openInstallationList(program);
    installs::Restore(program, names, 0);
  };
  std::vector<double> fromArchive, bsdtar, fromFolder, sums;
  for (int round = 0; round < 3; ++round) {
    {
      std::system("sync");
      installs::ChosenFiles chosen;
      installs::FileSearch search;
      installs::UnpackFolders unpacked;
      installs::DialogView view;
      ui.name = "archive" + std::to_string(round);
      const auto start = std::chrono::steady_clock::now();
      installs::AddFiles(program, installs::AddMode::Archive, chosen, search, unpacked, view);
      installed += static_cast<int>(chosen.size());
      installs::Install(program, chosen, "", view);
      fromArchive.push_back(secondsSince(start));
      unpacked.removeAll(program.fs());
      restore();
    }
    {
      const std::string folder = base + "unpacked-by-bsdtar";
      std::filesystem::create_directories(folder);
      std::system("sync");
      auto start = std::chrono::steady_clock::now();
      if (std::system(("bsdtar -xf " + zip + " -C " + folder).c_str()) != 0) std::fprintf(stderr, "bsdtar failed\n");
      bsdtar.push_back(secondsSince(start));
      installs::ChosenFiles chosen;
      installs::FileSearch search;
      installs::UnpackFolders unpacked;
      installs::DialogView view;
      ui.name = "folder" + std::to_string(round);
      ui.folder = folder;
      start = std::chrono::steady_clock::now();
      installs::AddFiles(program, installs::AddMode::FolderTree, chosen, search, unpacked, view);
      installed += static_cast<int>(chosen.size());
      installs::Install(program, chosen, "", view);
      fromFolder.push_back(secondsSince(start));
      sums.push_back(bsdtar.back() + fromFolder.back());
      std::filesystem::remove_all(folder);
      restore();
    }
  }
  const double ratio = median(fromArchive) / median(sums);
  std::printf("Add and install of %d files of 1 MiB from a zip of %.0f MiB (median of 3 rounds)\n", kFiles,
              static_cast<double>(std::filesystem::file_size(zip)) / (1 << 20));
  std::printf("  from the archive:                     %.2f s\n", median(fromArchive));
  std::printf("  bsdtar -xf:                           %.2f s\n", median(bsdtar));
  std::printf("  then from the unpacked folder:        %.2f s\n", median(fromFolder));
  std::printf("  bsdtar and the folder, per round:     %.2f s\n", median(sums));
  std::printf("  ratio %.2fx (target within 1.2x); files installed %d of %d; unexpected boxes: %d\n", ratio,
              installed, 6 * kFiles, ui.unexpected);
  std::filesystem::remove_all(root);
  return installed == 6 * kFiles && ui.unexpected == 0 ? 0 : 1;
}
