// Input rules of the tab control: hit testing, the keyboard rule, access
// keys, the hover highlight and its poll, close boxes, the wheel, focus and
// the host window's status notices.
#include "tabctl/input.h"

#include <gtest/gtest.h>

#include "fakes.h"
#include "tabfakes_paint.h"

namespace tabctl {
namespace {

using tabfakes::CountOf;
using tabfakes::Log;

struct FakeInputHost : InputHost {
  explicit FakeInputHost(Log& sink) : log(sink) {}
  Log& log;
  bool timerRunning = false;
  PixelPoint cursor;
  void StartHoverTimer() override {
    timerRunning = true;
    log.push_back("timer on");
  }
  void StopHoverTimer() override {
    timerRunning = false;
    log.push_back("timer off");
  }
  void RequestLeaveNotice() override { log.push_back("track leave"); }
  PixelPoint CursorPosition() override { return cursor; }
};

// Key codes as the window passes them on to the KeyDown event.
constexpr std::int16_t kLeftArrowCode = 37;
constexpr std::int16_t kRightArrowCode = 39;

// Three tabs laid out as a renderer would: the active tab 20 high, the
// others 22, with close boxes inside the tabs. The events the holder hears
// go to `events`; drawing and the host's calls to `log`.
struct InputFixture : tabfakes::Fixture {
  Log events;
  tabfakes::EventRecorder inputEvents{events, tabfakes::EventRecorder::Record::Everything};
  FakeInputHost inputHost{log};
  TabInput input{tab, inputHost};

  InputFixture() {
    tab.SetEventSink(&inputEvents);
    tab.SetTabLayout(0, {0, 0, 80, 20}, {64, 4, 76, 16});
    tab.SetTabLayout(1, {81, 0, 160, 22}, {144, 4, 156, 16});
    tab.SetTabLayout(2, {161, 0, 240, 22}, {224, 4, 236, 16});
    Clear();
  }
  void Clear() {
    log.clear();
    events.clear();
  }
  // How many times the window has shown a new image since the log was
  // last cleared.
  int Repaints() const { return static_cast<int>(CountOf(log, "show")); }
  // Whether drawing still goes to the off-screen image rather than to the
  // screen, as the last switch left it.
  bool DrawsOffScreen() const {
    for (auto e = log.rbegin(); e != log.rend(); ++e) {
      if (*e == "image on" || *e == "image off") return *e == "image on";
    }
    ADD_FAILURE() << "the image was never switched";
    return true;
  }
  // The control outlives the sink declared here: detach it first.
  ~InputFixture() { tab.SetEventSink(nullptr); }
  void Theme(TabThemes theme) {
    tab.SetTabTheme(theme);
    Clear();
  }
  void Boxes() {
    tab.SetUseControlBox(true);
    Clear();
  }
};

TEST(InputHitTest, EdgesBelowTheStripAndDisabledTabs) {
  InputFixture f;
  EXPECT_EQ(HitTestTab(f.tab, 0, 0), 0);
  EXPECT_EQ(HitTestTab(f.tab, 80, 20), 0);   // bottom-right corner is inside
  EXPECT_EQ(HitTestTab(f.tab, 80, 21), -1);  // under tab 0, in the strip
  EXPECT_EQ(HitTestTab(f.tab, 81, 21), 1);
  EXPECT_EQ(HitTestTab(f.tab, 240, 22), 2);
  EXPECT_EQ(HitTestTab(f.tab, 241, 5), -1);
  // Coordinates round to the nearest integer, halves to even.
  EXPECT_EQ(HitTestTab(f.tab, 80.5f, 5), 0);
  EXPECT_EQ(HitTestTab(f.tab, 81.5f, 5), 1);
  EXPECT_EQ(HitTestTab(f.tab, 100, 22.4f), 1);
  EXPECT_EQ(HitTestTab(f.tab, 100, 22.6f), -1);  // below the taller height
  // A tab rectangle reaching lower than the strip is not hit down there.
  f.tab.SetTabLayout(1, {81, 0, 160, 200}, {});
  EXPECT_EQ(HitTestTab(f.tab, 100, 50), -1);
  f.tab.SetTabEnabled(1, false);
  EXPECT_EQ(HitTestTab(f.tab, 100, 5), -1);
}

// The layout comes before any paint: a control whose painter has never run
// still switches on a click and removes a tab through its close box.
TEST(InputHitTest, ANeverPaintedControlIsLaidOutForTheHit) {
  struct Case {
    TabStyles style;
    float tabX;  // inside tab 2
  };
  // Property pages: widths 3, 4 and 2 characters of 7 pixels plus 14.
  const Case cases[] = {{TabStyles::PropertyPages, 95}, {TabStyles::TabbedDialog, 300}};
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.style));
    tabfakes::Painted p(c.style, 0, {"Abc", "Abcd", "Ab"}, 400, 150, /*attach=*/false);
    p.Attach();
    const Rgb blank = p.canvas.PixelAt(10, 10);
    ASSERT_EQ(p.tab.AryTabs()[2].tabRect, PixelRect{});  // nothing laid out yet
    Log log;
    FakeInputHost host{log};
    TabInput input{p.tab, host};
    EXPECT_EQ(HitTestTab(p.tab, c.tabX, 10), -1);  // the bare rule reads the model only
    input.MouseDown(kLeftButton, 0, 84, 30);       // under the strip: no switch, but laid out
    EXPECT_EQ(p.tab.ActiveTab(), 0);
    EXPECT_EQ(p.canvas.PixelAt(10, 10), blank);  // laid out, not painted
    EXPECT_EQ(HitTestTab(p.tab, c.tabX, 10), 2);
    input.MouseDown(kLeftButton, 0, c.tabX, 10);
    EXPECT_EQ(p.tab.ActiveTab(), 2);
  }
  // Tabbed dialog, 400 wide: tab 1 ends at 266, its close box 14 in from there.
  tabfakes::Painted p(TabStyles::TabbedDialog, 0, {"Abc", "Abcd", "Ab"}, 400, 150, false);
  p.tab.SetUseControlBox(true);
  p.Attach();
  Log log;
  FakeInputHost host{log};
  TabInput input{p.tab, host};
  input.HookedLeftButtonDown(257, 10);
  input.HookedLeftButtonUp(257, 10);
  EXPECT_EQ(p.tab.TabCount(), 2);
  EXPECT_EQ(p.tab.TabCaption(1), "Ab");
}

