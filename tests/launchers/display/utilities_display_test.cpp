// The utilities end to end: the real sample utility, started through the real shell and watched through
// the real window lookup on the X display.
#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <cstdlib>
#include <filesystem>

#include "launchers/display/display_support.h"
#include "support/ui/main_window_fixture.h"
#include "sys/paths.h"

namespace {

using namespace std::chrono_literals;
using testing_support::fileExists;
using testing_support::folderExists;
using testing_support::readBytes;
using testing_support::writeBytes;

// The real lookup, with a look at the main window each time it answers.
class ObservedWindowFinder : public sys::WindowFinder {
 public:
  bool exists(const std::string& title) override {
    const bool found = real->exists(title);
    if (onAnswer) onAnswer(found);
    return found;
  }
  bool raise(const std::string& title) override { return real->raise(title); }
  std::unique_ptr<sys::WindowFinder> real = sys::systemWindowFinder();
  std::function<void(bool)> onAnswer;
};

class UtilitiesOnTheDisplay : public testing_support::MainWindowFixture {
 protected:
  void SetUp() override {
    SKIP_WITHOUT_DISPLAY();
    // A name of this test's own, so utilities of tests running side by side are not mistaken for it.
    name = QString("Пример утилиты %1").arg(QCoreApplication::applicationPid()).toStdString();
    setenv("VARNIKIT_SAMPLE_NAME", name.c_str(), 1);
    unsetenv("VARNIKIT_SAMPLE_CLOSE_AFTER_MS");
    downloaded = temp / "download/sample-utility";
    testing_support::makeFolder(temp / "download");
    std::filesystem::copy_file(SAMPLE_UTILITY_PATH, downloaded);

    storeSettings();
    writeBytes(programFolder() + "fileslist.dat", "");  // a catalogue, so showing the window asks nothing
    const Platform platform{fs, *registry, *realShell, finder, sys::systemClock(), temp / "exe" + sys::kSep, &ui};
    form1 = std::make_unique<TForm1>(platform);
    utils = std::make_unique<Tutils>(*form1);
    TForm1::Windows w;
    w.utils = utils.get();
    form1->setWindows(w);
    form1->show();
  }
  void TearDown() override {
    utils.reset();
    form1.reset();
  }

  void installTheSample(const std::string& box, const std::string& text) {
    utils->show();
    QApplication::processEvents();
    ui.expectFiles("Открыть", {downloaded});
    ui.expectMessage(box, text);
    utils->Button1->click();
    ui.verifyAllAnswered();
    utils->close();
  }
  std::string installedPath() { return programFolder() + "utilities/sample-utility/sample-utility"; }
  std::vector<std::string> log() {
    const std::string file = programFolder() + "errors.txt";
    return fileExists(file) ? fs.readLines(file) : std::vector<std::string>{};
  }

  std::unique_ptr<sys::Shell> realShell = sys::systemShell();
  ObservedWindowFinder finder;
  std::string name;
  std::string downloaded;
};

TEST_F(UtilitiesOnTheDisplay, TheSampleInstallsThroughItsHandshakeOnce) {
  form1->utilityTimeout = 10s;  // the real program has to start and answer
  installTheSample("Внимание", "Новая утилита \"" + name + "\" была успешно установлена");
  EXPECT_EQ(readBytes(installedPath()), readBytes(downloaded));
  EXPECT_FALSE(fileExists(temp / "download/setup.dat"));
  EXPECT_EQ(form1->program().utilities[0].name, name);
  EXPECT_EQ(form1->program().utilities[0].path, installedPath());
  EXPECT_EQ(fs.readLines(programFolder() + "utilities.dat"), (std::vector<std::string>{name, installedPath()}));

  installTheSample("Ошибка", "Эта утилита уже установлена");
  EXPECT_EQ(log().size(), 1u);
  EXPECT_TRUE(form1->isEnabled());
}

TEST_F(UtilitiesOnTheDisplay, AProgramThatNeverAnswersIsNoUtility) {
  downloaded = temp / "download/silent";
  writeBytes(downloaded, "#!/bin/sh\nexit 0\n");
  std::filesystem::permissions(downloaded, std::filesystem::perms::owner_exec, std::filesystem::perm_options::add);
  form1->utilityTimeout = 300ms;
  installTheSample("Ошибка", "Не могу установить утилиту. Скорей всего этот файл не является утилитой");
  EXPECT_EQ(log().back().substr(21), "При установке утилиты, файл setup.dat не создавался более 15 секунд");
  EXPECT_FALSE(folderExists(programFolder() + "utilities/sample-utility"));
}

TEST_F(UtilitiesOnTheDisplay, TheMainWindowWaitsForTheSamplesWindowAndComesBackFocused) {
  form1->utilityTimeout = 10s;
  installTheSample("Внимание", "Новая утилита \"" + name + "\" была успешно установлена");
  QApplication::processEvents();

  setenv("VARNIKIT_SAMPLE_CLOSE_AFTER_MS", "700", 1);
  bool seenRunning = false;
  bool enabledWhileRunning = false;
  finder.onAnswer = [&](bool found) {
    if (!found) return;
    seenRunning = true;
    enabledWhileRunning = enabledWhileRunning || form1->isEnabled();
  };
  form1->MainMenu1Change();
  ASSERT_TRUE(form1->util[0]->isVisible());
  form1->util[0]->trigger();

  EXPECT_TRUE(seenRunning) << "the sample's window was found";
  EXPECT_FALSE(enabledWhileRunning);
  EXPECT_FALSE(finder.real->exists(name)) << "the wait ends when the window is gone";
  EXPECT_TRUE(form1->isEnabled());
  EXPECT_EQ(statusText(), "");
  EXPECT_TRUE(QTest::qWaitFor([&] { return form1->isActiveWindow(); }, 3000)) << "the main window has the focus";
  EXPECT_TRUE(log().empty());
}

TEST_F(UtilitiesOnTheDisplay, AWindowWithAnotherTitleIsNotTheUtilitys) {
  // Installed under a name its window does not carry.
  form1->utilityTimeout = 10s;
  installTheSample("Внимание", "Новая утилита \"" + name + "\" была успешно установлена");
  form1->program().utilities[0].name = name + " (другое имя)";

  setenv("VARNIKIT_SAMPLE_CLOSE_AFTER_MS", "1500", 1);
  form1->utilityTimeout = 400ms;
  ui.expectError("Произошла ошибка");
  form1->RunUtil(1);
  EXPECT_EQ(log().back().substr(21), "Утилита не была запущена в течение 15 секунд (процедура \"RunUtil\")");
  EXPECT_TRUE(form1->isEnabled());
  EXPECT_EQ(statusText(), "");
  // The utility was started all the same and is left running; it closes itself after a while.
  EXPECT_TRUE(QTest::qWaitFor([&] { return finder.real->exists(name); }, 5000));
  EXPECT_TRUE(QTest::qWaitFor([&] { return !finder.real->exists(name); }, 5000));
}

}  // namespace
