#include <windows.h>

#include "plugin/Lifecycle.h"

// The library's entry: attaching it to the process runs Load, detaching it runs
// Unload. The runtime constructs the library's static objects before it calls
// this and destroys them after it returns from the detach; the plugin's
// process-wide state lives in function-local statics, which Load creates.
BOOL WINAPI DllMain(HINSTANCE /*instance*/, DWORD reason, LPVOID /*reserved*/) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      Load();
      break;
    case DLL_PROCESS_DETACH:
      Unload();
      break;
    default:
      break;
  }
  return TRUE;
}
