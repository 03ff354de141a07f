#include "win32/tab_control_window.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <utility>

#include "platform/error_boundary.h"
#include "tabctl/tab_painter.h"
#include "win32/keys.h"
#include "win32/lazy_library.h"
#include "win32/tab_accessible.h"
#include "win32/text.h"
#include "win32/window_binding.h"

namespace win32 {
namespace {

constexpr wchar_t kClassName[] = L"QuillmoorTabControl";
constexpr UINT_PTR kHoverTimerId = 0;
constexpr UINT kHoverTimerMs = 10;

std::vector<TabControlWindow*>& Instances() {
  static std::vector<TabControlWindow*> instances;
  return instances;
}

std::int16_t ModifierState() {
  std::int16_t shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= tabctl::kShiftMask;
  if (GetKeyState(VK_CONTROL) < 0) shift |= tabctl::kCtrlMask;
  if (GetKeyState(VK_MENU) < 0) shift |= tabctl::kAltMask;
  return shift;
}

std::int16_t ButtonsOf(WPARAM wParam) {
  std::int16_t buttons = 0;
  if (wParam & MK_LBUTTON) buttons |= tabctl::kLeftButton;
  if (wParam & MK_RBUTTON) buttons |= tabctl::kRightButton;
  if (wParam & MK_MBUTTON) buttons |= tabctl::kMiddleButton;
  return buttons;
}

std::int16_t ModifiersOf(WPARAM wParam) {
  std::int16_t shift = 0;
  if (wParam & MK_SHIFT) shift |= tabctl::kShiftMask;
  if (wParam & MK_CONTROL) shift |= tabctl::kCtrlMask;
  if (GetKeyState(VK_MENU) < 0) shift |= tabctl::kAltMask;
  return shift;
}

float XOf(LPARAM lParam) { return static_cast<float>(GET_X_LPARAM(lParam)); }
float YOf(LPARAM lParam) { return static_cast<float>(GET_Y_LPARAM(lParam)); }

tabctl::TabFont FontFromHandle(HFONT font, int dpi) {
  tabctl::TabFont result;
  LOGFONTW lf{};
  if (font == nullptr || GetObjectW(font, sizeof lf, &lf) == 0) return result;
  result.name = Narrow(lf.lfFaceName);
  if (lf.lfHeight != 0) result.size = std::abs(lf.lfHeight) * 72.0 / dpi;
  result.bold = lf.lfWeight >= FW_BOLD;
  result.italic = lf.lfItalic != 0;
  result.underline = lf.lfUnderline != 0;
  result.strikethrough = lf.lfStrikeOut != 0;
  result.charset = lf.lfCharSet;
  return result;
}

}  // namespace

TabControlWindow::TabControlWindow()
    : canvas_(1, 1),
      painter_(tabctl::MakeTabPainter(canvas_)),
      control_(*this, system_),
      input_(control_, *this),
      hooks_([this](HWND w, UINT m, WPARAM wp, LPARAM lp) { OnHooked(w, m, wp, lp); }) {
  control_.SetRenderer(painter_.get());
}

std::unique_ptr<TabControlWindow> TabControlWindow::Create(HWND parent, int controlId, int x, int y,
                                                           int width, int height) {
  static const bool classReady = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;  // double clicks raise DblClick
    wc.lpfnWndProc = &TabControlWindow::WindowProcedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  if (!classReady || parent == nullptr) return nullptr;

  std::unique_ptr<TabControlWindow> self(new TabControlWindow());
  const HWND window = CreateWindowExW(
      WS_EX_CONTROLPARENT, kClassName, L"",
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, x, y, width, height, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), GetModuleHandleW(nullptr), self.get());
  if (window == nullptr) return nullptr;
  self->Initialise();
  return self;
}

void TabControlWindow::Initialise() {
  host_ = GetParent(hwnd_);
  if (HDC screen = GetDC(nullptr)) {
    dpi_ = std::max(1, GetDeviceCaps(screen, LOGPIXELSX));
    ReleaseDC(nullptr, screen);
  }
  canvas_.Resize(ClientWidth(), ClientHeight());
  platform::SkipFailure("tab control: InitProperties", [&] {
    control_.InitProperties();
    // Created by the program, the control is at run time from the start.
    InstallHooks();
  });
  accessibleState_ = tabctl::SnapshotOf(control_);
  Instances().push_back(this);
  // The first repaint (and AfterCompleteInit) waits for the first WM_PAINT,
  // so that the holder can set its event sink first.
}

