#include <windows.h>

#include "plugin/Lifecycle.h"

// The library's entry: attaching it to the process runs Load, detaching it runs
// Unload. The runtime constructs the library's static objects before it calls
// this and destroys them after it returns from the detach. The plugin's
// process state is created by Load and ends with Unload.
BOOL WINAPI DllMain(HINSTANCE /*instance*/, DWORD reason, LPVOID /*reserved*/) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      gatehouse::Load();
      break;
    case DLL_PROCESS_DETACH:
      gatehouse::Unload();
      break;
    default:
      break;
  }
  return TRUE;
}
