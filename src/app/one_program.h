#pragma once

#include <string>

#include "sys/filesystem.h"
#include "sys/program_lock.h"
#include "sys/registry.h"
#include "sys/shell.h"

// One program at a time on one store: two programs scanning, installing and restoring in the same
// "list.dat", register and installation folders could each write over what the other just recorded.
namespace app {

// The store a start will work on: the FilePath the settings hold, or, with none stored, the folder
// start-up gives it. Read before any window exists, so a second start ends before it shows or writes
// anything; the first program writes the same FilePath back, so both ask for the same lock.
std::string storeFolder(sys::Registry& registry, sys::FileSystem& fs, const std::string& executableFolder);

// Whether this start goes on: true when it now holds the store's lock, and also when no lock can be made
// (the program then runs as it always did and reports the folder's faults itself). When another running
// program holds the lock, its main window is brought to the front and this start is to end.
bool claimStore(sys::ProgramLock& lock, sys::WindowFinder& windows, const std::string& storeFolder);

}  // namespace app
