// The settings in the real registry of Windows. HKEY_CURRENT_USER of the test process is mapped onto a
// fresh key of its own, removed at the end, so the user's settings are never read or touched.
#ifdef _WIN32
#include <gtest/gtest.h>

#include <windows.h>

#include <random>
#include <string>
#include <vector>

#include "sys/paths.h"
#include "sys/registry.h"

namespace {

std::wstring wide(const std::string& utf8) { return sys::toPath(utf8).wstring(); }

class WindowsRegistry : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    sandbox_ = L"Software\\Varnikit tests\\" + std::to_wstring(random()) + L"-" + std::to_wstring(GetCurrentProcessId());
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, sandbox_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &root_,
                              nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, root_), ERROR_SUCCESS);
  }
  void TearDown() override {
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    if (root_) RegCloseKey(root_);
    RegDeleteTreeW(HKEY_CURRENT_USER, sandbox_.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Varnikit tests");  // only when no other run uses it
  }

  // Values as another program (the game's installer, regedit) would leave them.
  void setRaw(const std::string& key, const std::string& name, DWORD type, const void* data, DWORD size) {
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyExW(root_, wide(key).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(handle, wide(name).c_str(), 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    RegCloseKey(handle);
  }
  void setRawString(const std::string& key, const std::string& name, const std::string& value) {
    const std::wstring data = wide(value);
    setRaw(key, name, REG_SZ, data.c_str(), static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
  }
  bool keyExists(const std::string& key) {
    HKEY handle = nullptr;
    if (RegOpenKeyExW(root_, wide(key).c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
    RegCloseKey(handle);
    return true;
  }
  // The type and the text of a value as stored.
  std::pair<DWORD, std::wstring> stored(const std::string& key, const std::string& name) {
    std::wstring data(1024, L'\0');
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    if (RegGetValueW(root_, wide(key).c_str(), wide(name).c_str(), RRF_RT_ANY, &type, data.data(), &size) !=
        ERROR_SUCCESS) {
      return {REG_NONE, L""};
    }
    data.resize(size / sizeof(wchar_t));
    while (!data.empty() && data.back() == L'\0') data.pop_back();
    return {type, data};
  }

  std::unique_ptr<sys::Registry> registry = sys::currentUserRegistry();
  std::wstring sandbox_;
  HKEY root_ = nullptr;
};

TEST_F(WindowsRegistry, SettingsAreStringValuesOfTheCurrentUsersKey) {
  ASSERT_TRUE(registry->writeValues("\\Software\\Varnikit", {{"CSDir", "C:\\Игры\\Half-Life\\cstrike"},
                                                              {"RunParam", "-game cstrike -console"},
                                                              {"FilesListDate", ""}}));
  EXPECT_EQ(stored("Software\\Varnikit", "CSDir"), std::make_pair(DWORD{REG_SZ}, std::wstring(L"C:\\Игры\\Half-Life\\cstrike")));
  EXPECT_EQ(stored("Software\\Varnikit", "FilesListDate"), std::make_pair(DWORD{REG_SZ}, std::wstring()));

  const auto values = registry->readValues("\\Software\\Varnikit", {"RunParam", "CSDir", "ListUpdate", "filesListDate"});
  ASSERT_TRUE(values);
  EXPECT_EQ(*values, (std::vector<std::string>{"-game cstrike -console", "C:\\Игры\\Half-Life\\cstrike", "", ""}));

  ASSERT_TRUE(registry->writeValues("\\Software\\Varnikit", {{"csdir", "D:\\cstrike"}}));
  EXPECT_EQ(registry->readValues("\\Software\\Varnikit", {"CSDir"})->at(0), "D:\\cstrike") << "value names ignore case";
}

TEST_F(WindowsRegistry, KeyNamesIgnoreLetterCase) {
  setRawString("SOFTWARE\\Valve\\Half-Life", "InstallPath", "C:\\Sierra\\Half-Life");
  const auto values = registry->readValues("\\Software\\valve\\HALF-LIFE", {"InstallPath"});
  ASSERT_TRUE(values);
  EXPECT_EQ(values->at(0), "C:\\Sierra\\Half-Life");
  ASSERT_TRUE(registry->writeValues("\\software\\VALVE\\half-life", {{"Other", "x"}}));
  EXPECT_EQ(stored("SOFTWARE\\Valve\\Half-Life", "Other").second, L"x") << "the existing key is written";
}

TEST_F(WindowsRegistry, ValuesThatAreNoTextReadAsEmpty) {
  const DWORD number = 1;
  const unsigned char bytes[] = {0x43, 0x3a, 0x00};
  setRaw("Software\\Varnikit", "ListUpdate", REG_DWORD, &number, sizeof number);
  setRaw("Software\\Varnikit", "CSDir", REG_BINARY, bytes, sizeof bytes);
  setRawString("Software\\Varnikit", "CSFile", "C:\\hl.exe");
  // A text stored without its closing zero, as some programs write it.
  const std::wstring unterminated = L"-game cstrike";
  setRaw("Software\\Varnikit", "RunParam", REG_SZ, unterminated.data(),
         static_cast<DWORD>(unterminated.size() * sizeof(wchar_t)));
  const auto values = registry->readValues("\\Software\\Varnikit", {"ListUpdate", "CSDir", "CSFile", "RunParam"});
  ASSERT_TRUE(values);
  EXPECT_EQ(*values, (std::vector<std::string>{"", "", "C:\\hl.exe", "-game cstrike"}));
}

TEST_F(WindowsRegistry, MissingKeyOpensNothingAndIsNotCreatedByReading) {
  EXPECT_FALSE(registry->readValues("\\Software\\Varnikit", {"CSDir"}));
  EXPECT_FALSE(keyExists("Software\\Varnikit"));
  registry->deleteKey("\\Software\\Varnikit");  // deleting what is not there is no error
  EXPECT_FALSE(keyExists("Software\\Varnikit"));
}

TEST_F(WindowsRegistry, DeletingAKeyTakesItsValuesAndSubkeysOnly) {
  ASSERT_TRUE(registry->writeValues("\\Software\\Varnikit", {{"CSDir", "x"}, {"CSFile", "y"}}));
  ASSERT_TRUE(registry->writeValues("\\Software\\Varnikit\\Вложенный", {{"A", "z"}}));
  ASSERT_TRUE(registry->writeValues("\\Software\\Varnikit2", {{"A", "kept"}}));
  setRawString("Software\\Valve\\Half-Life", "InstallPath", "C:\\hl");

  registry->deleteKey("\\SOFTWARE\\varnikit");
  EXPECT_FALSE(keyExists("Software\\Varnikit"));
  EXPECT_FALSE(registry->readValues("\\Software\\Varnikit", {"CSDir"}));
  EXPECT_FALSE(registry->readValues("\\Software\\Varnikit\\Вложенный", {"A"}));
  EXPECT_EQ(registry->readValues("\\Software\\Varnikit2", {"A"})->at(0), "kept");
  EXPECT_EQ(registry->readValues("\\Software\\Valve\\Half-Life", {"InstallPath"})->at(0), "C:\\hl");
  EXPECT_TRUE(keyExists("Software"));

  registry->deleteKey("\\");
  EXPECT_TRUE(keyExists("Software\\Valve\\Half-Life")) << "an empty key name never deletes the hive";
}

}  // namespace
#endif
