// The yardstick for start-up time and memory: the smallest Win32 program
// with a window, built exactly as Brevolt.exe is.
#include <windows.h>

#include "plain_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  HWND hwnd = CreateWindowW(RegisterPlainClass(instance, L"QuillMinimal"), L"Quill minimal",
                            WS_OVERLAPPEDWINDOW, 0, 0, 600, 500, nullptr, nullptr, instance, nullptr);
  ShowWindow(hwnd, SW_SHOWNORMAL);
  UpdateWindow(hwnd);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