TEST(InputMouse, LeftClickSwitchesBusyAndRaisesMouseDownFirst) {
  InputFixture f;
  constexpr float kBelowTheStrip = 40;
  f.input.MouseDown(kLeftButton, 0, 200, 10);
  EXPECT_EQ(f.tab.ActiveTab(), 2);
  EXPECT_FALSE(f.tab.Busy());
  EXPECT_EQ(f.events, (Log{"MouseDown 1", "BeforeTabSwitch 2", "TabSwitch 0"}));
  EXPECT_FALSE(f.DrawsOffScreen());  // drawing reaches the screen again
  // The switch ran busy: its repaint was the direct background and tab pass.
  EXPECT_EQ(CountOf(f.log, "draw"), 0u);
  EXPECT_EQ(CountOf(f.log, "tabs"), 1u);

  f.Clear();
  const int repaints = f.Repaints();
  f.input.MouseDown(kLeftButton, 0, 200, 10);  // the active tab
  f.input.MouseUp(kLeftButton, 0, 200, 10);
  f.input.Click();
  EXPECT_EQ(f.events, (Log{"MouseDown 1", "MouseUp 1", "Click"}));
  EXPECT_EQ(f.Repaints(), repaints);  // nothing new to show
  EXPECT_FALSE(f.DrawsOffScreen());

  f.Clear();
  f.input.MouseDown(kRightButton, 0, 10, 10);
  EXPECT_EQ(f.tab.ActiveTab(), 2);
  EXPECT_EQ(f.events, (Log{"MouseDown 2"}));

  f.input.MouseDown(kLeftButton, 0, 10, kBelowTheStrip);
  EXPECT_EQ(f.tab.ActiveTab(), 2);

  f.Clear();
  f.tab.SetBusy(true);
  f.input.MouseDown(kLeftButton, 0, 10, 10);
  f.input.MouseUp(kLeftButton, 0, 10, 10);
  f.tab.SetBusy(false);
  EXPECT_TRUE(f.events.empty());
  EXPECT_TRUE(f.log.empty());
  EXPECT_EQ(f.tab.ActiveTab(), 2);
}

