#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "PluginTest.h"
#include "admission/TextConversion.h"
#include "host/GameFunction.h"
#include "sim/framework/SimHost.h"

namespace gatehouse {

using TextConversion = PluginTest;

TEST_F(TextConversion, NarrowFormShowsEveryUnitAbove127AsQuestionMark) {
  const struct {
    const char* utf8;
    const char* narrow;
  } cases[] = {
      {"alice", "alice"}, {"jörg", "j?rg"}, {"😀x", "??x"},  // a surrogate pair is two units
      {"{}", "{}"},       {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToNarrowString(sim::FStringFromUtf8(c.utf8)), c.narrow) << c.utf8;
  }
  EXPECT_EQ(ToNarrowString(FString()), "");
  EXPECT_EQ(ToNarrowString(FString::EmptyWithStorage()), "");
}

// Longer texts take their scratch space from the engine allocator and give it
// back; the fixture checks the live-block count.
TEST_F(TextConversion, LongTextsAroundTheScratchSize) {
  for (const size_t length : {127u, 128u, 129u, 200u, 5000u}) {
    const std::string ascii(length, 'x');
    EXPECT_EQ(ToNarrowString(sim::FStringFromUtf8(ascii)), ascii) << length;
  }
  std::string mixed;
  std::string expected;
  for (int i = 0; i < 100; ++i) {
    mixed += "aé";
    expected += "a?";
  }
  EXPECT_EQ(ToNarrowString(sim::FStringFromUtf8(mixed)), expected);
}

TEST_F(TextConversion, WideFormDecodesUtf8) {
  const FString text = ToFString("Tschüss, 🙂!");
  EXPECT_EQ(std::u16string(*text), u"Tschüss, 🙂!");
  EXPECT_EQ(text.Len(), 12);  // ü is one unit, 🙂 a surrogate pair
  EXPECT_EQ(std::u16string(*ToFString("")), u"");
  EXPECT_EQ(std::u16string(*ToFString("a\xFF"
                                      "b")),
            u"a\uFFFDb");
}

// Up to 127 units the narrow form needs nothing of the engine allocator.
TEST_F(TextConversion, ShortTextsNeedNoEngineAllocation) {
  const FString longest_short = sim::FStringFromUtf8(std::string(127, 'x'));
  const FString first_long = sim::FStringFromUtf8(std::string(128, 'x'));
  constexpr char kMalloc[] = "FMemory.Malloc(unsigned__int64,unsignedint)";
  void* const malloc_address = AsaApi::GetAddress(kMalloc);
  sim::UnregisterGameFunction(kMalloc);
  EXPECT_EQ(ToNarrowString(longest_short), std::string(127, 'x'));
  EXPECT_THROW(ToNarrowString(first_long), std::runtime_error);
  sim::RegisterGameFunction(kMalloc, malloc_address);
}

}  // namespace gatehouse
