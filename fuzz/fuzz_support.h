#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/program.h"
#include "sys/filesystem.h"

namespace fuzz {

// A folder of this process under /tmp for the files the readers open ("<folder>/" with separator).
const std::string& scratchFolder();
// Writes the fuzzer's bytes as the file name below the scratch folder and returns its path.
std::string writeInput(const std::string& name, const std::uint8_t* data, std::size_t size);
// The real file system without the flush to disk, which would make every run take milliseconds.
sys::FileSystem& fileSystem();
// A program whose FilePath is the scratch folder, with stand-ins that answer every box with OK (Yes to
// questions, nothing to choosers unless chosenFile is set), start nothing (shellOpen is called instead),
// find no window and a fixed clock. Settings are reset on each call.
struct Stage {
  std::string chosenFile;                 // what the file chooser answers ("" for cancel)
  std::string inputAnswer;                // what an input box answers
  std::function<void(const std::string& file, const std::string& params)> shellOpen;
  int boxes = 0;                          // message boxes shown since the last program() call
};
Stage& stage();
app::Program& program();
// Whether path lies below folder (both with '/' separators, folder with its trailing separator) and has
// no ".." component that could lead out of it.
bool staysBelow(const std::string& path, const std::string& folder);
// Every entry below the scratch folder, as paths relative to it.
std::vector<std::string> scratchEntries();
// Empties the scratch folder.
void clearScratch();
// Stops the run loudly: a property the readers must keep was broken.
[[noreturn]] void fail(const char* what);

}  // namespace fuzz
