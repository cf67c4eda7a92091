#pragma once

#include <windows.h>

namespace setup {

// Gives every dialog of the program a three-dimensional look by subclassing the dialogs and
// their controls as they are created. 1 when the look is active.
BOOL RegisterLook3d(HINSTANCE instance);
// Subclasses the controls of the calling thread's new dialogs as they are created. Flag 2
// turns that off for the thread; 0 when the look is off or no hook could be installed.
BOOL AutoSubclassLook3d(HINSTANCE instance, DWORD flags);
BOOL UnregisterLook3d(HINSTANCE instance);

}  // namespace setup
