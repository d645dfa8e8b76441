#pragma once

#include <optional>
#include <string>
#include <vector>

namespace testing_support {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempFolder {
 public:
  TempFolder();
  // The same below another folder (another file system, say).
  explicit TempFolder(const std::string& parent);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder's path, with no trailing separator.
  const std::string& path() const { return path_; }
  // path() + separator + relative (relative may use '/', it is turned into the platform's separator).
  std::string operator/(const std::string& relative) const;

 private:
  std::string path_;
};

// Helpers for files a test makes and checks, byte for byte.
std::string native(const std::string& relative);  // '/' -> the platform's separator
void writeBytes(const std::string& path, const std::string& bytes);  // creates parent folders
std::string readBytes(const std::string& path);
// The file's bytes, or nothing when there is no file (a game file between its original's going and its
// new file's coming).
std::optional<std::string> bytesIfAny(const std::string& path);
bool fileExists(const std::string& path);
bool folderExists(const std::string& path);
void makeFolder(const std::string& path);  // with parents
// A symbolic link to a folder; false where the system makes none for the test.
bool makeFolderLink(const std::string& link, const std::string& target);

}  // namespace testing_support
