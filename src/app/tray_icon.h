// The program's icon in the notification area.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

namespace app {

class TrayIcon {
 public:
  // Adds the icon with the first NOTIFYICONDATA form: callback message,
  // icon and the tip "Quillmoor". False when the shell did not take it (at
  // logon it may not answer in time): AddAgain tries again later.
  bool Add(HWND window, HICON icon);
  void Delete();
  // Adds the icon once more where it is wanted: after the shell re-created
  // the notification area, or after an add that failed. True when it is
  // there.
  bool AddAgain();
  // Added and not deleted since, whether the shell took it or not.
  bool Wanted() const { return wanted_; }
  // Wanted and in the notification area.
  bool Shown() const { return shown_; }
  // A balloon at the icon; before the icon is shown, it waits for it.
  void ShowBalloon(const std::wstring& title, const std::wstring& text);

 private:
  bool Notify(DWORD action);
  void ShowPendingBalloon();
  NOTIFYICONDATAA data_{};
  bool wanted_ = false;
  bool shown_ = false;
  std::wstring balloonTitle_, balloonText_;
};

// The message the shell broadcasts when the taskbar is created again.
UINT TaskbarCreatedMessage();

}  // namespace app