TabControlWindow::~TabControlWindow() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
  TearDown();
  std::erase(Instances(), this);
}

void TabControlWindow::TearDown() {
  if (terminated_) return;
  terminated_ = true;
  std::erase(Instances(), this);
  control_.SetEventSink(nullptr);
  if (hwnd_ != nullptr) KillTimer(hwnd_, kHoverTimerId);
  platform::SkipFailure("tab control: Terminate", [&] { control_.Terminate(); });
  hooks_.RemoveAll();
  // A screen reader may hold the object longer than the window lives.
  if (accessible_) {
    accessible_->Disconnect();
    accessible_.reset();
  }
}

bool TabControlWindow::AnswerGetObject(WPARAM wParam, LRESULT& result) {
  if (terminated_ || hwnd_ == nullptr) return false;
  const AccessibilityLibrary* library = AccessibilityLibrary::Get();
  if (library == nullptr) return false;
  // Calls from other processes must arrive through this thread's message
  // loop, where the model lives, not on a COM worker thread: the thread
  // becomes a single-threaded apartment before the object first leaves it.
  // A thread in the multithreaded apartment already cannot change: calls
  // from other threads are then refused (TabAccessible::Ready).
  JoinComApartment();
  if (!accessible_) accessible_.reset(new TabAccessible(*this, *library));
  result = library->lresultFromObject(__uuidof(IAccessible), wParam, accessible_.get());
  return true;
}

void TabControlWindow::RaiseAccessibleChanges() {
  if (terminated_ || hwnd_ == nullptr) return;
  // The WinEvent of each kind of change, in the order of AccessibleEventKind.
  static constexpr DWORD kWinEvents[] = {
      EVENT_OBJECT_CREATE,
      EVENT_OBJECT_DESTROY,
      EVENT_OBJECT_REORDER,
      EVENT_OBJECT_NAMECHANGE,
      EVENT_OBJECT_ACCELERATORCHANGE,
      EVENT_OBJECT_STATECHANGE,
      EVENT_OBJECT_SELECTION,
      EVENT_OBJECT_FOCUS,
  };
  static_assert(std::size(kWinEvents) == static_cast<std::size_t>(tabctl::AccessibleEventKind::Focus) + 1);
  tabctl::AccessibleSnapshot now = tabctl::SnapshotOf(control_);
  const auto changes = tabctl::AccessibleChanges(accessibleState_, now);
  accessibleState_ = std::move(now);
  for (const tabctl::AccessibleEvent& change : changes) {
    NotifyWinEvent(kWinEvents[static_cast<std::size_t>(change.kind)], hwnd_, OBJID_CLIENT, change.child);
  }
}

LRESULT CALLBACK TabControlWindow::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  TabControlWindow* self = BoundWindowOwner(window, message, lParam, &TabControlWindow::hwnd_);
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  return self->hooks_.Around(window, message, wParam, lParam, [&] {
    // A hook that ran first may have ended the window: then it is no
    // longer the control's.
    TabControlWindow* still = BoundWindowOwner(window, message, lParam, &TabControlWindow::hwnd_);
    return still != nullptr ? still->HandleMessage(message, wParam, lParam)
                            : DefWindowProcW(window, message, wParam, lParam);
  });
}

void TabControlWindow::KeyDown(WPARAM virtualKey, std::int16_t shift) {
  input_.KeyDown(KeyOf(virtualKey), static_cast<std::int16_t>(virtualKey), shift);
}

