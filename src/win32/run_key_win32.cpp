#include "win32/run_key_win32.h"

#include <windows.h>

#include "win32/text.h"
#include "win32/unique_handle.h"

namespace win32 {
namespace {

HKEY Root(platform::RunScope scope) {
  return scope == platform::RunScope::MachineWide ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

// Without the right to change machine-wide settings, opening may still
// work while setting or deleting a value is refused.
UniqueRegKey OpenRunKey(platform::RunScope scope) {
  HKEY key = nullptr;
  if (RegCreateKeyA(Root(scope), kRunKeyPath, &key) != ERROR_SUCCESS) return {};
  return UniqueRegKey(key);
}

// The program's own view (0) and the 32-bit one.
constexpr REGSAM kViews[] = {0, KEY_WOW64_32KEY};

// Only a value that is certainly gone counts as gone.
bool ValueLeft(HKEY root, const std::string& ansiName, REGSAM view) {
  HKEY key = nullptr;
  const LONG opened = RegOpenKeyExA(root, kRunKeyPath, 0, KEY_QUERY_VALUE | view, &key);
  if (opened == ERROR_FILE_NOT_FOUND) return false;
  if (opened != ERROR_SUCCESS) return true;
  const UniqueRegKey owned(key);
  return RegQueryValueExA(key, ansiName.c_str(), nullptr, nullptr, nullptr, nullptr) != ERROR_FILE_NOT_FOUND;
}

// The switches sit in the 64-bit view, for the values of either view.
const wchar_t* OwnViewSwitchPath() {
#ifdef _WIN64
  return kStartupSwitchPath;
#else
  BOOL wow64 = FALSE;
  return IsWow64Process(GetCurrentProcess(), &wow64) && wow64 ? kStartupSwitch32Path : kStartupSwitchPath;
#endif
}

bool ValuePresent(HKEY root, const std::wstring& name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, kRunKeyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  const UniqueRegKey owned(key);
  return RegQueryValueExW(key, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

}  // namespace

bool RunKeyWin32::SetString(platform::RunScope scope, const std::string& name, const std::string& data) {
  const UniqueRegKey key = OpenRunKey(scope);
  if (!key) return false;
  // Stored through the wide form: a folder named outside the ANSI code page
  // (Chinese on a Western Windows) would otherwise be stored with question
  // marks, and the entry would start nothing.
  const std::wstring wide = Widen(data);
  // REG_SZ data counts its terminating zero.
  return RegSetValueExW(key.get(), Widen(name).c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(wide.c_str()),
                        static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool RunKeyWin32::MaySetValues(platform::RunScope scope) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(Root(scope), kRunKeyPath, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

bool RunKeyWin32::DeleteValue(platform::RunScope scope, const std::string& name) {
  const std::string ansiName = Utf8ToAnsi(name);
  if (const UniqueRegKey key = OpenRunKey(scope)) RegDeleteValueA(key.get(), ansiName.c_str());
  HKEY key = nullptr;
  if (RegOpenKeyExA(Root(scope), kRunKeyPath, 0, KEY_SET_VALUE | KEY_WOW64_32KEY, &key) == ERROR_SUCCESS) {
    const UniqueRegKey owned(key);
    RegDeleteValueA(key, ansiName.c_str());
  }
  for (REGSAM view : kViews) {
    if (ValueLeft(Root(scope), ansiName, view)) return false;
  }
  return true;
}

bool RunKeyWin32::SwitchedOff(platform::RunScope scope, const std::string& name) {
  const std::wstring wide = Widen(name);
  if (!ValuePresent(Root(scope), wide)) return false;
  HKEY key = nullptr;
  if (RegOpenKeyExW(Root(scope), OwnViewSwitchPath(), 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &key) !=
      ERROR_SUCCESS) {
    return false;
  }
  const UniqueRegKey owned(key);
  BYTE data[64] = {};
  DWORD size = sizeof data;
  DWORD type = 0;
  if (RegQueryValueExW(key, wide.c_str(), nullptr, &type, data, &size) != ERROR_SUCCESS) return false;
  // 2 or 6 on, 3 or 7 off; then the time it was switched off.
  return type == REG_BINARY && size >= 1 && (data[0] & 1) != 0;
}

bool RunKeyWin32::DeleteSwitch(platform::RunScope scope, const std::string& name) {
  const std::wstring wide = Widen(name);
  bool gone = true;
  for (const wchar_t* path : {kStartupSwitchPath, kStartupSwitch32Path}) {
    HKEY key = nullptr;
    const LONG opened = RegOpenKeyExW(Root(scope), path, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, &key);
    if (opened == ERROR_FILE_NOT_FOUND) continue;
    if (opened != ERROR_SUCCESS) {
      gone = false;
      continue;
    }
    const UniqueRegKey owned(key);
    const LONG deleted = RegDeleteValueW(key, wide.c_str());
    if (deleted != ERROR_SUCCESS && deleted != ERROR_FILE_NOT_FOUND) gone = false;
  }
  return gone;
}

}  // namespace win32
