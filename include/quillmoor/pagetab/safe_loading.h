// Loading system libraries safely, as the control itself does: call
// win32::RestrictLibrarySearch() first in WinMain, before anything loads a
// library, so that the delay-loaded comctl32 (and whatever system code loads
// by bare name) comes from the system folder, never from a folder the
// program was started from, such as Downloads. win32::LoadSystemLibrary and
// win32::LazyProc load from the system folder only. Includes <windows.h>.
#pragma once

#include "win32/lazy_library.h"
