#include "sim/app/LineSplitter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Collected {
  std::vector<std::string> lines;
  int too_long = 0;
};

void Feed(sim::app::LineSplitter& splitter, Collected& out, std::string_view bytes) {
  splitter.Feed(
      bytes, [&](std::string_view line) { out.lines.emplace_back(line); }, [&] { ++out.too_long; });
}

TEST(LineSplitter, EachLineComesOutAsSoonAsItIsComplete) {
  sim::app::LineSplitter splitter;
  Collected out;
  Feed(splitter, out, "join al");
  EXPECT_TRUE(out.lines.empty());
  Feed(splitter, out, "ice\r\nwait 1\nplay");
  EXPECT_EQ(out.lines, (std::vector<std::string>{"join alice", "wait 1"}));
  splitter.Finish([&](std::string_view line) { out.lines.emplace_back(line); });
  EXPECT_EQ(out.lines.back(), "play");
}

TEST(LineSplitter, AnOverlongLineIsDroppedWholeAndTheNextOneKept) {
  sim::app::LineSplitter splitter(8);
  Collected out;
  Feed(splitter, out, "123456");
  Feed(splitter, out, "789012345");
  Feed(splitter, out, "6789\nok\n");
  EXPECT_EQ(out.too_long, 1);
  EXPECT_EQ(out.lines, std::vector<std::string>{"ok"});
}

}  // namespace
