#include <cstdio>
#include <string>
#include <utility>

#include "sim/framework/SimHost.h"

namespace sim {
namespace {

void WriteTo(std::FILE* stream, std::string_view line) {
  std::fwrite(line.data(), 1, line.size(), stream);
  std::fputc('\n', stream);
  std::fflush(stream);
}

struct Writers {
  LineWriter output;
  LineWriter error;
  bool trace = false;
};

Writers& TheWriters() {
  static auto* writers = new Writers();  // outlives every static object that prints
  return *writers;
}

}  // namespace

void SetOutputWriter(LineWriter writer) {
  TheWriters().output = std::move(writer);
}
void SetErrorWriter(LineWriter writer) {
  TheWriters().error = std::move(writer);
}

void PrintLine(std::string_view line) {
  const auto& writer = TheWriters().output;
  if (writer) {
    writer(line);
    return;
  }
  WriteTo(stdout, line);
}

void PrintError(std::string_view what) {
  const std::string line = "error: " + std::string(what);
  const auto& writer = TheWriters().error;
  if (writer) {
    writer(line);
    return;
  }
  WriteTo(stderr, line);
}

void SetTrace(bool on) {
  TheWriters().trace = on;
}
bool TraceOn() {
  return TheWriters().trace;
}

}  // namespace sim
