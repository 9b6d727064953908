#include <cstdio>
#include <string>
#include <utility>

#include "sim/framework/Internal.h"
#include "sim/framework/SimHost.h"

namespace sim {
namespace {

// A line through the writer set for the stream, or on the stream itself.
void WriteTo(const LineWriter& writer, std::FILE* stream, std::string_view line) {
  if (writer) {
    writer(line);
    return;
  }
  std::fwrite(line.data(), 1, line.size(), stream);
  std::fputc('\n', stream);
  std::fflush(stream);
}

struct Writers {
  LineWriter output;
  LineWriter error;
  bool trace = false;
};

// Outlives every static object that prints.
constexpr auto& TheWriters = NeverDestroyed<Writers>;

}  // namespace

void SetOutputWriter(LineWriter writer) {
  TheWriters().output = std::move(writer);
}
void SetErrorWriter(LineWriter writer) {
  TheWriters().error = std::move(writer);
}

void PrintLine(std::string_view line) {
  WriteTo(TheWriters().output, stdout, line);
}

void PrintError(std::string_view what) {
  WriteTo(TheWriters().error, stderr, "error: " + std::string(what));
}

void SetTrace(bool on) {
  TheWriters().trace = on;
}
void Trace(std::string_view what) {
  if (TheWriters().trace) {
    PrintLine("host: " + std::string(what));
  }
}

}  // namespace sim
