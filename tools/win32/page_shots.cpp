// Takes pictures of the running program for the documentation: each page of
// the main window, and the tray menu. Writes 24-bit BMP files into the
// folder given as the first argument.
#include <windows.h>

#include <string>

#include "app/control_ids.h"
#include "e2e/driver.h"
#include "screen_rect.h"

using namespace std::chrono_literals;
using shots::SaveScreenRect;
using shots::WindowRect;

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::wstring folder = e2e::HostPath(argv[1]);
  // Acceleration and recording on, so the status and history pages have content.
  e2e::BrevoltApp app(
      "[Normal]\r\nEnableSpeed=1\r\n[Speed]\r\nSpeedLevel=1\r\n[Record]\r\nEnableRecord=1\r\n"
      "RecordCount=100\r\n");
  if (!app.Started()) return 1;
  HWND main = app.Main();
  e2e::Process host = e2e::Process::Start(e2e::HostPath(WINDOW_HOST_EXE), L"记事本 - 无标题", L"");
  HWND other = host.FindWindowTitled(L"记事本 - 无标题", 10s);
  for (HWND w : {other, main, other, main}) {
    SetForegroundWindow(w);
    Sleep(1200);
  }
  SetWindowPos(main, HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE);
  HWND tabs = app.Control(app::kSSTabMain);
  const wchar_t* names[] = {L"page-status.bmp", L"page-settings.bmp", L"page-history.bmp", L"page-about.bmp"};
  // The window opens on the last page; Right arrow goes round to the first.
  for (int page = 0; page < 4; ++page) {
    SendMessageW(tabs, WM_KEYDOWN, VK_RIGHT, 0);
    Sleep(400);
    SaveScreenRect(WindowRect(main), folder + L"\\" + names[page]);
  }
  PostMessageW(main, 2025, 0, WM_RBUTTONDOWN);
  Sleep(800);
  HWND menu = FindWindowW(L"#32768", nullptr);
  RECT shot = WindowRect(main);
  if (menu) {
    const RECT m = WindowRect(menu);
    UnionRect(&shot, &shot, &m);
  }
  SaveScreenRect(shot, folder + L"\\tray-menu.bmp");
  keybd_event(VK_ESCAPE, 0, 0, 0);
  keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
  return 0;
}
