// The scenario runner's comparison: a fault here would pass scenarios whose
// output is wrong, or fail the right ones.

#include "tests/scenario/OutputMatch.h"

#include <gtest/gtest.h>

namespace gatehouse::scenario {
namespace {

TEST(OutputMatch, NormalizesWhatDiffersFromRunToRunAndNothingElse) {
  const std::vector<std::string> plugin{"/b/libGatehouse.so", "Z:\\b\\libGatehouse.so"};
  EXPECT_EQ(Normalized("\x1b[0m\x1b[36m12/09/26 03:34 [GH] a 12/09/26 03:35 b\x1b[0m\r\n"
                       "12/09/26 03:34 [Gatehouse][error] x\r\r\n"
                       "at 2026-12-09 03:34:59 and 2026-12-09 03:35:00\n"
                       "load Z:\\b\\libGatehouse.so and /b/libGatehouse.so\n"
                       "12/09/26 03:34 no bracket",
                       plugin),
            "^[[0m^[[36mMM/DD/YY HH:MM [GH] a 12/09/26 03:35 b^[[0m\n"
            "MM/DD/YY HH:MM [Gatehouse][error] x\r\n"
            "at YYYY-MM-DD HH:MM:SS and YYYY-MM-DD HH:MM:SS\n"
            "load PLUGIN and PLUGIN\n"
            "12/09/26 03:34 no bracket");
}

TEST(OutputMatch, PatternsMatchAsTheShellDoes) {
  EXPECT_TRUE(MatchesPattern("error: cannot load plugin /x.so: gone", "error: * plugin *: *"));
  EXPECT_TRUE(MatchesPattern("a[b]c", "a\\[b\\]?"));
  EXPECT_TRUE(MatchesPattern("x7", "[a-z][0-9]"));
  EXPECT_TRUE(MatchesPattern("]", "[]]"));
  EXPECT_TRUE(MatchesPattern("a.b(c)", "a.b(?)"));
  EXPECT_TRUE(MatchesPattern("", "*"));
  EXPECT_TRUE(MatchesPattern("aaab", "*a*b"));
  EXPECT_FALSE(MatchesPattern("x7", "[!a-z]7"));
  EXPECT_FALSE(MatchesPattern("error: a", "error: a*b"));
  EXPECT_FALSE(MatchesPattern("abc", "ab"));
  EXPECT_FALSE(MatchesPattern("ab", "abc"));
  EXPECT_FALSE(MatchesPattern("axb", "a.b"));
  EXPECT_FALSE(MatchesPattern("a[b]c", "a[b]c"));  // a set of one, not the brackets
}

TEST(OutputMatch, DiffShowsEachChangeInItsContext) {
  EXPECT_EQ(UnifiedDiff("a\nb\n", "a\nb\n"), "");
  EXPECT_EQ(UnifiedDiff("1\n2\n3\n4\n5\n6\n7\n8\n9\n", "1\n2\n3\n4\nfive\n6\n7\n8\n9\n"),
            "--- expected\n+++ actual\n@@ -2,7 +2,7 @@\n 2\n 3\n 4\n-5\n+five\n 6\n 7\n 8\n");
  EXPECT_EQ(UnifiedDiff("", "x\n"), "--- expected\n+++ actual\n@@ -0,0 +1,1 @@\n+x\n");
  EXPECT_EQ(UnifiedDiff("x\n", "x"),
            "--- expected\n+++ actual\n(the texts differ only in the end of their last line)\n");
}

}  // namespace
}  // namespace gatehouse::scenario
