#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/program.h"
#include "support/fakes.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"
#include "sys/filesystem.h"
#include "sys/paths.h"
#include "sys/registry.h"

namespace testing_support {

// A Program on its own temporary folders: a program folder "program/" (FilePath), a game folder
// "game/cstrike", an executable folder "exe/" and a hive file "hive.reg", with scripted Ui, recording shell,
// fake window finder and a fixed clock. Nothing outside the temporary folder is touched.
class ProgramFixture : public ::testing::Test {
 protected:
  ProgramFixture();

  // FilePath of the program ("<temp>/program/").
  std::string programFolder() const { return temp / "program" + sys::kSep; }
  std::string gameFolder() const { return temp / "game/cstrike"; }
  // Sets FilePath, CSDir, catalogue and descriptions paths the way a started program has them.
  void configure();
  // Writes a file below the game folder (relative with '/'), returning its full path.
  std::string gameFile(const std::string& relative, const std::string& bytes = "original");

  TempFolder temp;
  ScriptedUi ui;
  RecordingShell shell;
  FakeWindowFinder windows;
  FixedClock clock;
  std::unique_ptr<sys::HiveFileRegistry> registry;
  sys::FileSystem& fs = sys::realFileSystem();
  std::unique_ptr<app::Program> program;
};

}  // namespace testing_support
