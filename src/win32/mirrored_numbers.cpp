// The portable libraries cannot include windows.h, so they spell out the
// Win32 numbers they need. Here, where the real headers are at hand, every
// such copy is checked against the platform's own definition: a typo there
// would otherwise only show as a wrong priority or a message nobody answers.
#include <windows.h>

#include "engine/priority.h"
#include "engine/raised_process.h"
#include "shell/tray.h"
#include "tabctl/colors.h"
#include "tabctl/input.h"

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

// Virtual keys the tab switching rules know.
static_assert(tabctl::kKeyPageUp == VK_PRIOR);
static_assert(tabctl::kKeyPageDown == VK_NEXT);
static_assert(tabctl::kKeyLeft == VK_LEFT);
static_assert(tabctl::kKeyRight == VK_RIGHT);

// System colour indexes behind the control's "system colour" values.
static_assert(tabctl::kColorInactiveCaption == COLOR_INACTIVECAPTION);
static_assert(tabctl::kColorButtonFace == COLOR_BTNFACE);
static_assert(tabctl::kColorButtonShadow == COLOR_BTNSHADOW);
static_assert(tabctl::kColorGrayText == COLOR_GRAYTEXT);
static_assert(tabctl::kColorButtonText == COLOR_BTNTEXT);
static_assert(tabctl::kColorButtonHighlight == COLOR_BTNHIGHLIGHT);
static_assert(tabctl::kColorDarkShadow3D == COLOR_3DDKSHADOW);
static_assert(tabctl::kColorLight3D == COLOR_3DLIGHT);
static_assert(tabctl::kLastSystemColor == COLOR_MENUBAR);
