// Helpers for test programs that start other Windows programs and look at
// their windows and processes from outside.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "win32/unique_handle.h"

namespace e2e {

// A Linux path handed over by the build, as Wine sees it (drive Z:).
std::wstring HostPath(const char* path);

// Polls until done() or the time is up; true when done() held. A test
// that waits asserts the result: a wait that ran out is a failure.
[[nodiscard]] bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

// Lets the thread of another process's window catch up with what is queued
// for it: each round trip of a sent WM_NULL returns only once that thread
// has fetched messages again, so after `rounds` of them it has handled at
// least as many posted or input messages that were waiting. False when the
// thread stops answering. Input from SendInput is not queued yet when it
// returns (it goes through the Wine server): wait for its effect instead.
[[nodiscard]] bool Settle(HWND window, int rounds = 8);

// Asks for `window` in front until it is there (a window that was just
// started may take the activation back once); false when it never was.
[[nodiscard]] bool BringToFront(HWND window, std::chrono::milliseconds timeout = std::chrono::seconds(5));

// A started program, terminated on destruction if still running.
class Process {
 public:
  Process() = default;
  Process(Process&&) = default;
  Process& operator=(Process&&) = default;
  ~Process();
  // `security`, when given, is the new process's security descriptor in
  // SDDL form (for example one that denies some access rights).
  static Process Start(const std::wstring& exe, const std::wstring& args, const std::wstring& dir,
                       const wchar_t* security = nullptr);
  HANDLE handle() const { return process_.get(); }
  DWORD id() const { return id_; }
  DWORD PriorityClass() const { return GetPriorityClass(process_.get()); }
  // First top-level window of this process with the given title (visible
  // ones only, unless told otherwise).
  HWND FindWindowTitled(const std::wstring& title, std::chrono::milliseconds timeout,
                        bool visibleOnly = true) const;
  bool Running() const { return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

 private:
  win32::UniqueHandle process_;
  DWORD id_ = 0;
};

// A fresh folder under the temporary folder, removed on destruction.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// A descendant window with the given control id (any depth).
HWND ControlById(HWND top, int id);

// The real Brevolt.exe, copied into a fresh folder (optionally beside a
// prepared config.ini, read-only if asked) and started there.
class BrevoltApp {
 public:
  explicit BrevoltApp(const std::string& configIni = "", bool readOnlyConfig = false);
  // `prepare` sets up the folder (Brevolt.exe is in it already) before the start.
  explicit BrevoltApp(const std::function<void(const std::filesystem::path& folder)>& prepare);
  ~BrevoltApp();
  // Ends the program as a crash would and starts it again in its folder.
  bool Restart();
  bool Started() const { return main_ != nullptr; }
  HWND Main() const { return main_; }
  HWND Control(int id) const { return ControlById(main_, id); }
  Process& process() { return process_; }
  const std::filesystem::path& Folder() const { return folder_.path(); }
  std::string ConfigIni() const;

 private:
  void Start();

  TempFolder folder_;
  Process process_;
  HWND main_ = nullptr;
};

// While it lives, a Run key (machine-wide or the user's) refuses to have
// values set or deleted, as the machine-wide one does for a standard user:
// opening it still works. The old descriptor comes back on destruction (all
// tests share one prefix).
class RefusedRunKey {
 public:
  explicit RefusedRunKey(HKEY root);
  ~RefusedRunKey();
  RefusedRunKey(const RefusedRunKey&) = delete;
  RefusedRunKey& operator=(const RefusedRunKey&) = delete;
  bool Active() const { return active_; }

 private:
  win32::UniqueRegKey key_;
  std::vector<BYTE> old_;
  bool active_ = false;
};

// The Run value "Brevolt" under a root in a registry view (0 or
// KEY_WOW64_32KEY): its REG_SZ text, "<none>" or "<not REG_SZ>".
std::string RunValue(HKEY root, REGSAM view = 0);
// Writes it there as a 32-bit build would have, for example.
bool WriteRunValue(HKEY root, REGSAM view, const std::string& data);

// The current user's own config.ini (under the roaming application data).
std::filesystem::path PerUserConfig();

// The shell opens http addresses with the command of the http class. For
// a test that command can be another program (given with "%1" for the
// address); the old command comes back on destruction (all tests share one
// prefix).
class HttpOpener {
 public:
  explicit HttpOpener(const std::wstring& command);
  ~HttpOpener();
  HttpOpener(const HttpOpener&) = delete;
  HttpOpener& operator=(const HttpOpener&) = delete;
  bool Active() const { return active_; }
  // With a stand-in that shows a window titled with its argument: whether
  // `address` was opened within the time; that window is closed again.
  static bool Opened(const wchar_t* address, std::chrono::milliseconds timeout);

 private:
  bool Set(const std::wstring& value);
  HKEY key_ = nullptr;
  bool hadOld_ = false;
  bool active_ = false;
  std::wstring old_;
};

// Which page of the main window is in sight: the one whose first control
// lies inside the tab control; -1 when none does.
int ActivePage(const BrevoltApp& app);

// Whether the program's tray icon is there.
bool TrayIconPresent(HWND main);

// What the user sees of a check box and the window, and a click as the user
// makes it, through the button's own message.
inline bool Checked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }
inline bool Topmost(HWND window) { return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }
inline void Click(HWND control) { SendMessageW(control, BM_CLICK, 0, 0); }
inline bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// WM_GETTEXT across processes, as UTF-8.
std::string TextOf(HWND window);

// Every top-level window of a process, in the system's order.
std::vector<HWND> TopWindowsOf(DWORD processId);

// The first visible top-level window of a process with the given class
// (for example "#32770" for a message box or a file dialog), waiting for it.
HWND WaitForWindowOfClass(DWORD processId, const wchar_t* cls, std::chrono::milliseconds timeout);

// What the screen shows of a window, row by row from its top down to
// `bottom` (screen coordinates; the whole window when 0), as 0x00RRGGBB.
std::vector<std::uint32_t> ScreenPixels(HWND window, LONG bottom = 0);

// How many screen pixels of a window are close to a colour (each channel
// within 60: text is drawn smoothed into its background).
int PixelsOfColour(HWND window, COLORREF colour);

// Paints reach the screen some time after what caused them: what `look`
// reads once it has stopped changing (the same five reads in a row), or
// nothing when it still changed after `timeout`.
std::vector<std::uint32_t> SteadyPixels(const std::function<std::vector<std::uint32_t>()>& look,
                                        std::chrono::milliseconds timeout = std::chrono::seconds(3));

// Texts of the static controls of a dialog, joined by "\n".
std::string DialogText(HWND dialog);

// Presses a dialog's button by id (IDOK, IDYES, ...).
void PressButton(HWND dialog, int id);

// The next notice box of a process within `wait`, closed: "caption|text",
// "<no notice>" when none came, with " <did not close>" when it stayed.
std::string TakeNotice(DWORD processId, std::chrono::milliseconds wait);

// Every notice box a process opens, the first within `wait` and each
// further one within a second of the last, closed as it comes:
// "caption|text" each.
std::vector<std::string> TakeNotices(DWORD processId, std::chrono::milliseconds wait);

// Rows of a report-mode list view in another process: the texts of the
// first `columns` columns of every row.
std::vector<std::vector<std::string>> ListViewRows(HWND listView, int columns);

// The text a tooltip control of the tool's process holds for `tool` (a
// window registered by handle with its parent); empty when none does.
std::string ToolTipTextOf(HWND tool);

// Reads a whole file as bytes.
std::string ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes);

}  // namespace e2e
