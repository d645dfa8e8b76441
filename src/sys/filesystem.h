#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Every file operation of the program goes through FileSystem, so tests can put a failing stand-in in
// its place. Paths are UTF-8. Text files hold lines in cp1251 (or UTF-8, see encoding.h) ended by CR LF.
namespace sys {

enum class EntryKind {
  File,         // a file, or a link to one
  Folder,       // a real folder
  FolderLink,   // a symbolic link or junction to a folder
  Other,        // a dangling link, a device, a socket...
};

// What tells one real folder from every other, whatever path leads to it: the device and the inode on
// POSIX systems, the volume serial number and the file index on Windows.
struct FolderIdentity {
  std::uint64_t volume = 0;
  std::uint64_t index = 0;
  auto operator<=>(const FolderIdentity&) const = default;
};

// What tells a file's content changed without reading it: its size and its last write time.
struct FileStamp {
  std::uintmax_t size = 0;
  std::int64_t modified = 0;  // the system's clock ticks; only ever compared for equality
  bool operator==(const FileStamp&) const = default;
};

struct DirEntry {
  std::string name;
  EntryKind kind;
};

// Lines written one by one to a file that stays open; flushed now and then and on close.
class LineSink {
 public:
  virtual ~LineSink() = default;
  virtual void write(const std::string& line) = 0;  // throws IoError
  virtual void flush() = 0;                         // throws IoError
  virtual void close() = 0;                         // throws IoError
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  virtual bool exists(const std::string& path);       // file or folder
  virtual bool isFile(const std::string& path);       // a file, not a folder (links followed)
  virtual bool isFolder(const std::string& path);     // a folder (links followed)
  virtual std::optional<std::uintmax_t> fileSize(const std::string& path);
  // The identity of the folder path leads to, links followed; nothing when it cannot be opened.
  virtual std::optional<FolderIdentity> folderIdentity(const std::string& path);

  // Entries of a folder in the order the system enumerates them, every attribute included, "." and
  // ".." left out. A folder that cannot be listed gives nothing and returns false, so a caller that must
  // not take "cannot be read" for "empty" can tell the two apart.
  virtual bool enumerate(const std::string& folder, const std::function<void(const DirEntry&)>& visit);

  // Copies with overwrite. Throws IoError with the system's text.
  virtual void copyFile(const std::string& from, const std::string& to);
  // Clears read-only, hidden and system (elsewhere: makes the file writable by its owner).
  virtual bool setNormal(const std::string& path);
  virtual bool removeFile(const std::string& path);
  // Gives a file a new path on the same volume, never replacing what stands there. False when the
  // target exists or the system refuses (another volume among them).
  virtual bool moveFile(const std::string& from, const std::string& to);
  // Whether two paths name one and the same file (hard links of it), links followed.
  virtual bool sameFile(const std::string& a, const std::string& b);
  // A second name for a file on the same volume (a hard link): both names hold the same bytes, and the
  // file lives on while either does. Never replaces; false when the target exists or the system cannot
  // (another volume, a file system without links).
  virtual bool linkFile(const std::string& from, const std::string& to);
  // Gives a file a new path on the same volume, replacing the file that stands there in one step. False
  // when the target is a folder or the system refuses (another volume among them).
  virtual bool replaceFile(const std::string& from, const std::string& to);
  // Whether the path itself is a symbolic link, or on Windows any reparse point (a junction); not followed.
  virtual bool isLink(const std::string& path);
  // Throws IoError when the folder cannot be created (an existing folder is fine).
  virtual void createFolder(const std::string& path);
  // False when the target exists already or the system refuses.
  virtual bool renameFolder(const std::string& from, const std::string& to);
  virtual bool removeFolderIfEmpty(const std::string& path);
  // Removes a folder with everything in it (or a file). A link met on the way, to a folder or a file, or
  // a junction, goes itself and is never followed: what it leads to stays as it is. True when nothing of
  // that name is left.
  virtual bool removeTree(const std::string& path);
  // Forces a written file to the disk. Throws IoError.
  virtual void syncFile(const std::string& path);
  // Forces to the disk second names (hard links) of files that may have been on the disk for long: what
  // of their bytes is not there yet, then the names, by one forcing of each folder that holds them
  // instead of one of the whole disk's journal per file. Throws IoError.
  virtual void syncLinks(const std::vector<std::string>& paths);
  virtual bool sameContent(const std::string& a, const std::string& b);
  // The file's bytes handed to chunk piece by piece, in order. Throws IoError.
  virtual void readBytes(const std::string& path, const std::function<void(std::string_view)>& chunk);
  // Size and last write time of a file; nothing for a missing file or a folder.
  virtual std::optional<FileStamp> stamp(const std::string& path);

  // Text files.
  virtual bool canOpenForReading(const std::string& path);
  // Whether there is a file to read: true when it opens for reading, false when nothing of that name
  // exists. A file that is there but cannot be read (no permission, locked by another program, a folder
  // of that name) throws IoError with the system's text: it is never taken for missing and written over.
  virtual bool existsForReading(const std::string& path);
  // All lines; LF-only line ends and a last line without an end are accepted. Throws IoError when the
  // file cannot be opened.
  virtual std::vector<std::string> readLines(const std::string& path);
  // The first line as readLines gives it, read without the rest; nothing when the file is empty. Throws
  // IoError when the file cannot be opened.
  virtual std::optional<std::string> readFirstLine(const std::string& path);
  // The whole file as text, its line ends kept as they are (CR LF stays CR LF). Throws IoError.
  virtual std::string readText(const std::string& path);
  // Creates (truncates) the file and writes each line followed by CR LF. With atomic, the lines go to a
  // temporary file beside it that is then renamed over the old one. Throws IoError.
  virtual void writeLines(const std::string& path, const std::vector<std::string>& lines, bool atomic = false);
  // Creates (truncates) the file and writes text whose lines are separated by "\n" or "\r\n"; each line is
  // encoded on its own and the breaks become CR LF. No line end is added after the last line.
  virtual void writeText(const std::string& path, const std::string& text);
  // Creates the file empty (truncating it). Throws IoError.
  virtual void createEmpty(const std::string& path);
  // The append rule: see whether the file exists, create it empty if not, then append the line and
  // CR LF. A file that exists but cannot be read is reported (IoError), never created anew. A file that
  // does not end in a line break (edited by hand, or cut off) first gets one, so the new line never
  // joins its last one. All or nothing: when the write fails part-way (a full disk), the file is cut
  // back to what it held before the error goes on.
  virtual void appendLine(const std::string& path, const std::string& line);
  // The same for several lines in one write: a record of more than one line is there whole or not at all.
  virtual void appendLines(const std::string& path, const std::vector<std::string>& lines);
  // Bytes added at the end of an existing file, as they are: the write under appendLines. Throws IoError.
  virtual void appendBytes(const std::string& path, std::string_view bytes);
  // Cuts a file back to size bytes. False when the system refuses.
  virtual bool truncateFile(const std::string& path, std::uintmax_t size);
  // A file created (truncated) for lines written one by one. Throws IoError.
  virtual std::unique_ptr<LineSink> createLineSink(const std::string& path);
};

// The real file system of this machine.
FileSystem& realFileSystem();

// Splits file bytes into lines (CR LF or LF) and decodes each; the reader of every data file.
std::vector<std::string> splitLines(std::string_view bytes);
// The bytes of lines written each followed by CR LF.
std::string joinLines(const std::vector<std::string>& lines);

}  // namespace sys
