// What a screen reader is told about the tab control: names and shortcuts,
// states, hits and walks over the tabs, and the events a change of the
// model must raise.
#include "tabctl/tab_accessibility.h"

#include <gtest/gtest.h>

#include <functional>

#include "fakes.h"
#include "tabctl/input.h"

namespace tabctl {
namespace {

using Kind = AccessibleEventKind;
using Events = std::vector<AccessibleEvent>;

// Three tabs laid out as the tabbed dialog does: shared edges, the active
// tab 20 high, the others 22.
struct Laid : tabfakes::Fixture {
  Laid() {
    tab.SetTabLayout(0, {0, 2, 80, 22}, {});
    tab.SetTabLayout(1, {80, 0, 160, 22}, {});
    tab.SetTabLayout(2, {160, 0, 240, 22}, {});
  }
  // Where the window's mouse tracking last saw the pointer.
  void Pointer(bool inside, std::int32_t x, std::int32_t y) {
    tab.Tracking().mouseInside = inside;
    tab.Hover().cursorX = x;
    tab.Hover().cursorY = y;
  }
};

TEST(AccessibleText, NamesDropTheMarkerAndShortcutsNameTheKey) {
  struct Case {
    const char* caption;
    const char* name;
    const char* shortcut;
  };
  const Case cases[] = {
      {"&Alpha", "Alpha", "Alt+A"}, {"关于(&d)", "关于(d)", "Alt+D"},
      {"R&&D", "R&D", ""},          {"a&&b&c", "a&bc", "Alt+C"},
      {"Save&", "Save", ""},        {"&&&x", "&x", "Alt+X"},
      {"&关于", "关于", "Alt+关"},  {"", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    EXPECT_EQ(AccessibleName(c.caption), c.name);
    EXPECT_EQ(AccessibleShortcut(c.caption), c.shortcut);
  }
}

TEST(AccessibleState, SelectedFocusedUnavailableAndHotFollowTheModel) {
  Laid f;
  f.tab.SetActiveTab(1);
  f.tab.SetTabEnabled(2, false);
  EXPECT_EQ(TabStateOf(f.tab, 1), (AccessibleTabState{true, false, false, false}));
  EXPECT_EQ(TabStateOf(f.tab, 2), (AccessibleTabState{false, false, true, false}));

  f.tab.SetIsFocused(true);
  EXPECT_EQ(TabStateOf(f.tab, 1), (AccessibleTabState{true, true, false, false}));
  EXPECT_FALSE(TabStateOf(f.tab, 0).focused);

  // Hot: under the pointer while it is inside, never a disabled tab or below the strip.
  f.Pointer(true, 40, 10);
  EXPECT_TRUE(TabStateOf(f.tab, 0).hot);
  EXPECT_FALSE(TabStateOf(f.tab, 1).hot);
  f.Pointer(true, 200, 10);
  EXPECT_FALSE(TabStateOf(f.tab, 2).hot);
  f.Pointer(true, 40, 30);
  EXPECT_FALSE(TabStateOf(f.tab, 0).hot);
  f.Pointer(false, 40, 10);
  EXPECT_FALSE(TabStateOf(f.tab, 0).hot);

  // A disabled control: every tab unavailable, and no default action.
  EXPECT_TRUE(AcceptsDefaultAction(f.tab, 0));
  EXPECT_FALSE(AcceptsDefaultAction(f.tab, 2));
  EXPECT_FALSE(AcceptsDefaultAction(f.tab, 3));
  f.tab.SetEnabled(false);
  EXPECT_TRUE(TabStateOf(f.tab, 0).unavailable);
  EXPECT_FALSE(AcceptsDefaultAction(f.tab, 0));
}

TEST(AccessibleLayout, HitsAndWalks) {
  Laid f;
  f.tab.SetTabEnabled(2, false);
  EXPECT_EQ(AccessibleTabAt(f.tab, 0, 0), -1);  // above tab 0's top, which is 2
  EXPECT_EQ(AccessibleTabAt(f.tab, 0, 2), 0);
  EXPECT_EQ(AccessibleTabAt(f.tab, 80, 10), 0);  // a shared edge is the first tab's
  EXPECT_EQ(AccessibleTabAt(f.tab, 81, 0), 1);
  EXPECT_EQ(AccessibleTabAt(f.tab, 200, 10), 2);  // disabled tabs are still there to be read
  EXPECT_EQ(AccessibleTabAt(f.tab, 241, 10), -1);
  EXPECT_EQ(AccessibleTabAt(f.tab, 100, 23), -1);

  using N = TabNavigation;
  struct Case {
    std::int32_t from;
    N direction;
    std::int32_t to;
  };
  const Case cases[] = {{-1, N::First, 0},   {-1, N::Last, 2},  {-1, N::Next, -1},
                        {0, N::Next, 1},     {2, N::Next, -1},  {0, N::Previous, -1},
                        {2, N::Previous, 1}, {1, N::First, -1}, {3, N::Next, -1}};
  for (const Case& c : cases) {
    EXPECT_EQ(NavigateTabs(3, c.from, c.direction), c.to) << c.from << " " << static_cast<int>(c.direction);
  }
  EXPECT_EQ(NavigateTabs(0, -1, N::First), -1);
}

TEST(AccessibleChanges, EachChangeOfTheModelRaisesWhatAListenerNeeds) {
  tabfakes::Fixture f;
  struct Step {
    const char* what;
    std::function<void(ucPageTab&)> change;
    Events expected;
  };
  const Step steps[] = {
      {"caption",
       [](ucPageTab& t) { t.SetTabCaption(1, "&Beta"); },
       {{Kind::NameChange, 2}, {Kind::ShortcutChange, 2}}},
      {"marker only", [](ucPageTab& t) { t.SetTabCaption(1, "Be&ta"); }, {{Kind::ShortcutChange, 2}}},
      {"switch", [](ucPageTab& t) { t.SetActiveTab(2); }, {{Kind::Selection, 3}}},
      {"focus", [](ucPageTab& t) { t.SetIsFocused(true); }, {{Kind::Focus, 3}}},
      {"switch focused", [](ucPageTab& t) { t.SetActiveTab(0); }, {{Kind::Selection, 1}, {Kind::Focus, 1}}},
      {"disable", [](ucPageTab& t) { t.SetTabEnabled(2, false); }, {{Kind::StateChange, 3}}},
      {"control off", [](ucPageTab& t) { t.SetEnabled(false); }, {{Kind::StateChange, 0}}},
      {"grow",
       [](ucPageTab& t) { t.SetTabCount(5); },
       {{Kind::Create, 4}, {Kind::Create, 5}, {Kind::Reorder, 0}}},
      // Tabs 1 to 4 shift up a place; the new one is tab 1 and the last is new.
      {"insert",
       [](ucPageTab& t) { t.InsertTab(0, "New"); },
       {{Kind::Create, 6},
        {Kind::Reorder, 0},
        {Kind::NameChange, 2},
        {Kind::NameChange, 3},
        {Kind::NameChange, 4},
        {Kind::NameChange, 5},
        {Kind::ShortcutChange, 2},
        {Kind::ShortcutChange, 3},
        {Kind::StateChange, 3},
        {Kind::StateChange, 4}}},
      // Three tabs gone and the selection moved without a switch: still told.
      {"shrink while on the last",
       [](ucPageTab& t) {
         t.SetActiveTab(5);
         t.SetTabCount(2);
       },
       {{Kind::Destroy, 6},
        {Kind::Destroy, 5},
        {Kind::Destroy, 4},
        {Kind::Destroy, 3},
        {Kind::Reorder, 0},
        {Kind::Selection, 2},
        {Kind::Focus, 2}}},
  };
  AccessibleSnapshot before = SnapshotOf(f.tab);
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    s.change(f.tab);
    const AccessibleSnapshot after = SnapshotOf(f.tab);
    EXPECT_EQ(AccessibleChanges(before, after), s.expected);
    before = after;
  }
}

}  // namespace
}  // namespace tabctl
