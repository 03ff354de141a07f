// A second yardstick for start-up: the windows Brevolt makes and nothing
// else. The same manifest (common controls 6), the main window of the same
// size, every control of its table with the same class and style, and a
// tooltip; no fonts, no pictures, no settings, no tray icon. What Brevolt
// takes beyond this is its own work. It marks its steps as Brevolt does
// (BREVOLT_STARTUP_MARKS).
#include <windows.h>
#include <commctrl.h>

#include "app/form_layout.h"
#include "app/startup_marks.h"
#include "plain_window.h"

namespace {

int Px(int twips) { return MulDiv(twips, 96, 1440); }

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  app::StartupMark("entry");
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  app::StartupMark("icc");
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  RECT rect{0, 0, Px(8790), Px(6855)};
  AdjustWindowRectEx(&rect, style, FALSE, 0);
  HWND hwnd = CreateWindowExW(WS_EX_CONTROLPARENT, RegisterPlainClass(instance, L"QuillControls"),
                              L"Quill controls", style, CW_USEDEFAULT, CW_USEDEFAULT, rect.right - rect.left,
                              rect.bottom - rect.top, nullptr, nullptr, instance, nullptr);
  app::StartupMark("window");
  // The tab control's place, as a plain child window.
  HWND pages = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, Px(120), Px(960),
                               Px(8535), Px(5295), hwnd, nullptr, instance, nullptr);
  for (const app::ControlRow& row : app::MainWindowControls()) {
    const bool onPage = row.page != app::kOnWindow;
    // Pages out of sight stand beside the visible one, as the tab control keeps them.
    const int left = Px(row.left) + (onPage ? row.page * Px(10000) : 0);
    app::StartupSpan span(app::CreationKind(row.cls));
    CreateWindowExW(0, row.cls, L"", WS_CHILD | WS_VISIBLE | row.style, left, Px(row.top), Px(row.width),
                    Px(row.height), onPage ? pages : hwnd, nullptr, instance, nullptr);
  }
  app::StartupMark("controls");
  CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0,
                  0, hwnd, nullptr, instance, nullptr);
  app::StartupMark("tooltip");
  ShowWindow(hwnd, SW_SHOWNORMAL);
  app::StartupMark("show");
  UpdateWindow(hwnd);
  app::StartupMark("paint");
  app::WriteStartupMarks();
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
