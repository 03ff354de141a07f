// The main window without a mouse: real key presses (SendInput) walk the
// controls, switch pages, toggle check boxes and pick list items. A key
// reaches the program through the Wine server some time after SendInput
// returns, so every step waits for the effect it expects.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "e2e/driver.h"

using namespace std::chrono_literals;

namespace {

constexpr auto kKeyEffect = 5s;  // a loaded machine may be slow, a lost key never comes

// Presses the keys in order and lets them go in reverse, as fingers do.
void Press(const std::vector<WORD>& chord) {
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
}

// Names for the messages of a failed step.
std::string NameOf(int id) {
  static const std::map<int, std::string> kNames = {
      {app::kSSTabMain, "the tabs"},
      {app::kCheckAutoRun, "开机自启动"},
      {app::kCheckAutoMin, "启动时最小化"},
      {app::kCheckState, "the acceleration box"},
      {app::kCheckMostTop, "the topmost box"},
      {app::kComboSpeed, "the speed list"},
      {app::kCheckAccelerateChildren, "the child processes box"},
      {app::kCommandNeverList, "the never-list button"},
      {app::kCheckEnableRecord, "the recording box"},
      {app::kComboAutoCleanCount, "the threshold list"},
      {app::kCommandMini, "the hide button"},
      {app::kCommandExit, "the exit button"},
      {app::kListViewHistory, "the history list"},
      {app::kToolbarSpeedMain, "the toolbar"},
      {app::kLabelHomePage, "the home page link"},
      {app::kLabelBBS, "the forum link"},
  };
  const auto it = kNames.find(id);
  return it != kNames.end() ? it->second : "control " + std::to_string(id);
}

// One key press of a walk and where it must leave the focus (and the page,
// when it switches one).
struct Step {
  std::vector<WORD> keys;
  int focus;
  int page = -1;
};

class KeyboardEndToEnd : public ::testing::Test {
 protected:
  // Starts the program and brings it to the front, the tabs focused on the
  // about page, as every start leaves it.
  void Open(const std::string& configIni = "") {
    app_ = std::make_unique<e2e::BrevoltApp>(configIni);
    ASSERT_TRUE(app_->Started());
    ASSERT_TRUE(e2e::BringToFront(app_->Main(), kKeyEffect));
    ASSERT_TRUE(FocusComesTo(app::kSSTabMain));
    ASSERT_TRUE(PageComesTo(3));
  }

  HWND Control(int id) const { return app_->Control(id); }

