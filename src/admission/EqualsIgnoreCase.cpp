#include "admission/EqualsIgnoreCase.h"

#include "host/GameFunction.h"

namespace gatehouse {

bool EqualsIgnoreCase(CountedText entry, CountedText identifier) {
  const int64_t entry_count = entry.count;
  const int64_t identifier_count = identifier.count;
  if (entry_count != identifier_count) {
    // Counts 0 and 1 are both the empty string.
    return entry_count + identifier_count == 1;
  }
  if (entry_count <= 1) {
    return true;
  }
  const auto stricmp = GameFunction<int(const EngineChar*, const EngineChar*)>(
      "FGenericPlatformStricmp.Stricmp(wchar_t*,wchar_t*)");
  return stricmp(entry.units, identifier.units) == 0;
}

}  // namespace gatehouse
