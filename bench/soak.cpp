// Long use under Wine: the real Brevolt.exe through ten thousand foreground
// switches with recording on (threshold 50), then ten thousand repaints of a
// tab control in this process. Prints the figures and exits non-zero when a
// check failed: a history above 51 rows, a priority class not as expected,
// memory growing after the warm-up (the first thousand switches), a process
// left raised after the program exited, or GDI objects left alive by the
// repaints.
// Usage: soak.exe [switches, default 10000] [repaints, default 10000]
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "app/control_ids.h"
#include "e2e/driver.h"
#include "tabctl/property_bag.h"
#include "win32/gdi_objects.h"
#include "win32/tab_control_window.h"
#include "win32/text.h"

using namespace std::chrono_literals;

namespace {

constexpr UINT_PTR kProgramTimer = 1;  // the main window's tick timer
constexpr int kMostRows = 51;          // threshold 50: the 51st row is the last before clearing
constexpr int kWarmUp = 1000;          // switches before memory is taken as settled
constexpr SIZE_T kMostGrowth = 256 * 1024;

SIZE_T WorkingSet(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  return GetProcessMemoryInfo(process, &counters, sizeof counters) ? counters.WorkingSetSize : 0;
}

// Committed private memory: the sum of committed private regions. Wine
// reports PrivateUsage as 0, so the address space is walked instead.
SIZE_T CommittedPrivate(HANDLE process) {
  SIZE_T total = 0;
  MEMORY_BASIC_INFORMATION region{};
  for (const char* address = nullptr;
       VirtualQueryEx(process, address, &region, sizeof region) == sizeof region;
       address = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
    if (region.RegionSize == 0) break;
  }
  return total;
}

const char* ClassName(DWORD cls) {
  switch (cls) {
    case NORMAL_PRIORITY_CLASS:
      return "NORMAL";
    case HIGH_PRIORITY_CLASS:
      return "HIGH";
    case REALTIME_PRIORITY_CLASS:
      return "REALTIME";
    case BELOW_NORMAL_PRIORITY_CLASS:
      return "BELOW_NORMAL";
    case ABOVE_NORMAL_PRIORITY_CLASS:
      return "ABOVE_NORMAL";
    case IDLE_PRIORITY_CLASS:
      return "IDLE";
    case 0:
      return "<unreadable>";
    default:
      return "other";
  }
}

void Pump() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}

struct SwitchFigures {
  bool ran = false;
  SIZE_T workingSetStart = 0, workingSetWarm = 0, workingSetEnd = 0;
  SIZE_T privateStart = 0, privateWarm = 0, privateEnd = 0;
  bool exited = false;
  DWORD hostClassesAfterExit[2] = {};
  int recordsAfterExit = -1;
  int maxRows = 0;
  int rowViolations = 0;
  int priorityMismatches = 0;
  int foregroundMisses = 0;  // the system kept another window in front
  int infoMismatches = 0;
  int clears = 0;
  double seconds = 0;
};

