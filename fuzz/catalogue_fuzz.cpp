// The catalogue ("fileslist.dat"): any file shows as rows on the file list page, and the install check
// only ever picks destinations that are lines of it, keeping both of its lists in step.
#include <algorithm>

#include "catalogue/files_list.h"
#include "fuzz_support.h"
#include "installs/check.h"
#include "sys/error.h"
#include "sys/paths.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::clearScratch();
  sys::FileSystem& fs = fuzz::fileSystem();
  const std::string catalogue = fuzz::writeInput("fileslist.dat", data, size);
  const std::string descriptions = fuzz::scratchFolder() + "filesinfo.dat";
  fs.writeLines(descriptions, {".mdl", "Модель", ".wav", "Звук"});
  const auto rows = catalogue::FilesList::read(fs, catalogue, descriptions);
  const auto lines = fs.readLines(catalogue);
  if (rows.size() != lines.size()) fuzz::fail("the page shows another number of rows than the catalogue has lines");
  for (std::size_t row = 0; row < rows.size() && row < 64; ++row) {
    (void)rows.name(row);
    (void)rows.description(row);
  }

  app::Program& program = fuzz::program();
  program.settings.FilesListDir = catalogue;
  std::vector<std::string> candidates = {"/new/gign.mdl", "/new/README.TXT", "/new/x.bsp/a.wav"};
  for (std::size_t i = 0; i < lines.size() && i < 8; ++i) candidates.push_back("/new/" + sys::bareName(lines[i]));
  installs::ChosenFiles chosen;
  installs::DialogView view;
  try {
    installs::CheckFiles(program, candidates, chosen, view);
  } catch (const sys::IoError&) {
  }
  if (chosen.sources().size() != chosen.destinations().size()) fuzz::fail("the two lists of the dialog differ");
  for (const auto& destination : chosen.destinations()) {
    if (std::find(lines.begin(), lines.end(), destination) == lines.end()) {
      fuzz::fail("a destination that is no line of the catalogue");
    }
  }
  return 0;
}
