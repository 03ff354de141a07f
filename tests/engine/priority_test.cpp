#include "engine/priority.h"

#include <gtest/gtest.h>

#include "fakes.h"

using engine::SetWindowProcessPriority;
using namespace fakes;  // the priority classes by name

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
  EXPECT_EQ(Set(8, 0x70, kHigh), kHigh);  // id wins over the window
  EXPECT_EQ(processes.ClassOf(8), kHigh);
  EXPECT_EQ(processes.ClassOf(7), kNormal);

  EXPECT_EQ(Set(0, 0x70, kRealtime), kRealtime);
  EXPECT_EQ(processes.ClassOf(7), kRealtime);

  EXPECT_EQ(Set(0, 0, kHigh), kHigh);
  EXPECT_EQ(processes.ClassOf(1000), kHigh);
}

TEST_F(PriorityTest, SetsTheClassAndLeavesNoProcessOpen) {
  EXPECT_EQ(Set(0, 0x70, kHigh), kHigh);
  EXPECT_EQ(processes.ClassOf(7), kHigh);
  EXPECT_TRUE(processes.open.empty());
}

TEST_F(PriorityTest, QueryOnlyProcessKeepsItsClassAndReportsIt) {
  processes.processes[7].priorityClass = kIdle;
  processes.processes[7].queryOnly = true;
  EXPECT_EQ(Set(0, 0x70, kRealtime), kIdle);
  EXPECT_EQ(processes.ClassOf(7), kIdle);
  EXPECT_TRUE(processes.open.empty());
}

TEST_F(PriorityTest, UnreachableProcessGivesZeroAndTouchesNothing) {
  processes.processes[7].hidden = true;
  EXPECT_EQ(Set(0, 0x70, kHigh), 0u);

  // A destroyed window resolves to no process at all.
  processes.calls.clear();
  EXPECT_EQ(Set(0, 0x99, kHigh), 0u);
  for (const auto& call : processes.calls) EXPECT_EQ(call.rfind("open", 0), 0u) << call;
  EXPECT_EQ(processes.ClassOf(1000), kNormal);
  EXPECT_TRUE(processes.open.empty());
}

}  // namespace
