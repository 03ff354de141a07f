// The program's icon in the notification area.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

namespace app {

class TrayIcon {
 public:
  // Adds the icon with the first NOTIFYICONDATA form: callback message,
  // icon and the tip "Quillmoor".
  void Add(HWND window, HICON icon);
  void Delete();
  // The notification area was re-created (the shell restarted): the icon
  // is gone from it and is added again, or a hidden window is unreachable.
  void AddAgain();
  bool Added() const { return added_; }
  // A balloon at the icon; before the icon is added, it waits for it.
  void ShowBalloon(const std::wstring& title, const std::wstring& text);

 private:
  void ShowPendingBalloon();
  NOTIFYICONDATAA data_{};
  bool added_ = false;
  std::wstring balloonTitle_, balloonText_;
};

// The message the shell broadcasts when the taskbar is created again.
UINT TaskbarCreatedMessage();

}  // namespace app
