// The main window without a mouse: real key presses (SendInput) walk the
// controls, switch pages, toggle check boxes and pick list items.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <vector>

#include "app/control_ids.h"
#include "e2e/driver.h"

using namespace std::chrono_literals;

namespace {

// Presses the keys in order and lets them go in reverse, as fingers do.
void Press(std::initializer_list<WORD> chord) {
  std::vector<INPUT> inputs;
  for (WORD key : chord) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = key;
    inputs.push_back(in);
  }
  for (auto it = std::rbegin(chord); it != std::rend(chord); ++it) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = *it;
    in.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(in);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  // Every key message, and what it posts in turn, handled by the window in front.
  e2e::Settle(GetForegroundWindow(), 2 * static_cast<int>(inputs.size()) + 4);
}

HWND Focus(HWND main) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info);
  return info.hwndFocus;
}

// Paints reach the screen some time after the keys: what it shows once it
// has stopped changing.
std::vector<std::uint32_t> Steady(const std::function<std::vector<std::uint32_t>()>& look) {
  std::vector<std::uint32_t> last = look();
  int same = 0;
  e2e::WaitUntil(
      [&] {
        std::vector<std::uint32_t> now = look();
        same = now == last ? same + 1 : 0;
        last = std::move(now);
        return same >= 5;
      },
      3s);
  return last;
}

