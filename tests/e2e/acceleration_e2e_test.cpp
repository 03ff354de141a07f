// Starts the real Brevolt.exe in a temporary folder and switches the
// foreground between two windows of two other processes.
#include <windows.h>
#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <algorithm>

#include "app/control_ids.h"
#include "app/exit_request.h"
#include "e2e/driver.h"
#include "platform/texts.h"
#include "win32/text.h"

using namespace std::chrono_literals;

namespace {

constexpr DWORD kNormal = NORMAL_PRIORITY_CLASS;
constexpr DWORD kHigh = HIGH_PRIORITY_CLASS;
constexpr DWORD kBelow = BELOW_NORMAL_PRIORITY_CLASS;

// Acceleration on at the normal level, recording on, threshold 50.
constexpr char kAccelerating[] =
    "[Normal]\r\nEnableSpeed=1\r\n[Speed]\r\nSpeedLevel=1\r\n[Record]\r\nEnableRecord=1\r\nRecordCount="
    "50\r\n";

// The records the program keeps of what it raised: name and text.
std::vector<std::pair<std::wstring, std::wstring>> RaisedRecords() {
  std::vector<std::pair<std::wstring, std::wstring>> records;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Quillmoor\\Brevolt\\Raised", 0, KEY_QUERY_VALUE, &key) !=
      ERROR_SUCCESS) {
    return records;
  }
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD length = 256;
    wchar_t text[256] = {};
    DWORD bytes = sizeof text - sizeof(wchar_t);
    if (RegEnumValueW(key, i, name, &length, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &bytes) !=
        ERROR_SUCCESS) {
      break;
    }
    records.emplace_back(std::wstring(name, length), text);
  }
  RegCloseKey(key);
  return records;
}

bool HasRecordOf(DWORD programId) {
  const std::wstring prefix = std::to_wstring(programId) + L"-";
  for (const auto& [name, text] : RaisedRecords()) {
    if (name.rfind(prefix, 0) == 0) return true;
  }
  return false;
}

// Waits until a process has the class (the program's tick is once a second).
bool WaitForClass(const e2e::Process& process, DWORD cls) {
  return e2e::WaitUntil([&] { return process.PriorityClass() == cls; }, 3s);
}

class AccelerationEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(app_.Started()) << "main window did not appear";
    main_ = app_.Main();
    info_ = app_.Control(app::kLabelInfo);
    count_ = app_.Control(app::kLabelCount);
    ASSERT_NE(info_, nullptr);

    const std::wstring host = e2e::HostPath(WINDOW_HOST_EXE);
    hostA_ = e2e::Process::Start(host, L"Quill host A", L"");
    hostB_ = e2e::Process::Start(host, L"Quill host B", L"");
    windowA_ = hostA_.FindWindowTitled(L"Quill host A", 10s);
    windowB_ = hostB_.FindWindowTitled(L"Quill host B", 10s);
    ASSERT_NE(windowA_, nullptr);
    ASSERT_NE(windowB_, nullptr);

    // Start from a known foreground: the program's own window, handled. A
    // window host that has just started may still take the activation
    // once: let both hosts finish starting, then a tick pass, and bring the
    // program back if it did.
    ASSERT_TRUE(SwitchTo(main_, std::string(platform::kMainCaption))) << "LabelInfo: " << e2e::TextOf(info_);
    WaitForInputIdle(hostA_.handle(), 10000);
    WaitForInputIdle(hostB_.handle(), 10000);
    ASSERT_TRUE(e2e::Settle(windowA_) && e2e::Settle(windowB_));
    SendMessageW(main_, WM_TIMER, app::kTimerMain, 0);
    ASSERT_TRUE(SwitchTo(main_, std::string(platform::kMainCaption))) << "LabelInfo: " << e2e::TextOf(info_);
  }

  int Count() { return std::atoi(e2e::TextOf(count_).c_str()); }

  // Brings a window to the front and waits until the program has shown it.
  // The foreground is asserted again while waiting: a window that was just
  // started may still take the activation for itself.
  bool SwitchTo(HWND window, const std::string& title) {
    return e2e::WaitUntil(
        [&] {
          if (GetForegroundWindow() != window) SetForegroundWindow(window);
          return e2e::TextOf(info_) == title;
        },
        2500ms);
  }

  e2e::BrevoltApp app_{kAccelerating};
  e2e::Process& brevolt_ = app_.process();
  e2e::Process hostA_, hostB_;
  HWND main_ = nullptr, info_ = nullptr, count_ = nullptr, windowA_ = nullptr, windowB_ = nullptr;
};

