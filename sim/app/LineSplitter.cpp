#include "sim/app/LineSplitter.h"

namespace sim::app {
namespace {

std::string_view WithoutCarriageReturn(std::string_view line) {
  if (!line.empty() && line.back() == '\r') {
    line.remove_suffix(1);
  }
  return line;
}

}  // namespace

void LineSplitter::Feed(std::string_view bytes, const OnLine& on_line,
                        const std::function<void()>& on_too_long) {
  while (!bytes.empty()) {
    const size_t end = bytes.find('\n');
    const std::string_view piece = bytes.substr(0, end);
    if (!dropping_ && partial_.size() + piece.size() > max_line_bytes_) {
      dropping_ = true;
      partial_.clear();
      partial_.shrink_to_fit();
      on_too_long();
    }
    if (!dropping_) {
      partial_.append(piece);
    }
    if (end == std::string_view::npos) {
      return;
    }
    bytes.remove_prefix(end + 1);
    if (dropping_) {
      dropping_ = false;
      continue;
    }
    const std::string line = std::move(partial_);
    partial_.clear();
    on_line(WithoutCarriageReturn(line));
  }
}

void LineSplitter::Finish(const OnLine& on_line) {
  if (dropping_ || partial_.empty()) {
    partial_.clear();
    dropping_ = false;
    return;
  }
  const std::string line = std::move(partial_);
  partial_.clear();
  on_line(WithoutCarriageReturn(line));
}

}  // namespace sim::app
