#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/ProcessState.h"

namespace gatehouse {
namespace {

// Parts that record their end, so that the order of the ends shows.
std::vector<std::string> ended;

template <int N>
struct Part {
  ~Part() { ended.push_back("part " + std::to_string(N)); }
  int value = 0;
};

class ProcessStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ProcessState::Release();
    ended.clear();
  }
  void TearDown() override { ProcessState::Release(); }
};

TEST_F(ProcessStateTest, APartIsMadeAtItsFirstUseAndKeptUntilTheRelease) {
  Part<1>& first = ProcessState::Get<Part<1>>();
  first.value = 7;
  EXPECT_EQ(&ProcessState::Get<Part<1>>(), &first);
  EXPECT_EQ(ProcessState::Get<Part<1>>().value, 7);
  EXPECT_EQ(ProcessState::Get<Part<2>>().value, 0);
  EXPECT_TRUE(ended.empty());
}

// Newest first: a part made after another may point into it (the prepared
// lists into the settings document), and must end before it.
TEST_F(ProcessStateTest, ReleaseEndsEveryPartNewestFirstAndLaterUsesStartAfresh) {
  ProcessState::Get<Part<2>>();
  ProcessState::Get<Part<1>>().value = 5;
  ProcessState::Get<Part<3>>();
  ProcessState::Release();
  EXPECT_EQ(ended, (std::vector<std::string>{"part 3", "part 1", "part 2"}));

  EXPECT_EQ(ProcessState::Get<Part<1>>().value, 0);
  ended.clear();
  ProcessState::Release();
  ProcessState::Release();  // nothing left: a second release does nothing
  EXPECT_EQ(ended, (std::vector<std::string>{"part 1"}));
}

}  // namespace
}  // namespace gatehouse