  int FocusId() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(app_->Main(), nullptr), &info);
    return info.hwndFocus ? GetDlgCtrlID(info.hwndFocus) : 0;
  }

  ::testing::AssertionResult FocusComesTo(int id) const {
    if (e2e::WaitUntil([&] { return FocusId() == id; }, kKeyEffect)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "the focus should be on " << NameOf(id) << ", it is on " << NameOf(FocusId());
  }

  ::testing::AssertionResult PageComesTo(int page) const {
    if (e2e::WaitUntil([&] { return e2e::ActivePage(*app_) == page; }, kKeyEffect))
      return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "page " << page << " should be in sight, page " << e2e::ActivePage(*app_) << " is";
  }

  ::testing::AssertionResult ConfigComesTo(const std::string& entry) const {
    if (e2e::WaitUntil([&] { return e2e::Contains(app_->ConfigIni(), entry); }, kKeyEffect))
      return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << entry << " not stored:\n" << app_->ConfigIni();
  }

  // Each step's keys, then its effect; stops at the first step that fails.
  ::testing::AssertionResult Walk(const std::vector<Step>& steps) const {
    for (std::size_t i = 0; i < steps.size(); ++i) {
      const Step& step = steps[i];
      Press(step.keys);
      if (step.page >= 0) {
        if (auto page = PageComesTo(step.page); !page) return page << " (step " << i + 1 << ")";
      }
      if (auto focus = FocusComesTo(step.focus); !focus) return focus << " (step " << i + 1 << ")";
    }
    return ::testing::AssertionSuccess();
  }

  ::testing::AssertionResult ToolbarHotItemComesTo(int item) const {
    HWND toolbar = Control(app::kToolbarSpeedMain);
    const auto hot = [&] { return static_cast<int>(SendMessageW(toolbar, TB_GETHOTITEM, 0, 0)); };
    if (e2e::WaitUntil([&] { return hot() == item; }, kKeyEffect)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "the toolbar's hot button should be " << item << ", it is " << hot();
  }

  std::unique_ptr<e2e::BrevoltApp> app_;
};

TEST_F(KeyboardEndToEnd, CtrlTabAndCtrlPageKeysSwitchPagesFromAnywhere) {
  ASSERT_NO_FATAL_FAILURE(Open());
  EXPECT_TRUE(Walk({
      {{VK_CONTROL, VK_TAB}, app::kSSTabMain, 0},  // from the last page round to the first
      {{VK_CONTROL, VK_NEXT}, app::kSSTabMain, 1},
      {{VK_TAB}, app::kCheckAutoRun},
      {{VK_CONTROL, VK_NEXT}, app::kSSTabMain, 2},  // from a control: it goes out of sight with its page
      {{VK_CONTROL, VK_PRIOR}, app::kSSTabMain, 1},
      {{VK_CONTROL, VK_SHIFT, VK_TAB}, app::kSSTabMain, 0},
  }));
}

TEST_F(KeyboardEndToEnd, TabWalksTheSettingsPageAndTheButtonsRoundAgain) {
  ASSERT_NO_FATAL_FAILURE(Open());
  EXPECT_TRUE(Walk({
      {{VK_CONTROL, VK_TAB}, app::kSSTabMain, 0},
      {{VK_CONTROL, VK_NEXT}, app::kSSTabMain, 1},
      // The settings page's controls in reading order, the buttons, the tabs.
      {{VK_TAB}, app::kCheckAutoRun},
      {{VK_TAB}, app::kCheckAutoMin},
      {{VK_TAB}, app::kCheckState},
      {{VK_TAB}, app::kCheckMostTop},
      {{VK_TAB}, app::kComboSpeed},
      {{VK_TAB}, app::kCheckAccelerateChildren},
      {{VK_TAB}, app::kCommandNeverList},
      {{VK_TAB}, app::kCheckEnableRecord},
      {{VK_TAB}, app::kComboAutoCleanCount},
      {{VK_TAB}, app::kCommandMini},
      {{VK_TAB}, app::kCommandExit},
      {{VK_TAB}, app::kSSTabMain},
      // And back.
      {{VK_SHIFT, VK_TAB}, app::kCommandExit},
      {{VK_SHIFT, VK_TAB}, app::kCommandMini},
      {{VK_SHIFT, VK_TAB}, app::kComboAutoCleanCount},
  }));
}

TEST_F(KeyboardEndToEnd, SpaceTogglesACheckBoxAndItsHandlerStoresIt) {
  ASSERT_NO_FATAL_FAILURE(Open());
  ASSERT_TRUE(Walk({
      {{VK_CONTROL, VK_TAB}, app::kSSTabMain, 0},
      {{VK_CONTROL, VK_NEXT}, app::kSSTabMain, 1},
      {{VK_TAB}, app::kCheckAutoRun},
  }));
  HWND box = Control(app::kCheckAutoRun);
  Press({VK_SPACE});
  EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::Checked(box); }, kKeyEffect)) << "Space did not check the box";
  EXPECT_TRUE(ConfigComesTo("AutoRun=1"));
  // Wine gives every folder to its user: the value is the user's, who hears
  // why once; the focus comes back to the box.
  EXPECT_EQ(e2e::TakeNotices(app_->process().id(), kKeyEffect).size(), 1u);
  ASSERT_TRUE(FocusComesTo(app::kCheckAutoRun));
  Press({VK_SPACE});
  EXPECT_TRUE(e2e::WaitUntil([&] { return !e2e::Checked(box); }, kKeyEffect)) << "Space did not uncheck it";
  EXPECT_TRUE(ConfigComesTo("AutoRun=0"));
}

