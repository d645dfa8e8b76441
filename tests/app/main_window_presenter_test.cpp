#include <gtest/gtest.h>

#include <stdexcept>

#include "app/main_window_presenter.h"
#include "app/main_window_state.h"
#include "support/program_fixture.h"
#include "sys/error.h"

namespace {

using testing_support::ProgramFixture;
using testing_support::readBytes;

// Records what the presenter tells the window; answers its questions from fields the test sets.
class RecordingMainWindow final : public app::MainWindowView {
 public:
  void setCaption(const std::string& text) override { caption = text; }
  void setHintTiming(int pause, int hidePause) override { hints = {pause, hidePause}; }
  void postActivation(int delayMs) override { posts.push_back(delayMs); }
  void updateEnabledState() override { ++enabledUpdates; }
  app::WindowPlace windowPlace() const override { return place; }
  std::vector<app::ScreenArea> screenAreas() const override { return screens; }
  void placeWindow(const app::WindowPlace& to) override {
    place.left = to.left;
    place.top = to.top;
    ++moves;
  }
  app::WindowPlace place{100, 100, 666, 400};
  std::vector<app::ScreenArea> screens{{0, 0, 1280, 1024}};
  int moves = 0;
  bool windowShown() const override { return shown; }
  bool windowEnabled() const override { return enabled; }
  bool modalBoxOpen() const override { return modalBox; }
  bool anySecondaryWindowOpen() const override { return secondaryOpen; }
  void showInstallationsPage() override { calls.push_back("installations"); }
  void showFilesListPage() override { calls.push_back("files"); }
  void setUpFilesGrid() override { calls.push_back("grid"); }
  void fitFilesGrid() override { calls.push_back("fit"); }
  void showSettings() override { calls.push_back("settings"); }
  void closeWindow() override { calls.push_back("close"); }
  void hideSecondaryWindows() override { calls.push_back("hide others"); }

  std::string caption;
  std::pair<int, int> hints{};
  std::vector<int> posts;
  std::vector<std::string> calls;
  int enabledUpdates = 0;
  bool shown = true, enabled = true, modalBox = false, secondaryOpen = false;
};

class MainWindowPresenterTest : public ProgramFixture {
 protected:
  // The activation step with no game folder asks for the settings dialog: a cheap way to see it ran.
  int activations() const { return static_cast<int>(std::count(view.calls.begin(), view.calls.end(), "settings")); }

