// The dialog that lists the processes never to raise: the built-in rules
// and the user's, each with where it comes from and whether it is in force.
#pragma once

#include <windows.h>

#include "settings/module_config.h"

namespace app {

// Modal over `owner`; each change is written to config.ini at once. True
// when something was changed.
bool ShowNeverListDialog(HINSTANCE instance, HWND owner, const settings::ModuleConfig& config);

}  // namespace app
