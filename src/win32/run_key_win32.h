// The lists of programs that Windows starts at logon: the machine-wide one
// and the current user's.
#pragma once

#include <string>

#include "platform/ports.h"

namespace win32 {

inline constexpr char kRunKeyPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
// Task Manager's switches of the values of the 64-bit Run key, and of the
// 32-bit view's: binary values, the lowest bit of the first byte set for off.
inline constexpr wchar_t kStartupSwitchPath[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
inline constexpr wchar_t kStartupSwitch32Path[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run32";

// Values under HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER \<kRunKeyPath>, names
// and data in the ANSI code page, written in the program's own registry
// view. Each call opens (creating if need be), acts and closes.
class RunKeyWin32 : public platform::RunKey {
 public:
  bool SetString(platform::RunScope scope, const std::string& name, const std::string& data) override;
  bool MaySetValues(platform::RunScope scope) override;
  // Also in the 32-bit view, where a 32-bit build of the program wrote it.
  bool DeleteValue(platform::RunScope scope, const std::string& name) override;
  // The switch of the value in the program's own view.
  bool SwitchedOff(platform::RunScope scope, const std::string& name) override;
  // Both views' switches.
  bool DeleteSwitch(platform::RunScope scope, const std::string& name) override;
};

}  // namespace win32
