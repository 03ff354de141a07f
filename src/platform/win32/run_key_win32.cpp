#include "platform/win32/run_key_win32.h"

#include <windows.h>

#include "platform/win32/text.h"
#include "platform/win32/unique_handle.h"

namespace win32 {
namespace {

// Without the right to change machine-wide settings this fails and the
// calls after it fail as well, leaving the registry unchanged.
UniqueRegKey OpenRunKey() {
  HKEY key = nullptr;
  RegCreateKeyA(HKEY_LOCAL_MACHINE, kRunKeyPath, &key);
  return UniqueRegKey(key);
}

}  // namespace

void RunKeyWin32::SetString(const std::string& name, const std::string& data) {
  const UniqueRegKey key = OpenRunKey();
  const std::string ansiData = Utf8ToAnsi(data);
  // REG_SZ data counts its terminating zero.
  RegSetValueExA(key.get(), Utf8ToAnsi(name).c_str(), 0, REG_SZ,
                 reinterpret_cast<const BYTE*>(ansiData.c_str()), static_cast<DWORD>(ansiData.size() + 1));
}

void RunKeyWin32::DeleteValue(const std::string& name) {
  const UniqueRegKey key = OpenRunKey();
  RegDeleteValueA(key.get(), Utf8ToAnsi(name).c_str());
}

}  // namespace win32
