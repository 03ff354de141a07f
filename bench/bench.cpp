// Measures, in one run under the same conditions: the cost of an unchanged
// tick against the bare foreground query and title read, start-up time and
// working set against a minimal window program, idle CPU use, and the size
// of Brevolt.exe.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "e2e/driver.h"
#include "engine/acceleration.h"
#include "platform/texts.h"
#include "platform/win32/controls.h"
#include "platform/win32/raised_records_win32.h"
#include "platform/win32/system_ports.h"
#include "platform/win32/text.h"

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Nanoseconds per call of f, median of several rounds.
template <typename F>
double NanosPerCall(F&& f, int calls = 20000, int rounds = 9) {
  std::vector<double> samples;
  for (int r = 0; r < rounds; ++r) {
    const auto start = Clock::now();
    for (int i = 0; i < calls; ++i) f();
    samples.push_back(std::chrono::duration<double, std::nano>(Clock::now() - start).count() / calls);
  }
  return Median(samples);
}

double TickRatio() {
  // The tick's real ports and real controls on a hidden window.
  HWND owner = CreateWindowW(L"STATIC", L"bench", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
  HWND check = CreateWindowW(L"BUTTON", L"", WS_CHILD | BS_AUTOCHECKBOX, 0, 0, 10, 10, owner, nullptr, nullptr, nullptr);
  HWND combo = CreateWindowW(L"COMBOBOX", L"", WS_CHILD | CBS_DROPDOWNLIST, 0, 0, 10, 100, owner, nullptr, nullptr, nullptr);
  HWND label = CreateWindowW(L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, owner, nullptr, nullptr, nullptr);
  HWND list = CreateWindowW(WC_LISTVIEWW, L"", WS_CHILD | LVS_REPORT, 0, 0, 10, 10, owner, nullptr, nullptr, nullptr);
  SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
  win32::SystemForegroundWindows windows;
  win32::SystemProcessPriorities processes;
  win32::SystemClock clock;
  win32::SystemAnsiCodePage codePage;
  win32::WindowControls controls({check, combo, check, label, label, nullptr});
  win32::ListViewHistory history(list, combo);
  win32::RegistryRaisedRecords records;
  engine::AccelerationState state;
  const engine::AccelerationPorts ports{windows, processes, clock, codePage, controls, history, records};
  engine::Tick(state, ports);  // the change; every later tick is unchanged

  const double tick = NanosPerCall([&] { engine::Tick(state, ports); });
  const double bare = NanosPerCall([&] {
    wchar_t title[512];
    GetWindowTextW(GetForegroundWindow(), title, 512);
  });
  std::printf("unchanged tick: %.0f ns; bare foreground + title: %.0f ns\n", tick, bare);
  engine::PutBackRaised(state, ports);
  DestroyWindow(owner);
  return tick / bare;
}

struct Started {
  double millis = 0;
  SIZE_T workingSet = 0;
};

// From process start until its window is shown and its message loop answers.
Started StartAndMeasure(const std::wstring& exe, const std::wstring& title, const std::filesystem::path& dir,
                        e2e::Process* keep = nullptr) {
  const auto start = Clock::now();
  e2e::Process process = e2e::Process::Start(exe, L"", dir.wstring());
  HWND window = nullptr;
  e2e::WaitUntil(
      [&] {
        window = FindWindowW(nullptr, title.c_str());
        return window && IsWindowVisible(window);
      },
      std::chrono::seconds(20));
  DWORD_PTR ignored;
  SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
  Started result;
  result.millis = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  Sleep(500);
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(process.handle(), &counters, sizeof counters);
  result.workingSet = counters.WorkingSetSize;
  if (keep) *keep = std::move(process);
  return result;
}

double CpuSeconds(HANDLE process) {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(process, &created, &exited, &kernel, &user);
  auto seconds = [](FILETIME t) {
    return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
}

}  // namespace

int main(int argc, char** argv) {
  const int idleSeconds = argc > 1 ? std::atoi(argv[1]) : 60;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);

  const double ratio = TickRatio();
  std::printf("tick ratio: %.2f (aim <= 1.1)\n", ratio);

  e2e::TempFolder folder;
  const auto brevolt = folder.path() / L"Brevolt.exe";
  std::filesystem::copy_file(e2e::HostPath(BREVOLT_EXE), brevolt);
  const std::wstring minimal = e2e::HostPath(MINIMAL_WINDOW_EXE);

  std::vector<double> brevoltMs, minimalMs;
  SIZE_T brevoltWs = 0, minimalWs = 0;
  for (int i = 0; i < 5; ++i) {
    const Started m = StartAndMeasure(minimal, L"Quill minimal", folder.path());
    minimalMs.push_back(m.millis);
    minimalWs = m.workingSet;
    const Started b = StartAndMeasure(brevolt.wstring(), platform::kMainCaptionW, folder.path());
    brevoltMs.push_back(b.millis);
    brevoltWs = b.workingSet;
  }
  std::printf("start-up to first paint: Brevolt %.0f ms, minimal %.0f ms, ratio %.2f (aim <= 1.5)\n",
              Median(brevoltMs), Median(minimalMs), Median(brevoltMs) / Median(minimalMs));
  std::printf("working set after start-up: Brevolt %.1f MiB, minimal %.1f MiB, ratio %.2f (aim <= 1.5)\n",
              static_cast<double>(brevoltWs) / 1048576.0, static_cast<double>(minimalWs) / 1048576.0,
              static_cast<double>(brevoltWs) / static_cast<double>(minimalWs));

  e2e::Process idle;
  StartAndMeasure(brevolt.wstring(), platform::kMainCaptionW, folder.path(), &idle);
  const double before = CpuSeconds(idle.handle());
  Sleep(idleSeconds * 1000);
  const double used = CpuSeconds(idle.handle()) - before;
  std::printf("idle CPU over %d s: %.3f s, %.4f %% of a core (aim < 0.1 %%)\n", idleSeconds, used,
              100.0 * used / idleSeconds);

  std::printf("Brevolt.exe: %llu bytes\n",
              static_cast<unsigned long long>(std::filesystem::file_size(brevolt)));
  return 0;
}
