// The Run entry in the real registry, with the refusal a standard user meets
// made real through a key's security descriptor; and the rights and files
// that decide where the Run entry and the settings go.
#include <windows.h>
#include <aclapi.h>
#include <gtest/gtest.h>
#include <sddl.h>

#include <algorithm>
#include <filesystem>
#include <optional>

#include "e2e/driver.h"
#include "settings/module_auto_run.h"
#include "settings/module_config.h"
#include "western_locale.h"
#include "win32/file_rights_win32.h"
#include "win32/profile_store_win32.h"
#include "win32/run_key_win32.h"
#include "win32/text.h"

namespace {

using platform::RunScope;

struct RegistryValue {
  DWORD type = 0;
  std::string bytes;  // as stored, terminating zero included
};

std::optional<RegistryValue> ReadRunValue(HKEY root = HKEY_LOCAL_MACHINE) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, win32::kRunKeyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  RegistryValue value;
  DWORD size = 0;
  LONG status = RegQueryValueExA(key, "Brevolt", nullptr, &value.type, nullptr, &size);
  if (status == ERROR_SUCCESS) {
    value.bytes.resize(size);
    status = RegQueryValueExA(key, "Brevolt", nullptr, &value.type,
                              reinterpret_cast<BYTE*>(value.bytes.data()), &size);
  }
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) return std::nullopt;
  return value;
}

// This test program is not called Brevolt.exe, yet the value must name it.
std::string ExpectedCommandHere() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string data(path, n);
  data.resize(data.rfind('\\') + 1);
  data += "Brevolt.exe";
  return data.find(' ') == std::string::npos ? data : '"' + data + '"';
}

// Every folder and file counts as closed to other users: the registry side
// is what these tests look at.
struct ClosedFiles : platform::FileSecurity {
  std::optional<AccessList> AccessListOf(const std::string&) override { return AccessList{}; }
};

TEST(SettingsRunKeyTest, CheckingWritesTheValueAndUncheckingDeletesIt) {
  win32::RunKeyWin32 runKey;
  ClosedFiles files;
  const settings::ModuleAutoRun autoRun(runKey, files, win32::ApplicationDirectory());
  EXPECT_TRUE(autoRun.RemoveRunEntry());
  EXPECT_TRUE(autoRun.RemoveRunEntry());  // a missing value is no failure
  EXPECT_FALSE(ReadRunValue());

  EXPECT_EQ(autoRun.AddRunEntry().place, settings::RunEntryPlace::MachineWide);
  const auto written = ReadRunValue();
  ASSERT_TRUE(written);
  EXPECT_EQ(written->type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(written->bytes, ExpectedCommandHere() + '\0');
  EXPECT_FALSE(ReadRunValue(HKEY_CURRENT_USER));

  EXPECT_TRUE(autoRun.RemoveRunEntry());
  EXPECT_FALSE(ReadRunValue());
  autoRun.AddRunEntry();
  EXPECT_TRUE(ReadRunValue());
  autoRun.RemoveRunEntry();
}

TEST(SettingsRunKeyTest, AFolderWithBlanksIsQuotedAndStoredInTheAnsiCodePage) {
  ASSERT_EQ(GetACP(), 936u) << "the Wine session should give code page 936";
  win32::RunKeyWin32 runKey;
  ClosedFiles files;
  const settings::ModuleAutoRun autoRun(runKey, files, "C:\\Program Files\\加速");
  autoRun.AddRunEntry();
  const auto written = ReadRunValue();
  ASSERT_TRUE(written);
  EXPECT_EQ(written->type, static_cast<DWORD>(REG_SZ));
  // 加速 is BC D3 CB D9 in code page 936.
  EXPECT_EQ(written->bytes, std::string("\"C:\\Program Files\\\xBC\xD3\xCB\xD9\\Brevolt.exe\"") + '\0');
  autoRun.RemoveRunEntry();
  EXPECT_FALSE(ReadRunValue());
}

// A machine-wide key that may be opened but not written, as a standard user
// meets it: the value goes to the user's key, and the adapter tells a value
// it could not delete from one that is gone.
TEST(SettingsRunKeyTest, RefusedMachineWideKeyLeavesTheCurrentUsersKey) {
  win32::RunKeyWin32 runKey;
  ClosedFiles files;
  const settings::ModuleAutoRun autoRun(runKey, files, "C:\\Tools");
  {
    const e2e::RefusedRunKey refused(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(refused.Active());
    // Opening works, setting is refused: what a standard user meets.
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, win32::kRunKeyPath, &key), ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(key, "Brevolt", 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2),
              ERROR_ACCESS_DENIED);
    RegCloseKey(key);
    EXPECT_FALSE(runKey.SetString(RunScope::MachineWide, "Brevolt", "x"));
    EXPECT_EQ(autoRun.AddRunEntry().place, settings::RunEntryPlace::CurrentUser);
    EXPECT_FALSE(ReadRunValue());
    const auto user = ReadRunValue(HKEY_CURRENT_USER);
    ASSERT_TRUE(user);
    EXPECT_EQ(user->bytes, std::string("C:\\Tools\\Brevolt.exe") + '\0');
    EXPECT_TRUE(autoRun.RemoveRunEntry());
    EXPECT_FALSE(ReadRunValue(HKEY_CURRENT_USER));
  }
  // A value that is there and may not be deleted is reported as left.
  ASSERT_TRUE(e2e::WriteRunValue(HKEY_LOCAL_MACHINE, 0, "C:\\Tools\\Brevolt.exe"));
  {
    const e2e::RefusedRunKey refused(HKEY_LOCAL_MACHINE);
    EXPECT_FALSE(runKey.DeleteValue(RunScope::MachineWide, "Brevolt"));
    EXPECT_FALSE(autoRun.RemoveRunEntry());
  }
  EXPECT_TRUE(autoRun.RemoveRunEntry());
  EXPECT_EQ(e2e::RunValue(HKEY_LOCAL_MACHINE), "<none>");
}

