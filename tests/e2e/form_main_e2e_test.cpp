// The main window driven from outside: start-up with and without settings,
// option clicks, the tray, saving the history, and the exit question.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <shellapi.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "app/control_ids.h"
#include "e2e/driver.h"
#include "engine/product.h"
#include "win32/history_saving_win32.h"
#include "win32/text.h"

using namespace std::chrono_literals;

namespace {

using e2e::Checked;
using e2e::Click;
using e2e::Topmost;

// Picks a list item as the user does: the selection, then its notice.
void Choose(HWND combo, int index) {
  SendMessageW(combo, CB_SETCURSEL, index, 0);
  SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
}

// Wine gives every folder to its user, so the value is that user's (and the
// user hears why once).
std::string RunValue() { return e2e::RunValue(HKEY_CURRENT_USER); }

TEST(FormMainEndToEnd, FirstStartWritesTheChangedOptionsAndOpensOnAbout) {
  e2e::BrevoltApp app;
  ASSERT_TRUE(app.Started());
  EXPECT_TRUE(IsWindowVisible(app.Main()));
  EXPECT_FALSE(Topmost(app.Main()));
  for (int id : {app::kCheckAutoRun, app::kCheckAutoMin, app::kCheckState, app::kCheckMostTop,
                 app::kCheckEnableRecord, app::kCheckAccelerateChildren}) {
    EXPECT_FALSE(Checked(app.Control(id))) << id;
  }
  EXPECT_EQ(e2e::TextOf(app.Control(app::kComboSpeed)), "疯狂加速");
  EXPECT_EQ(SendMessageW(app.Control(app::kComboAutoCleanCount), CB_GETCURSEL, 0, 0), CB_ERR);
  EXPECT_EQ(app.ConfigIni(),
            "[Speed]\r\nSpeedLevel=2\r\n[Record]\r\nEnableRecord=0\r\n[Normal]\r\nEnableSpeed=0\r\nAlwaysTop="
            "0\r\n");
  // The about page is the one in sight: its link is inside the tab control.
  RECT tabs{}, link{};
  GetWindowRect(app.Control(app::kSSTabMain), &tabs);
  GetWindowRect(app.Control(app::kLabelHomePage), &link);
  EXPECT_TRUE(link.left >= tabs.left && link.right <= tabs.right);
  GetWindowRect(app.Control(app::kCheckState), &link);
  EXPECT_FALSE(link.left >= tabs.left && link.right <= tabs.right);
}

TEST(FormMainEndToEnd, OptionClicksStoreAtOnceAndApply) {
  e2e::BrevoltApp app;
  ASSERT_TRUE(app.Started());
  Click(app.Control(app::kCheckAutoRun));
  EXPECT_EQ(e2e::TakeNotices(app.process().id(), 3s).size(), 1u);
  EXPECT_NE(app.ConfigIni().find("AutoRun=1"), std::string::npos);
  EXPECT_NE(RunValue().find("Brevolt.exe"), std::string::npos) << RunValue();
  Click(app.Control(app::kCheckAutoRun));
  EXPECT_NE(app.ConfigIni().find("AutoRun=0"), std::string::npos);
  EXPECT_EQ(RunValue(), "<none>");

  Click(app.Control(app::kCheckMostTop));
  EXPECT_TRUE(Topmost(app.Main()));
  EXPECT_NE(app.ConfigIni().find("AlwaysTop=1"), std::string::npos);
  Click(app.Control(app::kCheckMostTop));
  EXPECT_FALSE(Topmost(app.Main()));

  Click(app.Control(app::kCheckState));
  Click(app.Control(app::kCheckEnableRecord));
  Click(app.Control(app::kCheckAutoMin));
  Click(app.Control(app::kCheckAccelerateChildren));
  Choose(app.Control(app::kComboSpeed), 0);
  Choose(app.Control(app::kComboAutoCleanCount), 2);
  const std::string ini = app.ConfigIni();
  for (const char* entry : {"EnableSpeed=1", "EnableRecord=1", "AutoMin=1", "AccelerateChildren=1",
                            "SpeedLevel=1", "RecordCount=200"}) {
    EXPECT_NE(ini.find(entry), std::string::npos) << entry << " in\n" << ini;
  }
}

TEST(FormMainEndToEnd, StartsInTheTrayAndHidesAndShowsThroughIt) {
  e2e::BrevoltApp app("[Normal]\r\nAutoMin=1\r\n");
  ASSERT_TRUE(app.Started());
  EXPECT_FALSE(IsWindowVisible(app.Main()));
  EXPECT_TRUE(e2e::TrayIconPresent(app.Main()));

  SendMessageW(app.Main(), 2025, 0, WM_LBUTTONDBLCLK);
  EXPECT_TRUE(IsWindowVisible(app.Main()));
  Click(app.Control(app::kCommandMini));
  EXPECT_FALSE(IsWindowVisible(app.Main()));
  SendMessageW(app.Main(), 2025, 0, WM_LBUTTONDBLCLK);
  ASSERT_TRUE(IsWindowVisible(app.Main()));
  SendMessageW(app.Main(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_FALSE(IsWindowVisible(app.Main()));
  SendMessageW(app.Main(), 2025, 0, WM_LBUTTONDBLCLK);
  EXPECT_TRUE(IsWindowVisible(app.Main()));
  EXPECT_FALSE(IsIconic(app.Main()));
}

TEST(FormMainEndToEnd, ExitAsksAndNoKeepsEverything) {
  e2e::BrevoltApp app;
  ASSERT_TRUE(app.Started());
  PostMessageW(app.Main(), WM_CLOSE, 0, 0);
  HWND box = e2e::WaitForWindowOfClass(app.process().id(), L"#32770", 5s);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(e2e::TextOf(box), "请确认!");
  EXPECT_NE(e2e::DialogText(box).find("确定退出吗?"), std::string::npos);
  e2e::PressButton(box, IDNO);
  ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindow(box); }, 3s));
  EXPECT_TRUE(app.process().Running());
  EXPECT_TRUE(e2e::TrayIconPresent(app.Main()));