TEST(InputKeyboard, ArrowsAndCtrlPageKeysWrapAndStopAtDisabledNeighbours) {
  InputFixture f;
  EXPECT_EQ(KeyboardTarget(f.tab, TabKey::Right, 0), 1);
  EXPECT_EQ(KeyboardTarget(f.tab, TabKey::PageDown, kCtrlMask), 1);
  EXPECT_EQ(KeyboardTarget(f.tab, TabKey::PageDown, kCtrlMask | kShiftMask), 1);
  EXPECT_EQ(KeyboardTarget(f.tab, TabKey::PageDown, 0), -1);
  EXPECT_EQ(KeyboardTarget(f.tab, TabKey::Left, 0), 2);  // from tab 0 to the last
  EXPECT_EQ(KeyboardTarget(f.tab, TabKey::PageUp, kCtrlMask), 2);
  EXPECT_EQ(KeyboardTarget(f.tab, TabKey::PageUp, kShiftMask), -1);
  EXPECT_EQ(KeyboardTarget(f.tab, TabKey::Other, kCtrlMask), -1);

  f.input.KeyDown(TabKey::Left, kLeftArrowCode, 0);
  EXPECT_EQ(f.tab.ActiveTab(), 2);
  // The holder hears of the key after the switch, with the code it came with.
  EXPECT_EQ(f.events, (Log{"BeforeTabSwitch 2", "TabSwitch 0", "KeyDown 37/0"}));
  EXPECT_FALSE(f.tab.Busy());
  EXPECT_FALSE(f.DrawsOffScreen());
  f.input.KeyDown(TabKey::Right, kRightArrowCode, 0);  // last tab wraps to tab 0
  EXPECT_EQ(f.tab.ActiveTab(), 0);

  f.tab.SetTabEnabled(1, false);
  f.Clear();
  const int repaints = f.Repaints();
  f.input.KeyDown(TabKey::Right, kRightArrowCode, 0);  // not skipped: nothing happens
  EXPECT_EQ(f.tab.ActiveTab(), 0);
  EXPECT_EQ(f.events, (Log{"KeyDown 39/0"}));
  EXPECT_EQ(f.Repaints(), repaints);
  EXPECT_FALSE(f.DrawsOffScreen());
  f.tab.SetActiveTab(2);
  EXPECT_EQ(KeyboardTarget(f.tab, TabKey::Left, 0), -1);
  f.tab.SetTabEnabled(0, false);
  EXPECT_EQ(KeyboardTarget(f.tab, TabKey::Right, 0), -1);  // no wrap to a disabled tab 0

  f.tab.SetTabCount(1);
  EXPECT_EQ(KeyboardTarget(f.tab, TabKey::Right, 0), -1);
  EXPECT_EQ(KeyboardTarget(f.tab, TabKey::Left, 0), -1);
}

TEST(InputAccessKeys, MatchingCaseActiveAndDisabledTabs) {
  InputFixture f;
  f.tab.SetTabCaption(0, "&Alpha");
  f.tab.SetTabCaption(1, "&Beta");
  f.tab.SetTabCaption(2, "系统设置(&S)");
  EXPECT_EQ(AccessKeyTarget(f.tab, 'b'), 1);
  EXPECT_EQ(AccessKeyTarget(f.tab, 'B'), 1);
  EXPECT_EQ(AccessKeyTarget(f.tab, 'a'), -1);  // the active tab
  EXPECT_EQ(AccessKeyTarget(f.tab, 'x'), -1);
  EXPECT_TRUE(AccessKeyListHas(f.tab.AccessKeys(), 's'));
  EXPECT_TRUE(AccessKeyListHas(f.tab.AccessKeys(), 'A'));
  EXPECT_FALSE(AccessKeyListHas(f.tab.AccessKeys(), 'x'));
  EXPECT_FALSE(AccessKeyListHas(f.tab.AccessKeys(), 0));

  f.log.clear();
  f.input.AccessKeyPress('s');
  EXPECT_EQ(f.tab.ActiveTab(), 2);
  EXPECT_FALSE(f.tab.Busy());

  f.tab.SetTabEnabled(1, false);
  f.input.AccessKeyPress('b');
  EXPECT_EQ(f.tab.ActiveTab(), 2);

  // Two tabs with one key: the first selectable one.
  f.tab.SetTabEnabled(1, true);
  f.tab.SetTabCaption(0, "&Boot");
  EXPECT_EQ(AccessKeyTarget(f.tab, 'b'), 0);

  // While busy the key does nothing.
  f.tab.SetBusy(true);
  f.input.AccessKeyPress('b');
  f.tab.SetBusy(false);
  EXPECT_EQ(f.tab.ActiveTab(), 2);

  // A non-Latin key.
  f.tab.SetTabCaption(1, "加速(&速)");
  EXPECT_TRUE(AccessKeyListHas(f.tab.AccessKeys(), 0x901F));
  EXPECT_EQ(AccessKeyTarget(f.tab, 0x901F), 1);
}

