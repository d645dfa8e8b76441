// Installation names on Windows, whose file system ignores letter case, Cyrillic letters included: a name
// that differs from an existing installation's only in case names the same folder and is refused.
#ifdef _WIN32
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "installs/install.h"
#include "installs/texts.h"
#include "support/program_fixture.h"

namespace {

using installs::InstallResult;
using testing_support::readBytes;
using testing_support::writeBytes;

class WindowsInstallNames : public testing_support::ProgramFixture {
 protected:
  void SetUp() override { configure(); }
  // Installs the new file for gamePath under name; refused says the name is expected to be taken.
  InstallResult install(const std::string& gamePath, const std::string& name, bool refused = false) {
    const std::string source = temp / ("new/" + sys::bareName(gamePath));
    writeBytes(source, "new " + sys::bareName(gamePath));
    installs::ChosenFiles chosen;
    chosen.add(source, gamePath);
    ui.expectInput("Внимание", "Введите название установки", name);
    if (refused) ui.expectError(installs::texts::kNameExists);
    installs::DialogView view;
    return installs::Install(*program, chosen, "", view);
  }
  std::string store(const std::string& relative) { return programFolder() + "files\\" + relative; }
};

TEST_F(WindowsInstallNames, ANameDifferingOnlyInCaseIsTaken) {
  const std::string gign = gameFile("models/player/gign/gign.mdl", "old gign");
  const std::string ak = gameFile("models/v_ak47.mdl", "old ak");
  ASSERT_EQ(install(gign, "Скины Gign"), InstallResult::Installed);

  for (const char* name : {"скины gign", "СКИНЫ GIGN", "Скины GIGN"}) {
    EXPECT_EQ(install(ak, name, true), InstallResult::NotStarted) << name;
  }
  EXPECT_EQ(readBytes(ak), "old ak") << "nothing installed";
  EXPECT_EQ(readBytes(store("list.dat")), "\xD1\xEA\xE8\xED\xFB Gign\r\n") << "one line, the first name";
  EXPECT_EQ(readBytes(store("Скины Gign\\files.dat")), gign + "\r\n");
  std::vector<std::string> folders;
  fs.enumerate(programFolder() + "files", [&](const sys::DirEntry& entry) {
    if (entry.kind == sys::EntryKind::Folder) folders.push_back(entry.name);
  });
  EXPECT_EQ(folders, (std::vector<std::string>{"Скины Gign"}));

  ASSERT_EQ(install(ak, "Скины Gign 2"), InstallResult::Installed) << "another name is free";
  EXPECT_EQ(readBytes(ak), "new v_ak47.mdl");
}

}  // namespace
#endif
