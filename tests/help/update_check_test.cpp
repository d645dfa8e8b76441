#include <gtest/gtest.h>

#include "help/links.h"
#include "help/update_check.h"
#include "support/program_fixture.h"

namespace {

using testing_support::ProgramFixture;

class UpdateCheck : public ProgramFixture {};

TEST_F(UpdateCheck, WaitsFiftyStepsBusyThenReportsAndEndsTheBusyState) {
  int eventsBeforeBox = -1;
  bool busyDuringBox = false;
  std::string statusDuringBox;
  ui.expectError(std::string("Сервер '") + help::kHomeSite + "' вне досягаемости").onNextMessage([&] {
    eventsBeforeBox = ui.eventsProcessed;
    busyDuringBox = ui.busy;
    statusDuringBox = ui.statusText;
  });
  int busyPumps = 0;
  ui.onProcessEvents = [&] {
    if (ui.busy && !ui.mainWindowEnabled) ++busyPumps;
  };
  help::checkForUpdates(*program, std::chrono::milliseconds(0));

  EXPECT_EQ(eventsBeforeBox, 50);
  EXPECT_EQ(busyPumps, 50) << "the windows repaint after every step while the program is busy";
  EXPECT_TRUE(busyDuringBox);
  EXPECT_EQ(statusDuringBox, "Соединение с сервером...");
  EXPECT_EQ(ui.statusHistory, (std::vector<std::string>{"Соединение с сервером...", ""}));
  EXPECT_FALSE(ui.busy);
  EXPECT_TRUE(ui.mainWindowEnabled);
  EXPECT_EQ(ui.icons, std::vector<app::Icon>{app::Icon::Error});
  EXPECT_TRUE(shell.calls.empty()) << "no connection is made";
}

}  // namespace
