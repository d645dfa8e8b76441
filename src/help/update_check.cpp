#include "help/update_check.h"

#include "help/texts.h"
#include "sys/shell.h"

namespace help {

void checkForUpdates(app::Program& program, std::chrono::milliseconds step) {
  app::BusyScope busy(program, kConnectingStatus);
  for (int wait = 0; wait < kUpdateCheckWaits; ++wait) {
    sys::sleepMs(static_cast<int>(step.count()));
    program.ui().processEvents();
  }
  app::showError(program.ui(), serverUnreachable());
}

}  // namespace help
