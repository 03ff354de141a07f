// The keys the program's rules act on, whatever the system calls them.
#pragma once

namespace platform {

enum class Key { Other, Tab, Left, Right, PageUp, PageDown, Space, Enter };

}  // namespace platform
