// The main window made in the test process: a creation that fails half-way,
// and the glyphs of every caption under a Western system locale.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "app/form_main.h"
#include "e2e/driver.h"
#include "western_locale.h"
#include "win32/controls.h"
#include "win32/gdi_objects.h"
#include "win32/text.h"
#include "win32/tray_icon.h"

namespace {

// Refuses to create windows of one class while alive.
class RefuseClass {
 public:
  explicit RefuseClass(const wchar_t* cls) {
    refused_ = cls;
    hook_ = SetWindowsHookExW(WH_CBT, &RefuseClass::Hook, nullptr, GetCurrentThreadId());
  }
  ~RefuseClass() { UnhookWindowsHookEx(hook_); }
  bool Installed() const { return hook_ != nullptr; }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
      const auto* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
      if (!IS_INTRESOURCE(create->lpszClass) && std::wstring(create->lpszClass) == refused_) return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static inline std::wstring refused_;
  HHOOK hook_ = nullptr;
};

// The hook's messages as the tray rules see them: a minimise from either
// command (the system's with its own low bits, the hide request with
// exactly SC_MINIMIZE), and only two of the icon's notifications.
TEST(FormMainWin32, TheHooksMessagesMeanWhatTheTrayRulesExpect) {
  using shell::WindowEvent;
  struct Case {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    WindowEvent event;
  } cases[] = {
      {WM_COMMAND, SC_MINIMIZE, 0, WindowEvent::Minimize},
      {WM_SYSCOMMAND, SC_MINIMIZE, 0, WindowEvent::Minimize},
      {WM_SYSCOMMAND, SC_MINIMIZE | 0x2, 0, WindowEvent::Minimize},  // the title bar's button
      {WM_COMMAND, SC_MINIMIZE | 0x1, 0, WindowEvent::Other},
      {WM_SYSCOMMAND, SC_RESTORE, 0, WindowEvent::Other},
      {win32::kTrayCallbackMessage, 0, WM_LBUTTONDBLCLK, WindowEvent::IconDoubleClick},
      {win32::kTrayCallbackMessage, 0, WM_RBUTTONDOWN, WindowEvent::IconRightButton},
      {win32::kTrayCallbackMessage, 0, WM_LBUTTONDOWN, WindowEvent::Other},
      {win32::kTrayCallbackMessage, 0, WM_MOUSEMOVE, WindowEvent::Other},
      {WM_MOUSEMOVE, 0, WM_LBUTTONDBLCLK, WindowEvent::Other},  // not the tray's message
  };
  for (const Case& c : cases) {
    EXPECT_EQ(win32::MainWindowEvent(c.message, c.wParam, c.lParam), c.event)
        << c.message << " " << c.wParam << " " << c.lParam;
  }
}

// Without its tab control the window cannot be made: creation fails after
// WM_NCCREATE, and the form with its fonts is freed exactly once.
TEST(FormMainWin32, CreationFailingAfterTheFirstMessageFreesTheFormOnce) {
  const long before = win32::LiveGdiTotal();
  {
    RefuseClass refuse(L"QuillmoorTabControl");
    ASSERT_TRUE(refuse.Installed());
    EXPECT_EQ(app::FormMain::Create(GetModuleHandleW(nullptr)), nullptr);
  }
  EXPECT_EQ(win32::LiveGdiTotal(), before);  // below it: a second free
  // Only this process's windows: other test programs may run beside this one.
  for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, app::kMainClass, nullptr)) != nullptr;) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    EXPECT_NE(pid, GetCurrentProcessId()) << "a main window outlived its failed creation";
  }
  MSG quit;
  EXPECT_FALSE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));  // a failed window ends nothing
}

