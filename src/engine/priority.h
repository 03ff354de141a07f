// Priority classes and the one operation that changes another process.
#pragma once

#include <cstdint>

#include "platform/ports.h"

namespace engine {

inline constexpr std::uint32_t kNormalPriority = 32;
inline constexpr std::uint32_t kHighPriority = 128;
inline constexpr std::uint32_t kRealtimePriority = 256;

// Puts the process given by id, else by window, else the program's own, into
// priorityClass and returns the class read back (0: not reachable). When the
// process may only be queried, its class is left alone and returned.
std::uint32_t SetWindowProcessPriority(platform::ProcessPriorities& processes,
                                       platform::ForegroundWindows& windows, std::uint32_t processId,
                                       platform::WindowHandle window, std::uint32_t priorityClass);

}  // namespace engine
