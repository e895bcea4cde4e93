// Module-wide values shared by the whole plug-in: the DLL's instance handle,
// the property pages' activation context, and the counters that decide
// whether the DLL may be unloaded.
#pragma once

#include <windows.h>

namespace vornik {

extern HINSTANCE moduleInstance;   // set at process attach
extern HANDLE PageActCtx;          // INVALID_HANDLE_VALUE until the pages make one
extern volatile LONG liveObjects;  // UiPlugin objects alive
extern volatile LONG serverLocks;  // LockServer(TRUE) minus LockServer(FALSE)

// Process attach stores the instance; detach releases the pages' context.
void OnProcessAttach(HINSTANCE instance);
void OnProcessDetach();

}  // namespace vornik