TEST_F(AccelerationEndToEnd, RaisesTheForegroundProcessAndRestoresThePrevious) {
  const int before = Count();
  ASSERT_TRUE(SwitchTo(windowA_, "Quill host A"))
      << "LabelInfo: " << e2e::TextOf(info_) << " foreground: " << e2e::TextOf(GetForegroundWindow());
  EXPECT_EQ(hostA_.PriorityClass(), kHigh);
  EXPECT_EQ(hostB_.PriorityClass(), kNormal);
  EXPECT_EQ(brevolt_.PriorityClass(), kNormal);  // its own window was the one before
  EXPECT_EQ(Count(), before + 1);

  ASSERT_TRUE(SwitchTo(windowB_, "Quill host B"));
  EXPECT_EQ(hostA_.PriorityClass(), kNormal);
  EXPECT_EQ(hostB_.PriorityClass(), kHigh);
  EXPECT_EQ(Count(), before + 2);
  EXPECT_EQ(e2e::TextOf(count_), std::to_string(before + 2));

  // The history holds one row per handled change, the newest last.
  const auto rows = e2e::ListViewRows(app_.Control(app::kListViewHistory), 4);
  ASSERT_GE(rows.size(), 2u);
  const auto& a = rows[rows.size() - 2];
  const auto& b = rows.back();
  EXPECT_EQ(a[0], " " + std::to_string(rows.size() - 1));
  EXPECT_EQ(a[2], "Quill host A");
  EXPECT_EQ(b[2], "Quill host B");
  EXPECT_EQ(b[3], "普通加速");
  EXPECT_EQ(std::count(b[1].begin(), b[1].end(), ':'), 2) << b[1];  // a time such as 14:03:05
}

TEST_F(AccelerationEndToEnd, UncheckedAccelerationChangesNothing) {
  ASSERT_TRUE(SwitchTo(windowA_, "Quill host A"));
  const int before = Count();
  SendMessageW(app_.Control(app::kCheckState), BM_SETCHECK, BST_UNCHECKED, 0);
  SetForegroundWindow(windowB_);
  ASSERT_TRUE(e2e::WaitUntil([&] { return GetForegroundWindow() == windowB_; }, 3s));
  for (int i = 0; i < 2; ++i) SendMessageW(main_, WM_TIMER, app::kTimerMain, 0);
  EXPECT_EQ(e2e::TextOf(info_), "Quill host A");
  EXPECT_EQ(Count(), before);
  EXPECT_EQ(hostA_.PriorityClass(), kHigh);
  EXPECT_EQ(hostB_.PriorityClass(), kNormal);
}

// The raised process is remembered itself: it goes back to the class it had
// before (here below normal), also when its window was destroyed while the
// process lives on.
TEST_F(AccelerationEndToEnd, PutsBackTheClassBeforeEvenWhenTheWindowIsGone) {
  e2e::Process lingering =
      e2e::Process::Start(e2e::HostPath(WINDOW_HOST_EXE), L"/linger Quill lingering", L"");
  ASSERT_TRUE(SetPriorityClass(lingering.handle(), kBelow));
  HWND window = lingering.FindWindowTitled(L"Quill lingering", 10s);
  ASSERT_NE(window, nullptr);

  ASSERT_TRUE(SwitchTo(window, "Quill lingering"));
  EXPECT_EQ(lingering.PriorityClass(), kHigh);
  ASSERT_TRUE(SwitchTo(windowA_, "Quill host A"));
  EXPECT_EQ(lingering.PriorityClass(), kBelow);

  ASSERT_TRUE(SwitchTo(window, "Quill lingering"));
  EXPECT_EQ(lingering.PriorityClass(), kHigh);
  SendMessageW(window, WM_CLOSE, 0, 0);
  ASSERT_FALSE(IsWindow(window));
  ASSERT_TRUE(lingering.Running());
  ASSERT_TRUE(SwitchTo(windowB_, "Quill host B"));
  EXPECT_EQ(lingering.PriorityClass(), kBelow);
  EXPECT_EQ(hostB_.PriorityClass(), kHigh);
}

