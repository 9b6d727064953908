#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "host/FString.h"
#include "host/GameFunction.h"
#include "host/Tools.h"
#include "tests/sim/HostFixture.h"

namespace {

std::u16string Units(const FString& text) {
  return std::u16string(*text, text.Len());
}

class Text : public HostFixture {};

TEST_F(Text, NarrowTextIsOneUnitPerByteAndWideTextBecomesUtf16WithSurrogatePairs) {
  const FString narrow("a\xC3\xBF");
  EXPECT_EQ(Units(narrow), (std::u16string{u'a', 0xC3, 0xBF}));
  EXPECT_EQ(narrow.Num(), 4);
  EXPECT_EQ(Units(FString(L"J\u00F6\U0001F642")), (std::u16string{u'J', 0xF6, 0xD83D, 0xDE42}));
  EXPECT_TRUE(FString(L"").IsEmpty());
}

TEST_F(Text, Utf8DecodeReplacesEachInvalidSequence) {
  using AsaApi::Tools::Utf8Decode;
  EXPECT_EQ(Utf8Decode("J\xC3\xB6rg \xF0\x9F\x99\x82"), L"J\u00F6rg \U0001F642");
  EXPECT_EQ(Utf8Decode("a\xFF"
                       "b"),
            L"a\uFFFDb");
  EXPECT_EQ(Utf8Decode("\xC0\xAF"), L"\uFFFD\uFFFD");            // overlong
  EXPECT_EQ(Utf8Decode("\xED\xA0\x80"), L"\uFFFD\uFFFD\uFFFD");  // surrogate
  EXPECT_EQ(Utf8Decode("\xE2\x82"
                       "x"),
            L"\uFFFDx");  // cut short
  EXPECT_EQ(Utf8Decode("\xF4\x90\x80\x80"), L"\uFFFD\uFFFD\uFFFD\uFFFD");
}

TEST_F(Text, Utf16ToUtf8PairsSurrogatesAndReplacesLoneOnes) {
  EXPECT_EQ(sim::Utf16ToUtf8(u"\U0001F642x"), "\xF0\x9F\x99\x82x");
  EXPECT_EQ(sim::Utf16ToUtf8(std::u16string{0xD83D, u'x'}), "\xEF\xBF\xBDx");
  EXPECT_EQ(sim::ToUtf8(sim::FStringFromUtf8("Tschüss")), "Tschüss");
}

TEST_F(Text, EveryEngineBlockGoesBackToTheAllocator) {
  const int64_t before = sim::LiveEngineBlocks();
  {
    FString a("alice");
    FString b(a);
    FString c(std::move(a));
    b = c;
    EXPECT_EQ(sim::LiveEngineBlocks(), before + 2);
  }
  EXPECT_EQ(sim::LiveEngineBlocks(), before);
}

TEST_F(Text, AnUnknownGameFunctionIsNullAndLoggedByName) {
  EXPECT_EQ(AsaApi::GetAddress("AThing.Missing()"), nullptr);
  std::ifstream log(ServerDir() + "/ArkApi/Logs/server.log");
  const std::string text{std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>()};
  EXPECT_NE(text.find("[host][warning] GetAddress: no game function 'AThing.Missing()'\n"),
            std::string::npos)
      << text;
  EXPECT_THROW(GameFunction<void()>("AThing.Missing()"), std::runtime_error);
}

TEST_F(Text, TheCurrentDirHasNoTrailingSeparator) {
  sim::SetCurrentDir("/srv/game//");
  EXPECT_EQ(AsaApi::Tools::GetCurrentDir(), "/srv/game");
}

}  // namespace