SwitchFigures SoakSwitches(int switches) {
  SwitchFigures f;
  // Acceleration on at the normal level, recording on, threshold 50.
  e2e::BrevoltApp app(
      "[Normal]\r\nEnableSpeed=1\r\n[Speed]\r\nSpeedLevel=1\r\n[Record]\r\nEnableRecord=1\r\nRecordCount="
      "50\r\n");
  if (!app.Started()) {
    std::printf("FAIL: Brevolt.exe did not show its main window\n");
    return f;
  }
  const std::wstring hostExe = e2e::HostPath(WINDOW_HOST_EXE);
  e2e::Process hosts[2] = {e2e::Process::Start(hostExe, L"Quill soak A", L""),
                           e2e::Process::Start(hostExe, L"Quill soak B", L"")};
  const std::string titles[2] = {"Quill soak A", "Quill soak B"};
  HWND windows[2] = {hosts[0].FindWindowTitled(L"Quill soak A", 10s),
                     hosts[1].FindWindowTitled(L"Quill soak B", 10s)};
  if (!windows[0] || !windows[1]) {
    std::printf("FAIL: the window hosts did not show their windows\n");
    return f;
  }
  HWND main = app.Main();
  HWND info = app.Control(app::kLabelInfo);
  HWND list = app.Control(app::kListViewHistory);
  // Let the program see its start-up state settle before measuring.
  SendMessageW(main, WM_TIMER, kProgramTimer, 0);
  f.workingSetStart = WorkingSet(app.process().handle());
  f.privateStart = CommittedPrivate(app.process().handle());
  f.ran = true;

  const auto start = std::chrono::steady_clock::now();
  int previousRows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < switches; ++i) {
    if (i == kWarmUp) {
      f.workingSetWarm = WorkingSet(app.process().handle());
      f.privateWarm = CommittedPrivate(app.process().handle());
    }
    if (i % 1000 == 0) std::printf("  switch %d\n", i);
    const int next = i % 2;
    HWND target = windows[next];
    const bool inFront = e2e::WaitUntil(
        [&] {
          if (GetForegroundWindow() != target) SetForegroundWindow(target);
          return GetForegroundWindow() == target;
        },
        2s);
    if (!inFront) {
      ++f.foregroundMisses;
      std::printf("switch %d: %s did not come to the front\n", i, titles[next].c_str());
      continue;
    }
    // One tick now, instead of waiting for the program's own second.
    SendMessageW(main, WM_TIMER, kProgramTimer, 0);

    const int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    if (rows < previousRows) ++f.clears;
    previousRows = rows;
    if (rows > f.maxRows) f.maxRows = rows;
    if (rows > kMostRows) {
      ++f.rowViolations;
      std::printf("switch %d: %d rows in the history\n", i, rows);
    }
    const DWORD front = hosts[next].PriorityClass();
    const DWORD back = hosts[1 - next].PriorityClass();
    if (front != HIGH_PRIORITY_CLASS || back != NORMAL_PRIORITY_CLASS) {
      ++f.priorityMismatches;
      std::printf("switch %d: foreground %s is %s, previous is %s\n", i, titles[next].c_str(),
                  ClassName(front), ClassName(back));
    }
    const std::string shown = e2e::TextOf(info);
    if (shown != titles[next]) {
      ++f.infoMismatches;
      std::printf("switch %d: LabelInfo shows \"%s\"\n", i, shown.c_str());
    }
  }
  f.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  f.workingSetEnd = WorkingSet(app.process().handle());
  f.privateEnd = CommittedPrivate(app.process().handle());
  if (!app.process().Running()) {
    std::printf("FAIL: Brevolt.exe is no longer running\n");
    f.ran = false;
    return f;
  }
  // Exit through the question: nothing the program raised may stay raised.
  PostMessageW(main, WM_CLOSE, 0, 0);
  HWND box = e2e::WaitForWindowOfClass(app.process().id(), L"#32770", 5s);
  if (box) e2e::PressButton(box, IDYES);
  f.exited = box && WaitForSingleObject(app.process().handle(), 10000) == WAIT_OBJECT_0;
  for (int h = 0; h < 2; ++h) f.hostClassesAfterExit[h] = hosts[h].PriorityClass();
  HKEY key = nullptr;
  f.recordsAfterExit = 0;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Quillmoor\\Brevolt\\Raised", 0, KEY_QUERY_VALUE, &key) ==
      ERROR_SUCCESS) {
    DWORD values = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                     nullptr, nullptr);
    f.recordsAfterExit = static_cast<int>(values);
    RegCloseKey(key);
  }
  return f;
}

struct RepaintFigures {
  bool ran = false;
  long gdiBefore = 0, gdiWarm = 0, gdiDuring = 0, gdiAfter = 0;
  double seconds = 0;
};

LRESULT CALLBACK HolderProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