TEST(InputHover, StartsOverAnInactiveTabAndStopsWhenTheCursorLeaves) {
  InputFixture f;
  f.input.MouseMove(0, 0, 100, 5);  // theme 0: no highlight
  EXPECT_FALSE(f.tab.Hover().drawn);
  EXPECT_EQ(f.events, (Log{"MouseMove"}));
  EXPECT_TRUE(f.log.empty());

  f.Theme(TabThemes::LightVisual);
  f.input.MouseMove(0, 0, 40, 5);  // the active tab: no highlight
  EXPECT_FALSE(f.tab.Hover().drawn);
  f.input.MouseMove(0, 0, 100, 30);  // below the strip
  EXPECT_FALSE(f.tab.Hover().drawn);
  f.Clear();
  int repaints = f.Repaints();
  f.input.MouseMove(0, 0, 100, 5);
  EXPECT_TRUE(f.tab.Hover().drawn);
  EXPECT_EQ(f.tab.Hover().rect, (PixelRect{81, 0, 160, 22}));
  EXPECT_EQ(f.tab.HotTab(), 1);
  EXPECT_TRUE(f.inputHost.timerRunning);
  EXPECT_EQ(CountOf(f.log, "hover"), 1u);
  EXPECT_EQ(f.Repaints(), repaints + 1);  // the highlight is on the screen

  f.Clear();
  repaints = f.Repaints();
  f.input.MouseMove(0, 0, 200, 5);  // highlight drawn: no new one
  EXPECT_EQ(f.events, (Log{"MouseMove"}));
  EXPECT_EQ(f.Repaints(), repaints);
  EXPECT_EQ(f.tab.HotTab(), 1);

  f.log.clear();
  f.inputHost.cursor = {160, 22};  // edge: still inside
  f.input.TimerEvent();
  EXPECT_TRUE(f.log.empty());
  f.inputHost.cursor = {161, 22};
  f.input.TimerEvent();
  EXPECT_FALSE(f.tab.Hover().drawn);
  EXPECT_FALSE(f.inputHost.timerRunning);
  EXPECT_EQ(CountOf(f.log, "draw"), 1u);

  // A click ends a highlight: the timer stops and, without a switch, the
  // control repaints it away.
  f.input.MouseMove(0, 0, 200, 5);
  ASSERT_TRUE(f.tab.Hover().drawn);
  f.log.clear();
  repaints = f.Repaints();
  f.input.MouseDown(kLeftButton, 0, 40, 50);
  EXPECT_FALSE(f.tab.Hover().drawn);
  EXPECT_FALSE(f.inputHost.timerRunning);
  EXPECT_EQ(CountOf(f.log, "draw"), 1u);
  EXPECT_EQ(f.Repaints(), repaints + 1);

  // A poll left running after a theme change stops itself.
  f.input.MouseMove(0, 0, 200, 5);
  f.Theme(TabThemes::System);
  f.input.TimerEvent();
  EXPECT_FALSE(f.inputHost.timerRunning);
  EXPECT_FALSE(f.tab.Hover().drawn);
}

