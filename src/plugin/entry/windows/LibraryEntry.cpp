#include <windows.h>

#include "plugin/Lifecycle.h"

// The library's entry: attaching it to the process runs Load, and unloading it
// (FreeLibrary: the third argument is null) runs Unload. The runtime constructs
// the library's static objects before it calls this and destroys them after it
// returns from the detach. The plugin's state is created by Load and
// ends with Unload.
//
// A detach because the process is ending (the third argument is not null) comes
// when the host and the other libraries may already be gone, so the plugin calls
// none of them: Unload does not run, and the plugin's state, which holds the
// host's strings and log sinks, is left as it is. What the plugin owns beyond
// that is memory and handles, which the system takes back with the process.
BOOL WINAPI DllMain(HINSTANCE /*instance*/, DWORD reason, LPVOID reserved) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      gatehouse::Load();
      break;
    case DLL_PROCESS_DETACH:
      if (reserved == nullptr) {
        gatehouse::Unload();
      }
      break;
    default:
      break;
  }
  return TRUE;
}
