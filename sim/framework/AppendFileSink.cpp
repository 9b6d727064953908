#include "sim/framework/AppendFileSink.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "host/Utf8Path.h"
#include "sim/framework/platform/Platform.h"

namespace sim {

AppendFileSink::AppendFileSink(std::string path) : path_(std::move(path)) {}

AppendFileSink::~AppendFileSink() {
  Close();
}

void AppendFileSink::SetPath(std::string path) {
  std::lock_guard lock(mutex_);
  Close();
  path_ = std::move(path);
  failed_ = false;
}

void AppendFileSink::Close() {
  if (file_ != nullptr) {
    std::fclose(file_);
    file_ = nullptr;
  }
}

void AppendFileSink::sink_it_(const spdlog::details::log_msg& record) {
  if (file_ == nullptr && !failed_) {
    std::error_code ignored;
    std::filesystem::create_directories(PathFromUtf8(path_).parent_path(), ignored);
    file_ = platform::OpenFile(path_, "ab");
    // A log that cannot be opened is not tried again for every record; the
    // records still reach standard error through the other sink.
    failed_ = file_ == nullptr;
  }
  if (file_ == nullptr) {
    return;
  }
  spdlog::memory_buf_t laid_out;
  formatter_->format(record, laid_out);
  std::fwrite(laid_out.data(), 1, laid_out.size(), file_);
  std::fflush(file_);
}

void AppendFileSink::flush_() {
  if (file_ != nullptr) {
    std::fflush(file_);
  }
}

}  // namespace sim
