#include "admission/TextConversion.h"

#include <memory>
#include <string_view>

#include "host/FMemory.h"
#include "host/Tools.h"

namespace gatehouse {

namespace {

struct EngineFree {
  void operator()(char* block) const noexcept { FMemory::Free(block); }
};

// Identifiers fit on the stack; longer texts borrow from the engine allocator.
constexpr size_t kStackScratch = 128;

}  // namespace

std::string ToNarrowString(const FString& text) {
  const std::u16string_view units(*text);
  const size_t size = units.size() + 1;  // with the terminator

  char stack_scratch[kStackScratch];
  std::unique_ptr<char, EngineFree> heap_scratch;
  char* scratch = stack_scratch;
  if (size > kStackScratch) {
    heap_scratch.reset(static_cast<char*>(FMemory::Malloc(size)));
    scratch = heap_scratch.get();
  }

  for (size_t i = 0; i < units.size(); ++i) {
    scratch[i] = units[i] <= 127 ? static_cast<char>(units[i]) : '?';
  }
  scratch[units.size()] = '\0';
  return std::string(scratch, units.size());
}

FString ToFString(std::string text) {
  const std::wstring wide = AsaApi::Tools::Utf8Decode(text);
  return FString(wide.c_str());
}

}  // namespace gatehouse
