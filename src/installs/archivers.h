#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "installs/archive.h"

// Archives the program cannot read itself (RAR and 7z on Windows) read with an archiver installed on the
// machine: the system's tar.exe, 7-Zip's 7z.exe or WinRAR's UnRAR.exe, started hidden. What the archiver
// lists is parsed strictly, every name goes through safeEntryPath, and what it unpacks is checked on the
// disk before the program takes it: the archiver is trusted with the bytes, not with the rules.
namespace installs::archivers {

enum class Kind { Tar, SevenZip, UnRar };

struct Archiver {
  Kind kind;
  std::string program;  // full path
};

// One entry as an archiver lists it.
struct ToolEntry {
  enum class Type { File, Folder, Link, Other };
  std::string name;  // exactly as listed (UTF-8): what the archiver is given back to unpack it
  Type type = Type::File;
  std::optional<std::uint64_t> size;
  bool encrypted = false;
};

struct ToolListing {
  bool parsed = false;
  std::string error;  // why not, for the log
  bool encryptedHeaders = false;
  std::vector<ToolEntry> entries;
};

// The listings, as the archivers' documented output has them:
// - bsdtar "-tvf": one line per entry in the manner of "ls -l": mode string, link count, owner, group,
//   size, a date of three words, the name; " -> target" after a symbolic link, " link to target" after a
//   hard link.
// - 7-Zip "l -slt": a block about the archive, a line "----------", then one block of "Key = Value"
//   lines per entry, each ended by an empty line.
// - UnRAR "vt": one block of "Key: Value" lines per entry (Name, Type, Size, ..., Flags), each ended by
//   an empty line; "lb" gives the bare names, one a line, and must name the same entries in the same order.
ToolListing parseTarListing(std::string_view text);
ToolListing parseSevenZipListing(std::string_view text);
ToolListing parseUnrarListing(std::string_view technical, std::string_view bare);

// An archiver's output as UTF-8: UTF-16LE when it starts with a byte order mark or looks like it, UTF-8
// when it is valid UTF-8, else the code page the tool writes without a Unicode switch (tar: cp1251, the
// others: cp866).
std::string decodeOutput(std::string_view bytes, Kind kind);

// Where archivers are looked for, in the order they are tried.
struct Places {
  std::string systemFolder;                // %SystemRoot%\System32: tar.exe
  std::vector<std::string> sevenZipFolders;  // 7-Zip's "Path" from the registry: 7z.exe
  std::vector<std::string> winRarFolders;    // WinRAR's registry values, then its default folders: UnRAR.exe
};
// The places of this machine: the registry (HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE, 64- and 32-bit
// views) and the environment (SystemRoot, ProgramW6432, ProgramFiles, ProgramFiles(x86)).
Places systemPlaces();
// The archivers that are there, in the order tar, 7-Zip, UnRAR.
std::vector<Archiver> find(const Places& places);

struct Limits {
  int listTimeoutMs = 60'000;
  int unpackTimeoutMs = 600'000;
  // While an archiver runs (pending window messages are handled there).
  std::function<void()> whileWaiting;
};

// The first archiver that lists the archive lists it. NoReader when none is there; otherwise the most
// telling refusal of those tried (a password before damage).
ArchiveListing list(const std::vector<Archiver>& archivers, const std::string& archive, std::size_t limit,
                    const Limits& limits);

// Unpacks the targets (indices as list gave them) with the archiver that lists the archive, into
// workFolder (an empty folder of the caller's), then checks what it wrote: only regular files inside the
// folder (links and anything else removed and counted), each target of its listed size, no more bytes
// than allowance; then moves each target to its file.
UnpackResult unpack(const std::vector<Archiver>& archivers, const std::string& archive,
                    const std::vector<UnpackTarget>& targets, std::uint64_t allowance, const std::string& workFolder,
                    const std::function<void(std::size_t)>& progress, const Limits& limits);

}  // namespace installs::archivers
