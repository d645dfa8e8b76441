// The program itself started twice on one store, as the desktop's menu starts it.
#include <QProcess>
#include <QTest>
#include <QWidget>
#include <algorithm>

#include "app/program.h"
#include "launchers/display/display_support.h"
#include "support/display/x_display.h"
#include "support/temp_folder.h"
#include "sys/registry.h"
#include "sys/shell.h"

namespace {

TEST(TwoStarts, TheSecondBringsTheFirstWindowToTheFrontAndEnds) {
  SKIP_WITHOUT_DISPLAY();
  // A configured program with a catalogue of its game folder, in a home of its own: it asks nothing.
  testing_support::TempFolder temp;
  const std::string store = temp / "program/", caption = app::mainWindowCaption(), cover = "Окно другой программы";
  testing_support::writeBytes(store + "fileslist.dat", temp / "game/a.mdl" + "\r\n");
  testing_support::makeFolder(temp / "config/Varnikit");
  sys::HiveFileRegistry(temp / "config/Varnikit/HKEY_CURRENT_USER.reg")
      .writeValues(app::kProgramKey, {{"CSDir", temp / "game"}, {"FilePath", store}, {"ListUpdate", "1"}});
  auto environment = QProcessEnvironment::systemEnvironment();
  for (const auto& [name, folder] : {std::pair{"HOME", "home"}, {"XDG_CONFIG_HOME", "config"}, {"XDG_DATA_HOME", "data"}}) {
    environment.insert(name, QString::fromStdString(temp / folder));
  }
  QProcess first, second;
  first.setProcessEnvironment(environment);
  second.setProcessEnvironment(environment);
  auto finder = sys::systemWindowFinder();
  const auto place = [](const std::string& title) {
    const auto titles = testing_support::stackedTitles();
    return std::find(titles.begin(), titles.end(), title) - titles.begin();
  };

  first.start(VARNIKIT_PROGRAM_PATH);
  ASSERT_TRUE(QTest::qWaitFor([&] { return finder->exists(caption); }, 10000)) << "no main window";
  QWidget other;
  other.setWindowTitle(QString::fromStdString(cover));
  other.show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return place(cover) > place(caption); }, 5000));
  second.start(VARNIKIT_PROGRAM_PATH);
  ASSERT_TRUE(second.waitForFinished(15000)) << "the second start is still running";
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_EQ(first.state(), QProcess::Running);
  const auto titles = testing_support::stackedTitles();
  EXPECT_EQ(std::count(titles.begin(), titles.end(), caption), 1) << "one main window";
  EXPECT_TRUE(QTest::qWaitFor([&] { return place(caption) > place(cover); }, 5000)) << "brought to the front";
  first.kill();
  first.waitForFinished();
}

}  // namespace