// Each group of messages has its handler; one that does not answer a
// message leaves it to the next and, at the end, to DefWindowProc.
LRESULT TabControlWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  using Handler = std::optional<LRESULT> (TabControlWindow::*)(UINT, WPARAM, LPARAM);
  static constexpr Handler kHandlers[] = {
      &TabControlWindow::OnHolderMessage, &TabControlWindow::OnDrawingMessage,
      &TabControlWindow::OnStateMessage, &TabControlWindow::OnKeyMessage, &TabControlWindow::OnMouseMessage};
  for (const Handler handler : kHandlers) {
    if (const std::optional<LRESULT> result = (this->*handler)(message, wParam, lParam)) return *result;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

std::optional<LRESULT> TabControlWindow::OnHolderMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    // The controls on the pages belong to the window that holds the tab
    // control: their notices and colour requests go on to it.
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
      if (HWND holder = GetParent(hwnd_)) return SendMessageW(holder, message, wParam, lParam);
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

std::optional<LRESULT> TabControlWindow::OnDrawingMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      canvas_.Resize(LOWORD(lParam), HIWORD(lParam));
      if (control_.Initialised()) platform::SkipFailure("tab control: Refresh", [&] { control_.Refresh(); });
      return 0;
    case WM_PAINT: {
      if (!control_.Initialised()) platform::SkipFailure("tab control: Refresh", [&] { control_.Refresh(); });
      if (const PaintDc dc(hwnd_); dc) canvas_.BlitTo(dc.get(), 0, 0);
      return 0;
    }
    case WM_ERASEBKGND:
      // The image covers the whole client area. Transparent children (a
      // flat toolbar) ask for the background under them this way too.
      canvas_.BlitTo(reinterpret_cast<HDC>(wParam), 0, 0);
      return 1;
    case WM_PRINTCLIENT:
      canvas_.BlitTo(reinterpret_cast<HDC>(wParam), 0, 0);
      return 0;
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wParam);
      platform::SkipFailure("tab control: SetFont", [&] {
        control_.SetFont(FontFromHandle(font_, dpi_));
        if (LOWORD(lParam)) control_.Refresh();
      });
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    default:
      return std::nullopt;
  }
}

std::optional<LRESULT> TabControlWindow::OnStateMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ENABLE:
      // Enabled or disabled from outside: the property follows the window.
      platform::SkipFailure("tab control: SetEnabled", [&] {
        if (control_.Enabled() != (wParam != 0)) control_.SetEnabled(wParam != 0);
      });
      return 0;
    case WM_SHOWWINDOW:
      if (wParam) platform::SkipFailure("tab control: Shown", [&] { input_.Shown(); });
      return std::nullopt;
    case WM_SETFOCUS:
      platform::SkipFailure("tab control: GotFocus", [&] { input_.GotFocus(); });
      RaiseAccessibleChanges();
      return 0;
    case WM_KILLFOCUS:
      platform::SkipFailure("tab control: LostFocus", [&] { input_.LostFocus(); });
      RaiseAccessibleChanges();
      return 0;
    case WM_GETOBJECT:
      // Only the client area is ours; the frame and the rest stay standard.
      if (static_cast<LONG>(static_cast<DWORD>(lParam)) == OBJID_CLIENT) {
        LRESULT result = 0;
        if (AnswerGetObject(wParam, result)) return result;
      }
      return std::nullopt;
    case WM_TIMER:
      // The hook runs the hover poll after this procedure; without hooks
      // (no mouse tracking) the poll still has to end the highlight.
      if (wParam != kHoverTimerId) return std::nullopt;
      if (!HooksInstalled()) platform::SkipFailure("tab control: TimerEvent", [&] { input_.TimerEvent(); });
      return 0;
    case WM_DESTROY:
      TearDown();
      return 0;
    default:
      return std::nullopt;
  }
}

std::optional<LRESULT> TabControlWindow::OnKeyMessage(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_KEYDOWN:
      platform::SkipFailure("tab control: KeyDown", [&] { KeyDown(wParam, ModifierState()); });
      return 0;
    case WM_KEYUP:
      platform::SkipFailure("tab control: KeyUp",
                            [&] { input_.KeyUp(static_cast<std::int16_t>(wParam), ModifierState()); });
      return 0;
    case WM_CHAR:
      platform::SkipFailure("tab control: KeyPress",
                            [&] { input_.KeyPress(static_cast<std::int16_t>(wParam)); });
      return 0;
    default:
      return std::nullopt;
  }
}