TEST(InputControlBox, EnterHoverExitOnlyForTheBoxThatWasEntered) {
  InputFixture f;
  f.Boxes();
  f.input.HookedMouseMove(10, 10);
  EXPECT_EQ(f.events, (Log{"MouseEnter"}));
  EXPECT_EQ(CountOf(f.log, "track leave"), 1u);
  f.Clear();
  int repaints = f.Repaints();
  f.input.HookedMouseMove(150, 10);  // tab 1's box
  f.input.HookedMouseMove(151, 11);
  f.input.HookedMouseMove(120, 10);  // out of the box
  f.input.HookedMouseMove(110, 10);
  EXPECT_EQ(f.events, (Log{"BoxEnter", "BoxHover", "BoxExit"}));
  EXPECT_EQ(f.Repaints(), repaints + 2);  // the box drawn hot, then plain again
  EXPECT_EQ(f.tab.HotTab(), 1);
  EXPECT_FALSE(f.tab.Tracking().controlBoxHot);

  // From one box straight into another; leaving the control ends the hot box.
  f.Clear();
  repaints = f.Repaints();
  f.input.HookedMouseMove(70, 10);
  f.input.HookedMouseMove(230, 10);
  EXPECT_EQ(f.input.HotControlBox(), 2);
  f.input.HookedMouseLeave();
  EXPECT_EQ(f.events, (Log{"BoxEnter", "BoxExit", "BoxEnter", "BoxExit", "MouseLeave"}));
  EXPECT_EQ(f.Repaints(), repaints + 4);
  EXPECT_EQ(f.input.HotControlBox(), -1);
  EXPECT_FALSE(f.tab.Tracking().mouseInside);
  f.Clear();
  f.input.HookedMouseMove(10, 40);
  EXPECT_EQ(f.events, (Log{"MouseEnter"}));
  EXPECT_EQ(CountOf(f.log, "track leave"), 1u);

  // An empty box rectangle is no box, even at its corner.
  f.tab.SetTabLayout(0, {0, 0, 80, 20}, {});
  EXPECT_EQ(ControlBoxAt(f.tab, 0, 0), -1);
}

TEST(InputControlBox, PressAndReleaseOnABoxRemovesItsTab) {
  InputFixture f;
  f.Boxes();
  const int repaints = f.Repaints();
  f.input.HookedLeftButtonDown(150, 10);
  EXPECT_EQ(f.events, (Log{"BoxDown 150,10"}));
  EXPECT_TRUE(f.tab.Tracking().controlBoxHot);
  EXPECT_EQ(f.Repaints(), repaints + 1);  // the pressed box is shown hot
  f.Clear();
  f.input.HookedLeftButtonUp(150, 10);
  EXPECT_EQ(f.tab.TabCount(), 2);
  ASSERT_FALSE(f.events.empty());
  EXPECT_EQ(f.events.front(), "BoxUp");
  EXPECT_EQ(f.events.back(), "TabRemove 1");
  EXPECT_FALSE(f.tab.Tracking().controlBoxHot);

  // A release over a box after a press elsewhere removes nothing.
  f.tab.SetTabLayout(1, {81, 0, 160, 22}, {144, 4, 156, 16});
  f.Clear();
  f.input.HookedLeftButtonDown(20, 10);
  f.input.HookedLeftButtonUp(150, 10);
  EXPECT_EQ(f.tab.TabCount(), 2);
  EXPECT_EQ(f.events, (Log{"BoxUp"}));

  // Without close boxes nothing is raised.
  f.tab.SetUseControlBox(false);
  f.Clear();
  f.input.HookedLeftButtonDown(150, 10);
  f.input.HookedLeftButtonUp(150, 10);
  EXPECT_TRUE(f.events.empty());
  EXPECT_TRUE(f.log.empty());

  // The last tab stays.
  f.tab.SetUseControlBox(true);
  f.tab.SetTabCount(1);
  f.tab.SetTabLayout(0, {0, 0, 80, 20}, {64, 4, 76, 16});
  f.input.HookedLeftButtonDown(70, 10);
  f.input.HookedLeftButtonUp(70, 10);
  EXPECT_EQ(f.tab.TabCount(), 1);
}

TEST(InputControlBox, HoverThemesRaiseMouseHoverForActiveOrHotTab) {
  InputFixture f;
  f.Theme(TabThemes::LightBeige);
  f.Boxes();
  f.input.HookedMouseMove(10, 10);
  EXPECT_EQ(f.events, (Log{"MouseEnter", "MouseHover 0"}));
  f.Clear();
  f.input.HookedMouseMove(150, 10);  // tab 1 is neither active nor hot
  EXPECT_TRUE(f.events.empty());
  EXPECT_TRUE(f.log.empty());
  f.tab.SetHotTab(1);
  int repaints = f.Repaints();
  f.input.HookedMouseMove(150, 10);
  EXPECT_EQ(f.events, (Log{"MouseHover 1", "BoxEnter"}));
  EXPECT_EQ(f.Repaints(), repaints + 1);
  f.Clear();
  repaints = f.Repaints();
  f.input.HookedMouseMove(300, 10);  // off every tab: the hot box is left
  EXPECT_EQ(f.events, (Log{"BoxExit"}));
  EXPECT_EQ(f.Repaints(), repaints + 1);
}

