#pragma once

#include "app/ui/ProgramWindow.h"

class THelp final : public app::ui::ProgramWindow {
  Q_OBJECT

 public:
  explicit THelp(TForm1& main);
};
