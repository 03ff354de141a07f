#include "app/tray_icon.h"

#include <cstring>
#include <cwchar>

#include "shell/tray.h"

namespace app {

bool TrayIcon::Notify(DWORD action) {
  if (Shell_NotifyIconA(action, &data_)) return true;
  // An add that timed out may still have been made: the icon is there when
  // it can be changed.
  return action == NIM_ADD && Shell_NotifyIconA(NIM_MODIFY, &data_);
}

bool TrayIcon::Add(HWND window, HICON icon) {
  data_ = {};
  data_.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data_.hWnd = window;
  data_.uID = 0;
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data_.uCallbackMessage = shell::kTrayCallbackMessage;
  data_.hIcon = icon;
  std::strcpy(data_.szTip, "Quillmoor");
  wanted_ = true;
  shown_ = Notify(NIM_ADD);
  ShowPendingBalloon();
  return shown_;
}

void TrayIcon::ShowBalloon(const std::wstring& title, const std::wstring& text) {
  balloonTitle_ = title;
  balloonText_ = text;
  ShowPendingBalloon();
}

void TrayIcon::ShowPendingBalloon() {
  if (!shown_ || balloonText_.empty()) return;
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

void TrayIcon::Delete() {
  if (shown_) Notify(NIM_DELETE);
  wanted_ = false;
  shown_ = false;
}

bool TrayIcon::AddAgain() {
  if (!wanted_) return false;
  shown_ = Notify(NIM_ADD);
  ShowPendingBalloon();
  return shown_;
}

UINT TaskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

}  // namespace app