TEST(InputWheel, TowardsTheUserIsTheNextTabUpToTheEnds) {
  InputFixture f;
  f.input.HookedMouseWheel(-120);
  EXPECT_EQ(f.tab.ActiveTab(), 1);
  ASSERT_FALSE(f.events.empty());
  EXPECT_EQ(f.events.front(), "ScrollUp");
  f.input.HookedMouseWheel(-120);
  f.input.HookedMouseWheel(-120);  // the last tab stays
  EXPECT_EQ(f.tab.ActiveTab(), 2);
  f.input.HookedMouseWheel(120);
  EXPECT_EQ(f.tab.ActiveTab(), 1);
  f.input.HookedMouseWheel(120);
  f.Clear();
  f.input.HookedMouseWheel(120);  // tab 0 stays
  EXPECT_EQ(f.events, (Log{"ScrollDown"}));
  EXPECT_EQ(f.tab.ActiveTab(), 0);

  // Disabled tabs are passed over, by the wheel and by a program's call alike.
  f.tab.SetTabEnabled(1, false);
  f.input.HookedMouseWheel(-120);
  EXPECT_EQ(f.tab.ActiveTab(), 2);
  std::int32_t away = 120;
  f.tab.ScrollTabs(away);
  EXPECT_EQ(f.tab.ActiveTab(), 0);
  f.tab.SetTabEnabled(2, false);
  f.input.HookedMouseWheel(-120);  // no enabled tab that way
  EXPECT_EQ(f.tab.ActiveTab(), 0);
  f.tab.SetTabEnabled(1, true);
  f.tab.SetTabEnabled(2, true);
  f.tab.SetTabEnabled(0, false);
  f.Clear();
  f.input.HookedMouseWheel(-120);  // disabled active tab: the wheel is ignored
  EXPECT_TRUE(f.events.empty());
  EXPECT_EQ(f.tab.ActiveTab(), 0);
  f.tab.SetTabEnabled(0, true);
  f.tab.SetUseMouseWheelScroll(false);
  f.Clear();
  f.input.HookedMouseWheel(-120);
  EXPECT_TRUE(f.events.empty());
  EXPECT_EQ(f.tab.ActiveTab(), 0);
}

TEST(InputFocusAndHost, FocusMarkActivationAndStatusTexts) {
  InputFixture f;
  f.tab.SetHotTab(2);
  f.input.GotFocus();
  EXPECT_TRUE(f.tab.IsFocused());
  EXPECT_EQ(f.tab.HotTab(), 0);
  f.input.LostFocus();
  EXPECT_FALSE(f.tab.IsFocused());
  EXPECT_EQ(CountOf(f.log, "focus"), 2u);

  f.tab.SetHotTab(2);
  f.log.clear();
  f.input.HostActivated();
  EXPECT_EQ(f.tab.HotTab(), 0);
  EXPECT_EQ(CountOf(f.log, "draw"), 1u);

  f.Clear();
  f.input.HostMoving();
  f.input.HostExitSizeMove();
  f.input.HostSizing();
  f.input.HostExitSizeMove();
  EXPECT_EQ(f.events, (Log{"Status Form is moving...", "Status Finished Moving.", "Status Form is sizing...",
                           "Status Finished Sizing."}));
}

TEST(InputUnits, TwipsRoundTripAndSlideExactlyAtCommonDpis) {
  EXPECT_EQ(TwipsFromPixels(10, 96), 150);
  EXPECT_EQ(TwipsFromPixels(-10, 96), -150);
  EXPECT_EQ(PixelsFromTwips(10000, 96), 667);
  EXPECT_EQ(PixelsFromTwips(-10000, 96), -667);
  EXPECT_EQ(PixelsFromTwips(150, 0), 10);  // an unknown dpi counts as 96
  for (int dpi : {96, 120, 144, 192}) {
    for (int px : {1, 7, 333, 1000}) {
      EXPECT_EQ(PixelsFromTwips(TwipsFromPixels(px, dpi), dpi), px) << dpi;
      // Four pages to either side stay far inside 16-bit coordinates.
      EXPECT_LT(std::abs(PixelsFromTwips(TwipsFromPixels(px, dpi) - 4 * 10000, dpi)), 32767);
    }
  }
}

}  // namespace
}  // namespace tabctl
