#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/fakes.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"
#include "sys/filesystem.h"
#include "sys/registry.h"
#include "win32/main_window.h"

namespace testing_support {

// The Win32 main window on temporary folders: "program/" is the data folder (stored as FilePath in the
// hive by storeSettings()), "game/cstrike" the game folder, "exe/" the executable's folder. Boxes and
// choosers are scripted; the status bar and the enabled state are the real windows'.
class NativeMainWindowFixture : public ::testing::Test {
 protected:
  NativeMainWindowFixture();
  ~NativeMainWindowFixture() override;

  std::string programFolder() const;
  std::string gameFolder() const { return temp / "game/cstrike"; }
  // Stores FilePath, CSDir and the catalogue paths in the hive so start-up finds a configured program.
  void storeSettings(const std::string& listUpdate = "1");
  // Creates the main window (start-up runs here).
  void createMainWindow();
  std::string statusText() const;

  TempFolder temp;
  ScriptedUi ui;
  RecordingShell shell;
  FakeWindowFinder windows;
  FixedClock clock;
  std::unique_ptr<sys::HiveFileRegistry> registry;
  sys::FileSystem& fs = sys::realFileSystem();
  std::unique_ptr<winui::MainWindow> main;
};

}  // namespace testing_support
