// A plain main window with the controls the acceleration tick reads and
// writes. It stands in until the full main window with its pages exists.
#pragma once

#include <windows.h>

#include <memory>

namespace app {

// Creates and shows the window; false when it could not be created.
bool CreateInterimWindow(HINSTANCE instance, int showCommand);

}  // namespace app
