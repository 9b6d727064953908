#include "plugin/Lifecycle.h"

// Attaching the library runs Load, detaching it runs Unload. This file comes
// last in the library's sources, so its one object is constructed after every
// other static of the library and destroyed before them; the plugin's
// process-wide state lives in function-local statics, which Load creates.
namespace {

struct LibraryEntry {
  LibraryEntry() { Load(); }
  ~LibraryEntry() { Unload(); }
  LibraryEntry(const LibraryEntry&) = delete;
  LibraryEntry& operator=(const LibraryEntry&) = delete;
};

const LibraryEntry entry;

}  // namespace
