// The yardsticks' window class: a plain window on the dialog colour that
// ends the program when it goes, the same for both.
#pragma once

#include <windows.h>

inline LRESULT CALLBACK PlainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

// Registers the class `name` and gives the name back for CreateWindow.
inline const wchar_t* RegisterPlainClass(HINSTANCE instance, const wchar_t* name) {
  const auto face = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  // Style, procedure, class and window extra bytes, instance, icon, cursor,
  // background, menu, name.
  const WNDCLASSW plain{0, PlainWindowProc, 0, 0, instance, nullptr, nullptr, face, nullptr, name};
  RegisterClassW(&plain);
  return name;
}
