// The window without a mouse: Tab and Shift+Tab walk the tab control, the
// controls of the page in sight and the two buttons; Ctrl+Tab and
// Ctrl+Page Down/Up switch pages from anywhere. The rest is the controls'
// own: Space toggles a check box, the arrows pick a list's item (with its
// change notice), Alt+Down opens the list, the arrows switch tabs. Every
// stop shows the focus while it has it: the history list and the toolbar
// get the marks their own drawing leaves out.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "app/control_ids.h"
#include "app/form_main.h"
#include "quillmoor/pagetab/page_tab_window.h"
#include "shell/window_rules.h"
#include "win32/gdi_objects.h"
#include "win32/keys.h"

namespace app {
namespace {

constexpr UINT_PTR kFocusSubclass = 2;

int RowCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

// Rows, but none of them focused (none was clicked or picked yet): the keys
// would act on row 0 without showing it. It gets the focus state, and is
// not selected by that.
void FocusFirstRow(HWND list) {
  if (RowCount(list) <= 0) return;
  if (SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED) >= 0) return;
  LVITEMW item{};
  item.stateMask = LVIS_FOCUSED;
  item.state = LVIS_FOCUSED;
  SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
}

// An empty list draws no focus at all: the mark goes round the area below
// its header, where the rows would be.
void DrawEmptyListFocus(HWND list) {
  RECT mark{};
  GetClientRect(list, &mark);
  HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  if (header && IsWindowVisible(header)) {
    RECT under{};
    GetWindowRect(header, &under);
    MapWindowPoints(nullptr, list, reinterpret_cast<POINT*>(&under), 2);
    mark.top = std::max(mark.top, under.bottom);
  }
  InflateRect(&mark, -1, -1);
  if (mark.right <= mark.left || mark.bottom <= mark.top) return;
  win32::UniqueWindowDc dc(list);
  DrawFocusRect(dc.get(), &mark);
}

LRESULT CALLBACK ListFocusProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                               DWORD_PTR) {
  switch (message) {
    case WM_NCDESTROY:
      RemoveWindowSubclass(list, &ListFocusProc, id);
      break;
    case WM_SETFOCUS:
      FocusFirstRow(list);
      if (RowCount(list) == 0) InvalidateRect(list, nullptr, TRUE);
      break;
    case WM_KILLFOCUS:
      if (RowCount(list) == 0) InvalidateRect(list, nullptr, TRUE);
      break;
    case WM_CONTEXTMENU:
      // The right button or the menu key: the main window has the row's
      // menu (the tab control between them keeps it to itself).
      return SendMessageW(GetAncestor(list, GA_ROOT), WM_CONTEXTMENU, wParam, lParam);
    case WM_PAINT: {
      const bool mark = wParam == 0 && GetFocus() == list && RowCount(list) == 0;
      // The mark is drawn inverting: all of the list is painted afresh under it.
      if (mark) InvalidateRect(list, nullptr, TRUE);
      const LRESULT result = DefSubclassProc(list, message, wParam, lParam);
      if (mark) DrawEmptyListFocus(list);
      return result;
    }
    case LVM_INSERTITEMW:
    case LVM_DELETEITEM:
    case LVM_DELETEALLITEMS: {
      // Rows that come or go under the focus: the empty list's mark goes or
      // comes, and the first row that came shows the focus.
      const bool wasEmpty = RowCount(list) == 0;
      const LRESULT result = DefSubclassProc(list, message, wParam, lParam);
      if (GetFocus() == list && wasEmpty != (RowCount(list) == 0)) {
        InvalidateRect(list, nullptr, TRUE);
        FocusFirstRow(list);
      }
      return result;
    }
    default:
      break;
  }
  return DefSubclassProc(list, message, wParam, lParam);
}

