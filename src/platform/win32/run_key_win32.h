// The machine-wide list of programs that Windows starts at logon.
#pragma once

#include <string>

#include "platform/ports.h"

namespace win32 {

inline constexpr char kRunKeyPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Values under HKEY_LOCAL_MACHINE\<kRunKeyPath>, names and data in the ANSI
// code page. Each call opens (creating if need be), acts and closes; every
// step runs even when the one before failed, and nothing is reported.
class RunKeyWin32 : public platform::RunKey {
 public:
  void SetString(const std::string& name, const std::string& data) override;
  void DeleteValue(const std::string& name) override;
};

}  // namespace win32
