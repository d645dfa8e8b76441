#pragma once

#include "app/ui/ProgramWindow.h"

class TOptions final : public app::ui::ProgramWindow {
  Q_OBJECT

 public:
  explicit TOptions(TForm1& main);
};
