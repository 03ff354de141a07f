// The tab control's system services against the real Windows API.
#include <gtest/gtest.h>

// clang-format off
#include <windows.h>
#include <ole2.h>
#include <olectl.h>
// clang-format on

#include "e2e/driver.h"
#include "tabctl/themes.h"
#include "win32/lazy_library.h"
#include "win32/system_colors_win32.h"
#include "win32/tab_system_win32.h"

namespace {

// Our translation must give what the system's own colour translation gives
// for every value it accepts.
TEST(TabSystemWin32, ColourTranslationMatchesTheSystems) {
  win32::SystemColorsWin32 colors;
  std::vector<tabctl::Color> values;
  for (int i = 0; i <= tabctl::kLastSystemColor; ++i) values.push_back(tabctl::SystemColor(i));
  for (tabctl::Color c : {0x00000000u, 0x00FFFFFFu, 0x00123456u, 0x02ABCDEFu}) values.push_back(c);
  int compared = 0;
  for (tabctl::Color c : values) {
    COLORREF expected = 0;
    if (FAILED(OleTranslateColor(c, nullptr, &expected))) continue;
    ++compared;
    EXPECT_EQ(tabctl::GetRGBFromOLE(c, colors), expected & 0x00FFFFFF) << std::hex << c;
  }
  EXPECT_GE(compared, 31);
  // The button face the control's defaults use is a real colour, not black.
  EXPECT_EQ(tabctl::GetRGBFromOLE(0x8000000F, colors), GetSysColor(COLOR_BTNFACE));
}

TEST(TabSystemWin32, ThemeDetectionOnThisSystem) {
  win32::TabSystemWin32 system;
  const auto version = system.VersionEx();
  ASSERT_TRUE(version.has_value());
  EXPECT_EQ(version->platformId, 2u);
  EXPECT_GE(version->major, 5u);
  const bool xp = tabctl::IsWinXPVersion(version);
  const std::string info = tabctl::ThemeInfoFrom(xp, system.CurrentThemeColorBuffer());
  if (!xp) {
    EXPECT_EQ(info, "None");
  }
  EXPECT_EQ(info.find('\0'), std::string::npos);
}

TEST(TabSystemWin32, PictureSizesComeFromTheIconMetrics) {
  win32::TabSystemWin32 system;
  EXPECT_GT(system.SmallIconWidth(), 0);
  EXPECT_GT(system.LargeIconWidth(), system.SmallIconWidth());
}

}  // namespace

// Both ways of loading a system library (the search flag, and the full path
// where the flag is unknown) pass over a copy planted beside the program and
// find the system's own.
TEST(SystemLibraries, LoadedFromTheSystemFolderNeverFromBesideTheProgram) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::wstring besideSelf = std::wstring(self, wcsrchr(self, L'\\') + 1);
  const std::wstring planted = besideSelf + L"dwmapi.dll";
  ASSERT_TRUE(CopyFileW(e2e::HostPath(PLANTED_LIBRARY).c_str(), planted.c_str(), FALSE));
  wchar_t system[MAX_PATH] = {};
  const std::wstring systemFolder(system, GetSystemDirectoryW(system, MAX_PATH));
  for (auto load : {&win32::LoadSystemLibrary, &win32::LoadLibraryFromSystemFolder}) {
    HMODULE module = load(L"dwmapi.dll");
    ASSERT_NE(module, nullptr);
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(module, path, MAX_PATH);
    EXPECT_EQ(_wcsnicmp(path, systemFolder.c_str(), systemFolder.size()), 0) << path;
    FreeLibrary(module);
    EXPECT_EQ(load(L"no-such-library.dll"), nullptr);
  }
  // The plain search takes the copy: the test would see a wrong load.
  HMODULE copy = LoadLibraryW(L"dwmapi.dll");
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(copy, path, MAX_PATH);
  EXPECT_EQ(_wcsicmp(path, planted.c_str()), 0) << path;
  if (copy) FreeLibrary(copy);
  DeleteFileW(planted.c_str());
  DeleteFileW((planted + L".ran").c_str());
}
