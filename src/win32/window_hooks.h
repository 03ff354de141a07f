// Window hooks with a per-window table: for each hooked window the messages
// the owner handles, each either before or after the window's previous
// procedure (which always runs). Built on comctl32 subclassing, so hooks of
// other code on the same window (the main window's own hook, for one) may
// come and go in any order without cutting each other out of the chain.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <optional>
#include <utility>
#include <vector>

namespace win32 {

enum class HookTiming { kBefore, kAfter };

class WindowHooks {
 public:
  using Handler = std::function<void(HWND window, UINT message, WPARAM wParam, LPARAM lParam)>;

  explicit WindowHooks(Handler handler) : handler_(std::move(handler)) {}
  ~WindowHooks() { RemoveAll(); }
  WindowHooks(const WindowHooks&) = delete;
  WindowHooks& operator=(const WindowHooks&) = delete;

  // Hooks `window` (once) and registers the messages; false when the window
  // cannot be hooked.
  bool Hook(HWND window, std::initializer_list<std::pair<UINT, HookTiming>> messages);
  // The same for a window whose procedure is the owner's, which passes each
  // message through Around: no subclass, whose chain would be looked up
  // twice for every message of the window (a trip to the window server each
  // under Wine).
  bool HookOwn(HWND window, std::initializer_list<std::pair<UINT, HookTiming>> messages);
  // `procedure` for a message of a window hooked with HookOwn, with its
  // hooks before and after it.
  template <typename Procedure>
  LRESULT Around(HWND window, UINT message, WPARAM wParam, LPARAM lParam, Procedure&& procedure) {
    const std::optional<HookTiming> timing = TimingOf(window, message);
    if (timing == HookTiming::kBefore) handler_(window, message, wParam, lParam);
    const LRESULT result = procedure();
    if (timing == HookTiming::kAfter && Hooked(window)) handler_(window, message, wParam, lParam);
    return result;
  }
  // Every window gets its previous procedure back.
  void RemoveAll();
  bool Hooked(HWND window) const;
  bool Empty() const { return entries_.empty(); }

 private:
  struct Entry {
    HWND window;
    std::vector<std::pair<UINT, HookTiming>> messages;
    bool own;  // hooked through Around, not subclassed
  };
  bool Add(HWND window, std::initializer_list<std::pair<UINT, HookTiming>> messages, bool own);
  std::optional<HookTiming> TimingOf(HWND window, UINT message) const;
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                    DWORD_PTR self);
  const Entry* Find(HWND window) const;
  void Remove(HWND window);

  Handler handler_;
  std::vector<Entry> entries_;
};

}  // namespace win32
