// Brevolt.exe: raises the priority of the program the user is working with.
#include <windows.h>
#include <commctrl.h>

#include "app/form_main.h"
#include "app/startup_marks.h"
#include "quillmoor/pagetab/page_tab_window.h"
#include "win32/failure_trace.h"
#include "win32/lazy_library.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // Before anything loads a library: the program is often started from
  // Downloads, and sometimes as administrator.
  app::StartupMark("entry");
  win32::RestrictLibrarySearch();
  app::StartupMark("library-search");
  // A step skipped after a failure leaves a line for DebugView.
  win32::TraceSkippedFailures();
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  app::StartupMark("common-controls");
  // The form lives until the loop has ended: its window may go while code
  // below a modal loop still runs on the form.
  std::unique_ptr<app::FormMain> form = app::FormMain::Create(instance);
  if (!form) return 1;
  app::StartupMark("loop");
  app::WriteStartupMarks();
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (win32::TabControlWindow::RouteAccessKey(msg)) continue;
    if (form->TranslateKeys(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  form.reset();
  return static_cast<int>(msg.wParam);
}
