// Functions of system libraries the program needs only now and then (the
// file dialog, the visual-style name): loaded on first use, so that start-up
// does not pay for them, and only ever from the system folder.
//
// The program is run from folders like Downloads, which hold whatever else
// the browser saved, and sometimes as administrator: a library searched for
// by its bare name would be taken from the program's own folder first.
#pragma once

#include <windows.h>
#include <oleacc.h>

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
//
// Some system code searches with rules of its own that ignore that limit
// (the visual-style library's delayed loads under Wine look beside the
// program first), and Windows 7 without the update has no limit at all. The
// libraries it asks for by bare name are loaded here from the system folder
// by full path, so that such a search finds them already loaded. They stay
// loaded.
inline void RestrictLibrarySearch() {
  HeapSetInformation(nullptr, HeapEnableTerminationOnCorruption, nullptr, 0);
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  const auto setDefaultDllDirectories = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
  if (setDefaultDllDirectories) setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  SetDllDirectoryW(L"");
  for (const wchar_t* name : {L"msimg32.dll", L"ole32.dll"}) LoadLibraryFromSystemFolder(name);
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

// Makes the calling thread a single-threaded COM apartment, for good (an
// object handed out lives as long); true also when it already is one.
// Joined at the first need (a screen reader's request, a shell handler or
// file dialog that is a COM object), not at start-up: loading COM is start-up
// time nothing on screen needs.
inline bool JoinComApartment() {
  static thread_local const bool joined = [] {
    using CoInitializeExFn = HRESULT(WINAPI*)(void*, DWORD);
    const auto coInitializeEx = LazyProc<CoInitializeExFn>(L"ole32.dll", "CoInitializeEx");
    return coInitializeEx != nullptr &&
           SUCCEEDED(coInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
  }();
  return joined;
}

// The few functions of oleacc, oleaut32 and ole32 that answering a screen
// reader needs, from the system folder, found at the first request (the
// program imports none of these libraries).
struct AccessibilityLibrary {
  using LresultFromObjectFn = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
  using CreateStdAccessibleObjectFn = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
  using SysAllocStringFn = BSTR(WINAPI*)(const OLECHAR*);

  LresultFromObjectFn lresultFromObject = nullptr;
  CreateStdAccessibleObjectFn createStdAccessibleObject = nullptr;
  SysAllocStringFn sysAllocString = nullptr;

  bool Complete() const { return lresultFromObject && createStdAccessibleObject && sysAllocString; }
  // Null when any of them is missing.
  static const AccessibilityLibrary* Get() {
    static const AccessibilityLibrary library = [] {
      AccessibilityLibrary l;
      l.lresultFromObject = LazyProc<LresultFromObjectFn>(L"oleacc.dll", "LresultFromObject");
      l.createStdAccessibleObject =
          LazyProc<CreateStdAccessibleObjectFn>(L"oleacc.dll", "CreateStdAccessibleObject");
      l.sysAllocString = LazyProc<SysAllocStringFn>(L"oleaut32.dll", "SysAllocString");
      return l;
    }();
    return library.Complete() ? &library : nullptr;
  }
};

}  // namespace win32
