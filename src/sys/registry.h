#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The current user's registry hive: on Windows the real HKEY_CURRENT_USER; elsewhere a hive file in the
// text format of a regedit export. Key paths are given below the hive, like "\Software\Varnikit", and
// compared without regard to ASCII case.
namespace sys {

class Registry {
 public:
  virtual ~Registry() = default;
  // The values of an existing key, in the order asked; a missing value, or one that is not a string,
  // reads as "". Nothing when the key cannot be opened.
  virtual std::optional<std::vector<std::string>> readValues(const std::string& key,
                                                             const std::vector<std::string>& names) = 0;
  // Opens the key, creating it when missing, and writes the values as strings. False when the key can be
  // neither opened nor created or a value cannot be written.
  virtual bool writeValues(const std::string& key,
                           const std::vector<std::pair<std::string, std::string>>& values) = 0;
  // Deletes the key with its values and sub-keys; a missing key is no error.
  virtual void deleteKey(const std::string& key) = 0;
};

// A hive kept in one text file (UTF-8):
//   REGEDIT4
//
//   [HKEY_CURRENT_USER\Software\Varnikit]
//   "CSDir"="/home/user/cstrike"
// Rewritten whole through a temporary file and a rename. A hive file that is there but cannot be read
// throws IoError from every call: it is never taken for an empty hive and written over.
class HiveFileRegistry final : public Registry {
 public:
  explicit HiveFileRegistry(std::string hivePath);
  std::optional<std::vector<std::string>> readValues(const std::string& key,
                                                     const std::vector<std::string>& names) override;
  bool writeValues(const std::string& key,
                   const std::vector<std::pair<std::string, std::string>>& values) override;
  void deleteKey(const std::string& key) override;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// Parsing and writing of the hive text, exposed for the readers' tests.
struct HiveKey {
  std::string path;  // below the hive, without a leading backslash: "Software\Varnikit"
  std::vector<std::pair<std::string, std::string>> values;
  // Values that are not strings (dword:, hex:, the default value "@"...), by name, each with its lines
  // exactly as they stand in the file: never read, written back as they were.
  std::vector<std::pair<std::string, std::string>> keptValues;
};
std::vector<HiveKey> parseHive(std::string_view text);
std::string formatHive(const std::vector<HiveKey>& keys);

// The hive file of this user: $XDG_CONFIG_HOME/Varnikit/HKEY_CURRENT_USER.reg (~/.config by default).
std::string defaultHivePath();

// Where installed programs say where they are: the string value name of key (like "\SOFTWARE\7-Zip")
// below HKEY_CURRENT_USER and then HKEY_LOCAL_MACHINE, each in its 64-bit and then its 32-bit view,
// every value that is set and not empty, each once, in that order. Only Windows has them; elsewhere none.
std::vector<std::string> installedProgramValues(const std::string& key, const std::string& name);

// The current user's registry of this platform.
std::unique_ptr<Registry> currentUserRegistry();

}  // namespace sys
