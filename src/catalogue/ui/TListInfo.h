#pragma once

#include "app/ui/ProgramWindow.h"

class TListInfo final : public app::ui::ProgramWindow {
  Q_OBJECT

 public:
  explicit TListInfo(TForm1& main);
};