// Someone else changed the raised process's class meanwhile: theirs stays.
TEST_F(AccelerationEndToEnd, LeavesAloneAClassSomeoneElseSetMeanwhile) {
  ASSERT_TRUE(SwitchTo(windowA_, "Quill host A"));
  ASSERT_EQ(hostA_.PriorityClass(), kHigh);
  ASSERT_TRUE(SetPriorityClass(hostA_.handle(), IDLE_PRIORITY_CLASS));
  ASSERT_TRUE(SwitchTo(windowB_, "Quill host B"));
  EXPECT_EQ(hostA_.PriorityClass(), static_cast<DWORD>(IDLE_PRIORITY_CLASS));
  EXPECT_EQ(hostB_.PriorityClass(), kHigh);
}

// Switching acceleration off puts the raised process back at once; on
// again, it is raised at the next tick though the foreground did not change.
// The end of the session and the exit put it back too.
TEST_F(AccelerationEndToEnd, SwitchOffSessionEndAndExitPutTheRaisedProcessBack) {
  HWND check = app_.Control(app::kCheckState);
  ASSERT_TRUE(SwitchTo(windowA_, "Quill host A"));
  ASSERT_EQ(hostA_.PriorityClass(), kHigh);
  const int before = Count();

  SendMessageW(check, BM_CLICK, 0, 0);
  ASSERT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(hostA_.PriorityClass(), kNormal);
  EXPECT_FALSE(HasRecordOf(brevolt_.id()));
  SendMessageW(check, BM_CLICK, 0, 0);
  ASSERT_EQ(GetForegroundWindow(), windowA_);
  EXPECT_TRUE(WaitForClass(hostA_, kHigh));
  EXPECT_EQ(Count(), before + 1);
  EXPECT_TRUE(HasRecordOf(brevolt_.id()));

  // Ticks stopped without the handler, so only the session's end acts.
  SendMessageW(check, BM_SETCHECK, BST_UNCHECKED, 0);
  SendMessageW(main_, WM_ENDSESSION, TRUE, 0);
  EXPECT_EQ(hostA_.PriorityClass(), kNormal);
  SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_TRUE(WaitForClass(hostA_, kHigh));

  // The question box may take the foreground: a tick sent once it is up
  // (it returns once the box's thread, which made it, has handled it) takes
  // that in; then A comes back and a second tick sees it, so that A is the
  // raised process when the user answers Yes.
  PostMessageW(main_, WM_CLOSE, 0, 0);
  HWND box = e2e::WaitForWindowOfClass(brevolt_.id(), L"#32770", 5s);
  ASSERT_NE(box, nullptr);
  SendMessageW(main_, WM_TIMER, app::kTimerMain, 0);
  ASSERT_TRUE(e2e::BringToFront(windowA_, 3s));
  SendMessageW(main_, WM_TIMER, app::kTimerMain, 0);
  ASSERT_EQ(GetForegroundWindow(), windowA_);
  ASSERT_EQ(hostA_.PriorityClass(), kHigh);
  e2e::PressButton(box, IDYES);
  ASSERT_EQ(WaitForSingleObject(brevolt_.handle(), 5000), WAIT_OBJECT_0);
  EXPECT_EQ(hostA_.PriorityClass(), kNormal);
  EXPECT_EQ(hostB_.PriorityClass(), kNormal);
  EXPECT_FALSE(HasRecordOf(brevolt_.id()));
}

// The installer's and the uninstaller's request (src/app/exit_request.h):
// the exit as after a Yes, with no question, even with the question open.
TEST_F(AccelerationEndToEnd, ExitRequestedFromOutsideAsksNothingAndPutsTheRaisedProcessBack) {
  ASSERT_TRUE(SwitchTo(windowA_, "Quill host A"));
  ASSERT_EQ(hostA_.PriorityClass(), kHigh);
  ASSERT_TRUE(HasRecordOf(brevolt_.id()));
  // The user has just asked to exit, and the question is open.
  PostMessageW(main_, WM_CLOSE, 0, 0);
  ASSERT_NE(e2e::WaitForWindowOfClass(brevolt_.id(), L"#32770", 5s), nullptr);
  const DWORD id = brevolt_.id();

  PostMessageW(main_, RegisterWindowMessageW(app::kExitRequestMessageName), 0, 0);
  ASSERT_EQ(WaitForSingleObject(brevolt_.handle(), 5000), WAIT_OBJECT_0);
  DWORD code = 99;
  GetExitCodeProcess(brevolt_.handle(), &code);
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(hostA_.PriorityClass(), kNormal);
  EXPECT_FALSE(HasRecordOf(id));
}

