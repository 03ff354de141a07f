// The real program as a standard user meets it: a machine-wide Run key that
// refuses values, a program folder open to other users, a config.ini that
// cannot be written.
#include <windows.h>
#include <aclapi.h>
#include <gtest/gtest.h>
#include <sddl.h>

#include "app/control_ids.h"
#include "e2e/driver.h"
#include "settings/module_config.h"
#include "shell/form_main.h"

using namespace std::chrono_literals;

namespace {

std::vector<std::string> TakeNotices(e2e::BrevoltApp& app, std::chrono::milliseconds wait) {
  return e2e::TakeNotices(app.process().id(), wait);
}

std::string Notice(std::string_view text) { return "提示|" + std::string(text); }

// Task Manager's Startup tab writes its switch beside the Run key, as
// Windows 8 and later do: 3 = off, then the time it was switched off.
constexpr wchar_t kSwitchPath[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
const std::string kSwitchedOff("\x03\0\0\0\x10\x32\x54\x76\x98\xBA\xDC\x01", 12);

void RemoveRunValues() {
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    for (REGSAM view : {REGSAM{0}, REGSAM{KEY_WOW64_32KEY}}) {
      HKEY key = nullptr;
      if (RegOpenKeyExA(root, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0, KEY_SET_VALUE | view,
                        &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, "Brevolt");
        RegCloseKey(key);
      }
    }
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, kSwitchPath, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, &key) == ERROR_SUCCESS) {
      RegDeleteValueW(key, L"Brevolt");
      RegCloseKey(key);
    }
  }
}

class StartAtLogonEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override { RemoveRunValues(); }
  void TearDown() override { RemoveRunValues(); }
  static std::string Command(const e2e::BrevoltApp& app) {
    return (app.Folder() / L"Brevolt.exe").string();  // no blank in the test folders
  }
};