  PostMessageW(app.Main(), WM_CLOSE, 0, 0);
  box = e2e::WaitForWindowOfClass(app.process().id(), L"#32770", 5s);
  ASSERT_NE(box, nullptr);
  e2e::PressButton(box, IDYES);
  EXPECT_EQ(WaitForSingleObject(app.process().handle(), 5000), WAIT_OBJECT_0);
}

class SaveHistoryEndToEnd : public ::testing::Test {
 protected:
  // Recording on with no threshold: every change leaves just the newest row.
  e2e::BrevoltApp app_{"[Normal]\r\nEnableSpeed=1\r\n[Record]\r\nEnableRecord=1\r\nRecordCount=300\r\n"};

  void ClickToolbar(int id) {
    HWND toolbar = app_.Control(app::kToolbarSpeedMain);
    PostMessageW(GetParent(toolbar), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(toolbar));
  }
  std::string TakeNotice() { return e2e::TakeNotice(app_.process().id(), 5s); }
  // Fills the file dialog with a name and confirms it (or cancels it).
  bool AnswerFileDialog(const std::wstring& name, bool confirm) {
    HWND dialog = e2e::WaitForWindowOfClass(app_.process().id(), L"#32770", 5s);
    if (!dialog) return false;
    if (!confirm) {
      e2e::PressButton(dialog, IDCANCEL);
    } else {
      HWND edit = GetDlgItem(dialog, 0x480);  // the file name box
      if (!edit) edit = GetDlgItem(dialog, 0x47C);
      if (!edit) return false;
      SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
      e2e::PressButton(dialog, IDOK);
    }
    return e2e::WaitUntil([&] { return !IsWindow(dialog); }, 5s);
  }
};