  RecordingMainWindow view;
  app::MainWindowPresenter presenter{*program, view};
};

TEST_F(MainWindowPresenterTest, GuardReportsEveryFaultAndLeavesTheWindowNeitherBusyNorHeld) {
  struct Case {
    const char* name;
    std::function<void()> fault;
    const char* caption;
    const char* text;
    const char* logLine;  // nullptr: nothing logged
  };
  const Case cases[] = {
      {"I/O error", [] { throw sys::IoError("disk full"); }, "Varnikit", "disk full", nullptr},
      {"other exception", [] { throw std::logic_error("bad\r\nstate"); }, "Ошибка", "Произошла ошибка",
       "Непредвиденная ошибка в обработчике окна: bad  state"},
      {"anything else", [] { throw 42; }, "Ошибка", "Произошла ошибка", "Непредвиденная ошибка в обработчике окна"},
  };
  program->settings.FilePath = programFolder();
  for (const Case& c : cases) {
    ui.expectMessage(c.caption, c.text);
    presenter.guard([&] {
      program->Status("working", 1);
      ui.setMainWindowEnabled(false);
      c.fault();
    });
    EXPECT_FALSE(ui.busy) << c.name;
    EXPECT_FALSE(ui.held) << c.name;
    EXPECT_EQ(ui.statusText, "") << c.name;
    const std::string log = programFolder() + "errors.txt";
    const auto lines = testing_support::fileExists(log) ? fs.readLines(log) : std::vector<std::string>{};
    if (c.logLine) {
      ASSERT_FALSE(lines.empty()) << c.name;
      EXPECT_EQ(lines.back(), std::string("07.03.2003 14:05:09: ") + c.logLine) << c.name;
    } else {
      EXPECT_TRUE(lines.empty()) << c.name;
    }
  }
  ui.verifyAllAnswered();
}

TEST_F(MainWindowPresenterTest, InnerHandlerFaultLeavesTheOuterHandlersBusyStateToIt) {
  ui.expectMessage("Varnikit", "inner");
  presenter.guard([&] {
    program->Status("outer", 1);
    presenter.guard([] { throw sys::IoError("inner"); });
    EXPECT_TRUE(ui.busy) << "the outer handler still runs";
    EXPECT_EQ(ui.statusText, "outer");
    program->Status("", 0);
  });
  EXPECT_FALSE(ui.busy);
}

TEST_F(MainWindowPresenterTest, PostedActivationWaitsRunsOrIsDropped) {
  enum Outcome { Retry, Run, Drop };
  struct Case {
    const char* name;
    bool modalBox, shown, enabled, secondaryOpen, held, closing;
    Outcome outcome;
  };
  const Case cases[] = {
      {"nothing in the way", false, true, true, false, false, false, Run},
      {"a box is open", true, true, true, false, false, false, Retry},
      {"busy or held by an operation", false, true, false, false, false, false, Retry},
      {"disabled by another open window", false, true, false, true, false, false, Drop},
      {"another window is open", false, true, true, true, false, false, Drop},
      {"activation held", false, true, true, false, true, false, Drop},
      {"main window hidden", false, false, false, false, false, false, Drop},
  };
  for (const Case& c : cases) {
    RecordingMainWindow window;
    app::MainWindowPresenter fresh(*program, window);
    fresh.secondaryWindowHidden();
    if (c.held) fresh.holdActivation();  // taken while the activation waits
    ASSERT_EQ(window.posts, std::vector<int>{0}) << c.name;
    EXPECT_EQ(window.enabledUpdates, 1) << c.name;
    fresh.secondaryWindowHidden();
    EXPECT_EQ(window.posts.size(), 1u) << c.name << ": one activation waiting at most";
    window.modalBox = c.modalBox;
    window.shown = c.shown;
    window.enabled = c.enabled;
    window.secondaryOpen = c.secondaryOpen;
    fresh.ActivationDue();
    const bool ran = std::count(window.calls.begin(), window.calls.end(), "settings") == 1;
    EXPECT_EQ(ran, c.outcome == Run) << c.name;
    EXPECT_EQ(window.posts.size(), c.outcome == Retry ? 2u : 1u) << c.name;
    if (c.outcome == Retry) {
      EXPECT_EQ(window.posts.back(), app::MainWindowPresenter::kActivationRetryMs) << c.name;
      window.modalBox = false;
      window.enabled = true;
      fresh.ActivationDue();
      EXPECT_EQ(std::count(window.calls.begin(), window.calls.end(), "settings"), 1) << c.name << ": runs once free";
    }
  }
}

TEST_F(MainWindowPresenterTest, NoActivationIsPostedWhileHeldOrClosing) {
  presenter.holdActivation();
  presenter.secondaryWindowHidden();
  presenter.releaseActivation();
  EXPECT_TRUE(view.posts.empty());
  presenter.FormClose();
  presenter.secondaryWindowHidden();
  EXPECT_TRUE(view.posts.empty());
  EXPECT_EQ(view.calls, std::vector<std::string>{"hide others"});
}

TEST_F(MainWindowPresenterTest, FirstShowingFillsPageZeroAndActivatesOnceWhateverIsOpen) {
  presenter.FormCreate();
  EXPECT_EQ(view.caption, "Varnikit 1.0    |    build: 1374");
  EXPECT_EQ(view.calls, std::vector<std::string>{"grid"});
  presenter.FormShow();
  EXPECT_EQ(view.hints, std::make_pair(300, 5000));
  EXPECT_EQ(view.posts, std::vector<int>{0});
  view.modalBox = true;
  presenter.ActivationDue();
  EXPECT_EQ(activations(), 1) << "the first activation does not wait";
  presenter.ActivationDue();
  EXPECT_EQ(activations(), 1) << "nothing else was posted";
  presenter.FormHide();
  EXPECT_EQ(view.hints, std::make_pair(500, 2500));
  presenter.FormShow();
  EXPECT_EQ(std::count(view.calls.begin(), view.calls.end(), "installations"), 1) << "only the first showing";
  EXPECT_EQ(view.posts.size(), 1u);
}

TEST_F(MainWindowPresenterTest, MouseOverTheWindowShowsTheDateAndOverThePagesClearsOnlyWhenEnabled) {
  presenter.FormMouseMove();
  EXPECT_EQ(ui.statusText, "07.03.2003");
  presenter.PagesMouseMove();
  EXPECT_EQ(ui.statusText, "");
  program->Status("scanning", 1);
  view.enabled = false;
  presenter.FormMouseMove();
  presenter.PagesMouseMove();
  EXPECT_EQ(ui.statusText, "scanning");
  EXPECT_TRUE(ui.busy) << "the pointer does not end an operation's busy state";
}

TEST_F(MainWindowPresenterTest, CloseWritesTheUtilityListAndGoesOnWhenItCannot) {
  configure();
  program->startUp();
  program->utilities[0] = {"Demo", programFolder() + "demo.exe"};
  presenter.FormClose();
  EXPECT_EQ(readBytes(programFolder() + "utilities.dat"), "Demo\r\n" + programFolder() + "demo.exe\r\n");
  EXPECT_TRUE(presenter.closing());

  // utilities.dat cannot be written (a folder stands in its place): the failure is shown and logged, and
  // the other windows still go.
  RecordingMainWindow window;
  app::MainWindowPresenter again(*program, window);
  std::filesystem::remove(sys::toPath(programFolder() + "utilities.dat"));
  testing_support::makeFolder(programFolder() + "utilities.dat");
  ui.expectAnyMessage("Ошибка");
  again.FormClose();
  ui.verifyAllAnswered();
  const auto log = fs.readLines(programFolder() + "errors.txt");
  ASSERT_EQ(log.size(), 1u);
  EXPECT_NE(log[0].find(": Не удалось записать utilities.dat: "), std::string::npos) << log[0];
  EXPECT_EQ(window.calls, std::vector<std::string>{"hide others"});
}

TEST(MainWindowState, EachOwnerEndsOnlyItself) {
  struct Step {
    const char* name;
    std::function<void(app::MainWindowState&)> act;
    bool dialogOpen;
    bool enabled;
  };
  app::MainWindowState state;
  const Step steps[] = {
      {"fresh", [](auto&) {}, false, true},
      {"busy", [](auto& s) { EXPECT_TRUE(s.setBusy(true)); }, false, false},
      {"busy again changes nothing", [](auto& s) { EXPECT_FALSE(s.setBusy(true)); }, false, false},
      {"held too", [](auto& s) { s.setHeld(true); }, false, false},
      {"busy ends, the hold stays", [](auto& s) { EXPECT_TRUE(s.setBusy(false)); }, false, false},
      {"hold ends", [](auto& s) { s.setHeld(false); }, false, true},
      {"a dialog is open", [](auto&) {}, true, false},
      {"release after an error", [](auto& s) { s.setBusy(true); s.setHeld(true); EXPECT_TRUE(s.release()); }, false, true},
      {"release keeps an open dialog's hold", [](auto& s) { EXPECT_FALSE(s.release()); }, true, false},
  };
  for (const Step& step : steps) {
    step.act(state);
    EXPECT_EQ(state.enabled(step.dialogOpen), step.enabled) << step.name;
  }
}

}  // namespace

