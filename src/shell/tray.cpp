#include "shell/tray.h"

namespace shell {

HookAction MainWindowHookAction(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  if ((message == kWmCommand || message == kWmSysCommand) && wParam == kScMinimize) {
    return HookAction::PassThenHide;
  }
  if (message == kTrayCallbackMessage && lParam == kWmLButtonDblClk) return HookAction::ShowAndRestore;
  if (message == kTrayCallbackMessage && lParam == kWmRButtonDown) return HookAction::TrayMenu;
  return HookAction::Pass;
}

}  // namespace shell
