#include <gtest/gtest.h>

#include "app/one_program.h"
#include "support/fakes.h"

namespace {

using sys::LockResult;

TEST(OneProgram, AStartGoesOnUnlessAnotherHoldsTheStoreWhoseWindowItThenRaises) {
  const std::string caption = "Varnikit 1.0    |    build: 1374";
  const struct {
    LockResult lock;
    bool otherWindowUp;
    bool goesOn;
  } cases[] = {
      {LockResult::Taken, true, true},
      {LockResult::Unavailable, false, true},  // a store that cannot be locked: the program runs as before
      {LockResult::HeldByAnother, true, false},
      {LockResult::HeldByAnother, false, false},  // the other one is still starting
  };
  for (const auto& c : cases) {
    testing_support::FakeProgramLock lock;
    testing_support::FakeWindowFinder finder;
    lock.result = c.lock;
    if (c.otherWindowUp) finder.windows = {caption};
    EXPECT_EQ(app::claimStore(lock, finder, "/store/"), c.goesOn) << static_cast<int>(c.lock);
    EXPECT_EQ(lock.folders, std::vector<std::string>{"/store/"});
    EXPECT_EQ(finder.raised, c.goesOn ? std::vector<std::string>{} : std::vector<std::string>{caption});
  }
}

}  // namespace