std::optional<LRESULT> TabControlWindow::OnMouseMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // Which button each button message is about, and whether it is the second
  // press of a double click (only the left button's counts as one).
  struct ButtonMessage {
    UINT message;
    std::int16_t button;
    bool down;
    bool doubleClick;
  };
  static constexpr ButtonMessage kButtons[] = {
      {WM_LBUTTONDOWN, tabctl::kLeftButton, true, false},
      {WM_LBUTTONDBLCLK, tabctl::kLeftButton, true, true},
      {WM_RBUTTONDOWN, tabctl::kRightButton, true, false},
      {WM_RBUTTONDBLCLK, tabctl::kRightButton, true, false},
      {WM_MBUTTONDOWN, tabctl::kMiddleButton, true, false},
      {WM_MBUTTONDBLCLK, tabctl::kMiddleButton, true, false},
      {WM_LBUTTONUP, tabctl::kLeftButton, false, false},
      {WM_RBUTTONUP, tabctl::kRightButton, false, false},
      {WM_MBUTTONUP, tabctl::kMiddleButton, false, false},
  };
  for (const ButtonMessage& b : kButtons) {
    if (b.message != message) continue;
    if (b.down) {
      OnButtonDown(b.button, wParam, lParam, b.doubleClick);
    } else {
      OnButtonUp(b.button, wParam, lParam);
    }
    return 0;
  }
  switch (message) {
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != hwnd_) buttonsDown_ = 0;
      return 0;
    case WM_MOUSEMOVE:
      platform::SkipFailure("tab control: MouseMove", [&] {
        input_.MouseMove(ButtonsOf(wParam), ModifiersOf(wParam), XOf(lParam), YOf(lParam));
      });
      return 0;
    case WM_MOUSEWHEEL:
      // Handled by the hook; not passed on to the parent as well.
      if (HooksInstalled()) return 0;
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

// The second press of a double click raises DblClick instead of MouseDown,
// and its release MouseUp without Click: MouseDown, MouseUp, Click,
// DblClick, MouseUp, as the base control raises them.
void TabControlWindow::OnButtonDown(std::int16_t button, WPARAM wParam, LPARAM lParam, bool doubleClick) {
  if (GetFocus() != hwnd_) SetFocus(hwnd_);
  if (buttonsDown_ == 0) SetCapture(hwnd_);
  buttonsDown_ |= button;
  if (button == tabctl::kLeftButton) doubleClicked_ = doubleClick;
  if (doubleClick) {
    platform::SkipFailure("tab control: DblClick", [&] { input_.DblClick(); });
  } else {
    platform::SkipFailure("tab control: MouseDown",
                          [&] { input_.MouseDown(button, ModifiersOf(wParam), XOf(lParam), YOf(lParam)); });
  }
}

void TabControlWindow::OnButtonUp(std::int16_t button, WPARAM wParam, LPARAM lParam) {
  const bool pressedHere = (buttonsDown_ & button) != 0;
  const bool secondOfDouble = button == tabctl::kLeftButton && std::exchange(doubleClicked_, false);
  buttonsDown_ &= static_cast<std::int16_t>(~button);
  if (buttonsDown_ == 0 && GetCapture() == hwnd_) ReleaseCapture();
  platform::SkipFailure("tab control: MouseUp",
                        [&] { input_.MouseUp(button, ModifiersOf(wParam), XOf(lParam), YOf(lParam)); });
  if (pressedHere && button == tabctl::kLeftButton && !secondOfDouble)
    platform::SkipFailure("tab control: Click", [&] { input_.Click(); });
}