// The form keeps the image lists its history list and toolbar show, and
// frees them itself: a control that freed them too would free them twice
// when the window goes.
TEST(FormMainWin32, ControlsLeaveTheirImageListsToTheForm) {
  std::unique_ptr<app::FormMain> form = app::FormMain::Create(GetModuleHandleW(nullptr));
  ASSERT_NE(form, nullptr);
  const struct {
    int id;
    UINT get;
    WPARAM which;
  } controls[] = {{app::kListViewHistory, LVM_GETIMAGELIST, LVSIL_SMALL},
                  {app::kToolbarSpeedMain, TB_GETIMAGELIST, 0}};
  for (const auto& c : controls) {
    SCOPED_TRACE(c.id);
    const HWND control = e2e::ControlById(form->hwnd(), c.id);
    ASSERT_NE(control, nullptr);
    const auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(control, c.get, c.which, 0));
    ASSERT_NE(images, nullptr);
    DestroyWindow(control);
    int cx = 0, cy = 0;
    EXPECT_TRUE(ImageList_GetIconSize(images, &cx, &cy)) << "the control freed the form's image list";
  }
}

// Labels and check boxes draw in the system's text colour, whatever colour
// the DC they hand over had: under a high-contrast scheme the page is dark.
TEST(FormMainWin32, PageTextTakesTheSystemTextColour) {
  std::unique_ptr<app::FormMain> form = app::FormMain::Create(GetModuleHandleW(nullptr));
  ASSERT_NE(form, nullptr);
  const HDC dc = CreateCompatibleDC(nullptr);
  for (int id : {app::kLabelCount, app::kLabelInfo, app::kCheckState, app::kCheckEnableRecord}) {
    SCOPED_TRACE(id);
    const HWND control = e2e::ControlById(form->hwnd(), id);
    ASSERT_NE(control, nullptr);
    SetTextColor(dc, RGB(1, 2, 3));
    SendMessageW(GetParent(control), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(control));
    EXPECT_EQ(GetTextColor(dc), GetSysColor(COLOR_BTNTEXT));
  }
  DeleteDC(dc);
}

// A notification area that refuses every icon: a top-level window of the
// taskbar's class, in front of the real one so that the shell finds it first,
// answering FALSE to what the shell hands over in WM_COPYDATA.
class RefusingTray {
 public:
  RefusingTray() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &RefusingTray::Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"Shell_TrayWnd";
    RegisterClassW(&wc);
    hwnd_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1,
                            nullptr, nullptr, wc.hInstance, nullptr);
    asked_ = 0;
  }
  ~RefusingTray() { Close(); }
  void Close() {
    if (hwnd_) DestroyWindow(hwnd_);
    hwnd_ = nullptr;
    UnregisterClassW(L"Shell_TrayWnd", GetModuleHandleW(nullptr));
  }
  HWND hwnd() const { return hwnd_; }
  static int Asked() { return asked_; }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
      ++asked_;
      return FALSE;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  HWND hwnd_ = nullptr;
  static inline int asked_ = 0;
};

// At logon the shell may refuse the icon. Hidden without one, the window
// could never be reached again: it stays on the taskbar, minimized, until
// a later try adds the icon.
TEST(FormMainWin32, WithoutATrayIconTheWindowStaysOnTheTaskbar) {
  RefusingTray tray;
  ASSERT_NE(tray.hwnd(), nullptr);
  ASSERT_EQ(FindWindowExW(nullptr, nullptr, L"Shell_TrayWnd", nullptr), tray.hwnd());
  std::unique_ptr<app::FormMain> form = app::FormMain::Create(GetModuleHandleW(nullptr));
  ASSERT_NE(form, nullptr);
  const HWND window = form->hwnd();
  ASSERT_GT(RefusingTray::Asked(), 0) << "the icon was not offered to the refusing notification area";
  SendMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_TRUE(IsIconic(window));

  // The real notification area answers again: the next try adds the icon,
  // and the window hides to it.
  tray.Close();
  SendMessageW(window, WM_TIMER, app::kTimerTray, 0);
  SendMessageW(window, WM_SYSCOMMAND, SC_RESTORE, 0);
  SendMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_FALSE(IsWindowVisible(window));
  form.reset();
}

