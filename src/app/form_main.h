// The main window: layout, the four pages, and the Win32 side of the
// window's rules (which live in shell::FormMainRules).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "app/tray_icon.h"
#include "engine/acceleration.h"
#include "platform/win32/controls.h"
#include "platform/win32/file_rights_win32.h"
#include "platform/win32/history_saving_win32.h"
#include "platform/win32/profile_store_win32.h"
#include "platform/win32/raised_records_win32.h"
#include "platform/win32/run_key_win32.h"
#include "platform/win32/system_ports.h"
#include "platform/win32/tab_control_window.h"
#include "platform/win32/text.h"
#include "settings/module_auto_run.h"
#include "settings/module_config.h"
#include "shell/form_main.h"
#include "tabctl/events.h"

namespace app {

class FormMain : public shell::FormMainView, public tabctl::ucPageTabEvents {
 public:
  // Creates the window with its controls (hidden), runs the load event and
  // shows the window unless start-up hid it to the tray.
  static FormMain* Create(HINSTANCE instance);
  HWND hwnd() const { return hwnd_; }

  // shell::FormMainView
  bool IsChecked(shell::Check box) override;
  void SetChecked(shell::Check box, bool checked) override;
  void FillCombo(shell::Combo list, const std::vector<std::string>& items) override;
  int Selection(shell::Combo list) override;
  void Select(shell::Combo list, int index) override;
  std::string ComboText(shell::Combo list) override;
  void SetUpPages() override;
  void SetTopmost(bool topmost) override;
  void RunTick() override;
  void ResetLinkStyle() override;
  void InstallWindowHook() override;
  void RemoveWindowHook() override;
  void AddTrayIcon() override;
  void DeleteTrayIcon() override;
  void SendHideRequest() override;
  bool AskYesNo(const std::string& text, const std::string& caption) override;
  void Notice(const std::string& text) override;

  // tabctl::ucPageTabEvents: the tab control's mouse drives dragging and
  // the link style.
  void MouseDown(std::int16_t button, std::int16_t shift, float x, float y) override;
  void MouseMove(std::int16_t button, std::int16_t shift, float x, float y) override;

 private:
  FormMain();
  ~FormMain() override;
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK LinkProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                   DWORD_PTR data);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

  void CreateControls();
  void CreatePages();
  HWND AddChild(HWND parent, const wchar_t* cls, const std::string& text, DWORD style, int id, int x,
                int y, int width, int height, HFONT font = nullptr);
  // A control on a page, at twips relative to the tab control.
  HWND AddToPage(int page, const wchar_t* cls, const std::string& text, DWORD style, int id, int left,
                 int top, int width, int height, HFONT font = nullptr);
  HWND AddPicture(int page, int resource, int left, int top);
  void OnCommand(int id, int code, HWND control);
  void ShowTrayMenu();
  void ShowAndRestore();
  void HideToTray();
  void BeginWindowDrag();
  void SetLinkHover(HWND link, bool hover);
  void OpenLink(HWND link);
  HBRUSH PageBrush(HWND control);
  int Px(int twips) const { return MulDiv(twips, dpi_, 1440); }
  HWND CheckBox(shell::Check box) const;
  // What the engine's tick and put-back work with.
  engine::AccelerationPorts Ports();
  HWND ComboBox(shell::Combo list) const;

  HWND hwnd_ = nullptr;
  HINSTANCE instance_ = nullptr;
  int dpi_ = 96;
  HFONT font_ = nullptr;  // shared stock font
  HFONT boldFont_ = nullptr;
  HFONT linkFont_ = nullptr;
  HFONT linkHoverFont_ = nullptr;
  HBITMAP banner_ = nullptr;
  HBRUSH pageBrush_ = nullptr;
  COLORREF pageBrushColour_ = 0;
  HICON icon_ = nullptr;
  HICON smallIcon_ = nullptr;
  HCURSOR hand_ = nullptr;
  HIMAGELIST historyImages_ = nullptr;
  HIMAGELIST toolbarImages_ = nullptr;
  std::vector<HBITMAP> pictures_;

  std::unique_ptr<win32::TabControlWindow> tabs_;
  HWND checkAutoRun_ = nullptr, checkAutoMin_ = nullptr, checkState_ = nullptr, checkMostTop_ = nullptr,
       checkEnableRecord_ = nullptr, comboSpeed_ = nullptr, comboAutoClean_ = nullptr, labelInfo_ = nullptr,
       labelCount_ = nullptr, listView_ = nullptr, toolbar_ = nullptr, tooltip_ = nullptr,
       labelHomePage_ = nullptr, labelBBS_ = nullptr;
  bool homeHover_ = false, bbsHover_ = false;

  win32::SystemForegroundWindows windows_;
  win32::SystemProcessPriorities processes_;
  win32::SystemClock clock_;
  win32::SystemAnsiCodePage codePage_;
  win32::ProfileStoreWin32 profile_;
  win32::RunKeyWin32 runKey_;
  win32::FileSecurityWin32 fileSecurity_;
  win32::SettingsFilesWin32 settingsFiles_;
  std::deque<std::string> notices_;  // waiting to be shown
  win32::RegistryRaisedRecords raisedRecords_;
  std::unique_ptr<settings::ModuleConfig> config_;
  std::unique_ptr<settings::ModuleAutoRun> autoRun_;
  std::unique_ptr<win32::WindowControls> controls_;
  std::unique_ptr<win32::ListViewHistory> history_;
  std::unique_ptr<win32::HistorySavingWin32> saving_;
  engine::AccelerationState state_;
  std::unique_ptr<shell::FormMainRules> rules_;
  TrayIcon tray_;
  WNDPROC previousWindowProc_ = nullptr;
  bool hiddenToTray_ = false;
  bool loading_ = false;
};

}  // namespace app
