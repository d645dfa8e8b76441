#pragma once

#include "app/ui/ProgramWindow.h"

class Tinstall final : public app::ui::ProgramWindow {
  Q_OBJECT

 public:
  explicit Tinstall(TForm1& main);
};
