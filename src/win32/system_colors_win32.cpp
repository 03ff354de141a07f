#include "win32/system_colors_win32.h"

#include <windows.h>

namespace win32 {

std::uint32_t SystemColorsWin32::SysColor(int index) {
  return static_cast<std::uint32_t>(GetSysColor(index));
}

}  // namespace win32
