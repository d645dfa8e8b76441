#pragma once

#include <string>

namespace app {
class Program;
}

namespace installs {

// FTF: the program's one file copy. Clears the attributes of both files, copies source over dest, and
// when the copy fails reports it (through ErrorMsg), opens both folders and waits until the person says
// the file has been copied by hand. Returns whether the program itself made the copy; callers that must
// know the file is really there check it themselves.
bool FTF(app::Program& program, const std::string& source, const std::string& dest);

}  // namespace installs