// A Store app: the frame window belongs to one process, the core window
// inside it to another, which is the one raised; the title is the frame's.
TEST_F(AccelerationEndToEnd, FrameWindowRaisesTheAppProcessInsideIt) {
  const std::wstring host = e2e::HostPath(WINDOW_HOST_EXE);
  e2e::Process frameHost = e2e::Process::Start(host, L"/frame Quill frame", L"");
  HWND frame = frameHost.FindWindowTitled(L"Quill frame", 10s);
  ASSERT_NE(frame, nullptr);
  e2e::Process app = e2e::Process::Start(
      host, L"/core " + std::to_wstring(reinterpret_cast<INT_PTR>(frame)) + L" Quill core", L"");
  HWND core = nullptr;
  ASSERT_TRUE(e2e::WaitUntil(
      [&] {
        return (core = FindWindowExW(frame, nullptr, L"Windows.UI.Core.CoreWindow", nullptr)) != nullptr;
      },
      10s));
  DWORD coreOwner = 0;
  GetWindowThreadProcessId(core, &coreOwner);
  ASSERT_EQ(coreOwner, app.id());

  // The new frame may have taken the foreground before its core window
  // was there: come to it afresh.
  ASSERT_TRUE(SwitchTo(windowA_, "Quill host A"));
  ASSERT_TRUE(SwitchTo(frame, "Quill frame"));
  EXPECT_EQ(app.PriorityClass(), kHigh);
  EXPECT_EQ(frameHost.PriorityClass(), kNormal);
  ASSERT_TRUE(SwitchTo(windowB_, "Quill host B"));
  EXPECT_EQ(app.PriorityClass(), kNormal);
  EXPECT_EQ(hostB_.PriorityClass(), kHigh);
}

// The program killed while a process is raised: the record it kept lets the
// next start put that process back.
TEST(RaisedProcessEndToEnd, KilledProgramsRaisedProcessGoesBackAtTheNextStart) {
  e2e::Process host = e2e::Process::Start(e2e::HostPath(WINDOW_HOST_EXE), L"Quill left raised", L"");
  ASSERT_TRUE(SetPriorityClass(host.handle(), kBelow));
  HWND window = host.FindWindowTitled(L"Quill left raised", 10s);
  ASSERT_NE(window, nullptr);
  DWORD killedId = 0;
  {
    e2e::BrevoltApp app(kAccelerating);
    ASSERT_TRUE(app.Started());
    killedId = app.process().id();
    HWND info = app.Control(app::kLabelInfo);
    ASSERT_TRUE(e2e::WaitUntil(
        [&] {
          if (GetForegroundWindow() != window) SetForegroundWindow(window);
          return e2e::TextOf(info) == "Quill left raised";
        },
        3s));
    ASSERT_EQ(host.PriorityClass(), kHigh);
    ASSERT_TRUE(HasRecordOf(killedId));
    ASSERT_TRUE(TerminateProcess(app.process().handle(), 1));
    ASSERT_EQ(WaitForSingleObject(app.process().handle(), 5000), WAIT_OBJECT_0);
  }
  EXPECT_EQ(host.PriorityClass(), kHigh);

  // Started again, with acceleration off: only the put-back happens.
  e2e::BrevoltApp again;
  ASSERT_TRUE(again.Started());
  EXPECT_EQ(host.PriorityClass(), kBelow);
  EXPECT_FALSE(HasRecordOf(killedId));
}

// ---- an application of several processes ----

// When a process started (0: gone, or not to be read).
std::uint64_t StartOfId(DWORD id) {
  const win32::UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
  FILETIME created{}, exited{}, kernel{}, user{};
  if (!process.get() || !GetProcessTimes(process.get(), &created, &exited, &kernel, &user)) return 0;
  return (std::uint64_t{created.dwHighDateTime} << 32) | created.dwLowDateTime;
}