namespace {

// The window's place is kept in the hive at close and taken back at the next start, when a screen still
// shows its title strip; an old hive without it, or a place off every screen, leaves the window where it
// puts itself.
TEST_F(MainWindowPresenterTest, TheWindowReturnsToItsPlaceWhenAScreenStillShowsIt) {
  configure();
  presenter.FormCreate();
  EXPECT_EQ(view.moves, 0) << "an old hive has no place";
  view.place = {40, -10, 666, 400};
  presenter.FormClose();
  EXPECT_EQ(app::readWindowPlace(*registry), (app::WindowPlace{40, -10, 666, 400}));

  struct Case {
    app::WindowPlace stored;
    std::vector<app::ScreenArea> screens;
    bool placed;
  };
  const Case cases[] = {
      {{40, -10, 666, 400}, {{0, 0, 1280, 1024}}, true},                         // the title half on the screen
      {{1900, 300, 666, 400}, {{0, 0, 1280, 1024}}, false},                      // a second screen taken away
      {{1900, 300, 666, 400}, {{0, 0, 1280, 1024}, {1280, 0, 1920, 1080}}, true},
      {{40, -40, 666, 400}, {{0, 0, 1280, 1024}}, false},                        // its title above the screen
      {{1250, 300, 666, 400}, {{0, 0, 1280, 1024}}, false},                      // only 30 pixels to take hold of
  };
  for (const Case& c : cases) {
    app::writeWindowPlace(*registry, c.stored);
    RecordingMainWindow window;
    window.screens = c.screens;
    app::MainWindowPresenter next(*program, window);
    next.FormCreate();
    EXPECT_EQ(window.moves, c.placed ? 1 : 0) << c.stored.left << "," << c.stored.top;
    if (c.placed) {
      EXPECT_EQ(window.place.left, c.stored.left);
    }
  }
  // Values that are not whole numbers, or no size: no place at all.
  registry->writeValues(app::kProgramKey, {{"WindowLeft", "1e3"}});
  EXPECT_EQ(app::readWindowPlace(*registry), std::nullopt);
  registry->writeValues(app::kProgramKey, {{"WindowLeft", "10"}, {"WindowWidth", "0"}});
  EXPECT_EQ(app::readWindowPlace(*registry), std::nullopt);
}

}  // namespace