// What a 32-bit build wrote lives in the 32-bit view of the machine-wide
// key; removing the entry clears it there too.
TEST(SettingsRunKeyTest, RemovingAlsoClearsTheThirtyTwoBitView) {
  ASSERT_TRUE(e2e::WriteRunValue(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, "C:\\Old\\Brevolt.exe"));
  ASSERT_EQ(e2e::RunValue(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY), "C:\\Old\\Brevolt.exe");
  EXPECT_EQ(e2e::RunValue(HKEY_LOCAL_MACHINE), "<none>");  // a separate view
  win32::RunKeyWin32 runKey;
  EXPECT_TRUE(runKey.DeleteValue(RunScope::MachineWide, "Brevolt"));
  EXPECT_EQ(e2e::RunValue(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY), "<none>");
}

// The user this test runs as, in string form.
std::string CurrentUserSid() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
  alignas(TOKEN_USER) BYTE buffer[256];
  DWORD size = 0;
  std::string text;
  if (GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size)) {
    LPSTR sid = nullptr;
    if (ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &sid)) {
      text = sid;
      LocalFree(sid);
    }
  }
  CloseHandle(token);
  return text;
}

// Wine keeps a file's descriptor as its Unix mode, owned by the user: every
// folder is the user's own, as Downloads is on Windows, and so open.
TEST(FileRightsTest, OwnerAndEntriesAreRead) {
  e2e::TempFolder folder;
  const auto exe = folder.path() / L"Brevolt.exe";
  e2e::WriteFileBytes(exe, "MZ");
  win32::FileSecurityWin32 security;
  const std::string folderPath = folder.path().string();
  const std::string exePath = exe.string();
  const std::string user = CurrentUserSid();
  ASSERT_FALSE(user.empty());
  for (const std::string& path : {folderPath, exePath}) {
    const auto list = security.AccessListOf(path);
    ASSERT_TRUE(list) << path;
    EXPECT_EQ(list->owner, user) << path;
    EXPECT_TRUE(settings::OpenToOtherUsers(list)) << path;
  }
  EXPECT_FALSE(security.AccessListOf(folderPath + "\\missing.exe"));

  for (const auto& path : {folder.path(), exe}) {
    PSECURITY_DESCRIPTOR open = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
        L"D:(A;;FA;;;SY)(A;;FA;;;BA)(A;;FA;;;OW)(A;;0x1301bf;;;WD)", SDDL_REVISION_1, &open, nullptr));
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    GetSecurityDescriptorDacl(open, &present, &dacl, &defaulted);
    EXPECT_EQ(SetNamedSecurityInfoW(const_cast<wchar_t*>(path.c_str()), SE_FILE_OBJECT,
                                    DACL_SECURITY_INFORMATION, nullptr, nullptr, dacl, nullptr),
              static_cast<DWORD>(ERROR_SUCCESS));
    LocalFree(open);
  }
  // Everyone may now write: the entry is read as it is.
  for (const std::string& path : {folderPath, exePath}) {
    const auto list = security.AccessListOf(path);
    ASSERT_TRUE(list) << path;
    const bool everyoneWrites = std::any_of(list->entries.begin(), list->entries.end(), [](const auto& e) {
      return e.allow && !e.inheritOnly && e.sid == "S-1-1-0" && (e.mask & FILE_WRITE_DATA) != 0;
    });
    EXPECT_TRUE(everyoneWrites) << path;
  }
}

