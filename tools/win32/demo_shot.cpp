// Takes the picture of the tab control's demo for the documentation: starts
// examples/tab_demo, switches the top control's page with its access key,
// rests the pointer on one of its tabs (the hover highlight and the status
// line show it) and saves the window as a 24-bit BMP file, the path given
// as the first argument.
#include <windows.h>

#include <string>

#include "e2e/driver.h"
#include "screen_rect.h"

using namespace std::chrono_literals;

// A point on the top control's "About" tab, in the demo window's client
// area (the control's captions under Wine's Tahoma).
constexpr POINT kAboutTab{212, 24};

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  e2e::Process demo = e2e::Process::Start(e2e::HostPath(TAB_DEMO_EXE), L"", L"");
  HWND window = demo.FindWindowTitled(L"Quillmoor tab control demo", 10s);
  if (window == nullptr) return 1;
  SetWindowPos(window, HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE);
  SetForegroundWindow(window);
  Sleep(800);
  // Alt+C: the "Connection" page of the top control.
  PostMessageW(window, WM_SYSCHAR, L'c', 1 << 29);
  Sleep(600);
  // The pointer onto the top control's third tab ("About"), as a user's
  // would go: from the page up onto the tab strip.
  POINT at{kAboutTab.x, kAboutTab.y};
  ClientToScreen(window, &at);
  SetCursorPos(at.x - 40, at.y + 60);
  Sleep(200);
  SetCursorPos(at.x, at.y);
  Sleep(800);
  const bool saved = shots::SaveScreenRect(shots::WindowRect(window), e2e::HostPath(argv[1]));
  PostMessageW(window, WM_CLOSE, 0, 0);
  return saved && WaitForSingleObject(demo.handle(), 10000) == WAIT_OBJECT_0 ? 0 : 1;
}
