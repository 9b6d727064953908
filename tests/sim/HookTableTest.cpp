#include <string>

#include "host/Hooks.h"
#include "tests/sim/HostFixture.h"

namespace {

constexpr const char* kTarget = "AThing.Do(int)";
using DoFunction = void(std::string*);

// Each function leaves its letter in the call record, then calls through.
DoFunction* below_a = nullptr;
DoFunction* below_b = nullptr;
DoFunction* below_c = nullptr;

void Original(std::string* calls) {
  *calls += "o";
}
void HookA(std::string* calls) {
  *calls += "a";
  below_a(calls);
}
void HookB(std::string* calls) {
  *calls += "b";
  below_b(calls);
}
void HookC(std::string* calls) {
  *calls += "c";
  below_c(calls);
}

class HookTable : public HostFixture {
 protected:
  void SetUp() override {
    slot = sim::RegisterHookable(kTarget, reinterpret_cast<void*>(&Original));
  }

  std::string Call() const {
    std::string calls;
    sim::HookedFunction<DoFunction>(slot)(&calls);
    return calls;
  }

  void* const* slot = nullptr;
};

TEST_F(HookTable, HooksChainAndRemovingTheMiddleRelinksTheOneAbove) {
  ASSERT_TRUE(SetHook(kTarget, &HookA, &below_a));
  EXPECT_EQ(below_a, &Original);
  ASSERT_TRUE(SetHook(kTarget, &HookB, &below_b));
  ASSERT_TRUE(SetHook(kTarget, &HookC, &below_c));
  EXPECT_EQ(Call(), "cbao");
  // The game itself reaches the function unhooked.
  EXPECT_EQ(AsaApi::GetAddress(kTarget), reinterpret_cast<void*>(&Original));

  ASSERT_TRUE(DisableHook(kTarget, &HookB));
  EXPECT_EQ(below_c, &HookA);
  EXPECT_EQ(Call(), "cao");
  ASSERT_TRUE(DisableHook(kTarget, &HookC));
  EXPECT_EQ(Call(), "ao");
  ASSERT_TRUE(DisableHook(kTarget, &HookA));
  EXPECT_EQ(*slot, reinterpret_cast<void*>(&Original));
  EXPECT_EQ(sim::HookCount(kTarget), 0u);
}

TEST_F(HookTable, UnknownTargetsAndHooksThatAreNotInstalledAreRefused) {
  EXPECT_FALSE(SetHook("ANothing.Do()", &HookA, &below_a));
  EXPECT_FALSE(DisableHook(kTarget, &HookA));
  ASSERT_TRUE(SetHook(kTarget, &HookA, &below_a));
  EXPECT_FALSE(DisableHook(kTarget, &HookB));
  EXPECT_EQ(Call(), "ao");
}

TEST_F(HookTable, HooksLeftByAnUnloadedLibraryAreTakenOutWithoutTouchingTheirSlots) {
  sim::SetLoadingLibrary("/plugins/gone.so");
  ASSERT_TRUE(SetHook(kTarget, &HookA, &below_a));
  sim::SetLoadingLibrary("");
  ASSERT_TRUE(SetHook(kTarget, &HookB, &below_b));
  // The gone library's slot must keep its value: its memory may be unmapped.
  below_a = nullptr;

  const sim::LeftBehind left = sim::RemoveLeftoversOf("/plugins/gone.so");
  EXPECT_EQ(left.hooks, std::vector<std::string>{kTarget});
  EXPECT_EQ(below_a, nullptr);
  EXPECT_EQ(below_b, &Original);
  EXPECT_EQ(Call(), "bo");
}

}  // namespace
