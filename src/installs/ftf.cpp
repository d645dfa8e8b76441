#include "installs/ftf.h"

#include "app/program.h"
#include "sys/error.h"
#include "sys/paths.h"

namespace installs {

bool FTF(app::Program& program, const std::string& source, const std::string& dest) {
  sys::FileSystem& fs = program.fs();
  fs.setNormal(source);
  fs.setNormal(dest);
  try {
    fs.copyFile(source, dest);
    return true;
  } catch (const sys::IoError&) {
    program.ErrorMsg("Не могу скопировать файл \"" + source + "\" в \"" + dest +
                         "\". Чтобы установка  прошла успешно, вам придётся сделать это вручную!",
                     "Ошибка копирования файлов в процедуре FTF");
  }
  auto& shell = program.services().shell;
  shell.open(sys::folderWithSeparator(source), "", "", sys::ShowCommand::Normal);
  shell.open(sys::folderWithSeparator(dest), "", "", sys::ShowCommand::Normal);
  app::showAttention(program.ui(), "Нажмите кнопку OK, когда скопируете файл \"" + source + "\" в \"" + dest + "\"!");
  return false;
}

}  // namespace installs