// Every live process below `root`, parents first. A process whose parent
// id is that of one in the tree but which started before it is the child
// of an earlier owner of that id (Wine hands ids out again once enough are
// free).
std::vector<DWORD> DescendantsOf(DWORD root) {
  std::vector<std::pair<DWORD, DWORD>> links;  // id, parent
  const win32::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry)) {
    links.emplace_back(entry.th32ProcessID, entry.th32ParentProcessID);
  }
  std::vector<std::pair<DWORD, std::uint64_t>> found{{root, StartOfId(root)}};  // id, start
  for (std::size_t next = 0; next < found.size(); ++next) {
    for (const auto& [id, parent] : links) {
      if (parent != found[next].first) continue;
      if (std::any_of(found.begin(), found.end(), [&](const auto& f) { return f.first == id; })) continue;
      const std::uint64_t started = StartOfId(id);
      if (started != 0 && started >= found[next].second) found.emplace_back(id, started);
    }
  }
  std::vector<DWORD> ids;
  for (std::size_t i = 1; i < found.size(); ++i) ids.push_back(found[i].first);
  return ids;
}
DWORD ClassOfId(DWORD id) {
  const win32::UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
  return process.get() ? GetPriorityClass(process.get()) : 0;
}

// For a failure message: each process of the tree with its class, and the
// records the program keeps of what it raised.
std::string TreeReport(DWORD root) {
  std::string report = "tree of " + std::to_string(root) + ":";
  for (DWORD id : DescendantsOf(root))
    report += " " + std::to_string(id) + "@" + std::to_string(ClassOfId(id));
  report += "; records:";
  for (const auto& [name, text] : RaisedRecords())
    report += " " + win32::Narrow(name) + "=" + win32::Narrow(text);
  return report;
}

class ApplicationTreeEndToEnd : public ::testing::Test {
 protected:
  // The host's window in front, shown by the program and raised (with its
  // children, when `treeRaised`) after a tick handled in full. The ticks are
  // sent, not waited for: the tick that raised the host may have come before
  // its children were started, and a later look comes only every few ticks.
  bool BringHostToFront(e2e::BrevoltApp& app, bool treeRaised) {
    HWND info = app.Control(app::kLabelInfo);
    return e2e::WaitUntil(
        [&] {
          if (GetForegroundWindow() != window_) SetForegroundWindow(window_);
          SendMessageW(app.Main(), WM_TIMER, app::kTimerMain, 0);
          bool tree = true;
          for (DWORD id : normal_) tree = tree && ClassOfId(id) == kHigh;
          return e2e::TextOf(info) == "Quill tree" && host_.PriorityClass() == kHigh && (!treeRaised || tree);
        },
        5s);
  }
  void StartHost() {
    host_ = e2e::Process::Start(e2e::HostPath(WINDOW_HOST_EXE), L"/tree Quill tree", L"");
    window_ = host_.FindWindowTitled(L"Quill tree", 10s);
    ASSERT_NE(window_, nullptr);
    // A child with a child of its own, and one that sets itself to IDLE.
    ASSERT_TRUE(e2e::WaitUntil(
        [&] {
          normal_.clear();
          idle_.clear();
          for (DWORD id : DescendantsOf(host_.id())) {
            (ClassOfId(id) == IDLE_PRIORITY_CLASS ? idle_ : normal_).push_back(id);
          }
          return idle_.size() == 1 && normal_.size() == 2;
        },
        10s))
        << normal_.size() << " at NORMAL, " << idle_.size() << " at IDLE";
  }
  e2e::Process host_;
  HWND window_ = nullptr;
  std::vector<DWORD> normal_, idle_;
};

constexpr char kAcceleratingTrees[] =
    "[Normal]\r\nEnableSpeed=1\r\n[Speed]\r\nSpeedLevel=1\r\nAccelerateChildren=1\r\n";

