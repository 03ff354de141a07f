// Titles measured and cut in the ANSI code page of a Chinese system.
#include <windows.h>
#include <gtest/gtest.h>

#include "engine/acceleration.h"
#include "platform/text.h"
#include "win32/system_ports.h"
#include "win32/text.h"

namespace {

TEST(AnsiTextWin32, RunsUnderTheChineseCodePage) { ASSERT_EQ(GetACP(), 936u); }

TEST(AnsiTextWin32, MeasuresCharactersInCodePage936) {
  win32::SystemAnsiCodePage cp;
  EXPECT_EQ(cp.BytesOf(U'a'), 1u);
  EXPECT_EQ(cp.BytesOf(U'中'), 2u);
  EXPECT_EQ(cp.BytesOf(U'€'), 1u);       // code page 936 has the euro at 0x80
  EXPECT_EQ(cp.BytesOf(U'\u0E01'), 1u);  // Thai: not in 936, written as '?'
  EXPECT_EQ(win32::Utf8ToAnsi("中文"), "\xD6\xD0\xCE\xC4");
  EXPECT_EQ(win32::AnsiToUtf8("\xD6\xD0\xCE\xC4"), "中文");
}

TEST(AnsiTextWin32, LongWindowTitleIsCutBetweenWholeCharacters) {
  win32::SystemAnsiCodePage cp;
  win32::SystemForegroundWindows windows;
  // 253 ASCII bytes and then double-byte characters: byte 254 would split one.
  const std::string title = std::string(253, 'x') + "加速加速";
  HWND window = CreateWindowW(L"STATIC", win32::Widen(title).c_str(), WS_POPUP, 0, 0, 10, 10, nullptr,
                              nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  const std::string read =
      platform::Utf16ToUtf8(windows.Title(reinterpret_cast<platform::WindowHandle>(window)));
  DestroyWindow(window);
  EXPECT_EQ(read, title);  // read whole through the wide interface

  const std::string shown = engine::DisplayTitle(read, cp);
  EXPECT_EQ(shown, std::string(253, 'x'));
  const std::string ansi = win32::Utf8ToAnsi(engine::DisplayTitle(std::string(252, 'y') + "加速", cp));
  EXPECT_EQ(ansi.size(), 254u);
  EXPECT_EQ(win32::AnsiToUtf8(ansi), std::string(252, 'y') + "加");
}

}  // namespace