void TabControlWindow::OnHooked(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  platform::SkipFailure("tab control: hooked message", [&] {
    if (window == hwnd_) {
      switch (message) {
        case WM_MOUSEMOVE:
          input_.HookedMouseMove(XOf(lParam), YOf(lParam));
          break;
        case WM_MOUSELEAVE:
          input_.HookedMouseLeave();
          break;
        case WM_MOUSEWHEEL:
          input_.HookedMouseWheel(static_cast<std::int16_t>(GET_WHEEL_DELTA_WPARAM(wParam)));
          break;
        case WM_LBUTTONDOWN:
          input_.HookedLeftButtonDown(XOf(lParam), YOf(lParam));
          break;
        case WM_LBUTTONUP:
          input_.HookedLeftButtonUp(XOf(lParam), YOf(lParam));
          break;
        case WM_TIMER:
          if (wParam == kHoverTimerId) input_.TimerEvent();
          break;
        default:
          break;
      }
      return;
    }
    switch (message) {
      case WM_ACTIVATE:
        input_.HostActivated();
        break;
      case WM_SYSCOLORCHANGE:
      case WM_THEMECHANGED:
        input_.HostColorsChanged();
        break;
      case WM_SIZING:
        input_.HostSizing();
        break;
      case WM_MOVING:
        input_.HostMoving();
        break;
      case WM_EXITSIZEMOVE:
        input_.HostExitSizeMove();
        break;
      default:
        break;
    }
  });
}

// ---- pages ----

void TabControlWindow::AddPageControl(HWND child, int page, int x, int y, int width, int height) {
  platform::SkipFailure("tab control: AddControl", [&] {
    control_.AddControl(0, reinterpret_cast<platform::WindowHandle>(child), tabctl::TwipsFromPixels(x, dpi_),
                        tabctl::TwipsFromPixels(y, dpi_), tabctl::TwipsFromPixels(width, dpi_),
                        tabctl::TwipsFromPixels(height, dpi_), page);
  });
}

HWND TabControlWindow::ChildAt(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= children_.size()) {
    throw std::out_of_range("no such contained control");
  }
  const HWND child = children_[static_cast<std::size_t>(index)];
  if (!IsWindow(child) || GetParent(child) != hwnd_) {
    throw std::runtime_error("contained control is gone");
  }
  return child;
}