TEST_F(ApplicationTreeEndToEnd, TheTreeIsRaisedLaterChildrenTooAndAKilledRunsTreeGoesBack) {
  e2e::BrevoltApp app(kAcceleratingTrees);
  ASSERT_TRUE(app.Started());
  ASSERT_NO_FATAL_FAILURE(StartHost());
  ASSERT_TRUE(BringHostToFront(app, true)) << TreeReport(host_.id());
  EXPECT_EQ(ClassOfId(idle_[0]), static_cast<DWORD>(IDLE_PRIORITY_CLASS));  // the class it chose stays

  // A child started while the tree is raised: picked up at a later look.
  PostMessageW(window_, WM_APP, 0, 0);
  ASSERT_TRUE(e2e::WaitUntil([&] { return DescendantsOf(host_.id()).size() == 4; }, 10s));
  DWORD later = 0;
  for (DWORD id : DescendantsOf(host_.id())) {
    if (std::find(normal_.begin(), normal_.end(), id) == normal_.end() && id != idle_[0]) later = id;
  }
  ASSERT_NE(later, 0u);
  EXPECT_TRUE(e2e::WaitUntil([&] { return ClassOfId(later) == kHigh; }, 10s))
      << "the later child was not raised";

  // Killed with the tree raised: the next start puts every one back.
  const std::string before = TreeReport(host_.id());
  ASSERT_TRUE(TerminateProcess(app.process().handle(), 1));
  ASSERT_EQ(WaitForSingleObject(app.process().handle(), 5000), WAIT_OBJECT_0);
  e2e::BrevoltApp again;
  ASSERT_TRUE(again.Started());
  EXPECT_EQ(host_.PriorityClass(), kNormal);
  for (DWORD id : normal_) EXPECT_EQ(ClassOfId(id), kNormal) << id << "; before the kill: " << before;
  EXPECT_EQ(ClassOfId(later), kNormal);
  EXPECT_EQ(ClassOfId(idle_[0]), static_cast<DWORD>(IDLE_PRIORITY_CLASS));
}

TEST_F(ApplicationTreeEndToEnd, WithTheOptionOffOnlyTheWindowsProcessIsRaised) {
  e2e::BrevoltApp app(kAccelerating);
  ASSERT_TRUE(app.Started());
  ASSERT_NO_FATAL_FAILURE(StartHost());
  ASSERT_TRUE(BringHostToFront(app, false));
  for (DWORD id : normal_) EXPECT_EQ(ClassOfId(id), kNormal) << id;
}

// Brings a window to the front until the program shows its title (a window
// just started may take the activation back once).
bool ShownInFront(e2e::BrevoltApp& app, HWND window, const std::string& title) {
  HWND info = app.Control(app::kLabelInfo);
  return e2e::WaitUntil(
      [&] {
        if (GetForegroundWindow() != window) SetForegroundWindow(window);
        return e2e::TextOf(info) == title;
      },
      5s);
}

// ---- processes never to raise ----

// A rule by name or by a path with wildcards keeps the process at its
// class, while the change is still shown and counted.
TEST(NeverListEndToEnd, ARuleKeepsTheProcessAtItsClassButTheChangeIsShown) {
  for (const char* rule : {"WINDOW_HOST.exe", "*\\e2e\\window_?ost.exe"}) {
    SCOPED_TRACE(rule);
    e2e::BrevoltApp app(std::string(kAccelerating) + "[Exclude]\r\n" + rule + "=1\r\n");
    ASSERT_TRUE(app.Started());
    e2e::Process host = e2e::Process::Start(e2e::HostPath(WINDOW_HOST_EXE), L"Quill never", L"");
    HWND window = host.FindWindowTitled(L"Quill never", 10s);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(ShownInFront(app, window, "Quill never"));
    SendMessageW(app.Main(), WM_TIMER, app::kTimerMain, 0);  // the tick that showed it has ended
    EXPECT_EQ(host.PriorityClass(), kNormal);
    EXPECT_GE(std::atoi(e2e::TextOf(app.Control(app::kLabelCount)).c_str()), 1);
  }
}

// A hostile [Exclude]: 10,000 rules, rules of 2,000 characters, rules of
// wildcards and broken lines. The program starts, a change is handled at
// once (the host matches none of them), and an option written later keeps
// every line of the file.
TEST(NeverListEndToEnd, AHugeAndBrokenRuleSectionCostsNothingAndLosesNothing) {
  std::string ini = "[Normal]\r\nEnableSpeed=1\r\n[Speed]\r\nSpeedLevel=1\r\n[Exclude]\r\n";
  for (int i = 0; i < 10000; ++i) ini += "C:\\Tools\\r" + std::to_string(i) + "\\*.exe=1\r\n";
  std::string stars = "C:\\";
  while (stars.size() < 2000) stars += "*a";
  ini += stars + "=1\r\n\\?*?*?*?*=1\r\n\\*****=1\r\n=1\r\nno equals sign\r\n[[broken\r\nmaybe.exe=yes\r\n";
  ini += "[Record]\r\nRecordCount=100\r\n";
  e2e::BrevoltApp app(ini);
  ASSERT_TRUE(app.Started());
  EXPECT_TRUE(e2e::Checked(app.Control(app::kCheckState)));
  EXPECT_EQ(e2e::TextOf(app.Control(app::kComboAutoCleanCount)), "100");  // the section after it is read

  e2e::Process host = e2e::Process::Start(e2e::HostPath(WINDOW_HOST_EXE), L"Quill ruled", L"");
  HWND window = host.FindWindowTitled(L"Quill ruled", 10s);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(ShownInFront(app, window, "Quill ruled"));
  EXPECT_TRUE(WaitForClass(host, kHigh));

  e2e::Click(app.Control(app::kCheckMostTop));
  const std::string after = app.ConfigIni();
  std::size_t at = 0;
  for (std::size_t begin = 0; begin < ini.size();) {
    const std::size_t end = ini.find("\r\n", begin);
    const std::string line = ini.substr(begin, end - begin);
    at = after.find(line, at);
    ASSERT_NE(at, std::string::npos) << "lost or moved: " << line.substr(0, 80);
    begin = end + 2;
  }
  EXPECT_NE(after.find("AlwaysTop=1"), std::string::npos);
}

