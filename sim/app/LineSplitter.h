#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace sim::app {

// Cuts a byte stream into lines as it arrives, so that each command runs as
// soon as its line is complete. A line longer than the limit is dropped whole
// (reported once through on_too_long) rather than held in memory.
class LineSplitter {
 public:
  using OnLine = std::function<void(std::string_view line)>;

  explicit LineSplitter(size_t max_line_bytes = 1 << 20) : max_line_bytes_(max_line_bytes) {}

  // Hands every complete line in `bytes` (without its line end) to on_line.
  void Feed(std::string_view bytes, const OnLine& on_line,
            const std::function<void()>& on_too_long);
  // The end of the stream: a last line without a line end is still a line.
  void Finish(const OnLine& on_line);

 private:
  size_t max_line_bytes_;
  std::string partial_;
  bool dropping_ = false;
};

}  // namespace sim::app