// A standard user: the machine-wide key refuses, the user's key takes the
// same value; unchecking clears it, a machine-wide one written meanwhile,
// and one a 32-bit build left.
TEST_F(StartAtLogonEndToEnd, RefusedMachineWideKeyGivesTheUsersValueAndUncheckingRemovesAll) {
  e2e::BrevoltApp app;
  ASSERT_TRUE(app.Started());
  HWND box = app.Control(app::kCheckAutoRun);
  {
    const e2e::RefusedRunKey refused(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(refused.Active());
    e2e::Click(box);
    EXPECT_TRUE(e2e::Checked(box));
    EXPECT_TRUE(e2e::Contains(app.ConfigIni(), "AutoRun=1"));
    EXPECT_EQ(e2e::RunValue(HKEY_CURRENT_USER), Command(app));
    EXPECT_EQ(e2e::RunValue(HKEY_LOCAL_MACHINE), "<none>");
    EXPECT_TRUE(TakeNotices(app, 500ms).empty());
  }
  ASSERT_TRUE(e2e::WriteRunValue(HKEY_LOCAL_MACHINE, 0, Command(app)));
  ASSERT_TRUE(e2e::WriteRunValue(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, Command(app)));
  e2e::Click(box);
  EXPECT_FALSE(e2e::Checked(box));
  EXPECT_TRUE(e2e::Contains(app.ConfigIni(), "AutoRun=0"));
  EXPECT_EQ(e2e::RunValue(HKEY_CURRENT_USER), "<none>");
  EXPECT_EQ(e2e::RunValue(HKEY_LOCAL_MACHINE), "<none>");
  EXPECT_EQ(e2e::RunValue(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY), "<none>");

  // With the rights back, the value is still the user's alone: Wine gives
  // every folder to its user, who could replace what every other user's
  // logon would start. Now that the machine-wide value was possible, the
  // user hears why.
  e2e::Click(box);
  EXPECT_EQ(TakeNotices(app, 3s), std::vector<std::string>{Notice(shell::kAutoRunForUserNotice)});
  EXPECT_EQ(e2e::RunValue(HKEY_CURRENT_USER), Command(app));
  EXPECT_EQ(e2e::RunValue(HKEY_LOCAL_MACHINE), "<none>");
}

TEST_F(StartAtLogonEndToEnd, RefusedEverywhereUnchecksTheBoxAndSaysSoOnce) {
  e2e::BrevoltApp app;
  ASSERT_TRUE(app.Started());
  HWND box = app.Control(app::kCheckAutoRun);
  const e2e::RefusedRunKey machine(HKEY_LOCAL_MACHINE);
  const e2e::RefusedRunKey user(HKEY_CURRENT_USER);
  ASSERT_TRUE(machine.Active() && user.Active());
  e2e::Click(box);
  EXPECT_FALSE(e2e::Checked(box));
  EXPECT_EQ(TakeNotices(app, 3s), std::vector<std::string>{Notice(shell::kAutoRunRefusedNotice)});
  EXPECT_TRUE(e2e::Contains(app.ConfigIni(), "AutoRun=0"));
  EXPECT_FALSE(e2e::Contains(app.ConfigIni(), "AutoRun=1"));
  EXPECT_EQ(e2e::RunValue(HKEY_LOCAL_MACHINE), "<none>");
  EXPECT_EQ(e2e::RunValue(HKEY_CURRENT_USER), "<none>");
}

// A program folder that other users may change: a machine-wide value would
// let them run code in every session, so the user's own value is written
// and the user hears why.
TEST_F(StartAtLogonEndToEnd, FolderOpenToOthersKeepsTheValueForTheUser) {
  e2e::BrevoltApp app([](const std::filesystem::path& folder) {
    PSECURITY_DESCRIPTOR open = nullptr;
    ConvertStringSecurityDescriptorToSecurityDescriptorW(
        L"D:(A;;FA;;;SY)(A;;FA;;;BA)(A;;FA;;;OW)(A;;0x1301bf;;;WD)", SDDL_REVISION_1, &open, nullptr);
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    GetSecurityDescriptorDacl(open, &present, &dacl, &defaulted);
    SetNamedSecurityInfoW(const_cast<wchar_t*>(folder.c_str()), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                          nullptr, nullptr, dacl, nullptr);
    LocalFree(open);
  });
  ASSERT_TRUE(app.Started());
  HWND box = app.Control(app::kCheckAutoRun);
  e2e::Click(box);
  EXPECT_TRUE(e2e::Checked(box));
  EXPECT_EQ(TakeNotices(app, 3s), std::vector<std::string>{Notice(shell::kAutoRunForUserNotice)});
  EXPECT_EQ(e2e::RunValue(HKEY_LOCAL_MACHINE), "<none>");
  EXPECT_EQ(e2e::RunValue(HKEY_CURRENT_USER), Command(app));

  // The next start renews it quietly.
  ASSERT_TRUE(app.Restart());
  EXPECT_TRUE(e2e::Checked(app.Control(app::kCheckAutoRun)));
  EXPECT_TRUE(TakeNotices(app, 500ms).empty());
  EXPECT_EQ(e2e::RunValue(HKEY_CURRENT_USER), Command(app));
  e2e::Click(app.Control(app::kCheckAutoRun));
  EXPECT_EQ(e2e::RunValue(HKEY_CURRENT_USER), "<none>");
}

bool SwitchOffInTaskManager() {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kSwitchPath, 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr,
                      &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const LONG status =
      RegSetValueExW(key, L"Brevolt", 0, REG_BINARY, reinterpret_cast<const BYTE*>(kSwitchedOff.data()), 12);
  RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

// The switch's bytes, or "<none>".
std::string StartupSwitch() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kSwitchPath, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &key) !=
      ERROR_SUCCESS)
    return "<none>";
  char data[64] = {};
  DWORD size = sizeof data;
  const LONG status =
      RegQueryValueExW(key, L"Brevolt", nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(key);
  return status == ERROR_SUCCESS ? std::string(data, size) : "<none>";
}

// Switched off in Windows while the program was not running: the box shows
// what Windows will do and the entry stays listed as off; checking the box
// switches it on again, unchecking removes both.
TEST_F(StartAtLogonEndToEnd, TaskManagersSwitchWinsAtStartAndCheckingSwitchesItOn) {
  e2e::BrevoltApp app;
  ASSERT_TRUE(app.Started());
  e2e::Click(app.Control(app::kCheckAutoRun));
  EXPECT_EQ(TakeNotices(app, 3s), std::vector<std::string>{Notice(shell::kAutoRunForUserNotice)});
  ASSERT_EQ(e2e::RunValue(HKEY_CURRENT_USER), Command(app));
  ASSERT_TRUE(SwitchOffInTaskManager());

  ASSERT_TRUE(app.Restart());
  HWND box = app.Control(app::kCheckAutoRun);
  EXPECT_FALSE(e2e::Checked(box));
  EXPECT_TRUE(e2e::Contains(app.ConfigIni(), "AutoRun=0"));
  EXPECT_EQ(e2e::RunValue(HKEY_CURRENT_USER), Command(app));
  EXPECT_EQ(StartupSwitch(), kSwitchedOff);

  e2e::Click(box);
  EXPECT_TRUE(e2e::Checked(box));
  EXPECT_TRUE(e2e::Contains(app.ConfigIni(), "AutoRun=1"));
  EXPECT_EQ(e2e::RunValue(HKEY_CURRENT_USER), Command(app));
  EXPECT_EQ(StartupSwitch(), "<none>");
  EXPECT_EQ(TakeNotices(app, 3s), std::vector<std::string>{Notice(shell::kAutoRunForUserNotice)});

  ASSERT_TRUE(SwitchOffInTaskManager());
  e2e::Click(box);
  EXPECT_FALSE(e2e::Checked(box));
  EXPECT_EQ(e2e::RunValue(HKEY_CURRENT_USER), "<none>");
  EXPECT_EQ(StartupSwitch(), "<none>");
}