// Where a history row is on the screen: the middle of its label.
POINT RowOnScreen(HWND list, int row) {
  POINT point{-1, -1};
  DWORD pid = 0;
  GetWindowThreadProcessId(list, &pid);
  const win32::UniqueHandle process(
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
  void* remote = process.get()
                     ? VirtualAllocEx(process.get(), nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE)
                     : nullptr;
  if (!remote) return point;
  RECT rect{LVIR_LABEL, 0, 0, 0};
  WriteProcessMemory(process.get(), remote, &rect, sizeof rect, nullptr);
  if (SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote)) &&
      ReadProcessMemory(process.get(), remote, &rect, sizeof rect, nullptr)) {
    point = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(list, &point);
  }
  VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
  return point;
}

// The history row's menu adds its program to the never-list, and the next
// change to it leaves it at its class.
TEST(NeverListEndToEnd, TheHistoryRowsMenuAddsItsProgramAndTheNextChangeObeys) {
  e2e::BrevoltApp app(kAccelerating);
  ASSERT_TRUE(app.Started());
  HWND main = app.Main(), info = app.Control(app::kLabelInfo), list = app.Control(app::kListViewHistory);
  e2e::Process host = e2e::Process::Start(e2e::HostPath(WINDOW_HOST_EXE), L"Quill unwanted", L"");
  HWND window = host.FindWindowTitled(L"Quill unwanted", 10s);
  ASSERT_NE(window, nullptr);
  const auto showing = [&](HWND front, const std::string& caption) {
    return e2e::WaitUntil(
        [&] {
          if (GetForegroundWindow() != front) SetForegroundWindow(front);
          return e2e::TextOf(info) == caption;
        },
        5s);
  };
  ASSERT_TRUE(showing(window, "Quill unwanted"));
  ASSERT_TRUE(WaitForClass(host, kHigh));
  ASSERT_TRUE(showing(main, std::string(platform::kMainCaption)));
  ASSERT_TRUE(WaitForClass(host, kNormal));

  // The history page in sight, then the menu of the host's row.
  HWND tabs = app.Control(app::kSSTabMain);
  RECT page{}, shown{};
  for (int i = 0; i < 4; ++i) {
    GetWindowRect(tabs, &page);
    GetWindowRect(list, &shown);
    if (shown.left >= page.left && shown.right <= page.right) break;
    SendMessageW(tabs, WM_KEYDOWN, VK_RIGHT, 0);
  }
  int row = -1;
  const auto rows = e2e::ListViewRows(list, 3);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i][2] == "Quill unwanted") row = static_cast<int>(i);
  }
  ASSERT_GE(row, 0);
  const POINT at = RowOnScreen(list, row);
  PostMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(at.x, at.y));
  HWND menu = e2e::WaitForWindowOfClass(app.process().id(), L"#32768", 5s);
  ASSERT_NE(menu, nullptr) << "no menu for the row";
  PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
  ASSERT_TRUE(
      e2e::WaitUntil([&] { return app.ConfigIni().find("window_host.exe=1") != std::string::npos; }, 5s))
      << app.ConfigIni();

  ASSERT_TRUE(showing(window, "Quill unwanted"));
  SendMessageW(main, WM_TIMER, app::kTimerMain, 0);  // the tick that showed it has ended
  EXPECT_EQ(host.PriorityClass(), kNormal);
}

