// Binds a window to the object that answers its messages. The object comes
// as the creation parameter of CreateWindowEx; it is stored with the window
// on WM_NCCREATE and forgotten on WM_NCDESTROY. The object keeps its window
// in a member (`handle`), set here and cleared when the binding ends, so
// that it never acts on a window that is gone.
#pragma once

#include <windows.h>

namespace win32 {

// The object bound to `window` for this message, or null when the message
// is for DefWindowProc: before WM_NCCREATE, on and after WM_NCDESTROY
// (which ends the binding; the object belongs to whoever created it), or
// when the object has since been bound to another window.
template <typename Owner>
Owner* BoundWindowOwner(HWND window, UINT message, LPARAM lParam, HWND Owner::*handle) {
  if (message == WM_NCCREATE) {
    auto* owner = static_cast<Owner*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
    if (owner == nullptr) return nullptr;
    owner->*handle = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    return owner;
  }
  auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (owner == nullptr || owner->*handle != window) return nullptr;
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    owner->*handle = nullptr;
    return nullptr;
  }
  return owner;
}

}  // namespace win32
