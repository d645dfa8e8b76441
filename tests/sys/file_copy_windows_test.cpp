// The program's one file copy on Windows, where the system itself guards files: read-only, hidden and
// system attributes, and files held open by a running game.
#ifdef _WIN32
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "installs/ftf.h"
#include "support/program_fixture.h"
#include "sys/paths.h"

namespace {

using testing_support::readBytes;
using testing_support::writeBytes;

constexpr DWORD kReadOnlyHiddenSystem = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

DWORD attributesOf(const std::string& path) { return GetFileAttributesW(sys::toWide(path).c_str()); }

class WindowsFileCopy : public testing_support::ProgramFixture {
 protected:
  void SetUp() override { configure(); }
};

TEST_F(WindowsFileCopy, GuardedGameFileIsBackedUpAndReplacedAndBothEndNormal) {
  const std::string game = gameFile("models/player/gign/gign.mdl", "original");
  const std::string backup = programFolder() + "gign.mdl";
  const std::string replacement = temp / "Новые модели/gign.mdl";
  writeBytes(replacement, "new model");
  ASSERT_TRUE(SetFileAttributesW(sys::toWide(game).c_str(), kReadOnlyHiddenSystem));
  ASSERT_TRUE(SetFileAttributesW(sys::toWide(replacement).c_str(), kReadOnlyHiddenSystem));

  EXPECT_TRUE(installs::FTF(*program, game, backup));
  EXPECT_TRUE(installs::FTF(*program, replacement, game));
  EXPECT_EQ(readBytes(backup), "original");
  EXPECT_EQ(readBytes(game), "new model");
  for (const std::string& path : {backup, game, replacement}) {
    EXPECT_EQ(attributesOf(path) & kReadOnlyHiddenSystem, 0u) << path;
  }
  EXPECT_TRUE(ui.prompts.empty());
  EXPECT_TRUE(shell.calls.empty());
}

// The game running holds its files open without sharing them; the copy by hand is the way out.
TEST_F(WindowsFileCopy, AGameFileInUseFallsBackToTheCopyByHand) {
  const std::string game = gameFile("models/player/gign/gign.mdl", "original");
  const std::string replacement = temp / "Новые модели/gign.mdl";
  writeBytes(replacement, "new model");
  HANDLE held = CreateFileW(sys::toWide(game).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);

  ui.expectError("Не могу скопировать файл \"" + replacement + "\" в \"" + game +
                 "\". Чтобы установка  прошла успешно, вам придётся сделать это вручную!");
  ui.expectAttention("Нажмите кнопку OK, когда скопируете файл \"" + replacement + "\" в \"" + game + "\"!")
      .onNextMessage([&] {
        // The person ends the game and copies the file.
        CloseHandle(held);
        held = INVALID_HANDLE_VALUE;
        CopyFileW(sys::toWide(replacement).c_str(), sys::toWide(game).c_str(), FALSE);
      });
  EXPECT_FALSE(installs::FTF(*program, replacement, game));
  if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
  EXPECT_EQ(readBytes(game), "new model");
  ASSERT_EQ(shell.calls.size(), 2u);
  EXPECT_EQ(shell.calls[0].file, temp / "Новые модели" + "\\");
  EXPECT_EQ(shell.calls[1].file, gameFolder() + "\\models\\player\\gign\\");
  const auto log = fs.readLines(program->errorLogPath());
  ASSERT_EQ(log.size(), 1u);
  EXPECT_TRUE(log[0].ends_with(": Ошибка копирования файлов в процедуре FTF")) << log[0];
}

}  // namespace
#endif
