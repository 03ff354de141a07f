#include "engine/priority.h"

#include <gtest/gtest.h>

#include "fakes.h"

using engine::SetWindowProcessPriority;

namespace {

struct PriorityTest : ::testing::Test {
  fakes::Processes processes;
  fakes::Windows windows;
  void SetUp() override {
    processes.processes[1000] = {};  // our own
    processes.processes[7] = {};
    processes.processes[8] = {};
    windows.owners[0x70] = 7;
    windows.owners[0x80] = 8;
  }
  std::uint32_t Set(std::uint32_t pid, platform::WindowHandle w, std::uint32_t cls) {
    return SetWindowProcessPriority(processes, windows, pid, w, cls);
  }
};

TEST_F(PriorityTest, ResolvesTheProcessByIdThenWindowThenOwnProcess) {
  EXPECT_EQ(Set(8, 0x70, 128), 128u);  // id wins over the window
  EXPECT_EQ(processes.ClassOf(8), 128u);
  EXPECT_EQ(processes.ClassOf(7), 32u);

  EXPECT_EQ(Set(0, 0x70, 256), 256u);
  EXPECT_EQ(processes.ClassOf(7), 256u);

  EXPECT_EQ(Set(0, 0, 128), 128u);
  EXPECT_EQ(processes.ClassOf(1000), 128u);
}

TEST_F(PriorityTest, SetsTheClassAndLeavesNoProcessOpen) {
  EXPECT_EQ(Set(0, 0x70, 128), 128u);
  EXPECT_EQ(processes.ClassOf(7), 128u);
  EXPECT_TRUE(processes.open.empty());
}

TEST_F(PriorityTest, QueryOnlyProcessKeepsItsClassAndReportsIt) {
  constexpr std::uint32_t kIdle = 64;
  processes.processes[7].priorityClass = kIdle;
  processes.processes[7].queryOnly = true;
  EXPECT_EQ(Set(0, 0x70, 256), kIdle);
  EXPECT_EQ(processes.ClassOf(7), kIdle);
  EXPECT_TRUE(processes.open.empty());
}

TEST_F(PriorityTest, UnreachableProcessGivesZeroAndTouchesNothing) {
  processes.processes[7].hidden = true;
  EXPECT_EQ(Set(0, 0x70, 128), 0u);

  // A destroyed window resolves to no process at all.
  processes.calls.clear();
  EXPECT_EQ(Set(0, 0x99, 128), 0u);
  for (const auto& call : processes.calls) EXPECT_EQ(call.rfind("open", 0), 0u) << call;
  EXPECT_EQ(processes.ClassOf(1000), 32u);
  EXPECT_TRUE(processes.open.empty());
}

}  // namespace
