#pragma once

#include <array>
#include <string>

#include "app/ui.h"
#include "sys/filesystem.h"

namespace app {
class Program;
}

namespace launchers {

inline constexpr const char* kEmpty = "empty";  // marks a free entry or slot, compared case-sensitively

struct RunMenuEntry {
  std::string name;
  std::string path;
  std::string parameters;
};

using RunMenuTable = std::array<RunMenuEntry, 10>;

inline constexpr const char* kRunMenuFile = "runmenu.dat";

// The reading rule: a missing file is created with thirty "empty" lines first; then each field takes the
// next line while the file lasts, so the fields of a short file keep their values. Throws sys::IoError
// when the file cannot be created or read; one that is there but cannot be read is never written over.
void readRunMenu(sys::FileSystem& fs, const std::string& path, RunMenuTable& table);
// The writing rule: thirty lines, entries 1 to 10, free ones included. Throws sys::IoError.
void writeRunMenu(sys::FileSystem& fs, const std::string& path, const RunMenuTable& table);

// What the editor shows for a stored field: the marker of a free entry is shown as a blank field (the file
// keeps the marker).
std::string editorText(const std::string& stored);
// The parameters a program is started with: a field holding only the marker passes none.
std::string launchParameters(const std::string& parameters);
// The editor's "Удалить": the entry becomes free again, every field the marker.
void freeEntry(RunMenuEntry& entry);

// The editor's file request: one filter "любой файл" that matches every file ("*.*" on Windows; "*"
// elsewhere, where "*.*" would hide the programs, which have no extension).
app::FileRequest anyFileRequest();

// Run1Click..Run10Click: a path that names no file is reported (and logged) and nothing is started;
// a file is opened through the shell with the entry's parameters and its folder as working folder.
void startRunMenuEntry(app::Program& program, int entry);
// The editor's "Запустить": a path field that names no file is reported in a plain box (not logged); the
// file is started only with a row selected and a path that names a file.
void startFromEditor(app::Program& program, bool rowSelected, const std::string& path, const std::string& parameters);
}  // namespace launchers
