// The window without a mouse: Tab and Shift+Tab walk the tab control, the
// controls of the page in sight and the two buttons; Ctrl+Tab and
// Ctrl+Page Down/Up switch pages from anywhere. The rest is the controls'
// own: Space toggles a check box, the arrows pick a list's item (with its
// change notice), Alt+Down opens the list, the arrows switch tabs.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "app/control_ids.h"
#include "app/form_main.h"
#include "quillmoor/pagetab/page_tab_window.h"

namespace app {

std::vector<HWND> FormMain::FocusOrder() const {
  std::vector<HWND> stops;
  if (!tabs_ || !hwnd_) return stops;
  stops.push_back(tabs_->hwnd());
  const int page = tabs_->Control().ActiveTab();
  for (const ControlRow& row : MainWindowControls()) {
    if (!(row.style & WS_TABSTOP)) continue;
    // Controls of the other pages are only moved out of sight: never visit them.
    if (row.page != kOnWindow && row.page != page) continue;
    HWND control = Control(row.id);
    if (control && IsWindowVisible(control) && IsWindowEnabled(control)) stops.push_back(control);
  }
  return stops;
}

void FormMain::MoveFocus(int step) {
  const std::vector<HWND> stops = FocusOrder();
  if (stops.empty()) return;
  const int count = static_cast<int>(stops.size());
  HWND focus = GetFocus();
  int at = -1;
  for (int i = 0; i < count; ++i) {
    if (stops[i] == focus || IsChild(stops[i], focus)) at = i;
  }
  const int next = at < 0 ? (step > 0 ? 0 : count - 1) : (at + step + count) % count;
  SetFocus(stops[next]);
  // A toolbar shows where it is by its hot button.
  if (stops[next] == Control(kToolbarSpeedMain) && SendMessageW(stops[next], TB_GETHOTITEM, 0, 0) < 0) {
    SendMessageW(stops[next], TB_SETHOTITEM, 0, 0);
  }
}

void FormMain::SwitchPage(bool forward) {
  // The tab control's own rule for Ctrl+Page Down/Up, whoever has the focus.
  try {
    tabs_->Input().KeyDown(forward ? VK_NEXT : VK_PRIOR, tabctl::kCtrlMask);
  } catch (const tabctl::ControlError&) {
    // No switch.
  }
}

bool FormMain::TranslateKeys(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || !hwnd_ || !tabs_) return false;
  if (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)) return false;
  const bool ctrl = GetKeyState(VK_CONTROL) < 0;
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  if (GetKeyState(VK_MENU) < 0) return false;
  switch (msg.wParam) {
    case VK_TAB:
      if (ctrl) {
        SwitchPage(!shift);
      } else {
        MoveFocus(shift ? -1 : 1);
      }
      return true;
    case VK_NEXT:
    case VK_PRIOR:
      // The tab control switches with these keys itself when it has the focus.
      if (!ctrl || msg.hwnd == tabs_->hwnd()) return false;
      SwitchPage(msg.wParam == VK_NEXT);
      return true;
    case VK_SPACE:
      return OpenFocusedLink();
    case VK_RETURN: {
      if (OpenFocusedLink()) return true;
      // Enter presses the focused push button (the toolbar takes it itself).
      HWND focus = GetFocus();
      if (focus == Control(kCommandMini) || focus == Control(kCommandExit)) {
        SendMessageW(focus, BM_CLICK, 0, 0);
        return true;
      }
      return false;
    }
    default:
      return false;
  }
}

}  // namespace app
