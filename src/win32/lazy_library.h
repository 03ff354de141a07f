// Functions of system libraries the program needs only now and then (the
// file dialog, the visual-style name): loaded on first use, so that start-up
// does not pay for them, and only ever from the system folder.
//
// The program is run from folders like Downloads, which hold whatever else
// the browser saved, and sometimes as administrator: a library searched for
// by its bare name would be taken from the program's own folder first.
#pragma once

#include <windows.h>

#include <cwchar>

namespace win32 {

// `name` (a bare file name such as L"uxtheme.dll") loaded from the system
// folder by its full path; null when it is not there. Libraries it needs in
// turn are looked for beside it first.
inline HMODULE LoadLibraryFromSystemFolder(const wchar_t* name) {
  wchar_t path[MAX_PATH];
  const UINT folder = GetSystemDirectoryW(path, MAX_PATH);
  if (folder == 0 || folder + 1 + std::wcslen(name) >= MAX_PATH) return nullptr;
  path[folder] = L'\\';
  std::wcscpy(path + folder + 1, name);
  return LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

// `name` loaded from the system folder only. Windows 7 without its loader
// update does not know the search flag and refuses it as an invalid
// parameter: then the full path does the same.
inline HMODULE LoadSystemLibrary(const wchar_t* name) {
  HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (module != nullptr || GetLastError() != ERROR_INVALID_PARAMETER) return module;
  return LoadLibraryFromSystemFolder(name);
}

// For the whole process, before anything else is loaded: libraries loaded by
// bare name (by the program or by system code on its behalf) come from the
// system folder, never from the program's folder or the current folder.
// SetDefaultDllDirectories is looked up because Windows 7 has it only with
// its loader update. A corrupted heap ends the process instead of going on.
inline void RestrictLibrarySearch() {
  HeapSetInformation(nullptr, HeapEnableTerminationOnCorruption, nullptr, 0);
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  const auto setDefaultDllDirectories = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
  if (setDefaultDllDirectories) setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  SetDllDirectoryW(L"");
}

// The function `name` of the system library `library` as a pointer of type
// F, or null when the library or the function is missing. The library stays
// loaded.
template <typename F>
F LazyProc(const wchar_t* library, const char* name) {
  HMODULE module = GetModuleHandleW(library);
  if (!module) module = LoadSystemLibrary(library);
  return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace win32
