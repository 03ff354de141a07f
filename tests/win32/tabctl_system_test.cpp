// The tab control's system services against the real Windows API.
#include <gtest/gtest.h>

// clang-format off
#include <windows.h>
#include <ole2.h>
#include <olectl.h>
// clang-format on

#include "platform/win32/system_colors_win32.h"
#include "platform/win32/tab_system_win32.h"
#include "tabctl/themes.h"

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
