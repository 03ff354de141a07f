#include "engine/acceleration.h"

#include <gtest/gtest.h>

#include <limits>

#include "engine/priority.h"
#include "fakes.h"

namespace {

using namespace fakes;  // the priority classes by name

struct TickTest : ::testing::Test {
  fakes::Windows windows;
  fakes::Processes processes;
  fakes::Clock clock;
  fakes::DoubleByteCodePage codePage;
  fakes::Controls controls;
  fakes::HistoryList history;
  fakes::RaisedRecords records;
  engine::AccelerationState state;
  engine::AccelerationPorts ports{windows, processes, clock, codePage, controls, history, records};

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

// Only what the program raised is ever put back: its own process, started
// at some class, keeps it at the first change.
TEST_F(TickTest, FirstChangeRaisesTheForegroundAndLeavesTheOwnProcessAlone) {
  processes.processes[1000].priorityClass = kHigh;
  EXPECT_TRUE(TickOn(0xA));
  EXPECT_EQ(processes.ClassOf(1000), kHigh);
  EXPECT_EQ(processes.ClassOf(7), kHigh);
  EXPECT_EQ(controls.info, "窗口A");
  EXPECT_EQ(controls.tooltip, "窗口A");
  EXPECT_FALSE(controls.warning);
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
  EXPECT_EQ(processes.ClassOf(7), kNormal);
  EXPECT_EQ(processes.ClassOf(8), kRealtime);
  // Same process, other window: put back and raised again, counted and
  // recorded like any change; one handle held, one record kept.
  TickOn(0xC);
  EXPECT_EQ(processes.ClassOf(8), kRealtime);
  EXPECT_EQ(processes.open.size(), 1u);
  EXPECT_EQ(records.values.size(), 1u);
  EXPECT_EQ(controls.count, "3");
  EXPECT_EQ(history.rows.size(), 3u);
}

// The raised process is remembered itself, not through its window: it goes
// back to the class it had before, even when its window is gone, and only
// while it still has the class the program set.
TEST_F(TickTest, PutBackRestoresTheClassBeforeOnlyWhileItIsStillTheOneSet) {
  processes.processes[7].priorityClass = kBelowNormal;  // started below normal
  TickOn(0xA);
  EXPECT_EQ(processes.ClassOf(7), kHigh);
  TickOn(0xB);
  EXPECT_EQ(processes.ClassOf(7), kBelowNormal);

  // Its window is destroyed while it lives on.
  TickOn(0xA);
  windows.owners.erase(0xA);
  TickOn(0xB);
  EXPECT_EQ(processes.ClassOf(7), kBelowNormal);

  // Someone else changes the raised process meanwhile: it is left alone.
  processes.processes[9] = {};
  windows.owners[0xD] = 9;
  TickOn(0xD);
  processes.processes[8].priorityClass = kIdle;
  EXPECT_EQ(processes.ClassOf(9), kHigh);
  TickOn(0xD);  // unchanged
  processes.processes[9].priorityClass = kAboveNormal;
  TickOn(0xB);
  EXPECT_EQ(processes.ClassOf(9), kAboveNormal);
  EXPECT_EQ(processes.ClassOf(8), kHigh);  // it was IDLE, and is raised anew

  // A process already at the asked class is not held: nothing to put back.
  processes.processes[9].priorityClass = kHigh;
  TickOn(0xD);
  EXPECT_EQ(processes.ClassOf(8), kIdle);
  TickOn(0xB);
  EXPECT_EQ(processes.ClassOf(9), kHigh);
  EXPECT_EQ(processes.ClassOf(8), kHigh);
}

// Switched off, the raised process goes back at once; switched on again,
// the foreground is raised at the next tick although it did not change.
// Exit puts back the same way.
TEST_F(TickTest, SwitchOffPutsBackAndSwitchOnRaisesTheUnchangedForegroundAgain) {
  TickOn(0xA);
  engine::AccelerationSwitched(state, ports);  // still on: nothing happens
  EXPECT_EQ(processes.ClassOf(7), kHigh);
  controls.accelerate = false;
  engine::AccelerationSwitched(state, ports);
  EXPECT_EQ(processes.ClassOf(7), kNormal);
  EXPECT_TRUE(records.values.empty());
  EXPECT_TRUE(processes.open.empty());
  EXPECT_FALSE(TickOn(0xA));
  EXPECT_EQ(processes.ClassOf(7), kNormal);

  controls.accelerate = true;
  EXPECT_TRUE(TickOn(0xA));
  EXPECT_EQ(processes.ClassOf(7), kHigh);
  EXPECT_EQ(controls.count, "2");
  EXPECT_FALSE(TickOn(0xA));

  engine::PutBackRaised(state, ports);
  EXPECT_EQ(processes.ClassOf(7), kNormal);
  EXPECT_TRUE(processes.open.empty());
  EXPECT_TRUE(records.values.empty());
}

// The caption, count and rows stay as they are; the colour and the tooltip
// tell what was asked, what was obtained and why, and a refused REALTIME is
// noticed once per run.
TEST_F(TickTest, AnOutcomeOtherThanAskedIsShownButNothingElseChanges) {
  struct Case {
    const char* speed;
    fakes::Processes::Process target;
    bool warning;
    const char* why;  // part of the tooltip's second line
  } cases[] = {
      {"普通加速", {}, false, nullptr},
      {"疯狂加速",
       {kNormal, false, false, 0, kHigh},
       true,
       "请求：实时，实际：高。实时优先级需要管理员权限。"},
      {"疯狂加速", {kNormal, false, false, 0, kAboveNormal}, true, "系统没有给出所请求的优先级"},
      {"普通加速", {kIdle, true, false}, true, "请求：高，实际：低。没有更改该进程优先级的权限"},
      {"普通加速", {kNormal, true, true}, true, "请求：高，实际：无法读取。无法打开该进程"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why ? c.why : "granted");
    processes.processes[8] = c.target;
    controls.speed = c.speed;
    TickOn(0xA);
    const int rows = static_cast<int>(history.rows.size());
    EXPECT_TRUE(TickOn(0xB));
    EXPECT_EQ(controls.info, "Window B");
    EXPECT_EQ(controls.warning, c.warning);
    EXPECT_EQ(history.rows.back().title, "Window B");
    EXPECT_EQ(static_cast<int>(history.rows.size()), rows + 1);
    if (c.why) {
      EXPECT_EQ(controls.tooltip.rfind("Window B\n", 0), 0u) << controls.tooltip;
      EXPECT_NE(controls.tooltip.find(c.why), std::string::npos) << controls.tooltip;
    } else {
      EXPECT_EQ(controls.tooltip, "Window B");
    }
  }
  EXPECT_EQ(controls.notices, (std::vector<std::string>{std::string(engine::kRealtimeRefusedNotice)}));
  // Lowered to HIGH, it is still put back when the user moves on.
  processes.processes[8] = {};
  processes.processes[8].realtimeGrants = kHigh;
  controls.speed = "疯狂加速";
  TickOn(0xA);
  TickOn(0xB);
  EXPECT_EQ(processes.ClassOf(8), kHigh);
  TickOn(0xA);
  EXPECT_EQ(processes.ClassOf(8), kNormal);
  EXPECT_EQ(controls.notices.size(), 1u);
}

// A Store app's frame belongs to the frame host; the app that does the work
// owns the core window inside it. The title shown stays the frame's.
TEST_F(TickTest, FrameWindowRaisesTheAppInsideItNotTheFrameHost) {
  processes.processes[9] = {};
  windows.owners[0xF] = 8;  // the frame host
  windows.titles[0xF] = "计算器";
  windows.classes[0xF] = "ApplicationFrameWindow";
  windows.owners[0xF1] = 8;  // a child of the frame host's own
  windows.classes[0xF1] = "Windows.UI.Core.CoreWindow";
  windows.parents[0xF1] = 0xF;
  windows.owners[0xF2] = 9;  // the app
  windows.classes[0xF2] = "Windows.UI.Core.CoreWindow";
  windows.parents[0xF2] = 0xF;
  TickOn(0xA);
  EXPECT_TRUE(TickOn(0xF));
  EXPECT_EQ(processes.ClassOf(9), kHigh);
  EXPECT_EQ(processes.ClassOf(8), kNormal);
  EXPECT_EQ(controls.info, "计算器");
  TickOn(0xA);
  EXPECT_EQ(processes.ClassOf(9), kNormal);

  // A suspended app's core window has left the frame: the frame host it is.
  windows.parents.erase(0xF2);
  TickOn(0xF);
  EXPECT_EQ(processes.ClassOf(8), kHigh);
  EXPECT_EQ(processes.ClassOf(9), kNormal);
  // Another class with such a child is no frame.
  windows.classes[0xB] = "Other";
  windows.parents[0xF2] = 0xB;
  TickOn(0xB);
  EXPECT_EQ(processes.ClassOf(8), kHigh);
  EXPECT_EQ(processes.ClassOf(9), kNormal);
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
  // The tick alone puts nothing back; the switch's handler does.
  EXPECT_EQ(processes.ClassOf(7), kHigh);
  EXPECT_EQ(state.CurrentWindow, 0xAu);
  // Enabled again: the remembered window is the one put back.
  controls.accelerate = true;
  EXPECT_TRUE(TickOn(0xB));
  EXPECT_EQ(processes.ClassOf(7), kNormal);
  EXPECT_EQ(processes.ClassOf(8), kHigh);
}

TEST_F(TickTest, LevelErrorShowsTheMessageButStillRestoresCountsAndRecords) {
  TickOn(0xA);
  controls.speed = "";
  EXPECT_TRUE(TickOn(0xB));
  EXPECT_EQ(processes.ClassOf(7), kNormal);
  EXPECT_EQ(processes.ClassOf(8), kNormal);  // not raised
  EXPECT_EQ(controls.info, "加速度选择错误，加速未启用。");
  EXPECT_EQ(controls.tooltip, "Window B");
  EXPECT_EQ(controls.count, "2");
  EXPECT_EQ(history.rows.back().level, "疯狂加速");
}

// The lock screen or a secure desktop: the user's program goes back, and
// nothing (least of all this program) is raised until a window returns.
TEST_F(TickTest, NoForegroundWindowPutsBackAndRaisesNothingWithAnEmptyTitle) {
  TickOn(0xA);
  EXPECT_TRUE(TickOn(0));
  EXPECT_EQ(processes.ClassOf(7), kNormal);
  EXPECT_EQ(processes.ClassOf(1000), kNormal);
  EXPECT_EQ(controls.info, "");
  EXPECT_FALSE(controls.warning);
  EXPECT_EQ(controls.count, "2");
  EXPECT_EQ(history.rows.back().title, "");
  EXPECT_TRUE(processes.open.empty());

  EXPECT_TRUE(TickOn(0xA));
  EXPECT_EQ(processes.ClassOf(7), kHigh);
  EXPECT_EQ(processes.ClassOf(1000), kNormal);
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
  engine::AccelerationPorts vanishingPorts{vanishing, processes, clock, codePage, controls, history, records};
  TickOn(0xA);
  vanishing.foreground = 0xB;
  EXPECT_TRUE(engine::Tick(state, vanishingPorts));
  EXPECT_EQ(processes.ClassOf(7), kNormal);
  EXPECT_EQ(processes.ClassOf(8), kNormal);
  EXPECT_EQ(processes.ClassOf(1000), kNormal);
  EXPECT_EQ(controls.info, "Window B");
  EXPECT_EQ(controls.count, "2");
  ASSERT_EQ(history.rows.size(), 2u);
  EXPECT_EQ(history.rows.back().title, "Window B");
  EXPECT_TRUE(processes.open.empty());

  // Coming back from the vanished window restores nobody and raises the new one.
  windows.owners.erase(0xB);
  processes.calls.clear();
  EXPECT_TRUE(TickOn(0xA));
  EXPECT_EQ(processes.ClassOf(7), kHigh);
  EXPECT_EQ(processes.ClassOf(8), kNormal);
  EXPECT_EQ(processes.ClassOf(1000), kNormal);
  EXPECT_EQ(processes.open.size(), 1u);  // the one now raised
}

// A foreground process that refuses set rights keeps its class; the tick
// goes on as for any other change and the next switch works normally.
TEST_F(TickTest, ProcessRefusingSetRightsKeepsItsClassAndTheTickGoesOn) {
  processes.processes[8].queryOnly = true;
  processes.processes[8].priorityClass = kIdle;
  TickOn(0xA);
  EXPECT_TRUE(TickOn(0xB));
  EXPECT_EQ(processes.ClassOf(8), kIdle);
  EXPECT_EQ(processes.ClassOf(7), kNormal);
  EXPECT_EQ(controls.info, "Window B");
  EXPECT_TRUE(controls.warning);
  EXPECT_EQ(history.rows.size(), 2u);
  EXPECT_TRUE(TickOn(0xA));
  EXPECT_EQ(processes.ClassOf(7), kHigh);
  EXPECT_EQ(processes.ClassOf(8), kIdle);
  EXPECT_FALSE(controls.warning);
}

// A terminal (7) and what runs in it: the shell (20) and the build it
// started (22), a helper that chose IDLE for itself (21), a process whose
// parent id is 7 but which started before it (23: that id's earlier owner
// started it), and this program, started from the terminal (1000).
struct TreeTickTest : TickTest {
  fakes::Tree tree;
  void SetUp() override {
    TickTest::SetUp();
    ports.tree = &tree;
    controls.children = true;
    controls.speed = "疯狂加速";
    for (std::uint32_t pid : {20u, 21u, 22u}) processes.processes[pid] = {};
    processes.processes[21].priorityClass = kIdle;
    processes.processes[23] = {};
    processes.processes[23].created = 10;
    tree.links = {{7, 1}, {20, 7}, {21, 7}, {22, 20}, {23, 7}, {1000, 7}, {8, 1}};
  }
};

TEST_F(TreeTickTest, TheTreeIsRaisedToHighAtMostLeavingChosenClassesAndGoesBackAtTheNextChange) {
  TickOn(0xA);
  EXPECT_EQ(processes.ClassOf(7), kRealtime);  // the window's process alone gets REALTIME
  EXPECT_EQ(processes.ClassOf(20), kHigh);
  EXPECT_EQ(processes.ClassOf(22), kHigh);
  EXPECT_EQ(processes.ClassOf(21), kIdle);
  EXPECT_EQ(processes.ClassOf(23), kNormal);
  EXPECT_EQ(processes.ClassOf(1000), kNormal);
  EXPECT_EQ(records.values.size(), 3u);
  EXPECT_EQ(controls.tooltip, "窗口A\n已加速 3 个进程（含子进程），1 个子进程保持原有优先级。");
  EXPECT_EQ(controls.info, "窗口A");
  EXPECT_EQ(history.rows.back().title, "窗口A");

  TickOn(0xB);
  for (std::uint32_t pid : {7u, 20u, 22u, 23u}) EXPECT_EQ(processes.ClassOf(pid), kNormal) << pid;
  EXPECT_EQ(processes.ClassOf(21), kIdle);
  EXPECT_EQ(processes.ClassOf(8), kRealtime);
  EXPECT_EQ(records.values.size(), 1u);
  EXPECT_EQ(processes.open.size(), 1u);  // only what is raised now is held

  // Exit: all of it goes back, nothing held.
  TickOn(0xA);
  engine::PutBackRaised(state, ports);
  for (std::uint32_t pid : {7u, 20u, 22u}) EXPECT_EQ(processes.ClassOf(pid), kNormal) << pid;
  EXPECT_TRUE(records.values.empty());
  EXPECT_TRUE(processes.open.empty());
}

// The build started in the terminal after the raise is picked up at the
// next look, five ticks on; the unchanged ticks between take no snapshot.
TEST_F(TreeTickTest, AChildStartedLaterIsRaisedAtTheNextLook) {
  TickOn(0xA);
  const int snapshots = tree.snapshots;
  processes.processes[24] = {};
  tree.links.push_back({24, 22});
  for (int tick = 1; tick < engine::kChildrenLookTicks; ++tick) {
    EXPECT_FALSE(TickOn(0xA));
    EXPECT_EQ(processes.ClassOf(24), kNormal) << tick;
  }
  EXPECT_EQ(tree.snapshots, snapshots);
  EXPECT_FALSE(TickOn(0xA));
  EXPECT_EQ(processes.ClassOf(24), kHigh);
  EXPECT_EQ(controls.tooltip, "窗口A\n已加速 4 个进程（含子进程），1 个子进程保持原有优先级。");
  EXPECT_EQ(controls.count, "1");  // no change was counted
}

TEST_F(TreeTickTest, OptionOffRaisesTheWindowsProcessAloneAndNeverLooks) {
  controls.children = false;
  TickOn(0xA);
  for (int tick = 0; tick < 2 * engine::kChildrenLookTicks; ++tick) TickOn(0xA);
  EXPECT_EQ(processes.ClassOf(7), kRealtime);
  EXPECT_EQ(processes.ClassOf(20), kNormal);
  EXPECT_EQ(tree.snapshots, 0);
  EXPECT_EQ(controls.tooltip, "窗口A");
}

// A rule keeps a process at its class while the change is still shown,
// counted and recorded; the desktop's window is never acted on; the shell's
// file windows get HIGH at most, shown as a REALTIME not given.
TEST_F(TreeTickTest, TheNeverListKeepsProcessesAtTheirClassButTheChangeStillCounts) {
  const engine::NeverList never(engine::NeverList::Entries{{"C:\\Games\\*.exe", "1"}});
  ports.never = &never;
  tree.paths = {{7, "c:\\games\\Shooter.EXE"},
                {8, "C:\\Windows\\explorer.exe"},
                {20, "C:\\Games\\aux.exe"},
                {22, "C:\\Tools\\cl.exe"}};
  TickOn(0xA);
  EXPECT_EQ(processes.ClassOf(7), kNormal);
  EXPECT_EQ(processes.ClassOf(20), kNormal);
  EXPECT_EQ(controls.info, "窗口A");
  EXPECT_EQ(controls.count, "1");
  EXPECT_EQ(history.rows.size(), 1u);
  EXPECT_FALSE(controls.warning);
  EXPECT_NE(controls.tooltip.find("C:\\Games\\*.exe"), std::string::npos) << controls.tooltip;
  EXPECT_TRUE(records.values.empty());

  windows.classes[0xB] = "CabinetWClass";  // a file window of the shell
  TickOn(0xB);
  EXPECT_EQ(processes.ClassOf(8), kHigh);
  EXPECT_TRUE(controls.warning);
  EXPECT_NE(controls.tooltip.find("请求：实时，实际：高。"), std::string::npos) << controls.tooltip;
  EXPECT_TRUE(controls.notices.empty());  // not the notice about administrator rights

  windows.classes[0xC] = "Progman";  // the desktop, the shell's too
  TickOn(0xC);
  EXPECT_EQ(processes.ClassOf(8), kNormal);
  EXPECT_EQ(controls.count, "3");
  EXPECT_NE(controls.tooltip.find("Progman"), std::string::npos) << controls.tooltip;
}

}  // namespace
