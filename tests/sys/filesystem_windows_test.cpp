// What only Windows has: file attributes, drive letters and drive-relative names, backslashes and
// slashes side by side, and a file system that ignores letter case when it creates and renames.
#ifdef _WIN32
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "sys/error.h"
#include "sys/filesystem.h"
#include "sys/paths.h"

namespace {

using testing_support::readBytes;
using testing_support::TempFolder;
using testing_support::writeBytes;

sys::FileSystem& files() { return sys::realFileSystem(); }
std::wstring wide(const std::string& path) { return sys::toPath(path).wstring(); }
DWORD attributesOf(const std::string& path) { return GetFileAttributesW(wide(path).c_str()); }
bool setAttributes(const std::string& path, DWORD attributes) {
  return SetFileAttributesW(wide(path).c_str(), attributes) != 0;
}
// The Windows tests run under Wine, which differs from Windows in a few points noted where they matter.
bool runningUnderWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

constexpr DWORD kReadOnlyHiddenSystem = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

TEST(WindowsAttributes, SetNormalClearsEveryAttribute) {
  TempFolder temp;
  const std::string file = temp / "gign.mdl";
  writeBytes(file, "x");
  for (DWORD attributes : {DWORD{FILE_ATTRIBUTE_READONLY}, DWORD{FILE_ATTRIBUTE_HIDDEN}, DWORD{FILE_ATTRIBUTE_SYSTEM},
                           DWORD{FILE_ATTRIBUTE_ARCHIVE}, kReadOnlyHiddenSystem | FILE_ATTRIBUTE_ARCHIVE}) {
    ASSERT_TRUE(setAttributes(file, attributes));
    ASSERT_EQ(attributesOf(file) & attributes, attributes);
    EXPECT_TRUE(files().setNormal(file)) << attributes;
    // Wine reports every file as an archive; Windows reports a normal file as such.
    const DWORD expected = runningUnderWine() ? FILE_ATTRIBUTE_ARCHIVE : FILE_ATTRIBUTE_NORMAL;
    EXPECT_EQ(attributesOf(file), expected) << attributes;
  }
}

// The order the file copy keeps: clear both files, then CopyFile over the old one. Without the clearing
// Windows refuses to overwrite a read-only file, and CopyFile would hand the source's attributes on.
TEST(WindowsAttributes, CopyOverAReadOnlyHiddenSystemFileAfterClearing) {
  TempFolder temp;
  auto& fs = files();
  const std::string source = temp / "Новые/gign.mdl";
  const std::string target = temp / "cstrike/models/player/gign/gign.mdl";
  writeBytes(source, "new model");
  writeBytes(target, "original model");
  ASSERT_TRUE(setAttributes(source, kReadOnlyHiddenSystem));
  ASSERT_TRUE(setAttributes(target, kReadOnlyHiddenSystem));

  EXPECT_FALSE(fs.removeFile(target)) << "a read-only file is not deleted";
  // Wine keeps read-only as a missing write permission, which does not stop root; Windows refuses.
  if (!runningUnderWine()) {
    try {
      fs.copyFile(source, target);
      ADD_FAILURE() << "a read-only file was overwritten";
    } catch (const sys::IoError& error) {
      EXPECT_STRNE(error.what(), "") << "the system says why";
    }
    EXPECT_EQ(readBytes(target), "original model");
  }

  EXPECT_TRUE(fs.setNormal(source));
  EXPECT_TRUE(fs.setNormal(target));
  fs.copyFile(source, target);
  EXPECT_EQ(readBytes(target), "new model");
  EXPECT_EQ(attributesOf(target) & kReadOnlyHiddenSystem, 0u);
  EXPECT_EQ(attributesOf(source) & kReadOnlyHiddenSystem, 0u);
  EXPECT_TRUE(fs.removeFile(target));
}

TEST(WindowsAttributes, HiddenAndSystemEntriesAreEnumeratedAndFound) {
  TempFolder temp;
  writeBytes(temp / "game/скрытый.wav", "h");
  writeBytes(temp / "game/sys/x.mdl", "s");
  ASSERT_TRUE(setAttributes(temp / "game/скрытый.wav", kReadOnlyHiddenSystem));
  ASSERT_TRUE(setAttributes(temp / "game/sys", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
  std::vector<std::pair<std::string, sys::EntryKind>> seen;
  files().enumerate(temp / "game", [&](const sys::DirEntry& entry) { seen.emplace_back(entry.name, entry.kind); });
  std::sort(seen.begin(), seen.end());
  EXPECT_EQ(seen, (std::vector<std::pair<std::string, sys::EntryKind>>{{"sys", sys::EntryKind::Folder},
                                                                       {"скрытый.wav", sys::EntryKind::File}}));
  EXPECT_TRUE(files().isFile(temp / "game/скрытый.wav"));
  EXPECT_TRUE(files().isFolder(temp / "game/sys"));
  EXPECT_EQ(files().readText(temp / "game/скрытый.wav"), "h") << "read-only files are read";
  files().setNormal(temp / "game/скрытый.wav");
}

TEST(WindowsPaths, DriveLettersAndBothSlashes) {
  TempFolder temp;
  const std::regex absolute(R"(^[A-Za-z]:\\.*)");
  EXPECT_TRUE(std::regex_match(temp.path(), absolute)) << temp.path();
  const std::string exe = sys::executableFolder();
  EXPECT_TRUE(std::regex_match(exe, absolute)) << exe;
  EXPECT_EQ(exe.back(), '\\');
  EXPECT_TRUE(files().isFile(exe + "core_tests.exe"));

  writeBytes(temp / "cstrike/models/gign.mdl", "m");
  std::string slashes = temp / "cstrike/models/gign.mdl";
  std::replace(slashes.begin(), slashes.end(), '\\', '/');
  EXPECT_TRUE(files().isFile(slashes)) << slashes;
  EXPECT_EQ(files().readText(slashes), "m");
  EXPECT_EQ(sys::bareName(slashes), "gign.mdl");
  EXPECT_EQ(sys::parentFolder(slashes), slashes.substr(0, slashes.size() - 9));
  EXPECT_TRUE(files().isFolder(temp.path().substr(0, 3))) << "a drive's root";
}

// "C:gign.mdl" is the file gign.mdl in the current folder of drive C; its bare name ends at the colon.
TEST(WindowsPaths, DriveRelativeNameEndsAtTheColon) {
  TempFolder temp;
  writeBytes(temp / "gign.mdl", "model");
  std::wstring previous(MAX_PATH * 4, L'\0');
  previous.resize(GetCurrentDirectoryW(static_cast<DWORD>(previous.size()), previous.data()));
  ASSERT_TRUE(SetCurrentDirectoryW(wide(temp.path()).c_str()));
  const std::string driveRelative = temp.path().substr(0, 2) + "gign.mdl";
  EXPECT_TRUE(files().isFile(driveRelative)) << driveRelative;
  EXPECT_EQ(files().readText(driveRelative), "model");
  EXPECT_EQ(sys::bareName(driveRelative), "gign.mdl");
  EXPECT_EQ(sys::folderWithSeparator(driveRelative), temp.path().substr(0, 2));
  files().copyFile(driveRelative, temp / "backup.mdl");
  SetCurrentDirectoryW(previous.c_str());
  EXPECT_EQ(readBytes(temp / "backup.mdl"), "model");
}

// The text Windows itself gives for an error code, in the user's language.
std::string systemText(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                          FORMAT_MESSAGE_IGNORE_INSERTS,
                                      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::string text = sys::fromWide(std::wstring_view(buffer, length));
  LocalFree(buffer);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  return text;
}

std::string errorOf(const std::function<void()>& operation) {
  try {
    operation();
  } catch (const sys::IoError& error) {
    return error.what();
  }
  return "(no error)";
}

TEST(WindowsErrors, FailuresCarryTheSystemsOwnText) {
  TempFolder temp;
  auto& fs = files();
  const std::string missingFolder = temp / "нет папки";
  EXPECT_EQ(errorOf([&] { fs.copyFile(temp / "нет.mdl", temp / "копия.mdl"); }), systemText(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(errorOf([&] { fs.writeLines(missingFolder + "\\list.dat", {"x"}); }),
            systemText(ERROR_PATH_NOT_FOUND) + ": " + missingFolder + "\\list.dat");
  EXPECT_EQ(errorOf([&] { fs.readText(temp / "нет.dat"); }), systemText(ERROR_FILE_NOT_FOUND) + ": " + temp / "нет.dat");
  EXPECT_EQ(errorOf([&] { fs.createFolder(missingFolder + "\\x"); }),
            systemText(ERROR_PATH_NOT_FOUND) + ": " + missingFolder + "\\x");
  EXPECT_NE(systemText(ERROR_FILE_NOT_FOUND), systemText(ERROR_PATH_NOT_FOUND));
}

// Installation folders whose names differ only in letter case are one folder on Windows.
// A file another program holds open without sharing it cannot be read: it is reported, never taken for
// missing and created anew.
TEST(WindowsErrors, LockedFileIsReportedAndKept) {
  TempFolder temp;
  const std::string file = temp / "errors.txt";
  writeBytes(file, "earlier\r\n");
  HANDLE lock = CreateFileW(wide(file).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  EXPECT_THROW(files().existsForReading(file), sys::IoError);
  EXPECT_THROW(files().appendLine(file, "new"), sys::IoError);
  CloseHandle(lock);
  EXPECT_EQ(readBytes(file), "earlier\r\n");
  files().appendLine(file, "new");
  EXPECT_EQ(readBytes(file), "earlier\r\nnew\r\n");
}

TEST(WindowsNames, FoldersDifferingOnlyInCaseAreOne) {
  TempFolder temp;
  auto& fs = files();
  fs.createFolder(temp / "files");
  fs.createFolder(temp / "files/Набор Gign");
  EXPECT_TRUE(fs.exists(temp / "files/НАБОР GIGN"));
  EXPECT_NO_THROW(fs.createFolder(temp / "files/набор gign")) << "it exists already";
  fs.createFolder(temp / "files/Другой");
  EXPECT_FALSE(fs.renameFolder(temp / "files/Другой", temp / "files/набор GIGN"));
  int entries = 0;
  fs.enumerate(temp / "files", [&](const sys::DirEntry&) { ++entries; });
  EXPECT_EQ(entries, 2);

  EXPECT_TRUE(fs.renameFolder(temp / "files/Набор Gign", temp / "files/НАБОР GIGN")) << "a folder may change its case";
  std::vector<std::string> names;
  fs.enumerate(temp / "files", [&](const sys::DirEntry& entry) { names.push_back(entry.name); });
  std::sort(names.begin(), names.end());
  // Wine accepts the new spelling but keeps the old one on its disk.
  const std::string renamed = runningUnderWine() ? "Набор Gign" : "НАБОР GIGN";
  EXPECT_EQ(names, (std::vector<std::string>{"Другой", renamed}));
}

}  // namespace
#endif
