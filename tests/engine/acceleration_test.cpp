#include "engine/acceleration.h"

#include <gtest/gtest.h>

#include <limits>

#include "fakes.h"

namespace {

struct TickTest : ::testing::Test {
  fakes::Windows windows;
  fakes::Processes processes;
  fakes::Clock clock;
  fakes::DoubleByteCodePage codePage;
  fakes::Controls controls;
  fakes::HistoryList history;
  engine::AccelerationState state;
  engine::AccelerationPorts ports{windows, processes, clock, codePage, controls, history};

  void SetUp() override {
    processes.processes[1000] = {};
    for (std::uint32_t pid : {7u, 8u}) processes.processes[pid] = {};
    windows.owners = {{0xA, 7}, {0xB, 8}, {0xC, 8}};
    windows.titles = {{0xA, "窗口A"}, {0xB, "Window B"}, {0xC, "Window C"}};
  }
  bool TickOn(platform::WindowHandle w) {
    windows.foreground = w;
    return engine::Tick(state, ports);
  }
};

TEST_F(TickTest, FirstChangeRestoresOwnProcessAndRaisesTheForeground) {
  processes.processes[1000].priorityClass = 128;
  EXPECT_TRUE(TickOn(0xA));
  EXPECT_EQ(processes.ClassOf(1000), 32u);
  EXPECT_EQ(processes.ClassOf(7), 128u);
  EXPECT_EQ(controls.info, "窗口A");
  EXPECT_EQ(controls.tooltip, "窗口A");
  EXPECT_EQ(controls.count, "1");
  ASSERT_EQ(history.rows.size(), 1u);
  EXPECT_EQ(history.rows[0].title, "窗口A");
  EXPECT_EQ(state.PreviousWindow, 0u);
  EXPECT_EQ(state.CurrentWindow, 0xAu);
}

TEST_F(TickTest, SwitchPutsThePreviousBackToNormalAndRaisesTheNew) {
  controls.speed = "疯狂加速";
  TickOn(0xA);
  TickOn(0xB);
  EXPECT_EQ(processes.ClassOf(7), 32u);
  EXPECT_EQ(processes.ClassOf(8), 256u);
  // Same process, other window: back to normal and raised again.
  processes.calls.clear();
  TickOn(0xC);
  EXPECT_EQ(processes.calls, (std::vector<std::string>{"open 1536 8", "set 8 32", "close 8",
                                                       "open 1536 8", "set 8 256", "close 8"}));
  EXPECT_EQ(controls.count, "3");
  EXPECT_EQ(history.rows.size(), 3u);
}

TEST_F(TickTest, UnchangedWindowDoesNothingButReadTheTitle) {
  TickOn(0xA);
  processes.calls.clear();
  controls.writes = 0;
  windows.titleReads = 0;
  windows.titles[0xA] = "renamed";
  for (int i = 0; i < 5; ++i) EXPECT_FALSE(TickOn(0xA));
  EXPECT_TRUE(processes.calls.empty());
  EXPECT_EQ(controls.writes, 0);
  EXPECT_EQ(windows.titleReads, 5);
  EXPECT_EQ(controls.info, "窗口A");
}

TEST_F(TickTest, DisabledTickReadsNothingAndKeepsState) {
  TickOn(0xA);
  controls.accelerate = false;
  windows.titleReads = 0;
  EXPECT_FALSE(TickOn(0xB));
  EXPECT_EQ(windows.titleReads, 0);
  EXPECT_EQ(processes.ClassOf(7), 128u);  // the last raised keeps its class
  EXPECT_EQ(state.CurrentWindow, 0xAu);
  // Enabled again: the remembered window is the one put back.
  controls.accelerate = true;
  EXPECT_TRUE(TickOn(0xB));
  EXPECT_EQ(processes.ClassOf(7), 32u);
  EXPECT_EQ(processes.ClassOf(8), 128u);
}

TEST_F(TickTest, LevelErrorShowsTheMessageButStillRestoresCountsAndRecords) {
  TickOn(0xA);
  controls.speed = "";
  EXPECT_TRUE(TickOn(0xB));
  EXPECT_EQ(processes.ClassOf(7), 32u);
  EXPECT_EQ(processes.ClassOf(8), 32u);  // not raised
  EXPECT_EQ(controls.info, "加速度选择错误，加速未启用。");
  EXPECT_EQ(controls.tooltip, "Window B");
  EXPECT_EQ(controls.count, "2");
  EXPECT_EQ(history.rows.back().level, "疯狂加速");
}

TEST_F(TickTest, NoForegroundWindowRaisesTheOwnProcessWithAnEmptyTitle) {
  TickOn(0xA);
  EXPECT_TRUE(TickOn(0));
  EXPECT_EQ(processes.ClassOf(7), 32u);
  EXPECT_EQ(processes.ClassOf(1000), 128u);
  EXPECT_EQ(controls.info, "");
  EXPECT_EQ(history.rows.back().title, "");
}

TEST_F(TickTest, RecordingOffStillCounts) {
  controls.record = false;
  TickOn(0xA);
  TickOn(0xB);
  EXPECT_TRUE(history.rows.empty());
  EXPECT_EQ(controls.count, "2");
}

TEST_F(TickTest, CountStopsAtTheLargest32BitValue) {
  state.AcceleratedCount = std::numeric_limits<std::int32_t>::max() - 1;
  TickOn(0xA);
  TickOn(0xB);
  EXPECT_EQ(state.AcceleratedCount, std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(controls.count, "2147483647");
}

TEST_F(TickTest, LongTitleIsCutBetweenWholeCharacters) {
  // 253 ASCII bytes then a double-byte character: it would need bytes 254-255.
  windows.titles[0xA] = std::string(253, 'x') + "中文";
  TickOn(0xA);
  EXPECT_EQ(controls.info, std::string(253, 'x'));
  // 252 + one double-byte character = 254 bytes exactly: kept whole.
  windows.titles[0xB] = std::string(252, 'y') + "中文";
  TickOn(0xB);
  EXPECT_EQ(controls.info, std::string(252, 'y') + "中");
}

// The foreground window is gone by the time its process is looked up: the
// change is still shown, counted and recorded, the previous process goes
// back to normal, and nothing else (least of all our own process) is raised.
TEST_F(TickTest, WindowVanishingAfterSamplingRaisesNothingButStillRecords) {
  struct VanishingWindows : fakes::Windows {
    std::u16string Title(platform::WindowHandle w) override {
      std::u16string title = fakes::Windows::Title(w);
      owners.erase(w);  // destroyed right after its title was read
      return title;
    }
  } vanishing;
  vanishing.owners = windows.owners;
  vanishing.titles = windows.titles;
  engine::AccelerationPorts vanishingPorts{vanishing, processes, clock, codePage, controls, history};
  TickOn(0xA);
  vanishing.foreground = 0xB;
  EXPECT_TRUE(engine::Tick(state, vanishingPorts));
  EXPECT_EQ(processes.ClassOf(7), 32u);
  EXPECT_EQ(processes.ClassOf(8), 32u);
  EXPECT_EQ(processes.ClassOf(1000), 32u);
  EXPECT_EQ(controls.info, "Window B");
  EXPECT_EQ(controls.count, "2");
  ASSERT_EQ(history.rows.size(), 2u);
  EXPECT_EQ(history.rows.back().title, "Window B");
  EXPECT_TRUE(processes.open.empty());

  // Coming back from the vanished window restores nobody and raises the new one.
  windows.owners.erase(0xB);
  processes.calls.clear();
  EXPECT_TRUE(TickOn(0xA));
  EXPECT_EQ(processes.ClassOf(7), 128u);
  EXPECT_EQ(processes.ClassOf(8), 32u);
  EXPECT_EQ(processes.ClassOf(1000), 32u);
  EXPECT_EQ(processes.calls.back(), "close 7");
}

// A foreground process that refuses set rights keeps its class; the tick
// goes on as for any other change and the next switch works normally.
TEST_F(TickTest, ProcessRefusingSetRightsKeepsItsClassAndTheTickGoesOn) {
  processes.processes[8].queryOnly = true;
  processes.processes[8].priorityClass = 64;
  TickOn(0xA);
  EXPECT_TRUE(TickOn(0xB));
  EXPECT_EQ(processes.ClassOf(8), 64u);
  EXPECT_EQ(processes.ClassOf(7), 32u);
  EXPECT_EQ(controls.info, "Window B");
  EXPECT_EQ(history.rows.size(), 2u);
  EXPECT_TRUE(TickOn(0xA));
  EXPECT_EQ(processes.ClassOf(7), 128u);
  EXPECT_EQ(processes.ClassOf(8), 64u);
  EXPECT_TRUE(processes.open.empty());
}

}  // namespace
