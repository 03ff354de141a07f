// The main window's hook and its tray icon: what a message means to the
// program, and how the icon is kept in the notification area. The window
// layer says what happened and does what it is told.
#pragma once

namespace shell {

// What the window layer has made of one message to the main window. The
// hook's table follows this order.
enum class WindowEvent {
  Minimize,         // a minimise command (the system's, or the hide request)
  IconDoubleClick,  // the left button double-clicked on the tray icon
  IconRightButton,  // the right button pressed on the tray icon
  Other,            // anything else, other tray notifications included
};

enum class HookAction {
  Pass,            // to the previous window procedure, unchanged
  PassThenHide,    // to the previous procedure, then hide the window
  ShowAndRestore,  // show, then restore; not passed on
  TrayMenu,        // foreground, then the pop-up menu; not passed on
};

HookAction MainWindowHookAction(WindowEvent event);

// Where a window asked to hide goes.
enum class HideOutcome {
  ToTray,     // hidden: the tray icon brings it back
  ToTaskbar,  // no icon to come back by: minimised on the taskbar
};
// `iconShown`: the icon is in the notification area, once more tried if needed.
HideOutcome WhereToHide(bool iconShown);

// What the icon keeper needs from the system.
class TrayPort {
 public:
  virtual ~TrayPort() = default;
  // Offers the icon to the notification area; true when it is there.
  virtual bool AddIcon() = 0;
  virtual void DeleteIcon() = 0;
  // Calls TrayIconKeeper::RetryDue every `milliseconds` until stopped.
  virtual void StartRetrying(unsigned milliseconds) = 0;
  virtual void StopRetrying() = 0;
};

// Keeps the program's icon in the notification area: at logon the shell
// may not take it in time, so a refused icon is offered again every two
// seconds for two minutes, and whenever the taskbar is created anew.
class TrayIconKeeper {
 public:
  static constexpr unsigned kRetryMilliseconds = 2000;
  static constexpr int kRetries = 60;

  explicit TrayIconKeeper(TrayPort& port) : port_(port) {}

  void Add();
  void Delete();
  // The shell has made the notification area again (Explorer restarted);
  // a shell that has only just started may refuse the icon too.
  void TaskbarCreated();
  // One retry is due.
  void RetryDue();
  // Before the window hides: true when the icon is there to come back by
  // (offered once more when it is not).
  bool EnsureShown();

  // Added and not deleted since, whether the shell took it or not.
  bool Wanted() const { return wanted_; }
  // Wanted and in the notification area.
  bool Shown() const { return shown_; }

 private:
  bool Offer();
  void KeepTrying();
  void StopTrying();

  TrayPort& port_;
  bool wanted_ = false;
  bool shown_ = false;
  bool retrying_ = false;
  int tries_ = 0;
};

}  // namespace shell
