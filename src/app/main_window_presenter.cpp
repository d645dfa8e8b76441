#include "app/main_window_presenter.h"

#include "app/texts.h"
#include "sys/error.h"

namespace app {

void MainWindowPresenter::guard(const std::function<void()>& handler) {
  // Nothing may leave a handler: an exception through the toolkit's event dispatch ends the program.
  struct Depth {
    int& depth;
    explicit Depth(int& d) : depth(d) { ++depth; }
    ~Depth() { --depth; }
  } depth(guardDepth_);
  try {
    handler();
  } catch (const sys::IoError& error) {
    reportIoError(error.what());
  } catch (const std::exception& error) {
    reportUnexpectedError(error.what());
  } catch (...) {
    reportUnexpectedError("");
  }
}

void MainWindowPresenter::endHandlerState() {
  // A handler run from inside another one's wait (the help window's, while a utility runs) did not own
  // the state of the main window; the outer handler ends it itself, on every way out.
  if (guardDepth_ > 1) return;
  // The handler has ended: its busy state and its hold end with it. A dialog that is still open keeps
  // the main window disabled, as it did before the error.
  Ui& ui = program_.ui();
  ui.setBusy(false);
  ui.setMainWindowEnabled(true);
  ui.setStatusText("");
}

void MainWindowPresenter::reportIoError(const std::string& systemText) {
  endHandlerState();
  program_.ui().messageBox(kApplicationTitle, systemText, Icon::Error, Buttons::Ok);
}

void MainWindowPresenter::reportUnexpectedError(const std::string& detail) {
  endHandlerState();
  std::string logText = texts::kUnexpectedErrorLog;
  if (!detail.empty()) logText += ": " + detail;
  // One line of the log, whatever the text holds.
  for (char& c : logText) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  try {
    program_.ErrorMsg(texts::kUnexpectedError, logText);
  } catch (const sys::IoError& error) {
    // The box has been shown; the line could not be written.
    program_.ui().messageBox(kApplicationTitle, error.what(), Icon::Error, Buttons::Ok);
  } catch (...) {
    // The report itself failed; the program still goes on.
  }
}

void MainWindowPresenter::FormCreate() {
  guard([this] { program_.startUp(); });
  view_.setCaption(mainWindowCaption());
  view_.setUpFilesGrid();
  // Where the window stood when the program last ended; without a stored place (or one no screen shows
  // any more) it opens where the window puts itself, centred.
  guard([this] {
    const auto place = readWindowPlace(program_.services().registry);
    if (place && reachableOnScreens(*place, view_.screenAreas())) view_.placeWindow(*place);
  });
}

void MainWindowPresenter::FormShow() {
  view_.setHintTiming(kShownHintPause, kShownHintHidePause);
  if (!firstShow_) return;
  firstShow_ = false;
  guard([this] { view_.showInstallationsPage(); });
  // The first activation runs once the window is up, whatever else is pending.
  firstActivationDue_ = true;
  view_.postActivation(0);
}

void MainWindowPresenter::FormHide() { view_.setHintTiming(kHiddenHintPause, kHiddenHintHidePause); }

void MainWindowPresenter::FormActivate() {
  guard([this] {
    if (program_.activate() == Program::Activation::ShowSettings) N4Click();
  });
}

void MainWindowPresenter::FormResize() {
  guard([this] { view_.fitFilesGrid(); });
}

void MainWindowPresenter::FormMouseMove() {
  if (!view_.windowEnabled()) return;
  guard([this] { program_.ui().setStatusText(program_.todayText()); });
}

void MainWindowPresenter::PagesMouseMove() {
  if (!view_.windowEnabled()) return;
  guard([this] { program_.Status("", 0); });
}

void MainWindowPresenter::PagesChange(int page) {
  guard([this, page] {
    if (page == 0) view_.showInstallationsPage();
    if (page == 1) view_.showFilesListPage();
  });
}

void MainWindowPresenter::N4Click() { view_.showSettings(); }

void MainWindowPresenter::N5Click() { view_.closeWindow(); }

void MainWindowPresenter::Log1Click() {
  guard([this] { program_.Log1Click(); });
}

void MainWindowPresenter::FormClose() {
  closing_ = true;
  // A place that cannot be written is only a convenience lost: the close goes on.
  guard([this] { writeWindowPlace(program_.services().registry, view_.windowPlace()); });
  guard([this] {
    try {
      program_.saveUtilitiesAtClose();
    } catch (const sys::IoError& error) {
      // The program still ends; the failure is on record.
      program_.ErrorMsg(error.what(), std::string("Не удалось записать utilities.dat: ") + error.what());
    }
  });
  view_.hideSecondaryWindows();
}

void MainWindowPresenter::secondaryWindowHidden() {
  // The window no longer keeps the main window disabled; whether another owner still does is worked out.
  view_.updateEnabledState();
  if (closing_ || activationPosted_ || activationHolds_ > 0) return;
  // The main window becomes the active one again once the other window is gone.
  activationPosted_ = true;
  view_.postActivation(0);
}

void MainWindowPresenter::ActivationDue() {
  if (firstActivationDue_) {
    firstActivationDue_ = false;
    FormActivate();
    return;
  }
  if (!activationPosted_) return;
  // A box still open (the install's closing question, a report) holds the main window back: the
  // activation step runs once it has been answered, never underneath it.
  if (view_.modalBoxOpen() && !closing_) {
    view_.postActivation(kActivationRetryMs);
    return;
  }
  // Nor while the main window is busy or held by an operation (a utility running, the update check): a
  // disabled window is not activated, and the step's own scan would end the operation's busy state.
  if (!closing_ && view_.windowShown() && !view_.windowEnabled() && !view_.anySecondaryWindowOpen()) {
    view_.postActivation(kActivationRetryMs);
    return;
  }
  activationPosted_ = false;
  if (!closing_ && activationHolds_ == 0 && view_.windowShown() && !view_.anySecondaryWindowOpen()) FormActivate();
}

}  // namespace app