RECT TabControlWindow::ChildRect(HWND child) const {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

int TabControlWindow::ContainedControlCount() {
  children_.clear();
  if (hwnd_ == nullptr) return 0;
  for (HWND c = GetWindow(hwnd_, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
    children_.push_back(c);
  }
  std::erase_if(lefts_, [&](const auto& entry) {
    return std::find(children_.begin(), children_.end(), entry.first) == children_.end();
  });
  return static_cast<int>(children_.size());
}

std::int32_t TabControlWindow::ContainedControlLeft(int index) {
  const HWND child = ChildAt(index);
  const LONG pixels = ChildRect(child).left;
  // The twips last set stand while the window is still where they put it;
  // a child the holder moved itself is measured again.
  const auto known = lefts_.find(child);
  if (known != lefts_.end() && tabctl::PixelsFromTwips(known->second, dpi_) == pixels) {
    return known->second;
  }
  return tabctl::TwipsFromPixels(pixels, dpi_);
}

void TabControlWindow::SetContainedControlLeft(int index, std::int32_t left) {
  const HWND child = ChildAt(index);
  const RECT r = ChildRect(child);
  if (!SetWindowPos(child, nullptr, tabctl::PixelsFromTwips(left, dpi_), r.top, 0, 0,
                    SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE)) {
    throw std::runtime_error("contained control cannot move");
  }
  lefts_[child] = left;
}

void TabControlWindow::PlaceControl(tabctl::ControlHandle control, platform::WindowHandle window,
                                    const tabctl::ControlPlacement& placement) {
  // Control objects are windows here as well.
  const HWND child = reinterpret_cast<HWND>(window != 0 ? window : control);
  if (child == nullptr || !IsWindow(child) || hwnd_ == nullptr) {
    throw std::runtime_error("no window to place");
  }
  if (GetParent(child) != hwnd_) {
    const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
    SetWindowLongPtrW(child, GWL_STYLE, (style & ~static_cast<LONG_PTR>(WS_POPUP)) | WS_CHILD);
    SetParent(child, hwnd_);
  }
  const RECT r = ChildRect(child);
  auto pixels = [&](const std::optional<std::int32_t>& twips, LONG current) {
    return twips ? tabctl::PixelsFromTwips(*twips, dpi_) : static_cast<int>(current);
  };
  const int left = pixels(placement.left, r.left);
  const int top = pixels(placement.top, r.top);
  const int width = pixels(placement.width, r.right - r.left);
  const int height = pixels(placement.height, r.bottom - r.top);
  // A control made where it goes and shown is not moved again: a window
  // placed costs messages and a trip to the window server even where it
  // stays put.
  const bool placed = left == r.left && top == r.top && width == r.right - r.left &&
                      height == r.bottom - r.top && (GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE) != 0;
  if (!placed) {
    SetWindowPos(child, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  }
  if (placement.left) lefts_[child] = *placement.left;
}

std::int32_t TabControlWindow::ControlWidth() {
  RECT r{};
  if (hwnd_ != nullptr) GetWindowRect(hwnd_, &r);
  return tabctl::TwipsFromPixels(r.right - r.left, dpi_);
}

// ---- window services ----

void TabControlWindow::SetWindowEnabled(bool enabled) {
  if (hwnd_ != nullptr) EnableWindow(hwnd_, enabled ? TRUE : FALSE);
}

void TabControlWindow::LockDrawing() {
  // One window in the system can be locked; if another one is, drawing
  // simply goes on, and the unlock must not free that other window.
  locked_ = hwnd_ != nullptr && LockWindowUpdate(hwnd_) != 0;
}

void TabControlWindow::UnlockDrawing() {
  if (locked_) {
    locked_ = false;
    LockWindowUpdate(nullptr);
  }
}

void TabControlWindow::RepaintWindow() {
  if (hwnd_ != nullptr) InvalidateRect(hwnd_, nullptr, FALSE);
}

tabctl::TabFont TabControlWindow::AmbientFont() {
  HFONT font = font_;
  if (font == nullptr && host_ != nullptr) {
    font = reinterpret_cast<HFONT>(SendMessageW(host_, WM_GETFONT, 0, 0));
  }
  if (font == nullptr) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  return FontFromHandle(font, dpi_);
}

tabctl::Color TabControlWindow::AmbientBackColor() {
  if (host_ == nullptr) return tabctl::kSysButtonFace;
  const ULONG_PTR brush = GetClassLongPtrW(host_, GCLP_HBRBACKGROUND);
  // A class brush given as a system colour index + 1 is that system colour.
  if (brush > 0 && brush <= static_cast<ULONG_PTR>(tabctl::kLastSystemColor) + 1)
    return tabctl::SystemColor(static_cast<int>(brush - 1));
  // So is one of the system's own colour brushes: read as its colour of the
  // moment, it would stay so when the user picks other colours.
  for (int index = 0; index <= tabctl::kLastSystemColor; ++index) {
    if (reinterpret_cast<ULONG_PTR>(GetSysColorBrush(index)) == brush) return tabctl::SystemColor(index);
  }
  LOGBRUSH lb{};
  if (brush != 0 && GetObjectW(reinterpret_cast<HBRUSH>(brush), sizeof lb, &lb) != 0 &&
      lb.lbStyle == BS_SOLID) {
    return lb.lbColor & 0x00FFFFFF;
  }
  return tabctl::kSysButtonFace;
}

platform::WindowHandle TabControlWindow::WindowHandle() {
  return reinterpret_cast<platform::WindowHandle>(hwnd_);
}

std::int32_t TabControlWindow::ClientWidth() {
  RECT r{};
  if (hwnd_ != nullptr) GetClientRect(hwnd_, &r);
  return r.right;
}

std::int32_t TabControlWindow::ClientHeight() {
  RECT r{};
  if (hwnd_ != nullptr) GetClientRect(hwnd_, &r);
  return r.bottom;
}

// ---- hooks and tracking ----

void TabControlWindow::InstallHooks() {
  if (HooksInstalled() || hwnd_ == nullptr) return;
  tabctl::TrackingState& tracking = control_.Tracking();
  // Mouse tracking decides whether there are hooks at all: user32's own
  // TrackMouseEvent, else the common controls' _TrackMouseEvent.
  trackingModule_.reset(LoadSystemLibrary(L"user32.dll"));
  trackMouseEvent_ = trackingModule_ ? reinterpret_cast<TrackMouseEventFn>(reinterpret_cast<void*>(
                                           GetProcAddress(trackingModule_.get(), "TrackMouseEvent")))
                                     : nullptr;
  tracking.throughCommonControls = false;
  if (trackMouseEvent_ == nullptr) {
    trackingModule_.reset(LoadSystemLibrary(L"comctl32.dll"));
    trackMouseEvent_ = trackingModule_ ? reinterpret_cast<TrackMouseEventFn>(reinterpret_cast<void*>(
                                             GetProcAddress(trackingModule_.get(), "_TrackMouseEvent")))
                                       : nullptr;
    tracking.throughCommonControls = trackMouseEvent_ != nullptr;
  }
  tracking.available = trackMouseEvent_ != nullptr;
  if (!tracking.available) {
    trackingModule_.reset();
    return;
  }
  using HT = HookTiming;
  // The control's own window is hooked in its own procedure.
  hooks_.HookOwn(hwnd_, {{WM_MOUSEMOVE, HT::kBefore},
                         {WM_MOUSELEAVE, HT::kBefore},
                         {WM_MOUSEWHEEL, HT::kBefore},
                         {WM_LBUTTONDOWN, HT::kBefore},
                         {WM_LBUTTONUP, HT::kBefore},
                         {WM_TIMER, HT::kAfter}});
  if (host_ != nullptr) {
    hooks_.Hook(host_, {{WM_ACTIVATE, HT::kBefore},
                        {WM_MOVING, HT::kBefore},
                        {WM_SIZING, HT::kBefore},
                        {WM_EXITSIZEMOVE, HT::kBefore},
                        {WM_SYSCOLORCHANGE, HT::kBefore},
                        {WM_THEMECHANGED, HT::kBefore}});
  }
}

void TabControlWindow::RemoveHooks() { hooks_.RemoveAll(); }

bool TabControlWindow::HostHooked() const { return host_ != nullptr && hooks_.Hooked(host_); }

void TabControlWindow::StartHoverTimer() {
  if (hwnd_ != nullptr) SetTimer(hwnd_, kHoverTimerId, kHoverTimerMs, nullptr);
}

void TabControlWindow::StopHoverTimer() {
  if (hwnd_ != nullptr) KillTimer(hwnd_, kHoverTimerId);
}

void TabControlWindow::RequestLeaveNotice() {
  if (trackMouseEvent_ == nullptr || hwnd_ == nullptr) return;
  TRACKMOUSEEVENT tme{};
  tme.cbSize = sizeof tme;
  tme.dwFlags = TME_LEAVE;
  tme.hwndTrack = hwnd_;
  trackMouseEvent_(&tme);
}

tabctl::PixelPoint TabControlWindow::CursorPosition() {
  POINT p{};
  GetCursorPos(&p);
  if (hwnd_ != nullptr) ScreenToClient(hwnd_, &p);
  return {p.x, p.y};
}

// ---- access keys ----

bool TabControlWindow::RouteAccessKey(const MSG& msg) {
  // Alt+character arrives as WM_SYSCHAR with the Alt bit of the key data.
  if (msg.message != WM_SYSCHAR || msg.hwnd == nullptr || (msg.lParam & (1 << 29)) == 0) {
    return false;
  }
  std::int32_t character = static_cast<std::int32_t>(msg.wParam & 0xFFFF);
  if (!IsWindowUnicode(msg.hwnd)) {
    const char byte = static_cast<char>(msg.wParam & 0xFF);
    wchar_t wide = 0;
    if (MultiByteToWideChar(CP_ACP, 0, &byte, 1, &wide, 1) != 1) return false;
    character = wide;
  }
  const HWND root = GetAncestor(msg.hwnd, GA_ROOT);
  // Copied: a switch may create or destroy tab controls.
  const std::vector<TabControlWindow*> instances = Instances();
  for (TabControlWindow* tab : instances) {
    const HWND h = tab->hwnd_;
    if (h == nullptr || GetAncestor(h, GA_ROOT) != root) continue;
    if (!IsWindowVisible(h) || !IsWindowEnabled(h)) continue;
    if (!tabctl::AccessKeyListHas(tab->control_.AccessKeys(), character)) continue;
    platform::SkipFailure("tab control: AccessKeyPress", [&] { tab->input_.AccessKeyPress(character); });
    return true;
  }
  return false;
}

}  // namespace win32