// A toolbar shows that it has the focus by its hot button, and only while
// it has it: otherwise two controls would look focused at once.
LRESULT CALLBACK ToolbarFocusProc(HWND toolbar, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                  DWORD_PTR) {
  if (message == WM_NCDESTROY) RemoveWindowSubclass(toolbar, &ToolbarFocusProc, id);
  const LRESULT result = DefSubclassProc(toolbar, message, wParam, lParam);
  if (message == WM_SETFOCUS && SendMessageW(toolbar, TB_GETHOTITEM, 0, 0) < 0) {
    SendMessageW(toolbar, TB_SETHOTITEM, 0, 0);
  } else if (message == WM_KILLFOCUS) {
    SendMessageW(toolbar, TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);
  }
  return result;
}

}  // namespace

void FormMain::KeepFocusInSight() {
  if (HWND list = Control(kListViewHistory)) SetWindowSubclass(list, &ListFocusProc, kFocusSubclass, 0);
  if (HWND toolbar = Control(kToolbarSpeedMain)) {
    SetWindowSubclass(toolbar, &ToolbarFocusProc, kFocusSubclass, 0);
  }
}

std::vector<HWND> FormMain::FocusOrder() const {
  std::vector<HWND> stops;
  if (!tabs_ || !hwnd_) return stops;
  stops.push_back(tabs_->hwnd());
  std::vector<shell::FocusCandidate> candidates;
  std::vector<HWND> controls;
  for (const ControlRow& row : MainWindowControls()) {
    HWND control = Control(row.id);
    controls.push_back(control);
    candidates.push_back({row.page == kOnWindow ? shell::kEveryPage : row.page, (row.style & WS_TABSTOP) != 0,
                          control && IsWindowVisible(control) && IsWindowEnabled(control)});
  }
  for (std::size_t i : shell::FocusStops(candidates, tabs_->Control().ActiveTab()))
    stops.push_back(controls[i]);
  return stops;
}

void FormMain::MoveFocus(int step) {
  const std::vector<HWND> stops = FocusOrder();
  const int count = static_cast<int>(stops.size());
  HWND focus = GetFocus();
  int at = -1;
  for (int i = 0; i < count; ++i) {
    if (stops[i] == focus || IsChild(stops[i], focus)) at = i;
  }
  const int next = shell::NextFocusStop(count, at, step);
  if (next >= 0) SetFocus(stops[static_cast<std::size_t>(next)]);
}

void FormMain::SwitchPage(bool forward) {
  // The tab control's own rule for Ctrl+Page Down/Up, whoever has the focus.
  try {
    tabs_->KeyDown(forward ? VK_NEXT : VK_PRIOR, tabctl::kCtrlMask);
  } catch (const tabctl::ControlError&) {
    // No switch.
  }
}

bool FormMain::TranslateKeys(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || !hwnd_ || !tabs_) return false;
  if (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)) return false;
  const shell::KeyState state{GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0,
                              GetKeyState(VK_MENU) < 0, msg.hwnd == tabs_->hwnd()};
  switch (shell::KeyboardCommand(win32::KeyOf(msg.wParam), state)) {
    case shell::KeyCommand::NextStop:
      MoveFocus(1);
      return true;
    case shell::KeyCommand::PreviousStop:
      MoveFocus(-1);
      return true;
    case shell::KeyCommand::NextPage:
      SwitchPage(true);
      return true;
    case shell::KeyCommand::PreviousPage:
      SwitchPage(false);
      return true;
    case shell::KeyCommand::OpenLink:
      return OpenFocusedLink();
    case shell::KeyCommand::OpenOrPress: {
      if (OpenFocusedLink()) return true;
      // Enter presses the focused push button (the toolbar takes it itself).
      HWND focus = GetFocus();
      if (focus == Control(kCommandMini) || focus == Control(kCommandExit)) {
        SendMessageW(focus, BM_CLICK, 0, 0);
        return true;
      }
      return false;
    }
    case shell::KeyCommand::None:
      break;
  }
  return false;
}

}  // namespace app
