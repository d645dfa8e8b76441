#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "app/ui/TForm1.h"
#include "app/ui/TOptions.h"
#include "catalogue/ui/TListInfo.h"
#include "help/ui/THelp.h"
#include "installs/ui/Tinstall.h"
#include "launchers/ui/TRunMenu.h"
#include "launchers/ui/Tutils.h"
#include "service/ui/Tcommand.h"
#include "support/fakes.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"
#include "sys/registry.h"

namespace testing_support {

// The main window with all seven other windows, on temporary folders: "program/" is the data folder
// (stored as FilePath in the hive before start-up when storeSettings() is called), "game/cstrike" the
// game folder. Boxes and choosers are scripted; the status line and enabled states are the real widgets.
class MainWindowFixture : public ::testing::Test {
 protected:
  MainWindowFixture();
  ~MainWindowFixture() override;

  std::string programFolder() const;
  std::string gameFolder() const { return temp / "game/cstrike"; }
  // Stores FilePath, CSDir and the catalogue paths in the hive so start-up finds a configured program.
  void storeSettings();
  // Creates the windows in their order (start-up runs here).
  void createWindows();
  std::string gameFile(const std::string& relative, const std::string& bytes = "original");
  QString statusText() const;

  TempFolder temp;
  ScriptedUi ui;
  RecordingShell shell;
  FakeWindowFinder windows;
  FixedClock clock;
  std::unique_ptr<sys::HiveFileRegistry> registry;
  sys::FileSystem& fs = sys::realFileSystem();

  std::unique_ptr<TForm1> form1;
  std::unique_ptr<TOptions> options;
  std::unique_ptr<TListInfo> listInfo;
  std::unique_ptr<TRunMenu> runMenu;
  std::unique_ptr<Tinstall> install;
  std::unique_ptr<Tcommand> command;
  std::unique_ptr<Tutils> utils;
  std::unique_ptr<THelp> help;
};

}  // namespace testing_support
