// The priority operation against real processes.
#include <gtest/gtest.h>

#include <algorithm>

#include "e2e/driver.h"
#include "engine/priority.h"
#include "engine/raised_process.h"
#include "win32/raised_records_win32.h"
#include "win32/system_ports.h"

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

// The records live in a volatile key; a test root keeps them apart from the
// program's own.
struct RaisedRecordsWin32 : ::testing::Test {
  HKEY root = nullptr;
  std::wstring rootPath = L"Software\\QuillmoorTest-" + std::to_wstring(GetCurrentProcessId());
  void SetUp() override {
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, rootPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &root, nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    RegDeleteTreeW(root, nullptr);
    RegCloseKey(root);
    RegDeleteKeyW(HKEY_CURRENT_USER, rootPath.c_str());
  }
};

TEST_F(RaisedRecordsWin32, WrittenListedAndDeletedInAVolatileKey) {
  win32::RegistryRaisedRecords records(root);
  EXPECT_TRUE(records.List().empty());
  records.Delete("nothing");  // no key yet: nothing happens
  ASSERT_TRUE(records.Write("12-345", "7 7000 32 128"));
  ASSERT_TRUE(records.Write("13-346", "8 8000 16384 256"));
  ASSERT_TRUE(records.Write("12-345", "7 7000 32 256"));
  auto list = records.List();
  std::sort(list.begin(), list.end());
  EXPECT_EQ(list, (std::vector<std::pair<std::string, std::string>>{{"12-345", "7 7000 32 256"},
                                                                    {"13-346", "8 8000 16384 256"}}));
  records.Delete("12-345");
  EXPECT_EQ(records.List().size(), 1u);

  // Volatile: it cannot hold an ordinary key, and is gone with the session.
  HKEY key = nullptr, child = nullptr;
  ASSERT_EQ(RegOpenKeyExW(root, L"Software\\Quillmoor\\Brevolt\\Raised", 0, KEY_ALL_ACCESS, &key),
            ERROR_SUCCESS);
  EXPECT_EQ(RegCreateKeyExW(key, L"child", 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                            &child, nullptr),
            ERROR_CHILD_MUST_BE_VOLATILE);
  RegCloseKey(key);

  // Something else stored there is listed as damaged, to be removed.
  HKEY raw = nullptr;
  RegOpenKeyExW(root, L"Software\\Quillmoor\\Brevolt\\Raised", 0, KEY_SET_VALUE, &raw);
  const DWORD number = 5;
  RegSetValueExW(raw, L"odd", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
  RegCloseKey(raw);
  list = records.List();
  std::sort(list.begin(), list.end());
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1], (std::pair<std::string, std::string>{"odd", ""}));
}

// Raise, record, and put back after a "crash" against a real process: the
// identity read through two different handles matches.
TEST_F(RaisedRecordsWin32, ARecordLeftByAProgramThatIsGoneIsPutBack) {
  e2e::Process host = e2e::Process::Start(e2e::HostPath(WINDOW_HOST_EXE), L"Quill record host", L"");
  ASSERT_NE(host.handle(), nullptr);
  ASSERT_TRUE(SetPriorityClass(host.handle(), BELOW_NORMAL_PRIORITY_CLASS));
  win32::SystemProcessPriorities processes;
  win32::RegistryRaisedRecords records(root);
  engine::RaisedProcess raised;
  const auto outcome = engine::RaiseProcess(processes, records, raised, host.id(), HIGH_PRIORITY_CLASS);
  EXPECT_EQ(outcome.result, engine::RaiseResult::Granted);
  ASSERT_NE(raised.creationTime, 0u);
  EXPECT_EQ(host.PriorityClass(), static_cast<DWORD>(HIGH_PRIORITY_CLASS));

  // Written by this process, which runs: left alone.
  EXPECT_EQ(engine::PutBackAfterCrash(processes, records), 0);
  ASSERT_EQ(records.List().size(), 1u);
  EXPECT_EQ(host.PriorityClass(), static_cast<DWORD>(HIGH_PRIORITY_CLASS));

  // The same record from a program that is gone: put back and removed.
  const std::string text = records.List()[0].second;
  records.Delete(raised.recordName);
  records.Write("4294967291-1", text);
  EXPECT_EQ(engine::PutBackAfterCrash(processes, records), 1);
  EXPECT_EQ(host.PriorityClass(), static_cast<DWORD>(BELOW_NORMAL_PRIORITY_CLASS));
  EXPECT_TRUE(records.List().empty());
}

}  // namespace
