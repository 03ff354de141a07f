#include "app/tray_icon.h"

#include <cstring>

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
