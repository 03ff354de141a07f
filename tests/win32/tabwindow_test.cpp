// The tab control window against the real window system: a top-level test
// window holding the control with one child window on each page, driven by
// real messages. Tab positions come from the model after the control has
// painted, never from constants: the painter decides the layout.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "e2e/accessible_client.h"
#include "tabctl/event_recorder.h"
#include "win32/tab_control_window.h"

namespace {

using tabfakes::Log;

// Every event, the mouse's and keys' too, in a log of its own.
struct Sink : tabfakes::EventRecorder {
  Sink() : EventRecorder(own, Record::Everything) {}
  Log own;
  // Moves depend on the pointer's path, not on what the control decides.
  void MouseMove(std::int16_t, std::int16_t, float, float) override {}
  void MouseHover(std::int32_t&, float, float) override {}
  void ControlBoxHover(float&, float&) override {}
};

void Pump() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    if (win32::TabControlWindow::RouteAccessKey(m)) continue;
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}

// Pumps until `done` or the time is up.
template <typename Done>
bool PumpUntil(Done done, DWORD ms) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > ms) return false;
    Pump();
    // Wakes as soon as a message (a timer's, say) arrives.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

LPARAM Point(int x, int y) { return MAKELPARAM(x, y); }

bool Contains(const Log& log, const std::string& entry) {
  for (const auto& e : log) {
    if (e == entry) return true;
  }
  return false;
}

// Position of `entry` in the log, or -1.
int IndexOf(const Log& log, const std::string& entry) {
  for (std::size_t i = 0; i < log.size(); ++i) {
    if (log[i] == entry) return static_cast<int>(i);
  }
  return -1;
}

class TabWindowTest : public ::testing::Test {
 protected:
  static constexpr int kPages = 4;

