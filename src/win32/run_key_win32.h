// The lists of programs that Windows starts at logon: the machine-wide one
// and the current user's.
#pragma once

#include <string>

#include "platform/ports.h"

namespace win32 {

inline constexpr char kRunKeyPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Values under HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER \<kRunKeyPath>, names
// and data in the ANSI code page, written in the program's own registry
// view. Each call opens (creating if need be), acts and closes.
class RunKeyWin32 : public platform::RunKey {
 public:
  bool SetString(platform::RunScope scope, const std::string& name, const std::string& data) override;
  bool MaySetValues(platform::RunScope scope) override;
  // Also in the 32-bit view, where a 32-bit build of the program wrote it.
  bool DeleteValue(platform::RunScope scope, const std::string& name) override;
};

}  // namespace win32
