// The portable libraries cannot include windows.h, so they spell out the
// Win32 numbers they need. Here, where the real headers are at hand, every
// such copy is checked against the platform's own definition: a typo there
// would otherwise only show as a wrong priority or a message nobody answers.
// The tab control's copies are checked in tab_mirrored_numbers.cpp.
#include <windows.h>

#include "engine/priority.h"
#include "win32/tray_icon.h"

// Priority classes, which the records store.
static_assert(engine::kNormalPriority == NORMAL_PRIORITY_CLASS);
static_assert(engine::kHighPriority == HIGH_PRIORITY_CLASS);
static_assert(engine::kRealtimePriority == REALTIME_PRIORITY_CLASS);

// The tray icon's callback message is the program's own, above the system's.
static_assert(win32::kTrayCallbackMessage > WM_USER);
