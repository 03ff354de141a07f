#include "app/tray_icon.h"

#include <cstring>
#include <cwchar>

#include "shell/tray.h"

namespace app {

void TrayIcon::Add(HWND window, HICON icon) {
  data_ = {};
  data_.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data_.hWnd = window;
  data_.uID = 0;
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data_.uCallbackMessage = shell::kTrayCallbackMessage;
  data_.hIcon = icon;
  std::strcpy(data_.szTip, "Quillmoor");
  Shell_NotifyIconA(NIM_ADD, &data_);
  added_ = true;
  ShowPendingBalloon();
}

void TrayIcon::ShowBalloon(const std::wstring& title, const std::wstring& text) {
  balloonTitle_ = title;
  balloonText_ = text;
  if (added_) ShowPendingBalloon();
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

void TrayIcon::Delete() {
  if (!added_) return;
  Shell_NotifyIconA(NIM_DELETE, &data_);
  added_ = false;
}

void TrayIcon::AddAgain() {
  if (added_) Shell_NotifyIconA(NIM_ADD, &data_);
}

UINT TaskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

}  // namespace app
