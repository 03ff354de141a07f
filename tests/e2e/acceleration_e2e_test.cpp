// Starts the real Brevolt.exe in a temporary folder and switches the
// foreground between two windows of two other processes.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/control_ids.h"
#include "e2e/driver.h"

using namespace std::chrono_literals;

namespace {

constexpr DWORD kNormal = NORMAL_PRIORITY_CLASS;
constexpr DWORD kHigh = HIGH_PRIORITY_CLASS;

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
    // once: let a tick pass and bring the program back if it did.
    ASSERT_TRUE(SwitchTo(main_, "Quillmoorv3.1")) << "LabelInfo: " << e2e::TextOf(info_);
    Sleep(1100);
    ASSERT_TRUE(SwitchTo(main_, "Quillmoorv3.1")) << "LabelInfo: " << e2e::TextOf(info_);
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

  // Acceleration on at the normal level, recording on, threshold 50.
  e2e::BrevoltApp app_{
      "[Normal]\r\nEnableSpeed=1\r\n[Speed]\r\nSpeedLevel=1\r\n[Record]\r\nEnableRecord=1\r\nRecordCount=50\r\n"};
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
  Sleep(2500);
  ASSERT_EQ(GetForegroundWindow(), windowB_);
  EXPECT_EQ(e2e::TextOf(info_), "Quill host A");
  EXPECT_EQ(Count(), before);
  EXPECT_EQ(hostA_.PriorityClass(), kHigh);
  EXPECT_EQ(hostB_.PriorityClass(), kNormal);
}

}  // namespace
