#pragma once

#include <string>
#include <vector>

#include "sys/filesystem.h"

namespace installs {

// The words of "moves.dat": what was moving files of an installation.
namespace moving {
inline constexpr const char* kOff = "off";          // a switch off
inline constexpr const char* kOn = "on";            // a switch on
inline constexpr const char* kRestore = "restore";  // a restore, moving originals back into the game
}  // namespace moving

// One installation as the page shows it.
struct Installation {
  std::vector<std::string> files;  // its game paths, in the order they were installed
  std::string description;         // "info.dat", lines separated by "\n"
  std::string time;                // the first line of "time.dat", or empty
  std::size_t changedFiles = 0;    // game files that no longer hold what it installed (when asked for)
};

// The installation store below the program folder:
//   files/list.dat          the names of the installations, in order of creation
//   files/files.dat         the register: every game path replaced at present, by any installation
//   files/NAME/info.dat     the description (CR LF between its lines; empty description: zero bytes)
//   files/NAME/time.dat     one line: date and time of the installation
//   files/NAME/files.dat    the game paths this installation replaced
//   files/NAME/sums.dat     per line of files.dat: content hashes of the original and of the new file
//   files/NAME/<bare name>  the backup of each of them, while the installation is on
//   files/NAME/off.dat      only while it is off: when it was switched off, and per line of files.dat the
//                           size and write time of the original as it went back into the game
//   files/NAME/pack/        only while it is off: the pack's file of each line of files.dat, by bare name
//   files/NAME/moves.dat    only while files of it change place: what is being done ("off", "on", ...)
//   files/_kept/            originals a restore was told not to put back, with "kept.dat" naming them
// Every file is cp1251 text with CR LF line ends. Files rewritten whole (the list, the register, an
// installation's own list) are written beside and renamed over the old one. Failures are sys::IoError.
class Store {
 public:
  // filePath: the program folder, with its trailing separator.
  Store(sys::FileSystem& fs, std::string filePath);

  std::string root() const;                          // FilePath + "files"
  std::string listPath() const;                      // files/list.dat
  std::string registerPath() const;                  // files/files.dat
  std::string folder(const std::string& name) const; // files/NAME
  std::string infoPath(const std::string& name) const;
  std::string timePath(const std::string& name) const;
  std::string filesPath(const std::string& name) const;
  std::string sumsPath(const std::string& name) const;  // files/NAME/sums.dat
  std::string offPath(const std::string& name) const;   // files/NAME/off.dat
  std::string journalPath(const std::string& name) const;  // files/NAME/moves.dat
  std::string packFolder(const std::string& name) const;   // files/NAME/pack
  // Where the pack's file for gamePath lies while the installation is off: files/NAME/pack/<bare name>.
  std::string packPath(const std::string& name, const std::string& gamePath) const;
  // Where the original of gamePath is kept: files/NAME/<bare name of gamePath>.
  std::string backupPath(const std::string& name, const std::string& gamePath) const;
  // files/_kept, and its record "kept.dat": per original, its name there, the date and time, the game path.
  std::string keptFolder() const;
  std::string keptRecordsPath() const;

  // Creates "files" and an empty "list.dat" when missing; the names in file order.
  std::vector<std::string> openList();
  void saveList(const std::vector<std::string>& names);
  void appendName(const std::string& name);

  // Whether a file or folder of that name exists below "files" (the file system's own comparison, so
  // names differing in letter case collide where the system ignores case).
  bool nameTaken(const std::string& name);
  void createInstallationFolder(const std::string& name);
  void writeDescriptionAndTime(const std::string& name, const std::string& description, const std::string& time);

  // Whether the register holds gamePath (ASCII case ignored). Creates an empty register when missing.
  bool isInstalled(const std::string& gamePath);
  // Appends the game paths to the installation's "files.dat", then to the register, each file written
  // once; when the register cannot be written, "files.dat" is cut back to what it held. Forcing both to
  // the disk is the caller's.
  void recordInstalledFiles(const std::string& name, const std::vector<std::string>& gamePaths);
  void recordInstalledFile(const std::string& name, const std::string& gamePath);
  // "moves.dat": what is about to move files of the installation, written and forced to the disk before
  // the first one moves; and taken away when all of them did.
  void beginMoves(const std::string& name, const std::string& what);
  void endMoves(const std::string& name);
  // Removes, for each path, the first register line equal to it (ASCII case ignored), in one rewrite;
  // a missing register is made anew. Returns how many lines were removed.
  std::size_t removeFromRegister(const std::vector<std::string>& gamePaths);

  // Creates the folder and empty "info.dat", "time.dat" where they cannot be read, and an empty
  // "files.dat" only in a folder that holds nothing else: one that lost its "files.dat" but keeps backups
  // is left for healing to give its records back, never made into an installation of nothing.
  void ensureInstallation(const std::string& name);
  // Its records, description and time; no files when "files.dat" is missing.
  Installation readInstallation(const std::string& name);
  // False when the folder could not be renamed (the new name exists, or the system refuses).
  bool renameInstallation(const std::string& from, const std::string& to);

  // The store's own names, each also with the temporary name its rewrite uses, ASCII case ignored on
  // every system (a program folder moves between systems). isReservedName: the files and folders of the
  // store folder, which no installation may be named after. isReservedFileName: the files every
  // installation folder holds, which no new backup may take. ownFileNames: those files, for whoever
  // handles a folder whole.
  static bool isReservedName(const std::string& installationName);
  static bool isReservedFileName(const std::string& bareName);
  static const std::vector<std::string>& ownFileNames();
  // Whether an installation's "sums.dat" is its content hashes. An installation of an earlier version
  // may have backed up a game file of that name (or of its temporary name) before the store took it:
  // then the file is that backup, and the installation is one without sums.
  static bool usesSums(const std::vector<std::string>& recordedFiles);

  // Whether the installation is switched off: its "off.dat" is there and is not the backup of a game
  // file of that name (which an earlier version may have made). Throws sys::IoError when its records
  // cannot be read.
  bool isOff(const std::string& name);
  // What moves.dat says is under way in the installation's folder, or empty when nothing is (or the
  // file is the backup of a game file of that name).
  std::string journal(const std::string& name);

  // The names of the folders below "files", in the order the system lists them (links left out). Throws
  // sys::IoError when the store folder cannot be listed: no folder is ever taken for missing.
  std::vector<std::string> installationFolders();
  // The game paths an installation records: its "files.dat", or nothing when there is none. Throws
  // sys::IoError when the file is there but cannot be read.
  std::vector<std::string> recordedFiles(const std::string& name);

  sys::FileSystem& fs() { return fs_; }

 private:
  sys::FileSystem& fs_;
  std::string filePath_;
};

// The text of a file whose lines are separated by CR LF (or LF), each line decoded on its own, joined
// by "\n"; a last line break is kept as a last empty line.
std::string decodeText(const std::string& bytes);

}  // namespace installs
