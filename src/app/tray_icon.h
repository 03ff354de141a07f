// The program's icon in the notification area.
#pragma once

#include <windows.h>
#include <shellapi.h>

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

 private:
  NOTIFYICONDATAA data_{};
  bool added_ = false;
};

// The message the shell broadcasts when the taskbar is created again.
UINT TaskbarCreatedMessage();

}  // namespace app
