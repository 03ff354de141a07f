// The portable libraries cannot include windows.h, so they spell out the
// Win32 numbers they need. Here, where the real headers are at hand, every
// such copy is checked against the platform's own definition: a typo there
// would otherwise only show as a wrong priority or a message nobody answers.
// The tab control's copies are checked in tab_mirrored_numbers.cpp.
#include <windows.h>

#include "engine/priority.h"
#include "engine/raised_process.h"
#include "shell/tray.h"

// Priority classes and process rights.
static_assert(engine::kNormalPriority == NORMAL_PRIORITY_CLASS);
static_assert(engine::kHighPriority == HIGH_PRIORITY_CLASS);
static_assert(engine::kRealtimePriority == REALTIME_PRIORITY_CLASS);
static_assert(engine::kProcessSetInformation == PROCESS_SET_INFORMATION);
static_assert(engine::kProcessQueryInformation == PROCESS_QUERY_INFORMATION);
static_assert(engine::kProcessQueryLimitedInformation == PROCESS_QUERY_LIMITED_INFORMATION);

// Messages and commands the tray rules decide on.
static_assert(shell::kWmCommand == WM_COMMAND);
static_assert(shell::kWmSysCommand == WM_SYSCOMMAND);
static_assert(shell::kScMinimize == SC_MINIMIZE);
static_assert(shell::kScRestore == SC_RESTORE);
static_assert(shell::kWmLButtonDblClk == WM_LBUTTONDBLCLK);
static_assert(shell::kWmRButtonDown == WM_RBUTTONDOWN);
static_assert(shell::kTrayCallbackMessage > WM_USER);