// Everything posted to the program's window before this has been handled:
// a button's pushed look, posted after it, has arrived (and is taken back).
bool PostedMessagesHandled(HWND main, HWND button) {
  PostMessageW(button, BM_SETSTATE, TRUE, 0);
  const bool arrived =
      e2e::WaitUntil([&] { return (SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; }, 5s);
  SendMessageW(button, BM_SETSTATE, FALSE, 0);
  return arrived && IsWindow(main);
}

TEST_F(SaveHistoryEndToEnd, EmptyListGivesTheNoticeAndNoDialog) {
  ASSERT_TRUE(app_.Started());
  ClickToolbar(app::kToolClear);
  ClickToolbar(app::kToolSave);
  EXPECT_EQ(TakeNotice(), "提示|没有记录可保存。");
  // A dialog opened after the notice would be up before anything posted later is handled.
  ASSERT_TRUE(PostedMessagesHandled(app_.Main(), app_.Control(app::kCheckMostTop)));
  EXPECT_EQ(e2e::WaitForWindowOfClass(app_.process().id(), L"#32770", 200ms), nullptr);
}

TEST_F(SaveHistoryEndToEnd, SavesTheRowsAsAnsiTextOverALongerFile) {
  ASSERT_TRUE(app_.Started());
  // The program's own window in front gives at least one row.
  SetForegroundWindow(app_.Main());
  HWND list = app_.Control(app::kListViewHistory);
  ASSERT_TRUE(e2e::WaitUntil([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) > 0; }, 3s));
  SetForegroundWindow(GetDesktopWindow());
  // A tick takes in the switch now, so none adds a row while the rows are read.
  ASSERT_TRUE(e2e::WaitUntil([&] { return GetForegroundWindow() != app_.Main(); }, 3s));
  SendMessageW(app_.Main(), WM_TIMER, app::kTimerMain, 0);

  const auto target = app_.Folder() / L"历史";  // no extension, a Chinese name
  e2e::WriteFileBytes(target, std::string(4000, 'z'));
  // The foreground stays put, so the rows now are the rows the save writes
  // (read before the dialog, which takes the foreground, is there).
  const auto rows = e2e::ListViewRows(list, 3);
  ClickToolbar(app::kToolSave);
  ASSERT_TRUE(AnswerFileDialog(target.wstring(), true));
  EXPECT_EQ(TakeNotice(), "提示|保存成功。");

  std::string expected = win32::Utf8ToAnsi("Quillmoor 加速记录\r\nhttp://www.quillmoor.example/\r\n");
  for (const auto& row : rows) expected += win32::Utf8ToAnsi(row[0] + " " + row[1] + " " + row[2] + " \r\n");
  EXPECT_EQ(e2e::ReadFileBytes(target), expected);
}

TEST_F(SaveHistoryEndToEnd, CancellingShowsTheFailureAndWritesNothing) {
  ASSERT_TRUE(app_.Started());
  SetForegroundWindow(app_.Main());
  HWND list = app_.Control(app::kListViewHistory);
  ASSERT_TRUE(e2e::WaitUntil([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) > 0; }, 3s));
  ClickToolbar(app::kToolSave);
  ASSERT_TRUE(AnswerFileDialog(L"", false));
  const std::string notice = TakeNotice();
  EXPECT_EQ(notice.rfind("提示|", 0), 0u) << notice;
  EXPECT_NE(notice, "提示|保存成功。");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(app_.Folder()),
                          std::filesystem::directory_iterator()),
            2);  // Brevolt.exe and config.ini only
}

// Visible top-level windows of a process with this title.
int WindowsTitled(DWORD processId, const std::wstring& title) {
  int n = 0;
  for (HWND window : e2e::TopWindowsOf(processId)) {
    wchar_t text[64] = {};
    GetWindowTextW(window, text, 64);
    if (IsWindowVisible(window) && title == text) ++n;
  }
  return n;
}

// After Yes the program ends at once, exit code 0, tray icon gone. A notice
// of the cancelled step would hold it until someone closed the box: ending
// without anyone closing one shows that none was opened.
void ExpectEndsAtOnce(e2e::BrevoltApp& app, HWND main) {
  ASSERT_EQ(WaitForSingleObject(app.process().handle(), 3000), WAIT_OBJECT_0)
      << "still running; its windows: " << (IsWindow(main) ? "the main window" : "none");
  DWORD code = 1;
  GetExitCodeProcess(app.process().handle(), &code);
  EXPECT_EQ(code, 0u);
  EXPECT_FALSE(e2e::TrayIconPresent(main));
}

// Exit chosen (twice) from the tray menu while the save dialog runs its own
// loop: one question; Yes closes the dialog as if cancelled, with no notice,
// and the program ends.
TEST_F(SaveHistoryEndToEnd, ExitConfirmedUnderTheSaveDialogClosesItAndEnds) {
  ASSERT_TRUE(app_.Started());
  SetForegroundWindow(app_.Main());
  HWND main = app_.Main();
  HWND list = app_.Control(app::kListViewHistory);
  ASSERT_TRUE(e2e::WaitUntil([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) > 0; }, 3s));
  ClickToolbar(app::kToolSave);
  HWND dialog = e2e::WaitForWindowOfClass(app_.process().id(), L"#32770", 5s);
  ASSERT_NE(dialog, nullptr);
  for (int i = 0; i < 2; ++i) PostMessageW(main, WM_COMMAND, app::kMenuExit, 0);
  HWND question = app_.process().FindWindowTitled(L"请确认!", 5s);
  ASSERT_NE(question, nullptr);
  ASSERT_TRUE(PostedMessagesHandled(main, app_.Control(app::kCheckMostTop)));  // the second Exit too
  EXPECT_EQ(WindowsTitled(app_.process().id(), L"请确认!"), 1);
  e2e::PressButton(question, IDYES);
  ExpectEndsAtOnce(app_, main);
  EXPECT_FALSE(IsWindow(dialog));
}

