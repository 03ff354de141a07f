// A process whose security descriptor denies changing its priority: the
// operation falls back to reading the class, reports it and changes nothing.
#include <windows.h>
#include <gtest/gtest.h>

#include "e2e/driver.h"
#include "engine/priority.h"
#include "win32/system_ports.h"

using namespace std::chrono_literals;

namespace {

// Everyone is denied PROCESS_SET_INFORMATION and allowed everything else.
constexpr wchar_t kDenySetInformation[] = L"D:(D;;0x0200;;;WD)(A;;GA;;;WD)";

TEST(PriorityRefusedWin32, ProcessDenyingSetRightsKeepsItsClassAndReportsIt) {
  e2e::Process host =
      e2e::Process::Start(e2e::HostPath(WINDOW_HOST_EXE), L"Quill guarded host", L"", kDenySetInformation);
  ASSERT_NE(host.handle(), nullptr);
  HWND window = host.FindWindowTitled(L"Quill guarded host", 10s);
  ASSERT_NE(window, nullptr);
  // The system really refuses: otherwise this test proves nothing.
  HANDLE opened = OpenProcess(PROCESS_SET_INFORMATION, FALSE, host.id());
  ASSERT_EQ(opened, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));

  win32::SystemProcessPriorities processes;
  win32::SystemForegroundWindows windows;
  EXPECT_EQ(engine::SetWindowProcessPriority(processes, windows, host.id(), 0, HIGH_PRIORITY_CLASS),
            static_cast<std::uint32_t>(NORMAL_PRIORITY_CLASS));
  EXPECT_EQ(
      engine::SetWindowProcessPriority(
          processes, windows, 0, reinterpret_cast<platform::WindowHandle>(window), REALTIME_PRIORITY_CLASS),
      static_cast<std::uint32_t>(NORMAL_PRIORITY_CLASS));
  EXPECT_EQ(host.PriorityClass(), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
  // Our own process was not raised in its place.
  EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
}

}  // namespace
