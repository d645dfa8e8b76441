#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Paths are UTF-8 text, joined by plain concatenation the way the program's data files store them.
namespace sys {

#ifdef _WIN32
inline constexpr char kSeparator = '\\';
#else
inline constexpr char kSeparator = '/';
#endif
inline const std::string kSep(1, kSeparator);

// True for the characters that end a folder part: the separator (and on Windows '/' and a drive's colon).
bool isSeparator(char c);
bool isSeparatorOrColon(char c);

// The text after the last separator (on Windows also after the last colon: "C:gign.mdl" gives "gign.mdl").
std::string bareName(std::string_view path);
// Everything up to and including the last separator (or colon on Windows); empty when there is none.
std::string folderWithSeparator(std::string_view path);
// The path without its last component and the separator before it; a root keeps its separator
// ("C:\x.exe" gives "C:\", "/x" gives "/").
std::string parentFolder(std::string_view path);
// From the last '.' of the bare name to its end, or empty when the bare name has no dot.
std::string extension(std::string_view path);
// path with every trailing separator removed.
std::string withoutTrailingSeparators(std::string_view path);
// folder + separator unless folder already ends with one.
std::string withTrailingSeparator(std::string_view folder);

// Whether path names something below folder (never folder itself), both absolute, with "." and ".."
// resolved by their text. Letter case counts as the system's file names count it: ignored on Windows,
// exact elsewhere. On Windows a colon below the folder (a file's data stream, or a drive inside the
// path) never lies inside. Links are not looked at: that needs the disk.
bool liesInside(std::string_view path, std::string_view folder);

// UTF-8 text <-> a path of the system. Never throws: on Windows what is not valid UTF-8 (or UTF-16 coming
// back, such as a file name with a lone surrogate) becomes U+FFFD.
std::filesystem::path toPath(std::string_view utf8);
std::string fromPath(const std::filesystem::path& path);

#ifdef _WIN32
// The text of the wide Win32 calls, converted as toPath and fromPath do.
std::wstring toWide(std::string_view utf8);
std::string fromWide(std::wstring_view wide);
#endif

// Where the running executable lies, with a trailing separator.
std::string executableFolder();
// The per-user data folder for the program (with trailing separator), not created.
std::string userDataFolder();
// The value of an environment variable of this process ("" when it has none).
std::string environmentVariable(const char* name);
// The current user's home folder ("" when unknown).
std::string homeFolder();

}  // namespace sys
