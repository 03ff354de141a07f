// Functions of system libraries the program needs only now and then (the
// file dialog, the visual-style name): loaded on first use, so that start-up
// does not pay for them.
#pragma once

#include <windows.h>

namespace win32 {

// The function `name` of `library` as a pointer of type F, or null when the
// library or the function is missing. The library stays loaded.
template <typename F>
F LazyProc(const wchar_t* library, const char* name) {
  HMODULE module = GetModuleHandleW(library);
  if (!module) module = LoadLibraryW(library);
  return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace win32
