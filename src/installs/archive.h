#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The archives packs come in (.zip, .7z, .rar, .tar, .tar.gz, .tgz, .tar.xz), read through this one
// small interface: nothing else of the program sees the library behind it. A build without that
// library reads no archives (archivesSupported() is false) and the mode "Из архива" is not offered.
namespace installs {

bool archivesSupported();

// The archives this build reads, as the chooser's patterns ("*.zip *.7z ..."; only "*.zip" where the
// program's own zip reader stands in for the library; none without either), and whether a file name ends
// like one of them (ASCII case ignored).
std::string_view archivePatterns();
bool hasArchiveExtension(std::string_view path);

// The path of an archive entry as it may be unpacked below a folder: its parts joined by '/', "." parts
// dropped. Nothing for a path that could lead anywhere else or that no system could hold: an absolute
// path, a drive letter, "..", an empty part, a part no Windows file may have (\ / : * ? " < > |, a
// control character such as a line break, a dot or blank at its end, a device name such as CON) or
// longer than 255 bytes. Both '/' and '\' separate parts.
std::optional<std::string> safeEntryPath(std::string_view name);

// One file of an archive that may be unpacked.
struct ArchiveEntry {
  std::size_t index = 0;               // its place among all the archive's entries, from 0
  std::string path;                    // safeEntryPath of its name, UTF-8
  std::optional<std::uint64_t> size;   // as the archive records it
};

enum class ArchiveOutcome {
  Read,        // listed or unpacked
  Unreadable,  // not an archive, damaged or cut short: error holds the library's text
  Encrypted,   // protected by a password
  NoSpace,     // unpacking would leave less free space than allowed
  Bomb,        // an entry gave more bytes than its recorded size: entry names it
  NoReader,    // no reader for this kind of archive on this machine (an archiver to install)
};

struct ArchiveListing {
  ArchiveOutcome outcome = ArchiveOutcome::Read;
  std::string error;
  // The regular files with safe paths, in archive order, at most the limit asked for.
  std::vector<ArchiveEntry> files;
  bool moreThanLimit = false;
  // Entries left out: unsafe paths, unreadable names, links, devices, FIFOs, sockets.
  std::size_t skipped = 0;
};

// Lists an archive's files (zip names without the UTF-8 flag read in cp866, the code page of archivers
// on Russian Windows). Never throws.
ArchiveListing listArchive(const std::string& archive, std::size_t limit);
// The same; whileWaiting is called every few tens of milliseconds while an external archiver runs.
ArchiveListing listArchiveWaiting(const std::string& archive, std::size_t limit,
                                  const std::function<void()>& whileWaiting);

// Where one listed entry is to be written.
struct UnpackTarget {
  std::size_t index = 0;
  std::string file;  // full path; its folders are created
};

struct UnpackResult {
  ArchiveOutcome outcome = ArchiveOutcome::Read;
  std::string error;
  std::string entry;  // the entry that gave more bytes than recorded
  // What an external archiver wrote besides the files asked of it (links, devices...), removed.
  std::size_t removed = 0;
};

// Writes the entries of targets (ascending indices, as listed) to their files, at most allowance bytes
// in all; an entry that gives more bytes than its recorded size refuses the archive. progress is called
// with the number of entries written so far, also between the blocks of a large one. What was written
// before a refusal stays for the caller to remove. Throws sys::IoError when a file cannot be written.
UnpackResult unpackArchive(const std::string& archive, const std::vector<UnpackTarget>& targets,
                           std::uint64_t allowance, const std::function<void(std::size_t)>& progress);
// The same, with workFolder, an empty folder of the caller's that the reader may use meanwhile (an
// external archiver unpacks there) and that the caller removes. Without one, an external archiver is
// not used.
UnpackResult unpackArchiveInto(const std::string& archive, const std::vector<UnpackTarget>& targets,
                               std::uint64_t allowance, const std::string& workFolder,
                               const std::function<void(std::size_t)>& progress);

// The free bytes of the disk that holds path (or its nearest existing parent); nothing when unknown.
std::optional<std::uint64_t> diskFreeSpace(const std::string& path);

}  // namespace installs