TEST(KeyboardEndToEnd, TabWalksThePageInSightAndKeysWorkTheControls) {
  e2e::BrevoltApp app;
  ASSERT_TRUE(app.Started());
  SetForegroundWindow(app.Main());
  ASSERT_TRUE(e2e::WaitUntil([&] { return GetForegroundWindow() == app.Main(); }, 3s));
  HWND tabs = app.Control(app::kSSTabMain);
  EXPECT_EQ(Focus(app.Main()), tabs);
  EXPECT_EQ(e2e::ActivePage(app), 3);

  Press({VK_CONTROL, VK_TAB});  // from the last page round to the first
  EXPECT_EQ(e2e::ActivePage(app), 0);
  Press({VK_CONTROL, VK_NEXT});
  ASSERT_EQ(e2e::ActivePage(app), 1);

  // Tab: the tabs, the settings page's controls in reading order, the buttons, round again.
  const std::vector<int> order = {
      app::kCheckAutoRun, app::kCheckAutoMin,      app::kCheckState,          app::kCheckMostTop,
      app::kComboSpeed,   app::kCheckEnableRecord, app::kComboAutoCleanCount, app::kCommandMini,
      app::kCommandExit,  app::kSSTabMain};
  for (int id : order) {
    Press({VK_TAB});
    EXPECT_EQ(Focus(app.Main()), app.Control(id)) << "expected control " << id;
  }
  Press({VK_SHIFT, VK_TAB});
  EXPECT_EQ(Focus(app.Main()), app.Control(app::kCommandExit));

  // Space toggles a check box, and its handler stores the option.
  for (int i = 0; i < 2; ++i) Press({VK_TAB});
  ASSERT_EQ(Focus(app.Main()), app.Control(app::kCheckAutoRun));
  Press({VK_SPACE});
  EXPECT_EQ(SendMessageW(app.Control(app::kCheckAutoRun), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_NE(app.ConfigIni().find("AutoRun=1"), std::string::npos) << app.ConfigIni();
  // Wine gives every folder to its user: the value is the user's, who hears
  // why once; the focus comes back to the box.
  EXPECT_EQ(e2e::TakeNotices(app.process().id(), 3s).size(), 1u);
  ASSERT_TRUE(e2e::WaitUntil([&] { return Focus(app.Main()) == app.Control(app::kCheckAutoRun); }, 3s));
  Press({VK_SPACE});
  EXPECT_NE(app.ConfigIni().find("AutoRun=0"), std::string::npos) << app.ConfigIni();

  // The arrows pick a list's item as a mouse choice does; Alt+Down opens it.
  for (int i = 0; i < 4; ++i) Press({VK_TAB});
  HWND speed = app.Control(app::kComboSpeed);
  ASSERT_EQ(Focus(app.Main()), speed);
  Press({VK_UP});
  EXPECT_EQ(e2e::TextOf(speed), "普通加速");
  EXPECT_NE(app.ConfigIni().find("SpeedLevel=1"), std::string::npos) << app.ConfigIni();
  Press({VK_MENU, VK_DOWN});
  EXPECT_TRUE(SendMessageW(speed, CB_GETDROPPEDSTATE, 0, 0));
  Press({VK_ESCAPE});
  EXPECT_FALSE(SendMessageW(speed, CB_GETDROPPEDSTATE, 0, 0));

  // Switching away from the page takes the focus off its control; the
  // history page's walk never meets a control of another page. Each stop
  // shows that it has the focus, and only one stop does at a time.
  Press({VK_CONTROL, VK_NEXT});
  ASSERT_EQ(e2e::ActivePage(app), 2);
  EXPECT_EQ(Focus(app.Main()), tabs);
  HWND list = app.Control(app::kListViewHistory);
  HWND toolbar = app.Control(app::kToolbarSpeedMain);
  RECT page{};
  GetWindowRect(list, &page);
  auto strip = [&] { return e2e::ScreenPixels(tabs, page.top); };  // the tabs, above the page's controls
  const auto switchedTo = Steady(strip);
  ASSERT_FALSE(switchedTo.empty());
  const auto listAway = Steady([&] { return e2e::ScreenPixels(list); });
  Press({VK_TAB});
  ASSERT_EQ(Focus(app.Main()), list);
  ASSERT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 0) << "recording is off: the list is empty";
  EXPECT_TRUE(Steady([&] { return e2e::ScreenPixels(list); }) != listAway)
      << "no focus mark on the empty list";
  const auto stripAway = Steady(strip);
  Press({VK_TAB});
  EXPECT_EQ(Focus(app.Main()), toolbar);
  EXPECT_EQ(SendMessageW(toolbar, TB_GETHOTITEM, 0, 0), 0);
  Press({VK_TAB});
  EXPECT_EQ(Focus(app.Main()), app.Control(app::kCommandMini));
  EXPECT_EQ(SendMessageW(toolbar, TB_GETHOTITEM, 0, 0), -1) << "the toolbar still looks focused";
  for (int id : {app::kCommandExit, app::kSSTabMain}) {
    Press({VK_TAB});
    EXPECT_EQ(Focus(app.Main()), app.Control(id)) << "expected control " << id;
  }
  // The tab control switches pages with the arrows itself, drawing the
  // tabs anew: the focused tabs as they must look.
  Press({VK_RIGHT});
  EXPECT_EQ(e2e::ActivePage(app), 3);
  Press({VK_LEFT});
  const auto focusedTabs = Steady(strip);
  EXPECT_TRUE(focusedTabs != stripAway) << "the tabs look the same with and without the focus";
  EXPECT_TRUE(switchedTo == focusedTabs) << "the tabs got the focus by Ctrl+Page Down without showing it";

  // The toolbar's buttons: the arrows move between them, Enter presses one
  // (saving an empty list gives its notice).
  Press({VK_TAB});
  Press({VK_TAB});
  ASSERT_EQ(Focus(app.Main()), app.Control(app::kToolbarSpeedMain));
  Press({VK_RIGHT});
  Press({VK_RETURN});
  HWND notice = e2e::WaitForWindowOfClass(app.process().id(), L"#32770", 3s);
  ASSERT_NE(notice, nullptr);
  EXPECT_NE(e2e::DialogText(notice).find("没有记录可保存"), std::string::npos);
  e2e::PressButton(notice, IDOK);

  // The about page's links are tab stops; Enter opens the focused one as a click does.
  e2e::HttpOpener opener(L"\"" + e2e::HostPath(WINDOW_HOST_EXE) + L"\" %1");
  ASSERT_TRUE(opener.Active());
  ASSERT_TRUE(e2e::WaitUntil([&] { return GetForegroundWindow() == app.Main(); }, 3s));
  Press({VK_CONTROL, VK_NEXT});
  ASSERT_EQ(e2e::ActivePage(app), 3);
  for (int id : {app::kLabelHomePage, app::kLabelBBS, app::kCommandMini}) {
    Press({VK_TAB});
    EXPECT_EQ(Focus(app.Main()), app.Control(id)) << "expected control " << id;
  }
  Press({VK_SHIFT, VK_TAB});
  ASSERT_EQ(Focus(app.Main()), app.Control(app::kLabelBBS));
  Press({VK_RETURN});
  EXPECT_TRUE(e2e::HttpOpener::Opened(L"http://www.quillmoor.example/bbs/", 15s))
      << "Enter on the link did not open its address";
}

// Tabbing into a list of rows, none of them focused yet, shows where the
// keys will act: the first row gets the focus mark, and nothing is selected.
TEST(KeyboardEndToEnd, TabIntoTheHistoryMarksItsFirstRowWithoutSelectingIt) {
  e2e::BrevoltApp app("[Normal]\r\nEnableSpeed=1\r\n[Record]\r\nEnableRecord=1\r\nRecordCount=300\r\n");
  ASSERT_TRUE(app.Started());
  SetForegroundWindow(app.Main());
  ASSERT_TRUE(e2e::WaitUntil([&] { return GetForegroundWindow() == app.Main(); }, 3s));
  HWND list = app.Control(app::kListViewHistory);
  ASSERT_TRUE(e2e::WaitUntil([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) > 0; }, 3s));
  ASSERT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), -1);
  Press({VK_CONTROL, VK_PRIOR});
  ASSERT_EQ(e2e::ActivePage(app), 2);
  Press({VK_TAB});
  ASSERT_EQ(Focus(app.Main()), list);
  EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 0);
  EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), -1);
}

}  // namespace
