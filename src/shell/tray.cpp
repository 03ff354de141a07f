#include "shell/tray.h"

namespace shell {

HookAction MainWindowHookAction(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  // The system keeps its own bits in the low four of a system command.
  if ((message == kWmCommand && wParam == kScMinimize) ||
      (message == kWmSysCommand && (wParam & 0xFFF0) == kScMinimize)) {
    return HookAction::PassThenHide;
  }
  if (message == kTrayCallbackMessage && lParam == kWmLButtonDblClk) return HookAction::ShowAndRestore;
  if (message == kTrayCallbackMessage && lParam == kWmRButtonDown) return HookAction::TrayMenu;
  return HookAction::Pass;
}

}  // namespace shell