// A notice box open when the exit is confirmed closes with the program.
TEST_F(SaveHistoryEndToEnd, ExitConfirmedOverANoticeClosesItAndEnds) {
  ASSERT_TRUE(app_.Started());
  HWND main = app_.Main();
  ClickToolbar(app::kToolClear);
  ClickToolbar(app::kToolSave);
  HWND notice = app_.process().FindWindowTitled(L"提示", 5s);
  ASSERT_NE(notice, nullptr);
  PostMessageW(main, WM_COMMAND, app::kMenuExit, 0);
  HWND question = app_.process().FindWindowTitled(L"请确认!", 5s);
  ASSERT_NE(question, nullptr);
  e2e::PressButton(question, IDYES);
  ExpectEndsAtOnce(app_, main);
}

}  // namespace

namespace {

// Whether a control lies inside the tab control's visible area.
bool InSight(HWND tabs, HWND control) {
  RECT area{}, r{};
  GetWindowRect(tabs, &area);
  GetWindowRect(control, &r);
  return r.left >= area.left && r.right <= area.right;
}

TEST(FormMainEndToEnd, EachPageShowsOnlyItsOwnControls) {
  e2e::BrevoltApp app("[Normal]\r\nEnableSpeed=1\r\n[Record]\r\nEnableRecord=1\r\nRecordCount=100\r\n");
  ASSERT_TRUE(app.Started());
  HWND tabs = app.Control(app::kSSTabMain);
  const std::vector<std::vector<int>> pages = {
      {app::kLabelCount, app::kLabelInfo},
      {app::kCheckAutoRun, app::kCheckAutoMin, app::kCheckState, app::kCheckMostTop, app::kComboSpeed,
       app::kCheckAccelerateChildren, app::kCommandNeverList, app::kCheckEnableRecord,
       app::kComboAutoCleanCount},
      {app::kListViewHistory, app::kToolbarSpeedMain},
      {app::kLabelHomePage, app::kLabelBBS}};
  for (int step = 0; step < 4; ++step) {
    SendMessageW(tabs, WM_KEYDOWN, VK_RIGHT, 0);  // from the last page round to the first
    for (int page = 0; page < 4; ++page) {
      for (int id : pages[page]) {
        EXPECT_EQ(InSight(tabs, app.Control(id)), page == step) << "page " << step << ", control " << id;
      }
    }
  }
}

void MoveMouseTo(POINT p) {
  SetCursorPos(p.x, p.y);
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = 0;
  in.mi.dy = 0;
  in.mi.dwFlags = MOUSEEVENTF_MOVE;  // a real move message at the new place
  SendInput(1, &in, sizeof in);
}

std::string CursorText() {
  POINT at{};
  GetCursorPos(&at);
  return "(" + std::to_string(at.x) + "," + std::to_string(at.y) + ")";
}

// Waits for `look` to give `want` with the mouse at `p`. On a loaded
// machine the display server's report of an earlier move can reach the
// program after this one (seen: the cursor at the new place, the link of
// the place before still hot, for good): while the picture is wrong, the
// mouse is moved there again now and then, as a hand resting on it would.
// Where the mouse is, not how many moves it took, is what is tested.
bool MouseShows(POINT p, const std::function<std::string()>& look, const std::string& want) {
  MoveMouseTo(p);
  auto moved = std::chrono::steady_clock::now();
  return e2e::WaitUntil(
      [&] {
        if (look() == want) return true;
        if (std::chrono::steady_clock::now() - moved > 500ms) {
          MoveMouseTo(p);
          moved = std::chrono::steady_clock::now();
        }
        return false;
      },
      5s);
}

// Going from one link straight down to the other passes over the tab
// control between them: at every step the link under the mouse, and only
// that one, shows the hover style; off both, both rest.
TEST(FormMainEndToEnd, OnlyTheLinkUnderTheMouseIsHovered) {
  e2e::BrevoltApp app;
  ASSERT_TRUE(app.Started());
  ASSERT_TRUE(e2e::BringToFront(app.Main()));
  HWND home = app.Control(app::kLabelHomePage), bbs = app.Control(app::kLabelBBS);
  RECT top{}, bottom{};
  GetWindowRect(home, &top);
  GetWindowRect(bbs, &bottom);
  ASSERT_LT(top.bottom, bottom.top) << "no strip of the tab control between the links";
  const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255);
  const auto shown = [&] {
    const bool homeHot = e2e::PixelsOfColour(home, red) > 0, bbsHot = e2e::PixelsOfColour(bbs, red) > 0;
    return std::string(homeHot && bbsHot ? "both links"
                       : homeHot         ? "the home link"
                       : bbsHot          ? "the forum link"
                                         : "none");
  };
  const int x = top.left + 20;
  for (int y = top.top + 2; y <= bottom.top + 3; ++y) {
    const std::string under = y < top.bottom ? "the home link" : y >= bottom.top ? "the forum link" : "none";
    // The move reaches the program through the Wine server, its paint the
    // screen later still: wait for the picture the place calls for.
    ASSERT_TRUE(MouseShows({x, y}, shown, under))
        << "mouse at y=" << y << " over " << under << ", hovered: " << shown() << ", cursor at "
        << CursorText();
  }
  EXPECT_GT(e2e::PixelsOfColour(home, blue), 0) << "the home link lost its resting colour";
  // Onto the page: both rest.
  EXPECT_TRUE(MouseShows({x, bottom.bottom + 20}, shown, "none"))
      << "hovered off both links: " << shown() << ", cursor at " << CursorText();
}

