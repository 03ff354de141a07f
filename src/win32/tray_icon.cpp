#include "win32/tray_icon.h"

#include <cstring>
#include <cwchar>

namespace win32 {

shell::WindowEvent MainWindowEvent(UINT message, WPARAM wParam, LPARAM lParam) {
  // The hide request is a WM_COMMAND with exactly SC_MINIMIZE, whoever sends
  // it; the system keeps its own bits in the low four of a system command.
  if ((message == WM_COMMAND && wParam == SC_MINIMIZE) ||
      (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_MINIMIZE)) {
    return shell::WindowEvent::Minimize;
  }
  if (message == kTrayCallbackMessage && lParam == WM_LBUTTONDBLCLK)
    return shell::WindowEvent::IconDoubleClick;
  if (message == kTrayCallbackMessage && lParam == WM_RBUTTONDOWN) return shell::WindowEvent::IconRightButton;
  return shell::WindowEvent::Other;
}

void TrayIcon::Add(HWND window) {
  data_ = {};
  data_.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data_.hWnd = window;
  data_.uID = 0;
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data_.uCallbackMessage = kTrayCallbackMessage;
  data_.hIcon = icon_;
  std::strcpy(data_.szTip, "Quillmoor");
  keeper_.Add();
}

bool TrayIcon::Handle(UINT message, WPARAM wParam) {
  if (message == TaskbarCreatedMessage()) {
    keeper_.TaskbarCreated();
    return true;
  }
  if (message == WM_TIMER && wParam == retryTimer_) {
    keeper_.RetryDue();
    return true;
  }
  return false;
}

void TrayIcon::HearTaskbarCreated(HWND window) {
  // Run as administrator, the window would not hear the shell's broadcast
  // when Explorer restarts (it comes from a lower integrity level), and the
  // tray icon would be gone for good.
  ChangeWindowMessageFilterEx(window, TaskbarCreatedMessage(), MSGFLT_ALLOW, nullptr);
}

bool TrayIcon::Notify(DWORD action) {
  if (Shell_NotifyIconA(action, &data_)) return true;
  // An add that timed out may still have been made: the icon is there when
  // it can be changed.
  return action == NIM_ADD && Shell_NotifyIconA(NIM_MODIFY, &data_);
}

bool TrayIcon::AddIcon() {
  const bool shown = Notify(NIM_ADD);
  if (shown) ShowPendingBalloon();
  return shown;
}

void TrayIcon::DeleteIcon() { Notify(NIM_DELETE); }

void TrayIcon::StartRetrying(unsigned milliseconds) {
  SetTimer(data_.hWnd, retryTimer_, milliseconds, nullptr);
}

void TrayIcon::StopRetrying() { KillTimer(data_.hWnd, retryTimer_); }

void TrayIcon::ShowBalloon(const std::wstring& title, const std::wstring& text) {
  balloonTitle_ = title;
  balloonText_ = text;
  if (keeper_.Shown()) ShowPendingBalloon();
}

void TrayIcon::ShowPendingBalloon() {
  if (balloonText_.empty()) return;
  // The same icon (window and id), changed through the wide form so that
  // the text shows on any system code page.
  NOTIFYICONDATAW balloon{};
  balloon.cbSize = NOTIFYICONDATAW_V2_SIZE;
  balloon.hWnd = data_.hWnd;
  balloon.uID = data_.uID;
  balloon.uFlags = NIF_INFO;
  balloon.dwInfoFlags = NIIF_WARNING;
  wcsncpy(balloon.szInfoTitle, balloonTitle_.c_str(), ARRAYSIZE(balloon.szInfoTitle) - 1);
  wcsncpy(balloon.szInfo, balloonText_.c_str(), ARRAYSIZE(balloon.szInfo) - 1);
  Shell_NotifyIconW(NIM_MODIFY, &balloon);
  balloonTitle_.clear();
  balloonText_.clear();
}

UINT TaskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

}  // namespace win32
