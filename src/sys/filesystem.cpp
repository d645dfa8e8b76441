#include "sys/filesystem.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <system_error>
#include <vector>

#include "sys/encoding.h"
#include "sys/error.h"
#include "sys/paths.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace sys {
namespace {

[[noreturn]] void fail(const std::string& path, const std::string& what) {
  throw IoError(what + ": " + path);
}

[[noreturn]] void failWithErrno(const std::string& path) { fail(path, std::strerror(errno)); }

// Forgets earlier errors before a stream operation, so that its failure can be told by what it set.
void clearErrors() {
  errno = 0;
#ifdef _WIN32
  SetLastError(ERROR_SUCCESS);
#endif
}

// The failure of the stream operation just made, in the system's words: on Windows the text of the
// Win32 error the C runtime met (the runtime's own errno texts are English only), elsewhere errno's.
[[noreturn]] void failWithSystemError(const std::string& path, int fallbackErrno) {
#ifdef _WIN32
  if (GetLastError() != ERROR_SUCCESS) fail(path, lastErrorText());
#endif
  if (errno == 0) errno = fallbackErrno;
  failWithErrno(path);
}

std::ofstream openForWriting(const std::string& path, std::ios::openmode mode) {
  clearErrors();
  std::ofstream out(toPath(path), mode | std::ios::binary);
  if (!out) failWithSystemError(path, EACCES);
  return out;
}

void finishWriting(std::ofstream& out, const std::string& path) {
  clearErrors();
  out.flush();
  if (!out) failWithSystemError(path, EIO);
  out.close();
  if (out.fail()) failWithSystemError(path, EIO);
}

class FileLineSink final : public LineSink {
 public:
  explicit FileLineSink(const std::string& path) : path_(path), out_(openForWriting(path, std::ios::trunc)) {}
  void write(const std::string& line) override {
    clearErrors();
    out_ << encodeLine(line) << "\r\n";
    if (!out_) failWithSystemError(path_, EIO);
    if (++unflushed_ >= 256) flush();
  }
  void flush() override {
    clearErrors();
    out_.flush();
    if (!out_) failWithSystemError(path_, EIO);
    unflushed_ = 0;
  }
  void close() override {
    if (out_.is_open()) finishWriting(out_, path_);
  }
  ~FileLineSink() override {
    if (out_.is_open()) out_.close();
  }

 private:
  std::string path_;
  std::ofstream out_;
  int unflushed_ = 0;
};

#ifdef _WIN32
std::wstring wide(const std::string& path) { return toWide(path); }

// A folder link or junction is a folder with a reparse point: RemoveDirectoryW takes the link alone.
// A link to a file is no folder: DeleteFileW takes the link alone.
bool removeTreeEntry(const std::wstring& path, DWORD attributes) {
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return DeleteFileW(path.c_str()) != 0;
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return RemoveDirectoryW(path.c_str()) != 0;
  bool emptied = true;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      emptied = removeTreeEntry(path + L"\\" + name, data.dwFileAttributes) && emptied;
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  return RemoveDirectoryW(path.c_str()) != 0 && emptied;
}
#else
// Empties the open folder (and closes it). Every entry is looked at without following it and removed
// relative to the folder's own handle, so a folder swapped for a link meanwhile is never walked into.
bool emptyFolder(int folder) {
  DIR* dir = fdopendir(folder);
  if (!dir) {
    close(folder);
    return false;
  }
  struct Closer {
    void operator()(DIR* open) const { closedir(open); }
  };
  const std::unique_ptr<DIR, Closer> closer(dir);
  bool emptied = true;
  while (const dirent* entry = readdir(dir)) {
    const char* name = entry->d_name;
    if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
    struct stat st;
    if (fstatat(folder, name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
      emptied = emptied && errno == ENOENT;
    } else if (!S_ISDIR(st.st_mode)) {
      emptied = unlinkat(folder, name, 0) == 0 && emptied;
    } else {
      const int inner = openat(folder, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
      emptied = inner >= 0 && emptyFolder(inner) && unlinkat(folder, name, AT_REMOVEDIR) == 0 && emptied;
    }
  }
  return emptied;
}
#endif

}  // namespace

std::vector<std::string> splitLines(std::string_view bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    const bool last = end == std::string_view::npos;
    if (last) end = bytes.size();
    std::string_view line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(decodeLine(line));
    start = last ? bytes.size() : end + 1;
  }
  return lines;
}

std::string joinLines(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& line : lines) {
    out += encodeLine(line);
    out += "\r\n";
  }
  return out;
}