// Selects a row of a list view in another process.
bool SelectRow(HWND list, int row) {
  DWORD pid = 0;
  GetWindowThreadProcessId(list, &pid);
  const win32::UniqueHandle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid));
  void* remote = process.get()
                     ? VirtualAllocEx(process.get(), nullptr, sizeof(LVITEMW), MEM_COMMIT, PAGE_READWRITE)
                     : nullptr;
  if (!remote) return false;
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  WriteProcessMemory(process.get(), remote, &item, sizeof item, nullptr);
  const bool done =
      SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote)) != 0;
  VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
  return done;
}

// The dialog behind the settings page's button lists the built-in rules and
// the user's; its button removes a rule of the user's, lifts a built-in one
// and brings it back, each written to config.ini at once.
TEST(NeverListEndToEnd, TheDialogListsTheRulesAndRemovesLiftsAndRestoresThem) {
  e2e::BrevoltApp app("[Exclude]\r\ngame.exe=1\r\n");
  ASSERT_TRUE(app.Started());
  PostMessageW(app.Control(app::kCommandNeverList), BM_CLICK, 0, 0);
  HWND dialog = app.process().FindWindowTitled(L"从不加速列表", 5s);
  ASSERT_NE(dialog, nullptr);
  HWND list = FindWindowExW(dialog, nullptr, L"SysListView32", nullptr);
  HWND toggle = GetDlgItem(dialog, 53);
  ASSERT_TRUE(list && toggle);
  const auto rowOf = [&](const std::string& rule) -> std::pair<int, std::vector<std::string>> {
    const auto rows = e2e::ListViewRows(list, 4);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      if (rows[i][0] == rule) return {static_cast<int>(i), rows[i]};
    }
    return {-1, {}};
  };
  EXPECT_EQ(rowOf("explorer.exe").second,
            (std::vector<std::string>{"explorer.exe", "内置", "最多高优先级", "生效"}));
  EXPECT_EQ(rowOf("Progman").second, (std::vector<std::string>{"Progman", "内置", "窗口类", "生效"}));
  ASSERT_EQ(rowOf("game.exe").second, (std::vector<std::string>{"game.exe", "自定义", "程序", "生效"}));

  const auto press = [&](const std::string& rule, const char* written) {
    if (!SelectRow(list, rowOf(rule).first)) return false;
    PostMessageW(toggle, BM_CLICK, 0, 0);
    return e2e::WaitUntil([&] { return app.ConfigIni().find(written) != std::string::npos; }, 5s);
  };
  ASSERT_TRUE(press("game.exe", "game.exe=0")) << app.ConfigIni();
  EXPECT_TRUE(e2e::WaitUntil([&] { return rowOf("game.exe").first < 0; }, 5s));
  ASSERT_TRUE(press("LogonUI.exe", "LogonUI.exe=0")) << app.ConfigIni();
  EXPECT_TRUE(e2e::WaitUntil([&] { return rowOf("LogonUI.exe").second.back() == "已停用"; }, 5s));
  ASSERT_TRUE(press("LogonUI.exe", "LogonUI.exe=-")) << app.ConfigIni();
  EXPECT_TRUE(e2e::WaitUntil([&] { return rowOf("LogonUI.exe").second.back() == "生效"; }, 5s));

  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(e2e::WaitUntil([&] { return !IsWindow(dialog); }, 5s));
}

// A window of the desktop's class (the shell's) is never acted on; lifted
// by "Progman=0", it is raised like any other.
TEST(NeverListEndToEnd, TheDesktopsWindowIsNotRaisedUntilItsRuleIsLifted) {
  for (const bool lifted : {false, true}) {
    SCOPED_TRACE(lifted ? "lifted" : "built in");
    e2e::BrevoltApp app(std::string(kAccelerating) + (lifted ? "[Exclude]\r\nProgman=0\r\n" : ""));
    ASSERT_TRUE(app.Started());
    e2e::Process host =
        e2e::Process::Start(e2e::HostPath(WINDOW_HOST_EXE), L"/class Progman Quill desktop", L"");
    HWND window = host.FindWindowTitled(L"Quill desktop", 10s);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(ShownInFront(app, window, "Quill desktop"));
    SendMessageW(app.Main(), WM_TIMER, app::kTimerMain, 0);  // the tick that showed it has ended
    EXPECT_EQ(host.PriorityClass(), lifted ? kHigh : kNormal);
  }
}

}  // namespace
