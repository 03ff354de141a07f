// The program's composition root: the one object that owns the system
// ports, the settings, the never-list, the engine's state and the window's
// rules, and wires them together. The main window (FormMain) shows and
// forwards; what it decides nothing about, it finds here.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "engine/acceleration.h"
#include "engine/never_list.h"
#include "settings/module_auto_run.h"
#include "settings/module_config.h"
#include "settings/profile_store_portable.h"
#include "shell/form_main.h"
#include "win32/controls.h"
#include "win32/file_rights_win32.h"
#include "win32/history_saving_win32.h"
#include "win32/profile_store_win32.h"
#include "win32/raised_records_win32.h"
#include "win32/run_key_win32.h"
#include "win32/system_ports.h"
#include "win32/text.h"

namespace app {

class Program {
 public:
  using Sink = std::function<void(const std::string&)>;

  // Reads the settings and the never-list. `notice` shows a "提示" box.
  explicit Program(Sink notice);
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // The controls the tick reads and writes, the history list and the save
  // dialog's owner exist once the window has made them; the rules work on
  // `view`. `balloon` shows a notice at the tray icon.
  struct Window {
    HWND window;
    win32::WindowControls::Handles tick;
    HWND historyList;
    HWND autoCleanCount;
  };
  void Attach(shell::FormMainView& view, const Window& window, Sink balloon);
  bool Attached() const { return rules_ != nullptr; }

  shell::FormMainRules& Rules() { return *rules_; }
  // The window's load event, its dozen settings read in one go.
  void Load();
  settings::ModuleConfig& Config() { return config_; }
  win32::ListViewHistory& History() { return *history_; }
  win32::HistorySavingWin32& Saving() { return *saving_; }
  bool InfoWarning() const { return tickControls_ && tickControls_->InfoWarning(); }

  // The engine's steps, on the ports owned here.
  void PutBackAfterCrash();
  void Tick();
  void PutBackRaised();
  // [Exclude] has changed in config.ini: its rules apply from the next change.
  void NeverListChanged();

 private:
  engine::AccelerationPorts Ports();

  win32::SystemForegroundWindows windows_;
  win32::SystemProcessPriorities processes_;
  win32::SystemProcessTree processTree_;
  win32::SystemClock clock_;
  win32::SystemAnsiCodePage codePage_;
  win32::ProfileStoreWin32 systemProfile_;
  win32::SystemAnsiConverter ansi_;
  // A config.ini saved with a UTF-8 mark is read and written by the
  // program itself: Windows would miss its first section.
  settings::PortableProfileStore ownProfile_{ansi_};
  settings::Utf8MarkRouting profile_{systemProfile_, ownProfile_};
  win32::RunKeyWin32 runKey_;
  win32::FileSecurityWin32 fileSecurity_;
  win32::SettingsFilesWin32 settingsFiles_;
  win32::RegistryRaisedRecords raisedRecords_;
  // Elevated with another account's name and password, "the current user"
  // is that account: its Run key and settings are not the user's.
  const bool anotherUser_;
  settings::ModuleConfig config_;
  settings::ModuleAutoRun autoRun_;
  engine::NeverList never_;  // built-in rules and config.ini's [Exclude]
  engine::AccelerationState state_;
  std::unique_ptr<win32::WindowControls> tickControls_;
  std::unique_ptr<win32::ListViewHistory> history_;
  std::unique_ptr<win32::HistorySavingWin32> saving_;
  std::unique_ptr<shell::FormMainRules> rules_;
  bool ticking_ = false;
};

}  // namespace app