// Internet Explorer where the shell finds it by name: a stand-in, or none at
// all. Under Wine the shell looks in the system folder first (where Wine
// would start its own program for a stand-in), then where the App Paths
// entry points, under Program Files; the stand-in goes there. The real ones
// come back on destruction (all tests share one prefix).
class InternetExplorer {
 public:
  InternetExplorer() {
    wchar_t system[MAX_PATH] = {}, programs[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    GetEnvironmentVariableW(L"ProgramFiles", programs, MAX_PATH);
    first_ = std::filesystem::path(programs) / L"Internet Explorer" / L"iexplore.exe";
    for (const auto& path : {std::filesystem::path(system) / L"iexplore.exe", first_}) {
      auto away = path;
      away += L".away";
      if (MoveFileW(path.c_str(), away.c_str())) moved_.emplace_back(path, away);
    }
  }
  ~InternetExplorer() {
    static_cast<void>(Remove());  // a failed test may have left the stand-in
    for (const auto& [path, away] : moved_) MoveFileW(away.c_str(), path.c_str());
  }
  InternetExplorer(const InternetExplorer&) = delete;
  InternetExplorer& operator=(const InternetExplorer&) = delete;
  bool Away() const { return moved_.size() == 2; }
  bool StandIn(const std::wstring& program) {
    return CopyFileW(program.c_str(), first_.c_str(), FALSE) != FALSE;
  }
  // The stand-in's file is in use until its process has quite gone.
  bool Remove() {
    return e2e::WaitUntil(
        [&] { return DeleteFileW(first_.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND; }, 5s);
  }

 private:
  std::filesystem::path first_;
  std::vector<std::pair<std::filesystem::path, std::filesystem::path>> moved_;
};

// 升级 opens the update page through iexplore.exe; without Internet
// Explorer, the default browser gets the address instead.
TEST(FormMainEndToEnd, UpdateOpensInInternetExplorerOrElseTheDefaultBrowser) {
  const std::wstring host = e2e::HostPath(WINDOW_HOST_EXE);
  e2e::HttpOpener browser(L"\"" + host + L"\" browser %1");
  ASSERT_TRUE(browser.Active());
  InternetExplorer explorer;
  ASSERT_TRUE(explorer.Away());
  e2e::BrevoltApp app;
  ASSERT_TRUE(app.Started());
  const std::wstring page = win32::Widen(std::string(engine::kUpdatePage));
  const auto update = [&] { PostMessageW(app.Main(), WM_COMMAND, MAKEWPARAM(app::kMenuUpdate, 0), 0); };

  ASSERT_TRUE(explorer.StandIn(host));
  update();
  EXPECT_TRUE(e2e::HttpOpener::Opened(page.c_str(), 15s)) << "iexplore.exe was not started with the page";
  ASSERT_TRUE(explorer.Remove());
  update();
  EXPECT_TRUE(e2e::HttpOpener::Opened((L"browser " + page).c_str(), 15s))
      << "without Internet Explorer the default browser did not get the page";
  EXPECT_TRUE(app.process().Running());
}

}  // namespace
