#include <gtest/gtest.h>

#include "app/program.h"
#include "support/program_fixture.h"

namespace {

using testing_support::fileExists;
using testing_support::ProgramFixture;
using testing_support::writeBytes;
using Activation = app::Program::Activation;

class ActivationStep : public ProgramFixture {
 protected:
  void SetUp() override {
    configure();
    gameFile("models/player/gign/gign.mdl");
    writeBytes(program->settings.FilesListDir, oldCatalogue());
  }
  // A catalogue of the game folder made before this run.
  std::string oldCatalogue() const { return gameFolder() + sys::kSep + "old.mdl\r\n"; }
  void expectScan() { ui.expectMessage("Поиск файлов завершен", "Найдено 1 файлов"); }
  bool scanned() { return testing_support::readBytes(program->settings.FilesListDir) != oldCatalogue(); }
};

TEST_F(ActivationStep, NoGameFolderAsksForSettingsAndWritesNothing) {
  program->settings.CSDir = temp / "nowhere";
  EXPECT_EQ(program->activate(), Activation::ShowSettings);
  EXPECT_FALSE(registry->readValues(app::kProgramKey, {"CSDir"}));
  program->settings.CSDir = "";
  EXPECT_EQ(program->activate(), Activation::ShowSettings);
}

TEST_F(ActivationStep, NoCatalogueIsAnnouncedAndScanned) {
  testing_support::readBytes(program->settings.FilesListDir);
  std::filesystem::remove(sys::toPath(program->settings.FilesListDir));
  program->ListUpdatePending = true;
  ui.expectAttention("Необходимо произвести поиск файлов в папке с игрой");
  expectScan();
  EXPECT_EQ(program->activate(), Activation::Scanned);
  EXPECT_TRUE(fileExists(program->settings.FilesListDir));
  EXPECT_FALSE(program->ListUpdatePending) << "the catalogue just built stands for the schedule's scan";
  EXPECT_EQ(program->activate(), Activation::Done);  // no second scan: the script holds no second report
  EXPECT_EQ(program->settings.FilesListDate, "07.03.2003");
}

TEST_F(ActivationStep, MissingDescriptionAndCatalogueFilesFallBackToTheProgramFolder) {
  program->settings.FilesInfoDir = temp / "deleted.dat";
  program->settings.FilesListDir = temp / "gone.dat";
  program->settings.ListUpdate = "1";
  EXPECT_EQ(program->activate(), Activation::Done) << "the catalogue in the program folder exists";
  EXPECT_EQ(program->settings.FilesInfoDir, programFolder() + "filesinfo.dat");
  EXPECT_EQ(program->settings.FilesListDir, programFolder() + "fileslist.dat");
}

TEST_F(ActivationStep, AtStartPolicyScansOncePerRun) {
  program->ListUpdatePending = true;
  expectScan();
  EXPECT_EQ(program->activate(), Activation::Done);
  EXPECT_TRUE(scanned());
  EXPECT_FALSE(program->ListUpdatePending);
  program->activate();  // no second scan: the script holds no second report
  EXPECT_TRUE(registry->readValues(app::kProgramKey, {"CSDir"})) << "settings written at every activation";
}

struct PolicyCase {
  const char* policy;
  const char* lastScan;
  bool scans;
};

class SchedulePolicy : public ActivationStep, public ::testing::WithParamInterface<PolicyCase> {};

TEST_P(SchedulePolicy, DecidesWhetherToScan) {
  const PolicyCase& c = GetParam();
  clock.time = {{2003, 3, 7}, 10, 0, 0};
  program->settings.ListUpdate = c.policy;
  program->settings.FilesListDate = c.lastScan;
  program->ListUpdatePending = true;
  if (c.scans) expectScan();
  EXPECT_EQ(program->activate(), Activation::Done);
  EXPECT_EQ(scanned(), c.scans);
  EXPECT_FALSE(program->ListUpdatePending);
  EXPECT_TRUE(registry->readValues(app::kProgramKey, {"CSDir"}));
}

INSTANTIATE_TEST_SUITE_P(
    Policies, SchedulePolicy,
    ::testing::Values(PolicyCase{"1", "", false}, PolicyCase{"2", "07.03.2003", true},
                      PolicyCase{"3", "07.03.2003", false}, PolicyCase{"3", "06.03.2003", true},
                      PolicyCase{"3", "08.03.2003", true}, PolicyCase{"3", "garbage", true},
                      PolicyCase{"4", "05.02.2003", false},  // 30 days ago
                      PolicyCase{"4", "04.02.2003", true},   // 31 days ago
                      PolicyCase{"4", "07.03.2003", false}, PolicyCase{"4", "not a date", true},
                      PolicyCase{"4", "", true}, PolicyCase{"7", "", false}, PolicyCase{"", "", false}),
    [](const ::testing::TestParamInfo<PolicyCase>& info) {
      return std::string("policy_") + (*info.param.policy ? info.param.policy : "none") + "_case" +
             std::to_string(info.index) + (info.param.scans ? "_scans" : "_no_scan");
    });

}  // namespace
