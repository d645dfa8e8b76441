#pragma once

#include "app/ui/ProgramWindow.h"

class TRunMenu final : public app::ui::ProgramWindow {
  Q_OBJECT

 public:
  explicit TRunMenu(TForm1& main);
};