TEST(SettingsFilesTest, WritabilityIsFoundWithoutChangingAnything) {
  e2e::TempFolder folder;
  win32::SettingsFilesWin32 files;
  const auto path = [&](const wchar_t* name) { return (folder.path() / name).string(); };

  EXPECT_TRUE(files.CanWrite(path(L"missing.ini")));
  EXPECT_FALSE(std::filesystem::exists(folder.path() / L"missing.ini"));
  EXPECT_FALSE(files.Exists(path(L"missing.ini")));

  e2e::WriteFileBytes(folder.path() / L"plain.ini", "[Normal]\r\nAutoMin=1\r\n");
  EXPECT_TRUE(files.CanWrite(path(L"plain.ini")));
  EXPECT_EQ(e2e::ReadFileBytes(folder.path() / L"plain.ini"), "[Normal]\r\nAutoMin=1\r\n");

  std::filesystem::create_directory(folder.path() / L"config.ini");
  EXPECT_FALSE(files.CanWrite(path(L"config.ini")));
  EXPECT_FALSE(files.Exists(path(L"config.ini")));

  e2e::WriteFileBytes(folder.path() / L"locked.ini", "[Speed]\r\nSpeedLevel=1\r\n");
  SetFileAttributesW((folder.path() / L"locked.ini").c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(files.CanWrite(path(L"locked.ini")));

  // A copy of a read-only file takes writes; a copy of a folder is no file.
  const std::string copy = path(L"user\\Quillmoor\\config.ini");
  ASSERT_TRUE(files.ReplaceWithCopy(path(L"locked.ini"), copy));
  EXPECT_TRUE(files.CanWrite(copy));
  EXPECT_EQ(e2e::ReadFileBytes(folder.path() / L"user" / L"Quillmoor" / L"config.ini"),
            "[Speed]\r\nSpeedLevel=1\r\n");
  ASSERT_TRUE(files.ReplaceWithCopy(path(L"config.ini"), copy));
  EXPECT_FALSE(files.Exists(copy));
  SetFileAttributesW((folder.path() / L"locked.ini").c_str(), FILE_ATTRIBUTE_NORMAL);

  const std::string perUser = files.PerUserSettingsPath();
  EXPECT_NE(perUser.find(":\\"), std::string::npos) << perUser;
  EXPECT_EQ(perUser.substr(perUser.size() - 21), "\\Quillmoor\\config.ini");
}

// A program kept in a folder named in Chinese on a Western Windows: the
// ANSI code page has no such characters, yet the Run entry must still start
// the program and the settings must still be kept beside it.
TEST_F(WesternLocale, RunEntryAndSettingsNameAFolderOutsideTheCodePage) {
  win32::RunKeyWin32 runKey;
  ClosedFiles closed;
  const settings::ModuleAutoRun autoRun(runKey, closed, "C:\\Program Files\\加速");
  autoRun.AddRunEntry();
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, win32::kRunKeyPath, 0, KEY_QUERY_VALUE, &key), ERROR_SUCCESS);
  wchar_t data[MAX_PATH] = {};
  DWORD size = sizeof data - sizeof(wchar_t);
  EXPECT_EQ(RegQueryValueExW(key, L"Brevolt", nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size),
            ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_STREQ(data, L"\"C:\\Program Files\\加速\\Brevolt.exe\"");
  EXPECT_TRUE(autoRun.RemoveRunEntry());
  EXPECT_FALSE(ReadRunValue());

  e2e::TempFolder temp;
  const auto folder = temp.path() / L"加速";
  std::filesystem::create_directory(folder);
  win32::ProfileStoreWin32 store;
  win32::SettingsFilesWin32 files;
  std::vector<std::string> notices;
  const settings::ModuleConfig config(store, win32::Narrow(folder.wstring()), files,
                                      [&](const std::string& text) { notices.push_back(text); });
  EXPECT_TRUE(config.SetSpeedLevel("1"));
  EXPECT_EQ(config.GetSpeedLevel(), "1");
  EXPECT_EQ(config.FilePath(), win32::Narrow((folder / L"config.ini").wstring()));
  EXPECT_TRUE(notices.empty());
  // Written as the ANSI file it always was.
  EXPECT_EQ(e2e::ReadFileBytes(folder / L"config.ini"), "[Speed]\r\nSpeedLevel=1\r\n");
}

}  // namespace
