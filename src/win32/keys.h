// A virtual-key code as the portable rules know it: the one translation.
#pragma once

#include <windows.h>

#include "platform/keys.h"

namespace win32 {

inline platform::Key KeyOf(WPARAM virtualKey) {
  struct Pair {
    WPARAM virtualKey;
    platform::Key key;
  };
  static constexpr Pair kKeys[] = {
      {VK_TAB, platform::Key::Tab},      {VK_LEFT, platform::Key::Left},     {VK_RIGHT, platform::Key::Right},
      {VK_PRIOR, platform::Key::PageUp}, {VK_NEXT, platform::Key::PageDown}, {VK_SPACE, platform::Key::Space},
      {VK_RETURN, platform::Key::Enter},
  };
  for (const Pair& pair : kKeys) {
    if (pair.virtualKey == virtualKey) return pair.key;
  }
  return platform::Key::Other;
}

}  // namespace win32
