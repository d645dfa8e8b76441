#include "support/program_fixture.h"

#include "sys/paths.h"

namespace testing_support {

ProgramFixture::ProgramFixture() {
  makeFolder(temp / "program");
  makeFolder(temp / "exe");
  makeFolder(gameFolder());
  registry = std::make_unique<sys::HiveFileRegistry>(temp / "hive.reg");
  program = std::make_unique<app::Program>(
      app::Services{ui, fs, *registry, shell, windows, clock, temp / "exe" + sys::kSep});
}

void ProgramFixture::configure() {
  auto& s = program->settings;
  s.FilePath = programFolder();
  s.CSDir = gameFolder();
  s.FilesListDir = s.FilePath + "fileslist.dat";
  s.FilesInfoDir = s.FilePath + "filesinfo.dat";
  s.ListUpdate = "2";
  s.AddFilesType = "2";
}

std::string ProgramFixture::gameFile(const std::string& relative, const std::string& bytes) {
  const std::string path = gameFolder() + sys::kSep + native(relative);
  writeBytes(path, bytes);
  return path;
}

}  // namespace testing_support
