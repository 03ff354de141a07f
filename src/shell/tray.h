// The main window's hook: minimise means hide, and the tray icon's
// double click and right button.
#pragma once

#include <cstdint>

namespace shell {

inline constexpr std::uint32_t kTrayCallbackMessage = 2025;
inline constexpr std::uint32_t kWmCommand = 273;
inline constexpr std::uint32_t kWmSysCommand = 274;
inline constexpr std::uintptr_t kScMinimize = 61472;
inline constexpr std::uintptr_t kScRestore = 61728;
inline constexpr std::intptr_t kWmLButtonDblClk = 515;
inline constexpr std::intptr_t kWmRButtonDown = 516;

enum class HookAction {
  Pass,            // to the previous window procedure, unchanged
  PassThenHide,    // to the previous procedure, then hide the window
  ShowAndRestore,  // show, then SC_RESTORE; not passed on
  TrayMenu,        // foreground, then the pop-up menu; not passed on
};

// What the hook does with one message, tested in this order: a minimise
// (a system command whose upper twelve bits are SC_MINIMIZE, or the
// program's own request with exactly that value), a double click on the icon, the
// right button on the icon, anything else.
HookAction MainWindowHookAction(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);

}  // namespace shell