// With larger system text ("make text bigger"), a caption is never cut and
// never runs into what follows it on its line.
TEST(FormMainWin32, LabelsMakeRoomForLargerText) {
  NONCLIENTMETRICSW saved{};
  saved.cbSize = sizeof saved;
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof saved, &saved, 0));
  NONCLIENTMETRICSW larger = saved;
  larger.lfMessageFont.lfHeight = -16;  // 12 at 96 dpi, as Windows has it
  ASSERT_TRUE(SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof larger, &larger, 0));
  std::unique_ptr<app::FormMain> form = app::FormMain::Create(GetModuleHandleW(nullptr));
  SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof saved, &saved, 0);
  ASSERT_NE(form, nullptr);
  const struct {
    const char* text;
    int next;  // the control after it on its line
  } lines[] = {{"已加速程序数量：", app::kLabelCount}, {"正在加速的程序：", app::kLabelInfo}};
  for (const auto& line : lines) {
    SCOPED_TRACE(line.text);
    const HWND next = e2e::ControlById(form->hwnd(), line.next);
    ASSERT_NE(next, nullptr);
    HWND label = nullptr;
    for (HWND c = GetWindow(GetParent(next), GW_CHILD); c && !label; c = GetWindow(c, GW_HWNDNEXT)) {
      if (win32::WindowText(c) == line.text) label = c;
    }
    ASSERT_NE(label, nullptr);
    const std::wstring text = win32::Widen(line.text);
    const HDC dc = GetDC(label);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    RECT labelRect{}, nextRect{};
    GetWindowRect(label, &labelRect);
    GetWindowRect(next, &nextRect);
    EXPECT_GT(extent.cx, 8 * 12) << "the larger font did not take";
    EXPECT_GE(labelRect.right - labelRect.left, extent.cx);
    EXPECT_GT(nextRect.left, labelRect.right);
  }
}

// The characters of `text` that `font` has no glyph for.
std::wstring MissingGlyphs(HFONT font, const std::wstring& text) {
  win32::UniqueWindowDc screen(nullptr);
  win32::ScopedSelection selection(screen.get(), font ? font : GetStockObject(SYSTEM_FONT));
  std::wstring missing;
  for (wchar_t c : text) {
    WORD glyph = 0;
    if (GetGlyphIndicesW(screen.get(), &c, 1, &glyph, GGI_MARK_NONEXISTING_GLYPHS) != 1 || glyph == 0xFFFF) {
      missing += c;
    }
  }
  return missing;
}

win32::UniqueFont TabFontHandle(const tabctl::TabFont& description) {
  LOGFONTW font{};
  font.lfHeight = -12;
  font.lfWeight = description.bold ? FW_BOLD : FW_NORMAL;
  font.lfCharSet = static_cast<BYTE>(description.charset);
  const std::wstring face = win32::Widen(description.name);
  face.copy(font.lfFaceName, LF_FACESIZE - 1);
  return win32::UniqueFont(CreateFontIndirectW(&font));
}

// Every visible caption of the window and every tab caption, in the font
// it is drawn with.
void CheckEveryCaption() {
  std::unique_ptr<app::FormMain> form = app::FormMain::Create(GetModuleHandleW(nullptr));
  ASSERT_NE(form, nullptr);
  struct Walk {
    int checked = 0;
  } walk;
  EnumChildWindows(
      form->hwnd(),
      [](HWND control, LPARAM data) -> BOOL {
        wchar_t text[256] = {};
        GetWindowTextW(control, text, 256);
        if (!IsWindowVisible(control) || text[0] == L'\0') return TRUE;
        const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
        EXPECT_EQ(MissingGlyphs(font, text), L"") << win32::Narrow(text);
        ++reinterpret_cast<Walk*>(data)->checked;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&walk));
  EXPECT_GE(walk.checked, 20);
  tabctl::ucPageTab& tabs = form->TabControl()->Control();
  for (int i = 0; i < tabs.TabCount(); ++i) {
    for (const tabctl::TabFont& font : {tabs.ActiveTabFont(), tabs.InActiveTabFont()}) {
      EXPECT_EQ(MissingGlyphs(TabFontHandle(font).get(), win32::Widen(tabs.TabCaption(i))), L"")
          << tabs.TabCaption(i) << " in " << font.name;
    }
  }
}

TEST_F(WesternLocale, EveryCaptionHasItsGlyphs) { CheckEveryCaption(); }

}  // namespace
