// The program's icon in the notification area: the shell's side of the
// icon keeper (shell/tray.h), which decides when the icon is offered again.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "shell/tray.h"

namespace win32 {

// The message the tray icon sends to the main window, a number the
// program's design fixes.
inline constexpr UINT kTrayCallbackMessage = 2025;

// What one message to the main window means to its hook.
shell::WindowEvent MainWindowEvent(UINT message, WPARAM wParam, LPARAM lParam);

class TrayIcon final : private shell::TrayPort {
 public:
  // `icon` is a shared icon: the system keeps it, the tray never destroys it.
  // `retryTimer` is the window timer's id for offering the icon again.
  TrayIcon(HICON icon, UINT_PTR retryTimer) : icon_(icon), retryTimer_(retryTimer) {}

  // Adds the icon with the first NOTIFYICONDATA form for `window`: callback
  // message, icon and the tip "Quillmoor".
  void Add(HWND window);
  void Delete() { keeper_.Delete(); }
  // Before the window hides: true when the icon is there to come back by.
  bool EnsureShown() { return keeper_.EnsureShown(); }
  bool Shown() const { return keeper_.Shown(); }
  // The taskbar's re-creation and the retry timer, which the icon takes
  // care of itself; true when `message` was one of them.
  bool Handle(UINT message, WPARAM wParam);
  // Lets the shell's re-creation broadcast through to an elevated window.
  void HearTaskbarCreated(HWND window);
  // A balloon at the icon; before the icon is shown, it waits for it.
  void ShowBalloon(const std::wstring& title, const std::wstring& text);

 private:
  // shell::TrayPort
  bool AddIcon() override;
  void DeleteIcon() override;
  void StartRetrying(unsigned milliseconds) override;
  void StopRetrying() override;

  bool Notify(DWORD action);
  void ShowPendingBalloon();

  HICON icon_;
  UINT_PTR retryTimer_;
  NOTIFYICONDATAA data_{};
  shell::TrayIconKeeper keeper_{*this};
  std::wstring balloonTitle_, balloonText_;
};

// The message the shell broadcasts when the taskbar is created again.
UINT TaskbarCreatedMessage();

}  // namespace win32