TEST_F(KeyboardEndToEnd, ArrowsPickAListItemAndAltDownOpensTheList) {
  ASSERT_NO_FATAL_FAILURE(Open());
  ASSERT_TRUE(Walk({
      {{VK_CONTROL, VK_TAB}, app::kSSTabMain, 0},
      {{VK_CONTROL, VK_NEXT}, app::kSSTabMain, 1},
      {{VK_SHIFT, VK_TAB}, app::kCommandExit},
      {{VK_SHIFT, VK_TAB}, app::kCommandMini},
      {{VK_SHIFT, VK_TAB}, app::kComboAutoCleanCount},
      {{VK_SHIFT, VK_TAB}, app::kCheckEnableRecord},
      {{VK_SHIFT, VK_TAB}, app::kCommandNeverList},
      {{VK_SHIFT, VK_TAB}, app::kCheckAccelerateChildren},
      {{VK_SHIFT, VK_TAB}, app::kComboSpeed},
  }));
  HWND speed = Control(app::kComboSpeed);
  // As a mouse choice does: the item, and its change notice stores it.
  Press({VK_UP});
  EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::TextOf(speed) == "普通加速"; }, kKeyEffect))
      << "the list shows " << e2e::TextOf(speed);
  EXPECT_TRUE(ConfigComesTo("SpeedLevel=1"));
  const auto dropped = [&] { return SendMessageW(speed, CB_GETDROPPEDSTATE, 0, 0) != 0; };
  Press({VK_MENU, VK_DOWN});
  EXPECT_TRUE(e2e::WaitUntil(dropped, kKeyEffect)) << "Alt+Down did not open the list";
  // Open, it shows every item without scrolling: the shown list is the
  // program's one visible drop-down list window.
  struct Search {
    DWORD thread;
    HWND list;
  } search{GetWindowThreadProcessId(speed, nullptr), nullptr};
  EnumWindows(
      [](HWND window, LPARAM data) {
        auto* s = reinterpret_cast<Search*>(data);
        wchar_t cls[16] = {};
        GetClassNameW(window, cls, 16);
        if (GetWindowThreadProcessId(window, nullptr) == s->thread && IsWindowVisible(window) &&
            std::wstring(cls) == L"ComboLBox") {
          s->list = window;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  ASSERT_NE(search.list, nullptr) << "no open list found";
  RECT open{};
  GetClientRect(search.list, &open);
  const LRESULT items = SendMessageW(search.list, LB_GETCOUNT, 0, 0);
  EXPECT_EQ(items, 2);
  EXPECT_GE(open.bottom, items * SendMessageW(search.list, LB_GETITEMHEIGHT, 0, 0)) << items << " items";
  Press({VK_ESCAPE});
  EXPECT_TRUE(e2e::WaitUntil([&] { return !dropped(); }, kKeyEffect)) << "Escape did not close the list";
}

// Switching to the history page leaves the focus on the tabs; its walk
// never meets a control of another page, and each stop shows that it has
// the focus while only one does.
TEST_F(KeyboardEndToEnd, HistoryPageWalkShowsTheFocusAtEachStopOnly) {
  ASSERT_NO_FATAL_FAILURE(Open());
  ASSERT_TRUE(Walk({{{VK_CONTROL, VK_PRIOR}, app::kSSTabMain, 2}}));
  HWND list = Control(app::kListViewHistory);
  ASSERT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 0) << "recording is off: the list is empty";
  const auto listPixels = [&] { return e2e::ScreenPixels(list); };
  const auto listAway = e2e::SteadyPixels(listPixels);
  ASSERT_FALSE(listAway.empty()) << "the list's pixels never stopped changing";

  ASSERT_TRUE(Walk({{{VK_TAB}, app::kListViewHistory}}));
  EXPECT_TRUE(e2e::WaitUntil([&] { return listPixels() != listAway; }, kKeyEffect))
      << "no focus mark on the empty list";
  ASSERT_TRUE(Walk({{{VK_TAB}, app::kToolbarSpeedMain}}));
  EXPECT_TRUE(ToolbarHotItemComesTo(0)) << " with the focus on the toolbar";
  EXPECT_TRUE(e2e::WaitUntil([&] { return listPixels() == listAway; }, kKeyEffect))
      << "the list still shows the focus";
  ASSERT_TRUE(Walk({{{VK_TAB}, app::kCommandMini}}));
  EXPECT_TRUE(ToolbarHotItemComesTo(-1)) << ": the toolbar still looks focused";
  EXPECT_TRUE(Walk({
      {{VK_TAB}, app::kCommandExit},
      {{VK_TAB}, app::kSSTabMain},
  }));
}

// The tabs show the focus however they got it: by Ctrl+Page Up, and after
// the tab control has switched pages with the arrows itself.
TEST_F(KeyboardEndToEnd, FocusedTabsLookFocusedAfterEverySwitch) {
  ASSERT_NO_FATAL_FAILURE(Open());
  ASSERT_TRUE(Walk({{{VK_CONTROL, VK_PRIOR}, app::kSSTabMain, 2}}));
  RECT page{};
  GetWindowRect(Control(app::kListViewHistory), &page);
  HWND tabs = Control(app::kSSTabMain);
  const auto strip = [&] {
    return e2e::ScreenPixels(tabs, page.top);
  };  // the tabs, above the page's controls
  const auto switchedTo = e2e::SteadyPixels(strip);
  ASSERT_FALSE(switchedTo.empty()) << "the tabs' pixels never stopped changing";

  ASSERT_TRUE(Walk({{{VK_TAB}, app::kListViewHistory}}));
  ASSERT_TRUE(e2e::WaitUntil([&] { return strip() != switchedTo; }, kKeyEffect))
      << "the tabs look the same with and without the focus";
  ASSERT_TRUE(Walk({
      {{VK_SHIFT, VK_TAB}, app::kSSTabMain},
      {{VK_RIGHT}, app::kSSTabMain, 3},
      {{VK_LEFT}, app::kSSTabMain, 2},
  }));
  std::vector<std::uint32_t> seen;
  EXPECT_TRUE(e2e::WaitUntil([&] { return (seen = strip()) == switchedTo; }, kKeyEffect))
      << "the tabs drawn anew by the arrows differ from the tabs focused by Ctrl+Page Up";
}

TEST_F(KeyboardEndToEnd, ArrowsMoveBetweenToolbarButtonsAndEnterPressesOne) {
  ASSERT_NO_FATAL_FAILURE(Open());
  ASSERT_TRUE(Walk({
      {{VK_CONTROL, VK_PRIOR}, app::kSSTabMain, 2},
      {{VK_TAB}, app::kListViewHistory},
      {{VK_TAB}, app::kToolbarSpeedMain},
  }));
  ASSERT_TRUE(ToolbarHotItemComesTo(0));
  Press({VK_RIGHT});
  ASSERT_TRUE(ToolbarHotItemComesTo(1));
  // The second button saves: an empty list gives its notice.
  Press({VK_RETURN});
  EXPECT_EQ(e2e::TakeNotice(app_->process().id(), kKeyEffect), "提示|没有记录可保存。");
}

TEST_F(KeyboardEndToEnd, AboutPageLinksAreTabStopsAndEnterOpensTheFocusedOne) {
  e2e::HttpOpener opener(L"\"" + e2e::HostPath(WINDOW_HOST_EXE) + L"\" %1");
  ASSERT_TRUE(opener.Active());
  ASSERT_NO_FATAL_FAILURE(Open());
  ASSERT_TRUE(Walk({
      {{VK_TAB}, app::kLabelHomePage},
      {{VK_TAB}, app::kLabelBBS},
      {{VK_TAB}, app::kCommandMini},
      {{VK_SHIFT, VK_TAB}, app::kLabelBBS},
  }));
  Press({VK_RETURN});
  EXPECT_TRUE(e2e::HttpOpener::Opened(L"http://www.quillmoor.example/bbs/", 15s))
      << "Enter on the link did not open its address";
}

// Tabbing into a list of rows, none of them focused yet, shows where the
// keys will act: the first row gets the focus mark, and nothing is selected.
TEST_F(KeyboardEndToEnd, TabIntoTheHistoryMarksItsFirstRowWithoutSelectingIt) {
  ASSERT_NO_FATAL_FAILURE(
      Open("[Normal]\r\nEnableSpeed=1\r\n[Record]\r\nEnableRecord=1\r\nRecordCount=300\r\n"));
  HWND list = Control(app::kListViewHistory);
  ASSERT_TRUE(e2e::WaitUntil([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) > 0; }, kKeyEffect));
  ASSERT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), -1);
  ASSERT_TRUE(Walk({
      {{VK_CONTROL, VK_PRIOR}, app::kSSTabMain, 2},
      {{VK_TAB}, app::kListViewHistory},
  }));
  EXPECT_TRUE(e2e::WaitUntil(
      [&] { return SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED) == 0; },
      kKeyEffect))
      << "the first row did not get the focus mark";
  EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), -1);
}

}  // namespace
