#include "sim/app/LineSplitter.h"

namespace sim::app {
namespace {

// Hands the line gathered so far over, without a "\r" at its end, and starts
// the next one.
void Deliver(std::string& partial, const LineSplitter::OnLine& on_line) {
  const std::string line = std::move(partial);
  partial.clear();
  std::string_view text = line;
  if (!text.empty() && text.back() == '\r') {
    text.remove_suffix(1);
  }
  on_line(text);
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
    Deliver(partial_, on_line);
  }
}

void LineSplitter::Finish(const OnLine& on_line) {
  if (!dropping_ && !partial_.empty()) {
    Deliver(partial_, on_line);
  }
  partial_.clear();
  dropping_ = false;
}

}  // namespace sim::app
