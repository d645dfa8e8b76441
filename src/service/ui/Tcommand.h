#pragma once

#include "app/ui/ProgramWindow.h"

class Tcommand final : public app::ui::ProgramWindow {
  Q_OBJECT

 public:
  explicit Tcommand(TForm1& main);
};