bool FileSystem::exists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::exists(toPath(path), ec);
}

bool FileSystem::isFile(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::exists(toPath(path), ec) && !fs::is_directory(toPath(path), ec);
}

bool FileSystem::isFolder(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::is_directory(toPath(path), ec);
}

std::optional<std::uintmax_t> FileSystem::fileSize(const std::string& path) {
  std::error_code ec;
  const auto size = fs::file_size(toPath(path), ec);
  if (ec) return std::nullopt;
  return size;
}

std::optional<FolderIdentity> FileSystem::folderIdentity(const std::string& path) {
  if (path.empty()) return std::nullopt;
#ifdef _WIN32
  // No access asked for: only the handle's information is read. Backup semantics open folders.
  HANDLE handle = CreateFileW(wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info;
  const bool ok = GetFileInformationByHandle(handle, &info) != 0;
  CloseHandle(handle);
  if (!ok || !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
  return FolderIdentity{info.dwVolumeSerialNumber,
                        (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
#else
  struct stat st;
  if (::stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return std::nullopt;
  return FolderIdentity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
#endif
}

bool FileSystem::enumerate(const std::string& folder, const std::function<void(const DirEntry&)>& visit) {
#ifdef _WIN32
  WIN32_FIND_DATAW data;
  const std::wstring pattern = (folder.empty() ? std::wstring() : wide(withTrailingSeparator(folder))) + L"*.*";
  HANDLE find = FindFirstFileW(pattern.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return false;
  // visit may throw (a catalogue that cannot be written): the search handle is closed on every way out.
  struct Closer {
    void operator()(HANDLE open) const { FindClose(open); }
  };
  const std::unique_ptr<void, Closer> closer(find);
  do {
    const std::string name = fromWide(data.cFileName);
    if (name == "." || name == "..") continue;
    EntryKind kind = EntryKind::File;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      kind = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ? EntryKind::FolderLink : EntryKind::Folder;
    }
    visit(DirEntry{name, kind});
  } while (FindNextFileW(find, &data));
  return GetLastError() == ERROR_NO_MORE_FILES;
#else
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return false;
  // visit may throw (a catalogue that cannot be written): the folder is closed on every way out.
  struct Closer {
    void operator()(DIR* open) const { closedir(open); }
  };
  const std::unique_ptr<DIR, Closer> closer(dir);
  const int dirFd = dirfd(dir);
  errno = 0;
  while (const dirent* entry = readdir(dir)) {
    const char* name = entry->d_name;
    if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
    EntryKind kind = EntryKind::Other;
    unsigned char type = entry->d_type;
    if (type == DT_UNKNOWN) {
      struct stat st;
      if (fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) == 0) {
        type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISLNK(st.st_mode) ? DT_LNK : S_ISREG(st.st_mode) ? DT_REG : DT_UNKNOWN;
      }
    }
    if (type == DT_DIR) {
      kind = EntryKind::Folder;
    } else if (type == DT_REG) {
      kind = EntryKind::File;
    } else if (type == DT_LNK) {
      struct stat target;
      if (fstatat(dirFd, name, &target, 0) == 0) {
        kind = S_ISDIR(target.st_mode) ? EntryKind::FolderLink : EntryKind::File;
      }
    } else {
      kind = EntryKind::File;  // pipes, devices: files as far as the catalogue is concerned
    }
    visit(DirEntry{name, kind});
    errno = 0;
  }
  return errno == 0;
#endif
}

void FileSystem::copyFile(const std::string& from, const std::string& to) {
#ifdef _WIN32
  if (!CopyFileW(wide(from).c_str(), wide(to).c_str(), FALSE)) throw IoError(lastErrorText());
#else
  std::error_code ec;
  fs::copy_file(toPath(from), toPath(to), fs::copy_options::overwrite_existing, ec);
  if (ec) throw IoError(ec.message());
#endif
}

bool FileSystem::setNormal(const std::string& path) {
#ifdef _WIN32
  return SetFileAttributesW(wide(path).c_str(), FILE_ATTRIBUTE_NORMAL) != 0;
#else
  struct stat st;
  if (lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  return chmod(path.c_str(), st.st_mode | S_IRUSR | S_IWUSR) == 0;
#endif
}

bool FileSystem::removeFile(const std::string& path) {
#ifdef _WIN32
  return DeleteFileW(wide(path).c_str()) != 0;
#else
  struct stat st;
  if (lstat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  return unlink(path.c_str()) == 0;
#endif
}

bool FileSystem::moveFile(const std::string& from, const std::string& to) {
#ifdef _WIN32
  const DWORD attributes = GetFileAttributesW(wide(from).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  // Without MOVEFILE_REPLACE_EXISTING nothing is replaced, without MOVEFILE_COPY_ALLOWED nothing is copied.
  return MoveFileExW(wide(from).c_str(), wide(to).c_str(), MOVEFILE_WRITE_THROUGH) != 0;
#else
  struct stat st;
  if (lstat(from.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // A file system without RENAME_NOREPLACE: a second name, then the first one goes.
  if (link(from.c_str(), to.c_str()) != 0) return false;
  unlink(from.c_str());
  return true;
#endif
}

bool FileSystem::sameFile(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  std::error_code ec;
  const bool same = fs::equivalent(toPath(a), toPath(b), ec);
  return !ec && same;
}

bool FileSystem::linkFile(const std::string& from, const std::string& to) {
#ifdef _WIN32
  return CreateHardLinkW(wide(to).c_str(), wide(from).c_str(), nullptr) != 0;
#else
  struct stat st;
  if (lstat(from.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  return ::link(from.c_str(), to.c_str()) == 0;
#endif
}

bool FileSystem::replaceFile(const std::string& from, const std::string& to) {
#ifdef _WIN32
  const DWORD attributes = GetFileAttributesW(wide(from).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  const DWORD target = GetFileAttributesW(wide(to).c_str());
  if (target != INVALID_FILE_ATTRIBUTES && (target & FILE_ATTRIBUTE_DIRECTORY)) return false;
  return MoveFileExW(wide(from).c_str(), wide(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
  struct stat st;
  if (lstat(from.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  if (lstat(to.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return false;
  return ::rename(from.c_str(), to.c_str()) == 0;
#endif
}

bool FileSystem::isLink(const std::string& path) {
  if (path.empty()) return false;
#ifdef _WIN32
  const DWORD attributes = GetFileAttributesW(wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
#else
  struct stat st;
  return lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
#endif
}

void FileSystem::createFolder(const std::string& path) {
  std::error_code ec;
  if (fs::is_directory(toPath(path), ec)) return;
#ifdef _WIN32
  if (!CreateDirectoryW(wide(path).c_str(), nullptr)) fail(path, lastErrorText());
#else
  fs::create_directory(toPath(path), ec);
  if (ec) throw IoError(ec.message() + ": " + path);
#endif
}

bool FileSystem::renameFolder(const std::string& from, const std::string& to) {
#ifdef _WIN32
  // Only folders are renamed; MoveFile never replaces an existing target, but it does let a folder take
  // another letter case of its own name.
  const DWORD attributes = GetFileAttributesW(wide(from).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  return MoveFileExW(wide(from).c_str(), wide(to).c_str(), 0) != 0;
#else
  // rename() would replace an empty folder of the new name; the program never replaces anything.
  struct stat st;
  if (lstat(to.c_str(), &st) == 0) return false;
  if (lstat(from.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
  return ::rename(from.c_str(), to.c_str()) == 0;
#endif
}

bool FileSystem::removeFolderIfEmpty(const std::string& path) {
#ifdef _WIN32
  return RemoveDirectoryW(wide(path).c_str()) != 0;
#else
  return rmdir(path.c_str()) == 0;
#endif
}

bool FileSystem::removeTree(const std::string& path) {
  // A trailing separator would have the system follow a link named by the path. Never a root or a drive.
  const std::string named = withoutTrailingSeparators(path);
  if (named.empty() || isSeparatorOrColon(named.back())) return false;
#ifdef _WIN32
  const std::wstring at = wide(named);
  const DWORD attributes = GetFileAttributesW(at.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
  }
  return removeTreeEntry(at, attributes);
#else
  struct stat st;
  if (lstat(named.c_str(), &st) != 0) return errno == ENOENT;
  if (!S_ISDIR(st.st_mode)) return unlink(named.c_str()) == 0;
  const int folder = ::open(named.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  return folder >= 0 && emptyFolder(folder) && rmdir(named.c_str()) == 0;
#endif
}

void FileSystem::syncFile(const std::string& path) {
#ifdef _WIN32
  HANDLE file = CreateFileW(wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw IoError(lastErrorText() + ": " + path);
  const bool ok = FlushFileBuffers(file) != 0;
  const std::string error = ok ? std::string() : lastErrorText();
  CloseHandle(file);
  if (!ok) throw IoError(error + ": " + path);
#else
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) failWithErrno(path);
  const int result = fsync(fd);
  const int error = errno;
  ::close(fd);
  if (result != 0) {
    errno = error;
    failWithErrno(path);
  }
#endif
}

void FileSystem::syncLinks(const std::vector<std::string>& paths) {
#ifdef _WIN32
  for (const auto& path : paths) syncFile(path);
#else
  std::vector<std::string> folders;
  for (const auto& path : paths) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) failWithErrno(path);
    // The bytes alone: a file's forcing would commit the journal once for each.
    const int result = sync_file_range(fd, 0, 0,
                                       SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER);
    const int error = errno;
    ::close(fd);
    if (result != 0) {
      errno = error;
      failWithErrno(path);
    }
    const std::string folder = parentFolder(path);
    if (std::find(folders.begin(), folders.end(), folder) == folders.end()) folders.push_back(folder);
  }
  for (const auto& folder : folders) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) failWithErrno(folder);
    const int result = fsync(fd);
    const int error = errno;
    ::close(fd);
    if (result != 0) {
      errno = error;
      failWithErrno(folder);
    }
  }
#endif
}

bool FileSystem::sameContent(const std::string& a, const std::string& b) {
  const auto sizeA = fileSize(a);
  const auto sizeB = fileSize(b);
  if (!sizeA || !sizeB || *sizeA != *sizeB) return false;
  std::ifstream inA(toPath(a), std::ios::binary);
  std::ifstream inB(toPath(b), std::ios::binary);
  if (!inA || !inB) return false;
  std::vector<char> bufferA(1 << 16), bufferB(1 << 16);
  while (inA && inB) {
    inA.read(bufferA.data(), static_cast<std::streamsize>(bufferA.size()));
    inB.read(bufferB.data(), static_cast<std::streamsize>(bufferB.size()));
    if (inA.gcount() != inB.gcount()) return false;
    if (std::memcmp(bufferA.data(), bufferB.data(), static_cast<std::size_t>(inA.gcount())) != 0) return false;
  }
  return true;
}

bool FileSystem::canOpenForReading(const std::string& path) {
  if (path.empty() || isFolder(path)) return false;
  std::ifstream in(toPath(path), std::ios::binary);
  return static_cast<bool>(in);
}

bool FileSystem::existsForReading(const std::string& path) {
  if (path.empty()) return false;
  std::error_code ec;
  // Only "no such entry" counts as missing; a dangling link or an entry that cannot even be looked at
  // is something of that name.
  if (fs::symlink_status(toPath(path), ec).type() == fs::file_type::not_found) return false;
  if (isFolder(path)) fail(path, std::strerror(EISDIR));
  clearErrors();
  std::ifstream in(toPath(path), std::ios::binary);
  if (!in) failWithSystemError(path, EACCES);
  return true;
}

std::string FileSystem::readText(const std::string& path) {
  if (path.empty()) fail(path, std::strerror(ENOENT));
  if (isFolder(path)) fail(path, std::strerror(EISDIR));
  clearErrors();
  std::ifstream in(toPath(path), std::ios::binary);
  if (!in) failWithSystemError(path, ENOENT);
  // Straight into the string when the size is known, then in blocks for what is left (a pipe, a file
  // that grew): a character at a time is several times slower, under MinGW's library most of all.
  std::string bytes;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in ? static_cast<std::streamoff>(in.tellg()) : -1;
  in.clear();
  in.seekg(0, std::ios::beg);
  in.clear();  // a file without positions (a pipe) is read from where it stands
  if (size > 0) {
    bytes.resize(static_cast<std::size_t>(size));
    in.read(bytes.data(), static_cast<std::streamsize>(size));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
  }
  if (in) {
    std::vector<char> block(1 << 16);
    while (in.read(block.data(), static_cast<std::streamsize>(block.size())) || in.gcount() > 0) {
      bytes.append(block.data(), static_cast<std::size_t>(in.gcount()));
    }
  }
  if (in.bad()) failWithSystemError(path, EIO);
  return bytes;
}

std::vector<std::string> FileSystem::readLines(const std::string& path) { return splitLines(readText(path)); }

std::optional<std::string> FileSystem::readFirstLine(const std::string& path) {
  if (path.empty()) fail(path, std::strerror(ENOENT));
  if (isFolder(path)) fail(path, std::strerror(EISDIR));
  clearErrors();
  std::ifstream in(toPath(path), std::ios::binary);
  if (!in) failWithSystemError(path, ENOENT);
  std::string line;
  if (!std::getline(in, line, '\n') && line.empty()) {
    if (in.bad()) failWithSystemError(path, EIO);
    return std::nullopt;
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return decodeLine(line);
}

void FileSystem::writeLines(const std::string& path, const std::vector<std::string>& lines, bool atomic) {
  const std::string bytes = joinLines(lines);
  if (!atomic) {
    auto out = openForWriting(path, std::ios::trunc);
    out << bytes;
    finishWriting(out, path);
    return;
  }
  const std::string temporary = path + ".new";
  {
    auto out = openForWriting(temporary, std::ios::trunc);
    out << bytes;
    finishWriting(out, temporary);
  }
  syncFile(temporary);
#ifdef _WIN32
  if (!MoveFileExW(wide(temporary).c_str(), wide(path).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const std::string error = lastErrorText();
    removeFile(temporary);
    throw IoError(error + ": " + path);
  }
#else
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    const int error = errno;
    removeFile(temporary);
    errno = error;
    failWithErrno(path);
  }
#endif
}

void FileSystem::writeText(const std::string& path, const std::string& text) {
  std::string bytes;
  std::size_t start = 0;
  while (true) {
    std::size_t end = text.find('\n', start);
    std::string_view line = std::string_view(text).substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    bytes += encodeLine(line);
    if (end == std::string::npos) break;
    bytes += "\r\n";
    start = end + 1;
  }
  auto out = openForWriting(path, std::ios::trunc);
  out << bytes;
  finishWriting(out, path);
}

void FileSystem::createEmpty(const std::string& path) {
  auto out = openForWriting(path, std::ios::trunc);
  finishWriting(out, path);
}

void FileSystem::appendLine(const std::string& path, const std::string& line) { appendLines(path, {line}); }

void FileSystem::appendLines(const std::string& path, const std::vector<std::string>& lines) {
  if (!existsForReading(path)) createEmpty(path);
  const std::uintmax_t size = fileSize(path).value_or(0);
  std::string bytes;
  if (size > 0) {
    // A last line without its CR LF is ended first (a lone CR gets its LF).
    clearErrors();
    std::ifstream in(toPath(path), std::ios::binary);
    char last = '\n';
    if (!in.seekg(-1, std::ios::end) || !in.get(last)) failWithSystemError(path, EIO);
    if (last == '\r') bytes = "\n";
    if (last != '\r' && last != '\n') bytes = "\r\n";
  }
  bytes += joinLines(lines);
  try {
    appendBytes(path, bytes);
  } catch (const IoError&) {
    truncateFile(path, size);  // no half line stays behind
    throw;
  }
}

void FileSystem::appendBytes(const std::string& path, std::string_view bytes) {
  auto out = openForWriting(path, std::ios::app);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  finishWriting(out, path);
}

bool FileSystem::truncateFile(const std::string& path, std::uintmax_t size) {
  std::error_code ec;
  fs::resize_file(toPath(path), size, ec);
  return !ec;
}

std::unique_ptr<LineSink> FileSystem::createLineSink(const std::string& path) {
  return std::make_unique<FileLineSink>(path);
}

void FileSystem::readBytes(const std::string& path, const std::function<void(std::string_view)>& chunk) {
  if (path.empty()) fail(path, std::strerror(ENOENT));
  if (isFolder(path)) fail(path, std::strerror(EISDIR));
  clearErrors();
  std::ifstream in(toPath(path), std::ios::binary);
  if (!in) failWithSystemError(path, ENOENT);
  std::vector<char> buffer(1 << 20);
  while (in) {
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    const auto count = static_cast<std::size_t>(in.gcount());
    if (count > 0) chunk(std::string_view(buffer.data(), count));
  }
  if (in.bad()) failWithSystemError(path, EIO);
}

std::optional<FileStamp> FileSystem::stamp(const std::string& path) {
  std::error_code ec;
  const fs::path file = toPath(path);
  if (path.empty() || !fs::is_regular_file(file, ec)) return std::nullopt;
  const auto size = fs::file_size(file, ec);
  if (ec) return std::nullopt;
  const auto modified = fs::last_write_time(file, ec);
  if (ec) return std::nullopt;
  return FileStamp{size, static_cast<std::int64_t>(modified.time_since_epoch().count())};
}

FileSystem& realFileSystem() {
  static FileSystem instance;
  return instance;
}

}  // namespace sys
