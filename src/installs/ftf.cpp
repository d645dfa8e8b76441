#include "installs/ftf.h"

#include "app/program.h"
#include "installs/texts.h"
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
    program.ErrorMsg(texts::copyFailed(source, dest), texts::kCopyFailedLog);
  }
  auto& shell = program.services().shell;
  shell.open(sys::folderWithSeparator(source), "", "", sys::ShowCommand::Normal);
  shell.open(sys::folderWithSeparator(dest), "", "", sys::ShowCommand::Normal);
  app::showAttention(program.ui(), texts::copyByHand(source, dest));
  return false;
}

}  // namespace installs