// ---- config.ini that cannot be written ----

class UnwritableConfigEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override { Clear(); }
  void TearDown() override { Clear(); }
  static void Clear() {
    std::error_code ignored;
    std::filesystem::remove(e2e::PerUserConfig(), ignored);
  }
  static std::string PerUser() { return e2e::ReadFileBytes(e2e::PerUserConfig()); }
  static std::string MovedNotice() {
    return Notice(std::string(settings::kSettingsMovedNotice) + e2e::PerUserConfig().string());
  }
};

// A folder named config.ini: no write there can work.
TEST_F(UnwritableConfigEndToEnd, ChangesAreKeptPerUserAndReadBackAtTheNextStart) {
  e2e::BrevoltApp app(
      [](const std::filesystem::path& folder) { std::filesystem::create_directory(folder / L"config.ini"); });
  ASSERT_TRUE(app.Started());
  // Start-up stores the acceleration level, which is the first write to fail.
  EXPECT_EQ(TakeNotices(app, 3s), std::vector<std::string>{MovedNotice()});
  e2e::Click(app.Control(app::kCheckMostTop));
  e2e::Click(app.Control(app::kCheckState));
  EXPECT_TRUE(TakeNotices(app, 500ms).empty());
  const std::string stored = PerUser();
  for (const char* entry : {"SpeedLevel=2", "AlwaysTop=1", "EnableSpeed=1"}) {
    EXPECT_TRUE(e2e::Contains(stored, entry)) << entry << " in\n" << stored;
  }

  ASSERT_TRUE(app.Restart());
  EXPECT_TRUE(TakeNotices(app, 500ms).empty());
  EXPECT_TRUE(e2e::Checked(app.Control(app::kCheckMostTop)));
  EXPECT_TRUE(e2e::Topmost(app.Main()));
  EXPECT_TRUE(e2e::Checked(app.Control(app::kCheckState)));
  EXPECT_TRUE(std::filesystem::is_directory(app.Folder() / L"config.ini"));
}

// A read-only file is applied as stored and stays exactly as it was; the
// settings it held go along to the per-user file with every later change.
// So too with a UTF-8 mark, which the program reads and writes itself.
TEST_F(UnwritableConfigEndToEnd, ReadOnlyFileIsLeftAloneAndItsSettingsGoAlong) {
  for (const std::string mark : {"", "\xEF\xBB\xBF"}) {
    SCOPED_TRACE(mark.empty() ? "plain" : "UTF-8 mark");
    Clear();
    const std::string ini =
        mark + "[Normal]\r\nEnableSpeed=1\r\nAlwaysTop=1\r\n[Record]\r\nRecordCount=200\r\n";
    e2e::BrevoltApp app(ini, true);
    ASSERT_TRUE(app.Started());
    EXPECT_EQ(TakeNotices(app, 3s), std::vector<std::string>{MovedNotice()});
    EXPECT_TRUE(e2e::Checked(app.Control(app::kCheckState)));
    EXPECT_EQ(e2e::TextOf(app.Control(app::kComboAutoCleanCount)), "200");
    e2e::Click(app.Control(app::kCheckMostTop));
    EXPECT_FALSE(e2e::Topmost(app.Main()));
    EXPECT_EQ(app.ConfigIni(), ini);
    const std::string stored = PerUser();
    for (const char* entry : {"EnableSpeed=1", "RecordCount=200", "AlwaysTop=0"}) {
      EXPECT_TRUE(e2e::Contains(stored, entry)) << entry << " in\n" << stored;
    }

    ASSERT_TRUE(app.Restart());
    EXPECT_FALSE(e2e::Checked(app.Control(app::kCheckMostTop)));
    EXPECT_FALSE(e2e::Topmost(app.Main()));
    EXPECT_EQ(app.ConfigIni(), ini);
  }
}

}  // namespace
