#include "ConsoleCapture.h"

#include <gtest/gtest.h>

// The sink writes to file descriptor 1, which the capture redirects.
namespace ConsoleCapture {

const char* const kLineEnd = "\n";

void Prepare() {}

void Begin() {
  ::testing::internal::CaptureStdout();
}

std::string End() {
  return ::testing::internal::GetCapturedStdout();
}

}  // namespace ConsoleCapture
