#include "plugin/Lifecycle.h"

namespace gatehouse {

// Attaching the library runs Load, detaching it runs Unload. This file comes
// last in the library's sources, so its one object is constructed after every
// other static of the library and destroyed before them. The plugin's process
// state is created by Load and ends with Unload.
namespace {

struct LibraryEntry {
  LibraryEntry() { Load(); }
  ~LibraryEntry() { Unload(); }
  LibraryEntry(const LibraryEntry&) = delete;
  LibraryEntry& operator=(const LibraryEntry&) = delete;
};

const LibraryEntry entry;

}  // namespace

}  // namespace gatehouse
