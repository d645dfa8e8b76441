#pragma once

#include "app/ui/ProgramWindow.h"

class Tutils final : public app::ui::ProgramWindow {
  Q_OBJECT

 public:
  explicit Tutils(TForm1& main);
};