  void SetUp() override {
    // Keep the real cursor away so that no real mouse message interferes.
    SetCursorPos(1000, 740);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"QuillmoorTabTestHost";
    RegisterClassExW(&wc);
    parent_ = CreateWindowExW(0, L"QuillmoorTabTestHost", L"tab test", WS_OVERLAPPEDWINDOW, 0, 0, 640, 420,
                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(parent_, nullptr);
    ShowWindow(parent_, SW_SHOW);
    SetForegroundWindow(parent_);
    tab_ = win32::TabControlWindow::Create(parent_, 100, 8, 8, 560, 340);
    ASSERT_NE(tab_, nullptr);
    tab_->SetEventSink(&sink_);
    auto& c = tab_->Control();
    c.SetTabCount(kPages);
    c.SetTabCaption(0, "&Alpha");
    c.SetTabCaption(1, "&Beta");
    c.SetTabCaption(2, "&Gamma");
    c.SetTabCaption(3, "关于(&D)");
    for (int page = 0; page < kPages; ++page) {
      HWND child = CreateWindowExW(0, L"STATIC", L"page", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, tab_->hwnd(),
                                   nullptr, GetModuleHandleW(nullptr), nullptr);
      ASSERT_NE(child, nullptr);
      children_.push_back(child);
      tab_->AddPageControl(child, page, OwnX(page), 60, 120, 24);
    }
    c.SetActiveTab(0);
    UpdateWindow(tab_->hwnd());
    Pump();
    sink_.log.clear();
  }

  void TearDown() override {
    tab_.reset();
    if (parent_ != nullptr) DestroyWindow(parent_);
  }

  static int OwnX(int page) { return 20 + 7 * page; }

  // Whether a child window shows inside the control's client area.
  bool InSight(int page) const {
    RECT child{}, client{};
    GetWindowRect(children_[page], &child);
    MapWindowPoints(nullptr, tab_->hwnd(), reinterpret_cast<POINT*>(&child), 2);
    GetClientRect(tab_->hwnd(), &client);
    RECT overlap{};
    return IntersectRect(&overlap, &child, &client) != 0;
  }
  int ChildX(int page) const {
    RECT child{};
    GetWindowRect(children_[page], &child);
    MapWindowPoints(nullptr, tab_->hwnd(), reinterpret_cast<POINT*>(&child), 2);
    return child.left;
  }
  // Only the page of the active tab is in sight, at its own position.
  void ExpectPageShown(int page) const {
    for (int p = 0; p < static_cast<int>(children_.size()); ++p) {
      EXPECT_EQ(InSight(p), p == page) << "page " << p;
    }
    EXPECT_EQ(ChildX(page), OwnX(page));
  }

  POINT TabCentre(int tab) const {
    const tabctl::PixelRect r = tab_->Control().AryTabs().at(tab).tabRect;
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }

  void Click(POINT p) {
    SendMessageW(tab_->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, Point(p.x, p.y));
    SendMessageW(tab_->hwnd(), WM_LBUTTONUP, 0, Point(p.x, p.y));
  }
  void Key(WPARAM vk) {
    SendMessageW(tab_->hwnd(), WM_KEYDOWN, vk, 1);
    SendMessageW(tab_->hwnd(), WM_KEYUP, vk, 0xC0000001);
  }
  void SetCtrl(bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = down ? 0x80 : 0;
    keys[VK_LCONTROL] = down ? 0x80 : 0;
    SetKeyboardState(keys);
  }

  HWND parent_ = nullptr;
  std::unique_ptr<win32::TabControlWindow> tab_;
  std::vector<HWND> children_;
  Sink sink_;
};

TEST_F(TabWindowTest, PaintedLayoutAndPagesAfterCreation) {
  auto& c = tab_->Control();
  EXPECT_TRUE(c.Initialised());
  EXPECT_TRUE(tab_->HooksInstalled());
  EXPECT_TRUE(tab_->HostHooked());
  EXPECT_TRUE(c.Tracking().available);
  for (int i = 0; i < kPages; ++i) {
    const tabctl::PixelRect r = c.AryTabs()[i].tabRect;
    EXPECT_LT(r.left, r.right) << "tab " << i << " laid out by painting";
  }
  ExpectPageShown(0);
  // The pages lie a whole stride apart: 10000 twips.
  EXPECT_EQ(ChildX(1), OwnX(1) - tabctl::PixelsFromTwips(10000, tab_->Dpi()));
  EXPECT_EQ(c.AccessKeys(), "ABGD");
}

TEST_F(TabWindowTest, ClicksSwitchPagesWithEventsInOrder) {
  auto& c = tab_->Control();
  Click(TabCentre(2));
  EXPECT_EQ(c.ActiveTab(), 2);
  ExpectPageShown(2);
  EXPECT_EQ(sink_.log, (Log{"MouseDown 1", "BeforeTabSwitch 2", "TabSwitch 0", "MouseUp 1", "Click"}));
  EXPECT_EQ(GetFocus(), tab_->hwnd());  // a click takes the focus
  EXPECT_TRUE(c.IsFocused());

  sink_.log.clear();
  Click(TabCentre(2));  // the active tab: only the mouse events
  EXPECT_EQ(sink_.log, (Log{"MouseDown 1", "MouseUp 1", "Click"}));

  c.SetTabEnabled(3, false);
  Click(TabCentre(3));
  EXPECT_EQ(c.ActiveTab(), 2);
  const POINT below{TabCentre(1).x, std::max(c.ActiveTabHeight(), c.InActiveTabHeight()) + 5};
  Click(below);
  EXPECT_EQ(c.ActiveTab(), 2);

  // Back to tab 0: every page returns to where it was.
  Click(TabCentre(0));
  ExpectPageShown(0);

  // A double click: the first press switches; the second raises DblClick
  // alone, not a second MouseDown (which would start the window drag again)
  // nor a second Click.
  sink_.log.clear();
  const POINT p = TabCentre(1);
  SendMessageW(tab_->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, Point(p.x, p.y));
  SendMessageW(tab_->hwnd(), WM_LBUTTONUP, 0, Point(p.x, p.y));
  SendMessageW(tab_->hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, Point(p.x, p.y));
  SendMessageW(tab_->hwnd(), WM_LBUTTONUP, 0, Point(p.x, p.y));
  EXPECT_EQ(c.ActiveTab(), 1);
  EXPECT_EQ(sink_.log, (Log{"MouseDown 1", "BeforeTabSwitch 1", "TabSwitch 0", "MouseUp 1", "Click",
                            "DblClick", "MouseUp 1"}));
  sink_.log.clear();
  Click(TabCentre(1));  // the next press is an ordinary click again
  EXPECT_EQ(sink_.log, (Log{"MouseDown 1", "MouseUp 1", "Click"}));
}

TEST_F(TabWindowTest, ArrowsAndCtrlPageKeysSwitchAndWrap) {
  auto& c = tab_->Control();
  EXPECT_EQ(SendMessageW(tab_->hwnd(), WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS, DLGC_WANTARROWS);
  Key(VK_RIGHT);
  EXPECT_EQ(c.ActiveTab(), 1);
  ExpectPageShown(1);
  EXPECT_EQ(sink_.log, (Log{"BeforeTabSwitch 1", "TabSwitch 0", "KeyDown 39/0"}));
  Key(VK_LEFT);
  Key(VK_LEFT);  // from tab 0 to the last
  EXPECT_EQ(c.ActiveTab(), 3);
  ExpectPageShown(3);
  Key(VK_RIGHT);  // from the last back to tab 0
  EXPECT_EQ(c.ActiveTab(), 0);

  Key(VK_NEXT);  // Page Down without Ctrl does nothing
  EXPECT_EQ(c.ActiveTab(), 0);
  SetCtrl(true);
  sink_.log.clear();
  Key(VK_NEXT);
  EXPECT_EQ(c.ActiveTab(), 1);
  EXPECT_EQ(sink_.log.back(), "KeyDown 34/2");
  Key(VK_PRIOR);
  Key(VK_PRIOR);
  SetCtrl(false);
  EXPECT_EQ(c.ActiveTab(), 3);
  ExpectPageShown(3);

  c.SetTabEnabled(0, false);  // a disabled neighbour is not skipped
  Key(VK_RIGHT);
  EXPECT_EQ(c.ActiveTab(), 3);
}

TEST_F(TabWindowTest, WheelAndAccessKeysThroughTheMessageLoop) {
  auto& c = tab_->Control();
  SendMessageW(tab_->hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  EXPECT_EQ(c.ActiveTab(), 1);
  ExpectPageShown(1);
  EXPECT_EQ(sink_.log, (Log{"ScrollUp", "BeforeTabSwitch 1", "TabSwitch 0"}));
  SendMessageW(tab_->hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  SendMessageW(tab_->hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);  // tab 0 stays
  EXPECT_EQ(c.ActiveTab(), 0);

  // Alt+G posted to the holder goes to the control whose list holds G.
  sink_.log.clear();
  PostMessageW(parent_, WM_SYSCHAR, L'g', 1 | (1 << 29));
  Pump();
  EXPECT_EQ(c.ActiveTab(), 2);
  ExpectPageShown(2);
  EXPECT_EQ(sink_.log, (Log{"BeforeTabSwitch 2", "TabSwitch 0"}));
  // The Chinese caption's key, from a child window of the holder.
  MSG m{children_[2], WM_SYSCHAR, L'd', 1 | (1 << 29), 0, {}};
  EXPECT_TRUE(win32::TabControlWindow::RouteAccessKey(m));
  EXPECT_EQ(c.ActiveTab(), 3);
  // Not in the list, or without Alt: not ours.
  m.wParam = L'z';
  EXPECT_FALSE(win32::TabControlWindow::RouteAccessKey(m));
  m.wParam = L'a';
  m.lParam = 1;
  EXPECT_FALSE(win32::TabControlWindow::RouteAccessKey(m));
  EXPECT_EQ(c.ActiveTab(), 3);
}

// The host's background, as the control takes it for its own: a system
// colour stays one (and follows the user's scheme), whichever way the host's
// class gives it.
TEST_F(TabWindowTest, TheHostsBackgroundColourIsReadAsItIsGiven) {
  const ULONG_PTR before = GetClassLongPtrW(parent_, GCLP_HBRBACKGROUND);
  const HBRUSH solid = CreateSolidBrush(RGB(1, 2, 3));
  const struct {
    ULONG_PTR brush;
    tabctl::Color colour;
  } cases[] = {{COLOR_WINDOW + 1, 0x80000005},
               {reinterpret_cast<ULONG_PTR>(GetSysColorBrush(COLOR_BTNFACE)), 0x8000000F},
               {reinterpret_cast<ULONG_PTR>(GetSysColorBrush(COLOR_WINDOW)), 0x80000005},
               {reinterpret_cast<ULONG_PTR>(solid), 0x030201}};
  for (const auto& c : cases) {
    SetClassLongPtrW(parent_, GCLP_HBRBACKGROUND, static_cast<LONG_PTR>(c.brush));
    // A strip colour not saved is the host's background.
    tab_->Control().ReadProperties(tabctl::ParsePropertyText("").bag);
    EXPECT_EQ(tab_->Control().TabStripBackColor(), c.colour) << std::hex << c.colour;
  }
  SetClassLongPtrW(parent_, GCLP_HBRBACKGROUND, static_cast<LONG_PTR>(before));
  DeleteObject(solid);
}

TEST_F(TabWindowTest, FocusChangesToggleTheFocusMark) {
  auto& c = tab_->Control();
  c.SetHotTab(2);
  SetFocus(tab_->hwnd());
  EXPECT_TRUE(c.IsFocused());
  EXPECT_EQ(c.HotTab(), 0);
  SetFocus(children_[0]);
  EXPECT_FALSE(c.IsFocused());
  SetFocus(tab_->hwnd());
  EXPECT_TRUE(c.IsFocused());
  SetFocus(parent_);
  EXPECT_FALSE(c.IsFocused());
}

TEST_F(TabWindowTest, MouseTrackingAndHostStatus) {
  // A move raises MouseEnter once; when the cursor goes, the leave notice
  // the control asked for arrives.
  POINT inside{30, 100};
  ClientToScreen(tab_->hwnd(), &inside);
  SetCursorPos(inside.x, inside.y);
  SendMessageW(tab_->hwnd(), WM_MOUSEMOVE, 0, Point(30, 100));
  SendMessageW(tab_->hwnd(), WM_MOUSEMOVE, 0, Point(31, 100));
  EXPECT_TRUE(tab_->Control().Tracking().mouseInside);
  EXPECT_EQ(IndexOf(sink_.log, "MouseEnter"), 0);
  EXPECT_FALSE(Contains(sink_.log, "MouseLeave"));
  SetCursorPos(1000, 740);
  EXPECT_TRUE(PumpUntil([&] { return Contains(sink_.log, "MouseLeave"); }, 2000));
  EXPECT_FALSE(tab_->Control().Tracking().mouseInside);

  sink_.log.clear();
  SendMessageW(parent_, WM_MOVING, 0, 0);
  SendMessageW(parent_, WM_EXITSIZEMOVE, 0, 0);
  SendMessageW(parent_, WM_SIZING, WMSZ_RIGHT, 0);
  SendMessageW(parent_, WM_EXITSIZEMOVE, 0, 0);
  EXPECT_EQ(sink_.log, (Log{"Status Form is moving...", "Status Finished Moving.", "Status Form is sizing...",
                            "Status Finished Sizing."}));
}

TEST_F(TabWindowTest, HoverHighlightEndsWhenTheCursorLeavesIt) {
  auto& c = tab_->Control();
  c.SetTabTheme(tabctl::TabThemes::LightVisual);
  UpdateWindow(tab_->hwnd());
  Pump();
  const POINT p = TabCentre(2);
  POINT screen = p;
  ClientToScreen(tab_->hwnd(), &screen);
  SetCursorPos(screen.x, screen.y);
  SendMessageW(tab_->hwnd(), WM_MOUSEMOVE, 0, Point(p.x, p.y));
  ASSERT_TRUE(c.Hover().drawn);
  EXPECT_EQ(c.HotTab(), 2);
  PumpUntil([] { return false; }, 60);  // several 10 ms ticks
  POINT now{};
  GetCursorPos(&now);
  if (now.x == screen.x && now.y == screen.y) {
    EXPECT_TRUE(c.Hover().drawn) << "cursor still on the tab";
  }
  SetCursorPos(1000, 740);
  EXPECT_TRUE(PumpUntil([&] { return !c.Hover().drawn; }, 1000));
}

TEST_F(TabWindowTest, ReleasingOnACloseBoxRemovesTheTab) {
  auto& c = tab_->Control();
  c.SetUseControlBox(true);
  c.SetActiveTab(1);
  UpdateWindow(tab_->hwnd());
  Pump();
  const tabctl::PixelRect tabRect = c.AryTabs()[1].tabRect;
  tabctl::PixelRect box = c.AryTabs()[1].controlBoxRect;
  if (box.right <= box.left) {
    // A painter without close boxes: lay one out inside the tab, as a
    // renderer would.
    box = {tabRect.right - 14, tabRect.top + 4, tabRect.right - 4, tabRect.top + 14};
    c.SetTabLayout(1, tabRect, box);
  }
  const POINT centre{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
  sink_.log.clear();
  SendMessageW(tab_->hwnd(), WM_MOUSEMOVE, 0, Point(centre.x, centre.y));
  SendMessageW(tab_->hwnd(), WM_MOUSEMOVE, 0, Point(box.left - 3, centre.y));
  EXPECT_EQ(IndexOf(sink_.log, "BoxEnter"), 1);  // after MouseEnter
  EXPECT_EQ(IndexOf(sink_.log, "BoxExit"), 2);

  sink_.log.clear();
  Click(centre);
  EXPECT_EQ(c.TabCount(), kPages - 1);
  EXPECT_EQ(c.TabCaption(1), "&Gamma");
  // The hook runs before the control's own handling of each button message.
  ASSERT_FALSE(sink_.log.empty());
  EXPECT_EQ(sink_.log.front().rfind("BoxDown ", 0), 0u) << sink_.log.front();
  EXPECT_LT(IndexOf(sink_.log, "BoxUp"), IndexOf(sink_.log, "TabRemove 1"));
  EXPECT_LT(IndexOf(sink_.log, "TabRemove 1"), IndexOf(sink_.log, "MouseUp 1"));
  EXPECT_EQ(sink_.log.back(), "Click");
  // The removed page's child is parked for good; the old page 2 is page 1.
  EXPECT_EQ(c.ActiveTab(), 1);
  EXPECT_FALSE(InSight(1));
  EXPECT_TRUE(InSight(2));
  EXPECT_EQ(ChildX(2), OwnX(2));
  Click(TabCentre(0));
  EXPECT_TRUE(InSight(0));
  EXPECT_FALSE(InSight(1));
  EXPECT_FALSE(InSight(2));
}

TEST_F(TabWindowTest, DestructionRemovesItsHooksAndKeepsOthersInTheChain) {
  // Another hook on the holder, installed after the control's.
  Log seen;
  win32::WindowHooks other(
      [&](HWND, UINT message, WPARAM, LPARAM) { seen.push_back(std::to_string(message)); });
  ASSERT_TRUE(other.Hook(parent_, {{WM_MOVING, win32::HookTiming::kBefore}}));
  SendMessageW(parent_, WM_MOVING, 0, 0);
  EXPECT_EQ(sink_.log, (Log{"Status Form is moving..."}));
  const HWND window = tab_->hwnd();
  tab_.reset();
  EXPECT_FALSE(IsWindow(window));
  sink_.log.clear();
  SendMessageW(parent_, WM_MOVING, 0, 0);
  SendMessageW(parent_, WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_TRUE(sink_.log.empty());
  EXPECT_EQ(seen, (Log{"534", "534"}));  // the other hook saw both moves

  // Destroyed with its parent: the object stays usable, the window is gone.
  auto second = win32::TabControlWindow::Create(parent_, 101, 0, 0, 300, 200);
  ASSERT_NE(second, nullptr);
  HWND page = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 5, 5, second->hwnd(), nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  second->AddPageControl(page, 1, 30, 30, 40, 20);
  EXPECT_EQ(second->Control().ActiveTab(), 1);
  DestroyWindow(parent_);
  parent_ = nullptr;
  EXPECT_EQ(second->hwnd(), nullptr);
  EXPECT_FALSE(second->HooksInstalled());
  MSG m{nullptr, WM_SYSCHAR, L'a', 1 << 29, 0, {}};
  EXPECT_FALSE(win32::TabControlWindow::RouteAccessKey(m));
}

// ---- what a screen reader in this process gets through oleacc ----

struct ComApartment {
  ComApartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  ~ComApartment() { CoUninitialize(); }
};

std::vector<std::pair<DWORD, LONG>>* g_winEvents = nullptr;
HWND g_eventWindow = nullptr;

void CALLBACK RecordWinEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
  if (g_winEvents && window == g_eventWindow && object == OBJID_CLIENT)
    g_winEvents->push_back({event, child});
}

TEST_F(TabWindowTest, ScreenReadersReadTabsStatesAndPlaces) {
  ComApartment com;
  auto& c = tab_->Control();
  c.SetTabEnabled(3, false);
  SetWindowTextW(tab_->hwnd(), L"页面");
  HRESULT hr = E_FAIL;
  e2e::ComRef<IAccessible> strip = e2e::ClientObject(tab_->hwnd(), hr);
  ASSERT_EQ(hr, S_OK);
  ASSERT_TRUE(strip);

  const e2e::Item self = e2e::Read(strip.get(), CHILDID_SELF);
  EXPECT_EQ(self.name, "页面");
  EXPECT_EQ(self.role, ROLE_SYSTEM_PAGETABLIST);
  LONG count = 0;
  EXPECT_EQ(strip->get_accChildCount(&count), S_OK);
  EXPECT_EQ(count, kPages);
  e2e::ComRef<IDispatch> parent;
  EXPECT_EQ(strip->get_accParent(parent.out()), S_OK);
  EXPECT_TRUE(parent);
  e2e::ComRef<IDispatch> simple;
  EXPECT_EQ(strip->get_accChild(e2e::Child(2), simple.out()), S_FALSE);
  EXPECT_EQ(strip->get_accChild(e2e::Child(kPages + 1), simple.out()), E_INVALIDARG);

  SetFocus(tab_->hwnd());
  struct Expected {
    const char* name;
    const char* shortcut;
    LONG state;
  };
  constexpr LONG kBase = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
  const Expected expected[] = {{"Alpha", "Alt+A", kBase | STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED},
                               {"Beta", "Alt+B", kBase},
                               {"Gamma", "Alt+G", kBase},
                               {"关于(D)", "Alt+D", kBase | STATE_SYSTEM_UNAVAILABLE}};
  for (int i = 0; i < kPages; ++i) {
    SCOPED_TRACE(i);
    const e2e::Item tab = e2e::Read(strip.get(), i + 1);
    EXPECT_EQ(tab.name, expected[i].name);
    EXPECT_EQ(tab.shortcut, expected[i].shortcut);
    EXPECT_EQ(tab.action, "切换");
    EXPECT_EQ(tab.role, ROLE_SYSTEM_PAGETAB);
    EXPECT_EQ(tab.state, expected[i].state);
    // Where the painter put the tab, on the screen.
    const tabctl::PixelRect r = c.AryTabs()[i].tabRect;
    RECT onScreen{r.left, r.top, r.right, r.bottom};
    MapWindowPoints(tab_->hwnd(), nullptr, reinterpret_cast<POINT*>(&onScreen), 2);
    EXPECT_TRUE(EqualRect(&tab.location, &onScreen));

    POINT centre = TabCentre(i);
    ClientToScreen(tab_->hwnd(), &centre);
    VARIANT hit;
    VariantInit(&hit);
    EXPECT_EQ(strip->accHitTest(centre.x, centre.y, &hit), S_OK);
    EXPECT_EQ(hit.vt, VT_I4);
    EXPECT_EQ(hit.lVal, i + 1);
  }

  VARIANT v;
  VariantInit(&v);
  EXPECT_EQ(strip->accNavigate(NAVDIR_LASTCHILD, e2e::Child(CHILDID_SELF), &v), S_OK);
  EXPECT_EQ(v.lVal, kPages);
  EXPECT_EQ(strip->accNavigate(NAVDIR_NEXT, e2e::Child(2), &v), S_OK);
  EXPECT_EQ(v.lVal, 3);
  EXPECT_EQ(strip->get_accFocus(&v), S_OK);
  EXPECT_EQ(v.lVal, 1);
  SetFocus(parent_);
  EXPECT_EQ(strip->get_accFocus(&v), S_FALSE);
  EXPECT_EQ(e2e::Read(strip.get(), 1).state, kBase | STATE_SYSTEM_SELECTED);

  // The pointer over a tab makes it hot.
  const POINT gamma = TabCentre(2);
  SendMessageW(tab_->hwnd(), WM_MOUSEMOVE, 0, Point(gamma.x, gamma.y));
  EXPECT_EQ(e2e::Read(strip.get(), 3).state, kBase | STATE_SYSTEM_HOTTRACKED);
}

TEST_F(TabWindowTest, DefaultActionSwitchesAsAClickDoesAndADisabledTabRefuses) {
  ComApartment com;
  auto& c = tab_->Control();
  HRESULT hr = E_FAIL;
  e2e::ComRef<IAccessible> strip = e2e::ClientObject(tab_->hwnd(), hr);
  ASSERT_TRUE(strip);

  EXPECT_EQ(strip->accDoDefaultAction(e2e::Child(3)), S_OK);
  EXPECT_EQ(c.ActiveTab(), 2);
  ExpectPageShown(2);
  EXPECT_EQ(sink_.log, (Log{"BeforeTabSwitch 2", "TabSwitch 0"}));
  EXPECT_NE(e2e::Read(strip.get(), 3).state & STATE_SYSTEM_SELECTED, 0);

  // The holder's refusal stands.
  sink_.log.clear();
  sink_.refuse = [](int tab) { return tab == 1; };
  EXPECT_EQ(strip->accDoDefaultAction(e2e::Child(2)), S_OK);
  EXPECT_EQ(c.ActiveTab(), 2);
  EXPECT_EQ(sink_.log, (Log{"BeforeTabSwitch 1"}));

  sink_.log.clear();
  c.SetTabEnabled(3, false);
  EXPECT_EQ(strip->accDoDefaultAction(e2e::Child(4)), E_ACCESSDENIED);
  EXPECT_EQ(strip->accDoDefaultAction(e2e::Child(kPages + 1)), E_INVALIDARG);
  EXPECT_EQ(c.ActiveTab(), 2);
  EXPECT_TRUE(sink_.log.empty());
  ExpectPageShown(2);

  // Selecting is the same switch; taking the focus puts it on the strip.
  sink_.refuse = nullptr;
  EXPECT_EQ(strip->accSelect(SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION, e2e::Child(1)), S_OK);
  EXPECT_EQ(c.ActiveTab(), 0);
  EXPECT_EQ(GetFocus(), tab_->hwnd());
  EXPECT_EQ(strip->accSelect(SELFLAG_ADDSELECTION, e2e::Child(2)), E_INVALIDARG);  // one tab at a time
  EXPECT_EQ(c.ActiveTab(), 0);

  // Called straight from another thread, past COM, it does not touch the model.
  HRESULT fromThread = S_OK;
  std::thread([&] {
    VARIANT v = e2e::Child(2);
    fromThread = strip->accDoDefaultAction(v);
  }).join();
  EXPECT_EQ(fromThread, RPC_E_WRONG_THREAD);
  EXPECT_EQ(c.ActiveTab(), 0);

  // A screen reader that keeps the object past the window gets a clean refusal.
  tab_.reset();
  LONG count = 0;
  EXPECT_EQ(strip->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(strip->accDoDefaultAction(e2e::Child(1)), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(e2e::Read(strip.get(), 1).name, "<error>");
}

TEST_F(TabWindowTest, WinEventsTellOfSwitchesFocusCaptionsAndTabs) {
  std::vector<std::pair<DWORD, LONG>> events;
  g_winEvents = &events;
  g_eventWindow = tab_->hwnd();
  const HWINEVENTHOOK hook = SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, &RecordWinEvent,
                                             GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);
  auto& c = tab_->Control();
  auto seen = [&](DWORD event, LONG child) {
    Pump();
    return std::find(events.begin(), events.end(), std::make_pair(event, child)) != events.end();
  };

  c.SetTabCaption(1, "&Bravo");
  EXPECT_TRUE(seen(EVENT_OBJECT_NAMECHANGE, 2));
  c.SetTabCaption(2, "Gamm&a");
  EXPECT_TRUE(seen(EVENT_OBJECT_ACCELERATORCHANGE, 3));
  EXPECT_FALSE(seen(EVENT_OBJECT_ACCELERATORCHANGE, 2));  // still Alt+B
  SetFocus(tab_->hwnd());
  EXPECT_TRUE(seen(EVENT_OBJECT_FOCUS, 1));
  Key(VK_RIGHT);
  EXPECT_TRUE(seen(EVENT_OBJECT_SELECTION, 2));
  EXPECT_TRUE(seen(EVENT_OBJECT_FOCUS, 2));
  c.SetTabEnabled(3, false);
  EXPECT_TRUE(seen(EVENT_OBJECT_STATECHANGE, 4));
  c.InsertTab(3, "Delta");
  EXPECT_TRUE(seen(EVENT_OBJECT_CREATE, 5));
  EXPECT_TRUE(seen(EVENT_OBJECT_REORDER, CHILDID_SELF));
  events.clear();
  c.RemoveTab(0);
  EXPECT_TRUE(seen(EVENT_OBJECT_DESTROY, 5));
  EXPECT_TRUE(seen(EVENT_OBJECT_NAMECHANGE, 1));
  UnhookWinEvent(hook);
  g_winEvents = nullptr;
}

// The hook table on its own: before and after the previous procedure,
// removal, and the end of a window.
LRESULT CALLBACK RecordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= WM_APP) {
    auto* log = reinterpret_cast<Log*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (log) log->push_back("window " + std::to_string(message - WM_APP));
    return 7;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

TEST(WindowHooks, BeforeAndAfterThePreviousProcedureUntilRemoved) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = RecordingProcedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QuillmoorHookTest";
  RegisterClassExW(&wc);
  HWND window = CreateWindowExW(0, L"QuillmoorHookTest", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  Log log;
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&log));
  win32::WindowHooks hooks(
      [&](HWND, UINT message, WPARAM, LPARAM) { log.push_back("hook " + std::to_string(message - WM_APP)); });
  ASSERT_TRUE(hooks.Hook(window, {{WM_APP + 1, win32::HookTiming::kBefore}}));
  ASSERT_TRUE(hooks.Hook(window, {{WM_APP + 2, win32::HookTiming::kAfter}}));
  EXPECT_EQ(SendMessageW(window, WM_APP + 1, 0, 0), 7);  // the previous result comes back
  SendMessageW(window, WM_APP + 2, 0, 0);
  SendMessageW(window, WM_APP + 3, 0, 0);  // not registered
  EXPECT_EQ(log, (Log{"hook 1", "window 1", "window 2", "hook 2", "window 3"}));
  hooks.RemoveAll();
  log.clear();
  SendMessageW(window, WM_APP + 1, 0, 0);
  EXPECT_EQ(log, (Log{"window 1"}));

  // A window hooked in its own procedure: the same order through Around,
  // the window's procedure left as it was.
  const LONG_PTR procedure = GetWindowLongPtrW(window, GWLP_WNDPROC);
  ASSERT_TRUE(hooks.HookOwn(
      window, {{WM_APP + 1, win32::HookTiming::kBefore}, {WM_APP + 2, win32::HookTiming::kAfter}}));
  EXPECT_EQ(GetWindowLongPtrW(window, GWLP_WNDPROC), procedure);
  log.clear();
  for (UINT message : {WM_APP + 1, WM_APP + 2, WM_APP + 3}) {
    EXPECT_EQ(hooks.Around(window, message, 0, 0, [&] { return RecordingProcedure(window, message, 0, 0); }),
              7);
  }
  EXPECT_EQ(log, (Log{"hook 1", "window 1", "window 2", "hook 2", "window 3"}));
  hooks.RemoveAll();
  log.clear();
  hooks.Around(window, WM_APP + 1, 0, 0, [&] { return RecordingProcedure(window, WM_APP + 1, 0, 0); });
  EXPECT_EQ(log, (Log{"window 1"}));

  ASSERT_TRUE(hooks.Hook(window, {{WM_APP + 1, win32::HookTiming::kBefore}}));
  EXPECT_TRUE(hooks.Hooked(window));
  DestroyWindow(window);
  EXPECT_FALSE(hooks.Hooked(window));
  EXPECT_FALSE(hooks.Hook(window, {{WM_APP + 1, win32::HookTiming::kBefore}}));
}

}  // namespace
