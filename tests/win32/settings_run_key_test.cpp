// The Run entry in the real registry.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>

#include "platform/win32/profile_store_win32.h"
#include "platform/win32/run_key_win32.h"
#include "settings/module_auto_run.h"

namespace {

struct RegistryValue {
  DWORD type = 0;
  std::string bytes;  // as stored, terminating zero included
};

std::optional<RegistryValue> ReadRunValue() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, win32::kRunKeyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  RegistryValue value;
  DWORD size = 0;
  LONG status = RegQueryValueExA(key, "Brevolt", nullptr, &value.type, nullptr, &size);
  if (status == ERROR_SUCCESS) {
    value.bytes.resize(size);
    status = RegQueryValueExA(key, "Brevolt", nullptr, &value.type, reinterpret_cast<BYTE*>(value.bytes.data()),
                              &size);
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

TEST(SettingsRunKeyTest, CheckingWritesTheValueAndUncheckingDeletesIt) {
  win32::RunKeyWin32 runKey;
  const settings::ModuleAutoRun autoRun(runKey, win32::ApplicationDirectory());
  autoRun.RemoveRunEntry();
  autoRun.RemoveRunEntry();  // a missing value is no failure
  EXPECT_FALSE(ReadRunValue());

  autoRun.AddRunEntry();
  const auto written = ReadRunValue();
  ASSERT_TRUE(written);
  EXPECT_EQ(written->type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(written->bytes, ExpectedCommandHere() + '\0');

  autoRun.RemoveRunEntry();
  EXPECT_FALSE(ReadRunValue());
  autoRun.AddRunEntry();
  EXPECT_TRUE(ReadRunValue());
  autoRun.RemoveRunEntry();
}

TEST(SettingsRunKeyTest, AFolderWithBlanksIsQuotedAndStoredInTheAnsiCodePage) {
  ASSERT_EQ(GetACP(), 936u) << "the Wine session should give code page 936";
  win32::RunKeyWin32 runKey;
  const settings::ModuleAutoRun autoRun(runKey, "C:\\Program Files\\加速");
  autoRun.AddRunEntry();
  const auto written = ReadRunValue();
  ASSERT_TRUE(written);
  EXPECT_EQ(written->type, static_cast<DWORD>(REG_SZ));
  // 加速 is BC D3 CB D9 in code page 936.
  EXPECT_EQ(written->bytes, std::string("\"C:\\Program Files\\\xBC\xD3\xCB\xD9\\Brevolt.exe\"") + '\0');
  autoRun.RemoveRunEntry();
  EXPECT_FALSE(ReadRunValue());
}

}  // namespace
