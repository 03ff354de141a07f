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
  WNDCLASSW wc{};
  wc.lpfnWndProc = PlainWindowProc;
  wc.hInstance = instance;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = name;
  RegisterClassW(&wc);
  return name;
}
