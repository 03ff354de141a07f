#include "win32/window_hooks.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>

namespace win32 {

bool WindowHooks::Hook(HWND window, std::initializer_list<std::pair<UINT, HookTiming>> messages) {
  return Add(window, messages, false);
}

bool WindowHooks::HookOwn(HWND window, std::initializer_list<std::pair<UINT, HookTiming>> messages) {
  return Add(window, messages, true);
}

bool WindowHooks::Add(HWND window, std::initializer_list<std::pair<UINT, HookTiming>> messages, bool own) {
  if (window == nullptr || !IsWindow(window)) return false;
  auto it =
      std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.window == window; });
  if (it == entries_.end()) {
    if (!own && !SetWindowSubclass(window, &WindowHooks::Procedure, reinterpret_cast<UINT_PTR>(this),
                                   reinterpret_cast<DWORD_PTR>(this))) {
      return false;
    }
    entries_.push_back({window, {}, own});
    it = entries_.end() - 1;
  }
  for (const auto& m : messages) {
    auto& list = it->messages;
    auto known =
        std::find_if(list.begin(), list.end(), [&](const auto& entry) { return entry.first == m.first; });
    if (known != list.end()) {
      known->second = m.second;
    } else {
      list.push_back(m);
    }
  }
  return true;
}

void WindowHooks::RemoveAll() {
  for (const Entry& e : entries_) {
    if (!e.own && IsWindow(e.window)) {
      RemoveWindowSubclass(e.window, &WindowHooks::Procedure, reinterpret_cast<UINT_PTR>(this));
    }
  }
  entries_.clear();
}

bool WindowHooks::Hooked(HWND window) const { return Find(window) != nullptr; }

const WindowHooks::Entry* WindowHooks::Find(HWND window) const {
  for (const Entry& e : entries_) {
    if (e.window == window) return &e;
  }
  return nullptr;
}

std::optional<HookTiming> WindowHooks::TimingOf(HWND window, UINT message) const {
  if (const Entry* e = Find(window)) {
    for (const auto& [registered, when] : e->messages) {
      if (registered == message) return when;
    }
  }
  return std::nullopt;
}

void WindowHooks::Remove(HWND window) {
  RemoveWindowSubclass(window, &WindowHooks::Procedure, reinterpret_cast<UINT_PTR>(this));
  std::erase_if(entries_, [&](const Entry& e) { return e.window == window; });
}

LRESULT CALLBACK WindowHooks::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR /*id*/, DWORD_PTR selfData) {
  auto* self = reinterpret_cast<WindowHooks*>(selfData);
  if (message == WM_NCDESTROY) {
    // The window goes: its entry goes with it, before anything else runs.
    self->Remove(window);
    return DefSubclassProc(window, message, wParam, lParam);
  }
  const std::optional<HookTiming> timing = self->TimingOf(window, message);
  if (timing == HookTiming::kBefore) self->handler_(window, message, wParam, lParam);
  const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
  // The previous procedure may have removed the hooks (the control's window
  // destroyed meanwhile): look again before calling back.
  if (timing == HookTiming::kAfter && self->Hooked(window)) {
    self->handler_(window, message, wParam, lParam);
  }
  return result;
}

}  // namespace win32