RepaintFigures SoakRepaints(int repaints) {
  RepaintFigures f;
  WNDCLASSW wc{};
  wc.lpfnWndProc = HolderProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"QuillSoakHolder";
  RegisterClassW(&wc);
  HWND holder = CreateWindowW(wc.lpszClassName, L"Quill soak tabs", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 50,
                              50, 640, 420, nullptr, nullptr, wc.hInstance, nullptr);
  if (!holder) {
    std::printf("FAIL: no holder window\n");
    return f;
  }
  ShowWindow(holder, SW_SHOWNORMAL);
  f.gdiBefore = win32::LiveGdiTotal();
  {
    auto tabs = win32::TabControlWindow::Create(holder, 1, 8, 8, 600, 360);
    if (!tabs) {
      std::printf("FAIL: no tab control window\n");
      DestroyWindow(holder);
      return f;
    }
    tabctl::ucPageTab& control = tabs->Control();
    control.ReadProperties(tabctl::ParsePropertyText("TabCount = 4\n").bag);  // the program's four pages
    const char* captions[] = {"加速状态", "系统设置", "加速记录", "关于"};
    for (int i = 0; i < 4; ++i) control.SetTabCaption(i, captions[i]);
    RedrawWindow(tabs->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Pump();
    f.gdiWarm = win32::LiveGdiTotal();  // after a first paint: the control's own lasting objects
    const auto start = std::chrono::steady_clock::now();
    for (int n = 0; n < repaints; ++n) {
      // A tab switch every fourth round, a plain full repaint otherwise;
      // both paint through the window's own WM_PAINT at once.
      if (n % 4 == 0)
        control.SetActiveTab((n / 4) % 4);
      else
        control.Refresh();
      RedrawWindow(tabs->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      if (n % 256 == 0) Pump();
    }
    Pump();
    f.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    f.gdiDuring = win32::LiveGdiTotal();
  }
  DestroyWindow(holder);
  Pump();
  f.gdiAfter = win32::LiveGdiTotal();
  f.ran = true;
  return f;
}

}  // namespace

int main(int argc, char** argv) try {
  std::setvbuf(stdout, nullptr, _IONBF, 0);  // progress shows even if the run is cut short
  const int switches = argc > 1 ? std::atoi(argv[1]) : 10000;
  const int repaints = argc > 2 ? std::atoi(argv[2]) : 10000;

  std::printf("%d foreground switches through Brevolt.exe...\n", switches);
  const SwitchFigures s = SoakSwitches(switches);
  std::printf("%d repaints of a tab control...\n", repaints);
  const RepaintFigures r = SoakRepaints(repaints);

  // Memory is judged after the warm-up, when there was one.
  const bool warm = switches > kWarmUp;
  const SIZE_T baseSet = warm ? s.workingSetWarm : s.workingSetStart;
  const SIZE_T basePrivate = warm ? s.privateWarm : s.privateStart;
  const bool memoryFlat = s.workingSetEnd < baseSet + kMostGrowth && s.privateEnd < basePrivate + kMostGrowth;
  const bool nothingRaised = s.exited && s.hostClassesAfterExit[0] == NORMAL_PRIORITY_CLASS &&
                             s.hostClassesAfterExit[1] == NORMAL_PRIORITY_CLASS && s.recordsAfterExit == 0;
  const bool switchesOk = s.ran && s.rowViolations == 0 && s.priorityMismatches == 0 &&
                          s.foregroundMisses == 0 && s.infoMismatches == 0 && memoryFlat && nothingRaised;
  const bool repaintsOk = r.ran && r.gdiDuring == r.gdiWarm && r.gdiAfter == r.gdiBefore;
  std::printf("\n== soak summary\n");
  std::printf("foreground switches:   %d in %.1f s (%d not brought to the front)\n", switches, s.seconds,
              s.foregroundMisses);
  std::printf(
      "Brevolt working set:   %.1f KiB at start, %.1f KiB after %d switches, %.1f KiB at end (%+.1f KiB)\n",
      static_cast<double>(s.workingSetStart) / 1024.0, static_cast<double>(s.workingSetWarm) / 1024.0,
      kWarmUp, static_cast<double>(s.workingSetEnd) / 1024.0,
      (static_cast<double>(s.workingSetEnd) - static_cast<double>(baseSet)) / 1024.0);
  std::printf(
      "committed private:     %.1f KiB at start, %.1f KiB after %d switches, %.1f KiB at end (%+.1f KiB)\n",
      static_cast<double>(s.privateStart) / 1024.0, static_cast<double>(s.privateWarm) / 1024.0, kWarmUp,
      static_cast<double>(s.privateEnd) / 1024.0,
      (static_cast<double>(s.privateEnd) - static_cast<double>(basePrivate)) / 1024.0);
  std::printf("after exit:            %s; hosts %s and %s; %d records left\n",
              s.exited ? "exited on Yes" : "DID NOT EXIT", ClassName(s.hostClassesAfterExit[0]),
              ClassName(s.hostClassesAfterExit[1]), s.recordsAfterExit);
  std::printf("history rows:          max %d (limit %d), %d over the limit, cleared %d times\n", s.maxRows,
              kMostRows, s.rowViolations, s.clears);
  std::printf("priority mismatches:   %d\n", s.priorityMismatches);
  std::printf("LabelInfo mismatches:  %d\n", s.infoMismatches);
  std::printf("tab repaints:          %d in %.2f s\n", repaints, r.seconds);
  std::printf(
      "live GDI objects:      %ld before the control, %ld after its first paint, %ld after the last,"
      " %ld once it is gone\n",
      r.gdiBefore, r.gdiWarm, r.gdiDuring, r.gdiAfter);
  std::printf("result:                %s\n", switchesOk && repaintsOk ? "PASS" : "FAIL");
  return switchesOk && repaintsOk ? 0 : 1;
} catch (const std::exception& e) {
  std::printf("FAIL: %s\n", e.what());
  return 1;
}
