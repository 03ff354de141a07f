// The priority operation against real processes.
#include <gtest/gtest.h>

#include "e2e/driver.h"
#include "engine/priority.h"
#include "platform/win32/system_ports.h"

using namespace std::chrono_literals;

namespace {

struct PriorityWin32 : ::testing::Test {
  win32::SystemProcessPriorities processes;
  win32::SystemForegroundWindows windows;

  std::uint32_t Set(std::uint32_t pid, HWND window, std::uint32_t cls) {
    return engine::SetWindowProcessPriority(processes, windows, pid,
                                            reinterpret_cast<platform::WindowHandle>(window), cls);
  }
};

TEST_F(PriorityWin32, ChangesAnotherProcessByIdAndByWindow) {
  e2e::Process host = e2e::Process::Start(e2e::HostPath(WINDOW_HOST_EXE), L"Quill priority host", L"");
  ASSERT_NE(host.handle(), nullptr);
  HWND window = host.FindWindowTitled(L"Quill priority host", 10s);
  ASSERT_NE(window, nullptr);

  EXPECT_EQ(Set(host.id(), nullptr, HIGH_PRIORITY_CLASS), HIGH_PRIORITY_CLASS);
  EXPECT_EQ(host.PriorityClass(), HIGH_PRIORITY_CLASS);

  // Realtime may be granted or lowered to high by the system; the result tells.
  const auto granted = Set(0, window, REALTIME_PRIORITY_CLASS);
  EXPECT_TRUE(granted == REALTIME_PRIORITY_CLASS || granted == HIGH_PRIORITY_CLASS) << granted;
  EXPECT_EQ(host.PriorityClass(), granted);

  EXPECT_EQ(Set(0, window, NORMAL_PRIORITY_CLASS), NORMAL_PRIORITY_CLASS);
  EXPECT_EQ(host.PriorityClass(), NORMAL_PRIORITY_CLASS);
}

TEST_F(PriorityWin32, NoIdAndNoWindowMeansTheOwnProcess) {
  EXPECT_EQ(Set(0, nullptr, HIGH_PRIORITY_CLASS), HIGH_PRIORITY_CLASS);
  EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), HIGH_PRIORITY_CLASS);
  EXPECT_EQ(Set(0, nullptr, NORMAL_PRIORITY_CLASS), NORMAL_PRIORITY_CLASS);
  EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), NORMAL_PRIORITY_CLASS);
}

TEST_F(PriorityWin32, DestroyedWindowGivesZeroAndTouchesNothing) {
  HWND window = CreateWindowW(L"STATIC", L"gone", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  DestroyWindow(window);
  EXPECT_EQ(Set(0, window, HIGH_PRIORITY_CLASS), 0u);
  EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), NORMAL_PRIORITY_CLASS);
}

}  // namespace
